// A match through the real lobby server on loopback: both machines connect only to
// the lobby, which relays the host's replica traffic to the joining side.
#include "LobbyFixture.h"
#include "LobbyHost.h"
#include "MatchPair.h"

using namespace protocol;

namespace {

class LobbyRelay : public ::testing::Test {
 protected:
  void SetUp() override {
    LobbyHostOptions options;
    options.bind = "127.0.0.1";
    options.port = 0;
    options.config.devCode = "123456";
    options.config.listDebounceMs = 10;
    ASSERT_TRUE(lobby.start(options));
  }

  template <class M>
  void send(Machine& m, const M& message) {
    RakNet::BitStream bs = encode(message);
    m.peer->Send(&bs, HIGH_PRIORITY, RELIABLE_ORDERED, 0, server(m), false);
  }
  RakNet::RakNetGUID& server(Machine& m) { return &m == &host ? hostServer : joinServer; }

  // Pumps the lobby and `m` until `m` receives a message with the id (what the other
  // machine gets waits in its peer).
  Bytes await(Machine& m, unsigned char id) {
    const auto until = loopback::Clock::now() + std::chrono::seconds(10);
    while (loopback::Clock::now() < until) {
      lobby.pump();
      while (RakNet::Packet* p = m.peer->Receive()) {
        Bytes b(p->data, p->data + p->length);
        if (p->data[0] == ID_CONNECTION_REQUEST_ACCEPTED) server(m) = p->guid;
        m.peer->DeallocatePacket(p);
        if (b[0] == id) return b;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ADD_FAILURE() << "no message " << int(id);
    return {};
  }

  void login(Machine& m, const std::string& name) {
    ASSERT_EQ(m.peer->Connect("127.0.0.1", lobby.port(), nullptr, 0), RakNet::CONNECTION_ATTEMPT_STARTED);
    await(m, ID_CONNECTION_REQUEST_ACCEPTED);
    ProtocolVersionMsg v;
    v.value = 9;
    send(m, v);
    await(m, ID_LOGIN_EMAIL);
    LoginEmailMsg e;
    e.text = name + "@relay.example";
    send(m, e);
    await(m, ID_LOGIN_CODE);
    LoginCodeMsg code;
    code.text = "123456";
    send(m, code);
    await(m, ID_PLAYER_NAME);
    PlayerNameMsg n;
    n.text = name;
    send(m, n);
    await(m, ID_LOGIN);
  }

  // The host challenges the joining player, who accepts; both get ID_START_GAME.
  void startMatch() {
    login(host, "Alder");
    login(join, "Birch");
    ChallengeMsg challenge;
    challenge.guid = join.peer->GetMyGUID().g;
    send(host, challenge);
    await(join, ID_CHALLENGE);
    ChallengeAnswerMsg yes;
    yes.value = 1;
    send(join, yes);
    await(host, ID_START_GAME);
    await(join, ID_START_GAME);
    // The host's objects reach the joining side through its lobby connection.
    join.replicas.setMatchHost(joinServer);
  }

  // A chat line from the host, relayed after everything the host sent before it.
  void relayedMarker() {
    ChatMsg line;
    line.text = "marker";
    send(host, line);
    await(join, ID_CHAT);
  }

  RecordingMailer mailer;
  LobbyHost lobby{mailer};
  Machine host{true, 21};
  Machine join{false, 22};
  RakNet::RakNetGUID hostServer, joinServer;
};

TEST_F(LobbyRelay, TheHostsGameReachesTheJoiningSideThroughTheLobby) {
  startMatch();
  join.game().beginClientGame();
  ASSERT_TRUE(host.game().newGame(true, GameDirector::create("skirmish")));
  host.replicas.updateReplicas();
  relayedMarker();
  EXPECT_EQ(join.replicas.replicaCount(), 2u + 2u + 2u * 1600u);
  expectGamesMirrored(host, join, true);
  EXPECT_EQ(lobby.server().stats().dropped, 0u) << "nothing of the match was dropped by the relay";

  // The end of the game, relayed as well.
  host.game().clearGame(false);
  relayedMarker();
  EXPECT_EQ(join.replicas.replicaCount(), 0u);
  EXPECT_EQ(join.game().localPlayer(), nullptr);
  EXPECT_EQ(join.game().enemyPlayer(), nullptr);
}

TEST_F(LobbyRelay, AHostLeavingEndsTheGameThroughTheLobbysNoticeNotThroughTheReplicas) {
  startMatch();
  join.game().beginClientGame();
  ASSERT_TRUE(host.game().newGame(true, GameDirector::create("skirmish")));
  host.replicas.updateReplicas();
  relayedMarker();
  host.peer->CloseConnection(hostServer, true);
  await(join, ID_GAME_RESULT);
  // The copies came from the lobby's connection, which stays: the notice's handler
  // clears the game, and nothing is freed twice.
  EXPECT_EQ(join.replicas.replicaCount(), 2u + 2u + 2u * 1600u);
  join.game().clearGame(false);
  EXPECT_EQ(join.replicas.replicaCount(), 0u);
  EXPECT_EQ(join.game().localPlayer(), nullptr);
}

}  // namespace
