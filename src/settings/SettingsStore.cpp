#include "settings/SettingsStore.h"

#include "base/Utf.h"

namespace tessivane {

namespace {
SettingsStore* g_store = nullptr;
}  // namespace

std::string DecodeStoredText(const unsigned char* data, size_t bytes) {
  std::u16string units;
  const size_t count = bytes / 2;  // an odd last byte is half a character: dropped
  units.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    char16_t unit = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    if (unit == 0) break;
    units += unit;
  }
  return Utf16ToUtf8(units);
}

std::vector<unsigned char> EncodeStoredText(const std::string& text) {
  std::u16string units = Utf8ToUtf16(text);
  std::vector<unsigned char> data;
  data.reserve((units.size() + 1) * 2);
  for (char16_t unit : units) {
    data.push_back(static_cast<unsigned char>(unit & 0xFF));
    data.push_back(static_cast<unsigned char>(unit >> 8));
  }
  data.push_back(0);
  data.push_back(0);
  return data;
}

SettingsStore& CurrentSettingsStore() { return g_store ? *g_store : PlatformSettingsStore(); }

void SetSettingsStore(SettingsStore* store) { g_store = store; }

}  // namespace tessivane
