// The running game: the director of its mode, the local and the enemy player
// with their boards, the turn counter, and whether it runs and is online. It
// owns the players and boards of its game, whoever made them (itself, or on the
// joining side of a match the replication, which hands them over), and frees
// them; it deals the cards of each turn, lets the computer move, and runs the
// steps both players share once both have reached them. One per game context.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "game/GameDirector.h"
#include "player/Choice.h"
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
  // Ends the game and frees its objects; in a network match every replica of
  // them lets go of its object first (on the host, telling the other machine).
  // The game owns its objects on both sides of a match (the replication hands the
  // joining side's over), so both forms free them; `force` on the joining side
  // also lets go of every copy of the host's objects the replication still holds:
  // the match is over for this side, and the host will not destroy them any more.
  void clearGame(bool force);
  // The joining side of a match starts; its players arrive by replication.
  void beginClientGame();

  // ---- The joining side: objects made from the host's constructions -------------
  // Whether such objects may join this game now: a network match runs here, on
  // the joining side.
  bool takesRemoteObjects() const;
  // Takes over a player made from the host's construction as the local or the
  // enemy player. Refused (null, with a log line; the player goes) outside the
  // joining side of a running match, or when that side has its player already.
  Player* adoptPlayer(std::unique_ptr<Player> player, bool local);
  // Takes over a board made from the host's construction for `owner`, one of this
  // game's players without a board. Refused (null, logged; the board goes) otherwise.
  Board* adoptBoard(std::unique_ptr<Board> board, Player& owner);
  // The host took the object away: the game frees it (a player with its board),
  // after the replicas of what goes have let go. False when it is not this game's.
  bool dropPlayer(const Player& player);
  bool dropBoard(const Board& board);

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

  // ---- A player's choice --------------------------------------------------------
  // The one way a choice is taken, whoever made it: checked (a refusal is logged
  // and changes nothing), told to the mode's director (the tutorial follows its
  // hooks), then made by the player. The checks: the chooser plays this game; a
  // local player ends a phase only when the mode lets it; and, but for the store's
  // try-outs, the player's state and offers fit the choice. `beforeActing` runs
  // between the director's hook and the player's operation (the screen's part of
  // a choice).
  ChoiceOutcome takeChoice(const Choice& choice, const std::function<void()>& beforeActing = {});

  // Online and not hosting: the rules run on the other machine.
  bool lacksAuthority() const;

  // ---- Record -----------------------------------------------------------------
  GameContext& context() const { return *context_; }
  GameDirector* director() const { return director_.get(); }
  Player* localPlayer() const { return local_.player.get(); }
  Player* enemyPlayer() const { return enemy_.player.get(); }
  bool started() const { return started_; }
  bool bothPlayers() const { return local_.player && enemy_.player; }
  // The computer's picks in its current phase: one count, kept from game to game
  // until the computer ends a phase.
  int& aiChoiceCount() { return aiChoiceCount_; }

  // ---- PlayerSession ------------------------------------------------------------
  int turn() const override { return turn_; }
  bool online() const override { return online_; }
  bool isLocal(const Player& p) const override { return &p == localPlayer(); }
  // The enemy player when given the local one, else the local player.
  Player* otherPlayer(const Player& p) const override;
  bool tutorialRunning() const override;
  bool sandbox() const override;
  // The director's hand for the player and the current turn.
  std::vector<int> cardList(const Player& p) override;
  std::vector<int> getCardList(const Player& p) { return cardList(p); }
  GameToken gameToken() const override { return life_.token(); }

 private:
  // One side of the game: its player and the player's board, both owned here.
  struct Side {
    std::unique_ptr<Player> player;
    std::unique_ptr<Board> board;
  };

  GameHub& hub() const;
  MatchLink& match() const;
  void syncAuthority();
  void createSide(Side& side);
  // Frees the side's board (its replicas let go first); `withPlayer`: the player too.
  void freeSide(Side& side, bool withPlayer);
  // The side of the player or board, or null when it is not this game's.
  Side* sideOf(const Player& player);
  Side* sideOf(const Board& board);

  GameContext* context_;
  std::unique_ptr<GameDirector> director_;
  Side local_;
  Side enemy_;
  int turn_ = 0;
  bool started_ = false;
  bool online_ = false;
  int aiChoiceCount_ = 0;
  GameLife life_;
};
