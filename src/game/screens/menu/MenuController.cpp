#include "MenuController.h"

#include <cmath>
#include <vector>

#include "CCDirector.h"
#include "CCEditBox.h"
#include "CCLabelBMFont.h"
#include "CCLayer.h"
#include "CCMenu.h"
#include "CCMenuItem.h"
#include "CCParticleSystemQuad.h"
#include "CCScale9Sprite.h"
#include "CCScrollView.h"
#include "CCSprite.h"
#include "EventDispatcher.h"
#include "LanguageFile.h"
#include "LoadNode.h"
#include "MenuScene.h"
#include "PlaceEditBox.h"
#include "ResourceNames.h"
#include "RowList.h"
#include "game/GameModeTable.h"
#include "logog/logog.hpp"

using namespace cocos2d;
using namespace cocos2d::extension;

namespace {

const char* const kWindFile = "particles/wind1.plist";
// The message wraps within this share of the window's width.
constexpr float kMessageWidth = 0.6f;

}  // namespace

MenuController* MenuController::create(EventDispatcher& hub) {
  MenuController* controller = new MenuController(hub);
  return ccAutoreleaseIfInit(controller, controller->init());
}

MenuController::MenuController(EventDispatcher& hub) : bindings_("MENU::"), rowBindings_("MENU::"), hub_(hub) {}

bool MenuController::init() {
  declareMembers();
  return true;
}

MenuController::~MenuController() { CC_SAFE_RELEASE(root_); }

void MenuController::declareMembers() {
  mv::NodeBindings& b = bindings_;
  b.declare("mainlayer", &mainlayer_);
  b.declare("textfieldlayer", &textfieldlayer_);
  b.declare("message", &message_);
  b.declare("textprompt", &textprompt_);
  b.declare("exittxt", &exittxt_);
  b.declare("storetxt", &storetxt_);
  b.declare("fullscreenbtn", &fullscreenbtn_);
  b.declare("ios", &ios_);
  b.declare("android", &android_);
  b.declare("exit", &exit_);
  b.declare("store", &store_);
  b.declare("textfieldbg", &textfieldbg_);
  b.declare("exitbg", &exitbg_);
  b.declare("storebg", &storebg_);
  b.declare("bird", &bird_);
  b.declare("crack", &crack_);
  b.declare("bolt", &bolt_);
  b.declare("front", &front_);
  b.declare("back", &back_);
  b.declare("creditslbl", &creditslbl_);
  b.declare("birdstart", &birdstart_);
  b.declare("birdfinish1", &birdfinish1_);
  b.declare("birdfinish2", &birdfinish2_);
  b.declare("magicstars", &magicstars_);
  b.declare("startinglogo", &startinglogo_);
  b.declare("singlegamelist", &singlegamelist_);
  b.declare("singlegamemenu", &singlegamemenu_);
  // The two members of a scenario row are taken from each row file as it loads.
  rowBindings_.declare("scenarioname", &scenarioname_);
  rowBindings_.declare("scenariobtn", &scenariobtn_);
}

// ---- Message states ------------------------------------------------------------------------

void MenuController::showMessage(std::string text) {
  LOGOG_INFO("MENU::message shown");
  setMessage(std::move(text), false);
}

void MenuController::showModalMessage(std::string text) {
  LOGOG_INFO("MENU::modal message shown");
  setMessage(std::move(text), true);
}

void MenuController::setMessage(std::string text, bool modal) {
  messageShown_ = true;
  modal_ = modal;
  messageText_ = std::move(text);
  refresh();
}

void MenuController::showMainState() {
  LOGOG_INFO("MENU::main state");
  messageShown_ = false;
  mode_ = 0;
  messageText_.clear();
  refresh();
}

void MenuController::refresh() {
  if (message_) {
    message_->setVisible(messageShown_);
    message_->setString(messageText_.c_str());
  }
  if (textprompt_) textprompt_->setString(promptText_.c_str());
  if (fullscreenbtn_) {
    fullscreenbtn_->setVisible(messageShown_ && !modal_);
    fullscreenbtn_->setOpacity(0);
  }
  if (mainlayer_) mainlayer_->setVisible(!messageShown_ && mode_ == 0);
  const bool prompt = !messageShown_ && mode_ == 1;
  if (textfieldlayer_) textfieldlayer_->setVisible(prompt);
  if (editBox_) editBox_->setVisible(prompt);
}

// ---- The screen ----------------------------------------------------------------------------

void MenuController::addWind() {
  if (!back_) return;
  CCParticleSystemQuad* wind = CCParticleSystemQuad::create(kWindFile);
  if (!wind) {
    LOGOG_WARN("MENU::the wind %s could not be loaded", kWindFile);
    return;
  }
  wind->setPositionType(kCCPositionTypeRelative);
  wind->setScale(mv::hdScale());
  wind->setPosition(CCPoint(0, back_->getContentSize().height / 2));
  // The wind blows the other way than the file says.
  CCPoint gravity = wind->getGravity();
  wind->setGravity(CCPoint(-gravity.x, gravity.y));
  back_->addChild(wind, 5);
}

CCNode* MenuController::loadScreen() {
  bindings_.beginLoad();
  CCNode* root = mv::loadNode(kScreenFile, this, mv::isHD, false);
  bindings_.endLoad();
  CC_SAFE_RELEASE(root_);
  root_ = root;
  editBox_ = nullptr;
  if (!root) {
    LOGOG_CRITICAL("MENU::the menu screen %s is missing or broken", kScreenFile);
    return nullptr;
  }
  root->retain();
  root->setPosition(CCPoint(0, 0));
  root->ignoreAnchorPointForPosition(false);
  root->setAnchorPoint(CCPoint(0, 0));
  addWind();
  if (CCLayer* layer = dynamic_cast<CCLayer*>(root)) layer->setTouchPriority(-1);
  if (textfieldbg_) placeEditBox(textfieldbg_, root->getScaleX(), this, editBox_);
  if (message_) {
    message_->setWidth(CCDirector::sharedDirector()->getWinSize().width * kMessageWidth);
    message_->setAlignment(kCCTextAlignmentCenter);
  }
  refresh();
  MenuTouchLayer* touch = MenuTouchLayer::create(this);
  if (touch) root->addChild(touch);
  fillScenarioList();
  showScenarioList(false);
  // The screen laid out again shows the title as the intro left it; an intro cut short by the
  // new layout ends here, as a click would end it.
  if (introRunning_)
    finishIntro();
  else if (introPlayed_)
    showIntroEnd();
  return root;
}

// ---- Scenario list ---------------------------------------------------------------------------

void MenuController::fillScenarioList() {
  scenarioRows_ = 0;
  if (!singlegamelist_) return;
  std::vector<CCNode*> rows;
  for (size_t i = 0; i < GameModeTable.size() && GameModeTable[i].textKey[0] != '\0'; ++i) {
    rowBindings_.beginLoad();
    CCNode* row = mv::loadNode(kRowFile, this, false, false);
    rowBindings_.endLoad();
    if (!row) break;
    if (scenarioname_) scenarioname_->setString(localizedText(GameModeTable[i].textKey));
    if (scenariobtn_) scenariobtn_->setTag(static_cast<int>(i));
    rows.push_back(row);
  }
  scenarioRows_ = static_cast<int>(rows.size());
  const int total = mv::stackRows(singlegamelist_, rows);
  const CCSize view = singlegamelist_->getViewSize();
  singlegamelist_->setContentOffset(CCPoint(0, (view.height - total) * 0.5f), false);
}

void MenuController::showScenarioList(bool shown) {
  if (singlegamemenu_) singlegamemenu_->setVisible(shown);
  if (singlegamelist_) singlegamelist_->setVisible(shown);
  // The list's parchment lies over the menu's buttons, which take no click through it.
  if (CCArray* children = mainlayer_ ? mainlayer_->getChildren() : nullptr)
    for (unsigned int i = 0; i < children->count(); ++i)
      if (CCMenu* buttons = dynamic_cast<CCMenu*>(children->objectAtIndex(i))) buttons->setEnabled(!shown);
}

bool MenuController::isScenarioListShown() const {
  return singlegamemenu_ && singlegamemenu_->isVisible();
}

// ---- Selectors -----------------------------------------------------------------------------

void MenuController::onFullscreen(CCObject*) {
  if (!messageShown_ || modal_) return;
  messageShown_ = false;
  refresh();
}

void MenuController::onLobby(CCObject*) { hub().enterLobby(); }

void MenuController::onSingle(CCObject*) { hub().startSingleGame("skirmish"); }

void MenuController::onScenario(CCObject* sender) {
  CCNode* button = dynamic_cast<CCNode*>(sender);
  int index = button ? button->getTag() : -1;
  if (index < 0 || static_cast<size_t>(index) >= GameModeTable.size() || !GameModeTable[index].modeId[0]) {
    LOGOG_WARN("MENU::no scenario row %d", index);
    return;
  }
  // The whole list goes, so the menu is whole again when the game returns to it.
  showScenarioList(false);
  hub().startSingleGame(GameModeTable[index].modeId);
}

void MenuController::onScenarios(CCObject*) { showScenarioList(!isScenarioListShown()); }

void MenuController::onTutorial(CCObject*) { hub().startSingleGame("tutorial"); }

void MenuController::onCredits(CCObject*) {
  prepareIntro();
  playIntro();
}

void MenuController::onOk(CCObject*) { hub().submitMenuText(editBox_ ? editBox_->getText() : ""); }

void MenuController::onCancel(CCObject*) { hub().showMainMenu(); }
void MenuController::onExit(CCObject*) { hub().exitGame(); }
void MenuController::onStore(CCObject*) { hub().startSandbox(); }
void MenuController::onFacebook(CCObject*) { hub().openSocialPage(); }
void MenuController::onSteam(CCObject*) { hub().openCommunityPage(); }
void MenuController::onIos(CCObject*) { hub().openAppStorePage(); }
void MenuController::onAndroid(CCObject*) { hub().openCrowdfundingPage(); }
void MenuController::onMoregames(CCObject*) { hub().openMoreGames(); }

void MenuController::editBoxReturn(CCEditBox*) { onOk(nullptr); }

bool MenuController::onAssignCCBMemberVariable(CCObject* target, CCString* name, CCNode* node) {
  if (target == this && !bindings_.assign(name, node)) rowBindings_.assign(name, node);
  return true;
}

SEL_MenuHandler MenuController::onResolveCCBCCMenuItemSelector(CCObject* pTarget, CCString* pSelectorName) {
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onFullscreen", MenuController::onFullscreen);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onLobby", MenuController::onLobby);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onSingle", MenuController::onSingle);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onScenarios", MenuController::onScenarios);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onScenario", MenuController::onScenario);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onTutorial", MenuController::onTutorial);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onCredits", MenuController::onCredits);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onOk", MenuController::onOk);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onCancel", MenuController::onCancel);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onExit", MenuController::onExit);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onStore", MenuController::onStore);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onFacebook", MenuController::onFacebook);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onSteam", MenuController::onSteam);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onIos", MenuController::onIos);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onAndroid", MenuController::onAndroid);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onMoregames", MenuController::onMoregames);
  return nullptr;
}

SEL_CCControlHandler MenuController::onResolveCCBCCControlSelector(CCObject*, CCString*) { return nullptr; }
