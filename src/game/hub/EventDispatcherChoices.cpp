// The event hub: every player's choice on one path. Choices made here (the
// screen, the store) wait for the host on the joining side, close the screen's
// message and are sent to the host; the running game checks each choice against
// the rules before the director and the player act on it.
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
  const bool here = choice.madeHere();
  if (here && choice.player && heldForHost(choiceName(choice.kind))) return ChoiceOutcome::Refused;
  const PlayerState before = choice.player ? choice.player->state() : PlayerState::Invalid;
  const ChoiceOutcome outcome =
      game().takeChoice(choice, [&] { if (here) showChoiceTaken(choice); });
  if (here && outcome != ChoiceOutcome::Refused && joinsMatch()) sendToHost(choice, before, outcome);
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
  if (!joinsMatch()) return false;
  const Player* local = localPlayer();
  return local && (local->isCasting() || !local->matchesHost());
}

bool EventDispatcher::heldForHost(const char* what) const {
  if (!awaitsHost()) return false;
  LOGOG_INFO("%s held back: the host has not answered the last choice yet", what);
  return true;
}

void EventDispatcher::followHost() {
  Player* local = localPlayer();
  if (!joinsMatch() || !local || local->state() == PlayerState::Invalid) {
    awaitedHost_ = false;
    return;
  }
  if (local->takeHostStep()) {
    awaitedHost_ = awaitsHost();
    return;
  }
  const bool awaits = awaitsHost();
  if (awaitedHost_ && !awaits) {
    // The host's lists are now newer than this side's own casts.
    matchLink().takeHeldBackCards(*local);
    local->refreshOffers();
  }
  awaitedHost_ = awaits;
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
