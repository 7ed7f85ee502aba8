// The lobby screen's controller: owns the lobby's screen file, binds its named nodes and
// buttons, and shows the states the event hub asks for: the player list with the lobby's
// buttons, a message (plain, with a cancel button, or modal), the text prompt of the login
// and the invitation, and the challenge question. Every button goes to the hub; the
// controller keeps nothing but what it shows.
#pragma once

#include <string>
#include <vector>

#include "CCBMemberVariableAssigner.h"
#include "CCBSelectorResolver.h"
#include "CCEditBoxImpl.h"
#include "CCLayer.h"
#include "LobbyScreen.h"
#include "NodeBindings.h"

namespace cocos2d {
class CCLabelBMFont;
class CCMenuItemImage;
class CCNode;
namespace extension {
class CCEditBox;
class CCScale9Sprite;
class CCScrollView;
}  // namespace extension
}  // namespace cocos2d

class EventDispatcher;

class LobbyController : public cocos2d::CCObject,
                        public cocos2d::extension::CCBMemberVariableAssigner,
                        public cocos2d::extension::CCBSelectorResolver,
                        public cocos2d::extension::CCEditBoxDelegate,
                        public LobbyScreen {
 public:
  static constexpr const char* kScreenFile = "ccbi/screens/lobby.ccbi";
  static constexpr const char* kRowFile = "ccbi/screens/lobby-opponent.ccbi";

  // What promptMode says is asked.
  enum PromptMode { kNoPrompt = 0, kTextPrompt = 1, kChallengePrompt = 2 };

  // A controller whose buttons talk to `hub`.
  static LobbyController* create(EventDispatcher& hub);
  ~LobbyController() override;

  // ---- LobbyScreen: the hub's state operations --------------------------------------------
  void showMessage(const std::string& text) override;
  void showCancellableMessage(const std::string& text) override;
  void showModalMessage(const std::string& text) override;
  void showMainState() override;
  void showTextPrompt(const std::string& text, LobbyInputMode mode) override;
  void showChallengePrompt(const std::string& text) override;
  void setPlayerList(int onlineCount, const std::vector<std::string>& names) override;

  // Sets every bound node's visibility and text from the state.
  void refreshUI();
  // The text box stops taking the keys (its prompt hides, or the screen is left); a click on
  // the box gives them back.
  void releaseKeys();
  // One row per name, top-down in the server's order, the list scrolled to its top.
  void rebuildPlayerList();

  // ---- The screen ----------------------------------------------------------------------
  // Loads the screen anew with its text box and list; null (logged) when the file is missing
  // or broken. The state survives and shows on the new screen.
  cocos2d::CCNode* buildScreen();
  cocos2d::CCNode* root() const { return root_; }
  const mv::NodeBindings& bindings() const { return bindings_; }
  // The members of every row of the player list, row by row.
  const mv::NodeBindings& rowBindings() const { return rowBindings_; }

  // ---- Selectors -----------------------------------------------------------------------
  void onFullscreen(cocos2d::CCObject* sender);
  void onQuickmatch(cocos2d::CCObject* sender);
  void onInviteFriends(cocos2d::CCObject* sender);
  void onBack(cocos2d::CCObject* sender);
  void onOk(cocos2d::CCObject* sender);
  void onCancel(cocos2d::CCObject* sender);
  void onModalCancel(cocos2d::CCObject* sender);
  void onUserButton(cocos2d::CCObject* sender);
  void onChallengeOk(cocos2d::CCObject* sender);
  void onChallengeCancel(cocos2d::CCObject* sender);

  // ---- Screen-file and edit-box call-backs ---------------------------------------------
  bool onAssignCCBMemberVariable(cocos2d::CCObject* target, cocos2d::CCString* name,
                                 cocos2d::CCNode* node) override;
  cocos2d::SEL_MenuHandler onResolveCCBCCMenuItemSelector(cocos2d::CCObject* target,
                                                          cocos2d::CCString* name) override;
  cocos2d::extension::SEL_CCControlHandler onResolveCCBCCControlSelector(cocos2d::CCObject* target,
                                                                         cocos2d::CCString* name) override;
  void editBoxReturn(cocos2d::extension::CCEditBox* box) override;

  // ---- State, for the screen and its tests -----------------------------------------------
  const std::string& messageText() const { return messageText_; }
  const std::string& promptText() const { return promptText_; }
  int promptMode() const { return promptMode_; }
  bool isMessageShown() const { return messageShown_; }
  bool isModal() const { return modal_; }
  bool hasCancelButton() const { return cancelButton_; }
  const std::vector<std::string>& userNames() const { return userNames_; }
  int onlineCount() const { return onlineCount_; }
  int inputMode() const { return inputMode_; }
  cocos2d::extension::CCEditBox* editBox() const { return editBox_; }
  cocos2d::extension::CCScrollView* playerList() const { return playerList_; }

  // The hub the buttons talk to.
  EventDispatcher& hub() const { return hub_; }

 private:
  explicit LobbyController(EventDispatcher& hub);
  bool init();
  void declareMembers();
  void setMessage(const std::string& text, bool modal, bool cancelButton);
  // Lets go of the player rows from `count` on.
  void forgetRows(size_t count);

  mv::NodeBindings bindings_;
  mv::NodeBindings rowBindings_;
  EventDispatcher& hub_;

  std::string messageText_;
  std::string promptText_;
  int promptMode_ = kNoPrompt;
  cocos2d::CCNode* root_ = nullptr;
  cocos2d::CCLayer* mainLayer_ = nullptr;
  cocos2d::CCLayer* textFieldLayer_ = nullptr;
  cocos2d::CCLayer* challengeLayer_ = nullptr;
  cocos2d::CCLabelBMFont* userNameLabel_ = nullptr;
  cocos2d::CCLabelBMFont* onlineCountLabel_ = nullptr;
  cocos2d::extension::CCScrollView* playerList_ = nullptr;
  cocos2d::CCMenuItemImage* userButton_ = nullptr;
  cocos2d::CCLabelBMFont* messageLabel_ = nullptr;
  cocos2d::CCLabelBMFont* textPromptLabel_ = nullptr;
  cocos2d::CCLabelBMFont* challengePromptLabel_ = nullptr;
  cocos2d::CCMenuItemImage* fullscreenButton_ = nullptr;
  cocos2d::CCMenuItemImage* modalCancelButton_ = nullptr;
  cocos2d::extension::CCScale9Sprite* textFieldBg_ = nullptr;
  cocos2d::extension::CCEditBox* editBox_ = nullptr;
  bool messageShown_ = false;
  bool modal_ = false;
  bool cancelButton_ = false;
  std::vector<std::string> userNames_;
  // The player list's rows, one a name, referenced while they show.
  std::vector<cocos2d::CCNode*> rows_;
  int onlineCount_ = 0;
  int inputMode_ = static_cast<int>(LobbyInputMode::SingleLine);
};

