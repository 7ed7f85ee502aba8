// The running game: starting, clearing, turns and the shared steps.
#include "game/GameSession.h"

#include "Board.h"
#include "GameContext.h"
#include "logog/logog.hpp"
#include "player/Player.h"
#include "ports/GameHub.h"
#include "ports/MatchLink.h"

GameSession::GameSession(GameContext& context) : context_(&context) {}

GameSession::~GameSession() { clearGame(false); }

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
  life_.restart();
  syncAuthority();

  createSide(local_);
  createSide(enemy_);
  director_->setupPlayer(*local_.player);
  director_->setupPlayer(*enemy_.player);
  local_.player->dealCards();
  enemy_.player->dealCards();
  local_.player->setState(PlayerState::TurnBegin);
  enemy_.player->setState(PlayerState::TurnBegin);

  // The hub may have ended or replaced the game while the players began.
  if (!director_) return true;
  const std::string intro = director_->getIntroMessage();
  if (!intro.empty()) hub().showIntroMessage(context_->text().text(intro));
  return true;
}

void GameSession::createSide(Side& side) {
  side.player = std::make_unique<Player>(*context_);
  Player& player = *side.player;
  if (online_) match().referenceReplica(player);
  side.board = std::make_unique<Board>(*context_);
  Board& board = *side.board;
  if (online_) match().referenceReplica(board);
  board.setOwner(&player);
  board.setOwnerName(player.displayName());
  board.fill();
  if (online_) board.forEachElem([this](BoardElem& e) { match().referenceReplica(e); });
  player.setBoard(&board);
}

void GameSession::freeSide(Side& side, bool withPlayer) {
  if (side.board) {
    if (online_) {
      side.board->forEachElem([this](BoardElem& e) { match().destroyReplica(e); });
      match().destroyReplica(*side.board);
    }
    if (side.player && side.player->board() == side.board.get()) side.player->setBoard(nullptr);
    side.board.reset();
  }
  if (!withPlayer || !side.player) return;
  if (online_) match().destroyReplica(*side.player);
  side.player.reset();
}

void GameSession::clearGame(bool force) {
  if (force && lacksAuthority()) match().dropRemoteObjects();
  started_ = false;
  director_.reset();
  // Effects still playing belong to the game that goes; their completions are dropped.
  life_.end();
  freeSide(local_, true);
  freeSide(enemy_, true);
}

void GameSession::beginClientGame() {
  if (started_ && !online_) clearGame(false);
  started_ = true;
  online_ = true;
  turn_ = 0;
  life_.restart();
  syncAuthority();
}

// ---- The joining side's objects ------------------------------------------------

bool GameSession::takesRemoteObjects() const { return started_ && lacksAuthority(); }

GameSession::Side* GameSession::sideOf(const Player& player) {
  if (local_.player.get() == &player) return &local_;
  if (enemy_.player.get() == &player) return &enemy_;
  return nullptr;
}

GameSession::Side* GameSession::sideOf(const Board& board) {
  if (local_.board.get() == &board) return &local_;
  if (enemy_.board.get() == &board) return &enemy_;
  return nullptr;
}

Player* GameSession::adoptPlayer(std::unique_ptr<Player> player, bool local) {
  const char* role = local ? "local" : "enemy";
  if (!player) return nullptr;
  if (!takesRemoteObjects()) {
    LOGOG_WARN("refused a remote %s player: no network match runs on this joining side", role);
    return nullptr;
  }
  Side& side = local ? local_ : enemy_;
  if (side.player) {
    LOGOG_WARN("refused a remote %s player: the game has its %s player already", role, role);
    return nullptr;
  }
  side.player = std::move(player);
  return side.player.get();
}

Board* GameSession::adoptBoard(std::unique_ptr<Board> board, Player& owner) {
  if (!board) return nullptr;
  Side* side = sideOf(owner);
  if (!takesRemoteObjects() || !side) {
    LOGOG_WARN("refused a remote board: its owner is no player of a network match on this joining side");
    return nullptr;
  }
  if (side->board || owner.board()) {
    LOGOG_WARN("refused a remote board: %s has a board already", owner.displayName());
    return nullptr;
  }
  side->board = std::move(board);
  Board& b = *side->board;
  b.setOwner(&owner);
  b.setOwnerName(owner.displayName());
  owner.setBoard(&b);
  return &b;
}

bool GameSession::dropPlayer(const Player& player) {
  Side* side = sideOf(player);
  if (!side) return false;
  freeSide(*side, true);
  return true;
}

bool GameSession::dropBoard(const Board& board) {
  Side* side = sideOf(board);
  if (!side) return false;
  freeSide(*side, false);
  return true;
}

// ---- Turn -----------------------------------------------------------------------

void GameSession::nextTurn() {
  ++turn_;
  if (lacksAuthority() || !bothPlayers()) return;
  Player& local = *local_.player;
  Player& enemy = *enemy_.player;
  local.dealCards();
  enemy.dealCards();
  local.setState(PlayerState::TurnBegin);
  enemy.setState(PlayerState::TurnBegin);
  if (online_) match().sendTurnBegin();
}

void GameSession::update() {
  if (!started_ || online_ || !bothPlayers() || !director_) return;
  Player& enemy = *enemy_.player;
  if (!Player::mustWaitFor(enemy.state(), local_.player->state())) director_->updateAI(enemy);
}

void GameSession::checkGameOver() {
  if (!bothPlayers() || !director_) return;
  const bool localLost = director_->hasLost(*local_.player);
  const bool enemyLost = director_->hasLost(*enemy_.player);
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
  Player& local = *local_.player;
  Player& enemy = *enemy_.player;
  if (!local.spellQueue().empty())
    local.processSpellQueue();
  else if (!enemy.spellQueue().empty())
    enemy.processSpellQueue();
  else
    hub().spellQueuesProcessed();
}

void GameSession::updateBoards() {
  if (lacksAuthority() || !bothPlayers()) return;
  if (Board* b = local_.player->board()) b->burn();
  if (Board* b = enemy_.player->board()) b->burn();
  hub().onBoardsUpdated();
}

// ---- Shared steps ---------------------------------------------------------------

GameSession::SharedStep GameSession::sharedStepFor(PlayerState newState) const {
  if (!bothPlayers() || local_.player->state() != newState || enemy_.player->state() != newState)
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

Player* GameSession::otherPlayer(const Player& p) const {
  return &p != localPlayer() ? localPlayer() : enemyPlayer();
}

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
      LOGOG_ERROR("invalid player state in playerSpellQueueProcessedAnim: %d", static_cast<int>(player.state()));
      break;
  }
}
