// The command-line options that tessivane-render and the X11 saver share,
// as one table: the same names, ranges and defaults in both programs, and
// the same as the settings records'. Each program adds rows of its own
// with the same machinery. An option is written with one dash or two
// ("-size 8" and "--size 8" are the same).
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "settings/MainSettings.h"
#include "settings/MethodOptions.h"
#include "settings/RunConfig.h"

namespace tessivane {

// A command line that cannot be carried out; what() is one line for the user.
class OptionError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// The values of the shared options; the defaults are the settings records'.
struct CommonOptions {
  int unitType = 1;  // conversion-method type number; 8 = choose at random, 9 = the plug-in
  bool methodGiven = false;
  std::string randomSet;                   // the option record's "Random": one "0"/"1" per stored method code
  int size = MainSettings::kSize.initial;  // the Size setting; the cut is CutSideOf(size)
  int aspect = MethodOptions::kAspect.initial;  // aspect step of the rectangle and no-conversion methods
  int rotate = MethodOptions::kRotate.initial;  // value of the distorted-square method
  bool shuffle = false;
  bool blur = false;
  bool mono = false;
  bool brightness = false;
  int motion = 0;                              // 0 line, 1 curve, 2 slide show
  int speed = MainSettings::kMove.initial;     // the Move setting
  int fade = MainSettings::kFadeTime.initial;  // the FadeTime setting: tenths of a second a change fades
  std::optional<uint32_t> seed;
  std::string plugin;    // the plug-in library that is the method; empty for none
  bool version = false;  // print VersionLine and end

  CommonOptions();
};

// One option. A whole-number option names its field and range and needs
// nothing else; a switch names its flag and the value it sets (a "-no-"
// switch clears the flag its partner sets); any other option parses itself.
template <typename T>
struct OptionRow {
  std::string_view Name{};   // without the dashes
  std::string_view Value{};  // what the value is called in the usage; empty for a switch
  std::string_view Help{};
  int T::*Number = nullptr;
  int Low = 0, High = 0;
  bool T::*Flag = nullptr;
  void (*Apply)(T& options, const std::string& option, const std::string& value) = nullptr;
  std::string (*MoreHelp)() = nullptr;  // appended to Help when the text is made at run time
  bool FlagValue = true;                // what the switch sets its flag to
  bool T::*Given = nullptr;             // set when the option is on the command line
};

std::span<const OptionRow<CommonOptions>> CommonOptionRows();

// The value of a whole-number option inside low..high; throws OptionError.
int64_t IntInRange(const std::string& option, const std::string& text, int64_t low, int64_t high);

// The option name of an argument: "-name" and "--name" give "name"; empty
// when the argument is no option.
std::string_view OptionName(std::string_view argument);

// The usage lines of rows, each name with `dashes` before it.
template <typename T>
std::string OptionUsage(std::span<const OptionRow<T>> rows, std::string_view dashes);

// When args[i] is one of rows: takes it and its value (i then stands on the
// last argument taken) and returns true. Throws OptionError for a missing
// or bad value.
template <typename T>
bool TakeOption(std::span<const OptionRow<T>> rows, const std::vector<std::string>& args, size_t& i,
                T& options) {
  std::string_view name = OptionName(args[i]);
  for (const OptionRow<T>& row : rows) {
    if (name.empty() || row.Name != name) continue;
    const std::string& option = args[i];
    if (row.Given) options.*row.Given = true;
    if (row.Flag) {
      options.*row.Flag = row.FlagValue;
      return true;
    }
    if (i + 1 >= args.size()) throw OptionError(option + " needs a value");
    const std::string& value = args[++i];
    if (row.Number)
      options.*row.Number = static_cast<int>(IntInRange(option, value, row.Low, row.High));
    else
      row.Apply(options, option, value);
    return true;
  }
  return false;
}

// "<program> <version>" and a line end: what --version prints. The version
// is the top CMakeLists.txt's.
std::string VersionLine(std::string_view program);

// The conversion methods' names, " | " between them.
std::string MethodNames();
// The methods the random choice draws from by default (the rows'
// RandomByDefault), as the random-from option's help gives them: the first
// and the last --method name when they follow each other in the list,
// else each name, separated by commas.
std::string RandomDefaultNames();

// The checks between shared options once all are read: --plugin is the
// method, so it does not go with --method. Throws OptionError.
void FinishCommonOptions(CommonOptions& options);

// The run the shared options describe, with the random picture as its
// source; each program adds the options of its own.
RunConfig RunConfigOf(const CommonOptions& options);

// The plug-in library a --plugin FILE names: FILE is a path, and a bare
// name means the file in the current folder, which dlopen would not look in.
std::string PluginPath(const std::string& file);

// The usage line of one row (for the programs' own rows as well).
std::string UsageLine(std::string_view dashes, std::string_view name, std::string_view value,
                      std::string help);

// What the usage and the manual say of a row: its help, and for a whole
// number its range and the default that `defaults` holds.
template <typename T>
std::string RowHelp(const OptionRow<T>& row, const T& defaults) {
  std::string help(row.Help);
  if (row.MoreHelp) help += row.MoreHelp();
  // Appended piece by piece: a text put in front of a temporary string
  // ("a" + std::to_string(n)) makes GCC 12 warn of an overlapping copy
  // (-Wrestrict) that cannot happen.
  if (row.Number)
    help.append(" ")
        .append(std::to_string(row.Low))
        .append("..")
        .append(std::to_string(row.High))
        .append(" (default ")
        .append(std::to_string(defaults.*row.Number))
        .append(")");
  return help;
}

template <typename T>
std::string OptionUsage(std::span<const OptionRow<T>> rows, std::string_view dashes) {
  const T defaults;
  std::string text;
  for (const OptionRow<T>& row : rows) text += UsageLine(dashes, row.Name, row.Value, RowHelp(row, defaults));
  return text;
}

}  // namespace tessivane
