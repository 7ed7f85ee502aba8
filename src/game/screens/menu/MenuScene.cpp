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
  CC_SAFE_RELEASE(content_);
  CC_SAFE_RELEASE(controller_);
}

bool MenuScene::init() {
  if (!RotatableScene::init()) return false;
  content_ = nullptr;
  introPending_ = true;
  controller_ = MenuController::create(eventDispatcher());
  CC_SAFE_RETAIN(controller_);
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
  CCNode* root = controller_->loadScreen();
  if (!root) root = missingMenuNotice();
  if (content_) {
    content_->removeFromParentAndCleanup(true);
    content_->release();
  }
  content_ = root;
  content_->retain();
  addChild(content_, 10);
}

bool MenuScene::contentOutOfSize() const {
  CCSize win = CCDirector::sharedDirector()->getWinSize();
  return !content_ || !content_->getContentSize().equals(win);
}

void MenuScene::onEnter() {
  RotatableScene::onEnter();
  if (introPending_) controller_->prepareIntro();
}

void MenuScene::onEnterTransitionDidFinish() {
  RotatableScene::onEnterTransitionDidFinish();
  if (introPending_) {
    SimpleAudioEngine::sharedEngine()->playEffect(kWindSound, true);
    if (contentOutOfSize()) {
      relayout();
      controller_->prepareIntro();
    }
    controller_->playIntro();
  } else {
    if (contentOutOfSize()) relayout();
    SimpleAudioEngine::sharedEngine()->playBackgroundMusic(kMenuMusic, true);
    if (CCApplication* app = CCApplication::sharedApplication()) app->setMoreGamesScreenSize();
  }
  introPending_ = false;
}

// ---- Touch layer ---------------------------------------------------------------------

MenuTouchLayer* MenuTouchLayer::create(MenuController* controller) {
  MenuTouchLayer* layer = new MenuTouchLayer();
  return ccAutoreleaseIfInit(layer, layer->initWithController(controller));
}

bool MenuTouchLayer::initWithController(MenuController* controller) {
  if (!init()) return false;
  controller_ = controller;
  setKeypadEnabled(true);
  setTouchEnabled(true);
  return true;
}

bool MenuTouchLayer::ccTouchesBegan(CCSet*, int, CCEvent*) {
  return controller_ && controller_->isIntroRunning();
}

void MenuTouchLayer::ccTouchesEnded(CCSet*, int, CCEvent*) {
  if (controller_) controller_->skipIntro();
}

void MenuTouchLayer::keyDown(CCKeyboardEvent* event, CCEvent*) {
  if (!controller_ || !event || lookupHotkey(*event) != kHotkeyEscape) return;
  controller_->skipIntro();
  controller_->showScenarioList(false);
}
