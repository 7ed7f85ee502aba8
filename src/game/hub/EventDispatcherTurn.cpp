// The event hub: state switches and the steps both players share, the spell
// queues' reports, and the joining side's turn messages and animation queue.
#include "Board.h"
#include "BoardElem.h"
#include "CardTable.h"
#include "EventDispatcher.h"
#include "GameContext.h"
#include "game/GameDirector.h"
#include "game/GameSession.h"
#include "logog/logog.hpp"
#include "player/Player.h"
#include "ports/MatchLink.h"

namespace {

// Leaving one of these may end or start a wait for the other player.
bool endsWait(PlayerState old, bool local) {
  switch (old) {
    case PlayerState::BuildChooseSpell:
    case PlayerState::CombatChooseSpell:
    case PlayerState::ProcessCombatQueue:
    case PlayerState::RepairChooseSpell:
      return true;
    case PlayerState::Fire:
    case PlayerState::EndTurn:
      return local;
    default:
      return false;
  }
}

}  // namespace

// ---- State switches ---------------------------------------------------------------------

void EventDispatcher::switchPlayerState(Player& player, PlayerState oldState,
                                        PlayerState newState) {
  // Only the screen waits for the game scene: the turn goes on whatever is shown,
  // so a challenge arriving during a game cannot stall it.
  const bool display = flowState() == FlowState::InGame;
  if (display) showStateSwitch(player, oldState, newState);
  if (game().started()) runSharedSteps(newState, display);
}

void EventDispatcher::showStateSwitch(Player& player, PlayerState oldState,
                                      PlayerState newState) {
  GameSession& g = game();
  const bool local = player.isLocal();
  LOGOG_INFO("%s player switched from %s to %s", player.displayName(),
             Player::stateName(oldState), Player::stateName(newState));

  // What leaving the old state ends.
  bool waiting = false;
  if (oldState == PlayerState::Invalid && local) {
    // The joining side enters the game screen when its player gets its first state.
    flowHost().showGameScene();
  } else if ((oldState == PlayerState::PlacementChoose || isTargetState(oldState)) && local) {
    if (Player* p = g.localPlayer(); p && p->board()) p->board()->clearHighlights();
    if (Player* p = g.enemyPlayer(); p && p->board()) p->board()->clearHighlights();
  } else if (endsWait(oldState, local) && g.bothPlayers()) {
    if (!Player::mustWaitFor(g.localPlayer()->state(), g.enemyPlayer()->state())) {
      if (!g.sandbox()) screen().closeMessage();
    } else {
      // The sandbox's enemy never moves: a wait for it would never end, and the
      // message would hide the store for good.
      if (!g.sandbox()) screen().showModalMessage(text("WAITING_FOR_ENEMY"));
      waiting = true;
    }
  }

  // The tutorial's hint for the new state.
  if (GameDirector* d = g.director()) {
    std::string key;
    bool show = false;
    std::vector<int> allowed;
    if (d->getTutorialMessage(local, g.turn(), static_cast<int>(newState), key, show, allowed)) {
      screen().showTutorialMessage(text(key), show);
      player.setCards(allowed);
    }
  }

  if (!local) return;
  // What the new state offers the local player.
  if (newState == PlayerState::CardChoose) {
    screen().setCardList(player.cards());
    if (!waiting) screen().showGameBoard();
  } else if (isSpellState(newState)) {
    screen().setSpellList(player.spellOptions());
    if (!waiting) screen().showGameBoard();
  } else if (newState == PlayerState::PlacementChoose) {
    showChoice(player, player.selectedCard());
  } else if (isTargetState(newState)) {
    showChoice(player, player.selectedSpell().first);
  }
}

void EventDispatcher::showChoice(Player& player, int cardId) {
  const CardRecord* card = CardTable::getCard(cardId);
  if (!card) return;
  const std::vector<BoardElem*>& options = player.options();
  // The offers lie on one board: the own one for a placement, the target's for a spell.
  Board* board = !options.empty() && options.front() ? options.front()->board() : player.board();
  if (board) board->showOptions(options);
  screen().chooseTarget(options, text(card->nameKey()), text(card->descKey()));
}

void EventDispatcher::runSharedSteps(PlayerState newState, bool display) {
  GameSession& g = game();
  const GameSession::SharedStep step = g.sharedStepFor(newState);
  switch (step) {
    case GameSession::SharedStep::CastCombatQueues:
      if (display) screen().startAnimation();
      g.runSharedStep(step);
      break;
    case GameSession::SharedStep::FirePass:
      g.runSharedStep(step);
      break;
    case GameSession::SharedStep::NextTurn:
      g.runSharedStep(step);
      if (display) screen().announceTurn(g.turn());
      break;
    case GameSession::SharedStep::None:
      break;
  }
}

// ---- The spell queues -----------------------------------------------------------------------

void EventDispatcher::playerSpellQueueProcessedAnim(Player& player) {
  game().onSpellQueueProcessed(player);
}

void EventDispatcher::spellQueuesProcessed() {
  GameSession& g = game();
  if (g.online()) {
    matchLink().updateReplicas();
    matchLink().sendFinishedAnimating();
  }
  resumeBothPlayers();
  if (g.sandbox()) {
    // The sandbox tells what the last spell was, over the board (and the store) it
    // returns to: told before the players move on, the board shown for their new
    // states would take the text away, or it would stay over a screen with no way back.
    if (Player* local = g.localPlayer()) {
      screen().showGameBoard();
      if (const CardRecord* card = CardTable::getCard(local->lastSpellCard()))
        screen().showMessage(text(card->nameKey()), text(card->descKey()));
    }
  }
}

// ---- The host's turn messages -----------------------------------------------------------------

bool EventDispatcher::fromTheHost(const char* what) const {
  if (joinsMatch()) return true;
  // Only the host sends these; here they would move players the rules move.
  LOGOG_WARN("%s outside the joining side of a match dropped", what);
  return false;
}

void EventDispatcher::onTurnBegin() {
  if (!fromTheHost("turn begin")) return;
  GameSession& g = game();
  g.nextTurn();
  if (Player* local = g.localPlayer()) local->startTurn();
  screen().announceTurn(g.turn());
}

void EventDispatcher::onCardList(const std::vector<int>& cards) {
  if (!fromTheHost("card list")) return;
  Player* local = localPlayer();
  if (!local) return;
  for (int id : cards) {
    if (id < 0 || id >= CardTable::kCardCount) {
      LOGOG_ERROR("card list with card %d dropped", id);
      return;
    }
  }
  local->setCards(cards);
}

void EventDispatcher::queueAnimateSpell(const AnimateSpellEvent& event) {
  if (!fromTheHost("spell animation")) return;
  remoteFinishedAnimating_ = false;
  eventQueue_.push_back(event);
  if (!animating_) {
    animating_ = true;
    processEventQueue();
  }
}

void EventDispatcher::processEventQueue() {
  if (drainingQueue_) {
    // An effect ended at once, inside the loop below: the loop goes on.
    queueAdvanced_ = true;
    return;
  }
  drainingQueue_ = true;
  while (!eventQueue_.empty()) {
    const AnimateSpellEvent event = std::move(eventQueue_.front());
    eventQueue_.pop_front();
    Player* local = localPlayer();
    const bool known = event.card >= 0 && event.card < CardTable::kCardCount && event.caster;
    if (!known) {
      LOGOG_ERROR("spell animation of card %d without its caster dropped", event.card);
      continue;
    }
    if (event.shownOnlyToCaster() && event.caster != local) continue;
    queueAdvanced_ = false;
    SpellCompletion done(game().gameToken().with(life_.token()), [this] { processEventQueue(); });
    screen().showSpellEffect(event, *event.caster, std::move(done));
    if (!queueAdvanced_) {
      // The effect plays on; its completion takes up the queue.
      drainingQueue_ = false;
      return;
    }
  }
  drainingQueue_ = false;
  animating_ = false;
  if (remoteFinishedAnimating_) {
    if (Player* local = localPlayer()) local->onQueueDone();
  }
}

void EventDispatcher::onFinishedAnimating() {
  if (!fromTheHost("end of the animations")) return;
  remoteFinishedAnimating_ = true;
  if (animating_) return;
  if (Player* local = localPlayer()) local->onQueueDone();
}

void EventDispatcher::onRemoteBlockExploded(BoardElem* elem) {
  if (elem) screen().showExplosion(*elem);
}

void EventDispatcher::onRemoteBlockCollapsed(BoardElem* elem) {
  if (elem) screen().collapseElement(*elem);
}

void EventDispatcher::onRemoteDoorDestroyed(BoardElem* elem) {
  if (elem) screen().doorDestroyed(*elem, isLocalOwner(*elem));
}
