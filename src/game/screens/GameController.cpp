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
const LogColour kLogTextColour = {103, 91, 80};
}

GameController::GameController(EventDispatcher& hub)
    : hub_(&hub),
      boardView_(std::make_unique<BoardView>(*this)),
      effects_(std::make_unique<SpellEffectPlayer>(*this)),
      bindings_("GUI::"),
      logRows_("LOG::") {
  logRows_.declare("line", &logRowLine_);
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

const std::vector<std::string>& GameController::memberNames() {
  static const std::vector<std::string> names = {
      "menubtn",          "blocker",        "chat",              "turnseqqui",
      "castgui",          "turnseq",        "dwarvescounter",    "manacounter",
      "fulldarken",       "endphasebtn",    "viewport",          "water",
      "cancelbtn",        "okbtn",          "message",           "tutorialmsg",
      "fullscreenmessage", "submessage",    "ourlayer",          "enemylayer",
      "sun",              "ourground",      "enemyground",       "our_position",
      "enemy_position",   "sequencename",   "sequencebuildelem", "arrow_phaseend",
      "arrow",            "cardname",       "cardsprite",        "cardbtn",
      "spellcostsprite",  "spellcostlbl",   "spellname",         "spellicon",
      "spellbtn",         "spellqty",       "hotkey",            "chatlog",
      "chattextfieldbg",  "fblike",         "fblike_name",       "fblike_desc",
      "fblike_sprite",    "fblike_okbtn",   "notification",      "notification_name",
      "notification_desc", "notification_sprite", "menugamemusic", "menuroomzoomin",
      "menualwaysshowourtower", "gamemenu", "storelayer",        "counterslayer"};
  return names;
}

void GameController::declareMembers() {
  mv::NodeBindings& b = bindings_;
  b.declare("menubtn", &menubtn);
  b.declare("blocker", &blocker);
  b.declare("chat", &chat);
  b.declare("turnseqqui", &turnseqqui);
  b.declare("castgui", &castgui);
  b.declare("turnseq", &turnseq);
  b.declare("dwarvescounter", &dwarvescounter);
  b.declare("manacounter", &manacounter);
  b.declare("fulldarken", &fulldarken);
  b.declare("endphasebtn", &endphasebtn);
  b.declare("viewport", &viewport);
  b.declare("water", &water);
  b.declare("cancelbtn", &cancelbtn);
  b.declare("okbtn", &okbtn);
  b.declare("message", &message);
  b.declare("tutorialmsg", &tutorialmsg);
  b.declare("fullscreenmessage", &fullscreenmessage);
  b.declare("submessage", &submessage);
  b.declare("ourlayer", &ourlayer);
  b.declare("enemylayer", &enemylayer);
  b.declare("sun", &sun);
  b.declare("ourground", &ourground);
  b.declare("enemyground", &enemyground);
  b.declare("our_position", &our_position);
  b.declare("enemy_position", &enemy_position);
  b.declare("sequencename", &sequencename);
  b.declare("sequencebuildelem", &sequencebuildelem);
  b.declare("arrow_phaseend", &arrow_phaseend);
  b.declare("arrow", &arrow);
  b.declare("cardname", &cardname);
  b.declare("cardsprite", &cardsprite);
  b.declare("cardbtn", &cardbtn);
  b.declare("spellcostsprite", &spellcostsprite);
  b.declare("spellcostlbl", &spellcostlbl);
  b.declare("spellname", &spellname);
  b.declare("spellicon", &spellicon);
  b.declare("spellbtn", &spellbtn);
  b.declare("spellqty", &spellqty);
  b.declare("hotkey", &hotkey);
  b.declare("chatlog", &chatlog);
  b.declare("chattextfieldbg", &chattextfieldbg);
  b.declare("fblike", &fblike);
  b.declare("fblike_name", &fblike_name);
  b.declare("fblike_desc", &fblike_desc);
  b.declare("fblike_sprite", &fblike_sprite);
  b.declare("fblike_okbtn", &fblike_okbtn);
  b.declare("notification", &notification);
  b.declare("notification_name", &notification_name);
  b.declare("notification_desc", &notification_desc);
  b.declare("notification_sprite", &notification_sprite);
  b.declare("menugamemusic", &menugamemusic);
  b.declare("menuroomzoomin", &menuroomzoomin);
  b.declare("menualwaysshowourtower", &menualwaysshowourtower);
  b.declare("gamemenu", &gamemenu);
  b.declare("storelayer", &storelayer);
  b.declare("counterslayer", &counterslayer);
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
  if (chatEditBox) chatEditBox->setText("");
  releaseChatKeys();
  closingWordsUp_ = false;
  addLogLine("", text("GAME_STARTED_YOUR_OPPONENT") + " " + enemyTowerLabelText, kLogTextColour);
  closeMessage();
  showGameBoard();
  // The opponent's name is known now: over its tower at once.
  updateEnemyTowerLabel();
  if (chat) chat->setVisible(gameOnline());
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
  if (ourlayer) focusView(ourlayer, homeViewPoint, 1.0f);
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
  if (setting("room_zoom_in", true) && !candidates.empty()) zoomToTargets(candidates);
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
  addLogLine("", text, kLogTextColour);
}

void GameController::announceTurn(int turn) {
  addLogLine("", text("TURN") + " " + std::to_string(turn + 1), kLogTextColour);
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
  show(chat, chatShown);
  // A hidden chat box lets the keys go: the hotkeys work again (a target's digit) and
  // nothing typed lands in a box no one sees.
  if (!chatShown) releaseChatKeys();
  show(counterslayer, !storeShown);
  show(ourlayer, true);
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
        show(turnseqqui, !storeShown);
        show(storelayer, storeShown);
        show(cancelbtn, false);
        show(okbtn, false);
        break;
      case GuiMode::Animation:
        show(castgui, true);
        show(turnseqqui, false);
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
        show(turnseqqui, false);
        show(storelayer, false);
        setText(message, messageText);
        setText(submessage, submessageText);
        show(message, true);
        show(submessage, true);
        setText(fullscreenmessage, "");
        show(cancelbtn, choosing);
        show(okbtn, !choosing);
        if (choosing && targetsOnEnemy) show(ourlayer, false);
        break;
      }
    }
  } else {
    show(castgui, true);
    show(turnseqqui, false);
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
  if (Player* local = localPlayer()) showPhaseBar(static_cast<int>(local->state()));
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
  if (gamemenu && gamemenu->isVisible()) {
    onMenuReturnToGame(nullptr);
    return;
  }
  if (messageShown) {
    if (!messageModal) closeMessage();
    return;
  }
  if (guiMode == GuiMode::ChooseTarget) hub_->cancelSelection();
}

void GameController::releaseChatKeys() {
  CCEditBoxImpl* box = chatEditBox ? chatEditBox->getImpl() : nullptr;
  if (box && box->isEditing()) box->closeKeyboard();
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
  if (!local || index < 0 || index >= static_cast<int>(shownButtonIndices.size())) return;
  const int shown = shownButtonIndices[index];
  const PlayerState state = local->state();
  if (state == PlayerState::CardChoose) {
    pickCard(shown);  // as its button does: a locked card is not chosen
  } else if (isSpellState(state)) {
    if (shown < 0 || shown >= static_cast<int>(spellList.size())) return;
    const StoredCard entry = spellList[shown];
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
