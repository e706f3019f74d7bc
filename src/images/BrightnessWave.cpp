#include "images/BrightnessWave.h"

#include "base/Numeric.h"

namespace tessivane {

void BrightnessWave::Next() {
  Value = static_cast<double>(Extended{Value} + Step);
  if (Value < Lower) {
    Value = static_cast<double>(Extended{Lower} + (Extended{Lower} - Value));
    Step = -Step;
  } else if (Value > Upper) {
    Value = static_cast<double>(Extended{Upper} - (Extended{Value} - Upper));
    Step = -Step;
  }
}

}  // namespace tessivane
