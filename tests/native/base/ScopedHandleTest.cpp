#include "base/ScopedHandle.h"

#include <gtest/gtest.h>

#include <vector>

#ifdef _WIN32
#include "base/ScopedWin.h"
#endif

namespace tessivane {
namespace {

std::vector<int> closed;

struct CountingTraits : PlainHandleTraits<int, -1> {
  static constexpr bool Valid(int h) { return h >= 0; }
  static void Close(int h) { closed.push_back(h); }
};
using Counted = ScopedHandle<CountingTraits>;

TEST(ScopedHandle, ClosesEachValidHandleExactlyOnce) {
  closed.clear();
  {
    Counted a(3);
    Counted b(std::move(a));  // the move takes ownership: a closes nothing
    EXPECT_FALSE(a);
    EXPECT_TRUE(b);
    Counted c(5);
    c = std::move(b);  // c's own handle is closed first
    EXPECT_EQ(closed, std::vector<int>{5});
    Counted none;
    Counted invalid(-7);  // below zero is as invalid as "none": never closed
    EXPECT_FALSE(invalid);
    EXPECT_EQ(Counted(9).release(), 9);  // released: not closed
  }
  EXPECT_EQ(closed, (std::vector<int>{5, 3}));
}

#ifdef _WIN32
// Some Win32 calls fail with null, others with INVALID_HANDLE_VALUE; an
// owner of either kind must treat both as "no handle" and never close them.
TEST(ScopedWin, NullAndInvalidHandleValueAreBothEmpty) {
  ScopedKernelHandle null;
  ScopedKernelHandle invalid(INVALID_HANDLE_VALUE);
  ScopedFind search(INVALID_HANDLE_VALUE);
  EXPECT_FALSE(null);
  EXPECT_FALSE(invalid);
  EXPECT_FALSE(search);
  ScopedKernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ASSERT_TRUE(event);
  HANDLE raw = event.get();
  event.reset();
  DWORD flags = 0;
  EXPECT_FALSE(GetHandleInformation(raw, &flags));  // closed by the reset
}
#endif

}  // namespace
}  // namespace tessivane
