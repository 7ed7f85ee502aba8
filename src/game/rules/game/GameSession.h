// The running game: the director of its mode, the local and the enemy player
// with their boards, the turn counter, and whether it runs and is online. It
// creates and frees players, boards and elements, deals the cards of each turn,
// lets the computer move, and runs the steps both players share once both
// have reached them. One per game context.
#pragma once

#include <memory>
#include <vector>

#include "game/GameDirector.h"
#include "player/GameLife.h"
#include "player/PlayerSession.h"
#include "player/PlayerState.h"

class Board;
class GameContext;
class GameHub;
class MatchLink;
class Player;

class GameSession : public PlayerSession {
 public:
  // The steps both players share, started when the second of them arrives in
  // the step's state.
  enum class SharedStep {
    None,
    CastCombatQueues,  // both in ProcessCombatQueue: the two combat queues are cast
    FirePass,          // both in Fire: the fire pass and the game-over check
    NextTurn,          // both in EndTurn: the next turn begins
  };

  explicit GameSession(GameContext& context);
  ~GameSession() override;
  GameSession(const GameSession&) = delete;
  GameSession& operator=(const GameSession&) = delete;

  // ---- Life of a game -------------------------------------------------------
  // Clears any previous game, then starts one under `director` (taken over):
  // players, boards, the mode's start layout, the first hands, the first turn.
  // A null director is refused with a log line.
  bool newGame(bool online, std::unique_ptr<GameDirector> director);
  // Ends the game and frees its objects. On the joining side of a match, without
  // `force`, the players belong to replication and are only forgotten.
  void clearGame(bool force);
  // The joining side of a match starts; its players arrive by replication.
  void beginClientGame();
  // A player that arrived by replication on the joining side (a heap object,
  // as is its board). The session frees it only in clearGame(true).
  void attachPlayer(Player* player, bool local);

  // ---- Turn -------------------------------------------------------------------
  // The turn counter goes up; with authority both players are dealt and begin.
  void nextTurn();
  // Once per frame: the computer's move, unless its state must wait.
  void update();
  // Asks the mode's loss test for both players and ends or continues the game.
  void checkGameOver();
  // Casts the next queued spell, the local player's first; or reports that both
  // combat queues are empty.
  void processSpellQueues();
  // Both boards' fire pass, then the game-over check (through the hub).
  void updateBoards();

  // ---- The steps both players share -------------------------------------------
  // The step that begins now that a player has entered `newState`; None unless
  // both players stand in it.
  SharedStep sharedStepFor(PlayerState newState) const;
  // Runs the rules' side of the step (nothing where this machine lacks authority,
  // except the next turn's counter).
  void runSharedStep(SharedStep step);
  // A player's state switch, for the hub: runs the shared step it starts.
  SharedStep onPlayerStateSwitched(Player& player, PlayerState oldState, PlayerState newState);
  // A player's own spell queue has been worked through: back to the choice it came from,
  // or, in the combat queue, on with both queues.
  void onSpellQueueProcessed(Player& player);

  // Online and not hosting: the rules run on the other machine.
  bool lacksAuthority() const;

  // ---- Record -----------------------------------------------------------------
  GameContext& context() const { return *context_; }
  GameDirector* director() const { return director_.get(); }
  Player* localPlayer() const { return local_; }
  Player* enemyPlayer() const { return enemy_; }
  bool started() const { return started_; }
  bool bothPlayers() const { return local_ && enemy_; }
  // The computer's picks in its current phase.
  int& aiChoiceCount(const Player& player) { return aiChoices_[&player == local_ ? 0 : 1]; }

  // ---- PlayerSession ------------------------------------------------------------
  int turn() const override { return turn_; }
  bool online() const override { return online_; }
  bool isLocal(const Player& p) const override { return &p == local_; }
  // The enemy player when given the local one, else the local player.
  Player* otherPlayer(const Player& p) const override;
  bool tutorialRunning() const override;
  bool sandbox() const override;
  // The director's hand for the player and the current turn.
  std::vector<int> cardList(const Player& p) override;
  std::vector<int> getCardList(const Player& p) { return cardList(p); }
  GameToken gameToken() const override { return life_.token(); }

 private:
  GameHub& hub() const;
  MatchLink& match() const;
  void syncAuthority();
  void createSide(bool local);
  void freeSide(bool local);

  GameContext* context_;
  std::unique_ptr<GameDirector> director_;
  Player* local_ = nullptr;
  Player* enemy_ = nullptr;
  int turn_ = 0;
  bool started_ = false;
  bool online_ = false;
  int aiChoices_[2] = {0, 0};
  GameLife life_;
};
