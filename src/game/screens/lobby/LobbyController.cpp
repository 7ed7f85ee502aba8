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

LobbyController::LobbyController(EventDispatcher& hub) : bindings_("LOBBY::"), rowBindings_("LOBBY::"), hub_(hub) {}

bool LobbyController::init() {
  declareMembers();
  return true;
}

LobbyController::~LobbyController() {
  forgetRows(0);
  CC_SAFE_RELEASE(root_);
}

void LobbyController::declareMembers() {
  mv::NodeBindings& b = bindings_;
  b.declare("message", &messageLabel_);
  b.declare("fullscreenbtn", &fullscreenButton_);
  b.declare("textfieldbg", &textFieldBg_);
  b.declare("textfieldlayer", &textFieldLayer_);
  b.declare("mainlayer", &mainLayer_);
  b.declare("challengelayer", &challengeLayer_);
  b.declare("textprompt", &textPromptLabel_);
  b.declare("challengeprompt", &challengePromptLabel_);
  b.declare("playerlist", &playerList_);
  b.declare("onlinecount", &onlineCountLabel_);
  b.declare("modalcancelbtn", &modalCancelButton_);
  // The two members of a player row are taken from each row file as it loads.
  rowBindings_.declare("username", &userNameLabel_);
  rowBindings_.declare("userbutton", &userButton_);
}


// ---- State operations ---------------------------------------------------------------------

void LobbyController::setMessage(const std::string& text, bool modal, bool cancelButton) {
  messageShown_ = true;
  modal_ = modal;
  cancelButton_ = cancelButton;
  messageText_ = text;
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
  messageShown_ = false;
  promptMode_ = kNoPrompt;
  messageText_.clear();
  refreshUI();
}

void LobbyController::showTextPrompt(const std::string& text, LobbyInputMode mode) {
  messageShown_ = false;
  promptMode_ = kTextPrompt;
  promptText_ = text;
  // Each prompt starts empty: a refused code is typed anew.
  if (editBox_) editBox_->setText("");
  inputMode_ = static_cast<int>(mode);
  refreshUI();
}

void LobbyController::showChallengePrompt(const std::string& text) {
  messageShown_ = false;
  promptMode_ = kChallengePrompt;
  promptText_ = text;
  refreshUI();
}

void LobbyController::setPlayerList(int onlineCount, const std::vector<std::string>& names) {
  if (names != userNames_) userNames_ = names;
  onlineCount_ = onlineCount;
  rebuildPlayerList();
}

void LobbyController::refreshUI() {
  if (editBox_) editBox_->setInputMode(static_cast<EditBoxInputMode>(inputMode_));
  if (messageLabel_) {
    messageLabel_->setVisible(messageShown_);
    messageLabel_->setString(messageText_.c_str());
  }
  if (modalCancelButton_) modalCancelButton_->setVisible(messageShown_ && cancelButton_);
  if (textPromptLabel_) textPromptLabel_->setString(promptText_.c_str());
  if (challengePromptLabel_) challengePromptLabel_->setString(promptText_.c_str());
  if (fullscreenButton_) {
    fullscreenButton_->setVisible(messageShown_ && !modal_);
    fullscreenButton_->setOpacity(0);  // only catches the click
  }
  if (mainLayer_) mainLayer_->setVisible(!messageShown_ && promptMode_ == kNoPrompt);
  if (challengeLayer_) challengeLayer_->setVisible(!messageShown_ && promptMode_ == kChallengePrompt);
  const bool textShown = !messageShown_ && promptMode_ == kTextPrompt;
  if (textFieldLayer_) textFieldLayer_->setVisible(textShown);
  if (editBox_) editBox_->setVisible(textShown);
  // A hidden text box lets the keys go: the game's keys work again and nothing typed lands
  // in a box no one sees.
  if (!textShown) releaseKeys();
}

void LobbyController::releaseKeys() {
  CCEditBoxImpl* box = editBox_ ? editBox_->getImpl() : nullptr;
  if (box && box->isEditing()) box->closeKeyboard();
}

void LobbyController::forgetRows(size_t count) {
  for (size_t i = count; i < rows_.size(); ++i) rows_[i]->release();
  if (count < rows_.size()) rows_.resize(count);
  rowBindings_.truncateRows(count);
}

void LobbyController::rebuildPlayerList() {
  LOGOG_INFO("lobby: ");
  if (onlineCountLabel_) onlineCountLabel_->setString(toString(onlineCount_).c_str());
  if (!playerList_) {
    forgetRows(0);
    return;
  }
  // The rows of the last list are kept and get the new names: a list that changes while the
  // lobby shows costs only its new rows, not a file load for every name.
  forgetRows(std::min(rows_.size(), userNames_.size()));
  for (size_t i = 0; i < userNames_.size(); ++i) {
    const std::string& name = userNames_[i];
    LOGOG_INFO("   %s", name.c_str());
    if (i < rows_.size()) {
      auto* label = dynamic_cast<CCLabelBMFont*>(rowBindings_.rowNode(i, "username"));
      if (label && name != label->getString()) label->setString(name.c_str());
      continue;
    }
    rowBindings_.beginLoad();
    CCNode* row = mv::loadNode(kRowFile, this, false, false);
    rowBindings_.endLoad();
    if (!row) break;  // logged by the load; a row file that fails once fails for every name
    if (userNameLabel_) userNameLabel_->setString(name.c_str());
    if (userButton_) userButton_->setTag(static_cast<int>(i));
    rowBindings_.keepRow();
    row->retain();
    rows_.push_back(row);
  }
  rowBindings_.beginLoad();  // the kept rows hold the nodes; the fields name none
  const int total = mv::stackRows(playerList_, rows_);
  // The top of the list shows.
  playerList_->setContentOffset(CCPoint(0, playerList_->getViewSize().height - total), false);
}

// ---- The screen ----------------------------------------------------------------------------

CCNode* LobbyController::buildScreen() {
  bindings_.beginLoad();
  CCNode* root = mv::loadNode(kScreenFile, this, false, false);
  bindings_.endLoad();
  CC_SAFE_RELEASE(root_);
  root_ = root;
  editBox_ = nullptr;
  if (!root) {
    LOGOG_CRITICAL("LOBBY::the lobby screen %s is missing or broken", kScreenFile);
    return nullptr;
  }
  root->retain();
  root->ignoreAnchorPointForPosition(false);
  root->setAnchorPoint(CCPoint(0, 0));
  root->setPosition(CCPoint(0, 0));
  if (CCLayer* layer = dynamic_cast<CCLayer*>(root)) layer->setTouchPriority(-1);
  if (textFieldBg_) placeEditBox(textFieldBg_, 1.0f, this, editBox_);
  if (messageLabel_) {
    messageLabel_->setWidth(CCDirector::sharedDirector()->getWinSize().width * kMessageWidth);
    messageLabel_->setAlignment(kCCTextAlignmentCenter);
  }
  for (CCLabelBMFont* prompt : {textPromptLabel_, challengePromptLabel_}) {
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
  if (!messageShown_ || modal_) return;
  messageShown_ = false;
  refreshUI();
}

void LobbyController::onQuickmatch(CCObject*) { hub().requestQuickMatch(); }
void LobbyController::onInviteFriends(CCObject*) { hub().inviteFriend(); }
void LobbyController::onBack(CCObject*) { hub().leaveLobby(); }

void LobbyController::onOk(CCObject*) { hub().submitLobbyText(editBox_ ? editBox_->getText() : ""); }

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
  if (target == this && !bindings_.assign(name, node)) rowBindings_.assign(name, node);
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
