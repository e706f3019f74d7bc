#include "saver/PictureFade.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <utility>

#include "base/Errors.h"
#include "pattern/Composer.h"

namespace tessivane {

int32_t FadeFrames(int32_t tenths, uint32_t intervalMs) {
  const uint64_t ms = static_cast<uint64_t>(FadeMs(tenths));
  const uint64_t interval = std::max<uint64_t>(intervalMs, 1);
  if (ms < interval) return 0;
  return static_cast<int32_t>(std::min<uint64_t>((ms + interval / 2) / interval, INT32_MAX - 1));
}

void BlendTiles(const Bitmap& from, const Bitmap& to, int32_t step, int32_t steps, Bitmap& out) {
  // The weight in 1/256 steps: 0 gives `from` exactly, 256 gives `to`.
  const uint32_t w =
      steps <= 0 ? 256u : static_cast<uint32_t>((int64_t{std::clamp(step, 0, steps)} * 256) / steps);
  const auto mix = [w](uint32_t a, uint32_t b) {
    return (a * (256 - w) + b * w + 0x00800080u) >> 8 & 0x00FF00FFu;
  };
  const size_t rowBytes = static_cast<size_t>(out.Width()) * 3;
  for (int y = 0; y < out.Height(); ++y) {
    const uint8_t* a = from.Row(y);
    const uint8_t* b = to.Row(y);
    uint8_t* o = out.Row(y);
    size_t i = 0;
    // Four bytes at a time, as two pairs of 16-bit lanes: no lane can carry
    // into the next, so each byte comes out as the loop below makes it.
    for (; i + 4 <= rowBytes; i += 4) {
      uint32_t p, q;
      std::memcpy(&p, a + i, 4);
      std::memcpy(&q, b + i, 4);
      const uint32_t r =
          mix(p & 0x00FF00FFu, q & 0x00FF00FFu) | mix(p >> 8 & 0x00FF00FFu, q >> 8 & 0x00FF00FFu) << 8;
      std::memcpy(o + i, &r, 4);
    }
    for (; i < rowBytes; ++i) o[i] = static_cast<uint8_t>((a[i] * (256 - w) + b[i] * w + 128) >> 8);
  }
}

bool PictureFade::Start(Bitmap oldPicture, Point tileSize, int32_t frames, int64_t durationMs) {
  Stop();
  if (frames < 1) return false;
  try {
    newTile_.SetSize(tileSize.x, tileSize.y);
    mixed_.SetSize(tileSize.x, tileSize.y);
  } catch (const std::exception& e) {
    if (!IsAllocationFailure(e)) throw;
    Stop();
    return false;  // the change is a cut; oldPicture is freed on return
  }
  old_ = std::move(oldPicture);
  step_ = 0;
  frames_ = frames;
  durationMs_ = std::max<int64_t>(durationMs, 1);
  return true;
}

void PictureFade::MakeFrame(Composer& composer, double elapsedMs) {
  if (Active() && elapsedMs >= static_cast<double>(durationMs_)) Stop();
  if (!Active()) return composer.Make();
  // The new tile alone is not shown: the frame is filled with the blend only.
  const Bitmap& fresh = composer.MakeTile();
  newTile_.SetSize(fresh.Width(), fresh.Height());
  CopyRect(newTile_, 0, 0, fresh, 0, 0, fresh.Width(), fresh.Height());
  const Bitmap& oldTile = composer.MakeTileOf(old_);
  mixed_.SetSize(fresh.Width(), fresh.Height());
  // The weight by frames, or by time where the time has gone further.
  int32_t step = step_ + 1, steps = frames_ + 1;
  if (elapsedMs > 0 && elapsedMs * steps > static_cast<double>(step) * static_cast<double>(durationMs_)) {
    step = static_cast<int32_t>(std::min<double>(elapsedMs, static_cast<double>(durationMs_)));
    steps = static_cast<int32_t>(std::min<int64_t>(durationMs_, INT32_MAX));
  }
  if (oldTile.Width() == fresh.Width() && oldTile.Height() == fresh.Height())
    BlendTiles(oldTile, newTile_, step, steps, mixed_);
  else
    CopyRect(mixed_, 0, 0, newTile_, 0, 0, fresh.Width(), fresh.Height());
  composer.ShowTile(mixed_);
  if (++step_ == frames_) Stop();
}

void PictureFade::Stop() {
  old_ = Bitmap();
  newTile_ = Bitmap();
  mixed_ = Bitmap();
  step_ = frames_ = 0;
  durationMs_ = 0;
}

}  // namespace tessivane
