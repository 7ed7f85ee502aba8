// Runs a LobbyServer on real peers: accepts connections, feeds packets and
// connection events to the server and carries its messages back out.
// Single-threaded: pump() does one round of everything.
//
// Clients are spread over several peers on the same port by the system (a client
// stays with one): a peer holds at most some four thousand, and each serves its
// share on a thread of its own, its cost growing with the connections it holds. The
// peers hold GUIDs together, so a Hello is refused or taken alike whichever peer
// hears it, and count the connections each address opens together.
//
// The peer holds every connection to its share: what it may send (a rate, and what
// may wait to be read) and what may wait for it to acknowledge. A connection over a
// limit is closed, which the server hears as any other lost connection.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "AccountStore.h"
#include "AccountWorkers.h"
#include "LobbyServer.h"
#include "Mailer.h"
#include "raknet/RakPeerInterface.h"

struct LobbyHostOptions {
  std::string bind;  // empty: every interface
  unsigned short port = 3333;
  unsigned maxClients = 1000;
  // Silence after which a client counts as gone: a live one answers pings every half
  // second of quiet, so a game that died is noticed some 8 s later, and its partner told.
  unsigned timeoutMs = 8000;
  std::string accountsPath;  // the account database; empty: in memory only
  std::string importPath;    // an older server's account file, imported once
  unsigned hashers = 0;      // threads checking codes (0: as the machine allows)
  // The server's; a bound of 0 on the connections still logging in becomes half of
  // maxClients, so that strangers who never log in leave the other half to players.
  LobbyConfig config;
  // What the game's protocol allows one side (protocol::incomingLimits), and bounds
  // for all clients together.
  RakNet::IncomingLimits limits = defaultLimits();
  std::size_t maxOutgoingBytes = 8 * 1024 * 1024;  // waiting for one client to acknowledge
  int maxPacketsPerPump = 4096;                    // then the timers run

  static RakNet::IncomingLimits defaultLimits();
};

class LobbyHost : public LobbyTransport {
 public:
  explicit LobbyHost(Mailer& mailer);
  ~LobbyHost() override;

  bool start(const LobbyHostOptions& options);
  void stop();
  // Takes every waiting packet to the server, then runs its timers. Returns the
  // number of packets handled.
  int pump();
  unsigned short port() const;
  LobbyServer& server() { return *server_; }

  // The clients one peer is meant for, and the most it can hold.
  static constexpr unsigned kClientsPerPeer = 1024;
  static constexpr unsigned kMostPerPeer = 4091;

  static std::int64_t nowMs();

 private:
  // LobbyTransport: the server's messages go out over the peer.
  void send(std::uint64_t client, const unsigned char* data, size_t length) override;
  void disconnect(std::uint64_t client) override;

  struct Peer {
    RakNet::RakPeerInterface* peer = nullptr;
    std::unique_ptr<RakNet::PluginInterface2> replicaRelay;
  };
  bool startPeer(const LobbyHostOptions& options, unsigned short port, unsigned slots, bool share);
  // Handles one packet of peer `index`.
  void handle(size_t index, RakNet::Packet* p);
  RakNet::RakPeerInterface* peerOf(std::uint64_t client);

  Mailer& mailer_;
  std::vector<Peer> peers_;
  std::unordered_map<std::uint64_t, size_t> peerOfClient_;
  unsigned maxClients_ = 0;
  std::unique_ptr<AccountStore> accounts_;
  std::unique_ptr<AccountService> service_;
  std::unique_ptr<LobbyServer> server_;
  int maxPacketsPerPump_ = 4096;
};
