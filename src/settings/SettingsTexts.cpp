#include "settings/SettingsTexts.h"

namespace tessivane {

std::string DataTypeInvalidText(const std::string& valueName) { return "'" + valueName + "' のデータ型が不正です"; }
std::string KeyCreateFailedText(const std::string& subkey) { return "キー " + subkey + " の作成に失敗しました"; }
std::string SetValueFailedText(const std::string& valueName) { return "'" + valueName + "' の設定に失敗しました"; }

}  // namespace tessivane
