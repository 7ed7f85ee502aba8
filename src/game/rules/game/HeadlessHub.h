// The event hub of a game nobody watches: the rules' side of the game flow,
// with no screen and no network. It starts the shared steps when both players
// arrive, moves players on when their queues are worked off, takes the
// computer's choices, and keeps the result. Tests and the simulator use it.
#pragma once

#include <string>
#include <vector>

#include "game/GameSession.h"
#include "ports/GameHub.h"
#include "ports/PlayerEvents.h"

class GameContext;

class HeadlessHub : public PlayerEvents, public GameHub {
 public:
  enum class Result { None, Won, Lost, Draw };

  // Becomes the context's player events and hub until destroyed.
  explicit HeadlessHub(GameContext& context);
  ~HeadlessHub() override;
  HeadlessHub(const HeadlessHub&) = delete;
  HeadlessHub& operator=(const HeadlessHub&) = delete;

  // ---- PlayerEvents --------------------------------------------------------
  void switchPlayerState(Player& player, PlayerState oldState, PlayerState newState) override;
  void playerSpellQueueProcessedAnim(Player& player) override;
  void showPlayerMessage(Player& player, const std::string& text) override;

  // ---- GameHub -------------------------------------------------------------
  void spellQueuesProcessed() override;
  void onBoardsUpdated() override;
  void resumeBothPlayers() override;
  void onGameWon() override { endGame(Result::Won); }
  void onGameLost() override { endGame(Result::Lost); }
  void onGameDraw() override { endGame(Result::Draw); }
  // The computer's choices, on the running game's one path.
  ChoiceOutcome submitChoice(const Choice& choice) override;

  // ---- What happened ----------------------------------------------------------
  Result result() const { return result_; }
  // Every shared step run, in order.
  const std::vector<GameSession::SharedStep>& sharedSteps() const { return sharedSteps_; }
  // Messages shown to a player (refused choices and the like).
  int messages() const { return messages_; }
  void reset();

 private:
  GameSession& game() const;
  void endGame(Result result);

  GameContext* context_;
  Result result_ = Result::None;
  std::vector<GameSession::SharedStep> sharedSteps_;
  int messages_ = 0;
};
