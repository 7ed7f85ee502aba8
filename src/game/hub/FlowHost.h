// What the event hub asks of the application around the game: scene switches,
// the menu's states and messages, sounds by path, web pages, quitting, and the
// analytics hook. The screens implement it; headless
// games use the null host, tests the recording one.
#pragma once

#include <string>
#include <vector>

class FlowHost {
 public:
  virtual ~FlowHost() = default;

  // The menu scene replaces the running scene (`fade`: through a one-second
  // fade to black).
  virtual void showMenuScene(bool /*fade*/) {}
  // The game scene becomes the running scene and its controller current.
  virtual void showGameScene() {}
  // The game screen's controller becomes the screen the hub talks to.
  virtual void makeGameControllerCurrent() {}
  // The lobby scene replaces the running scene.
  virtual void showLobbyScene() {}
  // The menu shows its main buttons.
  virtual void showMenuMainState() {}
  // A message on the menu, closed by the user.
  virtual void showMenuMessage(const std::string& /*text*/) {}
  // A message on the menu without a button (the game closes it).
  virtual void showMenuModalMessage(const std::string& /*text*/) {}
  // Plays a sound file once ("sounds/....wav").
  virtual void playSound(const std::string& /*path*/) {}
  // Opens a web page in the browser.
  virtual void openUrl(const std::string& /*url*/) {}
  // The cross-promotion page.
  virtual void openMoreGames() {}
  // Ends the program.
  virtual void quit() {}
  // An analytics event (category, event name, text); the game keeps none.
  virtual void reportAnalytics(const std::string& /*category*/, const std::string& /*event*/,
                               const std::string& /*text*/) {}
};

class NullFlowHost : public FlowHost {};

// Keeps every call, in order.
class RecordingFlowHost : public FlowHost {
 public:
  struct Call {
    std::string what;
    std::string text;  // fade as "fade"/"cut"; analytics as "category/event/text"; texts, paths
  };

  void showMenuScene(bool fade) override { add("showMenuScene", fade ? "fade" : "cut"); }
  void showGameScene() override { add("showGameScene"); }
  void makeGameControllerCurrent() override { add("makeGameControllerCurrent"); }
  void showLobbyScene() override { add("showLobbyScene"); }
  void showMenuMainState() override { add("showMenuMainState"); }
  void showMenuMessage(const std::string& text) override { add("showMenuMessage", text); }
  void showMenuModalMessage(const std::string& text) override { add("showMenuModalMessage", text); }
  void playSound(const std::string& path) override { add("playSound", path); }
  void openUrl(const std::string& url) override { add("openUrl", url); }
  void openMoreGames() override { add("openMoreGames"); }
  void quit() override { add("quit"); }
  void reportAnalytics(const std::string& category, const std::string& event,
                       const std::string& text) override {
    add("reportAnalytics", category + "/" + event + "/" + text);
  }

  const std::vector<Call>& calls() const { return calls_; }
  std::vector<std::string> callNames() const {
    std::vector<std::string> out;
    for (const Call& c : calls_) out.push_back(c.what);
    return out;
  }
  void clear() { calls_.clear(); }
  std::size_t count(const std::string& what) const {
    std::size_t n = 0;
    for (const Call& c : calls_) n += c.what == what;
    return n;
  }
  // The text of the last call of that name ("" when none).
  std::string lastText(const std::string& what) const {
    for (auto it = calls_.rbegin(); it != calls_.rend(); ++it)
      if (it->what == what) return it->text;
    return {};
  }

 private:
  void add(const char* what, std::string text = {}) { calls_.push_back({what, std::move(text)}); }
  std::vector<Call> calls_;
};
