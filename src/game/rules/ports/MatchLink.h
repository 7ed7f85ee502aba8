// What the running game and the event hub ask of the network about a match:
// whether this machine hosts it, registration and destruction of replicated
// objects, the frame's message pump and the match messages. The lobby's messages
// are the hub's LobbyLink. The network object implements both; offline games use
// the null link.
#pragma once

#include <string>
#include <vector>

class Player;
class Board;
class BoardElem;
struct AnimateSpellEvent;

// How a match ended as the side that receives the result sees it. The values are the
// codes of the game-result message: the host of the match sends the first three, the
// lobby server the others.
enum class GameResult : int {
  Lost = 0,
  Won = 1,
  Draw = 2,
  OpponentDisconnectedHost = 3,
  OpponentDisconnectedJoin = 4,
  OpponentForfeitHost = 5,
  OpponentForfeitJoin = 6,
};

class MatchLink {
 public:
  virtual ~MatchLink() = default;
  virtual bool isServer() const { return false; }
  virtual void referenceReplica(Player&) {}
  virtual void referenceReplica(Board&) {}
  virtual void referenceReplica(BoardElem&) {}
  // Tells the other machine the object is going away (before it is deleted).
  virtual void destroyReplica(Player&) {}
  virtual void destroyReplica(Board&) {}
  virtual void destroyReplica(BoardElem&) {}
  virtual void sendTurnBegin() {}
  // The player's spell choices are about to be computed from its board (a new
  // phase of them begins, or the host has answered its last choice): a joining
  // side gives that board the stored cards the host sent meanwhile.
  virtual void takeHeldBackCards(Player&) {}

  // ---- Frame -----------------------------------------------------------------
  // Takes every message received since the last frame and hands it on.
  virtual void update() {}
  // Sends the replicated objects' changes now, not at the next frame.
  virtual void updateReplicas() {}

  // ---- The joining side's choices ---------------------------------------------
  virtual void sendSelectedCard(int /*cardId*/) {}
  virtual void sendSelectedSpell(int /*cardId*/, int /*power*/) {}
  virtual void sendSelectedBoardElem(BoardElem*) {}
  virtual void sendFinishedSelectingCards() {}
  virtual void sendFinishedSelectingSpells() {}
  virtual void sendCancel() {}

  // ---- The host's results -----------------------------------------------------
  virtual void sendAnimateSpell(const AnimateSpellEvent&) {}
  virtual void sendCardList(const std::vector<int>& /*cards*/) {}
  virtual void sendBlockExploded(BoardElem*) {}
  virtual void sendBlockCollapsed(BoardElem*) {}
  virtual void sendDoorDestroyed(BoardElem*) {}
  // A GameResult's value: Lost, Won or Draw, as the receiver sees the game.
  virtual void sendGameResult(int /*code*/) {}

  // ---- Either side ------------------------------------------------------------
  // Both combat queues are worked off on this machine.
  virtual void sendFinishedAnimating() {}
  virtual void sendChat(const std::string& /*text*/) {}
  // The joining side lets go of every object it holds of the host's game (the
  // host will not destroy them any more: the match is over for this side).
  virtual void dropRemoteObjects() {}
};

class NullMatchLink : public MatchLink {};

// Counts what was registered and destroyed and keeps every message sent, in
// order; hosting is settable.
class RecordingMatchLink : public MatchLink {
 public:
  struct Sent {
    std::string what;         // the send's name, e.g. "sendSelectedCard"
    std::vector<int> values;  // its numbers (card id, power, code, card list)
    const BoardElem* elem = nullptr;
    std::string text;  // a chat line
  };

  bool hosting = false;
  int referencedPlayers = 0, referencedBoards = 0, referencedElems = 0;
  int destroyedPlayers = 0, destroyedBoards = 0, destroyedElems = 0;
  int turnBegins = 0;
  int updates = 0;

  bool isServer() const override { return hosting; }
  void referenceReplica(Player&) override { ++referencedPlayers; }
  void referenceReplica(Board&) override { ++referencedBoards; }
  void referenceReplica(BoardElem&) override { ++referencedElems; }
  void destroyReplica(Player&) override { ++destroyedPlayers; }
  void destroyReplica(Board&) override { ++destroyedBoards; }
  void destroyReplica(BoardElem&) override { ++destroyedElems; }
  void sendTurnBegin() override {
    ++turnBegins;
    add("sendTurnBegin");
  }
  void update() override { ++updates; }
  void updateReplicas() override { add("updateReplicas"); }
  void sendSelectedCard(int cardId) override { add("sendSelectedCard", {cardId}); }
  void sendSelectedSpell(int cardId, int power) override {
    add("sendSelectedSpell", {cardId, power});
  }
  void sendSelectedBoardElem(BoardElem* e) override { add("sendSelectedBoardElem", {}, e); }
  void sendFinishedSelectingCards() override { add("sendFinishedSelectingCards"); }
  void sendFinishedSelectingSpells() override { add("sendFinishedSelectingSpells"); }
  void sendCancel() override { add("sendCancel"); }
  void sendAnimateSpell(const AnimateSpellEvent& record) override;
  void sendCardList(const std::vector<int>& cards) override { add("sendCardList", cards); }
  void sendBlockExploded(BoardElem* e) override { add("sendBlockExploded", {}, e); }
  void sendBlockCollapsed(BoardElem* e) override { add("sendBlockCollapsed", {}, e); }
  void sendDoorDestroyed(BoardElem* e) override { add("sendDoorDestroyed", {}, e); }
  void sendGameResult(int code) override { add("sendGameResult", {code}); }
  void sendFinishedAnimating() override { add("sendFinishedAnimating"); }
  void sendChat(const std::string& text) override { add("sendChat", {}, nullptr, text); }
  void dropRemoteObjects() override { add("dropRemoteObjects"); }

  const std::vector<Sent>& sent() const { return sent_; }
  // The names of the messages sent, in order.
  std::vector<std::string> sentNames() const;
  std::size_t count(const std::string& what) const;
  void clearSent() { sent_.clear(); }

 private:
  void add(const char* what, std::vector<int> values = {}, const BoardElem* elem = nullptr,
           std::string text = {}) {
    sent_.push_back({what, std::move(values), elem, std::move(text)});
  }
  std::vector<Sent> sent_;
};
