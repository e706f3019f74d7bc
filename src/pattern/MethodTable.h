// The conversion methods, one row each: every fact about a method that
// something outside its own class needs lives in its row. To add a method,
// write its class and add one row to kMethodRows in MethodTable.cpp.
#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Texts.h"
#include "pattern/ConversionMethod.h"

namespace tessivane {

// What the composer passes on to the conversion methods and the motion path.
struct ComposerParams {
  std::string DllFileName;       // plug-in library path, for the plug-in method
  int32_t Rotate = 0;            // conversion value, for the distorted square
  uint8_t MovePositionType = 0;  // motion kind: 0 line, 1 curve, 2 slide show
};

// Makes the method of one type number, or returns null.
using MethodFactory = std::unique_ptr<ConversionMethod> (*)(int type, const ComposerParams& params);

// Which stored aspect step a method's piece takes.
enum class AspectSetting { None, Rectangle, NoConversion };

struct MethodRow {
  int Type;                  // type number, what the composer takes
  int Code;                  // stored method code ("UnitType"), -1 for none
  int ListPosition;          // position in the settings dialog's method list, -1 for none,
                             // kListLast for after every other method
  TextId Label;              // the list's label in the catalog; kCount for none
  std::string_view CliName;  // the renderer's --method name, empty for none
  // Makes the method; null for the random choice, which has no class.
  std::unique_ptr<ConversionMethod> (*Create)(const ComposerParams& params);
  bool TakesOblongCut;   // relaxed size rules: odd and oblong cuts pass
  AspectSetting Aspect;  // the piece is shaped by this aspect step
  bool ReadsWidthOnly;   // the geometry takes the cut's width for both sides
  bool RandomByDefault;  // the random choice may pick it before the user chooses
};

constexpr int kMethodTypeRandom = 8;  // "choose at random": no class
constexpr int kMethodTypePlugin = 9;  // the plug-in, chosen by the plug-in switch
constexpr int kListLast = 1 << 20;    // a list position: after every other method

// Every row, in type-number order.
std::span<const MethodRow> MethodRows();
// Replaces the rows for the lifetime of the object, so that a test can show
// what one more row reaches.
class ScopedMethodRows {
public:
  explicit ScopedMethodRows(std::span<const MethodRow> rows);
  ~ScopedMethodRows();
  ScopedMethodRows(const ScopedMethodRows&) = delete;
  ScopedMethodRows& operator=(const ScopedMethodRows&) = delete;

private:
  std::span<const MethodRow> previous_;
};

// Entries of the settings dialog's method list.
int MethodListCount();
// Stored method codes, 0..MethodCodeCount() - 1 (the highest code + 1): the
// length of the "Random" text and the range of the random choice's draw.
int MethodCodeCount();
// The random choice's marks without a stored choice: one "0"/"1" per stored
// method code, "1" for the methods whose row says it picks them by default.
std::string DefaultRandomSet();
// The row of a type number, or null.
const MethodRow* MethodRowByType(int type);

// Type number -> stored code; -1 for a number without a code (9 included).
int MethodTypeToCode(int type);
// Stored code -> type number; 0 for any other code.
int CodeToMethodType(int code);
// Type number -> list position; 0 for 1 and every number without one.
int MethodTypeToListPosition(int type);
// List position -> type number; 1 for 0 and every position without a method.
int ListPositionToMethodType(int index);
// The method list's labels in list order, in the installed language.
std::vector<std::string_view> MethodListLabels();

// The method of a type number: 1..7, 9 (the plug-in, with
// params.DllFileName) and 10..11 have a class; every other number (8,
// "choose at random", included) gives null.
std::unique_ptr<ConversionMethod> CreateMethodByType(int type, const ComposerParams& params);

}  // namespace tessivane
