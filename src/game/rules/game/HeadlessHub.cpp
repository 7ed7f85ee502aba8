#include "game/HeadlessHub.h"

#include "Board.h"
#include "GameContext.h"
#include "logog/logog.hpp"
#include "player/Player.h"

HeadlessHub::HeadlessHub(GameContext& context) : context_(&context) {
  context.setPlayerEvents(this);
  context.setHub(this);
}

HeadlessHub::~HeadlessHub() {
  if (&context_->playerEvents() == this) context_->setPlayerEvents(nullptr);
  if (&context_->hub() == this) context_->setHub(nullptr);
}

GameSession& HeadlessHub::game() const { return context_->game(); }

void HeadlessHub::reset() {
  result_ = Result::None;
  sharedSteps_.clear();
  messages_ = 0;
}

void HeadlessHub::switchPlayerState(Player& player, PlayerState oldState, PlayerState newState) {
  const GameSession::SharedStep step = game().sharedStepFor(newState);
  if (step == GameSession::SharedStep::None) return;
  sharedSteps_.push_back(step);
  game().onPlayerStateSwitched(player, oldState, newState);
}

void HeadlessHub::playerSpellQueueProcessedAnim(Player& player) {
  game().onSpellQueueProcessed(player);
}

void HeadlessHub::showPlayerMessage(Player&, const std::string&) {
  // The computer replaces a refused choice itself (aiStep); nobody reads it here.
  ++messages_;
}

void HeadlessHub::spellQueuesProcessed() { resumeBothPlayers(); }

void HeadlessHub::onBoardsUpdated() { game().checkGameOver(); }

void HeadlessHub::resumeBothPlayers() {
  Player* local = game().localPlayer();
  Player* enemy = game().enemyPlayer();
  if (local) local->onQueueDone();
  if (enemy) enemy->onQueueDone();
}

void HeadlessHub::endGame(Result result) {
  result_ = result;
  for (Player* p : {game().localPlayer(), game().enemyPlayer()})
    if (p && p->board()) p->board()->revealAll();
}

ChoiceOutcome HeadlessHub::submitChoice(const Choice& choice) {
  return game().takeChoice(choice);
}
