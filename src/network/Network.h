// The game's one network object: owns the peer and the network-id manager, keeps
// the single connection to the lobby server, takes every received packet once a
// frame (update) and reports it to its listener, and knows whether this machine
// hosts the running match (isServer). Every message goes to the lobby server,
// which relays the match messages to the other player.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "NetworkListener.h"
#include "protocol/Messages.h"
#include "raknet/NetworkIDManager.h"
#include "raknet/RakPeerInterface.h"

struct LobbyPlayerEntry {
  RakNet::RakNetGUID guid;
  std::string name;
};

class Network {
 public:
  static constexpr unsigned short kLobbyPort = 3333;
  static constexpr unsigned kMaxConnections = 32;
  static constexpr RakNet::TimeMS kTimeoutMs = 60000;
  static constexpr unsigned kConnectAttempts = 12;
  static constexpr unsigned kConnectIntervalMs = 500;
  static constexpr unsigned kShutdownWaitMs = 1000;

  Network() = default;
  Network(const Network&) = delete;
  Network& operator=(const Network&) = delete;
  ~Network();

  // Where connectToLobby goes; by default MV_LOBBY_HOST (else 127.0.0.1), port 3333.
  void setLobbyEndpoint(const std::string& host, unsigned short port);
  void setListener(NetworkListener* listener) { listener_ = listener; }

  // Takes the peer, starts it and sets the time-out. Called once at the end of loading.
  void init();
  void connectToLobby();
  void disconnectFromLobby();
  // Takes every packet received since the last call and dispatches it.
  void update();
  // Whether the lobby list entry is this machine's own player.
  bool isLocalPlayer(int index) const;
  void sendToServer(const RakNet::BitStream& bitStream);

  // Match messages.
  void sendSelectedBoardElem(std::uint64_t elem);
  void sendSelectedSpell(int spell, int value);
  void sendFinishedSelectingSpells();
  void sendSelectedCard(int card);
  void sendFinishedSelectingCards();
  void sendCancel();
  void sendAnimateSpell(const protocol::AnimateSpellMsg& spell);
  void sendFinishedAnimating();
  void sendGameResult(int code);
  void sendCardList(const std::vector<int>& cards);
  void sendTurnBegin();
  void sendBlockExploded(std::uint64_t elem);
  void sendBlockCollapsed(std::uint64_t elem);
  void sendDoorDestroyed(std::uint64_t elem);
  void sendChat(std::string text);

  // Lobby messages.
  void sendLoginEmail(std::string email);
  void sendLoginCode(std::string code);
  void sendLogin(std::string email, std::string code);
  void sendQuickmatch();
  void sendRematch();
  void sendPlayerName(std::string name);
  void sendCancelMatchmaking();
  void sendInviteFriend(std::string email);
  // Nothing is sent for an index outside the lobby list.
  void sendChallenge(int index);
  void sendChallengeAnswer(int answer);
  void sendLeaveGame();

  bool isServer = false;
  RakNet::RakPeerInterface* peer = nullptr;
  RakNet::NetworkIDManager* networkIdManager = nullptr;
  RakNet::RakNetGUID serverGuid;
  std::vector<LobbyPlayerEntry> players;

 private:
  void startPeer();
  void dispatch(const RakNet::Packet& packet);
  void dispatchMatch(const unsigned char* data, size_t length);
  void dispatchLobby(const unsigned char* data, size_t length);
  template <class M>
  void sendMessage(const M& message) {
    sendToServer(protocol::encode(message));
  }

  NetworkListener* listener_ = nullptr;
  NetworkListener silent_;
  std::string lobbyHost_;
  unsigned short lobbyPort_ = kLobbyPort;
  std::unique_ptr<RakNet::NetworkIDManager> ownedIdManager_;
  bool closedByUs_ = false;
  bool endpointSet_ = false;

  NetworkListener& listener() { return listener_ ? *listener_ : silent_; }
};
