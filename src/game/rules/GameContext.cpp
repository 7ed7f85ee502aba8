#include "GameContext.h"

#include <ctime>

#include "game/GameSession.h"

GameContext::GameContext(uint32_t seed)
    : ownRng_(seed), game_(std::make_unique<GameSession>(*this)), session_(game_.get()) {}

GameContext::~GameContext() = default;

void GameContext::setSession(PlayerSession* s) { session_ = s ? s : game_.get(); }

GameContext& GameContext::defaultContext() {
  static GameContext context(static_cast<uint32_t>(std::time(nullptr)));
  return context;
}
