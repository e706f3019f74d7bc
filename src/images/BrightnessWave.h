// The brightness amount of the breathing effect: a triangle wave between
// Lower and Upper, advanced by Step once per frame.
#pragma once

namespace tessivane {

class BrightnessWave {
public:
  BrightnessWave(double lower, double upper, double step) : Upper(upper), Lower(lower), Step(step) {}

  // Adds Step; an overshoot past a bound is reflected back inside and turns
  // the direction. A value exactly on a bound turns on the next step.
  void Next();

  double Value = 0;
  double Upper;
  double Lower;
  double Step;
};

}  // namespace tessivane
