// What the network object reports of the match: every received match message,
// already decoded and checked (the lobby's messages and the connection's events go
// to LobbyEvents). The event hub takes them through HubBridge; tests record them.
// Object references arrive as NetworkIDs (protocol::kNoObject for none); the bridge
// resolves them to the game's objects.
#pragma once

#include <cstdint>
#include <vector>

#include "protocol/Messages.h"

class NetworkListener {
 public:
  virtual ~NetworkListener() = default;

  virtual void onRemoteSelectedBoardElem(std::uint64_t elem) { (void)elem; }
  virtual void onRemoteSelectedSpell(int spell, int value) {
    (void)spell;
    (void)value;
  }
  virtual void onRemoteFinishedSelectingSpells() {}
  virtual void onRemoteSelectedCard(int card) { (void)card; }
  virtual void onRemoteFinishedSelectingCards() {}
  virtual void onRemoteClickedBoard() {}
  virtual void onRemoteCancel() {}
  virtual void queueAnimateSpell(const protocol::AnimateSpellMsg& spell) { (void)spell; }
  virtual void onFinishedAnimating() {}
  virtual void onCardList(const std::vector<int>& cards) { (void)cards; }
  virtual void onTurnBegin() {}
  virtual void onRemoteBlockExploded(std::uint64_t elem) { (void)elem; }
  virtual void onRemoteBlockCollapsed(std::uint64_t elem) { (void)elem; }
  virtual void onRemoteDoorDestroyed(std::uint64_t elem) { (void)elem; }
};
