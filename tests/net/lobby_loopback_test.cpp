// The lobby on a real peer over loopback: two clients log in with the
// development code, one challenges the other, and chat goes through the relay.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "LobbyHost.h"
#include "LobbyFixture.h"
#include "raknet/MessageIdentifiers.h"
#include "raknet/RakPeerInterface.h"

using namespace protocol;

namespace {

struct Client {
  RakNet::RakPeerInterface* peer = RakNet::RakPeerInterface::GetInstance();
  RakNet::RakNetGUID server;
  Client() {
    RakNet::SocketDescriptor sd(0, "127.0.0.1");
    peer->Startup(1, &sd, 1);
  }
  ~Client() { RakNet::RakPeerInterface::DestroyInstance(peer); }
  template <class M>
  void send(const M& m) {
    RakNet::BitStream bs = encode(m);
    peer->Send(&bs, HIGH_PRIORITY, RELIABLE_ORDERED, 0, server, false);
  }
};

class LobbyLoopback : public ::testing::Test {
 protected:
  void SetUp() override {
    LobbyHostOptions options;
    options.bind = "127.0.0.1";
    options.port = 0;  // any free port
    options.config.devCode = "123456";
    options.config.listDebounceMs = 10;
    ASSERT_TRUE(host.start(options));
  }

  // Pumps the lobby and waits for the client's next packet with the id.
  Bytes await(Client& c, unsigned char id) {
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < until) {
      host.pump();
      while (RakNet::Packet* p = c.peer->Receive()) {
        Bytes b(p->data, p->data + p->length);
        if (p->data[0] == ID_CONNECTION_REQUEST_ACCEPTED) c.server = p->guid;
        c.peer->DeallocatePacket(p);
        if (b[0] == id) return b;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ADD_FAILURE() << "no message " << int(id);
    return {};
  }

  void login(Client& c, const std::string& name) {
    ASSERT_EQ(c.peer->Connect("127.0.0.1", host.port(), nullptr, 0), RakNet::CONNECTION_ATTEMPT_STARTED);
    await(c, ID_CONNECTION_REQUEST_ACCEPTED);
    ProtocolVersionMsg v;
    v.value = 9;
    c.send(v);
    await(c, ID_LOGIN_EMAIL);
    LoginEmailMsg e;
    e.text = name + "@loop.example";
    c.send(e);
    await(c, ID_LOGIN_CODE);
    LoginCodeMsg code;
    code.text = "123456";
    c.send(code);
    await(c, ID_PLAYER_NAME);
    PlayerNameMsg n;
    n.text = name;
    c.send(n);
    await(c, ID_LOGIN);
  }

  RecordingMailer mailer;
  LobbyHost host{mailer};
};

TEST_F(LobbyLoopback, LoginChallengeAndRelayOverThePeer) {
  Client a, b;
  login(a, "Ash");
  login(b, "Beech");
  Bytes listBytes = await(a, ID_PLAYER_LIST);
  PlayerListMsg list;
  ASSERT_TRUE(decode(listBytes.data(), listBytes.size(), list));
  // The list names each player by the GUID its own peer reports.
  if (list.players.size() < 2) {
    listBytes = await(a, ID_PLAYER_LIST);
    ASSERT_TRUE(decode(listBytes.data(), listBytes.size(), list));
  }
  ASSERT_EQ(list.players.size(), 2u);
  EXPECT_EQ(list.players[0].guid, a.peer->GetMyGUID().g);
  EXPECT_EQ(list.players[1].guid, b.peer->GetMyGUID().g);

  ChallengeMsg ch;
  ch.guid = list.players[1].guid;
  a.send(ch);
  await(b, ID_CHALLENGE);
  ChallengeAnswerMsg yes;
  yes.value = 1;
  b.send(yes);
  Bytes start = await(a, ID_START_GAME);
  StartGameMsg sg;
  ASSERT_TRUE(decode(start.data(), start.size(), sg));
  EXPECT_EQ(sg.role, kRoleHost);
  await(b, ID_START_GAME);

  // Replica traffic from the host reaches the joiner's replica manager (a plug-in).
  struct Catcher : RakNet::PluginInterface2 {
    std::vector<Bytes> got;
    RakNet::PluginReceiveResult OnReceive(RakNet::Packet* p) override {
      if (p->data[0] != ID_REPLICA_MANAGER_CONSTRUCTION) return RakNet::RR_CONTINUE_PROCESSING;
      got.emplace_back(p->data, p->data + p->length);
      return RakNet::RR_STOP_PROCESSING_AND_DEALLOCATE;
    }
  } catcher;
  b.peer->AttachPlugin(&catcher);
  const char construction[] = {static_cast<char>(ID_REPLICA_MANAGER_CONSTRUCTION), 'P', 'l'};
  a.peer->Send(construction, 3, HIGH_PRIORITY, RELIABLE_ORDERED, 0, a.server, false);

  ChatMsg hello;
  hello.text = "good luck %s";
  a.send(hello);
  Bytes got = await(b, ID_CHAT);  // ordered after the replica message
  ChatMsg back;
  ASSERT_TRUE(decode(got.data(), got.size(), back));
  EXPECT_EQ(back.text, "good luck %s");
  b.peer->DetachPlugin(&catcher);
  ASSERT_EQ(catcher.got.size(), 1u);
  EXPECT_EQ(catcher.got[0], (Bytes{ID_REPLICA_MANAGER_CONSTRUCTION, 'P', 'l'}));

  // The host drops off without a word to the lobby: the joiner hears it disconnected.
  a.peer->CloseConnection(a.server, true);
  GameResultMsg result;
  Bytes end = await(b, ID_GAME_RESULT);
  ASSERT_TRUE(decode(end.data(), end.size(), result));
  EXPECT_EQ(result.code, kResultOpponentDisconnectedJoin);
}

TEST_F(LobbyLoopback, OldProtocolIsTurnedAwayAndClosed) {
  Client c;
  ASSERT_EQ(c.peer->Connect("127.0.0.1", host.port(), nullptr, 0), RakNet::CONNECTION_ATTEMPT_STARTED);
  await(c, ID_CONNECTION_REQUEST_ACCEPTED);
  ProtocolVersionMsg v;
  v.value = 8;
  c.send(v);
  Bytes err = await(c, ID_LOBBY_ERROR);
  EXPECT_EQ(err, (Bytes{ID_LOBBY_ERROR, 0, 0, 0, 0}));
  await(c, ID_DISCONNECTION_NOTIFICATION);
}

}  // namespace
