#include "HubBridge.h"

#include "EventDispatcher.h"
#include "GameReplicas.h"
#include "game/GameSession.h"
#include "logog/logog.hpp"
#include "player/AnimateSpellEvent.h"

bool HubBridge::resolve(std::uint64_t id, BoardElem*& elem, const char* what) const {
  elem = nullptr;
  if (id == RakNet::UNASSIGNED_NETWORK_ID) return true;
  elem = replicas_.elemById(id);
  if (elem) return true;
  LOGOG_WARN("%s naming no known element dropped", what);
  return false;
}

void HubBridge::onRemoteSelectedBoardElem(std::uint64_t id) {
  BoardElem* elem;
  if (!resolve(id, elem, "target choice")) return;
  hub_.onRemoteSelectedBoardElem(hub_.game().enemyPlayer(), elem);
}

void HubBridge::onRemoteSelectedSpell(int spell, int value) {
  hub_.onRemoteSelectedSpell(hub_.game().enemyPlayer(), spell, value);
}

void HubBridge::onRemoteFinishedSelectingSpells() {
  hub_.onRemoteFinishedSelectingSpells(hub_.game().enemyPlayer());
}

void HubBridge::onRemoteSelectedCard(int card) { hub_.onRemoteSelectedCard(hub_.game().enemyPlayer(), card); }

void HubBridge::onRemoteFinishedSelectingCards() {
  hub_.onRemoteFinishedSelectingCards(hub_.game().enemyPlayer());
}

void HubBridge::onRemoteClickedBoard() { hub_.onRemoteClickedBoard(hub_.game().enemyPlayer()); }

void HubBridge::onRemoteCancel() { hub_.onRemoteCancel(hub_.game().enemyPlayer()); }

bool HubBridge::toEvent(const protocol::AnimateSpellMsg& spell, AnimateSpellEvent& event) const {
  event.caster = replicas_.playerById(spell.caster);
  event.target = replicas_.playerById(spell.target);
  if (!event.caster || !event.target) return false;
  event.card = spell.card;
  event.power = spell.power;
  event.targets.clear();
  event.spared.clear();
  // Every element of a cast spell is one of the boards': a null entry would be a
  // target the effect cannot show.
  for (std::uint64_t id : spell.targets) {
    BoardElem* e = replicas_.elemById(id);
    if (!e) return false;
    event.targets.push_back(e);
  }
  for (std::uint64_t id : spell.spared) {
    BoardElem* e = replicas_.elemById(id);
    if (!e) return false;
    event.spared.push_back(e);
  }
  event.reflected = spell.reflected != 0;
  event.active = spell.active != 0;
  event.animate = true;
  return true;
}

void HubBridge::queueAnimateSpell(const protocol::AnimateSpellMsg& spell) {
  AnimateSpellEvent event;
  if (!toEvent(spell, event)) {
    LOGOG_WARN("spell animation of card %d naming unknown objects dropped", spell.card);
    return;
  }
  hub_.queueAnimateSpell(event);
}

void HubBridge::onFinishedAnimating() { hub_.onFinishedAnimating(); }
void HubBridge::onCardList(const std::vector<int>& cards) { hub_.onCardList(cards); }
void HubBridge::onTurnBegin() { hub_.onTurnBegin(); }

void HubBridge::onRemoteBlockExploded(std::uint64_t id) {
  BoardElem* elem;
  if (resolve(id, elem, "block explosion")) hub_.onRemoteBlockExploded(elem);
}

void HubBridge::onRemoteBlockCollapsed(std::uint64_t id) {
  BoardElem* elem;
  if (resolve(id, elem, "block collapse")) hub_.onRemoteBlockCollapsed(elem);
}

void HubBridge::onRemoteDoorDestroyed(std::uint64_t id) {
  BoardElem* elem;
  if (resolve(id, elem, "door destruction")) hub_.onRemoteDoorDestroyed(elem);
}
