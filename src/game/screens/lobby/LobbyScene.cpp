#include "LobbyScene.h"

#include "EventDispatcher.h"
#include "LobbyController.h"

using namespace cocos2d;

namespace {
constexpr int kScreenZ = 10;
LobbyScene* s_lobbyScene = nullptr;
}  // namespace

LobbyScene* LobbyScene::scene() {
  if (s_lobbyScene) return s_lobbyScene;
  s_lobbyScene = LobbyScene::create();
  CC_SAFE_RETAIN(s_lobbyScene);  // kept for the rest of the run
  return s_lobbyScene;
}

LobbyScene::~LobbyScene() {
  if (controller_) controller_->hub().setLobbyScreen(nullptr);
  CC_SAFE_RELEASE(screen_);
  CC_SAFE_RELEASE(controller_);
}

bool LobbyScene::init() {
  if (!RotatableScene::init()) return false;
  controller_ = LobbyController::create(eventDispatcher());
  CC_SAFE_RETAIN(controller_);
  // What the hub tells the lobby from now on reaches the screen, also while another shows:
  // a player list that comes while the menu shows is there when the lobby opens.
  controller_->hub().setLobbyScreen(controller_);
  relayout();
  return true;
}

void LobbyScene::relayout() {
  RotatableScene::relayout();
  CCNode* screen = controller_->buildScreen();
  if (!screen) return;  // logged; the last screen stays
  if (screen_) {
    screen_->removeFromParentAndCleanup(true);
    screen_->release();
  }
  screen_ = screen;
  screen_->retain();
  addChild(screen_, kScreenZ);
}

void LobbyScene::onEnterTransitionDidFinish() {
  RotatableScene::onEnterTransitionDidFinish();
  relayout();
}

void LobbyScene::onExit() {
  controller_->releaseKeys();
  RotatableScene::onExit();
}
