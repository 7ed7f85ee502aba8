// What the event hub asks of the application around the game: scene switches,
// the menu's state, and the analytics hook. The screens implement it; headless
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
  // The menu shows its main buttons.
  virtual void showMenuMainState() {}
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
    std::string text;  // fade as "fade"/"cut"; analytics as "category/event/text"
  };

  void showMenuScene(bool fade) override { add("showMenuScene", fade ? "fade" : "cut"); }
  void showGameScene() override { add("showGameScene"); }
  void makeGameControllerCurrent() override { add("makeGameControllerCurrent"); }
  void showMenuMainState() override { add("showMenuMainState"); }
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

 private:
  void add(const char* what, std::string text = {}) { calls_.push_back({what, std::move(text)}); }
  std::vector<Call> calls_;
};
