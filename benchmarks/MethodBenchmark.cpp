// Per-frame cost of each conversion method: the unit's Make (cut loading
// and tile) at cuts of 32, 128 and 256 pixels, the map built beforehand;
// MethodTile: the tile painter alone at cut 256; Brightness: the composer's
// brightness step on a 256 x 256 piece (copy in, change, copy back).
//
//   build/native/benchmarks/tessivane_benchmarks --benchmark_filter='Method|Brightness'
// PluginMethod: the same for the plug-in method with the kit's hexagon example.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "base/Bitmap.h"
#include "images/BrightnessWave.h"
#include "images/ImageEffect.h"
#include "pattern/MethodTable.h"
#include "pattern/TilePainting.h"

namespace tessivane {
namespace {

Bitmap Piece(int cut) {
  Bitmap piece(cut, cut);
  for (int y = 0; y < cut; ++y)
    for (int x = 0; x < cut; ++x)
      piece.SetPixelRgb(x, y, static_cast<uint32_t>(x * 2654435761u ^ y * 40503u));
  return piece;
}

std::unique_ptr<ConversionMethod> SetUpUnit(int type, int cut, ComposerParams param = {}) {
  param.Rotate = 3;
  std::unique_ptr<ConversionMethod> unit = CreateMethodByType(type, param);
  if (unit && unit->Setup({cut, cut}, false, ProgramRandom()).number != 0) unit.reset();
  return unit;
}

void RunMethod(benchmark::State& state, int type, int cut, const ComposerParams& param) {
  std::unique_ptr<ConversionMethod> unit = SetUpUnit(type, cut, param);
  const Bitmap piece = Piece(cut);
  if (!unit) {
    state.SkipWithError("set-up failed");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(unit->Make(piece));
    benchmark::ClobberMemory();
  }
  state.counters["tile_px"] = unit->Tile().Width() * unit->Tile().Height();
}

void Method(benchmark::State& state) {
  RunMethod(state, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), {});
}

// The plug-in method with the kit's hexagon example: the library is asked
// once in the set-up; the frames cost the table lookups and the mirroring.
void PluginMethod(benchmark::State& state) {
  ComposerParams param;
  param.DllFileName = TESSIVANE_EXAMPLE_HEXAGON;
  RunMethod(state, kMethodTypePlugin, static_cast<int>(state.range(0)), param);
}

// The painter alone, from the method's answer (area, symmetry, map).
void MethodTile(benchmark::State& state) {
  const int type = static_cast<int>(state.range(0));
  std::unique_ptr<ConversionMethod> unit = SetUpUnit(type, 256);
  if (!unit) {
    state.SkipWithError("set-up failed");
    return;
  }
  static ConversionMethod::CutPixels pixels;
  for (int x = 0; x < ConversionMethod::kMaxCut; ++x)
    for (int y = 0; y < ConversionMethod::kMaxCut; ++y) pixels[x][y] = {x, y, x ^ y};
  Bitmap tile;
  for (auto _ : state) {
    PaintMappedTile(tile, unit->Map(), pixels, unit->Area(), unit->Symmetry());
    benchmark::ClobberMemory();
  }
}

void Brightness(benchmark::State& state) {
  Bitmap piece = Piece(256);
  ImageEffect effect;
  BrightnessWave wave(-0.3, 0.3, 0.01);
  for (auto _ : state) {
    effect.SetImage(piece);
    wave.Next();
    effect.ChangeBrightness(wave.Value);
    CopyRect(piece, 0, 0, effect.GetResult(), 0, 0, 256, 256);
    benchmark::ClobberMemory();
  }
}

// Every method with a class of its own (not the random choice, not the
// plug-in), by type number, from the method table.
std::vector<int> MethodTypes() {
  std::vector<int> types;
  for (const MethodRow& row : MethodRows())
    if (row.Create && row.Type != kMethodTypePlugin) types.push_back(row.Type);
  return types;
}

void EveryMethodAtEachCut(benchmark::internal::Benchmark* b) {
  b->ArgNames({"type", "cut"});
  for (int type : MethodTypes())
    for (int cut : {32, 128, 256}) b->Args({type, cut});
}

void EveryMethod(benchmark::internal::Benchmark* b) {
  b->ArgNames({"type"});
  for (int type : MethodTypes()) b->Arg(type);
}

BENCHMARK(Method)->Apply(EveryMethodAtEachCut)->Unit(benchmark::kMicrosecond);
BENCHMARK(PluginMethod)->ArgName("cut")->Arg(32)->Arg(128)->Arg(256)->Unit(benchmark::kMicrosecond);
BENCHMARK(MethodTile)->Apply(EveryMethod)->Unit(benchmark::kMicrosecond);
BENCHMARK(Brightness)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tessivane
