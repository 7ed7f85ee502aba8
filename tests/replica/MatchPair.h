// A hosting and a joining machine on loopback, each with its own game context,
// headless hub, network-id manager and replication; the joining peer connects to
// the hosting one directly (the lobby only relays the same bytes).
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Board.h"
#include "CapturedLog.h"
#include "GameContext.h"
#include "GameReplicas.h"
#include "MatchDigest.h"
#include "Loopback.h"
#include "ReplicaManager3_custom.h"
#include "ReplicaMatchLink.h"
#include "game/ComputerPlayer.h"
#include "game/GameDirector.h"
#include "game/GameSession.h"
#include "game/HeadlessHub.h"
#include "logog/logog.hpp"
#include "player/Player.h"
#include "raknet/RakString.h"

// Counts the replica traffic a peer receives (it passes every packet on).
class ReplicaTrafficMeter : public RakNet::PluginInterface2 {
 public:
  RakNet::PluginReceiveResult OnReceive(RakNet::Packet* p) override {
    if (p->length && p->data[0] >= ID_REPLICA_MANAGER_CONSTRUCTION &&
        p->data[0] <= ID_REPLICA_MANAGER_CONSTRUCTION_ACCEPTED) {
      bytes += p->length;
      ++messages;
    }
    return RakNet::RR_CONTINUE_PROCESSING;
  }
  size_t bytes = 0;
  size_t messages = 0;
};

struct Machine {
  explicit Machine(bool host, uint32_t seed) : ctx(seed), hub(ctx), peer(loopback::makePeer(host ? 4 : 0)) {
    link.hosting = host;
    ctx.setMatchLink(&link);
    replicas.manager().SetAutoSerializeInterval(1000000);  // passes when the test says
    peer->AttachPlugin(&meter);
    peer->AttachPlugin(&replicas.manager());
  }
  ~Machine() {
    peer.reset();  // the peer's shutdown takes the host's objects off a joining side
    ctx.setMatchLink(nullptr);
  }
  GameSession& game() { return ctx.game(); }

  GameContext ctx;
  HeadlessHub hub;
  RakNet::NetworkIDManager ids;
  GameReplicas replicas{ctx, ids};
  ReplicaMatchLink link{replicas};
  ReplicaTrafficMeter meter;
  loopback::PeerPtr peer;
};

using LogLines = CapturedLog;

// What both machines must agree on, as text (so a failure shows the difference).
inline std::string boardDigest(const Board* b) { return digest::board(b); }
inline std::string firstDifference(const std::string& a, const std::string& b) {
  return digest::firstDifference(a, b);
}
// The counters, and with `full` the hand and everything else of the sender's own player.
inline std::string playerDigest(const Player* p, bool full, bool withState = true) {
  return digest::player(p, full, withState, full);
}

// The joining machine's game equals the host's: its opponent is the host's own
// player with the full state, its own player the host's opponent (counters, and the
// state only while it has not started choosing by itself), and both boards.
inline void expectGamesMirrored(Machine& host, Machine& join, bool withLocalState) {
  GameSession& h = host.game();
  GameSession& j = join.game();
  ASSERT_NE(j.localPlayer(), nullptr);
  ASSERT_NE(j.enemyPlayer(), nullptr);
  EXPECT_EQ(playerDigest(j.enemyPlayer(), true), playerDigest(h.localPlayer(), true));
  EXPECT_EQ(playerDigest(j.localPlayer(), false, withLocalState), playerDigest(h.enemyPlayer(), false, withLocalState));
  EXPECT_EQ(firstDifference(boardDigest(j.enemyPlayer()->board()), boardDigest(h.localPlayer()->board())), "");
  EXPECT_EQ(firstDifference(boardDigest(j.localPlayer()->board()), boardDigest(h.enemyPlayer()->board())), "");
  ASSERT_NE(j.enemyPlayer()->board(), nullptr);
  ASSERT_NE(j.localPlayer()->board(), nullptr);
  EXPECT_EQ(j.enemyPlayer()->board()->owner(), j.enemyPlayer());
  EXPECT_EQ(j.localPlayer()->board()->owner(), j.localPlayer());
}

// Sends one construction as a host's replica manager would: the object `id` of
// `type` with its construction bytes `data`, and no destruction.
inline void sendConstruction(Machine& from, Machine& to, const char* type, RakNet::NetworkID id,
                             RakNet::BitStream& data) {
  RakNet::BitStream alloc, msg;
  alloc.Write(RakNet::RakString(type));
  msg.Write(static_cast<unsigned char>(ID_REPLICA_MANAGER_CONSTRUCTION));
  msg.Write(static_cast<uint32_t>(1));
  msg.Write(id);
  msg.Write(static_cast<uint32_t>(alloc.GetNumberOfBitsUsed()));
  msg.Write(&alloc);
  msg.Write(static_cast<uint32_t>(data.GetNumberOfBitsUsed()));
  msg.Write(&data);
  msg.Write(static_cast<uint32_t>(0));
  from.peer->Send(&msg, HIGH_PRIORITY, RELIABLE_ORDERED, 0, to.peer->GetMyGUID(), false);
}

class MatchPair : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(loopback::connect(host.peer.get(), join.peer.get()));
    ASSERT_TRUE(pump([&] {
      return host.replicas.manager().GetConnectionCount() == 1 && join.replicas.manager().GetConnectionCount() == 1;
    }));
  }

  bool pump(const std::function<bool()>& done, int ms = 5000) {
    return loopback::pumpUntil(done, {host.peer.get(), join.peer.get()}, ms);
  }

  // Starts an online game on the host and the client game on the joining side,
  // which takes the host's objects from the host's connection.
  void startGame() {
    join.replicas.setMatchHost(host.peer->GetMyGUID());
    join.game().beginClientGame();
    ASSERT_TRUE(host.game().newGame(true, GameDirector::create("skirmish")));
  }

  // Sends a message of `from`'s own after everything queued and waits until the
  // other side has it, so that side has handled all that came before.
  bool marker(Machine& from, Machine& to) {
    RakNet::BitStream bs;
    bs.Write(static_cast<unsigned char>(ID_USER_PACKET_ENUM + 1));
    from.peer->Send(&bs, HIGH_PRIORITY, RELIABLE_ORDERED, 0, to.peer->GetMyGUID(), false);
    bool seen = false;
    const auto until = loopback::Clock::now() + std::chrono::seconds(10);
    while (!seen && loopback::Clock::now() < until) {
      loopback::drain(from.peer.get());
      while (RakNet::Packet* p = to.peer->Receive()) {
        seen = seen || p->data[0] == ID_USER_PACKET_ENUM + 1;
        to.peer->DeallocatePacket(p);
      }
      if (!seen) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return seen;
  }

  // One update pass on the host, then wait until the joining side has it all.
  bool sync() {
    host.replicas.updateReplicas();
    return marker(host, join);
  }

  Machine host{true, 11};
  Machine join{false, 12};
};
