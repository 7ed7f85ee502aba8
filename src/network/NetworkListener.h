// What the network object reports: connection events and every received lobby and
// match message, already decoded and checked. The event hub implements it (through
// a small adapter); tests record it. Object references arrive as NetworkIDs
// (protocol::kNoObject for none); the adapter resolves them to the game's objects.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "protocol/Messages.h"

class NetworkListener {
 public:
  virtual ~NetworkListener() = default;

  // Lobby connection.
  virtual void onLobbyConnecting() {}
  virtual void onLobbyConnected() {}
  virtual void onLobbyConnectFailed() {}
  virtual void onLobbyConnectionLost() {}

  // Lobby messages.
  virtual void onLoginRequired() {}
  virtual void onCodeRequested() {}
  virtual void onNameRequested() {}
  virtual void onLoginAccepted() {}
  virtual void onLobbyError(int error) { (void)error; }
  virtual void onPlayerList(int onlineCount, const std::vector<std::string>& names) {
    (void)onlineCount;
    (void)names;
  }
  virtual void onChallengeReceived(const std::string& name) { (void)name; }
  virtual void onChallengeRejected() {}
  virtual void onServerStart(const std::string& opponent) { (void)opponent; }
  virtual void onClientStart(const std::string& opponent) { (void)opponent; }
  virtual void onGameEndNotice(int code) { (void)code; }
  virtual void onChatReceived(const std::string& text) { (void)text; }

  // Match messages from the other player.
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
