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

// The number of frames a fade of `tenths` tenths of a second lasts at a
// frame interval of `intervalMs`: at least 1 when `tenths` is positive,
// 0 (no fade) otherwise.
int32_t FadeFrames(int32_t tenths, uint32_t intervalMs);

// out := from blended towards to by step/steps (0: from, steps: to), per
// byte, in integer arithmetic; from, to and out have one size. Allocates
// nothing.
void BlendTiles(const Bitmap& from, const Bitmap& to, int32_t step, int32_t steps, Bitmap& out);

class PictureFade {
public:
  // Begins a fade of `frames` frames from `oldPicture`, with the tile
  // buffers made now for tiles of `tileSize`, so that the fade's frames
  // allocate nothing. False, holding nothing, when frames < 1 or memory
  // runs out: the change is then a cut. A fade in progress is replaced.
  bool Start(Bitmap oldPicture, Point tileSize, int32_t frames);
  bool Active() const { return step_ < frames_; }
  // One frame of the composer (its Make) and, while the fade lasts, the
  // blend of its tile with the old picture's, by step/frames (the first
  // frame shows the old tile alone); the frame is filled once, with the
  // blend. After the last step the old picture is freed, and the next frame
  // shows the new tile alone. Throws as the composer's Make does.
  void MakeFrame(Composer& composer);
  // Ends the fade at once, freeing the old picture and the buffers.
  void Stop();

private:
  Bitmap old_;
  Bitmap newTile_;
  Bitmap mixed_;
  int32_t step_ = 0;
  int32_t frames_ = 0;
};

}  // namespace tessivane
