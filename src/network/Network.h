// The game's one network object: owns the peer, the network-id manager and (once
// bound to an event hub) the replication of that hub's game; keeps the single
// connection to the lobby server, takes every received packet once a frame
// (update) and reports it to its listener, and knows whether this machine hosts
// the running match (isServer). Every message goes to the lobby server, which
// relays the match messages to the other player.
//
// Each received message is found in one table (NetworkReceive.cpp): its record, and
// the entry it reaches. The lobby's messages and the connection's events go to the
// lobby events (the hub's lobby entries); the match's to the match listener.
//
// Bound to a hub, it is that hub's match link (the rules' port) and lobby link (the
// hub's): the hub's frame pumps it, the hub's sends go out through it, the lobby's
// messages reach the hub's lobby entries, and the match's reach its entries with
// their NetworkIDs resolved to the game's objects (HubBridge). network() is the
// game's one instance, bound to eventDispatcher(); tests and tools bind their own.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "LobbyEvents.h"
#include "LobbyLink.h"
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

class Network : public MatchLink, public LobbyLink {
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

  // Makes this the hub's match link and lobby link, the hub its lobby events and
  // (through the bridge) its match listener, with the replication of the hub's game
  // (the hub must outlive the network).
  void bindHub(EventDispatcher& hub);
  GameReplicas* replicas() const { return replicas_.get(); }

  // Where connectToLobby goes; by default MV_LOBBY_HOST, "host" or "host:port" (else
  // 127.0.0.1), port 3333 unless it names one.
  void setLobbyEndpoint(const std::string& host, unsigned short port);
  // "host" or "host:port" (empty: 127.0.0.1); false (logged) when it cannot be read, with
  // the default endpoint given.
  static bool parseLobbyEndpoint(const std::string& text, std::string& host, unsigned short& port);
  // Where the match's messages go (null: nowhere).
  void setListener(NetworkListener* listener) { listener_ = listener; }
  // Where the lobby's messages and the connection's events go (null: nowhere).
  void setLobbyEvents(LobbyEvents* events) { lobbyEvents_ = events; }
  // Watches the match's turn begins (tests and tools): called on the host as it sends one
  // (hosting true), and on the joining side as one arrives, before the hub takes it.
  void setTurnWatcher(std::function<void(bool hosting)> watcher) { turnWatcher_ = std::move(watcher); }

  // Takes the peer, starts it and sets the time-out. Called once at the end of loading.
  // False (with a log line) when the peer cannot start: no lobby then, until a
  // later connectToLobby starts it.
  bool init();
  // Whether the peer has started (false before init, or when the last start failed).
  bool started() const;
  void connectToLobby() override;
  void disconnectFromLobby() override;
  // Takes every packet received since the last call and dispatches it.
  void update() override;
  // Whether the lobby list entry is this machine's own player.
  bool isLocalPlayer(int index) const override;
  void sendToServer(const RakNet::BitStream& bitStream);

  // ---- Record ----------------------------------------------------------------------
  // The peer (null before init), for plug-ins beside the replication.
  RakNet::RakPeerInterface* peer() const { return peer_; }
  RakNet::NetworkIDManager& networkIdManager() const { return *networkIdManager_; }
  // The lobby server's GUID, from the packet that accepted the connection.
  RakNet::RakNetGUID serverGuid() const { return serverGuid_; }
  // The lobby list in the server's order, replaced whole by each list received.
  const std::vector<LobbyPlayerEntry>& players() const { return players_; }
  // Hosting is set by each start of a match; a match arranged without the lobby
  // (tests, tools) sets it here.
  void setHosting(bool hosting) { hosting_ = hosting; }

  // ---- MatchLink: hosting and replication ----------------------------------------
  bool isServer() const override { return hosting_; }
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

  // ---- MatchLink: the match messages ----------------------------------------------
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

  // ---- LobbyLink: the lobby's messages -----------------------------------------------
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

 private:
  // Starts the peer with the connection constants; false (logged) when it fails.
  bool startPeer();
  void dispatch(const RakNet::Packet& packet);
  // One row of the table of received messages: the message id (its record's) and
  // what takes it: decoding to the record (a malformed message is logged and
  // dropped), then the entry the message reaches.
  struct Inbound {
    unsigned char id;
    std::function<void(Network& net, const RakNet::Packet& packet)> take;
  };
  template <class M, class Handle>
  static Inbound row(Handle handle);
  // The table, and the row of `id` in it (null for an id this side does not take).
  static const std::vector<Inbound>& inboundTable();
  static const Inbound* inbound(unsigned char id);
  template <class M>
  void sendMessage(const M& message) {
    sendToServer(protocol::encode(message));
  }

  // This machine hosts the running match (set by each start of a match).
  bool hosting_ = false;
  RakNet::RakPeerInterface* peer_ = nullptr;
  RakNet::NetworkIDManager* networkIdManager_ = nullptr;
  RakNet::RakNetGUID serverGuid_;
  std::vector<LobbyPlayerEntry> players_;
  NetworkListener* listener_ = nullptr;
  NetworkListener silent_;
  LobbyEvents* lobbyEvents_ = nullptr;
  LobbyEvents silentLobby_;
  EventDispatcher* hub_ = nullptr;
  std::unique_ptr<GameReplicas> replicas_;
  std::unique_ptr<HubBridge> bridge_;
  std::string lobbyHost_;
  unsigned short lobbyPort_ = kLobbyPort;
  std::unique_ptr<RakNet::NetworkIDManager> ownedIdManager_;
  bool closedByUs_ = false;
  bool endpointSet_ = false;
  std::function<void(bool)> turnWatcher_;

  NetworkListener& listener() { return listener_ ? *listener_ : silent_; }
  LobbyEvents& lobby() { return lobbyEvents_ ? *lobbyEvents_ : silentLobby_; }
};

// The game's one network object, bound to the game's one event hub.
Network& network();
