#include "LobbyHost.h"

#include <arpa/inet.h>

#include <chrono>

#include "logog/logog.hpp"
#include "raknet/MessageIdentifiers.h"

namespace {

// Takes the replica managers' messages, which never reach the application, to the
// server's relay.
class ReplicaRelay : public RakNet::PluginInterface2 {
 public:
  explicit ReplicaRelay(LobbyServer& server) : server_(server) {}
  RakNet::PluginReceiveResult OnReceive(RakNet::Packet* p) override {
    if (p->wasGeneratedLocally || p->length == 0 || p->data[0] < ID_REPLICA_MANAGER_CONSTRUCTION ||
        p->data[0] > ID_REPLICA_MANAGER_CONSTRUCTION_ACCEPTED)
      return RakNet::RR_CONTINUE_PROCESSING;
    server_.onReplicaMessage(p->guid.g, p->data, p->length, LobbyHost::nowMs());
    return RakNet::RR_STOP_PROCESSING_AND_DEALLOCATE;
  }

 private:
  LobbyServer& server_;
};

}  // namespace

RakNet::IncomingLimits LobbyHostOptions::defaultLimits() {
  RakNet::IncomingLimits l;
  l.messagesPerSecond = 10000;
  l.messageBurst = 20000;
  l.bytesPerSecond = 2 * 1024 * 1024;
  l.byteBurst = 8 * 1024 * 1024;
  l.maxWaitingMessages = 20000;
  l.maxWaitingBytes = 8 * 1024 * 1024;
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
  server_ = std::make_unique<LobbyServer>(*this, mailer_, *service_, options.config);
  peer_ = RakNet::RakPeerInterface::GetInstance();
  replicaRelay_ = std::make_unique<ReplicaRelay>(*server_);
  peer_->AttachPlugin(replicaRelay_.get());
  RakNet::SocketDescriptor sd(options.port, options.bind.empty() ? nullptr : options.bind.c_str());
  RakNet::StartupResult r = peer_->Startup(options.maxClients, &sd, 1);
  if (r != RakNet::RAKNET_STARTED) {
    LOGOG_ERROR("lobby cannot start on %s:%u (result %d)", options.bind.empty() ? "*" : options.bind.c_str(),
                static_cast<unsigned>(options.port), static_cast<int>(r));
    RakNet::RakPeerInterface::DestroyInstance(peer_);
    peer_ = nullptr;
    return false;
  }
  peer_->SetMaximumIncomingConnections(static_cast<unsigned short>(options.maxClients > 65535 ? 65535 : options.maxClients));
  peer_->SetTimeoutTime(options.timeoutMs, RakNet::UNASSIGNED_SYSTEM_ADDRESS);
  peer_->SetIncomingLimits(options.limits);
  peer_->SetOutgoingQueueLimit(options.maxOutgoingBytes);
  maxPacketsPerPump_ = options.maxPacketsPerPump > 0 ? options.maxPacketsPerPump : 1;
  LOGOG_INFO("lobby listening on %s port %u (%zu accounts)", options.bind.empty() ? "*" : options.bind.c_str(),
             static_cast<unsigned>(port()), accounts_->size());
  return true;
}

void LobbyHost::stop() {
  if (!peer_) return;
  peer_->Shutdown(300);
  RakNet::RakPeerInterface::DestroyInstance(peer_);
  peer_ = nullptr;
  server_.reset();
  service_.reset();  // writes handed in are finished first
}

unsigned short LobbyHost::port() const {
  return peer_ ? peer_->GetMyBoundAddress().GetPort() : 0;
}

int LobbyHost::pump() {
  if (!peer_) return 0;
  int handled = 0;
  // The peer hands out the clients' messages in turn, one each; the bound keeps the
  // timers running however busy the clients are.
  while (handled < maxPacketsPerPump_) {
    RakNet::Packet* p = peer_->Receive();
    if (!p) break;
    ++handled;
    std::int64_t now = nowMs();
    switch (p->data[0]) {
      case ID_NEW_INCOMING_CONNECTION:
        server_->onConnected(p->guid.g, now, p->systemAddress.address);
        break;
      case ID_DISCONNECTION_NOTIFICATION:
      case ID_CONNECTION_LOST:
        server_->onDisconnected(p->guid.g, now);
        break;
      default:
        if (p->data[0] >= ID_USER_PACKET_ENUM) server_->onMessage(p->guid.g, p->data, p->length, now);
        break;
    }
    peer_->DeallocatePacket(p);
  }
  server_->tick(nowMs());
  return handled;
}

void LobbyHost::send(std::uint64_t client, const unsigned char* data, size_t length) {
  peer_->Send(reinterpret_cast<const char*>(data), static_cast<int>(length), HIGH_PRIORITY, RELIABLE_ORDERED, 0,
              RakNet::RakNetGUID(client), false);
}

void LobbyHost::disconnect(std::uint64_t client) {
  peer_->CloseConnection(RakNet::RakNetGUID(client), true);
}

void LobbyHost::refuseAddress(std::uint32_t address, std::int64_t ms) {
  in_addr a{};
  a.s_addr = htonl(address);
  char ip[INET_ADDRSTRLEN];
  if (inet_ntop(AF_INET, &a, ip, sizeof ip))
    peer_->AddToBanList(ip, static_cast<RakNet::TimeMS>(ms > 0 ? ms : 1));
}
