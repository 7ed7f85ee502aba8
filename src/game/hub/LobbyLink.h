// What the lobby flow asks of the network: the connection to the lobby server and
// the lobby's messages (login, name, challenges, quick match, invitations, leaving
// a game and asking for the next). The match's own messages are the rules'
// MatchLink. The network object implements both; headless runs use the null link,
// tests the recording one.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class LobbyLink {
 public:
  virtual ~LobbyLink() = default;
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
  // The player quits a running game to the menu.
  virtual void sendLeaveGame() {}
  // The host of a match asks for the next game once its player has seen the end.
  virtual void sendRematch() {}
};

class NullLobbyLink : public LobbyLink {};

// Keeps every message sent, in order; which lobby entry is this machine's own is settable.
class RecordingLobbyLink : public LobbyLink {
 public:
  struct Sent {
    std::string what;         // the send's name, e.g. "sendLoginEmail"
    std::vector<int> values;  // its numbers (index, answer)
    std::string text;         // its texts (e-mail/code joined by '/')
  };

  // Which lobby entry counts as this machine's own (-1: none).
  int localIndex = -1;

  void connectToLobby() override { add("connectToLobby"); }
  void disconnectFromLobby() override { add("disconnectFromLobby"); }
  bool isLocalPlayer(int index) const override { return index >= 0 && index == localIndex; }
  void sendLoginEmail(const std::string& email) override { add("sendLoginEmail", {}, email); }
  void sendLoginCode(const std::string& code) override { add("sendLoginCode", {}, code); }
  void sendLogin(const std::string& email, const std::string& code) override {
    add("sendLogin", {}, email + "/" + code);
  }
  void sendPlayerName(const std::string& name) override { add("sendPlayerName", {}, name); }
  void sendQuickmatch() override { add("sendQuickmatch"); }
  void sendCancelMatchmaking() override { add("sendCancelMatchmaking"); }
  void sendInviteFriend(const std::string& email) override { add("sendInviteFriend", {}, email); }
  void sendChallenge(int index) override { add("sendChallenge", {index}); }
  void sendChallengeAnswer(int answer) override { add("sendChallengeAnswer", {answer}); }
  void sendLeaveGame() override { add("sendLeaveGame"); }
  void sendRematch() override { add("sendRematch"); }

  const std::vector<Sent>& sent() const { return sent_; }
  // The names of the messages sent, in order.
  std::vector<std::string> sentNames() const {
    std::vector<std::string> out;
    for (const Sent& s : sent_) out.push_back(s.what);
    return out;
  }
  std::size_t count(const std::string& what) const {
    std::size_t n = 0;
    for (const Sent& s : sent_) n += s.what == what;
    return n;
  }
  void clearSent() { sent_.clear(); }

 private:
  void add(const char* what, std::vector<int> values = {}, std::string text = {}) {
    sent_.push_back({what, std::move(values), std::move(text)});
  }
  std::vector<Sent> sent_;
};
