// The frame rate and the process's CPU load (all its threads, as a share
// of one core), measured over about a second and written as the two lines
// that screen hacks show at the bottom of their picture. Counting a frame
// allocates nothing.
#pragma once
#include <chrono>

namespace tessivane::x11 {

class FpsMeter {
public:
  static constexpr int kLines = 2;
  static constexpr int kWidth = 32;  // bytes of a line's buffer

  FpsMeter();
  // Counts a frame; once a second has passed since the last figures, makes
  // them anew.
  void Frame();
  // The text of line 0 (the frame rate) or 1 (the load) and its length.
  const char* Line(int i) const { return lines_[i]; }
  int Length(int i) const { return lengths_[i]; }

private:
  using Clock = std::chrono::steady_clock;
  void Write(double fps, double load);

  Clock::time_point since_;
  double cpuSince_ = 0;  // seconds of the process's CPU time at since_
  int frames_ = 0;
  char lines_[kLines][kWidth]{};
  int lengths_[kLines]{};
};

}  // namespace tessivane::x11
