// What the rules and the game flow ask of the in-game screen. The screen
// controller implements it; headless games use the null or the recording screen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "player/AnimateSpellEvent.h"
#include "player/GameLife.h"


class BoardElem;
class Player;

// Called by the screen when a spell effect has played. It acts once, and only
// while the game it belongs to is alive; a call after that is dropped.
class SpellCompletion {
 public:
  SpellCompletion() = default;
  SpellCompletion(GameToken token, std::function<void()> fn)
      : token_(std::move(token)), fn_(std::make_shared<std::function<void()>>(std::move(fn))) {}

  bool alive() const { return fn_ && *fn_ && token_.alive(); }
  // Runs the call-back; returns false when it was dropped. Copies share the
  // one call-back, so it runs once whichever copy is called.
  bool operator()() const;

 private:
  GameToken token_;
  std::shared_ptr<std::function<void()>> fn_;
};

// Colour of a line of the game log.
struct LogColour {
  uint8_t r = 0, g = 0, b = 0;
};

// What the game flow shows on the in-game screen. Only the spell effect must be
// implemented; every other call has an empty default so a screen overrides
// what it shows.
class GameScreen {
 public:
  using StoredCard = std::pair<int32_t, int32_t>;  // (card id, power), as stored in a room

  virtual ~GameScreen() = default;
  // Plays the effect of the record; `done` is called once, when it has played.
  virtual void showSpellEffect(const AnimateSpellEvent& record, Player& caller,
                               SpellCompletion done) = 0;

  // ---- Game and modes ------------------------------------------------------
  // A game begins: log line, the board, the chat bar when online, music.
  virtual void startGame() {}
  // Back to choosing cards and spells on the board.
  virtual void showGameBoard() {}
  // The combat queues are being shown.
  virtual void startAnimation() {}
  // The local player picks one of `candidates` (texts: the card's name and description).
  virtual void chooseTarget(const std::vector<BoardElem*>& /*candidates*/,
                            const std::string& /*text*/, const std::string& /*subtext*/) {}
  virtual void showGameEnded(const std::string& /*text*/) {}
  // A new turn begins; `turn` is the running game's counter (0 for the first).
  virtual void announceTurn(int /*turn*/) {}
  virtual void refreshGui() {}
  // The store replaces the selection bar (sandbox).
  virtual void setStoreShown(bool /*shown*/) {}
  // The name over the enemy tower.
  virtual void setOpponentName(const std::string& /*name*/) {}

  // ---- Messages ------------------------------------------------------------
  virtual void showMessage(const std::string& /*text*/, const std::string& /*subtext*/) {}
  // A message the player cannot dismiss (waiting for the other side).
  virtual void showModalMessage(const std::string& /*text*/) {}
  virtual void showFullscreenMessage(const std::string& /*text*/) {}
  virtual void showTutorialMessage(const std::string& /*text*/, bool /*show*/) {}
  virtual void closeMessage() {}

  // ---- Counters, choices and the log ---------------------------------------
  // The local player's counters.
  virtual void updateCounters(int /*mana*/, int /*dwarves*/) {}
  // The local player's hand, offered in the card bar.
  virtual void setCardList(const std::vector<int>& /*cards*/) {}
  // The stored cards the local player may cast now, offered in the spell bar.
  virtual void setSpellList(const std::vector<StoredCard>& /*spells*/) {}
  virtual void addLogLine(const std::string& /*name*/, const std::string& /*text*/,
                          LogColour /*colour*/) {}

  // ---- Board events --------------------------------------------------------
  virtual void updateEnemyTowerLabel() {}
  virtual void showExplosion(BoardElem&) {}
  // The element's block falls away (told before the rules remove it).
  virtual void collapseElement(BoardElem&) {}
  virtual void doorDestroyed(BoardElem&, bool /*ofLocalPlayer*/) {}

  // ---- Sounds: each plays only for the local player's side -----------------
  // Burning blocks per hundred of the side's blocks.
  virtual void updateFireSound(bool /*ofLocalPlayer*/, int /*fireLevel*/) {}
  virtual void playPutSpellSound(bool /*ofLocalPlayer*/) {}
  virtual void playBuildRoomSound(bool /*ofLocalPlayer*/) {}
  virtual void playBuildBlockSound(bool /*ofLocalPlayer*/) {}
  virtual void playLevitronousSound(bool /*ofLocalPlayer*/) {}
  virtual void playArmorSound(bool /*ofLocalPlayer*/) {}
  virtual void playDoorsSound(bool /*ofLocalPlayer*/) {}
  virtual void playFenceSound(bool /*ofLocalPlayer*/) {}
  virtual void playRubbleSound(BoardElem&) {}
};

// Shows nothing; every effect is over at once.
class NullGameScreen : public GameScreen {
 public:
  void showSpellEffect(const AnimateSpellEvent&, Player&, SpellCompletion done) override {
    done();
  }
};

// Remembers every effect and every other call, in order. Completions run on
// the next tick(), or at once when runAtOnce is set; both give the same game.
class RecordingGameScreen : public GameScreen {
 public:
  struct Shown {
    AnimateSpellEvent record;
    Player* caller = nullptr;
  };
  // One call other than an effect.
  struct Call {
    std::string what;  // the operation's name, e.g. "showModalMessage"
    std::string text;
    std::string subtext;
    std::vector<int> values;  // numbers, flags, card ids (spell bar: id and power in turn)
    const BoardElem* elem = nullptr;
    std::vector<BoardElem*> elems;
  };

  explicit RecordingGameScreen(bool runAtOnce = false) : runAtOnce_(runAtOnce) {}

  void showSpellEffect(const AnimateSpellEvent& record, Player& caller,
                       SpellCompletion done) override;

  void startGame() override { add("startGame"); }
  void showGameBoard() override { add("showGameBoard"); }
  void startAnimation() override { add("startAnimation"); }
  void chooseTarget(const std::vector<BoardElem*>& candidates, const std::string& text,
                    const std::string& subtext) override;
  void showGameEnded(const std::string& text) override { add("showGameEnded", text); }
  void announceTurn(int turn) override { add("announceTurn", {}, {}, {turn}); }
  void refreshGui() override { add("refreshGui"); }
  void setStoreShown(bool shown) override { add("setStoreShown", {}, {}, {shown}); }
  void setOpponentName(const std::string& name) override { add("setOpponentName", name); }
  void showMessage(const std::string& text, const std::string& subtext) override {
    add("showMessage", text, subtext);
  }
  void showModalMessage(const std::string& text) override { add("showModalMessage", text); }
  void showFullscreenMessage(const std::string& text) override {
    add("showFullscreenMessage", text);
  }
  void showTutorialMessage(const std::string& text, bool show) override {
    add("showTutorialMessage", text, {}, {show});
  }
  void closeMessage() override { add("closeMessage"); }
  void updateCounters(int mana, int dwarves) override {
    add("updateCounters", {}, {}, {mana, dwarves});
  }
  void setCardList(const std::vector<int>& cards) override { add("setCardList", {}, {}, cards); }
  void setSpellList(const std::vector<StoredCard>& spells) override;
  void addLogLine(const std::string& name, const std::string& text, LogColour colour) override {
    add("addLogLine", name, text, {colour.r, colour.g, colour.b});
  }
  void updateEnemyTowerLabel() override { add("updateEnemyTowerLabel"); }
  void showExplosion(BoardElem& e) override { add("showExplosion", {}, {}, {}, &e); }
  void collapseElement(BoardElem& e) override { add("collapseElement", {}, {}, {}, &e); }
  void doorDestroyed(BoardElem& e, bool local) override {
    add("doorDestroyed", {}, {}, {local}, &e);
  }
  void updateFireSound(bool local, int level) override {
    add("updateFireSound", {}, {}, {local, level});
  }
  void playPutSpellSound(bool local) override { add("playPutSpellSound", {}, {}, {local}); }
  void playBuildRoomSound(bool local) override { add("playBuildRoomSound", {}, {}, {local}); }
  void playBuildBlockSound(bool local) override { add("playBuildBlockSound", {}, {}, {local}); }
  void playLevitronousSound(bool local) override { add("playLevitronousSound", {}, {}, {local}); }
  void playArmorSound(bool local) override { add("playArmorSound", {}, {}, {local}); }
  void playDoorsSound(bool local) override { add("playDoorsSound", {}, {}, {local}); }
  void playFenceSound(bool local) override { add("playFenceSound", {}, {}, {local}); }
  void playRubbleSound(BoardElem& e) override { add("playRubbleSound", {}, {}, {}, &e); }

  // Runs the completions pending before this call; those they queue wait for
  // the next tick. Returns how many ran.
  std::size_t tick();
  // Ticks until nothing is pending, at most `maxTicks` times.
  std::size_t runAll(std::size_t maxTicks = 10000);

  std::size_t pending() const { return pending_.size(); }
  const std::vector<Shown>& shown() const { return shown_; }
  const std::vector<Call>& calls() const { return calls_; }
  // The calls named `what`, in order.
  std::vector<Call> callsOf(const std::string& what) const;
  std::size_t count(const std::string& what) const;
  // The names of the calls, in order (for table-driven tests).
  std::vector<std::string> callNames() const;
  // Forgets the effects and calls seen so far (pending completions stay).
  void clear() {
    shown_.clear();
    calls_.clear();
  }

 private:
  void add(const char* what, std::string text = {}, std::string subtext = {},
           std::vector<int> values = {}, const BoardElem* elem = nullptr);

  bool runAtOnce_;
  std::vector<Shown> shown_;
  std::vector<SpellCompletion> pending_;
  std::vector<Call> calls_;
};
