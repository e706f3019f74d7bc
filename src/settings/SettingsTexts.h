// The messages of the settings store, in the installed language (UTF-8).
#pragma once
#include <string>

namespace tessivane {

std::string DataTypeInvalidText(const std::string& valueName);  // a value of a type the records cannot read
std::string KeyCreateFailedText(const std::string& subkey);
std::string SetValueFailedText(const std::string& valueName);

}  // namespace tessivane
