#include "GameContext.h"

#include <ctime>

GameContext::GameContext(uint32_t seed) : ownRng_(seed) {}

GameContext& GameContext::defaultContext() {
  static GameContext context(static_cast<uint32_t>(std::time(nullptr)));
  return context;
}
