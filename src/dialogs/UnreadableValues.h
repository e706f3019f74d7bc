// The message about stored values the settings records cannot read, which
// the three dialogs and the full-screen saver show.
#pragma once
#include <string>
#include <vector>

namespace tessivane::dialogs {

// Tells the user, in the standard error box, that the first of these
// stored values has a type the settings cannot read, for example
// "'Size' のデータ型が不正です.". Nothing when there are none. The run goes
// on with the value's default, and saving the record stores it.
void ReportUnreadableValues(const std::vector<std::string>& names);

}  // namespace tessivane::dialogs
