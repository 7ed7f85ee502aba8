#include "LobbyController.h"

#include <algorithm>
#include <sstream>

#include "CCDirector.h"
#include "CCEditBox.h"
#include "CCLabelBMFont.h"
#include "CCMenuItem.h"
#include "CCScale9Sprite.h"
#include "CCScrollView.h"
#include "EventDispatcher.h"
#include "LoadNode.h"
#include "PlaceEditBox.h"
#include "RowList.h"
#include "logog/logog.hpp"

using namespace cocos2d;
using namespace cocos2d::extension;

namespace {

// The message wraps within this share of the window's width; the prompts within their panel.
constexpr float kMessageWidth = 0.6f;
constexpr float kMessagePadding = 24.f;
constexpr float kPromptWidth = 500.f;

std::string toString(int value) {
  std::ostringstream text;
  text << value;
  return text.str();
}

}  // namespace

LobbyController* LobbyController::create(EventDispatcher& hub) {
  LobbyController* controller = new LobbyController(hub);
  return ccAutoreleaseIfInit(controller, controller->init());
}

LobbyController::LobbyController(EventDispatcher& hub) : m_bindings("LOBBY::"), m_rowBindings("LOBBY::"), m_hub(hub) {}

bool LobbyController::init() {
  declareMembers();
  return true;
}

LobbyController::~LobbyController() {
  forgetRows(0);
  CC_SAFE_RELEASE(m_root);
}

void LobbyController::declareMembers() {
  mv::NodeBindings& b = m_bindings;
  b.declare("message", &m_messageLabel);
  b.declare("fullscreenbtn", &m_fullscreenButton);
  b.declare("textfieldbg", &m_textFieldBg);
  b.declare("textfieldlayer", &m_textFieldLayer);
  b.declare("mainlayer", &m_mainLayer);
  b.declare("challengelayer", &m_challengeLayer);
  b.declare("textprompt", &m_textPromptLabel);
  b.declare("challengeprompt", &m_challengePromptLabel);
  b.declare("playerlist", &m_playerList);
  b.declare("onlinecount", &m_onlineCountLabel);
  b.declare("modalcancelbtn", &m_modalCancelButton);
  b.declare("messagebg", &m_messageBg);
  // The two members of a player row are taken from each row file as it loads.
  m_rowBindings.declare("username", &m_userNameLabel);
  m_rowBindings.declare("userbutton", &m_userButton);
}


// ---- State operations ---------------------------------------------------------------------

void LobbyController::setMessage(const std::string& text, bool modal, bool cancelButton) {
  m_messageShown = true;
  m_modal = modal;
  m_cancelButton = cancelButton;
  m_messageText = text;
  refreshUI();
}

void LobbyController::showMessage(const std::string& text) {
  LOGOG_INFO("LOBBY::message shown");
  setMessage(text, false, false);
}

void LobbyController::showCancellableMessage(const std::string& text) {
  LOGOG_INFO("LOBBY::cancellable message shown");
  setMessage(text, true, true);
}

void LobbyController::showModalMessage(const std::string& text) {
  LOGOG_INFO("LOBBY::modal message shown");
  setMessage(text, true, false);
}

void LobbyController::showMainState() {
  LOGOG_INFO("LOBBY::main state");
  m_messageShown = false;
  m_promptMode = kNoPrompt;
  m_messageText.clear();
  refreshUI();
}

void LobbyController::showTextPrompt(const std::string& text, LobbyInputMode mode) {
  m_messageShown = false;
  m_promptMode = kTextPrompt;
  m_promptText = text;
  // Each prompt starts empty: a refused code is typed anew.
  if (m_editBox) m_editBox->setText("");
  m_inputMode = static_cast<int>(mode);
  refreshUI();
}

void LobbyController::showChallengePrompt(const std::string& text) {
  m_messageShown = false;
  m_promptMode = kChallengePrompt;
  m_promptText = text;
  refreshUI();
}

void LobbyController::setPlayerList(int onlineCount, const std::vector<std::string>& names) {
  if (names != m_userNames) m_userNames = names;
  m_onlineCount = onlineCount;
  rebuildPlayerList();
}

void LobbyController::refreshUI() {
  if (m_editBox) m_editBox->setInputMode(static_cast<EditBoxInputMode>(m_inputMode));
  if (m_messageLabel) {
    m_messageLabel->setVisible(m_messageShown);
    m_messageLabel->setString(m_messageText.c_str());
  }
  if (m_modalCancelButton) m_modalCancelButton->setVisible(m_messageShown && m_cancelButton);
  if (m_textPromptLabel) m_textPromptLabel->setString(m_promptText.c_str());
  if (m_challengePromptLabel) m_challengePromptLabel->setString(m_promptText.c_str());
  if (m_fullscreenButton) {
    m_fullscreenButton->setVisible(m_messageShown && !m_modal);
    m_fullscreenButton->setOpacity(0);  // only catches the click
  }
  if (m_mainLayer) m_mainLayer->setVisible(!m_messageShown && m_promptMode == kNoPrompt);
  if (m_challengeLayer) m_challengeLayer->setVisible(!m_messageShown && m_promptMode == kChallengePrompt);
  const bool textShown = !m_messageShown && m_promptMode == kTextPrompt;
  if (m_textFieldLayer) m_textFieldLayer->setVisible(textShown);
  if (m_editBox) m_editBox->setVisible(textShown);
  focusTextBox(textShown);
  fitMessagePanel();
}

void LobbyController::focusTextBox(bool shown) {
  if (!m_editBox || !m_editBox->getImpl()) return;
  CCEditBoxImpl* box = m_editBox->getImpl();
  if (shown && !box->isEditing())
    box->openKeyboard();
  else if (!shown && box->isEditing())
    box->closeKeyboard();
}

void LobbyController::fitMessagePanel() {
  if (!m_messageBg) return;
  m_messageBg->setVisible(m_messageShown);
  if (!m_messageShown || !m_messageLabel) return;
  CCNode* parent = m_messageBg->getParent();
  CCRect area = m_messageLabel->boundingBox();
  if (parent && m_messageLabel->getParent() != parent) {
    CCPoint origin = parent->convertToNodeSpace(
        m_messageLabel->getParent()->convertToWorldSpace(area.origin));
    area.origin = origin;
  }
  if (m_cancelButton && m_modalCancelButton && m_modalCancelButton->getParent() && parent) {
    CCRect b = m_modalCancelButton->boundingBox();
    CCPoint low = parent->convertToNodeSpace(m_modalCancelButton->getParent()->convertToWorldSpace(b.origin));
    const float minX = std::min(area.getMinX(), low.x), minY = std::min(area.getMinY(), low.y);
    const float maxX = std::max(area.getMaxX(), low.x + b.size.width);
    const float maxY = std::max(area.getMaxY(), low.y + b.size.height);
    area = CCRect(minX, minY, maxX - minX, maxY - minY);
  }
  m_messageBg->setPreferredSize(
      CCSize(area.size.width + 2 * kMessagePadding, area.size.height + 2 * kMessagePadding));
  m_messageBg->setPosition(CCPoint(area.getMidX(), area.getMidY()));
}

void LobbyController::forgetRows(size_t count) {
  for (size_t i = count; i < m_rows.size(); ++i) m_rows[i]->release();
  if (count < m_rows.size()) m_rows.resize(count);
  m_rowBindings.truncateRows(count);
}

void LobbyController::rebuildPlayerList() {
  LOGOG_INFO("lobby: ");
  if (m_onlineCountLabel) m_onlineCountLabel->setString(toString(m_onlineCount).c_str());
  if (!m_playerList) {
    forgetRows(0);
    return;
  }
  // The rows of the last list are kept and get the new names: a list that changes while the
  // lobby shows costs only its new rows, not a file load for every name.
  forgetRows(std::min(m_rows.size(), m_userNames.size()));
  for (size_t i = 0; i < m_userNames.size(); ++i) {
    const std::string& name = m_userNames[i];
    LOGOG_INFO("   %s", name.c_str());
    if (i < m_rows.size()) {
      auto* label = dynamic_cast<CCLabelBMFont*>(m_rowBindings.rowNode(i, "username"));
      if (label && name != label->getString()) label->setString(name.c_str());
      continue;
    }
    m_rowBindings.beginLoad();
    CCNode* row = mv::loadNode(kRowFile, this, false, false);
    m_rowBindings.endLoad();
    if (!row) break;  // logged by the load; a row file that fails once fails for every name
    if (m_userNameLabel) m_userNameLabel->setString(name.c_str());
    if (m_userButton) m_userButton->setTag(static_cast<int>(i));
    m_rowBindings.keepRow();
    row->retain();
    m_rows.push_back(row);
  }
  m_rowBindings.beginLoad();  // the kept rows hold the nodes; the fields name none
  const int total = mv::stackRows(m_playerList, m_rows);
  // The top of the list shows.
  m_playerList->setContentOffset(CCPoint(0, m_playerList->getViewSize().height - total), false);
}

// ---- The screen ----------------------------------------------------------------------------

CCNode* LobbyController::buildScreen() {
  m_bindings.beginLoad();
  CCNode* root = mv::loadNode(kScreenFile, this, false, false);
  m_bindings.endLoad();
  CC_SAFE_RELEASE(m_root);
  m_root = root;
  m_editBox = nullptr;
  if (!root) {
    LOGOG_CRITICAL("LOBBY::the lobby screen %s is missing or broken", kScreenFile);
    return nullptr;
  }
  root->retain();
  root->ignoreAnchorPointForPosition(false);
  root->setAnchorPoint(CCPoint(0, 0));
  root->setPosition(CCPoint(0, 0));
  if (CCLayer* layer = dynamic_cast<CCLayer*>(root)) layer->setTouchPriority(-1);
  if (m_textFieldBg) placeEditBox(m_textFieldBg, 1.0f, this, m_editBox);
  if (m_messageLabel) {
    m_messageLabel->setWidth(CCDirector::sharedDirector()->getWinSize().width * kMessageWidth);
    m_messageLabel->setAlignment(kCCTextAlignmentCenter);
  }
  for (CCLabelBMFont* prompt : {m_textPromptLabel, m_challengePromptLabel}) {
    if (!prompt) continue;
    prompt->setWidth(kPromptWidth);
    prompt->setAlignment(kCCTextAlignmentCenter);
  }
  refreshUI();
  forgetRows(0);  // the rows of the last screen went with it
  rebuildPlayerList();
  return root;
}

// ---- Selectors -----------------------------------------------------------------------------

void LobbyController::onFullscreen(CCObject*) {
  if (!m_messageShown || m_modal) return;
  m_messageShown = false;
  refreshUI();
}

void LobbyController::onQuickmatch(CCObject*) { hub().requestQuickMatch(); }
void LobbyController::onInviteFriends(CCObject*) { hub().inviteFriend(); }
void LobbyController::onBack(CCObject*) { hub().leaveLobby(); }

void LobbyController::onOk(CCObject*) { hub().submitLobbyText(m_editBox ? m_editBox->getText() : ""); }

void LobbyController::onCancel(CCObject*) { hub().cancelLobbyPrompt(); }
void LobbyController::onModalCancel(CCObject*) { hub().cancelLobbyWait(); }

void LobbyController::onUserButton(CCObject* sender) {
  CCNode* button = dynamic_cast<CCNode*>(sender);
  if (!button) return;
  hub().challengeUser(button->getTag());
}

void LobbyController::onChallengeOk(CCObject*) { hub().acceptChallenge(); }
void LobbyController::onChallengeCancel(CCObject*) { hub().rejectChallenge(); }

void LobbyController::editBoxReturn(CCEditBox* box) {
  if (!box) return;
  hub().submitLobbyText(box->getText());
}

bool LobbyController::onAssignCCBMemberVariable(CCObject* target, CCString* name, CCNode* node) {
  if (target == this && !m_bindings.assign(name, node)) m_rowBindings.assign(name, node);
  return true;
}

SEL_MenuHandler LobbyController::onResolveCCBCCMenuItemSelector(CCObject* pTarget, CCString* pSelectorName) {
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onFullscreen", LobbyController::onFullscreen);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onQuickmatch", LobbyController::onQuickmatch);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onInviteFriends", LobbyController::onInviteFriends);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onBack", LobbyController::onBack);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onOk", LobbyController::onOk);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onCancel", LobbyController::onCancel);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onModalCancel", LobbyController::onModalCancel);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onUserButton", LobbyController::onUserButton);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onChallengeOk", LobbyController::onChallengeOk);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onChallengeCancel", LobbyController::onChallengeCancel);
  return nullptr;
}

SEL_CCControlHandler LobbyController::onResolveCCBCCControlSelector(CCObject*, CCString*) { return nullptr; }
