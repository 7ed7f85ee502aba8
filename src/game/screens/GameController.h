// The controller of the in-game screen. It binds the named nodes of the screen's
// layouts, shows the game as the event hub asks (the GameScreen port), moves and zooms
// the view of both towers, gives the board view its layers and turns clicks and keys
// into hub calls. It keeps no game state beyond what it shows.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BoardView.h"
#include "CCBMemberVariableAssigner.h"
#include "CCBSelectorResolver.h"
#include "CCEditBox.h"
#include "CCGeometry.h"
#include "CCObject.h"
#include "NodeBindings.h"
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
class TouchLayer;

enum class GuiMode : int32_t {
  Board = 0,       // the player chooses cards and spells
  Animation = 1,   // the combat queues are being shown
  ChooseTarget = 2,
  GameEnded = 3,
};

// One line of the chat and game log.
struct LogRecord {
  std::string name;
  std::string text;
  LogColour colour;
};

class GameController : public cocos2d::CCObject,
                       public cocos2d::extension::CCBMemberVariableAssigner,
                       public cocos2d::extension::CCBSelectorResolver,
                       public cocos2d::extension::CCEditBoxDelegate,
                       public GameScreen,
                       public BoardViewHost,
                       public EffectStage {
 public:
  // Depth factors of the two layers: the enemy's moves at 0.8 of our position and is
  // drawn at 0.7 of our scale.
  static constexpr float kEnemyPositionFactor = 0.8f;
  static constexpr float kEnemyScaleFactor = 0.7f;
  static constexpr float kMinZoom = 1.0f;
  static constexpr float kMaxZoom = 2.0f;
  static constexpr float kFocusSeconds = 0.5f;
  // Scroll speed of the arrow keys, pixels a second.
  static constexpr float kScrollSpeed = 500.0f;
  // The longest chat line the lobby passes on, in bytes; the chat box takes at most
  // kChatMaxChars characters, which stay under it in any script.
  static constexpr std::size_t kChatMaxBytes = 2000;
  static constexpr int kChatMaxChars = 500;
  // The log builds and shows this many of its newest lines; its records stay for the run.
  static constexpr std::size_t kLogShownLines = 200;
  // The layouts of the selection bar.
  static constexpr const char* kBarHeaderFile = "ccbi/screens/build-sequence-element.ccbi";
  static constexpr const char* kCardButtonFile = "ccbi/screens/build_select.ccbi";
  static constexpr const char* kSpellButtonFile = "ccbi/screens/spell_select.ccbi";

  explicit GameController(EventDispatcher& hub);
  ~GameController() override;
  GameController(const GameController&) = delete;
  GameController& operator=(const GameController&) = delete;

  EventDispatcher& hub() const { return *hub_; }
  BoardView& boardView() override { return *boardView_; }
  // The player of spell effects, board animations and the game's sounds.
  SpellEffectPlayer& effects() { return *effects_; }

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
  void setCardList(const std::vector<int>& cards) override;
  void setSpellList(const std::vector<StoredCard>& spells) override;
  void addLogLine(const std::string& name, const std::string& text, LogColour colour) override;
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

  // ---- Selection bar, like dialog, in-game menu (GameControllerBar.cpp) -----------------
  // The bar for a player state: cards in state 2, spells in 4, 5 and 7, else empty.
  void showPhaseBar(int state);
  cocos2d::CCNode* buildCardSelection(const std::string& title, const std::vector<int>& cards);
  cocos2d::CCNode* buildSpellSelection(const std::string& title, const std::vector<StoredCard>& spells);
  // The order of card ids in the bars: ARCHMAGE first, then by category, then by id.
  static bool cardOrderLess(int a, int b);
  void showLikeDialog(const std::string& title, const std::string& description, const std::string& image);
  void hideLikeDialog(bool closeStore);
  void refreshMenuToggles();
  void setStoreController(class StoreController* store) { storeController = store; }

  // ---- Chat and game log (GameControllerLog.cpp) ----------------------------------------
  // The log's view made anew from every record (a new screen).
  void layoutLog();
  // The chat box: a line typed and sent with RETURN.
  void editBoxReturn(cocos2d::extension::CCEditBox* editBox) override;
  // Logged, so a watcher of the log knows the box has the keys.
  void editBoxEditingDidBegin(cocos2d::extension::CCEditBox* editBox) override;
  // The lines the log's view holds.
  std::size_t logLinesShown() const;
  // The text of a log record as drawn: the text alone, or "name: text".
  static std::string logLineText(const LogRecord& record);
  // The colour of each character (UTF-8 characters) of a record's line.
  static std::vector<LogColour> logLineColours(const LogRecord& record);

  // ---- Keys and pointer (from the board's input layer) -------------------------------
  void onReturnKey();
  void onEscapeKey();
  // The chat box stops taking the keys (it is hidden, or the screen goes).
  void releaseChatKeys();
  // A click or tap on the board: closes a full-screen message the player may close.
  void closeFullscreenMessageByTap();
  // The digit actions: picks the shown card or spell button `index` (0..9).
  void selectByHotkey(int index);
  // A card of the bar picked (button or digit): chosen, or the like dialog when it is locked.
  void pickCard(int id);

  // ---- The board view's geometry and motion (GameControllerView.cpp) ----------------
  // (boardToLayerPoint: the BoardViewHost operation below.)
  cocos2d::CCPoint elemToLayerPoint(BoardElem* elem);
  cocos2d::CCNode* getPlayerLayer(const Player* player) { return boardLayerFor(player); }
  void setViewPosition(const cocos2d::CCPoint& position);
  void moveView(const cocos2d::CCPoint& delta);
  void zoomView(float scale, const cocos2d::CCPoint& screenPoint);
  void zoomBy(float delta);
  void focusView(cocos2d::CCNode* layer, const cocos2d::CCPoint& point, float scale) override;
  void focusElement(BoardElem* elem, float scale);
  cocos2d::CCPoint ourTowerPoint();
  void focusOurTower();
  void zoomToTargets(const std::vector<BoardElem*>& elems);
  // Our ground and the lake fade with our layer (their tiles are drawn by batch nodes,
  // which a fading layer does not reach); run every frame, acts on a change.
  void fadeGroundWithOurLayer();
  // The game-end notice follows the view, clear of the enemy tower's name (each frame).
  void keepNoticeInPlace();

  // ---- BoardViewHost -----------------------------------------------------------------
  // "ourlayer" for the local player, else "enemylayer".
  cocos2d::CCNode* boardLayerFor(const Player* owner) override;
  // The layer position of cell (x, y) of the player's board: its side's position node
  // plus ((x - 20) * 64, (y - 20) * 64).
  cocos2d::CCPoint boardToLayerPoint(const Player* owner, int x, int y) override;
  const Player* viewLocalPlayer() override { return localPlayer(); }
  void selectBoardElem(BoardElem* elem) override;

  // ---- EffectStage (besides the operations above) --------------------------------------
  cocos2d::CCNode* shakenNode() override { return gameNode; }
  cocos2d::CCNode* waterNode() override { return water; }

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
  cocos2d::CCPoint ourLayerHome, sunHome, enemyLayerHome;
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
  std::vector<int> cardList;
  std::vector<StoredCard> spellList;
  cocos2d::CCLabelBMFont* enemyTowerLabel = nullptr;
  std::string enemyTowerLabelText;

  // Bound nodes: the selection bar's header and the last button loaded.
  cocos2d::CCLabelBMFont* sequencename = nullptr;
  cocos2d::CCLayer* sequencebuildelem = nullptr;
  cocos2d::CCMenuItemImage* endphasebtn = nullptr;
  cocos2d::CCSprite* arrow_phaseend = nullptr;
  cocos2d::CCSprite* arrow = nullptr;
  cocos2d::CCLabelBMFont* cardname = nullptr;
  cocos2d::CCSprite* cardsprite = nullptr;
  cocos2d::CCMenuItemImage* cardbtn = nullptr;
  cocos2d::CCLabelBMFont* spellqty = nullptr;
  cocos2d::CCLabelBMFont* hotkey = nullptr;
  cocos2d::CCSprite* spellicon = nullptr;
  cocos2d::CCSprite* spellcostsprite = nullptr;
  cocos2d::CCMenuItemImage* spellbtn = nullptr;
  cocos2d::CCLabelBMFont* spellname = nullptr;
  cocos2d::CCLabelBMFont* spellcostlbl = nullptr;
  cocos2d::CCNode* gameNode = nullptr;
  cocos2d::CCNode* guiNode = nullptr;
  cocos2d::CCLayer* castgui = nullptr;
  cocos2d::CCLayer* turnseqqui = nullptr;
  cocos2d::CCLayer* rootLayer = nullptr;
  cocos2d::extension::CCScrollView* turnseq = nullptr;
  cocos2d::CCMenuItemImage* cancelbtn = nullptr;
  cocos2d::CCMenuItemImage* okbtn = nullptr;
  cocos2d::CCLabelBMFont* message = nullptr;
  cocos2d::CCLabelBMFont* submessage = nullptr;
  cocos2d::CCLabelBMFont* tutorialmsg = nullptr;
  cocos2d::CCLabelBMFont* fullscreenmessage = nullptr;
  cocos2d::CCLayerColor* fulldarken = nullptr;
  cocos2d::CCLabelBMFont* dwarvescounter = nullptr;
  cocos2d::CCLabelBMFont* manacounter = nullptr;
  cocos2d::CCLayer* viewport = nullptr;
  cocos2d::CCLayer* water = nullptr;
  cocos2d::CCLayer* storelayer = nullptr;
  cocos2d::CCLayer* counterslayer = nullptr;
  cocos2d::CCLayer* ourlayer = nullptr;
  cocos2d::CCLayer* enemylayer = nullptr;
  cocos2d::extension::CCScrollView* chatlog = nullptr;
  cocos2d::extension::CCScale9Sprite* chattextfieldbg = nullptr;
  cocos2d::CCLayer* chat = nullptr;
  cocos2d::CCLayer* fblike = nullptr;
  cocos2d::CCSprite* fblike_sprite = nullptr;
  cocos2d::CCLabelBMFont* fblike_name = nullptr;
  cocos2d::CCLabelBMFont* fblike_desc = nullptr;
  cocos2d::CCMenuItemImage* fblike_okbtn = nullptr;
  cocos2d::CCLayer* notification = nullptr;
  cocos2d::CCSprite* notification_sprite = nullptr;
  cocos2d::CCLabelBMFont* notification_name = nullptr;
  cocos2d::CCLabelBMFont* notification_desc = nullptr;
  cocos2d::CCMenuItemImage* menugamemusic = nullptr;
  cocos2d::CCMenuItemImage* menuroomzoomin = nullptr;
  cocos2d::CCMenuItemImage* menualwaysshowourtower = nullptr;
  cocos2d::CCMenuItemImage* menubtn = nullptr;
  cocos2d::CCLayer* gamemenu = nullptr;
  cocos2d::CCLayer* blocker = nullptr;
  cocos2d::CCNode* sun = nullptr;
  cocos2d::CCNode* ourground = nullptr;
  cocos2d::CCNode* enemyground = nullptr;
  cocos2d::CCNode* our_position = nullptr;
  cocos2d::CCNode* enemy_position = nullptr;
  TouchLayer* touchLayer = nullptr;
  // One entry per button shown, top first (the digit keys pick them).
  std::vector<int> shownButtonIndices;
  std::vector<LogRecord> logRecords;
  cocos2d::extension::CCEditBox* chatEditBox = nullptr;
  class StoreController* storeController = nullptr;
  cocos2d::CCNode* storeNode = nullptr;
  bool storeShown = false;
  cocos2d::CCPoint homeViewPoint;
  int likeCardId = -1;
  std::string likeTitle, likeDescription, likeImage;

  // The names of the binding table, in its order.
  static const std::vector<std::string>& memberNames();

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
  // The locked-card notice grows to fit its texts.
  void layoutNoticePanel();
  // One log record's label, added under the lines there are.
  void appendLogLabel(const LogRecord& record);
  // The first label of the log removed, the others moved up into its place.
  void dropOldestLogLabel();
  // The log's lines hang from the top of a view as high as they are; the newest in view.
  void placeLogLines();
  // The bar's header node laid into the bar's scroll view.
  void layBar(cocos2d::CCNode* header);
  // Loads the bar's header with its title; null when the layout is missing.
  cocos2d::CCNode* loadBarHeader(const std::string& title);
  // Loads one button of the bar into the header at the current place.
  cocos2d::CCNode* loadBarButton(const char* file, cocos2d::CCNode* header, const cocos2d::CCPoint& at);
  // What every button of the bar shows besides its card: the tutorial's arrow, the count,
  // the digit of its slot (from 1); it is the slot's entry of shownButtonIndices.
  void finishBarButton(int slot, int count, bool forced, int shownIndex);
  void setMenuSetting(const char* key, cocos2d::CCMenuItemImage* toggle);
  void selectSpellEntry(int index);
  // The part of the view that follows our layer: the enemy's position, the centre kept.
  void followOurLayer();
  // Clamps a move of our layer so the window stays inside the viewport.
  cocos2d::CCPoint clampedDelta(const cocos2d::CCPoint& delta);
  void wrapMessages();
  // The last pointer location, where wheel and keys zoom.
  cocos2d::CCPoint touchLayerPointer() const;

  EventDispatcher* hub_;
  std::unique_ptr<BoardView> boardView_;
  std::unique_ptr<SpellEffectPlayer> effects_;
  // The tutorial's closing words are up: the board shown in the same step keeps them
  // until the player closes them.
  bool closingWordsUp_ = false;
  // The game ended in our victory: only then does its notice carry the positive OK mark.
  bool endedInVictory_ = false;
  // Where the layout puts the message panel's top edge (negative: not read yet).
  float messagePanelTop_ = -1;
  cocos2d::CCNode* logLines_ = nullptr;  // the labels of the log, in the log's view
  float logHeight_ = 0;
  int groundOpacity_ = 255;
  mv::NodeBindings bindings_;
  int missingMembers_ = 0;
  // The log's lines as rows "LOG::line.<n>" for the test report of where nodes are drawn.
  mv::NodeBindings logRows_;
  cocos2d::CCLabelBMFont* logRowLine_ = nullptr;
};
