#include "cli/ManualPage.h"

#include <fstream>

namespace tessivane {

bool ManualAuthorAndCopyright(std::ostream& out, const std::string& licenseFile) {
  std::ifstream in(licenseFile);
  std::string kind, line;
  std::getline(in, kind);  // "MIT License"
  while (std::getline(in, line) && !line.starts_with("Copyright (c) ")) {
  }
  if (!in || kind.empty()) return false;
  // "Copyright (c) YEAR HOLDERS"
  const size_t holders = line.find(' ', sizeof("Copyright (c)"));
  if (holders == std::string::npos) return false;
  out << ".SH AUTHOR\nWritten by the " << Roff(line.substr(holders + 1)) << ".\n"
      << ".SH COPYRIGHT\n"
      << Roff(line) << ".\nReleased under the " << Roff(kind)
      << ": free to use, change and share;\nthere is no warranty.\n";
  return true;
}

std::string Roff(std::string_view text) {
  std::string out;
  if (!text.empty() && (text[0] == '.' || text[0] == '\'')) out = "\\&";
  for (char c : text) {
    if (c == '\\')
      out += "\\e";
    else if (c == '-')
      out += "\\-";
    else
      out += c;
  }
  return out;
}

}  // namespace tessivane
