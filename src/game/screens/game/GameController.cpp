// The game screen controller: the event hub's entry points, which change what the screen
// shows and mark it dirty; the one refresh that brings every part up to date; the keys and
// the message's buttons.
#include "GameController.h"

#include "BoardElem.h"
#include "CCLabelBMFont.h"
#include "CCLayerColor.h"
#include "CCMenuItem.h"
#include "CCSprite.h"
#include "CCSpriteFrame.h"
#include "CCSpriteFrameCache.h"
#include "EventDispatcher.h"
#include "GameContext.h"
#include "MainScene.h"
#include "NodeLooks.h"
#include "game/GameDirector.h"
#include "game/GameSession.h"
#include "logog/logog.hpp"
#include "player/Player.h"

using namespace cocos2d;

GameController::GameController(EventDispatcher& hub)
    : hub_(&hub),
      boardView_(std::make_unique<BoardView>(*this)),
      camera_(hub),
      log_(hub),
      bar_(hub, this),
      dialogs_(hub),
      effects_(std::make_unique<SpellEffectPlayer>(static_cast<EffectStage&>(*this))),
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
  addLogLine("", text("GAME_STARTED_YOUR_OPPONENT") + " " + enemyTowerLabelText_, kLogTextColour);
  closeMessage();
  showGameBoard();
  // The opponent's name is known now: over its tower at once.
  updateEnemyTowerLabel();
  log_.showChat(gameOnline());
  MainScene::playRandomMusic();
}

void GameController::showGameBoard() {
  if (!(closingWordsUp_ && messageShown_ && messageFullscreen_ && !messageModal_)) {
    messageShown_ = false;
    messageModal_ = false;
    closingWordsUp_ = false;
  }
  guiMode_ = GuiMode::Board;
  LOGOG_INFO("GUI::game board shown");
  camera_.focusHome();
  invalidate();
}

void GameController::startAnimation() {
  if (guiMode_ == GuiMode::Animation) return;
  LOGOG_INFO("GUI::animation started");
  guiMode_ = GuiMode::Animation;
  messageText_.clear();
  submessageText_.clear();
  invalidate();
}

void GameController::chooseTarget(const std::vector<BoardElem*>& candidates, const std::string& text,
                                  const std::string& subtext) {
  guiMode_ = GuiMode::ChooseTarget;
  LOGOG_INFO("GUI::choosing target");
  messageText_ = text;
  submessageText_ = subtext;
  Player* local = localPlayer();
  targetsOnEnemy_ = true;
  for (BoardElem* e : candidates)
    if (e && local && e->owner() == local) targetsOnEnemy_ = false;
  if (setting("room_zoom_in", true) && !candidates.empty()) camera_.zoomToTargets(candidates);
  invalidate();
}

void GameController::showMessage(const std::string& text, const std::string& subtext) {
  LOGOG_INFO("GUI::message shown: %s", text.c_str());
  messageShown_ = true;
  messageFullscreen_ = false;
  messageModal_ = false;
  messageText_ = text;
  submessageText_ = subtext;
  invalidate();
}

void GameController::showModalMessage(const std::string& text) {
  messageShown_ = true;
  messageModal_ = true;
  LOGOG_INFO("GUI::modal message");
  messageText_ = text;
  submessageText_.clear();
  invalidate();
}

void GameController::showFullscreenMessage(const std::string& text) {
  LOGOG_INFO("GUI::fullscreen message shown: %s", text.c_str());
  messageText_ = text;
  messageShown_ = true;
  messageFullscreen_ = true;
  messageModal_ = false;
  invalidate();
}

void GameController::showTutorialMessage(const std::string& text, bool show) {
  LOGOG_INFO("GUI::tutorial message shown");
  messageFullscreen_ = show;
  // The hint is pinned whether or not it also covers the board: the first one comes with
  // the game's welcome, which then stays until the player closes it.
  if (!text.empty()) tutorialText_ = text;
  if (show) {
    // The words that end the tutorial come with the switch that shows the board: they
    // stay until the player closes them.
    GameDirector* d = director();
    closingWordsUp_ = d && !d->isTutorialRunning();
    showFullscreenMessage(text);
    return;
  }
  messageShown_ = false;
  messageModal_ = false;
  invalidate();
}

void GameController::closeMessage() {
  GameDirector* d = director();
  if (d && d->isTutorialRunning() && !tutorialText_.empty()) return;
  messageShown_ = false;
  messageFullscreen_ = false;
  messageModal_ = false;
  closingWordsUp_ = false;
  LOGOG_INFO("GUI::message closed");
  invalidate();
}

void GameController::showGameEnded(const std::string& text, GameResult result) {
  if (guiMode_ == GuiMode::GameEnded) return;
  LOGOG_INFO("GUI::game ended");
  guiMode_ = GuiMode::GameEnded;
  endedInVictory_ = result == GameResult::Won;
  messageText_ = text;
  submessageText_.clear();
  invalidate();
  addLogLine("", text, kLogTextColour);
}

void GameController::announceTurn(int turn) {
  addLogLine("", text("TURN") + " " + std::to_string(turn + 1), kLogTextColour);
}

void GameController::updateCounters(int mana, int dwarves) {
  if (!localPlayer()) return;
  shownMana_ = mana;
  shownDwarves_ = dwarves;
  invalidate();
}

void GameController::setStoreShown(bool shown) {
  storeShown_ = shown;
  invalidate();
}

void GameController::setCardList(const std::vector<int>& cards) {
  bar_.setCards(cards);
  invalidate();
}

void GameController::setSpellList(const std::vector<StoredCard>& spells) {
  bar_.setSpells(spells);
  invalidate();
}

void GameController::setStoreController(StoreController* store) {
  storeController_ = store;
  dialogs_.setStoreController(store);
}

// ---- The refresh ---------------------------------------------------------------------------

namespace {

void setText(CCLabelBMFont* label, const std::string& text) {
  if (label && text != label->getString()) label->setString(text.c_str());
}

}  // namespace

void GameController::refreshIfChanged() {
  if (dirty_)
    refresh();
  else
    bar_.showIfLetGo();
}

void GameController::refresh() {
  dirty_ = false;
  ++refreshCount_;
  showLayers();
  if (!messageShown_)
    showModeTexts();
  else
    showMessageTexts();
  showOkMark();
  setText(manacounter_, text("MANA") + ": " + std::to_string(shownMana_));
  setText(dwarvescounter_, text("DWARVES") + ": " + std::to_string(shownDwarves_));
  layoutMessagePanel();
  layoutTutorialPanel();
  layoutFullscreenPanel();
  bar_.showForLocalPlayer();
}

void GameController::showLayers() {
  const bool chatShown = gameOnline() && guiMode_ != GuiMode::ChooseTarget;
  log_.showChat(chatShown);
  mv::setShown(counterslayer_, !storeShown_);
  mv::setShown(camera_.ourLayer(), true);
  const bool fullscreen = messageShown_ && messageFullscreen_;
  mv::setShown(fulldarken_, fullscreen);
  // A full-screen text is shown only with its darkening: a closed one does not stay on
  // the board.
  if (!fullscreen) mv::setShown(fullscreenmessage_, false);
  GameDirector* d = director();
  const bool tutorial = d && d->isTutorialRunning();
  if (tutorial) setText(tutorialmsg_, tutorialText_);
  // A full-screen text is read once, on its own panel: the pinned hint waits beneath until
  // it is closed.
  mv::setShown(tutorialmsg_, tutorial && !fullscreen);
  // The bar, the store and the message panel take turns in the same place.
  mv::setShown(castgui_, messageShown_ || guiMode_ != GuiMode::Board);
  bar_.setVisible(!messageShown_ && guiMode_ == GuiMode::Board && !storeShown_);
  mv::setShown(storelayer_, !messageShown_ && guiMode_ == GuiMode::Board && storeShown_);
}

// What each mode shows without a message.
void GameController::showModeTexts() {
  const bool choosing = guiMode_ == GuiMode::ChooseTarget;
  switch (guiMode_) {
    case GuiMode::Board:
      mv::setShown(cancelbtn_, false);
      mv::setShown(okbtn_, false);
      break;
    case GuiMode::Animation:
      setText(message_, "");
      setText(submessage_, "");
      setText(fullscreenmessage_, "");
      mv::setShown(cancelbtn_, false);
      mv::setShown(okbtn_, false);
      break;
    case GuiMode::ChooseTarget:
    case GuiMode::GameEnded:
      setText(message_, messageText_);
      setText(submessage_, submessageText_);
      mv::setShown(message_, true);
      mv::setShown(submessage_, true);
      setText(fullscreenmessage_, "");
      mv::setShown(cancelbtn_, choosing);
      mv::setShown(okbtn_, !choosing);
      if (choosing && targetsOnEnemy_) mv::setShown(camera_.ourLayer(), false);
      break;
  }
}

// A message over any mode: on the panel, or alone over the darkened board.
void GameController::showMessageTexts() {
  if (messageFullscreen_) {
    mv::setShown(message_, false);
    mv::setShown(submessage_, false);
    setText(fullscreenmessage_, messageText_);
    mv::setShown(fullscreenmessage_, true);
  } else {
    setText(message_, messageText_);
    setText(submessage_, submessageText_);
    mv::setShown(message_, true);
    mv::setShown(submessage_, true);
    mv::setShown(fullscreenmessage_, false);
  }
  mv::setShown(cancelbtn_, false);
  mv::setShown(okbtn_, !messageModal_ && !messageFullscreen_);
}

// A defeat or a draw is acknowledged with the neutral mark.
void GameController::showOkMark() {
  const bool neutralOk = guiMode_ == GuiMode::GameEnded && !endedInVictory_ && !messageShown_;
  CCSpriteFrameCache* frames = CCSpriteFrameCache::sharedSpriteFrameCache();
  CCSpriteFrame* mark = frames->spriteFrameByName(neutralOk ? "button-ok-plain.png" : "button-ok.png");
  CCSprite* shown = okbtn_ ? dynamic_cast<CCSprite*>(okbtn_->getNormalImage()) : nullptr;
  if (mark && shown && !shown->isFrameDisplayed(mark)) {
    okbtn_->setNormalSpriteFrame(mark);
    if (CCSpriteFrame* f = frames->spriteFrameByName(neutralOk ? "button-ok-plain-press.png" : "button-ok-press.png"))
      okbtn_->setSelectedSpriteFrame(f);
  }
}

// ---- Keys and pointer ------------------------------------------------------------------------

void GameController::onReturnKey() {
  GameDirector* d = director();
  if (d && !d->canEndPhase()) return;
  if (!messageShown_) {
    if (guiMode_ == GuiMode::Board)
      hub_->endPhase();
    else if (guiMode_ == GuiMode::GameEnded)
      hub_->onMessageOk();
    return;
  }
  if (!messageModal_) closeMessage();
}

void GameController::onEscapeKey() {
  if (dialogs_.isMenuOpen()) {
    onMenuReturnToGame(nullptr);
    return;
  }
  if (messageShown_) {
    if (!messageModal_) closeMessage();
    return;
  }
  if (guiMode_ == GuiMode::ChooseTarget) hub_->cancelSelection();
}

void GameController::closeFullscreenMessageByTap() {
  if (!messageShown_ || !messageFullscreen_ || messageModal_) return;
  closingWordsUp_ = false;
  messageShown_ = false;
  messageFullscreen_ = false;
  messageModal_ = false;
  invalidate();
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
  if (guiMode_ == GuiMode::GameEnded) {
    hub_->onMessageOk();
    return;
  }
  if (!messageShown_) return;
  messageShown_ = false;
  messageModal_ = false;
  invalidate();
}

void GameController::onEndPhase(CCObject*) { hub_->endPhase(); }

void GameController::onCancel(CCObject*) { hub_->cancelSelection(); }
