// The method numbering that users' settings hold: each method's type
// number, its stored code ("UnitType", and the place of its character in
// "Random"), its position in the settings dialog's method list, and whether
// the random choice picks it before the user chooses. Settings written by
// earlier versions must read the same, so the tests that pin stored values
// take them from this table, not from the method table they check; a new
// method is one more row here.
#pragma once
#include <algorithm>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

namespace tessivane::testing {

// A list position: after every other listed method.
inline constexpr int kPinnedLast = 1 << 20;

struct PinnedMethod {
  int type;
  int code;          // -1: stored under no code
  int listPosition;  // -1: not listed; kPinnedLast: the list's last entry
  bool randomByDefault;
};

inline constexpr int kPinnedRandomType = 8;  // the random choice
inline constexpr int kPinnedPluginType = 9;  // the plug-in

inline constexpr PinnedMethod kPinnedMethods[] = {
    {1, 0, 0, true},                             // kaleidoscope
    {2, 1, 1, true},                             // carpet
    {3, 2, 2, true},                             // tablecloth
    {4, 3, 3, true},                             // tile
    {5, 4, 6, true},                             // rectangle
    {6, 5, 8, true},                             // unchanged
    {7, 7, 4, true},                             // floral
    {kPinnedRandomType, 6, kPinnedLast, false},  // the random choice
    {kPinnedPluginType, -1, -1, false},          // the plug-in
    {10, 8, 5, false},                           // distorted square
    {11, 9, 7, false},                           // spiral
};

// Entries of the method list, the random choice included.
inline int PinnedListCount() {
  int count = 0;
  for (const PinnedMethod& m : kPinnedMethods) count += m.listPosition >= 0 ? 1 : 0;
  return count;
}

// The highest stored code + 1: the length of the "Random" text.
inline int PinnedCodeCount() {
  int count = 0;
  for (const PinnedMethod& m : kPinnedMethods) count = std::max(count, m.code + 1);
  return count;
}

// The first type number after every pinned one.
inline int PinnedNextType() {
  int type = 0;
  for (const PinnedMethod& m : kPinnedMethods) type = std::max(type, m.type + 1);
  return type;
}

inline const PinnedMethod& PinnedOfType(int type) {
  for (const PinnedMethod& m : kPinnedMethods)
    if (m.type == type) return m;
  throw std::logic_error("no pinned method of type " + std::to_string(type));
}

// A listed method's position, the last entry resolved; -1 for none.
inline int PinnedPosition(const PinnedMethod& m) {
  return m.listPosition == kPinnedLast ? PinnedListCount() - 1 : m.listPosition;
}
inline int PinnedPositionOfType(int type) { return PinnedPosition(PinnedOfType(type)); }

// A stored "Random" text, one character a code, with the characters of the
// methods `marked` says marked.
template <class Marked>
std::string PinnedRandomTextWhere(Marked marked) {
  std::string text(static_cast<size_t>(PinnedCodeCount()), '0');
  for (const PinnedMethod& m : kPinnedMethods)
    if (m.code >= 0 && marked(m)) text[static_cast<size_t>(m.code)] = '1';
  return text;
}

// The stored "Random" text with the characters of these types marked.
inline std::string PinnedRandomText(std::initializer_list<int> types) {
  return PinnedRandomTextWhere(
      [&](const PinnedMethod& m) { return std::find(types.begin(), types.end(), m.type) != types.end(); });
}

// The "Random" text of an empty store.
inline std::string PinnedDefaultRandom() {
  return PinnedRandomTextWhere([](const PinnedMethod& m) { return m.randomByDefault; });
}

// The options dialog's default marks: one a listed method but the random
// choice, in list order.
inline std::vector<bool> PinnedDefaultMarks() {
  std::vector<bool> marks(static_cast<size_t>(PinnedListCount() - 1));
  for (const PinnedMethod& m : kPinnedMethods)
    if (m.listPosition >= 0 && m.type != kPinnedRandomType)
      marks[static_cast<size_t>(m.listPosition)] = m.randomByDefault;
  return marks;
}

}  // namespace tessivane::testing
