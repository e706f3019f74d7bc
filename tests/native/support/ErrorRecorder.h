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

// Runs `step` as a front end does: a unit failure it throws is shown, then thrown on.
template <typename Step>
void AsFrontEnd(Step&& step) {
  try {
    step();
  } catch (const UnitFailed& e) {
    ShowUnitError(e.Failure());
    throw;
  }
}

}  // namespace tessivane::testing
