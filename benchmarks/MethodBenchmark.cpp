// Per-frame cost of each conversion method: the unit's Make (cut loading
// and tile) at cuts of 32, 128 and 256 pixels, the map built beforehand.
//
//   build/native/benchmarks/tessivane_benchmarks --benchmark_filter=Method
#include <benchmark/benchmark.h>

#include <memory>

#include "base/Bitmap.h"
#include "pattern/MethodTable.h"

namespace tessivane {
namespace {

void RunMethod(benchmark::State& state, int type, int cut, const ComposerParams& param) {
  std::unique_ptr<ConversionMethod> unit = CreateMethodByType(type, param);
  Bitmap piece(cut, cut);
  for (int y = 0; y < cut; ++y)
    for (int x = 0; x < cut; ++x) piece.SetPixelRgb(x, y, static_cast<uint32_t>(x * 2654435761u ^ y * 40503u));
  if (!unit || !unit->Setup({cut, cut}, false)) {
    state.SkipWithError("set-up failed");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(unit->Make(piece));
    benchmark::ClobberMemory();
  }
  state.counters["tile_px"] = unit->Tile.Width() * unit->Tile.Height();
}

void Method(benchmark::State& state) {
  ComposerParams param;
  param.Rotate = 3;
  RunMethod(state, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), param);
}

// The plug-in method with the kit's hexagon example: the library is asked
// once in the set-up; the frames cost the table lookups and the mirroring.
void PluginMethod(benchmark::State& state) {
  ComposerParams param;
  param.DllFileName = TESSIVANE_EXAMPLE_HEXAGON;
  RunMethod(state, kMethodTypePlugin, static_cast<int>(state.range(0)), param);
}

// Type numbers: 1 kaleidoscope, 2 carpet, 3 tablecloth, 4 tile,
// 5 rectangle, 6 none, 7 floral, 10 distorted square, 11 spiral.
BENCHMARK(Method)
    ->ArgNames({"type", "cut"})
    ->ArgsProduct({{1, 2, 3, 4, 5, 6, 7, 10, 11}, {32, 128, 256}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(PluginMethod)->ArgName("cut")->Arg(32)->Arg(128)->Arg(256)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tessivane
