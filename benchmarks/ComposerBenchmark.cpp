// Frame cost of the composer against a plain memcpy of a frame of the same
// size. Goal: tiling a frame costs at most twice that memcpy.
//
//   build/native/benchmarks/tessivane_benchmarks
//
// Tile/...: the doubling copies alone (TileBitmap), also for a tile larger
// than a unit can make. Make/...: one whole composer frame (motion, cut,
// unit transform, tiling) with a 44 x 44 tile.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "base/Bitmap.h"
#include "base/FrameBitmap.h"
#include "pattern/TestMethod.h"
#include "pattern/Composer.h"

namespace tessivane {
namespace {

Bitmap Picture(int w, int h) {
  Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.SetPixelRgb(x, y, static_cast<uint32_t>(x * 2654435761u ^ y * 40503u));
  return b;
}

// The yardstick: one memcpy of a 32-bit frame.
void Memcpy(benchmark::State& state) {
  FrameBitmap from(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  FrameBitmap to(from.Width(), from.Height());
  ConvertRect(from, 0, 0, Picture(from.Width(), from.Height()), 0, 0, from.Width(), from.Height());
  const size_t bytes = from.Stride() * static_cast<size_t>(from.Height());
  for (auto _ : state) {
    std::memcpy(to.Data(), from.Data(), bytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void Tile(benchmark::State& state) {
  FrameBitmap image(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  Bitmap tile = Picture(static_cast<int>(state.range(2)), static_cast<int>(state.range(3)));
  for (auto _ : state) {
    TileBitmap(image, tile);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * image.Stride() * image.Height()));
}

void Make(benchmark::State& state) {
  Composer composer(1, ComposerParams{}, ProgramRandom(),
                    [](int, const ComposerParams&) -> std::unique_ptr<ConversionMethod> {
                      return std::make_unique<testing::TestMethod>();  // tile = cut
                    });
  composer.Prepare({static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1))},
                   Picture(640, 480), {.cutSide = 44, .speed = 5});
  for (auto _ : state) {
    composer.Make();
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(
      static_cast<int64_t>(state.iterations() * composer.Image().Stride() * composer.Image().Height()));
}

BENCHMARK(Memcpy)->ArgNames({"w", "h"})->Args({1920, 1080})->Args({3840, 2160});
BENCHMARK(Tile)
    ->ArgNames({"w", "h", "tw", "th"})
    ->Args({1920, 1080, 44, 44})
    ->Args({1920, 1080, 768, 442})
    ->Args({3840, 2160, 44, 44})
    ->Args({3840, 2160, 768, 442});
BENCHMARK(Make)->ArgNames({"w", "h"})->Args({1920, 1080})->Args({3840, 2160});

}  // namespace
}  // namespace tessivane
