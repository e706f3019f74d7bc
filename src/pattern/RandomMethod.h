// The "choose at random" conversion method (type number 8) resolved to a
// real one, as the saver window and the renderer do before they create
// the composer.
#pragma once
#include <string>

#include "base/Random.h"

namespace tessivane {

// Re-seeds `generator`, then draws stored method codes (0..9 for the
// built-in table, MethodCodeCount) until one
// whose character in `random` (one "0"/"1" per code) is "1". The random
// choice's own code does not count; after 10001 draws of a real method the
// last one drawn is taken, so a string without any "1" still ends.
// Returns the type number of the code drawn.
int ChooseRandomMethodType(const std::string& random, RandomGenerator& generator);

}  // namespace tessivane
