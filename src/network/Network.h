// The game's one network object: owns the peer, the network-id manager and (once
// bound to an event hub) the replication of that hub's game; keeps the single
// connection to the lobby server, takes every received packet once a frame
// (update) and reports it to its listener, and knows whether this machine hosts
// the running match (isServer). Every message goes to the lobby server, which
// relays the match messages to the other player.
//
// Bound to a hub, it is that hub's match link: the hub's frame pumps it, the hub's
// sends go out through it, and every received message reaches the hub's entries
// with its NetworkIDs resolved to the game's objects. network() is the game's one
// instance, bound to eventDispatcher(); tests and tools bind their own.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "NetworkListener.h"
#include "ports/MatchLink.h"
#include "protocol/Messages.h"
#include "raknet/NetworkIDManager.h"
#include "raknet/RakPeerInterface.h"

class EventDispatcher;
class GameReplicas;
class HubBridge;

struct LobbyPlayerEntry {
  RakNet::RakNetGUID guid;
  std::string name;
};

class Network : public MatchLink {
 public:
  static constexpr unsigned short kLobbyPort = 3333;
  static constexpr unsigned kMaxConnections = 32;
  static constexpr RakNet::TimeMS kTimeoutMs = 60000;
  static constexpr unsigned kConnectAttempts = 12;
  static constexpr unsigned kConnectIntervalMs = 500;
  static constexpr unsigned kShutdownWaitMs = 1000;

  Network();
  // Bound to `hub` at once (see bindHub).
  explicit Network(EventDispatcher& hub);
  Network(const Network&) = delete;
  Network& operator=(const Network&) = delete;
  ~Network() override;

  // Makes this the hub's match link and listener, with the replication of the
  // hub's game (the hub must outlive the network).
  void bindHub(EventDispatcher& hub);
  GameReplicas* replicas() const { return replicas_.get(); }

  // Where connectToLobby goes; by default MV_LOBBY_HOST (else 127.0.0.1), port 3333.
  void setLobbyEndpoint(const std::string& host, unsigned short port);
  void setListener(NetworkListener* listener) { listener_ = listener; }

  // Takes the peer, starts it and sets the time-out. Called once at the end of loading.
  void init();
  void connectToLobby() override;
  void disconnectFromLobby() override;
  // Takes every packet received since the last call and dispatches it.
  void update() override;
  // Whether the lobby list entry is this machine's own player.
  bool isLocalPlayer(int index) const override;
  void sendToServer(const RakNet::BitStream& bitStream);

  // ---- MatchLink: hosting and replication ----------------------------------------
  bool isServer() const override { return hosting; }
  void referenceReplica(Player& player) override;
  void referenceReplica(Board& board) override;
  void referenceReplica(BoardElem& elem) override;
  void destroyReplica(Player& player) override;
  void destroyReplica(Board& board) override;
  void destroyReplica(BoardElem& elem) override;
  void updateReplicas() override;
  void takeHeldBackCards(Player& player) override;
  void dropRemoteObjects() override;
  // The game's objects as messages name them (the unassigned id for none).
  std::uint64_t idOf(const BoardElem* elem) const;
  std::uint64_t idOf(const Player* player) const;
  void sendSelectedBoardElem(BoardElem* elem) override { sendSelectedBoardElem(idOf(elem)); }
  void sendBlockExploded(BoardElem* elem) override { sendBlockExploded(idOf(elem)); }
  void sendBlockCollapsed(BoardElem* elem) override { sendBlockCollapsed(idOf(elem)); }
  void sendDoorDestroyed(BoardElem* elem) override { sendDoorDestroyed(idOf(elem)); }
  void sendAnimateSpell(const AnimateSpellEvent& event) override;

  // Match messages.
  void sendSelectedBoardElem(std::uint64_t elem);
  void sendSelectedSpell(int spell, int value) override;
  void sendFinishedSelectingSpells() override;
  void sendSelectedCard(int card) override;
  void sendFinishedSelectingCards() override;
  void sendCancel() override;
  void sendAnimateSpell(const protocol::AnimateSpellMsg& spell);
  void sendFinishedAnimating() override;
  void sendGameResult(int code) override;
  void sendCardList(const std::vector<int>& cards) override;
  void sendTurnBegin() override;
  void sendBlockExploded(std::uint64_t elem);
  void sendBlockCollapsed(std::uint64_t elem);
  void sendDoorDestroyed(std::uint64_t elem);
  void sendChat(const std::string& text) override;

  // Lobby messages.
  void sendLoginEmail(const std::string& email) override;
  void sendLoginCode(const std::string& code) override;
  void sendLogin(const std::string& email, const std::string& code) override;
  void sendQuickmatch() override;
  void sendRematch() override;
  void sendPlayerName(const std::string& name) override;
  void sendCancelMatchmaking() override;
  void sendInviteFriend(const std::string& email) override;
  // Nothing is sent for an index outside the lobby list.
  void sendChallenge(int index) override;
  void sendChallengeAnswer(int answer) override;
  void sendLeaveGame() override;

  // This machine hosts the running match (set by each start of a match).
  bool hosting = false;
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
  EventDispatcher* hub_ = nullptr;
  std::unique_ptr<GameReplicas> replicas_;
  std::unique_ptr<HubBridge> bridge_;
  std::string lobbyHost_;
  unsigned short lobbyPort_ = kLobbyPort;
  std::unique_ptr<RakNet::NetworkIDManager> ownedIdManager_;
  bool closedByUs_ = false;
  bool endpointSet_ = false;

  NetworkListener& listener() { return listener_ ? *listener_ : silent_; }
};

// The game's one network object, bound to the game's one event hub.
Network& network();
