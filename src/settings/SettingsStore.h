// Where the settings records live: an interface to a hierarchical store of
// named values (the Windows registry, or memory in tests). The records
// (MainSettings, MethodOptions, MusicSettings) use only what is declared here.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tessivane {

// The product key below the current user's root, and its subkeys.
inline constexpr const char* kProductKeyPath = "Software\\Qel\\Tessivane";

// Value type codes, numbered as the Windows registry numbers them.
inline constexpr uint32_t kStoredNone = 0;
inline constexpr uint32_t kStoredText = 1;        // REG_SZ
inline constexpr uint32_t kStoredExpandText = 2;  // REG_EXPAND_SZ, read as plain text
inline constexpr uint32_t kStoredBinary = 3;      // REG_BINARY
inline constexpr uint32_t kStoredDword = 4;       // REG_DWORD

// Text values larger than this are not read: they count as missing, so the
// record uses its default. 65536 bytes hold the longest Windows path
// (32767 UTF-16 units) with its terminator; nothing the records keep is
// longer, and refusing early keeps an edited registry from making us
// allocate megabytes.
inline constexpr size_t kMaxStoredTextBytes = 65536;

// The outcome of reading one value.
struct StoredRead {
  enum Status {
    kMissing,    // no key, no subkey or no such value
    kText,       // a text value; `text` holds it (UTF-8, cut at the first zero)
    kTooLarge,   // a text value above kMaxStoredTextBytes
    kWrongType,  // any other value type
  };
  Status status = kMissing;
  std::string text;
  friend bool operator==(const StoredRead&, const StoredRead&) = default;
};

enum class WriteStatus {
  kOk,
  kKeyCreateFailed,  // the subkey could not be created or opened
  kSetFailed,        // the value could not be set
};

// The product key held open for one load or save of a record.
class SettingsSession {
public:
  virtual ~SettingsSession() = default;
  virtual StoredRead Read(std::string_view subkey, std::string_view name) = 0;
  // Creates the subkey if needed and sets a text value (with its
  // terminating zero, as the registry keeps strings).
  virtual WriteStatus WriteText(std::string_view subkey, std::string_view name, const std::string& text) = 0;
};

class SettingsStore {
public:
  virtual ~SettingsStore() = default;
  // Opens the product key, creating it when missing. Never fails: when the
  // key cannot be had, the session reads nothing and every write fails.
  virtual std::unique_ptr<SettingsSession> Open() = 0;
};

// A failure of the store that the user is told about (the messages are
// Japanese, see SettingsTexts.h). Records raise it while loading (a value of
// a non-text type) and while saving (a write that failed).
class RegistryError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Registry text data (UTF-16 little-endian) to UTF-8: an odd trailing byte
// is dropped, the text ends at the first zero unit or at the end of the
// data, whichever comes first; no terminator is needed.
std::string DecodeStoredText(const unsigned char* data, size_t bytes);
// UTF-8 to registry text data, terminator included.
std::vector<unsigned char> EncodeStoredText(const std::string& text);

// The store the records use when none is given: the one installed with
// SetSettingsStore, else the platform's (the registry on Windows, a
// process-wide memory store elsewhere).
SettingsStore& CurrentSettingsStore();
void SetSettingsStore(SettingsStore* store);  // nullptr: the platform's again
SettingsStore& PlatformSettingsStore();

#if defined(_WIN32)
// The registry below HKEY_CURRENT_USER at keyPath (UTF-8; any Unicode
// character). PlatformSettingsStore() is this at kProductKeyPath.
std::unique_ptr<SettingsStore> MakeRegistrySettingsStore(const std::string& keyPath);
#endif

}  // namespace tessivane
