// Greetings at the lobby's door, over loopback by raw ENet clients: who may take a
// GUID through which of the lobby's peers, what a connection that lost its GUID to
// its owner hears, and how many greetings one address may make.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <future>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "AttackFixture.h"
#include "Handshake.h"

namespace {

using Clock = std::chrono::steady_clock;

enum Reason : enet_uint32 { kGuidInUse = 5, kOverLimit = 6, kReplaced = 7 };

LobbyHostOptions onPeers(unsigned peers) {
  LobbyHostOptions o = ServerThread::options();
  o.maxClients = peers == 1 ? 64 : LobbyHost::kClientsPerPeer * (peers - 1) + 1;
  return o;
}

std::string address(int block, int i) { return "127.0." + std::to_string(block) + "." + std::to_string(i + 1); }

// A connection whose owner comes back on a new socket (through whichever of the
// lobby's peers the system picks) used to be dropped without a word, or, on another
// peer, closed as any other close: it learnt of it at its time-out or thought the
// lobby had closed it. It now hears at once that it was replaced. Two sockets of one
// owner greeting at once end the same way: one stays, the other is told.
TEST(LobbyGreeting, AConnectionItsOwnerReplacesIsToldAtOnce) {
  for (unsigned peers : {1u, 2u}) {
    SCOPED_TRACE(std::to_string(peers) + " peers");
    ServerThread server;
    ASSERT_TRUE(server.start(onPeers(peers)));
    auto first = std::make_unique<RawClient>(address(20, 0).c_str());
    ASSERT_TRUE(first->login(server.port(), "Owner" + std::to_string(peers)));
    const std::uint64_t guid = first->guid(), proof = first->proof();
    std::unique_ptr<RawClient> previous = std::move(first);
    for (int i = 0; i < 8; ++i) {
      auto back = std::make_unique<RawClient>(address(21, i).c_str());
      back->showProof(proof);
      ASSERT_TRUE(back->connectAs(server.port(), guid, 2000)) << i;
      EXPECT_TRUE(previous->awaitClosed(2000)) << i;
      EXPECT_EQ(previous->closeReason(), kReplaced) << i;
      EXPECT_FALSE(back->awaitClosed(100)) << i;
      previous = std::move(back);
    }

    RawClient a(address(22, 0).c_str()), b(address(22, 1).c_str());
    for (RawClient* c : {&a, &b}) c->showProof(proof);
    auto greetA = std::async(std::launch::async, [&] { return a.connectAs(server.port(), guid, 2000); });
    auto greetB = std::async(std::launch::async, [&] { return b.connectAs(server.port(), guid, 2000); });
    const bool welcomedA = greetA.get(), welcomedB = greetB.get();
    EXPECT_TRUE(welcomedA || welcomedB);
    a.awaitClosed(500);
    b.awaitClosed(500);
    EXPECT_TRUE(previous->awaitClosed(1000));
    EXPECT_EQ(previous->closeReason(), kReplaced);
    EXPECT_NE(a.closed(), b.closed()) << "one of the two stays";
    RawClient& loser = a.closed() ? a : b;
    if (loser.welcomed()) {
      EXPECT_EQ(loser.closeReason(), kReplaced);
    }
  }
}

// Raw greetings from one address as fast as it can make them, each naming a GUID in
// use; returns the close reasons the server gave them.
std::vector<enet_uint32> greetAs(unsigned short port, std::uint64_t guid, double seconds,
                                 const std::atomic<bool>& stop) {
  std::vector<enet_uint32> reasons;
  ENetAddress bind;
  enet_address_set_host_ip(&bind, "127.0.0.1");
  bind.port = 0;
  ENetHost* host = enet_host_create(&bind, 64, 1, 0, 0);
  if (!host) return reasons;
  ENetAddress server;
  enet_address_set_host_ip(&server, "127.0.0.1");
  server.port = port;
  std::mt19937_64 rng(7);
  int open = 0;
  const auto until = Clock::now() + std::chrono::duration<double>(seconds);
  while (Clock::now() < until && !stop) {
    while (open < 48 && enet_host_connect(host, &server, 1, RakNet::handshake::connectData())) ++open;
    ENetEvent ev;
    while (enet_host_service(host, &ev, 1) > 0) {
      if (ev.type == ENET_EVENT_TYPE_CONNECT) {
        RakNet::handshake::Greeting hello;
        hello.guid = guid;
        hello.proof = rng() | 1;
        const Bytes b = RakNet::handshake::encode(hello);
        enet_peer_send(ev.peer, 0, enet_packet_create(b.data(), b.size(), ENET_PACKET_FLAG_RELIABLE));
      } else if (ev.type == ENET_EVENT_TYPE_DISCONNECT) {
        reasons.push_back(ev.data);
        --open;
      } else if (ev.type == ENET_EVENT_TYPE_RECEIVE) {
        enet_packet_destroy(ev.packet);
      }
    }
  }
  enet_host_destroy(host);
  return reasons;
}

// One address greeted as a listed player hundreds of times a second, each Hello
// refused, and without limit; while it did, the player's own comebacks from elsewhere
// were sometimes refused (one peer of the lobby took a Hello its other peer's
// holder had to refuse). Now the address gets only its share of greetings, the rest
// refused at the door, and every comeback of the owner gets in.
TEST(LobbyGreeting, OneAddressGetsItsShareOfGreetingsAndTheOwnerAlwaysGetsBack) {
  LobbyHostOptions o = onPeers(2);
  ServerThread server;
  ASSERT_TRUE(server.start(o));
  auto owner = std::make_unique<RawClient>(address(23, 0).c_str());
  ASSERT_TRUE(owner->login(server.port(), "Listed"));
  const std::uint64_t guid = owner->guid(), proof = owner->proof();

  std::atomic<bool> stop{false};
  const auto started = Clock::now();
  auto flood = std::async(std::launch::async, [&] { return greetAs(server.port(), guid, 4.0, stop); });
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  for (int i = 0; i < 20; ++i) {
    auto back = std::make_unique<RawClient>(address(24, i).c_str());
    back->showProof(proof);
    EXPECT_TRUE(back->connectAs(server.port(), guid, 2000)) << i;
    EXPECT_FALSE(back->awaitClosed(50)) << i;
    owner = std::move(back);
  }
  stop = true;
  const std::vector<enet_uint32> reasons = flood.get();
  const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
  int greeted = 0, refusedAtTheDoor = 0;
  for (enet_uint32 r : reasons) {
    greeted += r == kGuidInUse;
    refusedAtTheDoor += r == kOverLimit;
  }
  EXPECT_GT(refusedAtTheDoor, 0);
  EXPECT_LE(greeted, o.limits.greetingBurst + o.limits.greetingsPerSecond * (seconds + 1))
      << reasons.size() << " greetings in " << seconds << " s";
  std::printf("%zu greetings from one address in %.1f s: %d refused for the GUID, %d at the door\n",
              reasons.size(), seconds, greeted, refusedAtTheDoor);
  EXPECT_FALSE(owner->awaitClosed(100));
}

}  // namespace
