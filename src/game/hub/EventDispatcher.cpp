// The event hub: ports, frame, game start and end, and the rules' reports of
// board events, counters and dealt cards.
#include "EventDispatcher.h"

#include "Board.h"
#include "BoardElem.h"
#include "CardTable.h"
#include "GameContext.h"
#include "game/GameDirector.h"
#include "game/GameSession.h"
#include "logog/logog.hpp"
#include "player/Player.h"
#include "ports/MatchLink.h"

EventDispatcher::EventDispatcher(GameContext& context) : LobbyFlow(*this), context_(&context) {
  context.setPlayerEvents(this);
  context.setHub(this);
  context.setObserver(this);
}

EventDispatcher::~EventDispatcher() {
  // Effects still playing for the animation queue are dropped with the hub.
  life_.end();
  if (&context_->spellEffects() == screen_) context_->setSpellEffects(nullptr);
  if (&context_->playerEvents() == this) context_->setPlayerEvents(nullptr);
  if (&context_->hub() == this) context_->setHub(nullptr);
  if (context_->isObserver(this)) context_->setObserver(nullptr);
}

EventDispatcher& eventDispatcher() {
  static EventDispatcher dispatcher(GameContext::defaultContext());
  return dispatcher;
}

// ---- Ports ------------------------------------------------------------------------

GameSession& EventDispatcher::game() const { return context_->game(); }

void EventDispatcher::setScreen(GameScreen* screen) {
  screen_ = screen ? screen : &nullScreen_;
  // The rules show their spell effects on the same screen.
  context_->setSpellEffects(screen);
}

MatchLink& EventDispatcher::matchLink() const { return context_->matchLink(); }

bool EventDispatcher::hostsMatch() const { return game().online() && matchLink().isServer(); }

bool EventDispatcher::joinsMatch() const { return game().online() && !matchLink().isServer(); }

Player* EventDispatcher::localPlayer() const { return game().localPlayer(); }

bool EventDispatcher::isLocalOwner(const BoardElem& elem) const {
  return elem.owner() && elem.owner()->isLocal();
}

std::string EventDispatcher::text(const std::string& key) const {
  return context_->text().text(key);
}

// ---- Frame and loading --------------------------------------------------------------

void EventDispatcher::update(float) {
  matchLink().update();
  followHost();
  game().update();
}

void EventDispatcher::onLoadingFinished() {
  flowHost().showMenuScene(true);
  flowHost().makeGameControllerCurrent();
  setFlowState(FlowState::Menu);
}

// ---- Reports of the players ---------------------------------------------------------

void EventDispatcher::onPlayerCountersChanged(Player& player) {
  if (player.isLocal()) screen().updateCounters(player.mana(), player.dwarves());
}

void EventDispatcher::onCardListDealt(Player& player) {
  if (!hostsMatch() || player.isLocal()) return;
  // The replicas go first, so the list arrives after the state it belongs to.
  matchLink().updateReplicas();
  matchLink().sendCardList(player.cards());
}

void EventDispatcher::showPlayerMessage(Player& player, const std::string& message) {
  if (player.isLocal()) {
    screen().showFullscreenMessage(message);
    return;
  }
  // The computer's refused pick needs no message: its step picks again at once.
  LOGOG_DEBUG("%s was refused: %s", player.displayName(), message.c_str());
}

void EventDispatcher::forwardSpellAnimation(Player& player, const AnimateSpellEvent& event) {
  if (hostsMatch() && player.state() == PlayerState::ProcessCombatQueue)
    matchLink().sendAnimateSpell(event);
  // The joining side casts its own spells for the show; their results are the host's.
  if (joinsMatch() && player.isLocal()) held_.noteCast(event, game().gameToken());
}

void EventDispatcher::showIntroMessage(const std::string& message) {
  screen().showFullscreenMessage(message);
}

void EventDispatcher::onBoardsUpdated() {
  if (game().online()) matchLink().updateReplicas();
  game().checkGameOver();
}

void EventDispatcher::resumeBothPlayers() {
  // Read again after the first: its step may have ended or replaced the game.
  if (Player* local = game().localPlayer()) local->onQueueDone();
  if (Player* enemy = game().enemyPlayer()) enemy->onQueueDone();
}

// ---- Building sounds ------------------------------------------------------------------

void EventDispatcher::onBlockBuilt(BoardElem& e) { screen().playBuildBlockSound(isLocalOwner(e)); }

void EventDispatcher::onFenceBuilt(BoardElem& e) { screen().playFenceSound(isLocalOwner(e)); }

void EventDispatcher::onDoorsBuilt(BoardElem& e) { screen().playDoorsSound(isLocalOwner(e)); }

void EventDispatcher::onHardened(BoardElem& e) { screen().playArmorSound(isLocalOwner(e)); }

void EventDispatcher::onLevitronPlaced(BoardElem& e) {
  screen().playLevitronousSound(isLocalOwner(e));
}

void EventDispatcher::onRoomBuilt(BoardElem& e) { screen().playBuildRoomSound(isLocalOwner(e)); }

void EventDispatcher::onSpellPut(BoardElem& e) { screen().playPutSpellSound(isLocalOwner(e)); }

// ---- Board events ---------------------------------------------------------------------

void EventDispatcher::onElemChanged(BoardElem& e) { boardView_->onElemChanged(e); }

void EventDispatcher::onElemRebuilt(BoardElem& e) { boardView_->onElemRebuilt(e); }

void EventDispatcher::onElemRemoved(BoardElem& e) { boardView_->onElemRemoved(e); }

void EventDispatcher::onElemHighlighted(BoardElem& e, int index) {
  boardView_->onElemHighlighted(e, index);
}

void EventDispatcher::onElemUnhighlighted(BoardElem& e) { boardView_->onElemUnhighlighted(e); }

void EventDispatcher::onBoardChanged(Board& board) {
  boardView_->onBoardChanged(board);
  if (!board.owner() || !board.owner()->isLocal()) screen().updateEnemyTowerLabel();
}

void EventDispatcher::onFireLevelChanged(Board& board, int percent) {
  boardView_->onFireLevelChanged(board, percent);
  screen().updateFireSound(board.owner() && board.owner()->isLocal(), percent);
}

void EventDispatcher::onBlockExploded(BoardElem& e) {
  boardView_->onBlockExploded(e);
  screen().showExplosion(e);
  if (hostsMatch()) matchLink().sendBlockExploded(&e);
}

void EventDispatcher::onElemRubble(BoardElem& e) {
  boardView_->onElemRubble(e);
  screen().playRubbleSound(e);
}

void EventDispatcher::onDoorDestroyed(BoardElem& e) {
  boardView_->onDoorDestroyed(e);
  screen().doorDestroyed(e, isLocalOwner(e));
  if (hostsMatch()) matchLink().sendDoorDestroyed(&e);
}

void EventDispatcher::onBlockCollapsed(BoardElem& e) {
  boardView_->onBlockCollapsed(e);
  // The foundation and the underground have no falling block to show.
  if (e.isFoundation() || e.isUnderground()) return;
  if (hostsMatch()) matchLink().sendBlockCollapsed(&e);
  screen().collapseElement(e);
}

// ---- Game end -------------------------------------------------------------------------

void EventDispatcher::onGameWon() { endGame(GameResult::Won); }

void EventDispatcher::onGameLost() { endGame(GameResult::Lost); }

void EventDispatcher::onGameDraw() { endGame(GameResult::Draw); }

void EventDispatcher::endGame(GameResult result) {
  // By the result's code: Lost 0, Won 1, Draw 2.
  static const char* const kKeys[] = {"YOU_LOSE", "YOU_WIN", "DRAW"};
  static const char* const kOffline[] = {"singlelose", "singlevictory", "singledraw"};
  static const char* const kOnline[] = {"networklose", "networkvictory", "networkdraw"};
  // As the other side sees it: it lost when we won.
  static const GameResult kResultForOther[] = {GameResult::Won, GameResult::Lost, GameResult::Draw};
  const int i = static_cast<int>(result);
  dropHeldChoices("the game ended");

  for (Player* p : {game().localPlayer(), game().enemyPlayer()})
    if (p && p->board()) p->board()->revealAll();
  screen().showGameEnded(text(kKeys[i]), result);
  flowHost().reportAnalytics("game", game().online() ? kOnline[i] : kOffline[i], "");
  setFlowState(FlowState::GameOver);
  if (hostsMatch()) matchLink().sendGameResult(static_cast<int>(kResultForOther[i]));
}

void EventDispatcher::onMessageOk() {
  if (flowState() != FlowState::GameOver) {
    screen().closeMessage();
    return;
  }
  if (joinsMatch()) {
    // The host starts the next game; this side waits for it.
    screen().showModalMessage(text("WAITING_FOR_SERVER"));
    return;
  }
  const bool online = game().online();
  game().clearGame(false);
  screen().showModalMessage(text("WAITING_FOR_SERVER"));
  if (online) {
    lobbyLink().sendRematch();
    return;
  }
  goToMenu();
}

// ---- Between the two flows -------------------------------------------------------------

void EventDispatcher::clearMatch() {
  game().clearGame(true);
  onRemoteObjectsGone();
}

void EventDispatcher::onRemoteObjectsGone() {
  dropHeldChoices("the match's objects are gone");
  eventQueue_.clear();
  animating_ = false;
  remoteFinishedAnimating_ = false;
  // Effects still playing for the queue show objects that are gone.
  life_.end();
  life_.restart();
}

void EventDispatcher::sendChat(const std::string& line) {
  if (game().online()) matchLink().sendChat(line);
}
