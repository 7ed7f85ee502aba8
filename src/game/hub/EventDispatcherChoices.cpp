// The event hub: every player's choice on one path. Choices made here (the
// screen, the store) close the screen's message and are sent to the host; on the
// joining side the few that depend on an answer of the host still to come wait
// for it in order. The running game checks each choice against the rules before
// the director and the player act on it.
#include "Board.h"
#include "BoardElem.h"
#include "CardTable.h"
#include "EventDispatcher.h"
#include "GameContext.h"
#include "game/GameSession.h"
#include "logog/logog.hpp"
#include "player/Player.h"
#include "ports/MatchLink.h"

// ---- The one path ------------------------------------------------------------------------

ChoiceOutcome EventDispatcher::submitChoice(const Choice& choice) {
  if (choice.madeHere() && choice.player && joinsMatch()) {
    const char* why = held_.empty() ? held_.waitReason(choice.kind, *choice.player) : "earlier choices wait";
    if (why) {
      holdForHost(choice, why);
      return ChoiceOutcome::Held;
    }
  }
  return actOn(choice);
}

ChoiceOutcome EventDispatcher::actOn(const Choice& choice) {
  const bool here = choice.madeHere();
  Player* chooser = choice.player;
  const PlayerState before = chooser ? chooser->state() : PlayerState::Invalid;
  const int mana = chooser ? chooser->mana() : 0;
  const int dwarves = chooser ? chooser->dwarves() : 0;
  const ChoiceOutcome outcome =
      game().takeChoice(choice, [&] { if (here) showChoiceTaken(choice); });
  if (here && outcome != ChoiceOutcome::Refused && joinsMatch()) {
    sendToHost(choice, before, outcome);
    if (chooser && chooser == localPlayer()) held_.noteActed(*chooser, mana, dwarves, game().gameToken());
  }
  return outcome;
}

void EventDispatcher::showChoiceTaken(const Choice& choice) {
  using K = Choice::Kind;
  if (choice.kind == K::Element && choice.elem && choice.elem->board())
    choice.elem->board()->clearHighlights();
  if (choice.kind == K::Card || choice.kind == K::Spell || choice.kind == K::Element)
    screen().closeMessage();
}

void EventDispatcher::sendToHost(const Choice& choice, PlayerState before, ChoiceOutcome outcome) {
  // The host's copy of the player applies the same rules to the message; only a
  // spell the player declined here is not sent.
  MatchLink& link = matchLink();
  switch (choice.kind) {
    case Choice::Kind::Card: link.sendSelectedCard(choice.card); break;
    case Choice::Kind::Spell:
      if (outcome == ChoiceOutcome::Taken) link.sendSelectedSpell(choice.card, choice.power);
      break;
    case Choice::Kind::Element: link.sendSelectedBoardElem(choice.elem); break;
    case Choice::Kind::FinishCards: link.sendFinishedSelectingCards(); break;
    case Choice::Kind::FinishSpells: link.sendFinishedSelectingSpells(); break;
    case Choice::Kind::EndPhase:
      if (before == PlayerState::CardChoose)
        link.sendFinishedSelectingCards();
      else if (isSpellState(before))
        link.sendFinishedSelectingSpells();
      break;
    case Choice::Kind::Cancel: link.sendCancel(); break;
  }
}

// ---- The joining side waits for the host's answer --------------------------------------------

bool EventDispatcher::awaitsHost() const {
  const Player* local = localPlayer();
  if (!joinsMatch() || !local) return false;
  return !held_.empty() || held_.waitReason(Choice::Kind::Spell, *local);
}

void EventDispatcher::holdForHost(const Choice& choice, const char* why) {
  held_.push(choice, choice.player->state(), game().gameToken());
  LOGOG_INFO("%s waits for the host: %s", choiceName(choice.kind), why);
  showWait();
}

void EventDispatcher::showWait() {
  screen().showModalMessage(text("WAITING_FOR_SERVER"));
  waitShown_ = true;
  waitStates_ = playerStates();
}

std::pair<PlayerState, PlayerState> EventDispatcher::playerStates() const {
  const Player* local = localPlayer();
  const Player* enemy = game().enemyPlayer();
  return {local ? local->state() : PlayerState::Invalid, enemy ? enemy->state() : PlayerState::Invalid};
}

void EventDispatcher::followHost() {
  Player* local = localPlayer();
  if (!joinsMatch() || !local || local->state() == PlayerState::Invalid) return;
  const bool castCame = held_.takeAnswers(*local);
  // What the answer brings is shown after the wait it ends is gone.
  if (!held_.empty() && !held_.waitReason(held_.front().choice.kind, *local)) hideWait(*local);
  const PlayerState from = local->state();
  if (local->takeHostStep()) {
    // An end of the phase pressed meanwhile has nothing left to end.
    if (const int done = held_.dropPhaseEnds(from))
      LOGOG_INFO("%d end(s) of phase made in %s dropped: the host ended the phase", done, stateName(from));
  } else if (castCame) {
    // The host's lists are now newer than this side's own casts.
    matchLink().takeHeldBackCards(*local);
    local->refreshOffers();
  }
  takeHeldChoices();
  if (held_.empty()) {
    hideWait(*local);
  } else if (!waitShown_ || playerStates() != waitStates_) {
    showWait();  // a player's switch may have put its own message over it
  }
}

void EventDispatcher::takeHeldChoices() {
  while (!held_.empty()) {
    Player* local = localPlayer();
    const HeldChoices::Held& next = held_.front();
    if (!local || next.choice.player != local || !next.game.alive()) {
      dropHeldChoices("the game they were made in is gone");
      return;
    }
    if (held_.waitReason(next.choice.kind, *local)) break;
    hideWait(*local);
    const Choice choice = held_.pop().choice;
    LOGOG_INFO("%s made while the host was awaited acts now", choiceName(choice.kind));
    actOn(choice);
  }
}

void EventDispatcher::hideWait(const Player& local) {
  if (!waitShown_) return;
  waitShown_ = false;
  const Player* enemy = game().enemyPlayer();
  if (enemy && Player::mustWaitFor(local.state(), enemy->state()))
    screen().showModalMessage(text("WAITING_FOR_ENEMY"));
  else
    screen().closeMessage();
}

void EventDispatcher::dropHeldChoices(const char* why) {
  if (waitShown_) screen().closeMessage();
  waitShown_ = false;
  if (const std::size_t n = held_.clear()) LOGOG_INFO("%zu held choice(s) dropped: %s", n, why);
}

// ---- The local player's choices: doors onto the path -----------------------------------

void EventDispatcher::selectCard(int cardId) {
  submitChoice(Choice::pickCard(localPlayer(), Choice::From::Screen, cardId));
}

bool EventDispatcher::selectSpell(int cardId, int power, Player* targetPlayer) {
  const Choice choice =
      Choice::pickSpell(localPlayer(), Choice::From::Screen, cardId, power, targetPlayer);
  return submitChoice(choice) == ChoiceOutcome::Taken;
}

void EventDispatcher::selectBoardElem(BoardElem* elem) {
  submitChoice(Choice::pickElement(localPlayer(), Choice::From::Screen, elem));
}

void EventDispatcher::endPhase() {
  submitChoice(Choice::of(Choice::Kind::EndPhase, localPlayer(), Choice::From::Screen));
}

void EventDispatcher::cancelSelection() {
  submitChoice(Choice::of(Choice::Kind::Cancel, localPlayer(), Choice::From::Screen));
}

void EventDispatcher::tryProduct(int cardId) {
  const CardRecord* card = CardTable::getCard(cardId);
  if (!card) {
    LOGOG_WARN("try-out of card %d dropped: no such card", cardId);
    return;
  }
  const Choice::From store = Choice::From::Store;
  if (card->category == CardCategory::Structure || card->category == CardCategory::Room) {
    submitChoice(Choice::pickCard(localPlayer(), store, cardId));
    return;
  }
  Player* local = localPlayer();
  Player* enemy = game().enemyPlayer();
  if (!local || !enemy) {
    LOGOG_WARN("no game to try %s in", card->key);
    return;
  }
  if (card->hostile) {
    local->setState(PlayerState::CombatChooseSpell);
  } else {
    local->setState(PlayerState::BuildChooseSpell);
  }
  // A spell cast in the combat phase (a hostile one, or a friendly one when nothing
  // friendly is stored: the build phase then steps on to combat at once) waits for both
  // combat queues: the enemy, who never moves here, is made ready for them.
  if (local->state() == PlayerState::CombatChooseSpell && enemy->state() != PlayerState::ProcessCombatQueue)
    enemy->setState(PlayerState::ProcessCombatQueue);
  // The player may have gone with a state switch that ended the game. The try-out
  // is cast on the player's own tower.
  if (game().localPlayer() == local) submitChoice(Choice::pickSpell(local, store, cardId, 1, local));
}

// ---- The other machine's choices: doors onto the path ------------------------------------

namespace {

bool remote(EventDispatcher& hub, const Choice& choice) {
  return hub.submitChoice(choice) != ChoiceOutcome::Refused;
}

constexpr Choice::From kRemote = Choice::From::Remote;

}  // namespace

bool EventDispatcher::onRemoteSelectedCard(Player* player, int cardId) {
  return remote(*this, Choice::pickCard(player, kRemote, cardId));
}

bool EventDispatcher::onRemoteSelectedSpell(Player* player, int cardId, int power) {
  return remote(*this, Choice::pickSpell(player, kRemote, cardId, power));
}

bool EventDispatcher::onRemoteSelectedBoardElem(Player* player, BoardElem* elem) {
  return remote(*this, Choice::pickElement(player, kRemote, elem));
}

bool EventDispatcher::onRemoteFinishedSelectingCards(Player* player) {
  return remote(*this, Choice::of(Choice::Kind::FinishCards, player, kRemote));
}

bool EventDispatcher::onRemoteFinishedSelectingSpells(Player* player) {
  return remote(*this, Choice::of(Choice::Kind::FinishSpells, player, kRemote));
}

bool EventDispatcher::onRemoteCancel(Player* player) {
  return remote(*this, Choice::of(Choice::Kind::Cancel, player, kRemote));
}

void EventDispatcher::onRemoteClickedBoard(Player* player) {
  if (player) player->onQueueDone();
}
