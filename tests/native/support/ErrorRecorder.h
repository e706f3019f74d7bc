// An ErrorDisplay for tests: keeps every text it is asked to show, in
// order, instead of showing it.
#pragma once
#include <string>
#include <vector>

#include "base/Errors.h"

namespace tessivane::testing {

struct ErrorRecorder : ErrorDisplay {
  std::vector<std::string> shown;
  void ShowErrorMessage(const std::string& text) override { shown.push_back(text); }
};

}  // namespace tessivane::testing
