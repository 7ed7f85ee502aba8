#include "GameContext.h"

#include <ctime>

#include "game/GameSession.h"

GameContext::GameContext(uint32_t seed)
    : ownRng_(seed), game_(std::make_unique<GameSession>(*this)), session_(game_.get()) {}

GameContext::~GameContext() {
  // A game still running goes quietly: the outside ports may already be gone
  // (the default context is destroyed at exit, after the screens).
  playerEvents_ = &nullPlayerEvents_;
  spellEffects_ = &nullSpellEffects_;
  hub_ = &nullHub_;
  matchLink_ = &nullMatchLink_;
  boardEvents_.setFirst(nullObserver_);
  session_ = game_.get();
  game_.reset();
}

void GameContext::setSession(PlayerSession* s) { session_ = s ? s : game_.get(); }

GameContext& GameContext::defaultContext() {
  static GameContext context(static_cast<uint32_t>(std::time(nullptr)));
  return context;
}
