#include "base/Random.h"

#include <chrono>
#include <utility>

namespace tessivane {
namespace {

uint32_t g_seed = 0;

// The low 32 bits of a high-resolution monotonic counter, like the
// performance counter on Windows.
uint32_t ClockSeed() {
  auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  return static_cast<uint32_t>(ticks);
}

SeedSource& CurrentSource() {
  static SeedSource source;
  return source;
}

uint32_t Step() {
  g_seed = g_seed * 134775813u + 1u;
  return g_seed;
}

}  // namespace

void SetSeedSource(SeedSource source) { CurrentSource() = std::move(source); }

SeedSource FixedSeed(uint32_t seed) {
  return [seed] { return seed; };
}

void Randomize() {
  const SeedSource& source = CurrentSource();
  g_seed = source ? source() : ClockSeed();
}

uint32_t RandSeed() { return g_seed; }
void SetRandSeed(uint32_t seed) { g_seed = seed; }

uint32_t RandomInt(uint32_t n) {
  uint64_t product = static_cast<uint64_t>(Step()) * n;
  return static_cast<uint32_t>(product >> 32);
}

double RandomReal() { return Step() / 4294967296.0; }

ScopedSeedSource::ScopedSeedSource(SeedSource source) : previous_(CurrentSource()) {
  CurrentSource() = std::move(source);
}

ScopedSeedSource::~ScopedSeedSource() { CurrentSource() = std::move(previous_); }

}  // namespace tessivane
