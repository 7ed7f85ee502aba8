// What the running game and the event hub ask of the network: whether this
// machine hosts the match, registration and destruction of replicated objects,
// the frame's message pump, the match messages and the lobby's. The network object
// implements it; offline games use the null link.
#pragma once

#include <string>
#include <vector>

class Player;
class Board;
class BoardElem;
struct AnimateSpellEvent;

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
  // 0: the receiver lost, 1: it won, 2: a draw.
  virtual void sendGameResult(int /*code*/) {}
  virtual void sendRematch() {}

  // ---- Either side ------------------------------------------------------------
  // Both combat queues are worked off on this machine.
  virtual void sendFinishedAnimating() {}
  virtual void sendChat(const std::string& /*text*/) {}
  // The joining side lets go of every object it holds of the host's game (the
  // host will not destroy them any more: the match is over for this side).
  virtual void dropRemoteObjects() {}

  // ---- The lobby ----------------------------------------------------------------
  virtual void connectToLobby() {}
  virtual void disconnectFromLobby() {}
  // Whether the lobby list's entry is this machine's own player.
  virtual bool isLocalPlayer(int /*index*/) const { return false; }
  virtual void sendLoginEmail(const std::string& /*email*/) {}
  virtual void sendLoginCode(const std::string& /*code*/) {}
  virtual void sendLogin(const std::string& /*email*/, const std::string& /*code*/) {}
  virtual void sendPlayerName(const std::string& /*name*/) {}
  virtual void sendQuickmatch() {}
  virtual void sendCancelMatchmaking() {}
  virtual void sendInviteFriend(const std::string& /*email*/) {}
  // `index` into the lobby list.
  virtual void sendChallenge(int /*index*/) {}
  // 1 accept, 0 refuse.
  virtual void sendChallengeAnswer(int /*answer*/) {}
  virtual void sendLeaveGame() {}
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
    std::string text;  // texts (e-mail/code joined by '/')
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
  void sendRematch() override { add("sendRematch"); }
  void sendFinishedAnimating() override { add("sendFinishedAnimating"); }
  void sendChat(const std::string& text) override { add("sendChat", {}, nullptr, text); }
  void dropRemoteObjects() override { add("dropRemoteObjects"); }

  // Which lobby entry counts as this machine's own (-1: none).
  int localIndex = -1;
  void connectToLobby() override { add("connectToLobby"); }
  void disconnectFromLobby() override { add("disconnectFromLobby"); }
  bool isLocalPlayer(int index) const override { return index >= 0 && index == localIndex; }
  void sendLoginEmail(const std::string& email) override { add("sendLoginEmail", {}, nullptr, email); }
  void sendLoginCode(const std::string& code) override { add("sendLoginCode", {}, nullptr, code); }
  void sendLogin(const std::string& email, const std::string& code) override {
    add("sendLogin", {}, nullptr, email + "/" + code);
  }
  void sendPlayerName(const std::string& name) override { add("sendPlayerName", {}, nullptr, name); }
  void sendQuickmatch() override { add("sendQuickmatch"); }
  void sendCancelMatchmaking() override { add("sendCancelMatchmaking"); }
  void sendInviteFriend(const std::string& email) override { add("sendInviteFriend", {}, nullptr, email); }
  void sendChallenge(int index) override { add("sendChallenge", {index}); }
  void sendChallengeAnswer(int answer) override { add("sendChallengeAnswer", {answer}); }
  void sendLeaveGame() override { add("sendLeaveGame"); }

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
