#include "shell/RunMode.h"

namespace tessivane {

namespace {

std::string AsciiUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

}  // namespace

std::int32_t ParseWindowHandle(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return 0;
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
    if (value > 0xFFFFFFFFLL) return 0;  // also stops any overflow
  }
  if (negative) {
    if (value > 0x80000000LL) return 0;
    value = -value;
  }
  // Handles carry 32 significant bits; an unsigned spelling above 2^31 - 1
  // names the same handle as its signed spelling.
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value & 0xFFFFFFFF));
}

RunModeChoice DecideRunMode(const std::vector<std::string>& args) {
  RunModeChoice choice;
  choice.parentWnd = args.size() >= 2 ? ParseWindowHandle(args[1]) : 0;
  const std::string first = args.empty() ? std::string() : AsciiUpper(args[0]);
  if (first == "-S" || first == "/S") {
    choice.mode = RunMode::kSaver;
  } else if (first == "-P" || first == "/P" || first == "-L" || first == "/L") {
    choice.mode = RunMode::kPreview;
  } else if (first == "-A" || first == "/A") {
    choice.mode = RunMode::kChangePassword;
  } else {
    choice.mode = RunMode::kSettings;
    if (first.size() > 3 && (first[0] == '/' || first[0] == '-') && first[1] == 'C' && first[2] == ':') {
      choice.settingsOwner = ParseWindowHandle(std::string_view(first).substr(3));
    }
    if (choice.settingsOwner == 0) choice.settingsOwner = choice.parentWnd;
  }
  return choice;
}

}  // namespace tessivane
