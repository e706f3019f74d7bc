// The program-wide random generator: one 32-bit linear congruential
// generator, seed := seed * 134775813 + 1 (mod 2^32).
#pragma once
#include <cstdint>
#include <functional>

namespace tessivane {

// Where Randomize() takes a new seed from. The default reads a
// high-resolution clock; tests and the renderer's --seed replace it.
using SeedSource = std::function<uint32_t()>;

// Installs a seed source; an empty function restores the clock.
void SetSeedSource(SeedSource source);
// A seed source that always answers `seed`.
SeedSource FixedSeed(uint32_t seed);

// Re-seeds the generator from the current seed source.
void Randomize();
// The current seed, readable and writable (tests pin sequences with it).
uint32_t RandSeed();
void SetRandSeed(uint32_t seed);

// A random integer in 0..n-1: the high 32 bits of seed * n after one step;
// 0 for n = 0.
uint32_t RandomInt(uint32_t n);
// A random real in [0, 1): seed / 2^32 after one step.
double RandomReal();

// Replaces the seed source for the lifetime of the object (tests).
class ScopedSeedSource {
public:
  explicit ScopedSeedSource(SeedSource source);
  ~ScopedSeedSource();
  ScopedSeedSource(const ScopedSeedSource&) = delete;
  ScopedSeedSource& operator=(const ScopedSeedSource&) = delete;

private:
  SeedSource previous_;
};

}  // namespace tessivane
