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

MenuController::MenuController(EventDispatcher& hub) : m_bindings("MENU::"), m_rowBindings("MENU::"), m_hub(hub) {}

bool MenuController::init() {
  declareMembers();
  return true;
}

MenuController::~MenuController() { CC_SAFE_RELEASE(m_root); }

void MenuController::declareMembers() {
  mv::NodeBindings& b = m_bindings;
  b.declare("mainlayer", &m_mainlayer);
  b.declare("textfieldlayer", &m_textfieldlayer);
  b.declare("message", &m_message);
  b.declare("textprompt", &m_textprompt);
  b.declare("exittxt", &m_exittxt);
  b.declare("storetxt", &m_storetxt);
  b.declare("fullscreenbtn", &m_fullscreenbtn);
  b.declare("ios", &m_ios);
  b.declare("android", &m_android);
  b.declare("exit", &m_exit);
  b.declare("store", &m_store);
  b.declare("textfieldbg", &m_textfieldbg);
  b.declare("exitbg", &m_exitbg);
  b.declare("storebg", &m_storebg);
  b.declare("bird", &m_bird);
  b.declare("crack", &m_crack);
  b.declare("bolt", &m_bolt);
  b.declare("front", &m_front);
  b.declare("back", &m_back);
  b.declare("creditslbl", &m_creditslbl);
  b.declare("birdstart", &m_birdstart);
  b.declare("birdfinish1", &m_birdfinish1);
  b.declare("birdfinish2", &m_birdfinish2);
  b.declare("magicstars", &m_magicstars);
  b.declare("startinglogo", &m_startinglogo);
  b.declare("singlegamelist", &m_singlegamelist);
  b.declare("singlegamemenu", &m_singlegamemenu);
  // The two members of a scenario row are taken from each row file as it loads.
  m_rowBindings.declare("scenarioname", &m_scenarioname);
  m_rowBindings.declare("scenariobtn", &m_scenariobtn);
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
  m_messageShown = true;
  m_modal = modal;
  m_messageText = std::move(text);
  refresh();
}

void MenuController::showMainState() {
  LOGOG_INFO("MENU::main state");
  m_messageShown = false;
  m_mode = 0;
  m_messageText.clear();
  refresh();
}

void MenuController::refresh() {
  if (m_message) {
    m_message->setVisible(m_messageShown);
    m_message->setString(m_messageText.c_str());
  }
  if (m_textprompt) m_textprompt->setString(m_promptText.c_str());
  if (m_fullscreenbtn) {
    m_fullscreenbtn->setVisible(m_messageShown && !m_modal);
    m_fullscreenbtn->setOpacity(0);
  }
  if (m_mainlayer) m_mainlayer->setVisible(!m_messageShown && m_mode == 0);
  const bool prompt = !m_messageShown && m_mode == 1;
  if (m_textfieldlayer) m_textfieldlayer->setVisible(prompt);
  if (m_editBox) m_editBox->setVisible(prompt);
}

// ---- The screen ----------------------------------------------------------------------------

void MenuController::addWind() {
  if (!m_back) return;
  CCParticleSystemQuad* wind = CCParticleSystemQuad::create(kWindFile);
  if (!wind) {
    LOGOG_WARN("MENU::the wind %s could not be loaded", kWindFile);
    return;
  }
  wind->setPositionType(kCCPositionTypeRelative);
  wind->setScale(mv::hdScale());
  wind->setPosition(CCPoint(0, m_back->getContentSize().height / 2));
  // The wind blows the other way than the file says.
  CCPoint gravity = wind->getGravity();
  wind->setGravity(CCPoint(-gravity.x, gravity.y));
  m_back->addChild(wind, 5);
}

CCNode* MenuController::loadScreen() {
  m_bindings.beginLoad();
  CCNode* root = mv::loadNode(kScreenFile, this, mv::isHD, false);
  m_bindings.endLoad();
  CC_SAFE_RELEASE(m_root);
  m_root = root;
  m_editBox = nullptr;
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
  if (m_textfieldbg) placeEditBox(m_textfieldbg, root->getScaleX(), this, m_editBox);
  if (m_message) {
    m_message->setWidth(CCDirector::sharedDirector()->getWinSize().width * kMessageWidth);
    m_message->setAlignment(kCCTextAlignmentCenter);
  }
  refresh();
  MenuTouchLayer* touch = MenuTouchLayer::create(this);
  if (touch) root->addChild(touch);
  fillScenarioList();
  showScenarioList(false);
  // The screen laid out again shows the title as the intro left it; an intro cut short by the
  // new layout ends here, as a click would end it.
  if (m_introRunning)
    finishIntro();
  else if (m_introPlayed)
    showIntroEnd();
  return root;
}

// ---- Scenario list ---------------------------------------------------------------------------

void MenuController::fillScenarioList() {
  m_scenarioRows = 0;
  if (!m_singlegamelist) return;
  std::vector<CCNode*> rows;
  for (size_t i = 0; i < GameModeTable.size() && GameModeTable[i].textKey[0] != '\0'; ++i) {
    m_rowBindings.beginLoad();
    CCNode* row = mv::loadNode(kRowFile, this, false, false);
    m_rowBindings.endLoad();
    if (!row) break;
    if (m_scenarioname) m_scenarioname->setString(localizedText(GameModeTable[i].textKey));
    if (m_scenariobtn) m_scenariobtn->setTag(static_cast<int>(i));
    rows.push_back(row);
  }
  m_scenarioRows = static_cast<int>(rows.size());
  const int total = mv::stackRows(m_singlegamelist, rows);
  const CCSize view = m_singlegamelist->getViewSize();
  m_singlegamelist->setContentOffset(CCPoint(0, (view.height - total) * 0.5f), false);
}

void MenuController::showScenarioList(bool shown) {
  if (m_singlegamemenu) m_singlegamemenu->setVisible(shown);
  if (m_singlegamelist) m_singlegamelist->setVisible(shown);
  // The list's parchment lies over the menu's buttons, which take no click through it.
  if (CCArray* children = m_mainlayer ? m_mainlayer->getChildren() : nullptr)
    for (unsigned int i = 0; i < children->count(); ++i)
      if (CCMenu* buttons = dynamic_cast<CCMenu*>(children->objectAtIndex(i))) buttons->setEnabled(!shown);
}

bool MenuController::isScenarioListShown() const {
  return m_singlegamemenu && m_singlegamemenu->isVisible();
}

// ---- Selectors -----------------------------------------------------------------------------

void MenuController::onFullscreen(CCObject*) {
  if (!m_messageShown || m_modal) return;
  m_messageShown = false;
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

void MenuController::onOk(CCObject*) {
  // The menu asks for no text: what was typed is read and left alone.
  if (m_editBox) (void)m_editBox->getText();
}

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
  if (target == this && !m_bindings.assign(name, node)) m_rowBindings.assign(name, node);
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
