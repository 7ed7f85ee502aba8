// What the running game and the computer player ask of the event hub, beyond
// the players' own reports (PlayerEvents). The hub implements it; a game nobody
// watches uses the null hub, tests the recording one.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "player/Choice.h"

class Player;
class BoardElem;

class GameHub {
 public:
  virtual ~GameHub() = default;

  // ---- Reports of the running game ----------------------------------------
  // The mode's intro text, shown full-screen when a game starts.
  virtual void showIntroMessage(const std::string& /*text*/) {}
  // Both combat queues are worked off.
  virtual void spellQueuesProcessed() {}
  // Both boards had their fire pass; the hub checks whether the game is over.
  virtual void onBoardsUpdated() {}
  // Nobody lost: both players move on.
  virtual void resumeBothPlayers() {}
  virtual void onGameWon() {}
  virtual void onGameLost() {}
  virtual void onGameDraw() {}

  // ---- A player's choice --------------------------------------------------
  // The one entry for every choice, whoever made it: the hub has the running
  // game check it against the rules and take it (GameSession::takeChoice).
  virtual ChoiceOutcome submitChoice(const Choice&) { return ChoiceOutcome::Refused; }

  // ---- The computer player's entries: doors onto submitChoice ---------------
  // True when the player took the choice.
  bool aiSelectCard(Player& player, int cardId) {
    return computer(Choice::pickCard(&player, Choice::From::Computer, cardId));
  }
  bool aiSelectSpell(Player& player, int cardId, int power) {
    return computer(Choice::pickSpell(&player, Choice::From::Computer, cardId, power));
  }
  bool aiSelectTarget(Player& player, BoardElem* elem) {
    return computer(Choice::pickElement(&player, Choice::From::Computer, elem));
  }
  bool aiFinishCards(Player& player) {
    return computer(Choice::of(Choice::Kind::FinishCards, &player, Choice::From::Computer));
  }
  void aiFinishSpells(Player& player) {
    computer(Choice::of(Choice::Kind::FinishSpells, &player, Choice::From::Computer));
  }
  // Steps back out of a placement or target choice that offers nothing.
  void aiCancel(Player& player) {
    computer(Choice::of(Choice::Kind::Cancel, &player, Choice::From::Computer));
  }

 private:
  bool computer(const Choice& choice) { return submitChoice(choice) == ChoiceOutcome::Taken; }
};

// The hub of a game nobody watches: hears everything, does nothing.
class NullGameHub : public GameHub {};

// Keeps every call, in order; choices are declined unless `acceptChoices` is set.
class RecordingGameHub : public GameHub {
 public:
  struct Call {
    explicit Call(std::string w, Player* p = nullptr) : what(std::move(w)), player(p) {}
    std::string what;
    Player* player = nullptr;
    const BoardElem* elem = nullptr;
    int card = -1;
    int power = -1;
    std::string text;
  };

  bool acceptChoices = false;

  void showIntroMessage(const std::string& text) override;
  void spellQueuesProcessed() override { add(Call("spellQueuesProcessed")); }
  void onBoardsUpdated() override { add(Call("onBoardsUpdated")); }
  void resumeBothPlayers() override { add(Call("resumeBothPlayers")); }
  void onGameWon() override { add(Call("onGameWon")); }
  void onGameLost() override { add(Call("onGameLost")); }
  void onGameDraw() override { add(Call("onGameDraw")); }
  // Recorded under the choice's name ("card choice" ...).
  ChoiceOutcome submitChoice(const Choice& choice) override;

  const std::vector<Call>& calls() const { return calls_; }
  std::vector<Call> callsOf(const std::string& what) const;
  std::size_t count(const std::string& what) const { return callsOf(what).size(); }
  void clear() { calls_.clear(); }

 private:
  void add(Call call) { calls_.push_back(std::move(call)); }
  std::vector<Call> calls_;
};
