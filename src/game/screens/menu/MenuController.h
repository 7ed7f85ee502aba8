// The main menu's controller: owns the menu screen file, binds its named nodes and
// buttons, shows the message states the hub asks for, fills the scenario list and plays
// the title intro. Every button goes to the event hub; the controller keeps no game state.
#pragma once

#include <string>

#include "CCBMemberVariableAssigner.h"
#include "CCBSelectorResolver.h"
#include "CCEditBoxImpl.h"
#include "CCGeometry.h"
#include "NodeBindings.h"

namespace cocos2d {
class CCCallFuncND;
class CCLabelBMFont;
class CCLayer;
class CCMenu;
class CCMenuItemImage;
class CCNode;
class CCSprite;
namespace extension {
class CCEditBox;
class CCScale9Sprite;
class CCScrollView;
}  // namespace extension
}  // namespace cocos2d

class EventDispatcher;

class MenuController : public cocos2d::CCObject,
                       public cocos2d::extension::CCBMemberVariableAssigner,
                       public cocos2d::extension::CCBSelectorResolver,
                       public cocos2d::extension::CCEditBoxDelegate {
 public:
  static constexpr const char* kScreenFile = "ccbi/screens/menu.ccbi";
  static constexpr const char* kRowFile = "ccbi/screens/scenario-elem.ccbi";
  static constexpr float kIntroSeconds = 17.2f;

  // A controller whose buttons talk to `hub`.
  static MenuController* create(EventDispatcher& hub);
  ~MenuController() override;

  // ---- Message states (the hub's) ----------------------------------------------------------
  void showMessage(std::string text);
  void showModalMessage(std::string text);
  void showMainState();
  // Sets every bound node's visibility and text from the state.
  void refresh();

  // ---- The screen ----------------------------------------------------------------------
  // Loads the screen anew; null (logged) when the file is missing or broken.
  cocos2d::CCNode* loadScreen();
  cocos2d::CCNode* root() const { return root_; }
  const mv::NodeBindings& bindings() const { return bindings_; }
  // The members of the scenario row loaded last.
  const mv::NodeBindings& rowBindings() const { return rowBindings_; }

  // ---- Scenario list -------------------------------------------------------------------
  void fillScenarioList();
  // Shows or hides the list; the main buttons take no clicks while it shows.
  void showScenarioList(bool shown);
  bool isScenarioListShown() const;

  // ---- Title intro ---------------------------------------------------------------------
  void prepareIntro();
  void playIntro();
  void skipIntro();
  void finishIntro();
  void showMagicStars();
  // Where the camera goes and how fast: a point of "front", the scale there.
  struct ZoomRequest {
    cocos2d::CCPoint point;
    float duration = 0;
    float scale = 1;
  };
  // A call action that, when it runs, moves the camera to `point` of "front" at `scale`.
  // The action keeps the request, so a stopped intro leaves nothing behind.
  cocos2d::CCCallFuncND* makeZoomAction(float duration, cocos2d::CCPoint point, float scale);
  // request: a ZoomRequest; the node is not used.
  void zoomToPoint(cocos2d::CCNode* node, void* request);
  bool isIntroRunning() const { return introRunning_; }

  // ---- Selectors -----------------------------------------------------------------------
  void onFullscreen(cocos2d::CCObject* sender);
  void onLobby(cocos2d::CCObject* sender);
  void onSingle(cocos2d::CCObject* sender);
  void onScenario(cocos2d::CCObject* sender);
  void onScenarios(cocos2d::CCObject* sender);
  void onTutorial(cocos2d::CCObject* sender);
  void onCredits(cocos2d::CCObject* sender);
  void onOk(cocos2d::CCObject* sender);
  void onCancel(cocos2d::CCObject* sender);
  void onExit(cocos2d::CCObject* sender);
  void onStore(cocos2d::CCObject* sender);
  void onFacebook(cocos2d::CCObject* sender);
  void onSteam(cocos2d::CCObject* sender);
  void onIos(cocos2d::CCObject* sender);
  void onAndroid(cocos2d::CCObject* sender);
  void onMoregames(cocos2d::CCObject* sender);

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
  bool isMessageShown() const { return messageShown_; }
  bool isModal() const { return modal_; }
  int mode() const { return mode_; }
  cocos2d::extension::CCEditBox* editBox() const { return editBox_; }
  int scenarioRows() const { return scenarioRows_; }

  // The hub the buttons talk to.
  EventDispatcher& hub() const { return hub_; }

 private:
  explicit MenuController(EventDispatcher& hub);
  bool init();
  void declareMembers();
  void setMessage(std::string text, bool modal);
  void addWind();
  // Stops every action of the intro's nodes.
  void stopIntro();
  // The title as the intro leaves it: struck, the credits gone, the bird on its perch.
  void showIntroEnd();

  mv::NodeBindings bindings_;
  mv::NodeBindings rowBindings_;
  EventDispatcher& hub_;

  std::string messageText_;
  std::string promptText_;
  int mode_ = 0;
  cocos2d::CCNode* root_ = nullptr;

  cocos2d::CCLayer* mainlayer_ = nullptr;
  cocos2d::CCLayer* textfieldlayer_ = nullptr;
  cocos2d::CCLabelBMFont* message_ = nullptr;
  cocos2d::CCLabelBMFont* textprompt_ = nullptr;
  cocos2d::CCLabelBMFont* exittxt_ = nullptr;
  cocos2d::CCLabelBMFont* storetxt_ = nullptr;
  cocos2d::CCMenuItemImage* fullscreenbtn_ = nullptr;
  cocos2d::CCMenuItemImage* ios_ = nullptr;
  cocos2d::CCMenuItemImage* android_ = nullptr;
  cocos2d::CCMenuItemImage* exit_ = nullptr;
  cocos2d::CCMenuItemImage* store_ = nullptr;
  cocos2d::extension::CCScale9Sprite* textfieldbg_ = nullptr;
  cocos2d::extension::CCScale9Sprite* exitbg_ = nullptr;
  cocos2d::extension::CCScale9Sprite* storebg_ = nullptr;
  cocos2d::extension::CCEditBox* editBox_ = nullptr;
  cocos2d::CCSprite* bird_ = nullptr;
  cocos2d::CCSprite* crack_ = nullptr;
  cocos2d::CCSprite* bolt_ = nullptr;
  cocos2d::CCLayer* front_ = nullptr;
  cocos2d::CCLayer* back_ = nullptr;
  cocos2d::CCLabelBMFont* creditslbl_ = nullptr;
  cocos2d::CCNode* birdstart_ = nullptr;
  cocos2d::CCNode* birdfinish1_ = nullptr;
  cocos2d::CCNode* birdfinish2_ = nullptr;
  cocos2d::CCNode* magicstars_ = nullptr;
  cocos2d::CCNode* startinglogo_ = nullptr;
  cocos2d::extension::CCScrollView* singlegamelist_ = nullptr;
  cocos2d::CCLayer* singlegamemenu_ = nullptr;
  cocos2d::CCLabelBMFont* scenarioname_ = nullptr;
  cocos2d::CCMenuItemImage* scenariobtn_ = nullptr;
  // Added to the layout's names: the menu of the main buttons (idle while the scenario list
  // shows) and the panel behind a message.

  bool messageShown_ = false;
  bool modal_ = false;
  bool introRunning_ = false;
  bool introPlayed_ = false;  // the intro ended at least once
  int scenarioRows_ = 0;
};
