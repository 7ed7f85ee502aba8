// The controller of the in-game screen: a thin owner of the screen's parts (the board
// camera, the effect player, the selection bar, the log and chat, the dialogs and menu).
// It binds the named nodes of the screen's layouts into one table, each part declaring its
// own; shows the game as the event hub asks (the GameScreen port) by changing its state and
// marking the screen dirty, and brings every part up to date once a frame, before the
// screen is drawn; and turns clicks and keys into hub calls. It keeps no game state beyond
// what it shows.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BoardCamera.h"
#include "BoardView.h"
#include "CCBMemberVariableAssigner.h"
#include "CCBSelectorResolver.h"
#include "CCGeometry.h"
#include "CCLayer.h"
#include "CCObject.h"
#include "GameDialogs.h"
#include "GameLog.h"
#include "GameScreen.h"
#include "NodeBindings.h"
#include "SelectionBar.h"
#include "SpellEffectPlayer.h"

namespace cocos2d {
class CCLabelBMFont;
class CCLayer;
class CCLayerColor;
class CCMenuItemImage;
class CCNode;
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
                       private EffectStage {
 public:
  explicit GameController(EventDispatcher& hub);
  static GameController* create(EventDispatcher& hub) {
    return cocos2d::ccAutoreleaseIfInit(new GameController(hub), true);
  }
  ~GameController() override;
  GameController(const GameController&) = delete;
  GameController& operator=(const GameController&) = delete;

  EventDispatcher& hub() const { return *hub_; }
  BoardView& boardView() override { return *boardView_; }

  // ---- The parts ------------------------------------------------------------------------
  // The player of spell effects, board animations and the game's sounds.
  SpellEffectPlayer& effects() { return *effects_; }
  // The view of both towers: pan, zoom, focus, framing.
  BoardCamera& camera() { return camera_; }
  GameLog& gameLog() { return log_; }
  SelectionBar& bar() { return bar_; }
  // The like dialog, the locked shield's notice and the in-game menu.
  GameDialogs& dialogs() { return dialogs_; }

  // ---- Screen build (GameControllerBuild.cpp) --------------------------------------
  // Builds the screen's node tree from its layouts for the current window size; the
  // controller's state (messages, log, lists) is shown again on it.
  cocos2d::CCLayer* buildScreen();
  // The screen is entered again: effects whose steps a replacement of the scene dropped
  // run the rest of their time; the bar is built anew (its arrows bounce again).
  void screenEntered();
  // How many declared layout members the last build lacked.
  int missingMembers() const { return missingMembers_; }
  // Every bound node by its layout name.
  const mv::NodeBindings& bindings() const { return bindings_; }
  // The store shown in place of the bar (sandbox).
  void setStoreController(StoreController* store);

  // ---- The refresh -----------------------------------------------------------------------
  // When something shown changed, every part shows the state now. The screen calls it once a
  // frame, before it is drawn (and tests that run no frames before they look).
  void refreshIfChanged();
  // How many refreshes have run (one a frame at most, whatever a click changes).
  int refreshCount() const { return refreshCount_; }

  // ---- GameScreen ------------------------------------------------------------------
  void startGame() override;
  void showGameBoard() override;
  void startAnimation() override;
  void chooseTarget(const std::vector<BoardElem*>& candidates, const std::string& text,
                    const std::string& subtext) override;
  void showGameEnded(const std::string& text, GameResult result) override;
  void announceTurn(int turn) override;
  // The screen is marked to be brought up to date before it is drawn next.
  void refreshGui() override { invalidate(); }
  void setStoreShown(bool shown) override;
  void setOpponentName(const std::string& name) override { enemyTowerLabelText_ = name; }
  void showMessage(const std::string& text, const std::string& subtext) override;
  void showModalMessage(const std::string& text) override;
  void showFullscreenMessage(const std::string& text) override;
  void showTutorialMessage(const std::string& text, bool show) override;
  void closeMessage() override;
  void updateCounters(int mana, int dwarves) override;
  void setCardList(const std::vector<int>& cards) override;
  void setSpellList(const std::vector<StoredCard>& spells) override;
  void addLogLine(const std::string& name, const std::string& text, LogColour colour) override {
    log_.addLine(name, text, colour);
  }
  void updateEnemyTowerLabel() override;
  // Spell effects, board animations and sounds: the effect player's.
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

  // ---- BoardViewHost: the camera's places --------------------------------------------
  cocos2d::CCNode* getPlayerLayer(const Player* owner) override { return camera_.getPlayerLayer(owner); }
  cocos2d::CCPoint boardToLayerPoint(const Player* owner, int x, int y) override {
    return camera_.boardToLayerPoint(owner, x, y);
  }
  const Player* viewLocalPlayer() override { return localPlayer(); }
  void selectBoardElem(BoardElem* elem) override;

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

  // ---- State shown (read only) -------------------------------------------------------
  GuiMode guiMode() const { return guiMode_; }
  bool isMessageShown() const { return messageShown_; }
  bool isMessageFullscreen() const { return messageFullscreen_; }
  bool isMessageModal() const { return messageModal_; }
  const std::string& messageText() const { return messageText_; }
  const std::string& submessageText() const { return submessageText_; }
  const std::string& tutorialText() const { return tutorialText_; }
  const std::string& enemyTowerLabelText() const { return enemyTowerLabelText_; }
  bool isStoreShown() const { return storeShown_; }
  // The screen's root, its two layouts (the board's and the controls'), its input layer and
  // the name over the enemy tower (null without a screen).
  cocos2d::CCLayer* rootLayer() const { return rootLayer_; }
  cocos2d::CCNode* gameNode() const { return gameNode_; }
  cocos2d::CCNode* guiNode() const { return guiNode_; }
  TouchLayer* touchLayer() const { return touchLayer_; }
  cocos2d::CCLabelBMFont* enemyTowerLabel() const { return enemyTowerLabel_; }

 private:
  // ---- EffectStage (the effect player's view of the screen) ----------------------------
  void focusView(cocos2d::CCNode* layer, const cocos2d::CCPoint& point, float scale) override {
    camera_.focusView(layer, point, scale);
  }
  cocos2d::CCNode* shakenNode() override { return gameNode_; }
  cocos2d::CCNode* waterNode() override { return camera_.water(); }

  Player* localPlayer() const;
  GameDirector* director() const;
  bool gameOnline() const;
  std::string text(const std::string& key) const;
  bool setting(const char* key, bool fallback) const;
  void declareMembers();
  // Something shown changed: the screen is brought up to date before it is drawn next.
  void invalidate() { dirty_ = true; }
  // Every part shows the state.
  void refresh();
  // The parts of the refresh: which layers and texts show for the mode and the message.
  void showLayers();
  void showModeTexts();
  void showMessageTexts();
  void showOkMark();
  // The message panel and the tutorial panel fit around their texts.
  void layoutMessagePanel();
  void layoutTutorialPanel();
  void layoutFullscreenPanel();
  void selectSpellEntry(int index);
  void wrapMessages();
  // The parts of the build.
  void loadLayouts();
  void addInputLayer();
  void dressBoard();

  EventDispatcher* hub_;
  std::unique_ptr<BoardView> boardView_;
  BoardCamera camera_;
  GameLog log_;
  SelectionBar bar_;
  GameDialogs dialogs_;
  std::unique_ptr<SpellEffectPlayer> effects_;
  StoreController* storeController_ = nullptr;
  mv::NodeBindings bindings_;
  int missingMembers_ = 0;
  bool dirty_ = true;
  int refreshCount_ = 0;

  // Where the layout put our layer, the sun and the enemy's layer (kept at each build).
  cocos2d::CCPoint ourLayerHome_;
  cocos2d::CCPoint sunHome_;
  cocos2d::CCPoint enemyLayerHome_;
  // What the screen shows.
  GuiMode guiMode_ = GuiMode::Board;
  int shownMana_ = 0;
  int shownDwarves_ = 0;
  bool messageShown_ = false;
  bool messageFullscreen_ = false;
  bool messageModal_ = false;
  // The targets of the choice are all on the enemy's side: our layer hides.
  bool targetsOnEnemy_ = false;
  std::string messageText_;
  std::string submessageText_;
  std::string tutorialText_;
  std::string enemyTowerLabelText_;
  bool storeShown_ = false;
  // The tutorial's closing words are up: the board shown in the same step keeps them
  // until the player closes them.
  bool closingWordsUp_ = false;
  // The game ended in our victory: only then does its notice carry the positive OK mark.
  bool endedInVictory_ = false;
  // Where the layout puts the message panel's top edge (negative: not read yet).
  float messagePanelTop_ = -1;

  // The screen's nodes: made by the build, and bound from its layouts.
  cocos2d::CCLayer* rootLayer_ = nullptr;
  cocos2d::CCNode* gameNode_ = nullptr;
  cocos2d::CCNode* guiNode_ = nullptr;
  TouchLayer* touchLayer_ = nullptr;
  cocos2d::CCNode* storeNode_ = nullptr;
  cocos2d::CCLabelBMFont* enemyTowerLabel_ = nullptr;
  cocos2d::CCLayer* castgui_ = nullptr;
  cocos2d::CCMenuItemImage* cancelbtn_ = nullptr;
  cocos2d::CCMenuItemImage* okbtn_ = nullptr;
  cocos2d::CCLabelBMFont* message_ = nullptr;
  cocos2d::CCLabelBMFont* submessage_ = nullptr;
  cocos2d::CCLabelBMFont* tutorialmsg_ = nullptr;
  cocos2d::CCLabelBMFont* fullscreenmessage_ = nullptr;
  cocos2d::CCLayerColor* fulldarken_ = nullptr;
  cocos2d::CCLabelBMFont* dwarvescounter_ = nullptr;
  cocos2d::CCLabelBMFont* manacounter_ = nullptr;
  cocos2d::CCLayer* storelayer_ = nullptr;
  cocos2d::CCLayer* counterslayer_ = nullptr;
  cocos2d::CCNode* sun_ = nullptr;
  cocos2d::CCNode* enemyground_ = nullptr;
};
