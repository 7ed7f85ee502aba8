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
  if (m_controller) m_controller->hub().setLobbyScreen(nullptr);
  CC_SAFE_RELEASE(m_screen);
  CC_SAFE_RELEASE(m_controller);
}

bool LobbyScene::init() {
  if (!RotatableScene::init()) return false;
  m_controller = LobbyController::create(eventDispatcher());
  CC_SAFE_RETAIN(m_controller);
  // What the hub tells the lobby from now on reaches the screen, also while another shows:
  // a player list that comes while the menu shows is there when the lobby opens.
  m_controller->hub().setLobbyScreen(m_controller);
  relayout();
  return true;
}

void LobbyScene::relayout() {
  RotatableScene::relayout();
  CCNode* screen = m_controller->buildScreen();
  if (!screen) return;  // logged; the last screen stays
  if (m_screen) {
    m_screen->removeFromParentAndCleanup(true);
    m_screen->release();
  }
  m_screen = screen;
  m_screen->retain();
  addChild(m_screen, kScreenZ);
}

void LobbyScene::onEnterTransitionDidFinish() {
  RotatableScene::onEnterTransitionDidFinish();
  relayout();
}

void LobbyScene::onExit() {
  m_controller->releaseKeys();
  RotatableScene::onExit();
}
