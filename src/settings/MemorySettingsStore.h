// A settings store in memory: the store of platforms without a registry and
// of the tests. Values keep a type code and raw bytes as the registry does,
// so a test can plant any value an edited registry may hold, and chosen
// writes can be made to fail.
#pragma once
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "settings/SettingsStore.h"

namespace tessivane {

class MemorySettingsStore : public SettingsStore {
public:
  struct Value {
    uint32_t type = kStoredText;
    std::vector<unsigned char> data;
    friend bool operator==(const Value&, const Value&) = default;
  };
  using Subkey = std::map<std::string, Value, std::less<>>;
  struct Contents {
    bool productKey = false;
    std::map<std::string, Subkey, std::less<>> subkeys;
    friend bool operator==(const Contents&, const Contents&) = default;
  };
  // One successful text write, as the records made it.
  struct Write {
    std::string subkey, name, text;
    friend bool operator==(const Write&, const Write&) = default;
  };

  std::unique_ptr<SettingsSession> Open() override;

  const Contents& contents() const { return contents_; }
  const std::vector<Write>& writes() const { return writes_; }
  void ClearWrites() { writes_.clear(); }

  // Plants a value (creating the product key and the subkey).
  void PutText(const std::string& subkey, const std::string& name, const std::string& text,
               uint32_t type = kStoredText);
  void PutRaw(const std::string& subkey, const std::string& name, uint32_t type,
              std::vector<unsigned char> data);
  void PutDword(const std::string& subkey, const std::string& name, uint32_t value);
  // The decoded text of a text value; nothing when missing or not text.
  std::optional<std::string> Text(const std::string& subkey, const std::string& name) const;
  bool HasSubkey(const std::string& subkey) const;

  // Failures on demand: the product key cannot be opened, a subkey cannot
  // be created, a value cannot be set.
  void FailProductKey(bool fail = true) { failProductKey_ = fail; }
  void FailKeyCreation(const std::string& subkey) { failedSubkeys_.insert(subkey); }
  void FailWrite(const std::string& subkey, const std::string& name) { failedValues_.insert({subkey, name}); }

private:
  friend class MemorySettingsSession;
  Contents contents_;
  std::vector<Write> writes_;
  bool failProductKey_ = false;
  std::set<std::string, std::less<>> failedSubkeys_;
  std::set<std::pair<std::string, std::string>> failedValues_;
};

}  // namespace tessivane
