#include "HubBridge.h"

#include "EventDispatcher.h"
#include "GameReplicas.h"
#include "game/GameSession.h"
#include "logog/logog.hpp"
#include "player/AnimateSpellEvent.h"

BoardElem* HubBridge::resolve(std::uint64_t id, const char* what) const {
  if (id == RakNet::UNASSIGNED_NETWORK_ID) return nullptr;
  BoardElem* elem = replicas_.elemById(id);
  if (!elem) LOGOG_WARN("%s names no known element", what);
  return elem;
}

void HubBridge::onRemoteSelectedBoardElem(std::uint64_t id) {
  hub_.onRemoteSelectedBoardElem(hub_.game().enemyPlayer(), resolve(id, "target choice"));
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

void HubBridge::toEvent(const protocol::AnimateSpellMsg& spell, AnimateSpellEvent& event) const {
  event.caster = replicas_.playerById(spell.caster);
  event.target = replicas_.playerById(spell.target);
  event.card = spell.card;
  event.power = spell.power;
  event.targets.clear();
  event.spared.clear();
  for (std::uint64_t id : spell.targets) event.targets.push_back(replicas_.elemById(id));
  for (std::uint64_t id : spell.spared) event.spared.push_back(replicas_.elemById(id));
  event.reflected = spell.reflected != 0;
  event.active = spell.active != 0;
  event.animate = true;
}

void HubBridge::queueAnimateSpell(const protocol::AnimateSpellMsg& spell) {
  AnimateSpellEvent event;
  toEvent(spell, event);
  hub_.queueAnimateSpell(event);
}

void HubBridge::onFinishedAnimating() { hub_.onFinishedAnimating(); }
void HubBridge::onCardList(const std::vector<int>& cards) { hub_.onCardList(cards); }
void HubBridge::onTurnBegin() { hub_.onTurnBegin(); }

void HubBridge::onRemoteBlockExploded(std::uint64_t id) {
  hub_.onRemoteBlockExploded(resolve(id, "block explosion"));
}

void HubBridge::onRemoteBlockCollapsed(std::uint64_t id) {
  hub_.onRemoteBlockCollapsed(resolve(id, "block collapse"));
}

void HubBridge::onRemoteDoorDestroyed(std::uint64_t id) {
  hub_.onRemoteDoorDestroyed(resolve(id, "door destruction"));
}
