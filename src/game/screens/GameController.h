// The controller of the in-game screen. It binds the named nodes of the screen's
// layouts, shows the game as the event hub asks (the GameScreen port), moves and zooms
// the view of both towers, gives the board view its layers and turns clicks and keys
// into hub calls. It keeps no game state beyond what it shows.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BoardCamera.h"
#include "BoardView.h"
#include "CCBMemberVariableAssigner.h"
#include "CCBSelectorResolver.h"
#include "CCEditBox.h"
#include "CCGeometry.h"
#include "CCObject.h"
#include "NodeBindings.h"
#include "SelectionBar.h"
#include "GameDialogs.h"
#include "GameLog.h"
#include "GameScreen.h"
#include "SpellEffectPlayer.h"

namespace cocos2d {
class CCAction;
class CCArray;
class CCFiniteTimeAction;
class CCLabelBMFont;
class CCLayer;
class CCLayerColor;
class CCMenuItemImage;
class CCNode;
class CCSprite;
namespace extension {
class CCScale9Sprite;
class CCScrollView;
}  // namespace extension
}  // namespace cocos2d

class BoardElem;
class EventDispatcher;
class GameDirector;
class Player;
class StoreController;
class TouchLayer;

enum class GuiMode : int32_t {
  Board = 0,       // the player chooses cards and spells
  Animation = 1,   // the combat queues are being shown
  ChooseTarget = 2,
  GameEnded = 3,
};

class GameController : public cocos2d::CCObject,
                       public cocos2d::extension::CCBMemberVariableAssigner,
                       public cocos2d::extension::CCBSelectorResolver,
                       public GameScreen,
                       public BoardViewHost,
                       public EffectStage {
 public:

  explicit GameController(EventDispatcher& hub);
  ~GameController() override;
  GameController(const GameController&) = delete;
  GameController& operator=(const GameController&) = delete;

  EventDispatcher& hub() const { return *hub_; }
  BoardView& boardView() override { return *boardView_; }
  // The player of spell effects, board animations and the game's sounds.
  SpellEffectPlayer& effects() { return *effects_; }
  // The view of both towers: pan, zoom, focus, framing.
  BoardCamera& camera() { return camera_; }
  // The log and the chat.
  GameLog& gameLog() { return log_; }
  // The selection bar, and the dialogs with the in-game menu.
  SelectionBar& bar() { return bar_; }
  GameDialogs& dialogs() { return dialogs_; }

  // ---- Screen build (GameControllerBuild.cpp) --------------------------------------
  // Builds the screen's node tree from its layouts for the current window size; the
  // controller's state (messages, log, lists) is shown again on it.
  cocos2d::CCLayer* buildScreen();
  // The screen is taken down (the board view keeps its nodes for the next one).
  void screenRemoved();
  // How many declared layout members the last build lacked.
  int missingMembers() const { return missingMembers_; }
  mv::NodeBindings& bindings() { return bindings_; }

  // ---- GameScreen ------------------------------------------------------------------
  void startGame() override;
  void showGameBoard() override;
  void startAnimation() override;
  void chooseTarget(const std::vector<BoardElem*>& candidates, const std::string& text,
                    const std::string& subtext) override;
  void showGameEnded(const std::string& text) override;
  void announceTurn(int turn) override;
  void refreshGui() override;
  void setStoreShown(bool shown) override;
  void setOpponentName(const std::string& name) override { enemyTowerLabelText = name; }
  void showMessage(const std::string& text, const std::string& subtext) override;
  void showModalMessage(const std::string& text) override;
  void showFullscreenMessage(const std::string& text) override;
  void showTutorialMessage(const std::string& text, bool show) override;
  void closeMessage() override;
  void updateCounters(int mana, int dwarves) override;
  void setCardList(const std::vector<int>& cards) override { bar_.setCards(cards); }
  void setSpellList(const std::vector<StoredCard>& spells) override { bar_.setSpells(spells); }
  void addLogLine(const std::string& name, const std::string& text, LogColour colour) override {
    log_.addLine(name, text, colour);
  }
  void updateEnemyTowerLabel() override;

  // ---- Spell effects, board animations and sounds: the effect player's -----------------
  void showSpellEffect(const AnimateSpellEvent& record, Player& caller, SpellCompletion done) override {
    effects_->showSpellEffect(record, caller, std::move(done));
  }
  void collapseElement(BoardElem& elem) override { effects_->collapseElement(elem); }
  void showExplosion(BoardElem& elem) override { effects_->showExplosion(elem); }
  void playRubbleSound(BoardElem& elem) override { effects_->playRubbleSound(elem); }
  void updateFireSound(bool ofLocalPlayer, int level) override { effects_->updateFireSound(ofLocalPlayer, level); }
  void playPutSpellSound(bool local) override { effects_->playEventSound(local, "sounds/put-spell.wav"); }
  void playBuildRoomSound(bool local) override { effects_->playEventSound(local, "sounds/build-room.wav"); }
  void playBuildBlockSound(bool local) override { effects_->playEventSound(local, "sounds/build-block.wav"); }
  void playLevitronousSound(bool local) override { effects_->playEventSound(local, "sounds/levitronous.wav"); }
  void playArmorSound(bool local) override { effects_->playEventSound(local, "sounds/armor.wav"); }
  void playDoorsSound(bool local) override { effects_->playEventSound(local, "sounds/doors.wav"); }
  void playFenceSound(bool local) override { effects_->playEventSound(local, "sounds/fence.wav"); }
  // The screen is entered again: effects whose steps a replacement of the scene dropped
  // run the rest of their time; the bar is built anew (its arrows bounce again).
  void screenEntered();

  // The store shown in place of the bar (sandbox).
  void setStoreController(StoreController* store) {
    storeController_ = store;
    dialogs_.setStoreController(store);
  }

  // ---- Keys and pointer (from the board's input layer) -------------------------------
  void onReturnKey();
  void onEscapeKey();
  // A click or tap on the board: closes a full-screen message the player may close.
  void closeFullscreenMessageByTap();
  // The digit actions: picks the shown card or spell button `index` (0..9).
  void selectByHotkey(int index);
  // A card of the bar picked (button or digit): chosen, or the like dialog when it is locked.
  void pickCard(int id);

  // The game-end notice follows the view, clear of the enemy tower's name (each frame).
  void keepNoticeInPlace();

  // ---- BoardViewHost and EffectStage: the camera's places ------------------------------
  cocos2d::CCNode* boardLayerFor(const Player* owner) override { return camera_.layerFor(owner); }
  cocos2d::CCPoint boardToLayerPoint(const Player* owner, int x, int y) override {
    return camera_.cellPoint(owner, x, y);
  }
  const Player* viewLocalPlayer() override { return localPlayer(); }
  void selectBoardElem(BoardElem* elem) override;
  void focusView(cocos2d::CCNode* layer, const cocos2d::CCPoint& point, float scale) override {
    camera_.focusView(layer, point, scale);
  }
  cocos2d::CCNode* shakenNode() override { return gameNode; }
  cocos2d::CCNode* waterNode() override { return camera_.water(); }

  // ---- Layout binding ----------------------------------------------------------------
  bool onAssignCCBMemberVariable(cocos2d::CCObject* target, cocos2d::CCString* name,
                                 cocos2d::CCNode* node) override;
  cocos2d::SEL_MenuHandler onResolveCCBCCMenuItemSelector(cocos2d::CCObject* target,
                                                          cocos2d::CCString* name) override;

  // ---- Selectors ---------------------------------------------------------------------
  void onCard(cocos2d::CCObject* sender);
  void onMenu(cocos2d::CCObject* sender);
  void onOk(cocos2d::CCObject* sender);
  void onSpell(cocos2d::CCObject* sender);
  void onEndPhase(cocos2d::CCObject* sender);
  void onCancel(cocos2d::CCObject* sender);
  void onFblikeOk(cocos2d::CCObject* sender);
  void onFblikeCancel(cocos2d::CCObject* sender);
  void onNotification(cocos2d::CCObject* sender);
  void onMenuGameMusic(cocos2d::CCObject* sender);
  void onMenuRoomZoomIn(cocos2d::CCObject* sender);
  void onMenuAlwaysShowOurTower(cocos2d::CCObject* sender);
  void onMenuExitToMenu(cocos2d::CCObject* sender);
  void onMenuReturnToGame(cocos2d::CCObject* sender);

  // ---- State shown (read by the scene and the tests) ---------------------------------
  int shownMana = 0;
  int shownDwarves = 0;
  bool messageShown = false;
  bool messageFullscreen = false;
  bool messageModal = false;
  bool targetsOnEnemy = false;
  std::string messageText;
  std::string submessageText;
  std::string tutorialText;
  GuiMode guiMode = GuiMode::Board;
  cocos2d::CCLabelBMFont* enemyTowerLabel = nullptr;
  std::string enemyTowerLabelText;

  cocos2d::CCNode* gameNode = nullptr;
  cocos2d::CCNode* guiNode = nullptr;
  cocos2d::CCLayer* castgui = nullptr;
  cocos2d::CCLayer* rootLayer = nullptr;
  cocos2d::CCMenuItemImage* cancelbtn = nullptr;
  cocos2d::CCMenuItemImage* okbtn = nullptr;
  cocos2d::CCLabelBMFont* message = nullptr;
  cocos2d::CCLabelBMFont* submessage = nullptr;
  cocos2d::CCLabelBMFont* tutorialmsg = nullptr;
  cocos2d::CCLabelBMFont* fullscreenmessage = nullptr;
  cocos2d::CCLayerColor* fulldarken = nullptr;
  cocos2d::CCLabelBMFont* dwarvescounter = nullptr;
  cocos2d::CCLabelBMFont* manacounter = nullptr;
  cocos2d::CCLayer* storelayer = nullptr;
  cocos2d::CCLayer* counterslayer = nullptr;
  TouchLayer* touchLayer = nullptr;
  cocos2d::CCNode* storeNode = nullptr;
  bool storeShown = false;

 private:
  Player* localPlayer() const;
  GameDirector* director() const;
  bool gameOnline() const;
  std::string text(const std::string& key) const;
  bool setting(const char* key, bool fallback) const;
  void declareMembers();
  // The message panel and the tutorial panel fit around their texts.
  void layoutMessagePanel();
  void layoutTutorialPanel();
  void layoutFullscreenPanel();
  void selectSpellEntry(int index);
  void wrapMessages();

  EventDispatcher* hub_;
  std::unique_ptr<BoardView> boardView_;
  BoardCamera camera_;
  GameLog log_;
  SelectionBar bar_;
  GameDialogs dialogs_;
  StoreController* storeController_ = nullptr;
  std::unique_ptr<SpellEffectPlayer> effects_;
  // The tutorial's closing words are up: the board shown in the same step keeps them
  // until the player closes them.
  bool closingWordsUp_ = false;
  // The game ended in our victory: only then does its notice carry the positive OK mark.
  bool endedInVictory_ = false;
  // Where the layout puts the message panel's top edge (negative: not read yet).
  float messagePanelTop_ = -1;
  cocos2d::CCNode* sun_ = nullptr;
  cocos2d::CCNode* enemyground_ = nullptr;
  mv::NodeBindings bindings_;
  int missingMembers_ = 0;
};
