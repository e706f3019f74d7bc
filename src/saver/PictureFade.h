// The soft change of picture: for a number of frames after a folder's new
// picture is set up, each frame's tile is a blend of the tile the old
// picture gives and the tile the new one gives at the same cut, going from
// all-old to all-new. The composer's motion, brightness and method go on
// as they would without the fade; only the tile shown changes.
#pragma once
#include <cstdint>

#include "base/Bitmap.h"
#include "base/Point.h"

namespace tessivane {

class Composer;

// How long a fade of `tenths` tenths of a second lasts, in ms.
inline int64_t FadeMs(int32_t tenths) { return tenths > 0 ? int64_t{tenths} * 100 : 0; }
// The number of blended frames a fade of `tenths` tenths of a second shows
// at a frame interval of `intervalMs` (an interval of 0 counts as 1 ms):
// 0, a cut, when the fade is shorter than one interval or not positive.
int32_t FadeFrames(int32_t tenths, uint32_t intervalMs);

// out := from blended towards to by step/steps (0: from, steps: to), per
// byte, in integer arithmetic; from, to and out have one size. Allocates
// nothing.
void BlendTiles(const Bitmap& from, const Bitmap& to, int32_t step, int32_t steps, Bitmap& out);

class PictureFade {
public:
  // Begins a fade of `frames` blended frames over `durationMs` from
  // `oldPicture`, with the tile buffers made now for tiles of `tileSize`,
  // so that the fade's frames allocate nothing. False, holding nothing,
  // when frames < 1 or memory runs out: the change is then a cut. A fade
  // in progress is replaced.
  bool Start(Bitmap oldPicture, Point tileSize, int32_t frames, int64_t durationMs);
  bool Active() const { return step_ < frames_; }
  // One frame of the composer (its Make) and, while the fade lasts, the
  // blend of its tile with the old picture's: frame k of N (from 1) weighs
  // the new tile k/(N+1), or elapsedMs/durationMs where the time since the
  // change has gone further (frames paced slower than counted, or faster
  // than they were counted by: the fade never outlasts its time); the frame
  // is filled once, with the blend. After the last step, or once its time
  // is up, the old picture is freed and the frame shows the new tile alone.
  // Throws as the composer's Make does.
  void MakeFrame(Composer& composer, double elapsedMs);
  // Ends the fade at once, freeing the old picture and the buffers.
  void Stop();

private:
  Bitmap old_;
  Bitmap newTile_;
  Bitmap mixed_;
  int32_t step_ = 0;
  int32_t frames_ = 0;
  int64_t durationMs_ = 0;
};

}  // namespace tessivane
