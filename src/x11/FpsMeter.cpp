#include "x11/FpsMeter.h"

#include <time.h>

#include <algorithm>
#include <cstdio>

namespace tessivane::x11 {
namespace {

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

}  // namespace

FpsMeter::FpsMeter() : since_(Clock::now()), cpuSince_(ProcessCpuSeconds()) { Write(0, 0); }

void FpsMeter::Frame() {
  ++frames_;
  const Clock::time_point now = Clock::now();
  const double seconds = std::chrono::duration<double>(now - since_).count();
  if (seconds < 1) return;
  const double cpu = ProcessCpuSeconds();
  Write(frames_ / seconds, 100 * (cpu - cpuSince_) / seconds);
  since_ = now;
  cpuSince_ = cpu;
  frames_ = 0;
}

void FpsMeter::Write(double fps, double load) {
  const int n0 = std::snprintf(lines_[0], sizeof lines_[0], "FPS: %.1f", fps);
  const int n1 = std::snprintf(lines_[1], sizeof lines_[1], "Load: %.1f%%", load);
  auto shown = [](int n) { return std::clamp(n, 0, kWidth - 1); };
  lengths_[0] = shown(n0);
  lengths_[1] = shown(n1);
}

}  // namespace tessivane::x11
