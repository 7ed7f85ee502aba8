// The peer over ENet: one ENet host, one reliable ordered channel, a handshake of
// our own that tells each side the other's GUID, and a service thread that keeps
// the connections alive. ENet is not thread-safe, so every touch of the host (from
// the service thread or from the caller's Send, Connect, CloseConnection) holds
// mutex_. The service thread only queues events; Receive turns them into packets
// and plug-in callbacks on the caller's thread, taking them under the queues' own
// lock, so that it never waits for the service thread's round.
//
// The greeting also agrees whether a connection's reliable messages travel
// compressed (MessageCompression): the connecting side asks, the accepting side
// grants or declines, and both compress from then on.
//
// Each connection is held to what it may cost us: its GUID is its own, never one
// that another connection holds (unless the Hello proves it comes from the peer
// that holds it, back on a new socket), through every peer of the port
// (GreetingBook); its address opens only so many connections a second; what it
// sends is limited in rate and in what may wait for Receive; what waits to be
// acknowledged by it is limited in bytes.
//
// RakPeer.cpp has the calls of the application, PeerService.cpp the service thread.
#pragma once

#include <enet/enet.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "GreetingBook.h"
#include "Handshake.h"
#include "MessageCompression.h"
#include "PeerQueues.h"
#include "raknet/RakPeerInterface.h"

namespace RakNet {
namespace peer {

// Reasons carried by ENet disconnects. 0 is what ENet reports for a time-out. 4 is
// no longer sent (an address ban of older servers); a connecting side still takes it
// as a refusal.
enum DisconnectReason : enet_uint32 {
  kReasonNone = 0,
  kReasonClosed = 1,
  kReasonFull = 2,
  kReasonIncompatible = 3,
  kReasonBanned = 4,
  kReasonGuidInUse = 5,
  kReasonOverLimit = 6,
  kReasonReplaced = 7,  // its GUID's owner came back on another connection
};

// An incoming connection that does not greet within this time is dropped.
constexpr std::uint64_t kIncomingHandshakeMs = 10000;
constexpr unsigned kSparePeers = 4;  // slots to answer "server full" with
constexpr int kIdleWaitMs = 5;
// How often the service looks for handshakes past their deadline and silent systems:
// not at every wake-up, which would walk every connection for each message sent.
constexpr std::uint64_t kDeadlineCheckMs = 200;
constexpr std::size_t kMaxMessageBytes = 4 * 1024 * 1024;
// What the service thread handles (events, bytes inflated) before it lets the
// application's calls in.
constexpr int kEventsPerRound = 1024;
constexpr std::size_t kInflatedPerRound = 1024 * 1024;
// What compression may add to a message that does not compress (deflate's stored
// blocks), on the wire.
constexpr std::size_t kCompressionSlack = 4096;
// Refusals are logged up to this many lines per interval, then counted.
constexpr int kRefusalLinesPerInterval = 20;
constexpr std::uint64_t kRefusalIntervalMs = 10000;

inline std::uint64_t nowMs() {
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::steady_clock::now().time_since_epoch())
                                        .count());
}

SystemAddress toSystemAddress(const ENetAddress& a, std::uint16_t index);

struct Connection {
  enum class State { Connecting, Handshake, Connected, Closing };
  ENetPeer* peer = nullptr;
  std::uint64_t number = 0;  // this peer's, never used twice
  RakNetGUID guid;
  SystemAddress address;
  bool incoming = false;
  State state = State::Connecting;
  std::uint64_t deadline = 0;  // for Connecting and Handshake
  TimeMS timeout = 0;
  TokenBucket messageRate;  // what it may send, once connected
  TokenBucket byteRate;
  OutQueue* out = nullptr;  // bytes waiting for its acknowledgement; see OutQueue
  // What our Hello asked for; the streams once the greeting agreed on compression
  // (null: the messages travel as they are).
  handshake::Compression asked = handshake::Compression::None;
  std::shared_ptr<MessageCompression> compression;
  // The greeting version it speaks (an older one only to hear our farewell), and the
  // proof its Hello showed.
  std::uint32_t version = handshake::kVersion;
  std::uint64_t proof = 0;
};

class RakPeer final : public RakPeerInterface {
 public:
  RakPeer();
  ~RakPeer() override;
  StartupResult Startup(unsigned int maxConnections, SocketDescriptor* descriptors, unsigned descriptorCount,
                        int) override;
  bool IsActive() const override { return running_.load(); }
  void SetMaximumIncomingConnections(unsigned short n) override;
  unsigned int GetMaximumIncomingConnections() const override;
  unsigned short NumberOfConnections() const override;
  ConnectionAttemptResult Connect(const char* hostName, unsigned short port, const char*, int, void*,
                                  unsigned, unsigned attempts, unsigned interval,
                                  TimeMS timeoutTime) override;
  void Shutdown(unsigned int blockDuration, unsigned char, PacketPriority) override;
  std::uint32_t Send(const BitStream* bitStream, PacketPriority priority, PacketReliability reliability,
                     char channel, const AddressOrGUID target, bool broadcast,
                     std::uint32_t forceReceipt) override;
  std::uint32_t Send(const char* data, const int length, PacketPriority, PacketReliability reliability, char,
                     const AddressOrGUID target, bool broadcast, std::uint32_t forceReceipt) override;
  Packet* Receive() override;
  void DeallocatePacket(Packet* packet) override;
  Packet* AllocatePacket(unsigned dataSize) override;
  void PushBackPacket(Packet* packet, bool pushAtHead) override;
  void CloseConnection(const AddressOrGUID target, bool notify, unsigned char, PacketPriority) override;
  ConnectionState GetConnectionState(const AddressOrGUID target) override;
  const RakNetGUID& GetMyGUID() const override { return guid_; }
  SystemAddress GetMyBoundAddress(const int) override;
  RakNetGUID GetGuidFromSystemAddress(const SystemAddress input) const override;
  SystemAddress GetSystemAddressFromGuid(const RakNetGUID input) const override;
  void SetTimeoutTime(TimeMS timeMS, const SystemAddress target) override;
  TimeMS GetTimeoutTime(const SystemAddress target) override;
  void ShareGreetings(RakPeerInterface* first) override;
  void SetIncomingLimits(const IncomingLimits& limits) override;
  void SetOutgoingQueueLimit(std::size_t bytes) override;
  void SetCompression(bool on) override;
  void SetOutdatedFarewell(const unsigned char* data, std::size_t length) override;
  WireStatistics GetWireStatistics() const override;
  void AttachPlugin(PluginInterface2* plugin) override;
  void DetachPlugin(PluginInterface2* plugin) override;

 private:
  void Wake();
  ENetPeer* FindLocked(const AddressOrGUID& target) const;
  void ApplyTimeout(const Connection& c);
  Packet* MakePacket(const Connection& c, const unsigned char* data, size_t length, bool local);
  void QueueEvent(EventKind kind, const Connection& c, unsigned char id);
  void SendHandshake(ENetPeer* peer, handshake::Kind kind, handshake::Compression compression,
                     std::uint32_t version = handshake::kVersion);
  // Greets a peer of an older greeting version in its own layout, sends it the
  // farewell and closes it; the application never hears of it.
  void SayFarewell(Connection& c);
  // Sets up the connection's streams; false when zlib cannot.
  static bool StartCompression(Connection& c);
  // Adds ENet's traffic counters to ours (ENet's are 32 bits wide).
  void CountWireLocked() const;
  // Queues a message for one connection, counting its bytes until the other side has
  // acknowledged them; a connection whose backlog would pass the limit is closed.
  bool SendTo(Connection& c, const char* data, size_t length, enet_uint32 flags);
  void StartRates(Connection& c, std::uint64_t now);
  // Ends a connected system that went over a limit: it is told, what it had waiting
  // for Receive is dropped, and the application hears the connection is lost.
  void CloseOverLimit(Connection& c, const char* why);
  // Logs a refused connection unless many were refused lately; those are counted and
  // summed up once the interval is over, so a storm of attempts cannot fill the log.
  void LogRefusal(const char* ip, const char* why);
  void Forget(ENetPeer* peer);
  void OnConnect(const ENetEvent& ev);
  // Refuses a connection during the handshake: the other side hears why, and the
  // slot is free at once.
  void RefuseHandshake(Connection& c, enet_uint32 reason, const char* why);
  void OnHandshake(Connection& c, const unsigned char* data, size_t length);
  // An incoming Hello: the GUID is taken (through the greeting book), or refused.
  bool ClaimGuid(Connection& c, const handshake::Greeting& hello);
  // Closes our connection `number` holding `guid`, whose owner came back on another
  // connection: it is told why, and the application hears it is lost.
  void CloseReplaced(std::uint64_t guid, std::uint64_t number);
  void OnReceive(const ENetEvent& ev);
  // The largest message a connection may send (the application's bound, if any).
  std::size_t MaxMessageLocked() const;
  // Inflates a compressed message into inflated_, within the largest message and what
  // the connection's budget (and the peer's) still allows; an empty reason in `why`
  // when it could.
  void InflateLocked(Connection& c, const unsigned char* data, size_t length, std::uint64_t now, char* why,
                     size_t whySize);
  // When all waiting messages together would pass their bound with `length` more
  // from `c`: the connection holding the most is closed (which may be `c`: then true).
  bool MakeRoomLocked(Connection& c, size_t length);
  void OnDisconnect(const ENetEvent& ev);
  void CheckDeadlines();
  void ServiceLoop();

  RakNetGUID guid_;
  std::uint64_t proof_ = 0;  // shown in our Hellos only
  mutable std::mutex mutex_;
  ENetHost* host_ = nullptr;
  std::thread thread_;
  std::atomic<bool> running_{false};
  std::atomic<bool> wakePending_{false};
  int wakeFd_ = -1;  // eventfd that rouses the service thread
  EventQueues events_;  // locked by itself, not by mutex_
  std::unordered_map<ENetPeer*, Connection> conns_;
  std::unordered_map<std::uint64_t, ENetPeer*> byGuid_;
  std::shared_ptr<GreetingBook> book_ = std::make_shared<GreetingBook>();
  std::uint64_t nextNumber_ = 1;
  std::vector<PluginInterface2*> plugins_;
  unsigned maxConnections_ = 0;
  unsigned maxIncoming_ = 0;
  TimeMS defaultTimeout_ = 10000;
  IncomingLimits limits_;
  std::size_t maxOutgoingBytes_ = 0;
  std::uint64_t refusalWindow_ = 0;
  std::uint64_t nextDeadlineCheck_ = 0;
  int refusalsLogged_ = 0;
  int refusalsUnlogged_ = 0;
  std::uint32_t receipt_ = 0;
  bool compression_ = true;
  std::vector<unsigned char> farewell_;  // for peers of older greeting versions
  std::vector<unsigned char> deflated_;  // the message being sent, compressed
  std::vector<unsigned char> inflated_;  // the message received, restored
  TokenBucket inflateBudget_;            // inflated bytes, all connections together
  std::size_t inflatedThisRound_ = 0;
  mutable WireStatistics wire_;
};

}  // namespace peer
}  // namespace RakNet
