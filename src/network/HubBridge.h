// Hands the match messages the network received to the event hub, with their
// NetworkIDs resolved to the game's objects (the lobby's messages reach the hub's
// lobby entries straight from the network's table). An id that names no object of
// the expected kind refuses the message (with a log line): a choice, a board event
// or a spell animation about an unknown object is stale or forged, and reaches the
// game not at all. The unassigned id stays "no object"
// where a message may name none.
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

  // The spell record of a received animation; false when an id names nothing.
  bool toEvent(const protocol::AnimateSpellMsg& spell, AnimateSpellEvent& event) const;

 private:
  // The element of `id` into `elem` (null for the unassigned id); false when the
  // id names no element.
  bool resolve(std::uint64_t id, BoardElem*& elem, const char* what) const;

  EventDispatcher& hub_;
  GameReplicas& replicas_;
};
