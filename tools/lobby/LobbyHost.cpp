#include "LobbyHost.h"

#include <algorithm>
#include <chrono>
#include <functional>

#include "logog/logog.hpp"
#include "protocol/Limits.h"
#include "protocol/Messages.h"
#include "raknet/MessageIdentifiers.h"

namespace {

// Takes the replica managers' messages, which never reach the application, to the
// server's relay, from the connections the host counts as its clients.
class ReplicaRelay : public RakNet::PluginInterface2 {
 public:
  ReplicaRelay(LobbyServer& server, std::function<bool(std::uint64_t)> admitted)
      : server_(server), admitted_(std::move(admitted)) {}
  RakNet::PluginReceiveResult OnReceive(RakNet::Packet* p) override {
    if (p->wasGeneratedLocally || p->length == 0 || p->data[0] < ID_REPLICA_MANAGER_CONSTRUCTION ||
        p->data[0] > ID_REPLICA_MANAGER_CONSTRUCTION_ACCEPTED)
      return RakNet::RR_CONTINUE_PROCESSING;
    if (admitted_(p->guid.g)) server_.onReplicaMessage(p->guid.g, p->data, p->length, LobbyHost::nowMs());
    return RakNet::RR_STOP_PROCESSING_AND_DEALLOCATE;
  }

 private:
  LobbyServer& server_;
  std::function<bool(std::uint64_t)> admitted_;
};

}  // namespace

RakNet::IncomingLimits LobbyHostOptions::defaultLimits() {
  RakNet::IncomingLimits l = protocol::incomingLimits();
  // What a thousand players leave waiting and make us inflate together, with room
  // to spare.
  l.maxWaitingBytesTotal = 16 * 1024 * 1024;
  l.inflatedBytesPerSecondTotal = 64 * 1024 * 1024;
  // A game opens one connection each time its player goes online; many players behind
  // one router open more, but not hundreds a second.
  l.greetingsPerSecond = 20;
  l.greetingBurst = 60;
  return l;
}

LobbyHost::LobbyHost(Mailer& mailer) : mailer_(mailer) {}

LobbyHost::~LobbyHost() { stop(); }

std::int64_t LobbyHost::nowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

bool LobbyHost::start(const LobbyHostOptions& options) {
  stop();
  accounts_ = std::make_unique<AccountStore>(options.accountsPath);
  if (!accounts_->load()) return false;
  if (!options.importPath.empty() && !accounts_->importFile(options.importPath)) return false;
  if (options.accountsPath.empty()) {
    service_ = std::make_unique<InlineAccounts>(*accounts_);
  } else {
    auto workers = std::make_unique<AccountWorkers>(
        options.accountsPath, options.hashers ? options.hashers : AccountWorkers::defaultHashers());
    if (!workers->ready()) return false;
    service_ = std::move(workers);
  }
  maxClients_ = std::max(1u, options.maxClients);
  LobbyConfig config = options.config;
  if (config.maxUnfinished <= 0) config.maxUnfinished = static_cast<int>(std::max(1u, maxClients_ / 2));
  server_ = std::make_unique<LobbyServer>(*this, mailer_, *service_, config);
  maxPacketsPerPump_ = options.maxPacketsPerPump > 0 ? options.maxPacketsPerPump : 1;
  const unsigned peers = (maxClients_ + kClientsPerPeer - 1) / kClientsPerPeer;
  // Room for an uneven spread: the system hashes each client to a peer.
  const unsigned slots = peers == 1 ? maxClients_ : std::min(kMostPerPeer, maxClients_ / peers * 5 / 4 + 16);
  for (unsigned i = 0; i < peers; ++i) {
    if (!startPeer(options, i == 0 ? options.port : port(), slots, peers > 1)) {
      stop();
      return false;
    }
  }
  LOGOG_INFO("lobby listening on %s port %u (%zu accounts, up to %u clients on %u peers, %d of them logging in)",
             options.bind.empty() ? "*" : options.bind.c_str(), static_cast<unsigned>(port()), accounts_->size(),
             maxClients_, peers, config.maxUnfinished);
  return true;
}

bool LobbyHost::startPeer(const LobbyHostOptions& options, unsigned short port, unsigned slots, bool share) {
  Peer p;
  p.peer = RakNet::RakPeerInterface::GetInstance();
  const size_t index = peers_.size();
  p.replicaRelay = std::make_unique<ReplicaRelay>(*server_, [this, index](std::uint64_t client) {
    auto it = peerOfClient_.find(client);
    return it != peerOfClient_.end() && it->second == index;
  });
  p.peer->AttachPlugin(p.replicaRelay.get());
  if (!peers_.empty()) p.peer->ShareGreetings(peers_.front().peer);
  RakNet::SocketDescriptor sd(port, options.bind.empty() ? nullptr : options.bind.c_str());
  sd.sharePort = share;
  RakNet::StartupResult r = p.peer->Startup(slots, &sd, 1);
  if (r != RakNet::RAKNET_STARTED) {
    LOGOG_ERROR("lobby cannot start on %s:%u (result %d)", options.bind.empty() ? "*" : options.bind.c_str(),
                static_cast<unsigned>(port), static_cast<int>(r));
    RakNet::RakPeerInterface::DestroyInstance(p.peer);
    return false;
  }
  p.peer->SetMaximumIncomingConnections(static_cast<unsigned short>(slots));
  p.peer->SetTimeoutTime(options.timeoutMs, RakNet::UNASSIGNED_SYSTEM_ADDRESS);
  p.peer->SetIncomingLimits(options.limits);
  p.peer->SetOutgoingQueueLimit(options.maxOutgoingBytes);
  // A game of an older greeting hears what any game of another version hears.
  protocol::LobbyErrorMsg outdated;
  outdated.error = protocol::kErrorInvalidProtocol;
  RakNet::BitStream farewell = protocol::encode(outdated);
  p.peer->SetOutdatedFarewell(farewell.GetData(), farewell.GetNumberOfBytesUsed());
  peers_.push_back(std::move(p));
  return true;
}

void LobbyHost::stop() {
  for (Peer& p : peers_) {
    p.peer->Shutdown(300);
    RakNet::RakPeerInterface::DestroyInstance(p.peer);
  }
  peers_.clear();
  peerOfClient_.clear();
  server_.reset();
  service_.reset();  // writes handed in are finished first
}

unsigned short LobbyHost::port() const {
  return peers_.empty() ? 0 : peers_[0].peer->GetMyBoundAddress().GetPort();
}

RakNet::RakPeerInterface* LobbyHost::peerOf(std::uint64_t client) {
  auto it = peerOfClient_.find(client);
  return it == peerOfClient_.end() ? nullptr : peers_[it->second].peer;
}

void LobbyHost::handle(size_t index, RakNet::Packet* p) {
  RakNet::RakPeerInterface* peer = peers_[index].peer;
  const std::uint64_t client = p->guid.g;
  std::int64_t now = nowMs();
  auto it = peerOfClient_.find(client);
  bool ours = it != peerOfClient_.end() && it->second == index;
  switch (p->data[0]) {
    case ID_NEW_INCOMING_CONNECTION:
      // The peers hold GUIDs together: a client known on another peer is the same one
      // back on a new socket, and that peer closes its old connection (whose loss,
      // heard later from there, is no longer ours).
      if (it != peerOfClient_.end() && !ours) {
        LOGOG_INFO("client %llx is back on a new connection", static_cast<unsigned long long>(client));
        peerOfClient_.erase(it);
        server_->onDisconnected(client, now);
      }
      if (!ours && peerOfClient_.size() >= maxClients_) {
        LOGOG_INFO("client %llx refused: the lobby is full", static_cast<unsigned long long>(client));
        peer->CloseConnection(p->guid, true);
        return;
      }
      peerOfClient_[client] = index;
      server_->onConnected(client, now, p->systemAddress.address);
      return;
    case ID_DISCONNECTION_NOTIFICATION:
    case ID_CONNECTION_LOST:
      if (!ours) return;
      peerOfClient_.erase(it);
      server_->onDisconnected(client, now);
      return;
    default:
      if (ours && p->data[0] >= ID_USER_PACKET_ENUM) server_->onMessage(client, p->data, p->length, now);
      return;
  }
}

int LobbyHost::pump() {
  if (peers_.empty()) return 0;
  int handled = 0;
  // Each peer hands out its clients' messages in turn, one each, and the peers take
  // turns; the bound keeps the timers running however busy the clients are.
  for (bool any = true; any && handled < maxPacketsPerPump_;) {
    any = false;
    for (size_t i = 0; i < peers_.size() && handled < maxPacketsPerPump_; ++i) {
      RakNet::Packet* p = peers_[i].peer->Receive();
      if (!p) continue;
      any = true;
      ++handled;
      handle(i, p);
      peers_[i].peer->DeallocatePacket(p);
    }
  }
  server_->tick(nowMs());
  return handled;
}

void LobbyHost::send(std::uint64_t client, const unsigned char* data, size_t length) {
  if (RakNet::RakPeerInterface* peer = peerOf(client))
    peer->Send(reinterpret_cast<const char*>(data), static_cast<int>(length), HIGH_PRIORITY, RELIABLE_ORDERED, 0,
               RakNet::RakNetGUID(client), false);
}

void LobbyHost::disconnect(std::uint64_t client) {
  auto it = peerOfClient_.find(client);
  if (it == peerOfClient_.end()) return;
  peers_[it->second].peer->CloseConnection(RakNet::RakNetGUID(client), true);
  peerOfClient_.erase(it);  // the server has forgotten it; so does the count
}
