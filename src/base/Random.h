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

// One generator: a seed and the step above. Copying one copies where its
// sequence stands.
class RandomGenerator {
public:
  // Re-seeds from the current seed source.
  void Randomize();
  uint32_t Seed() const { return seed_; }
  void SetSeed(uint32_t seed) { seed_ = seed; }
  // A random integer in 0..n-1: the high 32 bits of seed * n after one step;
  // 0 for n = 0.
  uint32_t Int(uint32_t n);
  // A random real in [0, 1): seed / 2^32 after one step.
  double Real();

private:
  uint32_t Step();
  uint32_t seed_ = 0;
};

// The program-wide generator, used on the window's thread only. The free
// functions below work on it.
RandomGenerator& ProgramRandom();

// Re-seeds the program-wide generator from the current seed source.
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
