#include <enet/enet.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <random>
#include <thread>
#include <vector>

#include "Handshake.h"
#include "LossyProxy.h"
#include "PeerKit.h"
#include "raknet/MessageIdentifiers.h"
#include "raknet/RakPeerInterface.h"

using namespace RakNet;
using namespace peerkit;

namespace {


TEST(Peer, ConnectAndAcceptWithMatchingGuids) {
  PeerPtr server = makePeer(8, 8);
  PeerPtr client = makePeer(2, 0);
  ASSERT_EQ(client->Connect("127.0.0.1", portOf(server.get()), nullptr, 0, nullptr, 0, 12, 500),
            CONNECTION_ATTEMPT_STARTED);
  Packet* accepted = nullptr;
  ASSERT_TRUE(waitFor(client.get(), ID_CONNECTION_REQUEST_ACCEPTED, &accepted));
  EXPECT_EQ(accepted->guid, server->GetMyGUID());
  EXPECT_EQ(accepted->length, 1u);
  EXPECT_TRUE(accepted->systemAddress.IsLoopback());
  client->DeallocatePacket(accepted);
  Packet* incoming = nullptr;
  ASSERT_TRUE(waitFor(server.get(), ID_NEW_INCOMING_CONNECTION, &incoming));
  EXPECT_EQ(incoming->guid, client->GetMyGUID());
  server->DeallocatePacket(incoming);
  EXPECT_NE(client->GetMyGUID(), server->GetMyGUID());
  EXPECT_EQ(client->Connect("127.0.0.1", portOf(server.get()), nullptr, 0), ALREADY_CONNECTED_TO_ENDPOINT);
  EXPECT_EQ(client->GetConnectionState(server->GetMyGUID()), IS_CONNECTED);
  EXPECT_EQ(server->NumberOfConnections(), 1);
}

TEST(Peer, TenThousandMessagesOfMixedSizesArriveWholeAndInOrder) {
  Pair pair;
  ASSERT_TRUE(pair.connect());
  std::mt19937 rng(7);
  const int kCount = 10000;
  std::vector<unsigned> sizes(kCount);
  for (int i = 0; i < kCount; ++i) {
    if (i % 1000 == 999)
      sizes[i] = 200 * 1024;  // a few of the largest
    else if (i % 50 == 0)
      sizes[i] = 5 + rng() % 20000;
    else
      sizes[i] = 5 + rng() % 300;
  }
  std::thread sender([&] {
    std::vector<char> buf;
    for (int i = 0; i < kCount; ++i) {
      buf.assign(sizes[i], 0);
      buf[0] = static_cast<char>(ID_USER_PACKET_ENUM + 1);
      for (int b = 0; b < 4; ++b) buf[1 + b] = static_cast<char>(i >> (24 - 8 * b));
      for (unsigned k = 5; k < sizes[i]; ++k) buf[k] = static_cast<char>(i + k);
      ASSERT_NE(pair.client->Send(buf.data(), static_cast<int>(buf.size()), HIGH_PRIORITY,
                                  RELIABLE_ORDERED, 0, pair.serverGuid, false),
                0u);
    }
  });
  int next = 0;
  bool intact = true;
  auto until = Clock::now() + std::chrono::seconds(60);
  while (next < kCount && Clock::now() < until) {
    Packet* p = pair.server->Receive();
    if (!p) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
      continue;
    }
    if (p->data[0] == ID_USER_PACKET_ENUM + 1) {
      int seq = (p->data[1] << 24) | (p->data[2] << 16) | (p->data[3] << 8) | p->data[4];
      if (seq != next || p->length != sizes[next]) intact = false;
      for (unsigned k = 5; k < p->length && intact; ++k)
        if (p->data[k] != static_cast<unsigned char>(seq + k)) intact = false;
      ++next;
    }
    pair.server->DeallocatePacket(p);
    if (!intact) break;
  }
  sender.join();
  EXPECT_TRUE(intact) << "at message " << next;
  EXPECT_EQ(next, kCount);
}

TEST(Peer, GracefulCloseDeliversQueuedMessagesThenTheNotice) {
  Pair pair;
  ASSERT_TRUE(pair.connect());
  const char last[] = {static_cast<char>(0x90), 'b', 'y', 'e'};
  ASSERT_NE(pair.server->Send(last, 4, HIGH_PRIORITY, RELIABLE_ORDERED, 0, pair.client->GetMyGUID(), false), 0u);
  pair.server->CloseConnection(pair.client->GetMyGUID(), true);
  EXPECT_EQ(pair.server->Send(last, 4, HIGH_PRIORITY, RELIABLE_ORDERED, 0, pair.client->GetMyGUID(), false), 0u);
  std::vector<int> seen;
  ASSERT_TRUE(waitFor(pair.client.get(), ID_DISCONNECTION_NOTIFICATION, nullptr, 5000,
                      [&](Packet* p) { seen.push_back(p->data[0]); }));
  EXPECT_EQ(seen, std::vector<int>{0x90});
  EXPECT_EQ(pair.client->GetConnectionState(pair.serverGuid), IS_NOT_CONNECTED);
}

TEST(Peer, ShutdownWithBlockTimeNotifiesTheOtherSide) {
  Pair pair;
  ASSERT_TRUE(pair.connect());
  pair.client->Shutdown(500);
  EXPECT_FALSE(pair.client->IsActive());
  EXPECT_TRUE(waitFor(pair.server.get(), ID_DISCONNECTION_NOTIFICATION));
}

// A system that falls silent is lost once the time-out has passed since it was last
// heard (it answers pings every half second while it lives), not at the transport's
// next resend, whose back-off made that up to twice the time-out.
TEST(Peer, SilentPeerTimesOutAsConnectionLostSoonAfterItsTimeOut) {
  for (TimeMS timeout : {300u, 3000u}) {
    Pair pair;
    ASSERT_TRUE(pair.connect());
    pair.server->SetTimeoutTime(timeout, UNASSIGNED_SYSTEM_ADDRESS);
    std::this_thread::sleep_for(std::chrono::milliseconds(700));  // a while of pings
    const auto silent = Clock::now();
    pair.client->Shutdown(0);  // no notice: the server only notices the silence
    Packet* lost = nullptr;
    ASSERT_TRUE(waitFor(pair.server.get(), ID_CONNECTION_LOST, &lost, 8000));
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - silent).count();
    EXPECT_LE(ms, timeout + 700) << "after " << timeout << " ms of silence";
    EXPECT_EQ(lost->guid, pair.client->GetMyGUID());
    pair.server->DeallocatePacket(lost);
  }
}

TEST(Peer, ConnectionStaysAliveWhileTheApplicationDoesNotReceive) {
  Pair pair;
  ASSERT_TRUE(pair.connect());
  pair.server->SetTimeoutTime(1500, UNASSIGNED_SYSTEM_ADDRESS);
  pair.client->SetTimeoutTime(1500, UNASSIGNED_SYSTEM_ADDRESS);
  std::this_thread::sleep_for(std::chrono::milliseconds(3500));  // well past the time-out
  const char ping[] = {static_cast<char>(0x91)};
  ASSERT_NE(pair.client->Send(ping, 1, HIGH_PRIORITY, RELIABLE_ORDERED, 0, pair.serverGuid, false), 0u);
  bool lost = false;
  EXPECT_TRUE(waitFor(pair.server.get(), 0x91, nullptr, 3000,
                      [&](Packet* p) { lost |= p->data[0] == ID_CONNECTION_LOST; }));
  EXPECT_FALSE(lost);
}

TEST(Peer, RefusedAttemptsReportWhy) {
  // Nobody listens on a port a stopped peer just released.
  PeerPtr gone = makePeer(1, 1);
  unsigned short deadPort = portOf(gone.get());
  gone->Shutdown(0);
  PeerPtr client = makePeer(4, 0);
  ASSERT_EQ(client->Connect("127.0.0.1", deadPort, nullptr, 0, nullptr, 0, 3, 100), CONNECTION_ATTEMPT_STARTED);
  EXPECT_EQ(client->Connect("127.0.0.1", deadPort, nullptr, 0), CONNECTION_ATTEMPT_ALREADY_IN_PROGRESS);
  EXPECT_TRUE(waitFor(client.get(), ID_CONNECTION_ATTEMPT_FAILED, nullptr, 5000));

  // A pure client accepts nobody.
  PeerPtr other = makePeer(2, 0);
  ASSERT_EQ(other->Connect("127.0.0.1", portOf(client.get()), nullptr, 0), CONNECTION_ATTEMPT_STARTED);
  EXPECT_TRUE(waitFor(other.get(), ID_NO_FREE_INCOMING_CONNECTIONS));

  PeerPtr full = makePeer(4, 1);
  PeerPtr first = makePeer(1, 0);
  ASSERT_EQ(first->Connect("127.0.0.1", portOf(full.get()), nullptr, 0), CONNECTION_ATTEMPT_STARTED);
  ASSERT_TRUE(waitFor(first.get(), ID_CONNECTION_REQUEST_ACCEPTED));
  PeerPtr second = makePeer(1, 0);
  ASSERT_EQ(second->Connect("127.0.0.1", portOf(full.get()), nullptr, 0), CONNECTION_ATTEMPT_STARTED);
  EXPECT_TRUE(waitFor(second.get(), ID_NO_FREE_INCOMING_CONNECTIONS));
}

// The server welcomed a client whose Welcome was lost on the way: the client gave up
// while the server still holds its GUID. The same client, started again on a new
// socket, gets in at once, in place of its old connection; a stranger with that GUID
// still does not (see the lobby's attack tests).
TEST(Peer, AClientWhoseWelcomeWasLostComesBackUnderItsGuid) {
  PeerPtr server = makePeer(8, 8);
  PeerPtr client = makePeer(2, 0);
  LossyProxy link(portOf(server.get()));
  link.serverDatagramsToPass = 1;  // the transport's answer to the connect; not the Welcome
  ASSERT_EQ(client->Connect("127.0.0.1", link.port(), nullptr, 0, nullptr, 0, 4, 200), CONNECTION_ATTEMPT_STARTED);
  int serverGot[256] = {};
  bool failed = false;
  for (auto until = Clock::now() + std::chrono::seconds(5); !failed && Clock::now() < until;) {
    link.pump();
    while (Packet* p = server->Receive()) {
      ++serverGot[p->data[0]];
      server->DeallocatePacket(p);
    }
    while (Packet* p = client->Receive()) {
      failed = failed || p->data[0] == ID_CONNECTION_ATTEMPT_FAILED;
      client->DeallocatePacket(p);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_TRUE(failed);
  ASSERT_EQ(serverGot[ID_NEW_INCOMING_CONNECTION], 1);  // it was welcomed there

  client->Shutdown(0);
  SocketDescriptor sd(0, "127.0.0.1");
  ASSERT_EQ(client->Startup(2, &sd, 1), RAKNET_STARTED);
  ASSERT_EQ(client->Connect("127.0.0.1", portOf(server.get()), nullptr, 0, nullptr, 0, 4, 200),
            CONNECTION_ATTEMPT_STARTED);
  Packet* answer = nullptr;
  ASSERT_TRUE(waitFor(client.get(), ID_CONNECTION_REQUEST_ACCEPTED, &answer, 3000, [](Packet* p) {
    ADD_FAILURE() << "the attempt ended in " << static_cast<int>(p->data[0]);
  }));
  client->DeallocatePacket(answer);
  std::vector<int> events;
  ASSERT_TRUE(waitFor(server.get(), ID_NEW_INCOMING_CONNECTION, nullptr, 3000,
                      [&](Packet* p) { events.push_back(p->data[0]); }));
  EXPECT_EQ(events, std::vector<int>{ID_CONNECTION_LOST});  // the old connection goes first
  EXPECT_EQ(server->NumberOfConnections(), 1);
}

TEST(Peer, StartupAfterShutdownConnectsAgain) {
  PeerPtr server = makePeer(8, 8);
  PeerPtr client = makePeer(2, 0);
  SocketDescriptor sd(0, "127.0.0.1");
  EXPECT_EQ(client->Startup(2, &sd, 1), RAKNET_ALREADY_STARTED);
  for (int round = 0; round < 2; ++round) {
    ASSERT_EQ(client->Connect("127.0.0.1", portOf(server.get()), nullptr, 0), CONNECTION_ATTEMPT_STARTED);
    ASSERT_TRUE(waitFor(client.get(), ID_CONNECTION_REQUEST_ACCEPTED)) << "round " << round;
    ASSERT_TRUE(waitFor(server.get(), ID_NEW_INCOMING_CONNECTION)) << "round " << round;
    client->Shutdown(300);
    ASSERT_TRUE(waitFor(server.get(), ID_DISCONNECTION_NOTIFICATION)) << "round " << round;
    ASSERT_EQ(client->Startup(2, &sd, 1), RAKNET_STARTED);
  }
  const char msg[] = {static_cast<char>(0x90)};
  EXPECT_EQ(client->Send(msg, 1, HIGH_PRIORITY, RELIABLE_ORDERED, 0, server->GetMyGUID(), false), 0u);
}

TEST(Peer, ReservedIdsAndEmptyMessagesFromTheWireNeverReachTheApplication) {
  Pair pair;
  ASSERT_TRUE(pair.connect());
  const char fake[] = {static_cast<char>(ID_CONNECTION_LOST)};
  const char fakeHandshake[] = {static_cast<char>(ID_INTERNAL_HANDSHAKE), 1, 0, 0, 0, 0, 0, 0, 0, 5};
  const char real[] = {static_cast<char>(0x8C)};
  pair.client->Send(fake, 1, HIGH_PRIORITY, RELIABLE_ORDERED, 0, pair.serverGuid, false);
  pair.client->Send(fakeHandshake, sizeof fakeHandshake, HIGH_PRIORITY, RELIABLE_ORDERED, 0, pair.serverGuid, false);
  pair.client->Send(real, 1, HIGH_PRIORITY, RELIABLE_ORDERED, 0, pair.serverGuid, false);
  std::vector<int> seen;
  ASSERT_TRUE(waitFor(pair.server.get(), 0x8C, nullptr, 5000, [&](Packet* p) { seen.push_back(p->data[0]); }));
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(pair.server->NumberOfConnections(), 1);
}

struct RecordingPlugin : PluginInterface2 {
  std::thread::id thread;
  bool threadOk = true;
  int newConnections = 0;
  int closed = 0;
  int takenReplicaMessages = 0;
  void note() {
    if (std::this_thread::get_id() != thread) threadOk = false;
  }
  void OnNewConnection(const SystemAddress&, RakNetGUID, bool) override {
    note();
    ++newConnections;
  }
  void OnClosedConnection(const SystemAddress&, RakNetGUID, PI2_LostConnectionReason) override {
    note();
    ++closed;
  }
  PluginReceiveResult OnReceive(Packet* p) override {
    note();
    if (p->data[0] == ID_REPLICA_MANAGER_SERIALIZE) {
      ++takenReplicaMessages;
      return RR_STOP_PROCESSING_AND_DEALLOCATE;
    }
    return RR_CONTINUE_PROCESSING;
  }
};

TEST(Peer, PluginsSeeEventsAndReservedMessagesOnTheReceivingThread) {
  Pair pair;
  RecordingPlugin plugin;
  plugin.thread = std::this_thread::get_id();
  pair.server->AttachPlugin(&plugin);
  EXPECT_EQ(plugin.GetRakPeerInterface(), pair.server.get());
  ASSERT_TRUE(pair.connect());
  const char replica[] = {static_cast<char>(ID_REPLICA_MANAGER_SERIALIZE), 1, 2};
  const char end[] = {static_cast<char>(0x8C)};
  pair.client->Send(replica, 3, HIGH_PRIORITY, RELIABLE_ORDERED, 0, pair.serverGuid, false);
  pair.client->Send(end, 1, HIGH_PRIORITY, RELIABLE_ORDERED, 0, pair.serverGuid, false);
  ASSERT_TRUE(waitFor(pair.server.get(), 0x8C));
  pair.server->CloseConnection(pair.client->GetMyGUID(), false);
  pair.server->Receive();
  EXPECT_EQ(plugin.newConnections, 1);
  EXPECT_EQ(plugin.takenReplicaMessages, 1);
  EXPECT_EQ(plugin.closed, 1);
  EXPECT_TRUE(plugin.threadOk);
  pair.server->DetachPlugin(&plugin);
  EXPECT_EQ(plugin.GetRakPeerInterface(), nullptr);
}

}  // namespace

namespace {

TEST(Peer, SilentCloseForgetsTheSystemAndTheOtherSideTimesOut) {
  Pair pair;
  ASSERT_TRUE(pair.connect());
  pair.client->SetTimeoutTime(300, UNASSIGNED_SYSTEM_ADDRESS);
  RakNetGUID client = pair.client->GetMyGUID();
  EXPECT_NE(pair.server->GetSystemAddressFromGuid(client), UNASSIGNED_SYSTEM_ADDRESS);
  pair.server->CloseConnection(client, false);
  EXPECT_EQ(pair.server->GetSystemAddressFromGuid(client), UNASSIGNED_SYSTEM_ADDRESS);
  EXPECT_EQ(pair.server->GetConnectionState(client), IS_NOT_CONNECTED);
  EXPECT_TRUE(waitFor(pair.client.get(), ID_CONNECTION_LOST, nullptr, 8000));
}

TEST(Peer, OversizedMessagesAreRefusedAtSend) {
  Pair pair;
  ASSERT_TRUE(pair.connect());
  std::vector<char> huge(5 * 1024 * 1024, static_cast<char>(0x90));
  EXPECT_EQ(pair.client->Send(huge.data(), static_cast<int>(huge.size()), HIGH_PRIORITY, RELIABLE_ORDERED, 0,
                              pair.serverGuid, false),
            0u);
  EXPECT_EQ(pair.client->Send(huge.data(), 0, HIGH_PRIORITY, RELIABLE_ORDERED, 0, pair.serverGuid, false), 0u);
}

}  // namespace

namespace {

// Something else speaking ENet to the port is turned away as incompatible, and
// bytes sent before a greeting never reach the application.
TEST(Peer, ForeignEnetClientsAreRefused) {
  PeerPtr server = makePeer(4, 4);
  RawEnet raw;
  ENetHost* host = raw.host;
  ASSERT_NE(raw.connect(server.get(), 12345), nullptr);
  enet_uint32 reason = 999;
  bool connected = false, refused = false;
  auto until = Clock::now() + std::chrono::seconds(5);
  while (!refused && Clock::now() < until) {
    ENetEvent ev;
    while (enet_host_service(host, &ev, 1) > 0) {
      if (ev.type == ENET_EVENT_TYPE_CONNECT) {
        connected = true;
        const unsigned char early[] = {0x90, 1, 2};
        enet_peer_send(ev.peer, 0, enet_packet_create(early, 3, ENET_PACKET_FLAG_RELIABLE));
      } else if (ev.type == ENET_EVENT_TYPE_DISCONNECT) {
        refused = true;
        reason = ev.data;
      } else if (ev.type == ENET_EVENT_TYPE_RECEIVE) {
        enet_packet_destroy(ev.packet);
      }
    }
    server->DeallocatePacket(server->Receive());
  }
  EXPECT_TRUE(connected);
  EXPECT_TRUE(refused);
  EXPECT_EQ(reason, 3u);  // incompatible
  for (int i = 0; i < 20; ++i) {
    Packet* p = server->Receive();
    EXPECT_EQ(p, nullptr);
    server->DeallocatePacket(p);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_EQ(server->NumberOfConnections(), 0);
}

}  // namespace

namespace {

// What a raw host heard of bandwidth limits: its intercept reads each datagram's
// commands as ENet lays them out (no checksum, no compression).
int bandwidthLimitsHeard = 0;

int countBandwidthLimits(ENetHost* host, ENetEvent*) {
  const enet_uint8* data = host->receivedData;
  const size_t length = host->receivedDataLength;
  if (length < 2) return 0;
  const enet_uint16 header = static_cast<enet_uint16>(data[0] << 8 | data[1]);
  size_t at = header & ENET_PROTOCOL_HEADER_FLAG_SENT_TIME ? 4 : 2;
  while (at + sizeof(ENetProtocolCommandHeader) <= length) {
    const enet_uint8 number = data[at] & ENET_PROTOCOL_COMMAND_MASK;
    const size_t size = number < ENET_PROTOCOL_COMMAND_COUNT ? enet_protocol_command_size(number) : 0;
    if (size == 0 || at + size > length) break;
    const ENetProtocol* command = reinterpret_cast<const ENetProtocol*>(data + at);
    size_t carried = 0;  // the bytes of a message that follow its command
    switch (number) {
      case ENET_PROTOCOL_COMMAND_BANDWIDTH_LIMIT: ++bandwidthLimitsHeard; break;
      case ENET_PROTOCOL_COMMAND_SEND_RELIABLE: carried = ENET_NET_TO_HOST_16(command->sendReliable.dataLength); break;
      case ENET_PROTOCOL_COMMAND_SEND_UNRELIABLE:
        carried = ENET_NET_TO_HOST_16(command->sendUnreliable.dataLength);
        break;
      case ENET_PROTOCOL_COMMAND_SEND_UNSEQUENCED:
        carried = ENET_NET_TO_HOST_16(command->sendUnsequenced.dataLength);
        break;
      case ENET_PROTOCOL_COMMAND_SEND_FRAGMENT:
      case ENET_PROTOCOL_COMMAND_SEND_UNRELIABLE_FRAGMENT:
        carried = ENET_NET_TO_HOST_16(command->sendFragment.dataLength);
        break;
      default: break;
    }
    at += size + carried;
  }
  return 0;
}

// ENet tells every connected system the host's bandwidth limits again in the second
// after any system came or went. Ours are never set, so that says nothing new, and a
// server with thousands connected and logins every second spent a burst of datagrams
// on it each second, holding its relay meanwhile: a connected system hears none.
TEST(Peer, SystemsComingAndGoingTellAConnectedOneNoBandwidthLimits) {
  PeerPtr server = makePeer(4, 4);
  RawEnet watcher, passer;
  watcher.host->intercept = countBandwidthLimits;
  bandwidthLimitsHeard = 0;
  ASSERT_NE(watcher.connect(server.get(), handshake::connectData()), nullptr);
  bool watching = false, passed = false;
  // Two of ENet's seconds after the other system came and went.
  const auto until = Clock::now() + std::chrono::milliseconds(2500);
  while (Clock::now() < until) {
    ENetEvent ev;
    while (enet_host_service(watcher.host, &ev, 1) > 0) {
      if (ev.type == ENET_EVENT_TYPE_CONNECT && !watching) {
        watching = true;
        ASSERT_NE(passer.connect(server.get(), handshake::connectData()), nullptr);
      }
      if (ev.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(ev.packet);
    }
    while (enet_host_service(passer.host, &ev, 0) > 0) {
      if (ev.type == ENET_EVENT_TYPE_CONNECT) {
        passed = true;
        enet_peer_disconnect(ev.peer, 0);
      }
      if (ev.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(ev.packet);
    }
  }
  EXPECT_TRUE(passed);
  EXPECT_EQ(bandwidthLimitsHeard, 0);
}

}  // namespace

namespace {

TEST(Peer, MessagesSentRightBeforeShutdownStillArrive) {
  Pair pair;
  ASSERT_TRUE(pair.connect());
  std::vector<char> big(50000, static_cast<char>(0x90));
  for (int i = 0; i < 20; ++i)
    ASSERT_NE(pair.client->Send(big.data(), static_cast<int>(big.size()), HIGH_PRIORITY, RELIABLE_ORDERED, 0,
                                pair.serverGuid, false),
              0u);
  pair.client->Shutdown(2000);
  int got = 0;
  ASSERT_TRUE(waitFor(pair.server.get(), ID_DISCONNECTION_NOTIFICATION, nullptr, 5000,
                      [&](Packet* p) { got += p->data[0] == 0x90; }));
  EXPECT_EQ(got, 20);
}

}  // namespace

namespace {

struct LimitCase {
  const char* what;
  IncomingLimits limits;
  int messages;  // sent by the client that goes over, none taken by the server
  int size;
};

// A connection that sends more than its limits allow is closed, what it had waiting
// is never handed out, and another connection carries on.
class PeerLimits : public ::testing::TestWithParam<LimitCase> {};

TEST_P(PeerLimits, AConnectionOverItsLimitIsClosedAndAnotherCarriesOn) {
  const LimitCase& lc = GetParam();
  PeerPtr server = makePeer(8, 8);
  server->SetIncomingLimits(lc.limits);
  PeerPtr greedy = makePeer(1, 0), modest = makePeer(1, 0);
  for (RakPeerInterface* c : {greedy.get(), modest.get()}) {
    ASSERT_EQ(c->Connect("127.0.0.1", portOf(server.get()), nullptr, 0), CONNECTION_ATTEMPT_STARTED);
    ASSERT_TRUE(waitFor(c, ID_CONNECTION_REQUEST_ACCEPTED));
  }
  std::vector<char> msg(static_cast<size_t>(lc.size), static_cast<char>(0x90));
  for (int i = 0; i < lc.messages; ++i)
    greedy->Send(msg.data(), lc.size, HIGH_PRIORITY, RELIABLE_ORDERED, 0, server->GetMyGUID(), false);
  ASSERT_TRUE(waitFor(greedy.get(), ID_CONNECTION_LOST)) << lc.what;
  const char last[] = {static_cast<char>(0x91)};
  modest->Send(last, 1, HIGH_PRIORITY, RELIABLE_ORDERED, 0, server->GetMyGUID(), false);

  int greedyMessages = 0, lost = 0, modestMessages = 0;
  auto until = Clock::now() + std::chrono::seconds(5);
  while ((lost == 0 || modestMessages == 0) && Clock::now() < until) {
    while (Packet* p = server->Receive()) {
      bool fromGreedy = p->guid == greedy->GetMyGUID();
      greedyMessages += fromGreedy && p->data[0] == 0x90;
      lost += fromGreedy && p->data[0] == ID_CONNECTION_LOST;
      modestMessages += !fromGreedy && p->data[0] == 0x91;
      server->DeallocatePacket(p);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(modestMessages, 1) << lc.what;
  EXPECT_EQ(greedyMessages, 0) << lc.what;
  EXPECT_EQ(lost, 1) << lc.what;
  EXPECT_EQ(server->NumberOfConnections(), 1) << lc.what;
}

IncomingLimits limitsOf(unsigned rate, unsigned burst, unsigned waiting, size_t waitingBytes) {
  IncomingLimits l;
  l.messagesPerSecond = rate;
  l.messageBurst = burst;
  l.maxWaitingMessages = waiting;
  l.maxWaitingBytes = waitingBytes;
  return l;
}

INSTANTIATE_TEST_SUITE_P(Peer, PeerLimits,
                         ::testing::Values(LimitCase{"rate", limitsOf(50, 100, 0, 0), 400, 1},
                                           LimitCase{"waiting messages", limitsOf(0, 0, 100, 0), 400, 1},
                                           LimitCase{"waiting bytes", limitsOf(0, 0, 0, 20000), 40, 1000}));

}  // namespace
