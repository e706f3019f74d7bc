// The values a run takes: the ranges and defaults of the numeric settings,
// the source kinds, and the frame interval a delay setting gives. The
// records that store them, the dialogs, the command options and the run's
// description (RunConfig) read them from here.
#pragma once
#include <algorithm>
#include <cstdint>

#include "pattern/PieceLimits.h"

namespace tessivane {

// The values a numeric setting accepts and the one it takes when none is
// stored.
struct SettingRange {
  int32_t min;
  int32_t max;
  int32_t initial;
  constexpr bool Contains(int32_t value) const { return value >= min && value <= max; }
  constexpr int32_t Clamp(int32_t value) const { return std::clamp(value, min, max); }
};

inline constexpr SettingRange kSizeSetting{8, 64, 8};    // the cut is CutSideOf(Size) pixels
inline constexpr SettingRange kSpeedSetting{1, 10, 3};   // how far the cut moves a frame
inline constexpr SettingRange kDelaySetting{1, 99, 1};   // the frame interval's setting (FrameInterval)
inline constexpr SettingRange kFadeSetting{0, 50, 0};    // tenths of a second a change fades; 0: a cut
inline constexpr SettingRange kRotateSetting{2, 20, 3};  // the distorted square's repeats
inline constexpr SettingRange kAspectSetting{-kMaxPieceAspect, kMaxPieceAspect, 0};  // an oblong piece's step

// Source kinds.
inline constexpr uint8_t kFileTypeRandom = 1;  // a random picture drawn by the program
inline constexpr uint8_t kFileTypeFile = 2;    // one picture file
inline constexpr uint8_t kFileTypeFolder = 3;  // the pictures of a folder

// The frame timer's interval in ms for a delay setting (the Weight): Weight
// x 10, or for the slide show (Weight - 1) x 500 + 100. Computed in 32-bit
// wrap-around arithmetic and read as unsigned, as the timer takes it:
// Weight 0 gives 0 (a stopped timer), a negative Weight a very long interval.
uint32_t FrameInterval(int32_t weight, uint8_t motion);

}  // namespace tessivane
