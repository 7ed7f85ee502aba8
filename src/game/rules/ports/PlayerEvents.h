// What a player and its actions report to the event hub. The hub implements it;
// headless games use the null or the recording implementation.
#pragma once

#include <string>
#include <vector>

#include "player/PlayerState.h"


class Player;
class BoardElem;
struct AnimateSpellEvent;

class PlayerEvents {
 public:
  virtual ~PlayerEvents() = default;

  // Turn flow.
  virtual void switchPlayerState(Player&, PlayerState /*oldState*/, PlayerState /*newState*/) {}
  virtual void reportOutOfSync(Player& player);  // logs "<name> out of sync"
  virtual void onPlayerCountersChanged(Player&) {}
  virtual void onCardListDealt(Player&) {}
  virtual void showPlayerMessage(Player&, const std::string& /*text*/) {}

  // Spell queue.
  virtual void forwardSpellAnimation(Player&, const AnimateSpellEvent&) {}
  virtual void playerSpellQueueProcessedAnim(Player&) {}

  // Building (sounds). A changed board goes to the BoardObserver.
  virtual void onBlockBuilt(BoardElem&) {}
  virtual void onFenceBuilt(BoardElem&) {}
  virtual void onDoorsBuilt(BoardElem&) {}
  virtual void onHardened(BoardElem&) {}
  virtual void onLevitronPlaced(BoardElem&) {}
  virtual void onRoomBuilt(BoardElem&) {}
  virtual void onSpellPut(BoardElem&) {}
};

// The hub of a game nobody watches.
class NullPlayerEvents : public PlayerEvents {};

// Keeps every report, in order, for tests and the simulator.
class RecordingPlayerEvents : public PlayerEvents {
 public:
  struct Call {
    std::string what;                // the operation's name, e.g. "switchPlayerState"
    Player* player = nullptr;        // the player, when the call names one
    const BoardElem* elem = nullptr;  // the element, when the call names one
    int from = -1;                   // old state of a switch; card of a spell record
    int to = -1;                     // new state of a switch
    std::string text;                // message text
  };

  void switchPlayerState(Player& p, PlayerState oldState, PlayerState newState) override;
  void reportOutOfSync(Player& p) override;
  void onPlayerCountersChanged(Player& p) override;
  void onCardListDealt(Player& p) override;
  void showPlayerMessage(Player& p, const std::string& text) override;
  void forwardSpellAnimation(Player& p, const AnimateSpellEvent& record) override;
  void playerSpellQueueProcessedAnim(Player& p) override;
  void onBlockBuilt(BoardElem& e) override { elemCall("onBlockBuilt", e); }
  void onFenceBuilt(BoardElem& e) override { elemCall("onFenceBuilt", e); }
  void onDoorsBuilt(BoardElem& e) override { elemCall("onDoorsBuilt", e); }
  void onHardened(BoardElem& e) override { elemCall("onHardened", e); }
  void onLevitronPlaced(BoardElem& e) override { elemCall("onLevitronPlaced", e); }
  void onRoomBuilt(BoardElem& e) override { elemCall("onRoomBuilt", e); }
  void onSpellPut(BoardElem& e) override { elemCall("onSpellPut", e); }

  const std::vector<Call>& calls() const { return calls_; }
  // The calls named `what`, in order.
  std::vector<Call> callsOf(const std::string& what) const;
  std::size_t count(const std::string& what) const { return callsOf(what).size(); }
  void clear() { calls_.clear(); }

 private:
  void elemCall(const char* what, BoardElem& e);
  void add(const char* what, Player* p, const BoardElem* e = nullptr, int from = -1, int to = -1,
           std::string text = {});
  std::vector<Call> calls_;
};

