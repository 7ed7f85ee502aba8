// The event hub: the local player's choices, the other machine's choices
// (checked before use), and the computer's choices.
#include <algorithm>

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

bool takesCancel(PlayerState s) { return s == PlayerState::PlacementChoose || isTargetState(s); }

constexpr std::initializer_list<PlayerState> kSpellStates = {
    PlayerState::BuildChooseSpell, PlayerState::CombatChooseSpell,
    PlayerState::RepairChooseSpell};
constexpr std::initializer_list<PlayerState> kPickStates = {
    PlayerState::PlacementChoose, PlayerState::BuildSpellChooseTarget,
    PlayerState::RepairSpellChooseTarget, PlayerState::CombatSpellChooseTarget};

}  // namespace

// ---- The local player's choices ------------------------------------------------------

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

void EventDispatcher::selectCard(int cardId) {
  Player* local = localPlayer();
  if (!local) {
    LOGOG_WARN("card %d chosen without a game", cardId);
    return;
  }
  if (heldForHost("card choice")) return;
  if (GameDirector* d = game().director()) d->onCardSelected(*local, cardId);
  screen().closeMessage();
  local->selectCard(cardId);
  if (joinsMatch()) matchLink().sendSelectedCard(cardId);
}

bool EventDispatcher::selectSpell(int cardId, int power, Player* targetPlayer) {
  Player* local = localPlayer();
  if (!local) {
    LOGOG_WARN("spell %d chosen without a game", cardId);
    return false;
  }
  if (heldForHost("spell choice")) return false;
  if (GameDirector* d = game().director()) d->onSpellSelected(*local, cardId, power);
  screen().closeMessage();
  const bool accepted = local->selectSpell(cardId, power, targetPlayer);
  if (accepted && joinsMatch()) matchLink().sendSelectedSpell(cardId, power);
  return accepted;
}

void EventDispatcher::selectBoardElem(BoardElem* elem) {
  Player* local = localPlayer();
  if (!local) {
    LOGOG_WARN("element chosen without a game");
    return;
  }
  if (heldForHost("element choice")) return;
  if (GameDirector* d = game().director()) d->onTargetSelected(*local, elem);
  if (elem && elem->board()) elem->board()->clearHighlights();
  screen().closeMessage();
  local->selectTarget(elem);
  if (joinsMatch()) matchLink().sendSelectedBoardElem(elem);
}

void EventDispatcher::endPhase() {
  Player* local = localPlayer();
  if (!local) {
    LOGOG_WARN("phase ended without a game");
    return;
  }
  if (heldForHost("end of phase")) return;
  if (GameDirector* d = game().director()) d->onPhaseFinished(*local);
  const PlayerState state = local->state();
  if (state == PlayerState::CardChoose) {
    local->finishCards();
    // The host's copy of the player applies the same rule to the message.
    if (joinsMatch()) matchLink().sendFinishedSelectingCards();
  } else if (isSpellState(state)) {
    local->finishSpells();
    if (joinsMatch()) matchLink().sendFinishedSelectingSpells();
  }
}

void EventDispatcher::cancelSelection() {
  Player* local = localPlayer();
  if (!local) {
    LOGOG_WARN("cancel without a game");
    return;
  }
  if (heldForHost("cancel")) return;
  if (GameDirector* d = game().director()) d->onCancel();
  if (!takesCancel(local->state())) {
    LOGOG_ERROR("invalid state when cancelling: %d", static_cast<int>(local->state()));
    return;
  }
  local->cancel();
  if (joinsMatch()) matchLink().sendCancel();
}

void EventDispatcher::tryProduct(int cardId) {
  const CardRecord* card = CardTable::getCard(cardId);
  if (!card) {
    LOGOG_WARN("try-out of card %d dropped: no such card", cardId);
    return;
  }
  if (card->category == CardCategory::Structure || card->category == CardCategory::Room) {
    selectCard(cardId);
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
  // The player may have gone with a state switch that ended the game.
  if (game().localPlayer() == local) selectSpell(cardId, 1, local);
}

// ---- The other machine's choices --------------------------------------------------------

void EventDispatcher::refuseRemote(Player& player, const char* what, const std::string& why) {
  LOGOG_ERROR("%s out of sync: %s refused (%s)", player.displayName(), what, why.c_str());
}

Player* EventDispatcher::remoteChooser(Player* player, const char* what,
                                       std::initializer_list<PlayerState> states) {
  if (!player) {
    LOGOG_WARN("%s from an unknown player dropped", what);
    return nullptr;
  }
  if (!game().started() || (player != game().localPlayer() && player != game().enemyPlayer())) {
    LOGOG_WARN("%s for a player outside the running game dropped", what);
    return nullptr;
  }
  if (std::find(states.begin(), states.end(), player->state()) == states.end()) {
    refuseRemote(*player, what, std::string("in state ") + Player::stateName(player->state()));
    return nullptr;
  }
  return player;
}

bool EventDispatcher::onRemoteSelectedCard(Player* player, int cardId) {
  Player* p = remoteChooser(player, "card choice", {PlayerState::CardChoose});
  if (!p) return false;
  if (cardId < 0 || cardId >= CardTable::kCardCount) {
    refuseRemote(*p, "card choice", "no card " + std::to_string(cardId));
    return false;
  }
  const auto& hand = p->cards();
  if (std::find(hand.begin(), hand.end(), cardId) == hand.end()) {
    refuseRemote(*p, "card choice", "card " + std::to_string(cardId) + " not in the hand");
    return false;
  }
  if (GameDirector* d = game().director()) d->onCardSelected(*p, cardId);
  p->selectCard(cardId);
  return true;
}

bool EventDispatcher::onRemoteSelectedSpell(Player* player, int cardId, int power) {
  Player* p = remoteChooser(player, "spell choice", kSpellStates);
  if (!p) return false;
  if (cardId < 0 || cardId >= CardTable::kCardCount) {
    refuseRemote(*p, "spell choice", "no card " + std::to_string(cardId));
    return false;
  }
  const auto& offered = p->spellOptions();
  if (std::find(offered.begin(), offered.end(), Player::StoredCard(cardId, power)) ==
      offered.end()) {
    refuseRemote(*p, "spell choice",
                 "spell " + std::to_string(cardId) + "/" + std::to_string(power) + " not offered");
    return false;
  }
  if (GameDirector* d = game().director()) d->onSpellSelected(*p, cardId, power);
  p->selectSpell(cardId, power, p->spellTargetFor(cardId));
  return true;
}

bool EventDispatcher::onRemoteSelectedBoardElem(Player* player, BoardElem* elem) {
  Player* p = remoteChooser(player, "element choice", kPickStates);
  if (!p) return false;
  const auto& offered = p->options();
  if (!elem || std::find(offered.begin(), offered.end(), elem) == offered.end()) {
    refuseRemote(*p, "element choice", elem ? "element not offered" : "no element");
    return false;
  }
  if (GameDirector* d = game().director()) d->onTargetSelected(*p, elem);
  p->selectTarget(elem);
  return true;
}

bool EventDispatcher::onRemoteFinishedSelectingCards(Player* player) {
  Player* p = remoteChooser(player, "end of the card phase", {PlayerState::CardChoose});
  if (!p) return false;
  if (GameDirector* d = game().director()) d->onPhaseFinished(*p);
  p->finishCards();
  return true;
}

bool EventDispatcher::onRemoteFinishedSelectingSpells(Player* player) {
  Player* p = remoteChooser(player, "end of a spell phase", kSpellStates);
  if (!p) return false;
  if (GameDirector* d = game().director()) d->onPhaseFinished(*p);
  p->finishSpells();
  return true;
}

bool EventDispatcher::onRemoteCancel(Player* player) {
  Player* p = remoteChooser(player, "cancel", kPickStates);
  if (!p) return false;
  p->cancel();
  return true;
}

void EventDispatcher::onRemoteClickedBoard(Player*) {
  // No sender exists for it; acting on it would move a player out of turn.
  LOGOG_WARN("board click from the remote player dropped");
}

// ---- The computer's choices --------------------------------------------------------------

bool EventDispatcher::aiSelectCard(Player& player, int cardId) {
  if (GameDirector* d = game().director()) d->onCardSelected(player, cardId);
  return player.selectCard(cardId);
}

bool EventDispatcher::aiSelectSpell(Player& player, int cardId, int power) {
  if (GameDirector* d = game().director()) d->onSpellSelected(player, cardId, power);
  return player.selectSpell(cardId, power, player.spellTargetFor(cardId));
}

bool EventDispatcher::aiSelectTarget(Player& player, BoardElem* elem) {
  if (GameDirector* d = game().director()) d->onTargetSelected(player, elem);
  return player.selectTarget(elem);
}

bool EventDispatcher::aiFinishCards(Player& player) {
  if (GameDirector* d = game().director()) d->onPhaseFinished(player);
  return player.finishCards();
}

void EventDispatcher::aiFinishSpells(Player& player) {
  if (GameDirector* d = game().director()) d->onPhaseFinished(player);
  player.finishSpells();
}

void EventDispatcher::aiCancel(Player& player) { player.cancel(); }
