#include "ScreenFlow.h"

#include "CCApplication.h"
#include "CCDirector.h"
#include "CCScheduler.h"
#include "CCTransition.h"
#include "CCUserDefault.h"
#include "EventDispatcher.h"
#include "GameAudio.h"
#include "GameContext.h"
#include "LanguageFile.h"
#include "MenuController.h"
#include "MenuScene.h"
#include "MoreGames.h"
#include "Network.h"
#include "logog/logog.hpp"

using namespace cocos2d;

namespace {

constexpr float kMenuFadeSeconds = 1.0f;

// Runs the hub's frame from the engine's scheduler.
class HubTicker : public CCObject {
 public:
  static HubTicker* create(EventDispatcher& hub) { return ccAutoreleaseIfInit(new HubTicker(hub), true); }
  void update(float dt) override { hub_.update(dt); }

 private:
  explicit HubTicker(EventDispatcher& hub) : hub_(hub) {}

  EventDispatcher& hub_;
};

MenuController* menuController() {
  MenuScene* menu = MenuScene::scene();
  return menu ? menu->controller() : nullptr;
}

}  // namespace

std::string LanguageTextLookup::text(const std::string& key) const { return localizedText(key.c_str()); }

bool UserDefaultSettings::getBool(const std::string& key, bool fallback) const {
  return CCUserDefault::sharedUserDefault()->getBoolForKey(key.c_str(), fallback);
}

void UserDefaultSettings::setBool(const std::string& key, bool value) {
  CCUserDefault::sharedUserDefault()->setBoolForKey(key.c_str(), value);
}

std::string UserDefaultSettings::getString(const std::string& key, const std::string& fallback) const {
  return CCUserDefault::sharedUserDefault()->getStringForKey(key.c_str(), fallback);
}

void UserDefaultSettings::setString(const std::string& key, const std::string& value) {
  CCUserDefault::sharedUserDefault()->setStringForKey(key.c_str(), value);
}

void UserDefaultSettings::flush() { CCUserDefault::sharedUserDefault()->flush(); }

ScreenFlow& ScreenFlow::instance() {
  static ScreenFlow* flow = new ScreenFlow(eventDispatcher());  // lives as long as the hub may call it
  return *flow;
}

ScreenFlow::ScreenFlow(EventDispatcher& hub) : hub_(hub) {
  hub.setFlowHost(this);
  hub.context().setTextLookup(&texts_);
}

void ScreenFlow::useUserDefaults() { hub().context().setSettings(&settings_); }

void ScreenFlow::startNetwork() {
  if (startNetwork_)
    startNetwork_();
  else
    network().init();
}

CCScene* ScreenFlow::makeGameScene() {
  if (!game_.scene) {
    LOGOG_WARN("No game screen is linked to the game flow");
    return nullptr;
  }
  return game_.scene();
}

CCScene* ScreenFlow::makeLobbyScene() {
  if (!lobby_) {
    LOGOG_WARN("No lobby screen is linked to the game flow");
    return nullptr;
  }
  return lobby_();
}

void ScreenFlow::startHubUpdates() {
  if (ticker_) return;
  ticker_ = HubTicker::create(hub());
  ticker_->retain();
  CCDirector::sharedDirector()->getScheduler()->scheduleUpdateForTarget(ticker_, 0, false);
}

void ScreenFlow::runScene(CCScene* scene, bool fade) {
  if (!scene) return;
  CCDirector* director = CCDirector::sharedDirector();
  if (fade) {
    if (CCTransitionFade* transition = CCTransitionFade::create(kMenuFadeSeconds, scene)) scene = transition;
  }
  if (director->getRunningScene())
    director->replaceScene(scene);
  else
    director->runWithScene(scene);
}

void ScreenFlow::showMenuScene(bool fade) { runScene(MenuScene::scene(), fade); }

void ScreenFlow::showGameScene() {
  CCScene* scene = makeGameScene();
  if (!scene) return;
  runScene(scene, false);
  makeGameControllerCurrent();
}

void ScreenFlow::makeGameControllerCurrent() {
  if (game_.makeCurrent) game_.makeCurrent();
}

void ScreenFlow::showLobbyScene() { runScene(makeLobbyScene(), false); }

void ScreenFlow::showMenuMainState() {
  if (MenuController* menu = menuController()) menu->showMainState();
}

void ScreenFlow::showMenuMessage(const std::string& text) {
  if (MenuController* menu = menuController()) menu->showMessage(text);
}

void ScreenFlow::showMenuModalMessage(const std::string& text) {
  if (MenuController* menu = menuController()) menu->showModalMessage(text);
}

void ScreenFlow::playSound(const std::string& path) {
  gameAudio().playEffect(path, false);
}

// A page that cannot be opened is logged by the platform layer.
void ScreenFlow::openUrl(const std::string& url) { CCApplication::openURL(url); }

void ScreenFlow::openMoreGames() { MoreGames::sharedMoreGames()->openPage(); }

void ScreenFlow::quit() {
  LOGOG_INFO("The player leaves the game");
  if (CCApplication* app = CCApplication::sharedApplication())
    app->quit();
  else
    CCDirector::sharedDirector()->end();
}
