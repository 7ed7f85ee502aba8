// The joining side of a match makes its player's choices itself and sends each to
// the host at once; the host's replication then brings what only the host computes.
// Most choices act at once. A few depend on an earlier choice's results that only
// the host's answer brings, and wait here, in the order they were made:
// - every choice, while one of the player's spells is being shown (the rules take
//   no choice meanwhile), and until the host's answer shows that spell cast (its
//   effects are the host's: offers made on the board without them would differ);
// - every choice, while the host decides whether the build or repair phase just
//   entered ends by itself (its automatic step is the host's);
// - a spell choice, until the host's word shows the counters of the last payment
//   or income (what the player can afford is the host's count).
// The hub takes each held choice in its turn, as if made then.
#pragma once

#include <cstddef>
#include <deque>
#include <tuple>
#include <vector>

#include "player/AnimateSpellEvent.h"
#include "player/Choice.h"
#include "player/GameLife.h"
#include "player/PlayerState.h"

class BoardElem;
class Player;

class HeldChoices {
 public:
  struct Held {
    Choice choice;
    PlayerState madeIn = PlayerState::Invalid;  // the chooser's state when it was made
    GameToken game;                             // the game it was made in
  };

  // ---- What the host has not answered yet -------------------------------------
  // A choice made here has acted: a change of the counters is awaited in the host's
  // word (`manaBefore`, `dwarvesBefore`: the counters before it acted).
  void noteActed(const Player& local, int manaBefore, int dwarvesBefore, const GameToken& game);
  // One of the local player's spells is cast here for the show; its results are awaited
  // from the host: in its word's counters, or for a spell that costs nothing, on its
  // targets (the only such card digs its target).
  void noteCast(const AnimateSpellEvent& cast, const GameToken& game);
  // Takes in what the host's word and boards show now. True when a cast's results have
  // just come (the offers are to be computed anew on them).
  bool takeAnswers(const Player& local);
  // Why a choice of `kind` made now would wait, leaving the held ones aside; null
  // when it may act.
  const char* waitReason(Choice::Kind kind, const Player& local) const;

  // ---- The held choices, oldest first -----------------------------------------
  bool empty() const { return held_.empty(); }
  std::size_t size() const { return held_.size(); }
  const Held& front() const { return held_.front(); }
  void push(const Choice& choice, PlayerState madeIn, const GameToken& game);
  Held pop();
  // The host's automatic step ended the phase of `from`: ends of phase made in that
  // phase have happened and are taken out. How many were.
  int dropPhaseEnds(PlayerState from);
  // Forgets the held choices and what was awaited (the game ended or is gone). How
  // many choices were held.
  std::size_t clear();

 private:
  // What replication shows of an element, but its stored cards and whether it was
  // revealed (both change for other reasons while a spell is chosen).
  using Look = std::tuple<int, int, int, float, bool, bool, bool, bool, bool, bool, bool>;
  static Look lookOf(const BoardElem& elem);
  // A target by its place: the element itself may go with its board.
  struct Target {
    bool onCastersBoard;  // else on its opponent's
    int x, y;
    Look look;
  };
  static const BoardElem* find(const Player& local, const Target& t);
  bool countersAnswered(const Player& local) const;
  bool castAnswered(const Player& local) const;
  // The host decides whether the build or repair phase the player is in ends by itself.
  static bool stepUndecided(const Player& local);

  std::deque<Held> held_;
  // A change of the counters awaited: the host's word when it was made.
  bool counters_ = false;
  int wordMana_ = 0;
  int wordDwarves_ = 0;
  GameToken countersGame_;
  // A cast whose results are awaited; for one that costs nothing, its targets as cast.
  bool cast_ = false;
  GameToken castGame_;
  std::vector<Target> targets_;
};
