#include "MenuScene.h"

#include "CCApplication.h"
#include "CCDirector.h"
#include "CCLabelTTF.h"
#include "CCLayerColor.h"
#include "EventDispatcher.h"
#include "Hotkeys.h"
#include "LanguageFile.h"
#include "MenuController.h"
#include "SimpleAudioEngine.h"
#include "logog/logog.hpp"

using namespace cocos2d;
using CocosDenshion::SimpleAudioEngine;

namespace {

const char* const kMissingKey = "MENU_MISSING";
const char* const kMissingText =
    "The main menu could not be loaded. Please install the game again. (ccbi/screens/menu.ccbi)";

}  // namespace

static MenuScene* s_menuScene = nullptr;

MenuScene* MenuScene::scene() {
  if (s_menuScene) return s_menuScene;
  s_menuScene = MenuScene::create();
  CC_SAFE_RETAIN(s_menuScene);  // kept for the rest of the run
  return s_menuScene;
}

MenuScene::~MenuScene() {
  CC_SAFE_RELEASE(m_content);
  CC_SAFE_RELEASE(m_controller);
}

bool MenuScene::init() {
  if (!RotatableScene::init()) return false;
  m_content = nullptr;
  m_introPending = true;
  m_controller = MenuController::create(eventDispatcher());
  CC_SAFE_RETAIN(m_controller);
  relayout();
  return true;
}

CCNode* MenuScene::missingMenuNotice() const {
  CCSize win = CCDirector::sharedDirector()->getWinSize();
  CCLayerColor* notice = CCLayerColor::create(ccc4(40, 32, 28, 255), win.width, win.height);
  const char* text = localizedText(kMissingKey);
  if (std::string(text) == kMissingKey) text = kMissingText;
  CCLabelTTF* label = CCLabelTTF::create(text, "DejaVuSans", 20, CCSize(win.width * 0.7f, 0),
                                         kCCTextAlignmentCenter);
  if (label) {
    label->setColor(ccc3(240, 226, 190));
    label->setPosition(CCPoint(win.width / 2, win.height / 2));
    notice->addChild(label);
  }
  return notice;
}

void MenuScene::relayout() {
  RotatableScene::relayout();
  CCNode* root = m_controller->loadScreen();
  if (!root) root = missingMenuNotice();
  if (m_content) {
    m_content->removeFromParentAndCleanup(true);
    m_content->release();
  }
  m_content = root;
  m_content->retain();
  addChild(m_content, 10);
}

bool MenuScene::contentOutOfSize() const {
  CCSize win = CCDirector::sharedDirector()->getWinSize();
  return !m_content || !m_content->getContentSize().equals(win);
}

void MenuScene::onEnter() {
  RotatableScene::onEnter();
  if (m_introPending) m_controller->prepareIntro();
}

void MenuScene::onEnterTransitionDidFinish() {
  RotatableScene::onEnterTransitionDidFinish();
  if (m_introPending) {
    SimpleAudioEngine::sharedEngine()->playEffect(kWindSound, true);
    if (contentOutOfSize()) {
      relayout();
      m_controller->prepareIntro();
    }
    m_controller->playIntro();
  } else {
    if (contentOutOfSize()) relayout();
    SimpleAudioEngine::sharedEngine()->playBackgroundMusic(kMenuMusic, true);
    if (CCApplication* app = CCApplication::sharedApplication()) app->setMoreGamesScreenSize();
  }
  m_introPending = false;
}

// ---- Touch layer ---------------------------------------------------------------------

MenuTouchLayer* MenuTouchLayer::create(MenuController* controller) {
  MenuTouchLayer* layer = new MenuTouchLayer();
  return ccAutoreleaseIfInit(layer, layer->initWithController(controller));
}

bool MenuTouchLayer::initWithController(MenuController* controller) {
  if (!init()) return false;
  m_controller = controller;
  setKeypadEnabled(true);
  setTouchEnabled(true);
  return true;
}

bool MenuTouchLayer::ccTouchesBegan(CCSet*, int, CCEvent*) {
  return m_controller && m_controller->isIntroRunning();
}

void MenuTouchLayer::ccTouchesEnded(CCSet*, int, CCEvent*) {
  if (m_controller) m_controller->skipIntro();
}

void MenuTouchLayer::keyDown(CCKeyboardEvent* event, CCEvent*) {
  if (!m_controller || !event || lookupHotkey(*event) != kHotkeyEscape) return;
  m_controller->skipIntro();
  m_controller->showScenarioList(false);
}
