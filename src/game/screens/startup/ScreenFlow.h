// The screens' side of the game flow: what the event hub asks of the application (scene
// switches, the menu's states, sounds, web pages, quitting), the hub's frame, and the start
// of the services the loading screen brings up.
#pragma once

#include <functional>
#include <string>

#include "FlowHost.h"
#include "ports/Settings.h"
#include "ports/TextLookup.h"

namespace cocos2d {
class CCObject;
class CCScene;
}  // namespace cocos2d

class EventDispatcher;

// The language table as the hub sees it.
class LanguageTextLookup : public TextLookup {
 public:
  std::string text(const std::string& key) const override;
};

// The user's settings as the rules see them: the engine's user defaults (UserDefault.xml).
class UserDefaultSettings : public Settings {
 public:
  bool getBool(const std::string& key, bool fallback = false) const override;
  void setBool(const std::string& key, bool value) override;
  std::string getString(const std::string& key, const std::string& fallback = "") const override;
  void setString(const std::string& key, const std::string& value) override;
  void flush() override;
};

class ScreenFlow : public FlowHost {
 public:
  // The in-game screen as its owner provides it: its scene (made on first use) and the call
  // that makes its controller the screen the hub talks to.
  struct GameScreenLink {
    std::function<cocos2d::CCScene*()> scene;
    std::function<void()> makeCurrent;
  };

  // The game's one flow, serving the game's one hub.
  static ScreenFlow& instance();

  // Becomes the hub's flow host and gives it the language table for its texts.
  explicit ScreenFlow(EventDispatcher& hub);
  EventDispatcher& hub() const { return hub_; }
  // The hub's rules keep their settings in the user's defaults from here on (the game does
  // this at start; tests keep theirs in memory).
  void useUserDefaults();

  void setGameScreen(GameScreenLink link) { game_ = std::move(link); }
  void setLobbyScene(std::function<cocos2d::CCScene*()> scene) { lobby_ = std::move(scene); }
  // Tests: what starts the network at the end of loading (by default the game's network).
  void setNetworkStart(std::function<void()> start) { startNetwork_ = std::move(start); }

  // ---- Start-up steps (end of loading) ------------------------------------------------------
  void startNetwork();
  // The game screen exists before the menu shows.
  cocos2d::CCScene* makeGameScene();
  // So does the lobby screen: what the lobby server tells before the lobby is opened (the
  // player list of a login made from the menu) reaches it.
  cocos2d::CCScene* makeLobbyScene();
  // The hub's update runs every frame from here on.
  void startHubUpdates();
  bool hubUpdatesRunning() const { return ticker_ != nullptr; }

  // ---- FlowHost ---------------------------------------------------------------------------
  void showMenuScene(bool fade) override;
  void showGameScene() override;
  void makeGameControllerCurrent() override;
  void showLobbyScene() override;
  void showMenuMainState() override;
  void showMenuMessage(const std::string& text) override;
  void showMenuModalMessage(const std::string& text) override;
  void playSound(const std::string& path) override;
  void openUrl(const std::string& url) override;
  void openMoreGames() override;
  void quit() override;

 private:
  // The scene replaces the running one (through a fade when asked).
  void runScene(cocos2d::CCScene* scene, bool fade);

  EventDispatcher& hub_;
  LanguageTextLookup texts_;
  UserDefaultSettings settings_;
  GameScreenLink game_;
  std::function<cocos2d::CCScene*()> lobby_;
  std::function<void()> startNetwork_;
  cocos2d::CCObject* ticker_ = nullptr;
};
