// The same chance in every run of a windowed test: the rules' generator (hands, the
// computer's moves, a spell's strikes) and the C library's rand() (particles, the scatter of
// effects) start from one seed, so two runs deal the same hands and draw the same pixels.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "GameContext.h"

namespace mvtest {

inline void fixChance(uint32_t seed = 1) {
  GameContext::defaultContext().seed(seed);
  std::srand(seed);
}

}  // namespace mvtest
