#include <algorithm>
#include <map>
#include <random>

#include "LobbyFixture.h"
#include "raknet/MessageIdentifiers.h"

using namespace protocol;

namespace {

using LobbyMatch = LobbyFixture;

ChallengeMsg challenge(std::uint64_t guid) {
  ChallengeMsg m;
  m.guid = guid;
  return m;
}
ChallengeAnswerMsg answer(int v) {
  ChallengeAnswerMsg m;
  m.value = v;
  return m;
}
ChatMsg chat(const std::string& text) {
  ChatMsg m;
  m.text = text;
  return m;
}

TEST_F(LobbyMatch, PlayerListGoesDebouncedToEveryIdlePlayer) {
  login(1, "A");
  login(2, "B");
  EXPECT_TRUE(ids(1).empty());  // not before the debounce time
  advance(config.listDebounceMs);
  PlayerListMsg list = only<PlayerListMsg>(1);
  EXPECT_EQ(list.onlineCount, 2);
  ASSERT_EQ(list.players.size(), 2u);
  EXPECT_EQ(list.players[0].guid, 1u);  // login order, the recipient included
  EXPECT_EQ(list.players[0].name, "A");
  EXPECT_EQ(list.players[1].name, "B");
  EXPECT_EQ(only<PlayerListMsg>(2).players.size(), 2u);
  advance(config.listDebounceMs * 10);
  EXPECT_TRUE(ids(1).empty());  // nothing changed, nothing sent

  match(3, 4);
  login(5, "E");
  advance(config.listDebounceMs);
  list = only<PlayerListMsg>(1);
  EXPECT_EQ(list.onlineCount, 5);
  EXPECT_EQ(list.players.size(), 3u);  // players in a match are not listed...
  EXPECT_TRUE(ids(3).empty());         // ...and get no list
}

// Lists go out at a pace in bytes, once a round to each idle player: with many
// players a round takes longer instead of costing the relay more, and a player who
// has yet to get the last list gets the newest in its place.
TEST_F(LobbyMatch, PlayerListsGoOutAtAPaceAndWhoWaitsGetsTheNewest) {
  config.listBytesPerSecond = 1000;  // about one list of six players a tenth of a second
  makeServer();
  for (std::uint64_t c = 1; c <= 6; ++c) login(c, "P" + std::to_string(c));
  std::map<std::uint64_t, std::vector<PlayerListMsg>> got;
  auto collect = [&] {
    for (std::uint64_t c = 1; c <= 7; ++c)
      for (const Bytes& b : take(c)) {
        PlayerListMsg m;
        ASSERT_TRUE(decode(b.data(), b.size(), m));
        got[c].push_back(m);
      }
  };
  advance(config.listDebounceMs);
  collect();
  EXPECT_EQ(got.size(), 1u);  // one list's worth of bytes so far
  advance(100);
  advance(100);
  login(7, "P7");  // a new list while four still wait for the first
  advance(config.listDebounceMs);
  for (int i = 0; i < 20; ++i) advance(100);
  collect();
  for (std::uint64_t c = 1; c <= 7; ++c) {
    ASSERT_FALSE(got[c].empty()) << c;
    EXPECT_EQ(got[c].back().players.size(), 7u) << c;
    EXPECT_LE(got[c].size(), 2u) << c;
  }
  EXPECT_EQ(got[6].size(), 1u);  // still waiting when the new list came: only the newest
}

// A round after a quiet while does not go out at once either: each list is compressed
// for its player as it goes, and the relay waits meanwhile.
TEST_F(LobbyMatch, PlayerListsDoNotGoOutInABurstAfterAQuietWhile) {
  config.listBytesPerSecond = 100000;  // 2 ms of it is less than a list of 50 players
  makeServer();
  for (std::uint64_t c = 1; c <= 50; ++c) login(c, "P" + std::to_string(c));
  advance(config.listDebounceMs);
  EXPECT_EQ(transport.log.size(), 1u);
  size_t most = 0;
  for (int i = 0; i < 100 && transport.log.size() < 50; ++i) {
    const size_t before = transport.log.size();
    advance(10);
    most = std::max(most, transport.log.size() - before);
  }
  EXPECT_EQ(transport.log.size(), 50u);
  EXPECT_LE(most, 2u);  // some 10 ms of the pace each
}

TEST_F(LobbyMatch, AcceptedChallengeStartsMatchJoinerFirstChallengerHosts) {
  login(1, "Host");
  login(2, "Guest");
  up(1, challenge(2));
  EXPECT_EQ(only<ChallengeReceivedMsg>(2).text, "Host");
  transport.log.clear();
  up(2, answer(1));
  ASSERT_EQ(transport.log.size(), 2u);
  EXPECT_EQ(transport.log[0].first, 2u);
  EXPECT_EQ(transport.log[1].first, 1u);
  StartGameMsg toJoin, toHost;
  ASSERT_TRUE(decode(transport.log[0].second.data(), transport.log[0].second.size(), toJoin));
  ASSERT_TRUE(decode(transport.log[1].second.data(), transport.log[1].second.size(), toHost));
  EXPECT_EQ(toJoin.role, kRoleJoin);
  EXPECT_EQ(toJoin.opponentName, "Host");
  EXPECT_EQ(toHost.role, kRoleHost);
  EXPECT_EQ(toHost.opponentName, "Guest");
  EXPECT_EQ(server->matchCount(), 1u);
}

TEST_F(LobbyMatch, RefusedExpiredAndWithdrawnChallengesAreAnswered) {
  login(1, "A");
  login(2, "B");
  settle();
  // Refused.
  up(1, challenge(2));
  take(2);
  up(2, answer(0));
  EXPECT_EQ(only<ChallengeAnswerMsg>(1).value, 0);
  // Expired: the challenger hears, and a late accept is answered too.
  up(1, challenge(2));
  take(2);
  advance(config.challengeExpiryMs - 1);
  EXPECT_TRUE(ids(1).empty());
  advance(1);
  EXPECT_EQ(only<ChallengeAnswerMsg>(1).value, 0);
  up(2, answer(1));
  EXPECT_EQ(only<ChallengeAnswerMsg>(2).value, 0);
  // Withdrawn by the challenger.
  up(1, challenge(2));
  take(2);
  up(1, CancelMatchmakingMsg{});
  up(2, answer(1));
  EXPECT_EQ(only<ChallengeAnswerMsg>(2).value, 0);
  EXPECT_TRUE(ids(1).empty());
  EXPECT_EQ(server->matchCount(), 0u);
}

// Two players who challenged each other, or a challenger paired by quick match with
// the one it challenged, hear only the start of their match, never a refusal.
TEST_F(LobbyMatch, ChallengesBetweenTheTwoPlayersOfANewMatchEndSilently) {
  login(1, "A");
  login(2, "B");
  login(3, "C");
  settle();
  up(1, challenge(2));
  up(2, challenge(1));
  up(3, challenge(2));  // B is being asked about A's: C waits its turn
  EXPECT_TRUE(ids(3).empty());
  take(1);
  take(2);
  up(1, answer(1));  // A accepts B's challenge
  EXPECT_EQ(ids(1), std::vector<int>{ID_START_GAME});
  EXPECT_EQ(ids(2), std::vector<int>{ID_START_GAME});
  EXPECT_EQ(only<ChallengeAnswerMsg>(3).value, 0);  // B went into a match

  login(4, "D");
  login(5, "E");
  settle();
  up(5, challenge(4));
  up(4, QuickmatchMsg{});  // D waited longest and hosts
  take(4);
  up(5, QuickmatchMsg{});
  EXPECT_EQ(ids(4), std::vector<int>{ID_START_GAME});
  EXPECT_EQ(ids(5), std::vector<int>{ID_START_GAME});
}

TEST_F(LobbyMatch, ChallengesThatCannotReachAreRefusedAtOnce) {
  login(1, "A");
  login(2, "B");
  login(3, "C");
  match(4, 5);
  connect(6);  // connected, not logged in
  for (std::uint64_t target : {1ull, 4ull, 6ull, 999ull}) {
    up(1, challenge(target));
    EXPECT_EQ(only<ChallengeAnswerMsg>(1).value, 0) << target;
  }
  EXPECT_TRUE(ids(4).empty());
}

// A target is asked about one challenge at a time; the next waits for the answer.
TEST_F(LobbyMatch, ChallengesToOneTargetWaitTheirTurn) {
  login(1, "A");
  login(2, "B");
  login(3, "C");
  settle();
  up(2, challenge(3));
  EXPECT_EQ(only<ChallengeReceivedMsg>(3).text, "B");
  up(1, challenge(3));
  EXPECT_TRUE(ids(1).empty());
  EXPECT_TRUE(ids(3).empty());
  up(3, answer(0));
  EXPECT_EQ(only<ChallengeAnswerMsg>(2).value, 0);
  EXPECT_EQ(only<ChallengeReceivedMsg>(3).text, "A");
  up(3, answer(1));
  EXPECT_EQ(ids(3), std::vector<int>{ID_START_GAME});
  EXPECT_EQ(ids(1), std::vector<int>{ID_START_GAME});
}

TEST_F(LobbyMatch, ChallengesEndWithTheirPlayers) {
  login(1, "A");
  login(2, "B");
  up(1, challenge(2));
  take(2);
  disconnect(1);
  up(2, answer(1));
  EXPECT_EQ(only<ChallengeAnswerMsg>(2).value, 0);

  login(3, "C");
  up(3, challenge(2));
  take(2);
  disconnect(2);
  EXPECT_EQ(only<ChallengeAnswerMsg>(3).value, 0);
}

TEST_F(LobbyMatch, QuickMatchPairsTheFirstQueuedAsHost) {
  login(1, "A");
  login(2, "B");
  login(3, "C");
  up(1, QuickmatchMsg{});
  up(1, QuickmatchMsg{});  // twice is still once
  EXPECT_TRUE(ids(1).empty());
  up(2, QuickmatchMsg{});
  StartGameMsg host = only<StartGameMsg>(1);
  StartGameMsg join = only<StartGameMsg>(2);
  EXPECT_EQ(host.role, kRoleHost);
  EXPECT_EQ(host.opponentName, "B");
  EXPECT_EQ(join.role, kRoleJoin);
  up(3, QuickmatchMsg{});
  EXPECT_TRUE(ids(3).empty());
  up(3, CancelMatchmakingMsg{});
  login(4, "D");
  up(4, QuickmatchMsg{});
  EXPECT_TRUE(ids(4).empty());  // 3 left the queue
}

struct RelayCase {
  Bytes message;
  bool fromHost;
  bool relayed;
};

TEST_F(LobbyMatch, RelayForwardsOnlyWhatEachSideMaySend) {
  match(1, 2);
  const Bytes elem{ID_SELECTED_BOARD_ELEM, 0, 0, 0, 0, 0, 0, 0, 7};
  const Bytes spell{ID_SELECTED_SPELL, 0, 0, 0, 3, 0, 0, 0, 0};
  const Bytes card{ID_SELECTED_CARD, 0, 0, 0, 3};
  const Bytes result{ID_GAME_RESULT, 0, 0, 0, 1};
  const Bytes cardlist{ID_CARDLIST, 0, 0, 0, 1, 0, 0, 0, 4};
  RakNet::BitStream chatBs = encode(chat("hi 100%"));
  const Bytes chatMsg(chatBs.GetData(), chatBs.GetData() + chatBs.GetNumberOfBytesUsed());
  const std::vector<RelayCase> cases = {
      {elem, false, true},
      {elem, true, false},
      {spell, false, true},
      {card, false, true},
      {card, true, false},
      {Bytes{ID_FINISHED_SELECTING_CARDS}, false, true},
      {Bytes{ID_FINISHED_SELECTING_SPELLS}, false, true},
      {Bytes{ID_CANCEL}, false, true},
      {Bytes{ID_TURN_BEGIN}, true, true},
      {Bytes{ID_TURN_BEGIN}, false, false},
      {cardlist, true, true},
      {cardlist, false, false},
      {Bytes{ID_FINISHED_ANIMATING}, true, true},
      {Bytes{ID_FINISHED_ANIMATING}, false, true},
      {chatMsg, true, true},
      {chatMsg, false, true},
      {Bytes{ID_CLICKED_BOARD}, false, false},
      {Bytes{ID_START_GAME, 0, 0, 0, 1, 0, 0}, true, false},
      {Bytes{ID_GAME_RESULT, 0, 0, 0, 5}, true, false},  // the lobby's codes
      {Bytes{ID_GAME_RESULT, 0, 0, 0, 1}, false, false},
      {Bytes{0x8F}, true, false},
      {Bytes{ID_PLAYER_LIST, 0, 0, 0, 0, 0, 0, 0, 0}, true, false},
      {Bytes{ID_SELECTED_CARD, 0, 0}, false, false},          // truncated
      {Bytes{ID_SELECTED_CARD, 0, 0, 0, 3, 9}, false, false}, // too long
      {Bytes{ID_BLOCK_EXPLODED, 0, 0, 0, 0, 0, 0, 0, 1}, true, true},
      {Bytes{ID_BLOCK_COLLAPSED, 0, 0, 0, 0, 0, 0, 0, 1}, true, true},
      {Bytes{ID_DOOR_DESTROYED, 0, 0, 0, 0, 0, 0, 0, 1}, true, true},
      {Bytes{ID_DOOR_DESTROYED, 0, 0, 0, 0, 0, 0, 0, 1}, false, false},
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    const RelayCase& rc = cases[i];
    std::uint64_t from = rc.fromHost ? 1 : 2, to = rc.fromHost ? 2 : 1;
    raw(from, rc.message);
    std::vector<Bytes> got = take(to);
    if (rc.relayed) {
      ASSERT_EQ(got.size(), 1u) << "case " << i;
      EXPECT_EQ(got[0], rc.message) << "case " << i;
    } else {
      EXPECT_TRUE(got.empty()) << "case " << i;
    }
    EXPECT_TRUE(take(from).empty()) << "case " << i;
  }
  EXPECT_EQ(server->matchCount(), 1u);
}

TEST_F(LobbyMatch, LeavingEndsTheMatchWithTheForfeitCodeOfThePartnersRole) {
  match(1, 2);
  up(2, LeaveGameMsg{});
  EXPECT_EQ(only<GameResultMsg>(1).code, kResultOpponentForfeitHost);
  EXPECT_TRUE(ids(2).empty());
  EXPECT_EQ(server->matchCount(), 0u);
  raw(1, Bytes{ID_TURN_BEGIN});  // no match any more: nothing relayed
  EXPECT_TRUE(ids(2).empty());

  match(3, 4);
  up(3, LeaveGameMsg{});
  EXPECT_EQ(only<GameResultMsg>(4).code, kResultOpponentForfeitJoin);
  up(3, LeaveGameMsg{});  // after any game: harmless
  advance(config.listDebounceMs);
  EXPECT_EQ(only<PlayerListMsg>(3).players.size(), 4u);  // both back in the list
}

TEST_F(LobbyMatch, DisconnectEndsTheMatchWithTheDisconnectCodeOfThePartnersRole) {
  match(1, 2);
  disconnect(1);
  EXPECT_EQ(only<GameResultMsg>(2).code, kResultOpponentDisconnectedJoin);
  match(3, 4);
  disconnect(4);
  EXPECT_EQ(only<GameResultMsg>(3).code, kResultOpponentDisconnectedHost);
  EXPECT_EQ(server->matchCount(), 0u);
}

TEST_F(LobbyMatch, RematchOnlyFromTheHostAfterTheGameIsOver) {
  match(1, 2);
  up(2, RematchMsg{});
  up(1, RematchMsg{});
  EXPECT_TRUE(ids(1).empty());
  EXPECT_TRUE(ids(2).empty());
  up(2, FinishedSelectingCardsMsg{});  // the game is played
  EXPECT_EQ(take(1).size(), 1u);
  raw(1, Bytes{ID_GAME_RESULT, 0, 0, 0, 0});  // the joiner lost
  EXPECT_EQ(take(2).size(), 1u);
  up(2, RematchMsg{});
  EXPECT_TRUE(ids(1).empty());
  transport.log.clear();
  up(1, RematchMsg{});
  ASSERT_EQ(transport.log.size(), 2u);
  EXPECT_EQ(transport.log[0].first, 2u);  // joiner first again
  EXPECT_EQ(transport.log[1].first, 1u);
  transport.log.clear();
  up(1, RematchMsg{});  // the new game is not over
  EXPECT_TRUE(transport.log.empty());
}

// A result the host sends before the joining side has played any of the game does
// not end a game: results and rematches in a loop start one game, not twenty.
TEST_F(LobbyMatch, OneRematchPerPlayedGame) {
  match(1, 2);
  up(2, SelectedCardMsg{});
  for (int i = 0; i < 20; ++i) {
    raw(1, Bytes{ID_GAME_RESULT, 0, 0, 0, 1});
    up(1, RematchMsg{});
  }
  const std::vector<int> got = ids(2);
  EXPECT_EQ(std::count(got.begin(), got.end(), ID_START_GAME), 1);
  EXPECT_EQ(std::count(got.begin(), got.end(), ID_GAME_RESULT), 20);  // each still shown
}

TEST_F(LobbyMatch, InvitationsAreMailedWithinLimits) {
  login(1, "A");
  InviteFriendMsg m;
  m.text = "Friend@Example.org";
  up(1, m);
  ASSERT_EQ(mailer.invites.size(), 1u);
  EXPECT_EQ(mailer.invites[0].first, "friend@example.org");
  EXPECT_EQ(mailer.invites[0].second, "A");
  m.text = "not an address";
  up(1, m);
  for (int i = 0; i < 20; ++i) {
    m.text = "f" + std::to_string(i) + "@example.org";
    up(1, m);
  }
  EXPECT_EQ(mailer.invites.size(), static_cast<size_t>(config.maxInvitesPerConnection));
}

// Random and mangled messages from every kind of client, in every stage: nothing
// crashes, and the match in progress keeps relaying for the well-behaved side.
TEST_F(LobbyMatch, HostileInputLeavesOthersUnaffected) {
  match(1, 2);
  login(3, "Mallory");
  connect(4);  // never sends its version
  connect(5);
  up(5, ProtocolVersionMsg{{9}});
  std::mt19937 rng(99);
  for (int round = 0; round < 20000; ++round) {
    Bytes b(rng() % 40);
    for (auto& x : b) x = static_cast<unsigned char>(rng());
    if (!b.empty() && round % 2) b[0] = static_cast<unsigned char>(0x84 + rng() % 0x75);
    std::uint64_t from = 2 + rng() % 4;  // the joiner, Mallory, and the two half-logged-in
    raw(from, b);
    if (round % 1000 == 0) advance(50);
  }
  // Whatever the noise did, the host can still reach whoever is its partner now.
  transport.log.clear();
  raw(1, Bytes{ID_TURN_BEGIN});
  if (server->matchCount() == 1) {
    EXPECT_EQ(take(2), std::vector<Bytes>{Bytes{ID_TURN_BEGIN}});
  }
  raw(2, Bytes{ID_CANCEL});
  SUCCEED();
}

TEST_F(LobbyMatch, JoinerNoiseNeverEndsTheMatch) {
  match(1, 2);
  std::mt19937 rng(5);
  for (int round = 0; round < 5000; ++round) {
    Bytes b(1 + rng() % 30);
    for (auto& x : b) x = static_cast<unsigned char>(rng());
    if (b[0] == ID_LEAVE_GAME || b[0] == ID_QUICKMATCH || b[0] == ID_CHALLENGE) b[0] = 0x8F;
    raw(2, b);
  }
  EXPECT_EQ(server->matchCount(), 1u);
  take(1);
  raw(2, Bytes{ID_CANCEL});
  EXPECT_EQ(take(1), std::vector<Bytes>{Bytes{ID_CANCEL}});
}

}  // namespace

namespace {

TEST_F(LobbyFixture, ReplicaTrafficFlowsWithinAMatchByRole) {
  login(7, "Idle");
  match(1, 2);
  const Bytes construction{ID_REPLICA_MANAGER_CONSTRUCTION, 1, 2, 3};
  const Bytes serialize{ID_REPLICA_MANAGER_SERIALIZE, 9};
  const Bytes downloaded{ID_REPLICA_MANAGER_DOWNLOAD_COMPLETE};
  auto replica = [&](std::uint64_t from, const Bytes& b) { server->onReplicaMessage(from, b.data(), b.size(), now); };

  replica(1, construction);
  replica(1, serialize);
  EXPECT_EQ(take(2), (std::vector<Bytes>{construction, serialize}));
  replica(2, construction);  // the joiner constructs nothing
  replica(2, serialize);
  EXPECT_TRUE(take(1).empty());
  replica(2, downloaded);
  EXPECT_EQ(take(1), std::vector<Bytes>{downloaded});
  replica(1, Bytes{0x10});  // not a replica message
  replica(1, Bytes{});
  replica(7, construction);  // not in a match
  replica(99, construction);  // unknown
  EXPECT_TRUE(take(2).empty());
  EXPECT_TRUE(take(7).empty());
}

}  // namespace
