#include "MainScene.h"

#include <cstdlib>
#include <string>

#include "CCDirector.h"
#include "CCLayer.h"
#include "EventDispatcher.h"
#include "GameController.h"
#include "GameAudio.h"
#include "StoreController.h"
#include "game/GameSession.h"
#include "logog/logog.hpp"
#include "player/Player.h"

using namespace cocos2d;

namespace {
MainScene* s_scene = nullptr;
constexpr int kMusicTracks = 13;
}  // namespace

MainScene* MainScene::scene() {
  if (!s_scene) {
    s_scene = MainScene::create();
    if (!s_scene) return nullptr;
    s_scene->retain();  // kept for the rest of the run
    s_scene->relayout();
  }
  return s_scene;
}

MainScene* MainScene::existing() { return s_scene; }

bool MainScene::init() {
  if (!RotatableScene::init()) return false;
  GameController* c = GameController::create(eventDispatcher());
  if (!c) return false;
  gameController_ = c;
  c->retain();
  storeController_ = StoreController::create(c->hub());
  if (!storeController_) return false;
  storeController_->retain();
  // The locked shield in the store opens the game screen's notice.
  storeController_->setShieldNotification([c] { c->onNotification(nullptr); });
  c->setStoreController(storeController_);
  return true;
}

MainScene::~MainScene() {
  if (screenNode_) screenNode_->release();
  if (gameController_) gameController_->release();
  if (storeController_) storeController_->release();
}

void MainScene::makeControllerCurrent() {
  MainScene* s = scene();
  EventDispatcher& hub = s->gameController_->hub();
  hub.setScreen(s->gameController_);
  hub.setBoardView(&s->gameController_->boardView());
}

ScreenFlow::GameScreenLink MainScene::flowLink() {
  return {[]() -> CCScene* { return scene(); }, [] { makeControllerCurrent(); }};
}

void MainScene::playRandomMusic() {
  const int n = std::rand() % kMusicTracks + 1;
  const std::string path = "music/music" + std::to_string(n) + ".mp3";
  gameAudio().playMusic(path, true);
}

void MainScene::setScreenNode(CCNode* node) {
  GameController* c = gameController_;
  // The boards' nodes leave the old screen before it goes, so that nothing of theirs is
  // cleaned up with it.
  c->boardView().detachFromScreen();
  if (screenNode_) {
    screenNode_->removeFromParentAndCleanup(true);
    screenNode_->release();
    screenNode_ = nullptr;
  }
  if (!node) return;
  screenNode_ = node;
  screenNode_->retain();
  addChild(screenNode_, kScreenZ);
  GameSession& game = c->hub().game();
  Board* ours = game.localPlayer() ? game.localPlayer()->board() : nullptr;
  Board* theirs = game.enemyPlayer() ? game.enemyPlayer()->board() : nullptr;
  c->boardView().attachToScreen({ours, theirs});
}

void MainScene::relayout() {
  RotatableScene::relayout();
  setScreenNode(gameController_->buildScreen());
}

void MainScene::onEnter() {
  RotatableScene::onEnter();
  makeControllerCurrent();
  gameController_->screenEntered();
  if (Player* local = gameController_->hub().game().localPlayer())
    gameController_->updateCounters(local->mana(), local->dwarves());
}

void MainScene::onEnterTransitionDidFinish() {
  RotatableScene::onEnterTransitionDidFinish();
  const CCSize win = CCDirector::sharedDirector()->getWinSize();
  if (!screenNode_ || !screenNode_->getContentSize().equals(win)) relayout();
  gameController_->camera().focusOurTower();
  gameController_->dialogs().hideLikeDialog(true);
  playRandomMusic();
}

void MainScene::onExit() {
  RotatableScene::onExit();
  gameController_->effects().stopFireSounds();
  // The match's chat box takes no keys on the screens that follow (a RETURN there is theirs).
  gameController_->gameLog().releaseKeys();
}
