// The game screen controller: binding, selectors, the event hub's entry points, the
// refresh of every bound node from the state, and the keys.
#include "GameController.h"

#include "Board.h"
#include "BoardElem.h"
#include "CCArray.h"
#include "CCEditBoxImpl.h"
#include "CCLabelBMFont.h"
#include "CCLayerColor.h"
#include "CCMenuItem.h"
#include "CCPointExtension.h"
#include "CCScale9Sprite.h"
#include "CCScrollView.h"
#include "CCSprite.h"
#include "CCSpriteFrame.h"
#include "CCSpriteFrameCache.h"
#include "CardTable.h"
#include "EffectActions.h"
#include "EventDispatcher.h"
#include "GameContext.h"
#include "MainScene.h"
#include "game/GameDirector.h"
#include "game/GameSession.h"
#include "logog/logog.hpp"
#include "player/Player.h"

using namespace cocos2d;
using namespace cocos2d::extension;

namespace {
constexpr float kCell = BoardView::kElemSize;
constexpr float kHalfCell = kCell * 0.5f;
}  // namespace

GameController::GameController(EventDispatcher& hub)
    : hub_(&hub),
      boardView_(std::make_unique<BoardView>(*this)),
      camera_(hub),
      log_(hub),
      bar_(hub, this),
      dialogs_(hub),
      effects_(std::make_unique<SpellEffectPlayer>(*this)),
      bindings_("GUI::") {
  declareMembers();
}

GameController::~GameController() {
  // The hub must not reach a controller that is gone.
  if (&hub_->screen() == this) hub_->setScreen(nullptr);
  hub_->setBoardView(nullptr);
  // Nothing of an effect may call a controller that is gone.
  effects_.reset();
  boardView_.reset();
}

// ---- Binding -------------------------------------------------------------------------

void GameController::declareMembers() {
  mv::NodeBindings& b = bindings_;
  b.declare("castgui", &castgui);
  b.declare("dwarvescounter", &dwarvescounter);
  b.declare("manacounter", &manacounter);
  b.declare("fulldarken", &fulldarken);
  b.declare("cancelbtn", &cancelbtn);
  b.declare("okbtn", &okbtn);
  b.declare("message", &message);
  b.declare("tutorialmsg", &tutorialmsg);
  b.declare("fullscreenmessage", &fullscreenmessage);
  b.declare("submessage", &submessage);
  b.declare("sun", &sun_);
  b.declare("enemyground", &enemyground_);
  b.declare("storelayer", &storelayer);
  b.declare("counterslayer", &counterslayer);
  camera_.declareMembers(b);
  log_.declareMembers(b);
  bar_.declareMembers(b);
  dialogs_.declareMembers(b);
}

bool GameController::onAssignCCBMemberVariable(CCObject* target, CCString* name, CCNode* node) {
  return target == this && bindings_.assign(name, node);
}

SEL_MenuHandler GameController::onResolveCCBCCMenuItemSelector(CCObject* pTarget,
                                                               CCString* pSelectorName) {
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onCard", GameController::onCard);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onMenu", GameController::onMenu);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onOk", GameController::onOk);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onSpell", GameController::onSpell);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onEndPhase", GameController::onEndPhase);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onCancel", GameController::onCancel);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onFblikeOk", GameController::onFblikeOk);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onFblikeCancel", GameController::onFblikeCancel);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onNotification", GameController::onNotification);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onMenuGameMusic", GameController::onMenuGameMusic);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onMenuRoomZoomIn", GameController::onMenuRoomZoomIn);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onMenuAlwaysShowOurTower",
                                       GameController::onMenuAlwaysShowOurTower);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onMenuExitToMenu", GameController::onMenuExitToMenu);
  CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(this, "onMenuReturnToGame", GameController::onMenuReturnToGame);
  return nullptr;
}

// ---- What the controller reads of the game ---------------------------------------------

Player* GameController::localPlayer() const { return hub_->game().localPlayer(); }

GameDirector* GameController::director() const { return hub_->game().director(); }

bool GameController::gameOnline() const { return hub_->game().online(); }

std::string GameController::text(const std::string& key) const {
  return hub_->context().text().text(key);
}

bool GameController::setting(const char* key, bool fallback) const {
  return hub_->context().settings().getBool(key, fallback);
}

// ---- Entry points of the event hub --------------------------------------------------------

void GameController::startGame() {
  // What the last game left running is over.
  effects_->dropStaleEffects();
  // Nothing typed for the last match is kept for this one.
  log_.clearTyped();
  closingWordsUp_ = false;
  addLogLine("", text("GAME_STARTED_YOUR_OPPONENT") + " " + enemyTowerLabelText, GameLog::kTextColour);
  closeMessage();
  showGameBoard();
  // The opponent's name is known now: over its tower at once.
  updateEnemyTowerLabel();
  log_.showChat(gameOnline());
  MainScene::playRandomMusic();
}

void GameController::showGameBoard() {
  if (!(closingWordsUp_ && messageShown && messageFullscreen && !messageModal)) {
    messageShown = false;
    messageModal = false;
    closingWordsUp_ = false;
  }
  guiMode = GuiMode::Board;
  LOGOG_INFO("GUI::game board shown");
  camera_.focusHome();
  refreshGui();
}

void GameController::startAnimation() {
  if (guiMode == GuiMode::Animation) return;
  LOGOG_INFO("GUI::animation started");
  guiMode = GuiMode::Animation;
  messageText.clear();
  submessageText.clear();
  refreshGui();
}

void GameController::chooseTarget(const std::vector<BoardElem*>& candidates, const std::string& text,
                                  const std::string& subtext) {
  guiMode = GuiMode::ChooseTarget;
  LOGOG_INFO("GUI::choosing target");
  messageText = text;
  submessageText = subtext;
  Player* local = localPlayer();
  targetsOnEnemy = true;
  for (BoardElem* e : candidates)
    if (e && local && e->owner() == local) targetsOnEnemy = false;
  if (setting("room_zoom_in", true) && !candidates.empty()) camera_.zoomToTargets(candidates);
  refreshGui();
}

void GameController::showMessage(const std::string& text, const std::string& subtext) {
  LOGOG_INFO("GUI::message shown: %s", text.c_str());
  messageShown = true;
  messageFullscreen = false;
  messageModal = false;
  messageText = text;
  submessageText = subtext;
  refreshGui();
}

void GameController::showModalMessage(const std::string& text) {
  messageShown = true;
  messageModal = true;
  LOGOG_INFO("GUI::modal message");
  messageText = text;
  submessageText.clear();
  refreshGui();
}

void GameController::showFullscreenMessage(const std::string& text) {
  LOGOG_INFO("GUI::fullscreen message shown: %s", text.c_str());
  messageText = text;
  messageShown = true;
  messageFullscreen = true;
  messageModal = false;
  refreshGui();
}

void GameController::showTutorialMessage(const std::string& text, bool show) {
  LOGOG_INFO("GUI::tutorial message shown");
  messageFullscreen = show;
  // The hint is pinned whether or not it also covers the board: the first one comes with
  // the game's welcome, which then stays until the player closes it.
  if (!text.empty()) tutorialText = text;
  if (show) {
    // The words that end the tutorial come with the switch that shows the board: they
    // stay until the player closes them.
    GameDirector* d = director();
    closingWordsUp_ = d && !d->isTutorialRunning();
    showFullscreenMessage(text);
    return;
  }
  messageShown = false;
  messageModal = false;
  refreshGui();
}

void GameController::closeMessage() {
  GameDirector* d = director();
  if (d && d->isTutorialRunning() && !tutorialText.empty()) return;
  messageShown = false;
  messageFullscreen = false;
  messageModal = false;
  closingWordsUp_ = false;
  LOGOG_INFO("GUI::message closed");
  refreshGui();
}

void GameController::showGameEnded(const std::string& text) {
  if (guiMode == GuiMode::GameEnded) return;
  LOGOG_INFO("GUI::game ended");
  guiMode = GuiMode::GameEnded;
  endedInVictory_ = text == this->text("YOU_WIN");
  messageText = text;
  submessageText.clear();
  refreshGui();
  addLogLine("", text, GameLog::kTextColour);
}

void GameController::announceTurn(int turn) {
  addLogLine("", text("TURN") + " " + std::to_string(turn + 1), GameLog::kTextColour);
}

void GameController::updateCounters(int mana, int dwarves) {
  if (!localPlayer()) return;
  shownMana = mana;
  shownDwarves = dwarves;
  refreshGui();
}

void GameController::setStoreShown(bool shown) { storeShown = shown; }

// ---- The refresh ---------------------------------------------------------------------------

namespace {

void show(CCNode* node, bool visible) {
  if (node) node->setVisible(visible);
}

void setText(CCLabelBMFont* label, const std::string& text) {
  if (label && text != label->getString()) label->setString(text.c_str());
}

}  // namespace

void GameController::refreshGui() {
  const bool online = gameOnline();
  const bool chatShown = online && guiMode != GuiMode::ChooseTarget;
  log_.showChat(chatShown);
  show(counterslayer, !storeShown);
  show(camera_.ourLayer(), true);
  const bool fullscreen = messageShown && messageFullscreen;
  show(fulldarken, fullscreen);
  // A full-screen text is shown only with its darkening: a closed one does not stay on
  // the board.
  if (!fullscreen) show(fullscreenmessage, false);

  GameDirector* d = director();
  const bool tutorial = d && d->isTutorialRunning();
  if (tutorial) setText(tutorialmsg, tutorialText);
  // A full-screen text is read once, on its own panel: the pinned hint waits beneath until
  // it is closed.
  show(tutorialmsg, tutorial && !fullscreen);

  if (!messageShown) {
    switch (guiMode) {
      case GuiMode::Board:
        show(castgui, false);
        bar_.setVisible(!storeShown);
        show(storelayer, storeShown);
        show(cancelbtn, false);
        show(okbtn, false);
        break;
      case GuiMode::Animation:
        show(castgui, true);
        bar_.setVisible(false);
        show(storelayer, false);
        setText(message, "");
        setText(submessage, "");
        setText(fullscreenmessage, "");
        show(cancelbtn, false);
        show(okbtn, false);
        break;
      case GuiMode::ChooseTarget:
      case GuiMode::GameEnded: {
        const bool choosing = guiMode == GuiMode::ChooseTarget;
        show(castgui, true);
        bar_.setVisible(false);
        show(storelayer, false);
        setText(message, messageText);
        setText(submessage, submessageText);
        show(message, true);
        show(submessage, true);
        setText(fullscreenmessage, "");
        show(cancelbtn, choosing);
        show(okbtn, !choosing);
        if (choosing && targetsOnEnemy) show(camera_.ourLayer(), false);
        break;
      }
    }
  } else {
    show(castgui, true);
    bar_.setVisible(false);
    show(storelayer, false);
    if (messageFullscreen) {
      show(message, false);
      show(submessage, false);
      setText(fullscreenmessage, messageText);
      show(fullscreenmessage, true);
    } else {
      setText(message, messageText);
      setText(submessage, submessageText);
      show(message, true);
      show(submessage, true);
      show(fullscreenmessage, false);
    }
    show(cancelbtn, false);
    show(okbtn, !messageModal && !messageFullscreen);
  }
  // A defeat or a draw is acknowledged with the neutral mark.
  const bool neutralOk = guiMode == GuiMode::GameEnded && !endedInVictory_ && !messageShown;
  CCSpriteFrameCache* frames = CCSpriteFrameCache::sharedSpriteFrameCache();
  CCSpriteFrame* mark = frames->spriteFrameByName(neutralOk ? "button-ok-plain.png" : "button-ok.png");
  CCSprite* shown = okbtn ? dynamic_cast<CCSprite*>(okbtn->getNormalImage()) : nullptr;
  if (mark && shown && !shown->isFrameDisplayed(mark)) {
    okbtn->setNormalSpriteFrame(mark);
    if (CCSpriteFrame* f = frames->spriteFrameByName(neutralOk ? "button-ok-plain-press.png" : "button-ok-press.png"))
      okbtn->setSelectedSpriteFrame(f);
  }

  setText(manacounter, text("MANA") + ": " + std::to_string(shownMana));
  setText(dwarvescounter, text("DWARVES") + ": " + std::to_string(shownDwarves));
  layoutMessagePanel();
  layoutTutorialPanel();
  layoutFullscreenPanel();
  bar_.showForLocalPlayer();
}

// ---- Keys and pointer ------------------------------------------------------------------------

void GameController::onReturnKey() {
  GameDirector* d = director();
  if (d && !d->canEndPhase()) return;
  if (!messageShown) {
    if (guiMode == GuiMode::Board)
      hub_->endPhase();
    else if (guiMode == GuiMode::GameEnded)
      hub_->onMessageOk();
    return;
  }
  if (!messageModal) closeMessage();
}

void GameController::onEscapeKey() {
  if (dialogs_.isMenuOpen()) {
    onMenuReturnToGame(nullptr);
    return;
  }
  if (messageShown) {
    if (!messageModal) closeMessage();
    return;
  }
  if (guiMode == GuiMode::ChooseTarget) hub_->cancelSelection();
}

void GameController::closeFullscreenMessageByTap() {
  if (!messageShown || !messageFullscreen || messageModal) return;
  closingWordsUp_ = false;
  messageShown = false;
  messageFullscreen = false;
  messageModal = false;
  refreshGui();
}

void GameController::selectByHotkey(int index) {
  Player* local = localPlayer();
  const std::vector<int>& shownButtons = bar_.shownButtons();
  if (!local || index < 0 || index >= static_cast<int>(shownButtons.size())) return;
  const int shown = shownButtons[index];
  const PlayerState state = local->state();
  if (state == PlayerState::CardChoose) {
    pickCard(shown);  // as its button does: a locked card is not chosen
  } else if (isSpellState(state)) {
    const std::vector<StoredCard>& spells = bar_.spells();
    if (shown < 0 || shown >= static_cast<int>(spells.size())) return;
    const StoredCard entry = spells[shown];
    hub_->selectSpell(entry.first, entry.second, local->spellTargetFor(entry.first));
  }
}

void GameController::selectBoardElem(BoardElem* elem) { hub_->selectBoardElem(elem); }

// ---- Selectors ------------------------------------------------------------------------------

void GameController::onOk(CCObject*) {
  if (guiMode == GuiMode::GameEnded) {
    hub_->onMessageOk();
    return;
  }
  if (!messageShown) return;
  messageShown = false;
  messageModal = false;
  refreshGui();
}

void GameController::onEndPhase(CCObject*) {
  GameDirector* d = director();
  if (d && !d->canEndPhase()) return;
  hub_->endPhase();
}

void GameController::onCancel(CCObject*) { hub_->cancelSelection(); }

// ---- The enemy tower's label -------------------------------------------------------------------

void GameController::updateEnemyTowerLabel() {
  GameSession& game = hub_->game();
  Player* enemy = game.enemyPlayer();
  if (!enemyTowerLabel || !game.started() || !enemy || !enemy->board() ||
      enemy->state() == PlayerState::Invalid)
    return;
  Board* board = enemy->board();
  BoardElem* top = board->findTopBlock();
  if (!top) top = board->cellAt(Board::getBoardCenter(), Board::getBoardCenter());
  enemyTowerLabel->setPosition(ccpAdd(camera_.elemPoint(top), ccp(kHalfCell, 2 * kCell)));
  enemyTowerLabel->setString(enemyTowerLabelText.c_str());
  enemyTowerLabel->setAnchorPoint(ccp(0.5f, 0.5f));
}
