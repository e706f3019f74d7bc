// The messages of the settings store (UTF-8).
#pragma once
#include <string>

namespace tessivane {

std::string DataTypeInvalidText(const std::string& valueName);  // "'%s' のデータ型が不正です"
std::string KeyCreateFailedText(const std::string& subkey);      // "キー %s の作成に失敗しました"
std::string SetValueFailedText(const std::string& valueName);    // "'%s' の設定に失敗しました"

}  // namespace tessivane
