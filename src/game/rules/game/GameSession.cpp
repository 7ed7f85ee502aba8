// The running game: starting, clearing, turns and the shared steps.
#include "game/GameSession.h"

#include "Board.h"
#include "GameContext.h"
#include "logog/logog.hpp"
#include "player/Player.h"
#include "ports/GameHub.h"
#include "ports/MatchLink.h"

GameSession::GameSession(GameContext& context) : context_(&context) {}

GameSession::~GameSession() { clearGame(true); }

GameHub& GameSession::hub() const { return context_->hub(); }

MatchLink& GameSession::match() const { return context_->matchLink(); }

bool GameSession::lacksAuthority() const { return online_ && !match().isServer(); }

void GameSession::syncAuthority() { context_->setOnlineNotHosting(lacksAuthority()); }

// ---- Life of a game -------------------------------------------------------------

bool GameSession::newGame(bool online, std::unique_ptr<GameDirector> director) {
  if (!director) {
    LOGOG_ERROR("a game cannot start without the rules of its mode");
    return false;
  }
  clearGame(false);
  online_ = online;
  director_ = std::move(director);
  started_ = true;
  turn_ = 0;
  aiChoices_[0] = aiChoices_[1] = 0;
  life_.restart();
  syncAuthority();

  createSide(true);
  createSide(false);
  director_->setupPlayer(*local_);
  director_->setupPlayer(*enemy_);
  local_->dealCards();
  enemy_->dealCards();
  local_->setState(PlayerState::TurnBegin);
  enemy_->setState(PlayerState::TurnBegin);

  // The hub may have ended or replaced the game while the players began.
  if (!director_) return true;
  const std::string intro = director_->getIntroMessage();
  if (!intro.empty()) hub().showIntroMessage(context_->text().text(intro));
  return true;
}

void GameSession::createSide(bool local) {
  auto* player = new Player(*context_);
  (local ? local_ : enemy_) = player;
  if (online_) match().referenceReplica(*player);
  auto* board = new Board(*context_);
  if (online_) match().referenceReplica(*board);
  board->setOwner(player);
  board->setOwnerName(player->displayName());
  board->fill();
  if (online_) board->forEachElem([this](BoardElem& e) { match().referenceReplica(e); });
  player->setBoard(board);
}

void GameSession::freeSide(bool local) {
  Player*& player = local ? local_ : enemy_;
  if (!player) return;
  if (Board* board = player->board()) {
    if (online_) {
      board->forEachElem([this](BoardElem& e) { match().destroyReplica(e); });
      match().destroyReplica(*board);
    }
    player->setBoard(nullptr);
    delete board;
  }
  if (online_) match().destroyReplica(*player);
  delete player;
  player = nullptr;
}

void GameSession::clearGame(bool force) {
  started_ = false;
  director_.reset();
  // Effects still playing belong to the game that goes; their completions are dropped.
  life_.end();
  if (!force && lacksAuthority()) {
    // The joining side's players belong to replication, which destroys them.
    local_ = nullptr;
    enemy_ = nullptr;
    return;
  }
  freeSide(true);
  freeSide(false);
}

void GameSession::beginClientGame() {
  if (started_ && !online_) clearGame(false);
  started_ = true;
  online_ = true;
  turn_ = 0;
  life_.restart();
  syncAuthority();
}

void GameSession::attachPlayer(Player* player, bool local) {
  (local ? local_ : enemy_) = player;
}

// ---- Turn -----------------------------------------------------------------------

void GameSession::nextTurn() {
  ++turn_;
  if (lacksAuthority() || !bothPlayers()) return;
  local_->dealCards();
  enemy_->dealCards();
  local_->setState(PlayerState::TurnBegin);
  enemy_->setState(PlayerState::TurnBegin);
  if (online_) match().sendTurnBegin();
}

void GameSession::update() {
  if (!started_ || online_ || !bothPlayers() || !director_) return;
  if (!Player::mustWaitFor(enemy_->state(), local_->state())) director_->updateAI(*enemy_);
}

void GameSession::checkGameOver() {
  if (!bothPlayers() || !director_) return;
  const bool localLost = director_->hasLost(*local_);
  const bool enemyLost = director_->hasLost(*enemy_);
  if (!localLost && !enemyLost) {
    hub().resumeBothPlayers();
    return;
  }
  // Marked before the hub hears it: the hub may start the next game at once.
  started_ = false;
  if (localLost && enemyLost)
    hub().onGameDraw();
  else if (enemyLost)
    hub().onGameWon();
  else
    hub().onGameLost();
}

void GameSession::processSpellQueues() {
  if (lacksAuthority() || !bothPlayers()) return;
  if (!local_->spellQueue().empty())
    local_->processSpellQueue();
  else if (!enemy_->spellQueue().empty())
    enemy_->processSpellQueue();
  else
    hub().spellQueuesProcessed();
}

void GameSession::updateBoards() {
  if (lacksAuthority() || !bothPlayers()) return;
  if (Board* b = local_->board()) b->burn();
  if (Board* b = enemy_->board()) b->burn();
  hub().onBoardsUpdated();
}

// ---- Shared steps ---------------------------------------------------------------

GameSession::SharedStep GameSession::sharedStepFor(PlayerState newState) const {
  if (!bothPlayers() || local_->state() != newState || enemy_->state() != newState)
    return SharedStep::None;
  switch (newState) {
    case PlayerState::ProcessCombatQueue:
      return SharedStep::CastCombatQueues;
    case PlayerState::Fire:
      return SharedStep::FirePass;
    case PlayerState::EndTurn:
      return SharedStep::NextTurn;
    default:
      return SharedStep::None;
  }
}

void GameSession::runSharedStep(SharedStep step) {
  switch (step) {
    case SharedStep::CastCombatQueues:
      processSpellQueues();
      break;
    case SharedStep::FirePass:
      updateBoards();
      break;
    case SharedStep::NextTurn:
      nextTurn();
      break;
    case SharedStep::None:
      break;
  }
}

GameSession::SharedStep GameSession::onPlayerStateSwitched(Player&, PlayerState,
                                                            PlayerState newState) {
  const SharedStep step = sharedStepFor(newState);
  runSharedStep(step);
  return step;
}

// ---- PlayerSession ----------------------------------------------------------------

Player* GameSession::otherPlayer(const Player& p) const { return &p != local_ ? local_ : enemy_; }

bool GameSession::tutorialRunning() const { return director_ && director_->isTutorialRunning(); }

bool GameSession::sandbox() const { return director_ && director_->isSandbox(); }

std::vector<int> GameSession::cardList(const Player& p) {
  if (!director_) return {};
  return director_->getCardList(p, turn_);
}

void GameSession::onSpellQueueProcessed(Player& player) {
  switch (player.state()) {
    case PlayerState::CardChoose:
    case PlayerState::PlacementChoose:
      player.setState(PlayerState::CardChoose);
      break;
    case PlayerState::BuildChooseSpell:
    case PlayerState::BuildSpellChooseTarget:
      player.setState(PlayerState::BuildChooseSpell);
      break;
    case PlayerState::ProcessCombatQueue:
      processSpellQueues();
      break;
    case PlayerState::RepairChooseSpell:
    case PlayerState::RepairSpellChooseTarget:
      player.setState(PlayerState::RepairChooseSpell);
      break;
    default:
      LOGOG_ERROR("invalid player state after a spell queue: %d",
                  static_cast<int>(player.state()));
      break;
  }
}
