// What the game flow asks of the in-game screen: game start and end, messages,
// counters, card and spell bars, target choices, the game log, board events and
// sounds, on top of the spell effects the rules ask for (SpellEffects). The game
// screen's controller implements it; headless games use the null or the
// recording screen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ports/MatchLink.h"
#include "ports/SpellEffects.h"

class BoardElem;
class Player;

// Colour of a line of the game log.
struct LogColour {
  uint8_t r = 0, g = 0, b = 0;
};
// The colour of the log's plain text: game news and chat lines.
constexpr LogColour kLogTextColour{103, 91, 80};

// What the game flow shows on the in-game screen. Only the spell effect
// (SpellEffects::showSpellEffect) must be implemented; every other call has an
// empty default so a screen overrides what it shows.
class GameScreen : public SpellEffects {
 public:
  using StoredCard = std::pair<int32_t, int32_t>;  // (card id, power), as stored in a room

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
  // The game is over: `text` tells the player how, `result` is that end as this
  // side sees it (Won, Lost or Draw).
  virtual void showGameEnded(const std::string& /*text*/, GameResult /*result*/) {}
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

// Remembers every effect (as RecordingSpellEffects does) and every other call,
// in order.
class RecordingGameScreen : public GameScreen {
 public:
  using Shown = RecordingSpellEffects::Shown;
  // One call other than an effect.
  struct Call {
    std::string what;  // the operation's name, e.g. "showModalMessage"
    std::string text;
    std::string subtext;
    std::vector<int> values;  // numbers, flags, card ids (spell bar: id and power in turn)
    const BoardElem* elem = nullptr;
    std::vector<BoardElem*> elems;
  };

  explicit RecordingGameScreen(bool runAtOnce = false) : effects_(runAtOnce) {}

  void showSpellEffect(const AnimateSpellEvent& record, Player& caller,
                       SpellCompletion done) override {
    effects_.showSpellEffect(record, caller, std::move(done));
  }

  void startGame() override { add("startGame"); }
  void showGameBoard() override { add("showGameBoard"); }
  void startAnimation() override { add("startAnimation"); }
  void chooseTarget(const std::vector<BoardElem*>& candidates, const std::string& text,
                    const std::string& subtext) override;
  void showGameEnded(const std::string& text, GameResult result) override {
    add("showGameEnded", text, {}, {static_cast<int>(result)});
  }
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

  // The effects' completions: see RecordingSpellEffects.
  std::size_t tick() { return effects_.tick(); }
  std::size_t runAll(std::size_t maxTicks = 10000) { return effects_.runAll(maxTicks); }
  std::size_t pending() const { return effects_.pending(); }
  const std::vector<Shown>& shown() const { return effects_.shown(); }
  const std::vector<Call>& calls() const { return calls_; }
  // The calls named `what`, in order.
  std::vector<Call> callsOf(const std::string& what) const;
  std::size_t count(const std::string& what) const;
  // The names of the calls, in order (for table-driven tests).
  std::vector<std::string> callNames() const;
  // Forgets the effects and calls seen so far (pending completions stay).
  void clear() {
    effects_.clear();
    calls_.clear();
  }

 private:
  void add(const char* what, std::string text = {}, std::string subtext = {},
           std::vector<int> values = {}, const BoardElem* elem = nullptr);

  RecordingSpellEffects effects_;
  std::vector<Call> calls_;
};
