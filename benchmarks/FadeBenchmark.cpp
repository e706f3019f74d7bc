// What a picture change's fade adds to a frame: one kaleidoscope frame at
// 1920 x 1080, alone and with the fade's second tile and blend, for the
// default Size (a 32-pixel cut) and the largest (256). Goal: a fade frame
// costs at most twice a normal one.
//
//   build/native/benchmarks/tessivane_benchmarks --benchmark_filter=Frame
#include <benchmark/benchmark.h>

#include <cstdint>
#include <utility>

#include "base/Bitmap.h"
#include "base/Random.h"
#include "pattern/Composer.h"
#include "saver/PictureFade.h"
#include "settings/MainSettings.h"

namespace tessivane {
namespace {

Bitmap Noise(int w, int h, uint32_t salt) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.SetPixelRgb(x, y, static_cast<uint32_t>(x * 2654435761u ^ y * 40503u ^ salt));
  return b;
}

// range(0): the Size setting; range(1): 1 for a fade frame.
void Frame(benchmark::State& state) {
  Composer composer(1, ComposerParams{}, ProgramRandom());
  composer.Prepare({1920, 1080}, Noise(1024, 768, 0),
                   {.cutSide = CutSideOf(static_cast<int32_t>(state.range(0))), .speed = 3});
  composer.Make();
  PictureFade fade;
  const Bitmap& tile = composer.Method()->Tile();
  if (state.range(1) != 0)
    fade.Start(Noise(1024, 768, 0x5A5A5A), {tile.Width(), tile.Height()}, INT32_MAX - 1, INT64_MAX);
  for (auto _ : state) {
    fade.MakeFrame(composer, 0.0);
    benchmark::ClobberMemory();
  }
}

BENCHMARK(Frame)
    ->ArgNames({"size", "fade"})
    ->Args({MainSettings::kSize.initial, 0})
    ->Args({MainSettings::kSize.initial, 1})
    ->Args({MainSettings::kSize.max, 0})
    ->Args({MainSettings::kSize.max, 1});

}  // namespace
}  // namespace tessivane
