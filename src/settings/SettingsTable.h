// The settings records are tables: each value has a name, a field of the
// record, a default and a load and write rule. One routine loads a record
// from its table and one saves it.
#pragma once
#include <algorithm>
#include <cstdint>
#include <exception>
#include <span>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "settings/RunValues.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsTexts.h"

namespace tessivane {

// A stored integer: an optional sign and decimal digits that fit 32 bits;
// anything else (empty text, blanks, hexadecimal, overflow) gives fallback.
int32_t ParseSettingInt(const std::string& text, int32_t fallback);

// A record writes itself back when it is destroyed. A failure there cannot
// leave a destructor, so it is shown as the standard error box would show
// it, through the error display, and the destruction goes on.
void ShowSaveFailure(const char* message) noexcept;

// What a record found in the store when it loaded, so that writing itself
// back when it is destroyed undoes nothing that was stored since.
struct LoadedSettings {
  // Per value, in table order: its stored text, or that it was missing (or
  // too large, or of a type that cannot be read). A value the record writes
  // counts as found with the text written.
  std::vector<StoredRead> found;
  // The names of the values of a type the record cannot read, in table
  // order. While there are any, the record writes nothing when destroyed:
  // the store keeps them until the user saves the record on purpose.
  std::vector<std::string> unreadable;
};

// How a value is held in the record:
//   int32_t / uint8_t field: decimal text;
//   bool field: read as an integer with default 0, true unless 0; written "1" or "0";
//   std::string field: the text as it is.
template <class R>
using SettingField = std::variant<int32_t R::*, uint8_t R::*, bool R::*, std::string R::*>;

template <class R>
struct SettingValue {
  const char* name;
  SettingField<R> field;
  int32_t numberDefault = 0;                 // integer fields
  const char* textDefault = "";              // text fields
  std::string (*textDefaultOf)() = nullptr;  // text fields whose default is derived: replaces textDefault
  int32_t (*loadRule)(int32_t) = nullptr;    // stored number -> field; none: as read
  int32_t (*writeRule)(int32_t) = nullptr;   // field -> stored number; none: as it is
};

namespace settings_detail {

inline void WriteOrThrow(SettingsSession& session, const char* subkey, const char* name,
                         const std::string& text) {
  switch (session.WriteText(subkey, name, text)) {
    case WriteStatus::kOk:
      return;
    case WriteStatus::kKeyCreateFailed:
      throw RegistryError(KeyCreateFailedText(subkey));
    case WriteStatus::kSetFailed:
      throw RegistryError(SetValueFailedText(name));
  }
}

}  // namespace settings_detail

// Reads every value of `table` from `subkey` in table order into `record`,
// and returns what it found. A value of a non-text type (a number or binary
// data put there by hand or by another program) cannot be read: it takes
// its default like a missing value, the load goes on with the others, and
// its name is listed, so that the record can tell the user and keep the
// store as it is until the user saves.
template <class R>
LoadedSettings LoadSettings(SettingsStore& store, const char* subkey, R& record,
                            std::span<const SettingValue<R>> table) {
  LoadedSettings loaded;
  loaded.found.reserve(table.size());
  auto session = store.Open();
  for (const SettingValue<R>& v : table) {
    const StoredRead& read = loaded.found.emplace_back(session->Read(subkey, v.name));
    if (read.status == StoredRead::kWrongType) loaded.unreadable.emplace_back(v.name);
    const bool hasText = read.status == StoredRead::kText;
    std::visit(
        [&](auto member) {
          using T = std::remove_reference_t<decltype(record.*member)>;
          if constexpr (std::is_same_v<T, std::string>) {
            record.*member = hasText           ? read.text
                             : v.textDefaultOf ? v.textDefaultOf()
                                               : std::string(v.textDefault);
          } else if constexpr (std::is_same_v<T, bool>) {
            record.*member = (hasText ? ParseSettingInt(read.text, 0) : 0) != 0;
          } else {
            int32_t number = hasText ? ParseSettingInt(read.text, v.numberDefault) : v.numberDefault;
            if (v.loadRule) number = v.loadRule(number);
            record.*member = static_cast<T>(number);
          }
        },
        v.field);
  }
  return loaded;
}

// The text a value is stored as.
template <class R>
std::string SettingText(const R& record, const SettingValue<R>& v) {
  return std::visit(
      [&](auto member) -> std::string {
        using T = std::remove_cvref_t<decltype(record.*member)>;
        if constexpr (std::is_same_v<T, std::string>) {
          return record.*member;
        } else if constexpr (std::is_same_v<T, bool>) {
          return record.*member ? "1" : "0";
        } else {
          int32_t number = static_cast<int32_t>(record.*member);
          if (v.writeRule) number = v.writeRule(number);
          return std::to_string(number);
        }
      },
      v.field);
}

enum class SaveWhat {
  kEvery,      // Save: the record's values replace whatever is stored
  kUnchanged,  // the write-back: only values stored as the record found them
};

// Writes the values of `table` to `subkey`, in the order of `order` (indices
// into the table; empty: table order), and notes each in `loaded` as found
// with the text written. With kUnchanged a value whose stored state (its
// text, or that it is missing) is no longer the one `loaded` holds is left
// as it is: someone stored it since, and the newer value wins. Throws
// RegistryError at the first write that fails; the values written before
// it stay written. When every value was written, none is unreadable any more.
template <class R>
void SaveSettings(SettingsStore& store, const char* subkey, const R& record,
                  std::span<const SettingValue<R>> table, LoadedSettings& loaded, SaveWhat what,
                  std::span<const int> order = {}) {
  loaded.found.resize(table.size());
  auto session = store.Open();
  const size_t count = order.empty() ? table.size() : order.size();
  for (size_t i = 0; i < count; ++i) {
    const size_t at = order.empty() ? i : static_cast<size_t>(order[i]);
    const SettingValue<R>& v = table[at];
    if (what == SaveWhat::kUnchanged && session->Read(subkey, v.name) != loaded.found[at]) continue;
    std::string text = SettingText(record, v);
    settings_detail::WriteOrThrow(*session, subkey, v.name, text);
    loaded.found[at] = {.status = StoredRead::kText, .text = std::move(text)};
  }
  loaded.unreadable.clear();
}

// What a record does when it is destroyed: unless it met unreadable values,
// it writes back every value still stored as it found it, which fills in
// missing values and stores normalised ones without undoing a value that
// another record or process stored meanwhile. A failure is shown, never
// thrown.
template <class R>
void WriteBackOnDestruction(SettingsStore& store, const char* subkey, const R& record,
                            std::span<const SettingValue<R>> table, LoadedSettings& loaded,
                            std::span<const int> order = {}) noexcept {
  if (!loaded.unreadable.empty()) return;
  try {
    SaveSettings<R>(store, subkey, record, table, loaded, SaveWhat::kUnchanged, order);
  } catch (const std::exception& e) {
    ShowSaveFailure(e.what());
  } catch (...) {
  }
}

}  // namespace tessivane
