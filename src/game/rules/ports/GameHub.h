// What the running game and the computer player ask of the event hub, beyond
// the players' own reports (PlayerEvents). The hub implements it; a game nobody
// watches uses the null hub, tests the recording one.
#pragma once

#include <string>
#include <utility>
#include <vector>

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

  // ---- The computer player's entries ---------------------------------------
  // Each runs the director's hook and then the player's operation, as for a
  // remote choice. True when the player took the choice.
  virtual bool aiSelectCard(Player&, int /*cardId*/) { return false; }
  virtual bool aiSelectSpell(Player&, int /*cardId*/, int /*power*/) { return false; }
  virtual bool aiSelectTarget(Player&, BoardElem*) { return false; }
  virtual bool aiFinishCards(Player&) { return false; }
  virtual void aiFinishSpells(Player&) {}
  // Steps back out of a placement or target choice that offers nothing.
  virtual void aiCancel(Player&) {}
};

// The hub of a game nobody watches: hears everything, does nothing.
class NullGameHub : public GameHub {};

// Keeps every call, in order; the computer's choices are refused unless
// `acceptChoices` is set.
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
  bool aiSelectCard(Player& p, int cardId) override;
  bool aiSelectSpell(Player& p, int cardId, int power) override;
  bool aiSelectTarget(Player& p, BoardElem* e) override;
  bool aiFinishCards(Player& p) override;
  void aiFinishSpells(Player& p) override;
  void aiCancel(Player& p) override;

  const std::vector<Call>& calls() const { return calls_; }
  std::vector<Call> callsOf(const std::string& what) const;
  std::size_t count(const std::string& what) const { return callsOf(what).size(); }
  void clear() { calls_.clear(); }

 private:
  void add(Call call) { calls_.push_back(std::move(call)); }
  std::vector<Call> calls_;
};
