// Who owns what the host's replication builds on the joining side: the game takes
// the host's players, boards and elements only while its own match runs and only
// from the match's host; leaving or replacing that game detaches every replica
// first. Whatever the joining side does next (leave, start a game against the
// computer) and whatever comes then (an update, the connection's close, the host's
// destruction), nothing is read, written or freed twice. Run under the sanitizers.
#include <string>

#include "MatchPair.h"

namespace {

// What the joining side does, and what arrives after it.
enum class Before { NoGame, ComputerGame };
enum class Then { Leave, ComputerGame };
enum class Last { Update, ConnectionClose, HostDestroys };

const char* name(Before b) { return b == Before::NoGame ? "NoGame" : "ComputerGame"; }
const char* name(Then t) { return t == Then::Leave ? "Leave" : "ComputerGame"; }
const char* name(Last l) {
  return l == Last::Update ? "Update" : l == Last::ConnectionClose ? "ConnectionClose" : "HostDestroys";
}

class RemoteOwnership : public MatchPair {
 protected:
  // The joining side's own step, as the hub takes it: exitToMenu clears the game,
  // a game against the computer replaces it.
  void then(Then t) {
    if (t == Then::Leave)
      join.game().clearGame(false);
    else
      ASSERT_TRUE(join.game().newGame(false, GameDirector::create("skirmish")));
  }

  // The host's word after that: its players' state changes, the connection ends,
  // or its game goes.
  void last(Last l) {
    switch (l) {
      case Last::Update:
        host.game().localPlayer()->setMana(77);
        host.game().enemyPlayer()->setMana(78);
        host.game().enemyPlayer()->setState(PlayerState::EndTurn);
        ASSERT_TRUE(sync());
        break;
      case Last::ConnectionClose:
        host.peer->CloseConnection(join.peer->GetMyGUID(), true);
        ASSERT_TRUE(pump([&] { return join.replicas.manager().GetConnectionCount() == 0; }));
        break;
      case Last::HostDestroys:
        host.game().clearGame(false);
        ASSERT_TRUE(marker(host, join));
        break;
    }
  }

  // The joining side's game is what it made itself, untouched by the host.
  void expectOwnGame(Then t) {
    GameSession& g = join.game();
    if (t == Then::Leave) {
      EXPECT_FALSE(g.started());
      EXPECT_EQ(g.localPlayer(), nullptr);
      EXPECT_EQ(g.enemyPlayer(), nullptr);
      return;
    }
    ASSERT_TRUE(g.bothPlayers());
    EXPECT_FALSE(g.online());
    for (Player* p : {g.localPlayer(), g.enemyPlayer()}) {
      EXPECT_NE(p->mana(), 77);
      EXPECT_NE(p->mana(), 78);
      EXPECT_EQ(p->state(), PlayerState::CardChoose);
      ASSERT_NE(p->board(), nullptr);
      EXPECT_EQ(p->board()->owner(), p);
    }
  }
};

struct OutsideCase {
  Before before;
  Then then;
  Last last;
};

class ConstructionOutsideAMatch : public RemoteOwnership, public ::testing::WithParamInterface<OutsideCase> {};

// The host's objects arrive while no match runs on the joining side (nothing in
// the shipped lobby sends them so, a hostile host does): every construction is
// refused, so the game the joining side has, or makes next, stays its own.
TEST_P(ConstructionOutsideAMatch, IsRefusedAndLeavesTheJoiningSidesGameAlone) {
  const OutsideCase& c = GetParam();
  LogLines log;
  join.replicas.setMatchHost(host.peer->GetMyGUID());  // the right host, but no match
  if (c.before == Before::ComputerGame) {
    ASSERT_TRUE(join.game().newGame(false, GameDirector::create("skirmish")));
  }
  Player* own = join.game().localPlayer();
  ASSERT_TRUE(host.game().newGame(true, GameDirector::create("skirmish")));
  ASSERT_TRUE(sync());
  EXPECT_EQ(join.replicas.replicaCount(), 0u);
  EXPECT_EQ(join.replicas.manager().GetReplicaCount(), 0u);
  EXPECT_EQ(join.game().localPlayer(), own);
  EXPECT_EQ(log.count("no network match runs on this joining side"), 2 + 2 + 2 * 1600);
  then(c.then);
  last(c.last);
  expectOwnGame(c.then);
  EXPECT_EQ(join.replicas.replicaCount(), 0u);
  join.game().clearGame(false);
}

std::vector<OutsideCase> outsideCases() {
  std::vector<OutsideCase> out;
  for (Before b : {Before::NoGame, Before::ComputerGame})
    for (Then t : {Then::Leave, Then::ComputerGame})
      for (Last l : {Last::Update, Last::ConnectionClose}) out.push_back({b, t, l});
  return out;
}

INSTANTIATE_TEST_SUITE_P(Sequences, ConstructionOutsideAMatch, ::testing::ValuesIn(outsideCases()),
                         [](const ::testing::TestParamInfo<OutsideCase>& info) {
                           return std::string(name(info.param.before)) + "_" + name(info.param.then) + "_" +
                                  name(info.param.last);
                         });

struct LeavingCase {
  Then then;
  Last last;
};

class LeavingAMatch : public RemoteOwnership, public ::testing::WithParamInterface<LeavingCase> {};

// The joining side's match is left or replaced while the host's game lives on:
// the game frees what it took over after every replica of it let go, and what the
// host sends later finds nothing.
TEST_P(LeavingAMatch, DetachesEveryReplicaBeforeTheGameGoes) {
  const LeavingCase& c = GetParam();
  startGame();
  ASSERT_TRUE(sync());
  ASSERT_EQ(join.replicas.replicaCount(), 2u + 2u + 2u * 1600u);
  then(c.then);
  EXPECT_EQ(join.replicas.replicaCount(), 0u);
  EXPECT_EQ(join.replicas.manager().GetReplicaCount(), 0u);
  last(c.last);
  expectOwnGame(c.then);
  EXPECT_EQ(join.replicas.replicaCount(), 0u);
  join.game().clearGame(false);
}

std::vector<LeavingCase> leavingCases() {
  std::vector<LeavingCase> out;
  for (Then t : {Then::Leave, Then::ComputerGame})
    for (Last l : {Last::Update, Last::ConnectionClose, Last::HostDestroys}) out.push_back({t, l});
  return out;
}

INSTANTIATE_TEST_SUITE_P(Sequences, LeavingAMatch, ::testing::ValuesIn(leavingCases()),
                         [](const ::testing::TestParamInfo<LeavingCase>& info) {
                           return std::string(name(info.param.then)) + "_" + name(info.param.last);
                         });

// A "Player" construction as a host would send it: the bit (the sender's own
// player) and an empty hand.
void sendPlayerConstruction(Machine& from, Machine& to, RakNet::NetworkID id, bool sendersOwn) {
  RakNet::BitStream data;
  data.Write(sendersOwn);
  data.Write(static_cast<uint32_t>(0));
  sendConstruction(from, to, "Player", id, data);
}

TEST_F(RemoteOwnership, InAMatchOnlyTheHostConstructsAndOnlyOnePlayerASide) {
  LogLines log;
  // A match whose host speaks through another system: nothing of this one is taken.
  join.replicas.setMatchHost(RakNet::RakNetGUID(12345));
  join.game().beginClientGame();
  ASSERT_TRUE(host.game().newGame(true, GameDirector::create("skirmish")));
  ASSERT_TRUE(sync());
  EXPECT_EQ(join.replicas.replicaCount(), 0u);
  EXPECT_EQ(join.game().localPlayer(), nullptr);
  EXPECT_EQ(log.count("not the match's host"), 2 + 2 + 2 * 1600);
  host.game().clearGame(false);
  ASSERT_TRUE(marker(host, join));

  // From the host: taken whole; a further player for a side that has one is not.
  startGame();
  ASSERT_TRUE(sync());
  Player* mine = join.game().localPlayer();
  Player* theirs = join.game().enemyPlayer();
  ASSERT_NE(mine, nullptr);
  sendPlayerConstruction(host, join, 900001, false);
  sendPlayerConstruction(host, join, 900002, true);
  ASSERT_TRUE(marker(host, join));
  EXPECT_EQ(join.game().localPlayer(), mine);
  EXPECT_EQ(join.game().enemyPlayer(), theirs);
  EXPECT_EQ(log.count("the game has its local player already"), 1);
  EXPECT_EQ(log.count("the game has its enemy player already"), 1);
  EXPECT_EQ(join.replicas.replicaCount(), 2u + 2u + 2u * 1600u);
  expectGamesMirrored(host, join, true);
}

}  // namespace
