// The game's network object against the real lobby and against a scripted server.
#include <enet/enet.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "BombingLobby.h"
#include "CapturedLog.h"
#include "LossyProxy.h"
#include "Handshake.h"
#include "LobbyFixture.h"
#include "LobbyHost.h"
#include "Network.h"
#include "raknet/MessageIdentifiers.h"

using namespace protocol;
using Clock = std::chrono::steady_clock;

namespace {

struct Recorder : NetworkListener, LobbyEvents {
  std::vector<std::string> events;
  std::vector<std::string> lastNames;
  int lastOnline = -1;
  AnimateSpellMsg lastSpell;
  std::uint64_t lastElem = 0;

  void note(const std::string& e) { events.push_back(e); }
  bool has(const std::string& e) const {
    for (const auto& x : events)
      if (x == e) return true;
    return false;
  }
  void onLobbyConnecting() override { note("connecting"); }
  void onLobbyConnected() override { note("connected"); }
  void onLobbyConnectFailed() override { note("failed"); }
  void onLobbyConnectionLost() override { note("lost"); }
  void onLoginRequired() override { note("login?"); }
  void onCodeRequested() override { note("code?"); }
  void onNameRequested() override { note("name?"); }
  void onLoginAccepted() override { note("accepted"); }
  void onLobbyError(int e) override { note("error " + std::to_string(e)); }
  void onPlayerList(int online, const std::vector<std::string>& names) override {
    lastOnline = online;
    lastNames = names;
    note("list " + std::to_string(names.size()));
  }
  void onChallengeReceived(const std::string& name) override { note("challenged by " + name); }
  void onChallengeRejected() override { note("rejected"); }
  void onServerStart(const std::string& name) override { note("host vs " + name); }
  void onClientStart(const std::string& name) override { note("join vs " + name); }
  void onGameEndNotice(int code) override { note("end " + std::to_string(code)); }
  void onChatReceived(const std::string& text) override { note("chat " + text); }
  void onRemoteSelectedBoardElem(std::uint64_t elem) override {
    lastElem = elem;
    note("elem");
  }
  void onRemoteSelectedCard(int card) override { note("card " + std::to_string(card)); }
  void queueAnimateSpell(const AnimateSpellMsg& spell) override {
    lastSpell = spell;
    note("animate");
  }
  void onTurnBegin() override { note("turn"); }
  void onCardList(const std::vector<int>& cards) override { note("cards " + std::to_string(cards.size())); }
};

// The recorder hears the network's match messages and its lobby events alike.
void listen(Network& net, Recorder& rec) {
  net.setListener(&rec);
  net.setLobbyEvents(&rec);
}

class NetworkOnLobby : public ::testing::Test {
 protected:
  void SetUp() override {
    LobbyHostOptions options;
    options.bind = "127.0.0.1";
    options.port = 0;
    options.config.devCode = "123456";
    options.config.listDebounceMs = 5;
    ASSERT_TRUE(host.start(options));
  }

  // Runs the lobby and the clients until the condition holds (or 5 s pass).
  bool until(const std::function<bool()>& done, std::vector<Network*> nets) {
    auto limit = Clock::now() + std::chrono::seconds(5);
    while (Clock::now() < limit) {
      host.pump();
      for (Network* n : nets) n->update();
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
  }

  void join(Network& net, Recorder& rec, const std::string& name) {
    listen(net, rec);
    net.setLobbyEndpoint("127.0.0.1", host.port());
    net.init();
    net.connectToLobby();
    ASSERT_TRUE(until([&] { return rec.has("login?"); }, {&net}));
    net.sendLoginEmail(name + "@net.example");
    ASSERT_TRUE(until([&] { return rec.has("code?"); }, {&net}));
    net.sendLoginCode("123456");
    ASSERT_TRUE(until([&] { return rec.has("name?"); }, {&net}));
    net.sendPlayerName(name);
    ASSERT_TRUE(until([&] { return rec.has("accepted"); }, {&net}));
  }

  RecordingMailer mailer;
  LobbyHost host{mailer};
};

TEST_F(NetworkOnLobby, LoginChallengeMatchMessagesAndLeave) {
  Network a, b;
  Recorder ra, rb;
  join(a, ra, "Ash");
  EXPECT_EQ(ra.events[0], "connecting");
  EXPECT_EQ(ra.events[1], "connecting");
  EXPECT_EQ(ra.events[2], "connected");
  join(b, rb, "Beech");
  ASSERT_TRUE(until([&] { return a.players().size() == 2 && b.players().size() == 2; }, {&a, &b}));
  EXPECT_EQ(ra.lastNames, (std::vector<std::string>{"Ash", "Beech"}));
  EXPECT_EQ(ra.lastOnline, 2);
  EXPECT_TRUE(a.isLocalPlayer(0));
  EXPECT_FALSE(a.isLocalPlayer(1));
  EXPECT_TRUE(b.isLocalPlayer(1));
  EXPECT_FALSE(a.isLocalPlayer(-1));
  EXPECT_FALSE(a.isLocalPlayer(2));

  a.sendChallenge(2);  // outside the list: nothing goes out
  a.sendChallenge(1);
  ASSERT_TRUE(until([&] { return rb.has("challenged by Ash"); }, {&a, &b}));
  b.sendChallengeAnswer(1);
  ASSERT_TRUE(until([&] { return ra.has("host vs Beech") && rb.has("join vs Ash"); }, {&a, &b}));
  EXPECT_TRUE(a.isServer());
  EXPECT_FALSE(b.isServer());

  a.sendChat("50% off %d%s");
  AnimateSpellMsg spell;
  spell.caster = 1;
  spell.target = 2;
  spell.card = 9;
  spell.power = 3;
  spell.targets = {5, kNoObject};
  spell.reflected = 1;
  spell.active = 1;
  a.sendAnimateSpell(spell);
  a.sendCardList({4, 5, 6});
  a.sendTurnBegin();
  b.sendSelectedCard(12);
  b.sendSelectedBoardElem(kNoObject);
  ASSERT_TRUE(until([&] { return rb.has("turn") && ra.has("elem"); }, {&a, &b}));
  EXPECT_TRUE(rb.has("chat 50% off %d%s"));
  EXPECT_TRUE(rb.has("cards 3"));
  EXPECT_EQ(rb.lastSpell.targets, (std::vector<std::uint64_t>{5, kNoObject}));
  EXPECT_EQ(rb.lastSpell.card, 9);
  EXPECT_TRUE(ra.has("card 12"));
  EXPECT_EQ(ra.lastElem, kNoObject);

  a.sendGameResult(static_cast<int>(GameResult::Lost));
  ASSERT_TRUE(until([&] { return rb.has("end 0"); }, {&a, &b}));
  ra.events.clear();
  rb.events.clear();
  a.sendRematch();
  ASSERT_TRUE(until([&] { return ra.has("host vs Beech") && rb.has("join vs Ash"); }, {&a, &b}));
  b.sendLeaveGame();
  ASSERT_TRUE(until([&] { return ra.has("end 5"); }, {&a, &b}));
}

TEST(Network, UpdateBeforeInitDoesNothing) {
  Network n;
  Recorder r;
  listen(n, r);
  n.update();
  n.sendChat("nobody listens");
  EXPECT_FALSE(n.isLocalPlayer(0));
  EXPECT_TRUE(r.events.empty());
}

// MV_LOBBY_HOST: a host, or a host and a port; what cannot be read leaves the default.
TEST(Network, TheLobbyAddressIsAHostWithAnOptionalPort) {
  struct Case {
    const char* text;
    bool ok;
    const char* host;
    unsigned short port;
  };
  for (const Case& c : {Case{"", true, "127.0.0.1", 3333}, Case{"lobby.example.org", true, "lobby.example.org", 3333},
                        Case{"10.0.0.7:40123", true, "10.0.0.7", 40123}, Case{"10.0.0.7:", false, "127.0.0.1", 3333},
                        Case{"10.0.0.7:70000", false, "127.0.0.1", 3333}, Case{"host:12ab", false, "127.0.0.1", 3333},
                        Case{":4000", false, "127.0.0.1", 3333}, Case{"::1", false, "127.0.0.1", 3333}}) {
    SCOPED_TRACE(c.text);
    std::string host;
    unsigned short port = 0;
    EXPECT_EQ(Network::parseLobbyEndpoint(c.text, host, port), c.ok);
    EXPECT_EQ(host, c.host);
    EXPECT_EQ(port, c.port);
  }
}

// A connection attempt without a host name: what its listener heard.
std::vector<std::string> attemptWithoutHost() {
  Network n;
  Recorder r;
  listen(n, r);
  n.setLobbyEndpoint("", 3333);
  n.init();
  n.connectToLobby();
  return r.events;
}

TEST(Network, AnAttemptThatCannotStartFailsAtOnce) {
  EXPECT_EQ(attemptWithoutHost(), (std::vector<std::string>{"connecting", "failed"}));
}

// The lowest descriptor number free now: a limit at it leaves none to open.
rlim_t lowestFreeDescriptor() {
  const int probe = ::open("/dev/null", O_RDONLY);
  if (probe >= 0) ::close(probe);
  return static_cast<rlim_t>(probe < 0 ? 0 : probe);
}

TEST(Network, AStartThatFailsIsLoggedAndReportedAndNoAttemptFollows) {
  CapturedLog log;
  // The same calls once with descriptors to spare: the sanitizer's type checks of
  // them need a descriptor the first time, and none is left below.
  attemptWithoutHost();
  Network n;
  Recorder r;
  listen(n, r);
  n.setLobbyEndpoint("127.0.0.1", 3333);
  // No descriptor is left for the peer's socket.
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &old), 0);
  rlimit none = old;
  none.rlim_cur = lowestFreeDescriptor();
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &none), 0);
  const bool started = n.init();
  const bool active = n.started();
  n.connectToLobby();
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &old), 0);
  EXPECT_FALSE(started);
  EXPECT_FALSE(active);
  EXPECT_EQ(r.events, std::vector<std::string>{"failed"});
  EXPECT_EQ(log.count("the network could not start"), 2);
  // With descriptors again, the next start works.
  EXPECT_TRUE(n.init());
  EXPECT_TRUE(n.started());
}

// A scripted lobby: a bare peer that sends hand-made bytes.
class NetworkOnScript : public ::testing::Test {
 protected:
  void SetUp() override {
    server = RakNet::RakPeerInterface::GetInstance();
    RakNet::SocketDescriptor sd(0, "127.0.0.1");
    ASSERT_EQ(server->Startup(4, &sd, 1), RakNet::RAKNET_STARTED);
    server->SetMaximumIncomingConnections(4);
    listen(net, rec);
    net.setLobbyEndpoint("127.0.0.1", server->GetMyBoundAddress().GetPort());
    net.init();
    net.connectToLobby();
    // The first thing the client says is its protocol version.
    ASSERT_TRUE(serverAwait(ID_NEW_INCOMING_CONNECTION));
    first = serverNext();
  }
  void TearDown() override { RakNet::RakPeerInterface::DestroyInstance(server); }

  bool serverAwait(unsigned char id) {
    auto limit = Clock::now() + std::chrono::seconds(5);
    while (Clock::now() < limit) {
      net.update();
      while (RakNet::Packet* p = server->Receive()) {
        unsigned char got = p->data[0];
        client = p->guid;
        server->DeallocatePacket(p);
        if (got == id) return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
  }
  Bytes serverNext() {
    auto limit = Clock::now() + std::chrono::seconds(5);
    while (Clock::now() < limit) {
      net.update();
      if (RakNet::Packet* p = server->Receive()) {
        Bytes b(p->data, p->data + p->length);
        server->DeallocatePacket(p);
        return b;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return {};
  }
  void down(const Bytes& b) {
    server->Send(reinterpret_cast<const char*>(b.data()), static_cast<int>(b.size()), HIGH_PRIORITY,
                 RELIABLE_ORDERED, 0, client, false);
  }
  bool clientUntil(const std::function<bool()>& done) {
    auto limit = Clock::now() + std::chrono::seconds(5);
    while (Clock::now() < limit) {
      net.update();
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
  }

  RakNet::RakPeerInterface* server = nullptr;
  RakNet::RakNetGUID client;
  Network net;
  Recorder rec;
  Bytes first;
};

TEST_F(NetworkOnScript, FirstMessageIsTheProtocolVersion) {
  EXPECT_EQ(first, (Bytes{0xE7, 0, 0, 0, 9}));
  EXPECT_TRUE(rec.has("connected"));
  EXPECT_EQ(net.serverGuid(), server->GetMyGUID());
}

TEST_F(NetworkOnScript, OddAndBrokenMessagesAreHandledInOrder) {
  // A list of one, replaced whole by what follows.
  down({ID_PLAYER_LIST, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 5, 0, 5, 's', 't', 'a', 'l', 'e'});
  ASSERT_TRUE(clientUntil([&] { return rec.has("list 1"); }));
  ASSERT_EQ(net.players().size(), 1u);
  EXPECT_EQ(net.players()[0].name, "stale");
  rec.events.clear();
  down({ID_PLAYER_LIST, 0, 0, 0, 3, 0xFF, 0xFF, 0xFF, 0xFF});  // n = -1: an empty list
  down({ID_START_GAME, 0, 0, 0, 2, 0, 0});                      // role 2: ignored
  down({ID_SELECTED_BOARD_ELEM, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
  down({ID_CARDLIST, 0, 0, 0, 9, 0, 0, 0, 1});                  // count beyond the bytes
  down({ID_CHALLENGE_ANSWER, 0, 0, 0, 1});                      // still a rejection
  down({0x8F});
  down({ID_SELECTED_CARD, 0, 0});                               // truncated
  down({ID_TURN_BEGIN});
  ASSERT_TRUE(clientUntil([&] { return rec.has("turn"); }));
  EXPECT_EQ(rec.events, (std::vector<std::string>{"list 0", "elem", "rejected", "turn"}));
  EXPECT_TRUE(net.players().empty());
  EXPECT_EQ(rec.lastOnline, 3);
  EXPECT_EQ(rec.lastElem, kNoObject);
  EXPECT_FALSE(net.isServer());
}

TEST_F(NetworkOnScript, AServerCloseIsALostLobbyButOurOwnCloseIsNot) {
  server->CloseConnection(client, true);
  ASSERT_TRUE(clientUntil([&] { return rec.has("lost"); }));

  Network other;
  Recorder r2;
  listen(other, r2);
  other.setLobbyEndpoint("127.0.0.1", server->GetMyBoundAddress().GetPort());
  other.init();
  other.connectToLobby();
  auto limit = Clock::now() + std::chrono::seconds(5);
  while (!r2.has("connected") && Clock::now() < limit) {
    other.update();
    while (RakNet::Packet* p = server->Receive()) server->DeallocatePacket(p);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_TRUE(r2.has("connected"));
  other.disconnectFromLobby();
  for (int i = 0; i < 100; ++i) {
    other.update();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_FALSE(r2.has("lost"));
}

// A server that refuses the attempt, at the connect request or after our Hello:
// whatever the reason, the attempt ends; a server of another greeting version (an
// older lobby) is told to the player as any lobby of another version is. Once
// welcomed, a close for any reason but our own is a lost connection (a connection
// the same GUID took the place of, too).
TEST(Network, EveryRefusalEndsTheAttemptAndAnotherVersionSaysSo) {
  enum When { kAtConnect, kAfterHello, kAfterWelcome };
  struct Case {
    When when;
    enet_uint32 reason;
    std::vector<std::string> expected;
  } cases[] = {
      {kAtConnect, 3, {"error 0"}},   // it does not speak our greeting
      {kAfterHello, 3, {"error 0"}},  // nor our Hello
      {kAfterHello, 5, {"failed"}},   // our GUID is held by another
      {kAtConnect, 2, {"failed"}},    // full
      {kAtConnect, 4, {"failed"}},    // banned (older servers)
      {kAtConnect, 6, {"failed"}},    // our address opened too many connections
      {kAfterHello, 7, {"failed"}},   // a newer connection of ours took the GUID
      {kAfterWelcome, 7, {"connected", "lost"}},
      {kAfterWelcome, 6, {"connected", "lost"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.reason) + " when " + std::to_string(c.when));
    ENetAddress any;
    enet_address_set_host_ip(&any, "127.0.0.1");
    any.port = 0;
    ENetHost* server = enet_host_create(&any, 2, 1, 0, 0);
    ASSERT_NE(server, nullptr);
    Network n;
    Recorder r;
    listen(n, r);
    n.setLobbyEndpoint("127.0.0.1", server->address.port);
    n.init();
    n.connectToLobby();
    std::vector<std::string> expected = {"connecting", "connecting"};
    expected.insert(expected.end(), c.expected.begin(), c.expected.end());
    for (auto limit = Clock::now() + std::chrono::seconds(5); r.events.size() < expected.size() && Clock::now() < limit;) {
      ENetEvent e;
      while (enet_host_service(server, &e, 1) > 0) {
        if (e.type == ENET_EVENT_TYPE_CONNECT && c.when == kAtConnect) enet_peer_disconnect(e.peer, c.reason);
        if (e.type != ENET_EVENT_TYPE_RECEIVE) continue;
        const bool hello = e.packet->dataLength > 0 && e.packet->data[0] == ID_INTERNAL_HANDSHAKE;
        enet_packet_destroy(e.packet);
        if (hello && c.when == kAfterWelcome) {
          RakNet::handshake::Greeting welcome;
          welcome.kind = RakNet::handshake::Kind::Welcome;
          welcome.guid = 0x5EED;
          const Bytes b = RakNet::handshake::encode(welcome);
          enet_peer_send(e.peer, 0, enet_packet_create(b.data(), b.size(), ENET_PACKET_FLAG_RELIABLE));
        } else {
          enet_peer_disconnect(e.peer, c.reason);
        }
      }
      n.update();
    }
    EXPECT_EQ(r.events, expected);
    enet_host_destroy(server);
  }
}

// The lobby's Welcome is lost on the way: the game gives up on the attempt while the
// lobby holds its GUID. The player enters the lobby again at once, and gets in
// (it used to be refused for its GUID, and the game waited for good).
TEST_F(NetworkOnLobby, AGameWhoseWelcomeWasLostGetsInAtTheNextAttempt) {
  LossyProxy link(host.port());
  link.serverDatagramsToPass = 1;  // the transport's answer to the connect; not the Welcome
  Network net;
  Recorder rec;
  listen(net, rec);
  net.setLobbyEndpoint("127.0.0.1", link.port());
  net.init();
  net.connectToLobby();
  for (auto limit = Clock::now() + std::chrono::seconds(15); !rec.has("failed") && Clock::now() < limit;) {
    link.pump();
    host.pump();
    net.update();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_TRUE(rec.has("failed"));
  net.setLobbyEndpoint("127.0.0.1", host.port());
  net.connectToLobby();
  EXPECT_TRUE(until([&] { return rec.has("login?"); }, {&net}));
  EXPECT_TRUE(rec.has("connected"));
}

// A game of the greeting before ours (as released, it cannot change) reaches our
// lobby: it is welcomed in its own layout and told its version is wrong, as the game
// then shows the player, where it used to be refused in the greeting.
TEST_F(NetworkOnLobby, AGameOfAnOlderGreetingIsToldItsVersionIsWrong) {
  for (std::uint32_t version = RakNet::handshake::kOldestVersion; version < RakNet::handshake::kVersion; ++version) {
    SCOPED_TRACE(version);
    ENetHost* old = enet_host_create(nullptr, 1, 1, 0, 0);
    ASSERT_NE(old, nullptr);
    ENetAddress lobby;
    enet_address_set_host_ip(&lobby, "127.0.0.1");
    lobby.port = host.port();
    const enet_uint32 data = RakNet::handshake::connectData() ^ RakNet::handshake::kVersion ^ version;
    ENetPeer* toLobby = enet_host_connect(old, &lobby, 1, data);
    std::vector<Bytes> got;
    bool closed = false;
    for (auto limit = Clock::now() + std::chrono::seconds(5); !closed && Clock::now() < limit;) {
      host.pump();
      ENetEvent e;
      while (enet_host_service(old, &e, 1) > 0) {
        if (e.type == ENET_EVENT_TYPE_CONNECT) {
          RakNet::handshake::Greeting hello;
          hello.guid = 0x5EED5EED;
          const Bytes b = RakNet::handshake::encode(hello, version);
          enet_peer_send(toLobby, 0, enet_packet_create(b.data(), b.size(), ENET_PACKET_FLAG_RELIABLE));
        } else if (e.type == ENET_EVENT_TYPE_RECEIVE) {
          got.emplace_back(e.packet->data, e.packet->data + e.packet->dataLength);
          enet_packet_destroy(e.packet);
          if (got.size() == 1) {  // welcomed: the game says its protocol version
            const Bytes v{0xE7, 0, 0, 0, 9};
            enet_peer_send(toLobby, 0, enet_packet_create(v.data(), v.size(), ENET_PACKET_FLAG_RELIABLE));
          }
        } else if (e.type == ENET_EVENT_TYPE_DISCONNECT) {
          closed = true;
        }
      }
    }
    ASSERT_EQ(got.size(), 2u);
    RakNet::handshake::Greeting welcome;
    EXPECT_TRUE(RakNet::handshake::decode(got[0].data(), got[0].size(), welcome, nullptr, version));
    EXPECT_EQ(welcome.kind, RakNet::handshake::Kind::Welcome);
    EXPECT_EQ(welcome.compression, RakNet::handshake::Compression::None);
    EXPECT_EQ(got[1], (Bytes{ID_LOBBY_ERROR, 0, 0, 0, 0}));
    EXPECT_TRUE(closed);
    enet_host_destroy(old);
  }
}

// Whatever answers at the lobby's address grants deflate and sends frames of a few
// kB that inflate to 3 MB each. The game used to inflate every one and hand it on;
// now the first passes the game's largest message and the connection is closed.
TEST(Network, ALobbySendingCompressionBombsIsCutOff) {
  BombingLobby lobby(3 * 1024 * 1024, 40);
  Network n;
  NetworkListener quiet;
  n.setListener(&quiet);
  n.setLobbyEndpoint("127.0.0.1", lobby.port());
  n.init();
  n.connectToLobby();
  const BombingLobby::Outcome o = lobby.bomb(*n.peer(), 10000);
  EXPECT_TRUE(o.cut);
  EXPECT_EQ(o.handedOn, 0);
}

TEST(Network, AFullLobbyEndsTheAttempt) {
  RakNet::RakPeerInterface* server = RakNet::RakPeerInterface::GetInstance();
  RakNet::SocketDescriptor sd(0, "127.0.0.1");
  ASSERT_EQ(server->Startup(4, &sd, 1), RakNet::RAKNET_STARTED);  // accepts nobody
  Network n;
  Recorder r;
  listen(n, r);
  n.setLobbyEndpoint("127.0.0.1", server->GetMyBoundAddress().GetPort());
  n.init();
  n.connectToLobby();
  auto limit = Clock::now() + std::chrono::seconds(5);
  while (!r.has("failed") && Clock::now() < limit) {
    n.update();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_TRUE(r.has("failed"));
  RakNet::RakPeerInterface::DestroyInstance(server);
}

}  // namespace
