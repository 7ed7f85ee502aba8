// Hands the match messages the network received to the event hub, with their
// NetworkIDs resolved to the game's objects (the lobby's messages reach the hub's
// lobby entries straight from the network's table). An id that names no object of
// the expected kind, like the unassigned id, reaches the hub as no object; the hub's
// entries decide what a message about no object does (a choice of no element is
// refused, a board event about none shows nothing, an animation without its caster
// is dropped).
#pragma once

#include "NetworkListener.h"

class EventDispatcher;
class GameReplicas;
class BoardElem;
struct AnimateSpellEvent;

class HubBridge : public NetworkListener {
 public:
  HubBridge(EventDispatcher& hub, GameReplicas& replicas) : hub_(hub), replicas_(replicas) {}

  void onRemoteSelectedBoardElem(std::uint64_t elem) override;
  void onRemoteSelectedSpell(int spell, int value) override;
  void onRemoteFinishedSelectingSpells() override;
  void onRemoteSelectedCard(int card) override;
  void onRemoteFinishedSelectingCards() override;
  void onRemoteClickedBoard() override;
  void onRemoteCancel() override;
  void queueAnimateSpell(const protocol::AnimateSpellMsg& spell) override;
  void onFinishedAnimating() override;
  void onCardList(const std::vector<int>& cards) override;
  void onTurnBegin() override;
  void onRemoteBlockExploded(std::uint64_t elem) override;
  void onRemoteBlockCollapsed(std::uint64_t elem) override;
  void onRemoteDoorDestroyed(std::uint64_t elem) override;

  // The spell record of a received animation; an id that names nothing is a null
  // caster, target or list entry.
  void toEvent(const protocol::AnimateSpellMsg& spell, AnimateSpellEvent& event) const;

 private:
  // The element of `id`: null for the unassigned id and (with a log line) for an
  // id that names no element.
  BoardElem* resolve(std::uint64_t id, const char* what) const;

  EventDispatcher& hub_;
  GameReplicas& replicas_;
};
