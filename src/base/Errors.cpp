#include "base/Errors.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace tessivane {

namespace {

const char* const kMessages[] = {
    "",
    "切り出した画像が大きすぎます。",
    "切り出した画像が小さすぎます。",
    "切り出した画像サイズが指定された値と異なります。",
    "切り出した画像サイズが奇数です(奇数不可)。",
    "元の画像が小さすぎます。\r\n(もっと大きな画像を設定してください)",
    "変換方式が不正です。",
    "DLLの呼び出しに失敗しました。",
    "関数が呼び出せませんでした。",
    "変換後のX方向のサイズが大きすぎます。",
    "変換後のY方向のサイズが大きすぎます。",
    "取得元のX座標の値が切り出した画像をはみ出しています。",
    "取得元のY座標の値が切り出した画像をはみ出しています。",
    "このDLLは使えません。",
    "変換のタイプが不正です。",
};

ErrorDisplay* g_display = nullptr;

}  // namespace

const char* UnitErrorMessage(int errorNo) {
  if (errorNo < 1 || errorNo >= static_cast<int>(sizeof kMessages / sizeof kMessages[0])) return "";
  return kMessages[errorNo];
}

std::string FormatUnitError(int errorNo, const std::string& detail) {
  std::string text = UnitErrorMessage(errorNo);
  text += ':';
  text += std::to_string(errorNo);
  if (!detail.empty()) {
    text += "\r\n";
    text += detail;
  }
  return text;
}

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string out;
  if (n > 0) {
    std::vector<char> buffer(static_cast<size_t>(n) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    out.assign(buffer.data(), static_cast<size_t>(n));
  }
  va_end(args);
  return out;
}

std::string DetailFile(const std::string& fileName) { return "ファイル[" + fileName + "]"; }
std::string DetailFunction(const std::string& exportName) { return "関数名[" + exportName + "]"; }
std::string DetailLimit(int value, int limit) { return Format("設定値[%d] 制限値[%d]", value, limit); }
std::string DetailSymmetry(int type) { return Format("変換タイプ[%d]", type); }

std::string StandardErrorText(const std::string& message) {
  // A UTF-8 multi-byte character ends in a byte >= 0x80, which sorts after
  // '.' just as its UTF-16 code unit would.
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

void SetErrorDisplay(ErrorDisplay* display) { g_display = display; }
ErrorDisplay* GetErrorDisplay() { return g_display; }

void ShowErrorMessage(const std::string& text) {
  if (g_display) g_display->ShowErrorMessage(text);
}

void ShowUnitError(int errorNo, const std::string& detail) {
  ShowErrorMessage(FormatUnitError(errorNo, detail));
}

}  // namespace tessivane
