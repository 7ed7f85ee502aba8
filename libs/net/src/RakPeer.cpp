// The peer over ENet: one ENet host, one reliable ordered channel, a handshake of
// our own that tells each side the other's GUID, and a service thread that keeps
// the connections alive. ENet is not thread-safe, so every touch of the host (from
// the service thread or from the caller's Send, Connect, CloseConnection) holds
// mutex_. The service thread only queues events; Receive turns them into packets
// and plug-in callbacks on the caller's thread.
#include <arpa/inet.h>
#include <enet/enet.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/random.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "logog/logog.hpp"
#include "raknet/RakPeerInterface.h"

namespace RakNet {
namespace {

// Connect data: tells our peers from anything else speaking ENet to the port.
constexpr enet_uint32 kProtocolMagic = 0x4D56524Bu ^ 1u;

// Reasons carried by ENet disconnects. 0 is what ENet reports for a time-out.
enum DisconnectReason : enet_uint32 {
  kReasonNone = 0,
  kReasonClosed = 1,
  kReasonFull = 2,
  kReasonIncompatible = 3,
  kReasonBanned = 4,
};

// Handshake message: ID_INTERNAL_HANDSHAKE, kind, 8-byte GUID (big-endian).
enum HandshakeKind : unsigned char { kHello = 1, kWelcome = 2 };
constexpr size_t kHandshakeSize = 10;
// An incoming connection that does not greet within this time is dropped.
constexpr std::uint64_t kIncomingHandshakeMs = 10000;
constexpr unsigned kSparePeers = 4;  // slots to answer "server full" with
constexpr int kIdleWaitMs = 5;
constexpr size_t kMaxMessageBytes = 4 * 1024 * 1024;

std::uint64_t nowMs() {
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::steady_clock::now().time_since_epoch())
                                        .count());
}

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

SystemAddress toSystemAddress(const ENetAddress& a, std::uint16_t index) {
  SystemAddress s;
  s.address = ntohl(a.host);
  s.port = a.port;
  s.systemIndex = index;
  return s;
}

std::once_flag enetInitOnce;
bool enetReady = false;

enum class EventKind { Message, NewConnection, Closed, Failed };

struct Event {
  EventKind kind = EventKind::Message;
  Packet* packet = nullptr;  // null for a close the user made
  SystemAddress address;
  RakNetGUID guid;
  bool incoming = false;
  PI2_LostConnectionReason lostReason = LCR_CONNECTION_LOST;
  PI2_FailedConnectionAttemptReason failReason = FCAR_CONNECTION_ATTEMPT_FAILED;
};

struct Connection {
  enum class State { Connecting, Handshake, Connected, Closing };
  ENetPeer* peer = nullptr;
  RakNetGUID guid;
  SystemAddress address;
  bool incoming = false;
  State state = State::Connecting;
  std::uint64_t deadline = 0;  // for Connecting and Handshake
  TimeMS timeout = 0;
};

struct Ban {
  std::string pattern;
  std::uint64_t until = 0;  // 0: for good
};

bool banMatches(const std::string& pattern, const std::string& ip) {
  size_t p = 0, i = 0;
  while (p < pattern.size() || i < ip.size()) {
    size_t pe = pattern.find('.', p), ie = ip.find('.', i);
    std::string pp = pattern.substr(p, pe == std::string::npos ? std::string::npos : pe - p);
    std::string ii = ip.substr(i, ie == std::string::npos ? std::string::npos : ie - i);
    if (pp != "*" && pp != ii) return false;
    if ((pe == std::string::npos) != (ie == std::string::npos)) return false;
    if (pe == std::string::npos) return true;
    p = pe + 1;
    i = ie + 1;
  }
  return true;
}

class RakPeer final : public RakPeerInterface {
 public:
  RakPeer() { guid_.g = randomGuid(); }
  ~RakPeer() override {
    Shutdown(0, 0, LOW_PRIORITY);
    for (PluginInterface2* plugin : plugins_) plugin->SetRakPeerInterface(nullptr);
  }

  StartupResult Startup(unsigned int maxConnections, SocketDescriptor* descriptors,
                        unsigned descriptorCount, int) override {
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
    ENetHost* host = enet_host_create(&address, maxConnections + kSparePeers, 1, 0, 0);
    if (!host) {
      LOGOG_ERROR("Startup: cannot bind UDP port %u", static_cast<unsigned>(descriptors[0].port));
      return descriptors[0].port ? SOCKET_PORT_ALREADY_IN_USE : SOCKET_FAILED_TO_BIND;
    }
    // Bounds what one remote system can make us hold: a message, and its queue.
    host->maximumPacketSize = kMaxMessageBytes;
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

  bool IsActive() const override { return running_.load(); }

  void SetMaximumIncomingConnections(unsigned short n) override {
    std::lock_guard<std::mutex> lock(mutex_);
    maxIncoming_ = n;
  }
  unsigned int GetMaximumIncomingConnections() const override {
    std::lock_guard<std::mutex> lock(mutex_);
    return maxIncoming_;
  }
  unsigned short NumberOfConnections() const override {
    std::lock_guard<std::mutex> lock(mutex_);
    unsigned short n = 0;
    for (auto& entry : conns_)
      if (entry.second.state == Connection::State::Connected) ++n;
    return n;
  }

  ConnectionAttemptResult Connect(const char* hostName, unsigned short port, const char*, int, void*,
                                  unsigned, unsigned attempts, unsigned interval,
                                  TimeMS timeoutTime) override {
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
    ENetPeer* peer = enet_host_connect(host_, &address, 1, kProtocolMagic);
    if (!peer) return INVALID_PARAMETER;
    std::uint64_t window = static_cast<std::uint64_t>(std::max(1u, attempts)) * std::max(1u, interval);
    window = std::max<std::uint64_t>(window, 100);
    enet_peer_timeout(peer, 32, static_cast<enet_uint32>(window), static_cast<enet_uint32>(window));
    Connection c;
    c.peer = peer;
    c.address = toSystemAddress(address, static_cast<std::uint16_t>(peer->incomingPeerID));
    c.incoming = false;
    c.state = Connection::State::Connecting;
    c.deadline = nowMs() + window;
    c.timeout = timeoutTime ? timeoutTime : defaultTimeout_;
    conns_[peer] = c;
    enet_host_flush(host_);
    return CONNECTION_ATTEMPT_STARTED;
  }

  void Shutdown(unsigned int blockDuration, unsigned char, PacketPriority) override {
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
    std::deque<Event> dropped;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      for (auto& entry : conns_) enet_peer_reset(entry.second.peer);
      conns_.clear();
      enet_host_destroy(host_);
      host_ = nullptr;
      dropped.swap(events_);
    }
    for (Event& e : dropped) DeallocatePacket(e.packet);
    for (PluginInterface2* plugin : plugins_) plugin->OnRakPeerShutdown();
  }

  std::uint32_t Send(const BitStream* bitStream, PacketPriority priority, PacketReliability reliability,
                     char channel, const AddressOrGUID target, bool broadcast,
                     std::uint32_t forceReceipt) override {
    if (!bitStream) return 0;
    return Send(reinterpret_cast<const char*>(bitStream->GetData()),
                static_cast<int>(bitStream->GetNumberOfBytesUsed()), priority, reliability, channel,
                target, broadcast, forceReceipt);
  }

  std::uint32_t Send(const char* data, const int length, PacketPriority, PacketReliability reliability,
                     char, const AddressOrGUID target, bool broadcast,
                     std::uint32_t forceReceipt) override {
    if (!data || length <= 0) return 0;
    std::lock_guard<std::mutex> lock(mutex_);
    if (!host_) return 0;
    enet_uint32 flags = 0;
    if (reliability != UNRELIABLE && reliability != UNRELIABLE_SEQUENCED &&
        reliability != UNRELIABLE_WITH_ACK_RECEIPT)
      flags = ENET_PACKET_FLAG_RELIABLE;
    ENetPacket* packet = enet_packet_create(data, static_cast<size_t>(length), flags);
    if (!packet) return 0;
    bool sent = false;
    if (broadcast) {
      ENetPeer* except = target.IsUndefined() ? nullptr : FindLocked(target);
      for (auto& entry : conns_) {
        if (entry.second.state != Connection::State::Connected || entry.first == except) continue;
        if (enet_peer_send(entry.first, 0, packet) == 0) sent = true;
      }
    } else {
      ENetPeer* peer = FindLocked(target);
      auto it = peer ? conns_.find(peer) : conns_.end();
      if (it != conns_.end() && it->second.state == Connection::State::Connected)
        sent = enet_peer_send(peer, 0, packet) == 0;
    }
    if (packet->referenceCount == 0) enet_packet_destroy(packet);
    if (!sent) return 0;
    // The service thread puts it on the wire: flushing here would walk every peer
    // of the host for each message.
    Wake();
    if (forceReceipt) return forceReceipt;
    if (++receipt_ == 0) ++receipt_;
    return receipt_;
  }

  Packet* Receive() override {
    for (PluginInterface2* plugin : plugins_) plugin->Update();
    for (;;) {
      Event e;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        if (events_.empty()) return nullptr;
        e = events_.front();
        events_.pop_front();
      }
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
        case EventKind::Message:
          break;
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
        LOGOG_DEBUG("dropped a message with reserved id %d from %s",
                    packet->length ? packet->data[0] : -1, packet->guid.ToString().c_str());
        DeallocatePacket(packet);
        continue;
      }
      return packet;
    }
  }

  void DeallocatePacket(Packet* packet) override {
    if (!packet) return;
    if (packet->deleteData) delete[] packet->data;
    delete packet;
  }

  Packet* AllocatePacket(unsigned dataSize) override {
    Packet* p = new Packet;
    p->data = new unsigned char[dataSize ? dataSize : 1]();
    p->length = dataSize;
    p->bitSize = dataSize * 8;
    p->wasGeneratedLocally = true;
    return p;
  }

  void PushBackPacket(Packet* packet, bool pushAtHead) override {
    if (!packet) return;
    Event e;
    e.packet = packet;
    std::lock_guard<std::mutex> lock(mutex_);
    if (pushAtHead)
      events_.push_front(e);
    else
      events_.push_back(e);
  }

  void CloseConnection(const AddressOrGUID target, bool notify, unsigned char, PacketPriority) override {
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
      events_.push_back(e);
    }
  }

  ConnectionState GetConnectionState(const AddressOrGUID target) override {
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

  const RakNetGUID& GetMyGUID() const override { return guid_; }

  SystemAddress GetMyBoundAddress(const int) override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!host_) return UNASSIGNED_SYSTEM_ADDRESS;
    ENetAddress a;
    if (enet_socket_get_address(host_->socket, &a) != 0) return UNASSIGNED_SYSTEM_ADDRESS;
    return toSystemAddress(a, 0xFFFF);
  }

  RakNetGUID GetGuidFromSystemAddress(const SystemAddress input) const override {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& entry : conns_)
      if (entry.second.address == input && entry.second.state == Connection::State::Connected)
        return entry.second.guid;
    return UNASSIGNED_RAKNET_GUID;
  }

  SystemAddress GetSystemAddressFromGuid(const RakNetGUID input) const override {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = byGuid_.find(input.g);
    if (it == byGuid_.end()) return UNASSIGNED_SYSTEM_ADDRESS;
    return conns_.at(it->second).address;
  }

  void SetTimeoutTime(TimeMS timeMS, const SystemAddress target) override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (target == UNASSIGNED_SYSTEM_ADDRESS) defaultTimeout_ = timeMS;
    for (auto& entry : conns_) {
      if (target != UNASSIGNED_SYSTEM_ADDRESS && entry.second.address != target) continue;
      entry.second.timeout = timeMS;
      if (entry.second.state == Connection::State::Connected) ApplyTimeout(entry.second);
    }
  }

  TimeMS GetTimeoutTime(const SystemAddress target) override {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& entry : conns_)
      if (entry.second.address == target) return entry.second.timeout;
    return defaultTimeout_;
  }

  void AddToBanList(const char* ip, TimeMS milliseconds) override {
    if (!ip || !*ip) return;
    std::lock_guard<std::mutex> lock(mutex_);
    for (Ban& b : bans_) {
      if (b.pattern == ip) {
        b.until = milliseconds ? nowMs() + milliseconds : 0;
        return;
      }
    }
    bans_.push_back({ip, milliseconds ? nowMs() + milliseconds : 0});
  }
  void RemoveFromBanList(const char* ip) override {
    if (!ip) return;
    std::lock_guard<std::mutex> lock(mutex_);
    bans_.erase(std::remove_if(bans_.begin(), bans_.end(), [&](const Ban& b) { return b.pattern == ip; }),
                bans_.end());
  }
  void ClearBanList() override {
    std::lock_guard<std::mutex> lock(mutex_);
    bans_.clear();
  }
  bool IsBanned(const char* ip) override {
    if (!ip) return false;
    std::lock_guard<std::mutex> lock(mutex_);
    return IsBannedLocked(ip);
  }

  void AttachPlugin(PluginInterface2* plugin) override {
    if (!plugin || std::find(plugins_.begin(), plugins_.end(), plugin) != plugins_.end()) return;
    plugins_.push_back(plugin);
    plugin->SetRakPeerInterface(this);
    plugin->OnAttach();
    if (IsActive()) plugin->OnRakPeerStartup();
  }
  void DetachPlugin(PluginInterface2* plugin) override {
    auto it = std::find(plugins_.begin(), plugins_.end(), plugin);
    if (it == plugins_.end()) return;
    plugin->OnDetach();
    plugins_.erase(it);
    plugin->SetRakPeerInterface(nullptr);
  }

 private:
  void Wake() {
    if (wakeFd_ >= 0 && !wakePending_.exchange(true)) {
      std::uint64_t one = 1;
      ssize_t ignored = write(wakeFd_, &one, sizeof one);
      (void)ignored;
    }
  }

  ENetPeer* FindLocked(const AddressOrGUID& target) const {
    if (target.rakNetGuid != UNASSIGNED_RAKNET_GUID) {
      auto it = byGuid_.find(target.rakNetGuid.g);
      return it == byGuid_.end() ? nullptr : it->second;
    }
    if (target.systemAddress == UNASSIGNED_SYSTEM_ADDRESS) return nullptr;
    for (auto& entry : conns_)
      if (entry.second.address == target.systemAddress) return entry.first;
    return nullptr;
  }

  bool IsBannedLocked(const std::string& ip) {
    std::uint64_t now = nowMs();
    bans_.erase(std::remove_if(bans_.begin(), bans_.end(),
                               [&](const Ban& b) { return b.until != 0 && b.until <= now; }),
                bans_.end());
    for (const Ban& b : bans_)
      if (banMatches(b.pattern, ip)) return true;
    return false;
  }

  void ApplyTimeout(const Connection& c) {
    enet_uint32 t = std::max<enet_uint32>(c.timeout ? c.timeout : defaultTimeout_, 50);
    enet_peer_timeout(c.peer, 32, t, t);
  }

  Packet* MakePacket(const Connection& c, const unsigned char* data, size_t length, bool local) {
    Packet* p = new Packet;
    p->data = new unsigned char[length ? length : 1];
    if (length) std::memcpy(p->data, data, length);
    p->length = static_cast<unsigned>(length);
    p->bitSize = static_cast<BitSize_t>(length * 8);
    p->guid = c.guid;
    p->guid.systemIndex = c.address.systemIndex;
    p->systemAddress = c.address;
    p->wasGeneratedLocally = local;
    return p;
  }

  void QueueEvent(EventKind kind, const Connection& c, unsigned char id) {
    Event e;
    e.kind = kind;
    e.address = c.address;
    e.guid = c.guid;
    e.incoming = c.incoming;
    e.packet = MakePacket(c, &id, 1, true);
    switch (id) {
      case ID_DISCONNECTION_NOTIFICATION: e.lostReason = LCR_DISCONNECTION_NOTIFICATION; break;
      case ID_NO_FREE_INCOMING_CONNECTIONS: e.failReason = FCAR_NO_FREE_INCOMING_CONNECTIONS; break;
      case ID_CONNECTION_BANNED: e.failReason = FCAR_CONNECTION_BANNED; break;
      case ID_INCOMPATIBLE_PROTOCOL_VERSION: e.failReason = FCAR_INCOMPATIBLE_PROTOCOL; break;
      default: break;
    }
    events_.push_back(e);
  }

  void SendHandshake(ENetPeer* peer, HandshakeKind kind) {
    unsigned char msg[kHandshakeSize];
    msg[0] = ID_INTERNAL_HANDSHAKE;
    msg[1] = kind;
    for (int i = 0; i < 8; ++i) msg[2 + i] = static_cast<unsigned char>(guid_.g >> (56 - 8 * i));
    ENetPacket* packet = enet_packet_create(msg, sizeof msg, ENET_PACKET_FLAG_RELIABLE);
    if (packet && enet_peer_send(peer, 0, packet) != 0) enet_packet_destroy(packet);
  }

  void Forget(ENetPeer* peer) {
    auto it = conns_.find(peer);
    if (it == conns_.end()) return;
    auto g = byGuid_.find(it->second.guid.g);
    if (g != byGuid_.end() && g->second == peer) byGuid_.erase(g);
    conns_.erase(it);
  }

  void OnConnect(const ENetEvent& ev) {
    auto it = conns_.find(ev.peer);
    if (it != conns_.end()) {  // our own attempt reached the other side
      if (it->second.state == Connection::State::Connecting) {
        it->second.state = Connection::State::Handshake;
        SendHandshake(ev.peer, kHello);
      }
      return;
    }
    char ip[32];
    enet_address_get_host_ip(&ev.peer->address, ip, sizeof ip);
    enet_uint32 refuse = kReasonNone;
    size_t incoming = 0;
    for (auto& entry : conns_)
      if (entry.second.incoming) ++incoming;
    if (ev.data != kProtocolMagic)
      refuse = kReasonIncompatible;
    else if (IsBannedLocked(ip))
      refuse = kReasonBanned;
    else if (incoming >= maxIncoming_ || conns_.size() >= maxConnections_)
      refuse = kReasonFull;
    if (refuse != kReasonNone) {
      LOGOG_INFO("refused connection from %s (reason %u)", ip, static_cast<unsigned>(refuse));
      enet_peer_disconnect(ev.peer, refuse);
      return;
    }
    Connection c;
    c.peer = ev.peer;
    c.address = toSystemAddress(ev.peer->address, static_cast<std::uint16_t>(ev.peer->incomingPeerID));
    c.incoming = true;
    c.state = Connection::State::Handshake;
    c.deadline = nowMs() + kIncomingHandshakeMs;
    c.timeout = defaultTimeout_;
    ApplyTimeout(c);
    conns_[ev.peer] = c;
  }

  void OnHandshake(Connection& c, const unsigned char* data, size_t length) {
    if (length != kHandshakeSize || c.state != Connection::State::Handshake) return;
    std::uint64_t g = 0;
    for (int i = 0; i < 8; ++i) g = (g << 8) | data[2 + i];
    if (g == UNASSIGNED_RAKNET_GUID.g) return;
    if (c.incoming && data[1] == kHello) {
      // The same peer again (its old connection died without a word): the old one goes.
      auto old = byGuid_.find(g);
      if (old != byGuid_.end()) {
        Connection previous = conns_[old->second];
        enet_peer_reset(old->second);
        Forget(old->second);
        if (previous.state == Connection::State::Connected) {
          QueueEvent(EventKind::Closed, previous, ID_CONNECTION_LOST);
        }
      }
      c.guid.g = g;
      c.state = Connection::State::Connected;
      byGuid_[g] = c.peer;
      SendHandshake(c.peer, kWelcome);
      QueueEvent(EventKind::NewConnection, c, ID_NEW_INCOMING_CONNECTION);
    } else if (!c.incoming && data[1] == kWelcome) {
      if (byGuid_.count(g)) {  // already connected to that system another way
        enet_peer_disconnect(c.peer, kReasonClosed);
        QueueEvent(EventKind::Failed, c, ID_ALREADY_CONNECTED);
        c.state = Connection::State::Closing;
        return;
      }
      c.guid.g = g;
      c.state = Connection::State::Connected;
      byGuid_[g] = c.peer;
      ApplyTimeout(c);
      QueueEvent(EventKind::NewConnection, c, ID_CONNECTION_REQUEST_ACCEPTED);
    }
  }

  void OnReceive(const ENetEvent& ev) {
    auto it = conns_.find(ev.peer);
    if (it == conns_.end()) return;
    Connection& c = it->second;
    const unsigned char* data = ev.packet->data;
    size_t length = ev.packet->dataLength;
    if (length > 0 && data[0] == ID_INTERNAL_HANDSHAKE) {
      OnHandshake(c, data, length);
      return;
    }
    if (c.state != Connection::State::Connected || length == 0) return;
    Event e;
    e.packet = MakePacket(c, data, length, false);
    events_.push_back(e);
  }

  void OnDisconnect(const ENetEvent& ev) {
    auto it = conns_.find(ev.peer);
    if (it == conns_.end()) return;
    Connection c = it->second;
    Forget(ev.peer);
    switch (c.state) {
      case Connection::State::Closing:
        return;
      case Connection::State::Connected:
        QueueEvent(EventKind::Closed, c,
                   ev.data == kReasonClosed ? ID_DISCONNECTION_NOTIFICATION : ID_CONNECTION_LOST);
        return;
      case Connection::State::Connecting:
      case Connection::State::Handshake:
        if (c.incoming) return;
        unsigned char id = ID_CONNECTION_ATTEMPT_FAILED;
        if (ev.data == kReasonFull) id = ID_NO_FREE_INCOMING_CONNECTIONS;
        if (ev.data == kReasonBanned) id = ID_CONNECTION_BANNED;
        if (ev.data == kReasonIncompatible) id = ID_INCOMPATIBLE_PROTOCOL_VERSION;
        QueueEvent(EventKind::Failed, c, id);
        return;
    }
  }

  void CheckDeadlines() {
    std::uint64_t now = nowMs();
    std::vector<ENetPeer*> expired;
    for (auto& entry : conns_) {
      const Connection& c = entry.second;
      if ((c.state == Connection::State::Connecting || c.state == Connection::State::Handshake) &&
          now >= c.deadline)
        expired.push_back(entry.first);
    }
    for (ENetPeer* peer : expired) {
      Connection c = conns_[peer];
      enet_peer_reset(peer);
      Forget(peer);
      if (!c.incoming) QueueEvent(EventKind::Failed, c, ID_CONNECTION_ATTEMPT_FAILED);
    }
  }

  void ServiceLoop() {
    while (running_) {
      wakePending_ = false;  // sends from here on signal again
      {
        std::lock_guard<std::mutex> lock(mutex_);
        ENetEvent ev;
        int guard = 0;
        while (guard++ < 4096 && enet_host_service(host_, &ev, 0) > 0) {
          switch (ev.type) {
            case ENET_EVENT_TYPE_CONNECT: OnConnect(ev); break;
            case ENET_EVENT_TYPE_RECEIVE:
              OnReceive(ev);
              enet_packet_destroy(ev.packet);
              break;
            case ENET_EVENT_TYPE_DISCONNECT: OnDisconnect(ev); break;
            case ENET_EVENT_TYPE_NONE: break;
          }
        }
        CheckDeadlines();
        enet_host_flush(host_);
      }
      // Sleep until a datagram arrives, the application queues a message, or the
      // timers (resends, pings) are due.
      pollfd fds[2] = {{host_->socket, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
      if (poll(fds, wakeFd_ >= 0 ? 2 : 1, kIdleWaitMs) > 0 && wakeFd_ >= 0 && (fds[1].revents & POLLIN)) {
        std::uint64_t drained;
        ssize_t ignored = read(wakeFd_, &drained, sizeof drained);
        (void)ignored;
      }
    }
  }

  RakNetGUID guid_;
  mutable std::mutex mutex_;
  ENetHost* host_ = nullptr;
  std::thread thread_;
  std::atomic<bool> running_{false};
  std::atomic<bool> wakePending_{false};
  int wakeFd_ = -1;  // eventfd that rouses the service thread
  std::deque<Event> events_;
  std::unordered_map<ENetPeer*, Connection> conns_;
  std::unordered_map<std::uint64_t, ENetPeer*> byGuid_;
  std::vector<Ban> bans_;
  std::vector<PluginInterface2*> plugins_;
  unsigned maxConnections_ = 0;
  unsigned maxIncoming_ = 0;
  TimeMS defaultTimeout_ = 10000;
  std::uint32_t receipt_ = 0;
};

}  // namespace

RakPeerInterface* RakPeerInterface::GetInstance() { return new RakPeer; }

void RakPeerInterface::DestroyInstance(RakPeerInterface* peer) { delete peer; }

}  // namespace RakNet
