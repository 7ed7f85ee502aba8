// What the event hub asks of the lobby screen: its main state (the player list
// and buttons), messages, the text prompts of the login and the invitation, the
// challenge prompt, and the list of players. The lobby screen's controller
// implements it; headless runs use the null screen, tests the recording one.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The text box's input modes, as the engine's edit box numbers them.
enum class LobbyInputMode : int { EmailAddress = 1, Numeric = 2, SingleLine = 6 };

class LobbyScreen {
 public:
  virtual ~LobbyScreen() = default;
  // The player list and the lobby's buttons, no message or prompt.
  virtual void showMainState() {}
  // A message closed by the user.
  virtual void showMessage(const std::string& /*text*/) {}
  // A message with a cancel button (waiting for an opponent).
  virtual void showCancellableMessage(const std::string& /*text*/) {}
  // A message without a button.
  virtual void showModalMessage(const std::string& /*text*/) {}
  virtual void showTextPrompt(const std::string& /*text*/, LobbyInputMode /*mode*/) {}
  // Accept or refuse a challenge.
  virtual void showChallengePrompt(const std::string& /*text*/) {}
  virtual void setPlayerList(int /*onlineCount*/, const std::vector<std::string>& /*names*/) {}
};

class NullLobbyScreen : public LobbyScreen {};

// Keeps every call, in order.
class RecordingLobbyScreen : public LobbyScreen {
 public:
  struct Call {
    std::string what;
    std::string text;
    int value = 0;  // input mode; online count
    std::vector<std::string> names;
  };

  void showMainState() override { add("showMainState"); }
  void showMessage(const std::string& text) override { add("showMessage", text); }
  void showCancellableMessage(const std::string& text) override { add("showCancellableMessage", text); }
  void showModalMessage(const std::string& text) override { add("showModalMessage", text); }
  void showTextPrompt(const std::string& text, LobbyInputMode mode) override {
    add("showTextPrompt", text, static_cast<int>(mode));
  }
  void showChallengePrompt(const std::string& text) override { add("showChallengePrompt", text); }
  void setPlayerList(int onlineCount, const std::vector<std::string>& names) override {
    add("setPlayerList", {}, onlineCount, names);
  }

  const std::vector<Call>& calls() const { return calls_; }
  std::vector<std::string> callNames() const {
    std::vector<std::string> out;
    for (const Call& c : calls_) out.push_back(c.what);
    return out;
  }
  std::size_t count(const std::string& what) const {
    std::size_t n = 0;
    for (const Call& c : calls_) n += c.what == what;
    return n;
  }
  // The last call of that name (an empty call when none).
  Call last(const std::string& what) const {
    for (auto it = calls_.rbegin(); it != calls_.rend(); ++it)
      if (it->what == what) return *it;
    return {};
  }
  void clear() { calls_.clear(); }

 private:
  void add(const char* what, std::string text = {}, int value = 0, std::vector<std::string> names = {}) {
    calls_.push_back({what, std::move(text), value, std::move(names)});
  }
  std::vector<Call> calls_;
};
