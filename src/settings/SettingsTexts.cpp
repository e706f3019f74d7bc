#include "settings/SettingsTexts.h"

#include "base/Errors.h"
#include "base/Texts.h"

namespace tessivane {

std::string DataTypeInvalidText(const std::string& valueName) {
  return Format(Tr(TextId::kDataTypeInvalid), valueName.c_str());
}
std::string KeyCreateFailedText(const std::string& subkey) {
  return Format(Tr(TextId::kKeyCreateFailed), subkey.c_str());
}
std::string SetValueFailedText(const std::string& valueName) {
  return Format(Tr(TextId::kSetValueFailed), valueName.c_str());
}

}  // namespace tessivane
