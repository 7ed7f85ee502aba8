// The peer's calls of the application (see RakPeer.h).
#include "RakPeer.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/random.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>

#include "logog/logog.hpp"

namespace RakNet {
namespace peer {
namespace {

std::uint64_t randomGuid() {
  std::uint64_t g = 0;
  while (g == 0 || g == UNASSIGNED_RAKNET_GUID.g) {
    if (getrandom(&g, sizeof g, 0) != static_cast<ssize_t>(sizeof g)) {
      g = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) *
          0x9E3779B97F4A7C15ull;
    }
  }
  return g;
}

void releaseOutgoing(ENetPacket* packet) {
  if (packet->userData) static_cast<OutQueue*>(packet->userData)->release(packet->dataLength);
}

std::once_flag enetInitOnce;
bool enetReady = false;

}  // namespace

SystemAddress toSystemAddress(const ENetAddress& a, std::uint16_t index) {
  SystemAddress s;
  s.address = ntohl(a.host);
  s.port = a.port;
  s.systemIndex = index;
  return s;
}

RakPeer::RakPeer() {
  guid_.g = randomGuid();
  proof_ = randomGuid();
}

RakPeer::~RakPeer() {
  Shutdown(0, 0, LOW_PRIORITY);
  for (PluginInterface2* plugin : plugins_) plugin->SetRakPeerInterface(nullptr);
}

StartupResult RakPeer::Startup(unsigned int maxConnections, SocketDescriptor* descriptors,
                               unsigned descriptorCount, int) {
  if (IsActive()) return RAKNET_ALREADY_STARTED;
  if (!descriptors || descriptorCount == 0) return INVALID_SOCKET_DESCRIPTORS;
  if (maxConnections == 0 || maxConnections > ENET_PROTOCOL_MAXIMUM_PEER_ID - kSparePeers)
    return INVALID_MAX_CONNECTIONS;
  if (descriptors[0].socketFamily != SocketDescriptor::kAfInet) return SOCKET_FAMILY_NOT_SUPPORTED;
  std::call_once(enetInitOnce, [] { enetReady = enet_initialize() == 0; });
  if (!enetReady) return STARTUP_OTHER_FAILURE;

  ENetAddress address;
  address.host = ENET_HOST_ANY;
  address.port = descriptors[0].port;
  if (descriptors[0].hostAddress[0] != '\0' &&
      enet_address_set_host_ip(&address, descriptors[0].hostAddress) != 0) {
    LOGOG_ERROR("Startup: bad bind address %s", descriptors[0].hostAddress);
    return SOCKET_FAILED_TO_BIND;
  }
  const bool share = descriptors[0].sharePort;
  ENetHost* host = enet_host_create(share ? nullptr : &address, maxConnections + kSparePeers, 1, 0, 0);
  if (host && share) {
    // Bound here, after the option that lets other peers bind the same port.
    int on = 1;
    if (setsockopt(host->socket, SOL_SOCKET, SO_REUSEPORT, &on, sizeof on) != 0 ||
        enet_socket_bind(host->socket, &address) != 0 || enet_socket_get_address(host->socket, &host->address) != 0) {
      enet_host_destroy(host);
      host = nullptr;
    }
  }
  if (!host) {
    LOGOG_ERROR("Startup: cannot bind UDP port %u", static_cast<unsigned>(descriptors[0].port));
    return descriptors[0].port ? SOCKET_PORT_ALREADY_IN_USE : SOCKET_FAILED_TO_BIND;
  }
  // Bounds what one remote system can make us hold: a message, and its queue.
  host->maximumPacketSize = kMaxMessageBytes + kCompressionSlack;
  host->maximumWaitingData = 2 * kMaxMessageBytes;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    host_ = host;
    maxConnections_ = maxConnections;
  }
  wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  running_ = true;
  thread_ = std::thread([this] { ServiceLoop(); });
  for (PluginInterface2* plugin : plugins_) plugin->OnRakPeerStartup();
  return RAKNET_STARTED;
}

void RakPeer::SetMaximumIncomingConnections(unsigned short n) {
  std::lock_guard<std::mutex> lock(mutex_);
  maxIncoming_ = n;
}

unsigned int RakPeer::GetMaximumIncomingConnections() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return maxIncoming_;
}

unsigned short RakPeer::NumberOfConnections() const {
  std::lock_guard<std::mutex> lock(mutex_);
  unsigned short n = 0;
  for (auto& entry : conns_)
    if (entry.second.state == Connection::State::Connected) ++n;
  return n;
}

ConnectionAttemptResult RakPeer::Connect(const char* hostName, unsigned short port, const char*, int, void*,
                                         unsigned, unsigned attempts, unsigned interval, TimeMS timeoutTime) {
  if (!IsActive() || !hostName || !*hostName || port == 0) return INVALID_PARAMETER;
  ENetAddress address;
  // A dotted address needs no resolver (which may take milliseconds per call).
  if (enet_address_set_host_ip(&address, hostName) != 0 && enet_address_set_host(&address, hostName) != 0)
    return CANNOT_RESOLVE_DOMAIN_NAME;
  address.port = port;
  std::lock_guard<std::mutex> lock(mutex_);
  if (!host_) return INVALID_PARAMETER;
  for (auto& entry : conns_) {
    const ENetAddress& a = entry.second.peer->address;
    if (a.host == address.host && a.port == address.port &&
        entry.second.state != Connection::State::Closing) {
      return entry.second.state == Connection::State::Connected ? ALREADY_CONNECTED_TO_ENDPOINT
                                                                : CONNECTION_ATTEMPT_ALREADY_IN_PROGRESS;
    }
  }
  if (conns_.size() >= maxConnections_) return INVALID_PARAMETER;
  ENetPeer* peer = enet_host_connect(host_, &address, 1, handshake::connectData());
  if (!peer) return INVALID_PARAMETER;
  std::uint64_t window = static_cast<std::uint64_t>(std::max(1u, attempts)) * std::max(1u, interval);
  window = std::max<std::uint64_t>(window, 100);
  enet_peer_timeout(peer, 32, static_cast<enet_uint32>(window), static_cast<enet_uint32>(window));
  Connection c;
  c.peer = peer;
  c.number = nextNumber_++;
  c.address = toSystemAddress(address, static_cast<std::uint16_t>(peer->incomingPeerID));
  c.incoming = false;
  c.state = Connection::State::Connecting;
  c.deadline = nowMs() + window;
  c.timeout = timeoutTime ? timeoutTime : defaultTimeout_;
  c.out = new OutQueue;
  conns_[peer] = c;
  enet_host_flush(host_);
  return CONNECTION_ATTEMPT_STARTED;
}

void RakPeer::Shutdown(unsigned int blockDuration, unsigned char, PacketPriority) {
  if (!IsActive()) return;
  if (blockDuration > 0) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      for (auto& entry : conns_) {
        if (entry.second.state == Connection::State::Connected) {
          // "later": messages still queued for the peer leave before the notice.
          enet_peer_disconnect_later(entry.second.peer, kReasonClosed);
          entry.second.state = Connection::State::Closing;
        }
      }
      enet_host_flush(host_);
    }
    std::uint64_t until = nowMs() + blockDuration;
    while (nowMs() < until) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        bool closing = false;
        for (auto& entry : conns_)
          if (entry.second.state == Connection::State::Closing) closing = true;
        if (!closing) break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }
  running_ = false;
  Wake();
  if (thread_.joinable()) thread_.join();
  if (wakeFd_ >= 0) close(wakeFd_);
  wakeFd_ = -1;
  wakePending_ = false;
  std::vector<Packet*> dropped;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<ENetPeer*> peers;
    for (auto& entry : conns_) peers.push_back(entry.first);
    for (ENetPeer* peer : peers) {
      enet_peer_reset(peer);
      Forget(peer);
    }
    CountWireLocked();
    enet_host_destroy(host_);
    host_ = nullptr;
    events_.clear([&](Packet* p) { dropped.push_back(p); });
    book_->forgetPeer(this);
  }
  for (Packet* p : dropped) DeallocatePacket(p);
  for (PluginInterface2* plugin : plugins_) plugin->OnRakPeerShutdown();
}

std::uint32_t RakPeer::Send(const BitStream* bitStream, PacketPriority priority,
                            PacketReliability reliability, char channel, const AddressOrGUID target,
                            bool broadcast, std::uint32_t forceReceipt) {
  if (!bitStream) return 0;
  return Send(reinterpret_cast<const char*>(bitStream->GetData()),
              static_cast<int>(bitStream->GetNumberOfBytesUsed()), priority, reliability, channel, target,
              broadcast, forceReceipt);
}

std::uint32_t RakPeer::Send(const char* data, const int length, PacketPriority, PacketReliability reliability,
                            char, const AddressOrGUID target, bool broadcast, std::uint32_t forceReceipt) {
  if (!data || length <= 0 || static_cast<std::size_t>(length) > kMaxMessageBytes) return 0;
  std::lock_guard<std::mutex> lock(mutex_);
  if (!host_) return 0;
  enet_uint32 flags = 0;
  if (reliability != UNRELIABLE && reliability != UNRELIABLE_SEQUENCED &&
      reliability != UNRELIABLE_WITH_ACK_RECEIPT)
    flags = ENET_PACKET_FLAG_RELIABLE;
  std::vector<ENetPeer*> targets;
  if (broadcast) {
    ENetPeer* except = target.IsUndefined() ? nullptr : FindLocked(target);
    for (auto& entry : conns_)
      if (entry.second.state == Connection::State::Connected && entry.first != except)
        targets.push_back(entry.first);
  } else {
    ENetPeer* peer = FindLocked(target);
    auto it = peer ? conns_.find(peer) : conns_.end();
    if (it != conns_.end() && it->second.state == Connection::State::Connected) targets.push_back(peer);
  }
  bool sent = false;
  for (ENetPeer* peer : targets) {
    auto it = conns_.find(peer);
    if (it != conns_.end() && SendTo(it->second, data, static_cast<size_t>(length), flags)) sent = true;
  }
  if (!sent) return 0;
  // The service thread puts it on the wire: flushing here would walk every peer
  // of the host for each message.
  Wake();
  if (forceReceipt) return forceReceipt;
  if (++receipt_ == 0) ++receipt_;
  return receipt_;
}

Packet* RakPeer::Receive() {
  for (PluginInterface2* plugin : plugins_) plugin->Update();
  for (;;) {
    Event e;
    if (!events_.pop(e)) return nullptr;
    switch (e.kind) {
      case EventKind::NewConnection:
        for (PluginInterface2* plugin : plugins_) plugin->OnNewConnection(e.address, e.guid, e.incoming);
        break;
      case EventKind::Closed:
        for (PluginInterface2* plugin : plugins_) plugin->OnClosedConnection(e.address, e.guid, e.lostReason);
        break;
      case EventKind::Failed:
        for (PluginInterface2* plugin : plugins_) plugin->OnFailedConnectionAttempt(e.packet, e.failReason);
        break;
      case EventKind::Message: break;
    }
    Packet* packet = e.packet;
    if (!packet) continue;
    bool consumed = false;
    for (PluginInterface2* plugin : plugins_) {
      PluginReceiveResult r = plugin->OnReceive(packet);
      if (r == RR_STOP_PROCESSING_AND_DEALLOCATE) {
        DeallocatePacket(packet);
        consumed = true;
        break;
      }
      if (r == RR_STOP_PROCESSING) {
        consumed = true;
        break;
      }
    }
    if (consumed) continue;
    // Identifiers below the user range belong to the layer and its plug-ins: one
    // that arrives from the wire and no plug-in took must not pose as an event.
    if (!packet->wasGeneratedLocally && (packet->length == 0 || packet->data[0] < ID_USER_PACKET_ENUM)) {
      LOGOG_DEBUG("dropped a message with reserved id %d from %s", packet->length ? packet->data[0] : -1,
                  packet->guid.ToString().c_str());
      DeallocatePacket(packet);
      continue;
    }
    return packet;
  }
}

void RakPeer::DeallocatePacket(Packet* packet) {
  if (!packet) return;
  if (packet->deleteData) delete[] packet->data;
  delete packet;
}

Packet* RakPeer::AllocatePacket(unsigned dataSize) {
  Packet* p = new Packet;
  p->data = new unsigned char[dataSize ? dataSize : 1]();
  p->length = dataSize;
  p->bitSize = dataSize * 8;
  p->wasGeneratedLocally = true;
  return p;
}

void RakPeer::PushBackPacket(Packet* packet, bool pushAtHead) {
  if (!packet) return;
  Event e;
  e.packet = packet;
  if (pushAtHead)
    events_.pushLocalFront(e);
  else
    events_.push(EventQueues::kLocal, e);
}

void RakPeer::CloseConnection(const AddressOrGUID target, bool notify, unsigned char, PacketPriority) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!host_) return;
  ENetPeer* peer = FindLocked(target);
  auto it = peer ? conns_.find(peer) : conns_.end();
  if (it == conns_.end() || it->second.state == Connection::State::Closing) return;
  Connection c = it->second;
  if (notify && c.state == Connection::State::Connected) {
    // "later": what was queued for the peer goes out before the notice.
    enet_peer_disconnect_later(peer, kReasonClosed);
    it->second.state = Connection::State::Closing;
  } else {
    enet_peer_reset(peer);
    Forget(peer);
  }
  enet_host_flush(host_);
  if (c.state == Connection::State::Connected) {
    Event e;
    e.kind = EventKind::Closed;
    e.address = c.address;
    e.guid = c.guid;
    e.lostReason = LCR_CLOSED_BY_USER;
    events_.push(c.guid.g, e);
  }
}

ConnectionState RakPeer::GetConnectionState(const AddressOrGUID target) {
  std::lock_guard<std::mutex> lock(mutex_);
  ENetPeer* peer = FindLocked(target);
  auto it = peer ? conns_.find(peer) : conns_.end();
  if (it == conns_.end()) return IS_NOT_CONNECTED;
  switch (it->second.state) {
    case Connection::State::Connecting: return IS_CONNECTING;
    case Connection::State::Handshake: return IS_PENDING;
    case Connection::State::Connected: return IS_CONNECTED;
    case Connection::State::Closing: return IS_DISCONNECTING;
  }
  return IS_NOT_CONNECTED;
}

SystemAddress RakPeer::GetMyBoundAddress(const int) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!host_) return UNASSIGNED_SYSTEM_ADDRESS;
  ENetAddress a;
  if (enet_socket_get_address(host_->socket, &a) != 0) return UNASSIGNED_SYSTEM_ADDRESS;
  return toSystemAddress(a, 0xFFFF);
}

RakNetGUID RakPeer::GetGuidFromSystemAddress(const SystemAddress input) const {
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto& entry : conns_)
    if (entry.second.address == input && entry.second.state == Connection::State::Connected)
      return entry.second.guid;
  return UNASSIGNED_RAKNET_GUID;
}

SystemAddress RakPeer::GetSystemAddressFromGuid(const RakNetGUID input) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = byGuid_.find(input.g);
  if (it == byGuid_.end()) return UNASSIGNED_SYSTEM_ADDRESS;
  return conns_.at(it->second).address;
}

void RakPeer::SetTimeoutTime(TimeMS timeMS, const SystemAddress target) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (target == UNASSIGNED_SYSTEM_ADDRESS) defaultTimeout_ = timeMS;
  for (auto& entry : conns_) {
    if (target != UNASSIGNED_SYSTEM_ADDRESS && entry.second.address != target) continue;
    entry.second.timeout = timeMS;
    if (entry.second.state == Connection::State::Connected) ApplyTimeout(entry.second);
  }
}

TimeMS RakPeer::GetTimeoutTime(const SystemAddress target) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto& entry : conns_)
    if (entry.second.address == target) return entry.second.timeout;
  return defaultTimeout_;
}

void RakPeer::ShareGreetings(RakPeerInterface* first) {
  auto* other = dynamic_cast<RakPeer*>(first);
  if (!other || other == this || IsActive()) return;
  std::shared_ptr<GreetingBook> book;
  {
    std::lock_guard<std::mutex> lock(other->mutex_);
    book = other->book_;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  book_ = book;
}

void RakPeer::SetIncomingLimits(const IncomingLimits& limits) {
  std::lock_guard<std::mutex> lock(mutex_);
  limits_ = limits;
  book_->setGreetingRate(limits.greetingsPerSecond, limits.greetingBurst);
  std::uint64_t now = nowMs();
  inflateBudget_.configure(static_cast<double>(limits.inflatedBytesPerSecondTotal),
                           static_cast<double>(limits.inflatedBytesPerSecondTotal), now);
  for (auto& entry : conns_) StartRates(entry.second, now);
}

void RakPeer::SetOutgoingQueueLimit(std::size_t bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  maxOutgoingBytes_ = bytes;
}

void RakPeer::AttachPlugin(PluginInterface2* plugin) {
  if (!plugin || std::find(plugins_.begin(), plugins_.end(), plugin) != plugins_.end()) return;
  plugins_.push_back(plugin);
  plugin->SetRakPeerInterface(this);
  plugin->OnAttach();
  if (IsActive()) plugin->OnRakPeerStartup();
}

void RakPeer::DetachPlugin(PluginInterface2* plugin) {
  auto it = std::find(plugins_.begin(), plugins_.end(), plugin);
  if (it == plugins_.end()) return;
  plugin->OnDetach();
  plugins_.erase(it);
  plugin->SetRakPeerInterface(nullptr);
}

void RakPeer::Wake() {
  if (wakeFd_ >= 0 && !wakePending_.exchange(true)) {
    std::uint64_t one = 1;
    ssize_t ignored = write(wakeFd_, &one, sizeof one);
    (void)ignored;
  }
}

ENetPeer* RakPeer::FindLocked(const AddressOrGUID& target) const {
  if (target.rakNetGuid != UNASSIGNED_RAKNET_GUID) {
    auto it = byGuid_.find(target.rakNetGuid.g);
    return it == byGuid_.end() ? nullptr : it->second;
  }
  if (target.systemAddress == UNASSIGNED_SYSTEM_ADDRESS) return nullptr;
  for (auto& entry : conns_)
    if (entry.second.address == target.systemAddress) return entry.first;
  return nullptr;
}

void RakPeer::ApplyTimeout(const Connection& c) {
  enet_uint32 t = std::max<enet_uint32>(c.timeout ? c.timeout : defaultTimeout_, 50);
  enet_peer_timeout(c.peer, 32, t, t);
}

bool RakPeer::SendTo(Connection& c, const char* data, size_t length, enet_uint32 flags) {
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(data);
  const bool compressed = c.compression && (flags & ENET_PACKET_FLAG_RELIABLE);
  if (compressed) {
    if (!c.compression->compress(bytes, length, deflated_)) {
      CloseOverLimit(c, "its messages cannot be compressed");
      return false;
    }
    bytes = deflated_.data();
    length = deflated_.size();
  }
  if (maxOutgoingBytes_ && c.out->bytes() + length > maxOutgoingBytes_) {
    char why[96];
    std::snprintf(why, sizeof why, "%zu bytes wait for its acknowledgement", c.out->bytes());
    CloseOverLimit(c, why);
    return false;
  }
  ENetPacket* packet = enet_packet_create(bytes, length, flags);
  if (packet) {
    packet->userData = c.out;
    packet->freeCallback = releaseOutgoing;
    c.out->hold(length);
    if (enet_peer_send(c.peer, 0, packet) == 0) return true;
    enet_packet_destroy(packet);
  }
  // The other side's stream would miss what ours went through.
  if (compressed) CloseOverLimit(c, "a compressed message could not be queued");
  return false;
}

bool RakPeer::StartCompression(Connection& c) {
  c.compression = std::make_shared<MessageCompression>();
  if (c.compression->ready()) return true;
  c.compression.reset();
  return false;
}

void RakPeer::SetCompression(bool on) {
  std::lock_guard<std::mutex> lock(mutex_);
  compression_ = on;
}

void RakPeer::SetOutdatedFarewell(const unsigned char* data, std::size_t length) {
  std::lock_guard<std::mutex> lock(mutex_);
  farewell_.assign(data, data + (data && length <= kMaxMessageBytes ? length : 0));
}

void RakPeer::CountWireLocked() const {
  if (!host_) return;
  wire_.bytesSent += host_->totalSentData;
  wire_.bytesReceived += host_->totalReceivedData;
  wire_.datagramsSent += host_->totalSentPackets;
  wire_.datagramsReceived += host_->totalReceivedPackets;
  host_->totalSentData = host_->totalReceivedData = 0;
  host_->totalSentPackets = host_->totalReceivedPackets = 0;
}

WireStatistics RakPeer::GetWireStatistics() const {
  std::lock_guard<std::mutex> lock(mutex_);
  CountWireLocked();
  return wire_;
}

void RakPeer::StartRates(Connection& c, std::uint64_t now) {
  c.messageRate.configure(limits_.messagesPerSecond, limits_.messageBurst, now);
  c.byteRate.configure(static_cast<double>(limits_.bytesPerSecond), static_cast<double>(limits_.byteBurst),
                       now);
}

}  // namespace peer

RakPeerInterface* RakPeerInterface::GetInstance() { return new peer::RakPeer; }

void RakPeerInterface::DestroyInstance(RakPeerInterface* peer) { delete peer; }

}  // namespace RakNet
