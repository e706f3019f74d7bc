// Manual pages written at build time from the option tables, so that an
// option cannot exist without its entry: roff-safe text and one tagged
// paragraph per option row.
#pragma once
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "cli/CommandOptions.h"

namespace tessivane {

// Text for a roff line: backslashes and hyphens escaped (a plain "-" may
// become a hyphen, not the minus an option needs), a leading dot or quote
// kept from being a request.
std::string Roff(std::string_view text);

// The AUTHOR and COPYRIGHT sections, from the licence file: its
// "Copyright" line names the holders, who are the authors. Returns false,
// writing nothing, when the file cannot be read or has no such line.
bool ManualAuthorAndCopyright(std::ostream& out, const std::string& licenseFile);

// One tagged paragraph per row: the option with dashes (roff text, "\\-" or
// "\\-\\-"), its value in italics, and its help with the range and default.
template <typename T>
void ManualRows(std::ostream& out, std::span<const OptionRow<T>> rows, std::string_view dashes) {
  const T defaults;
  for (const OptionRow<T>& row : rows) {
    out << ".TP\n" << (row.Value.empty() ? ".B" : ".BI") << " " << dashes << Roff(row.Name);
    if (!row.Value.empty()) out << " \" " << Roff(row.Value) << "\"";
    out << "\n" << Roff(RowHelp(row, defaults)) << "\n";
  }
}

}  // namespace tessivane
