// A move-only owner of one OS handle. Every handle the program opens lives
// in one of these (or in a std::unique_ptr for C library objects), so nothing
// is closed by hand and every path out of a function releases what it took.
// Traits give the handle type, the value meaning "none", the validity test
// and the function that releases it; the Windows traits are in
// base/ScopedWin.h, the POSIX file descriptor below.
#pragma once
#include <utility>

namespace tessivane {

template <class Traits>
class ScopedHandle {
public:
  using Type = typename Traits::Type;

  ScopedHandle() = default;
  explicit ScopedHandle(Type handle) : handle_(handle) {}
  ~ScopedHandle() { reset(); }
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.release()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;

  Type get() const { return handle_; }
  explicit operator bool() const { return Traits::Valid(handle_); }

  // For an API that opens into an out-parameter; only on an empty owner.
  Type* out() { return &handle_; }

  // Gives up ownership without releasing.
  Type release() { return std::exchange(handle_, Traits::None()); }

  void reset(Type handle = Traits::None()) {
    Type old = std::exchange(handle_, handle);
    if (Traits::Valid(old)) Traits::Close(old);
  }

private:
  Type handle_ = Traits::None();
};

// Traits whose only invalid value is None().
template <class T, T kNone>
struct PlainHandleTraits {
  using Type = T;
  static constexpr Type None() { return kNone; }
  static constexpr bool Valid(Type h) { return h != kNone; }
};

}  // namespace tessivane
