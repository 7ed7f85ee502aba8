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
  // The text box stops taking the keys (the screen is left); the next refresh gives them back
  // when its prompt shows.
  void releaseKeys() { focusTextBox(false); }
  // One row per name, top-down in the server's order, the list scrolled to its top.
  void rebuildPlayerList();

  // ---- The screen ----------------------------------------------------------------------
  // Loads the screen anew with its text box and list; null (logged) when the file is missing
  // or broken. The state survives and shows on the new screen.
  cocos2d::CCNode* buildScreen();
  cocos2d::CCNode* root() const { return m_root; }
  const mv::NodeBindings& bindings() const { return m_bindings; }
  // The members of every row of the player list, row by row.
  const mv::NodeBindings& rowBindings() const { return m_rowBindings; }

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
  const std::string& messageText() const { return m_messageText; }
  const std::string& promptText() const { return m_promptText; }
  int promptMode() const { return m_promptMode; }
  bool isMessageShown() const { return m_messageShown; }
  bool isModal() const { return m_modal; }
  bool hasCancelButton() const { return m_cancelButton; }
  const std::vector<std::string>& userNames() const { return m_userNames; }
  int onlineCount() const { return m_onlineCount; }
  int inputMode() const { return m_inputMode; }
  cocos2d::extension::CCEditBox* editBox() const { return m_editBox; }
  cocos2d::extension::CCScrollView* playerList() const { return m_playerList; }

  // The hub the buttons talk to.
  EventDispatcher& hub() const { return m_hub; }

 private:
  explicit LobbyController(EventDispatcher& hub);
  bool init();
  void declareMembers();
  void setMessage(const std::string& text, bool modal, bool cancelButton);
  // The panel behind the message covers the text and, when shown, its cancel button.
  void fitMessagePanel();
  // The text box takes the keys while its prompt shows, and lets them go when it hides.
  void focusTextBox(bool shown);
  // Lets go of the player rows from `count` on.
  void forgetRows(size_t count);

  mv::NodeBindings m_bindings;
  mv::NodeBindings m_rowBindings;
  EventDispatcher& m_hub;

  std::string m_messageText;
  std::string m_promptText;
  int m_promptMode = kNoPrompt;
  cocos2d::CCNode* m_root = nullptr;
  cocos2d::CCLayer* m_mainLayer = nullptr;
  cocos2d::CCLayer* m_textFieldLayer = nullptr;
  cocos2d::CCLayer* m_challengeLayer = nullptr;
  cocos2d::CCLabelBMFont* m_userNameLabel = nullptr;
  cocos2d::CCLabelBMFont* m_onlineCountLabel = nullptr;
  cocos2d::extension::CCScrollView* m_playerList = nullptr;
  cocos2d::CCMenuItemImage* m_userButton = nullptr;
  cocos2d::CCLabelBMFont* m_messageLabel = nullptr;
  cocos2d::CCLabelBMFont* m_textPromptLabel = nullptr;
  cocos2d::CCLabelBMFont* m_challengePromptLabel = nullptr;
  cocos2d::CCMenuItemImage* m_fullscreenButton = nullptr;
  cocos2d::CCMenuItemImage* m_modalCancelButton = nullptr;
  cocos2d::extension::CCScale9Sprite* m_textFieldBg = nullptr;
  cocos2d::extension::CCEditBox* m_editBox = nullptr;
  // Added to the layout's names: the panel behind a message.
  cocos2d::extension::CCScale9Sprite* m_messageBg = nullptr;
  bool m_messageShown = false;
  bool m_modal = false;
  bool m_cancelButton = false;
  std::vector<std::string> m_userNames;
  // The player list's rows, one a name, referenced while they show.
  std::vector<cocos2d::CCNode*> m_rows;
  int m_onlineCount = 0;
  int m_inputMode = static_cast<int>(LobbyInputMode::SingleLine);
};

