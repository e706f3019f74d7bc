#include "base/Random.h"

#include <chrono>
#include <utility>

namespace tessivane {
namespace {

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

}  // namespace

uint32_t RandomGenerator::Step() {
  seed_ = seed_ * 134775813u + 1u;
  return seed_;
}

void RandomGenerator::Randomize() {
  const SeedSource& source = CurrentSource();
  seed_ = source ? source() : ClockSeed();
}

uint32_t RandomGenerator::Int(uint32_t n) {
  uint64_t product = static_cast<uint64_t>(Step()) * n;
  return static_cast<uint32_t>(product >> 32);
}

double RandomGenerator::Real() { return Step() / 4294967296.0; }

RandomGenerator& ProgramRandom() {
  static RandomGenerator generator;
  return generator;
}

void SetSeedSource(SeedSource source) { CurrentSource() = std::move(source); }

SeedSource FixedSeed(uint32_t seed) {
  return [seed] { return seed; };
}

void Randomize() { ProgramRandom().Randomize(); }
uint32_t RandSeed() { return ProgramRandom().Seed(); }
void SetRandSeed(uint32_t seed) { ProgramRandom().SetSeed(seed); }
uint32_t RandomInt(uint32_t n) { return ProgramRandom().Int(n); }
double RandomReal() { return ProgramRandom().Real(); }

ScopedSeedSource::ScopedSeedSource(SeedSource source) : previous_(CurrentSource()) {
  CurrentSource() = std::move(source);
}

ScopedSeedSource::~ScopedSeedSource() { CurrentSource() = std::move(previous_); }

}  // namespace tessivane
