// Attacks on a lobby host over loopback by clients written from the wire format
// alone (raw ENet): each one's way in is closed, and the other players carry on.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "AttackFixture.h"
#include "CapturedLog.h"

using namespace protocol;

namespace {

enum PeerRefusal : enet_uint32 { kIncompatible = 3, kGuidInUse = 5 };

LoginMsg remembered(const std::string& email, const std::string& code) {
  LoginMsg m;
  m.email = email;
  m.code = code;
  return m;
}

ProtocolVersionMsg version() {
  ProtocolVersionMsg v;
  v.value = kProtocolVersion;
  return v;
}

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A folder removed with the test.
struct TempDir {
  std::string path;
  TempDir() {
    char t[] = "/tmp/mv_attack_XXXXXX";
    if (mkdtemp(t)) path = t;
  }
  ~TempDir() {
    if (!path.empty() && std::system(("rm -rf '" + path + "'").c_str()) != 0) {
    }
  }
};

// The player list names every player by GUID. Greeting with a listed GUID used to
// replace that player's connection; now it is refused, and so are GUIDs that name
// no peer. The player keeps its place and can still be challenged.
TEST(LobbyAttack, AGuidInUseOrNamingNoPeerIsRefusedAndItsOwnerStays) {
  ServerThread server;
  ASSERT_TRUE(server.start(ServerThread::options()));
  RawClient victim, other;
  ASSERT_TRUE(victim.login(server.port(), "Victim"));
  ASSERT_TRUE(other.login(server.port(), "Other"));

  for (std::uint64_t claimed : {victim.guid(), std::uint64_t{0}, ~std::uint64_t{0}}) {
    RawClient spoof;
    EXPECT_FALSE(spoof.connectAs(server.port(), claimed, 3000)) << claimed;
    EXPECT_TRUE(spoof.awaitClosed(3000)) << claimed;
    EXPECT_EQ(spoof.closeReason(), claimed == victim.guid() ? kGuidInUse : kIncompatible) << claimed;
  }
  EXPECT_TRUE(roundTrip(victim));
  EXPECT_FALSE(victim.closed());
  ChallengeMsg ch;
  ch.guid = victim.guid();
  other.send(ch);
  EXPECT_FALSE(victim.await(ID_CHALLENGE).empty());
}

// A client granted compression sends two packets of some 4 kB that inflate to 3 MB
// each. The server used to inflate them whole (and hold them for the application):
// now inflating stops at the game's largest message and the client is cut off,
// and so is one that inflates messages within that bound beyond its byte budget.
TEST(LobbyAttack, ACompressionBombStopsAtTheLargestMessageAndTheBudget) {
  ServerThread server;
  LobbyHostOptions o = ServerThread::options();
  o.limits.byteBurst = o.limits.bytesPerSecond = 1024 * 1024;
  ASSERT_TRUE(server.start(o));
  struct Case {
    std::size_t inflated;
    int count;
  } cases[] = {{3 * 1024 * 1024, 2}, {200 * 1024, 8}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.inflated);
    CapturedLog log;
    RawClient bomber;
    bomber.askCompression();
    ASSERT_TRUE(bomber.connect(server.port()));
    ASSERT_TRUE(bomber.compressed());
    for (const Bytes& packet : compressionBomb(c.inflated, c.count)) bomber.sendWire(packet);
    EXPECT_TRUE(bomber.awaitClosed(5000));
    EXPECT_EQ(bomber.closeReason(), 6u);  // over a limit
    EXPECT_TRUE(log.has(c.count == 2 ? "a message longer than allowed" : "bytes a second"));
  }
  RawClient player;
  player.askCompression();
  EXPECT_TRUE(player.login(server.port(), "Player"));
}

// A logged-in client sends 15,000 messages at once, over four times what a match sends
// in its busiest second, plainly or through its deflate stream (where each takes
// some three bytes). It used to be let through (the burst allowed 20,000), holding
// everyone else's messages up for up to a second; now it is cut off.
TEST(LobbyAttack, AFloodBeyondWhatAMatchSendsIsCutOffPlainOrCompressed) {
  ServerThread server;
  ASSERT_TRUE(server.start(ServerThread::options()));
  for (bool compressed : {false, true}) {
    SCOPED_TRACE(compressed ? "compressed" : "plain");
    RawClient flooder;
    if (compressed) flooder.askCompression();
    ASSERT_TRUE(flooder.login(server.port(), compressed ? "Deflood" : "Flood"));
    ASSERT_EQ(flooder.compressed(), compressed);
    flooder.flood(Bytes{0x8F}, 15000);
    EXPECT_TRUE(flooder.awaitClosed(10000));
    EXPECT_EQ(flooder.closeReason(), 6u);  // over a limit
  }
}

// Clients that send the version and then nothing used to keep their slots for a
// quarter of an hour; later four of them shut every other login of their address
// out. One address now holds only a few unfinished logins, a newcomer taking the
// place of the one that waited longest: a player behind the same address, and one
// from elsewhere, still get in. No clock closes the others.
TEST(LobbyAttack, SilentClientsOfOneAddressCannotTakeTheSlots) {
  LobbyHostOptions o = ServerThread::options();
  o.maxClients = 8;
  o.config.maxUnfinishedPerAddress = 4;
  o.config.maxUnfinished = 8;
  ServerThread server;
  ASSERT_TRUE(server.start(o));
  std::vector<std::unique_ptr<RawClient>> silent;
  int prompted = 0;
  for (int i = 0; i < 9; ++i) {
    silent.push_back(std::make_unique<RawClient>());
    RawClient& c = *silent.back();
    if (!c.connect(server.port(), 3000)) continue;
    c.send(version());
    prompted += !c.await({ID_LOGIN_EMAIL}, 3000).empty();
    for (auto& earlier : silent) earlier->service(0);  // a closed one lets its slot go
  }
  EXPECT_EQ(prompted, 9);
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(silent[i]->awaitClosed(3000)) << i;

  RawClient neighbour;
  EXPECT_TRUE(neighbour.login(server.port(), "Neighbour"));
  EXPECT_TRUE(silent[5]->awaitClosed(3000));
  RawClient player("127.0.0.2");
  EXPECT_TRUE(player.login(server.port(), "Elsewhere"));
  for (int i = 6; i < 9; ++i) EXPECT_FALSE(silent[i]->awaitClosed(i == 6 ? 1000 : 0)) << i;
  EXPECT_FALSE(player.closed());
  EXPECT_FALSE(neighbour.closed());
}

// Wrong codes sent for a victim's address used to lock the account; later they shut
// out their whole address, the players behind the same router with it. They now shut
// out that account from that address alone: the victim's right code holds from
// elsewhere, and a neighbour of the attacker logs in, by mail and by remembered code.
TEST(LobbyAttack, FailedLoginsShutOutTheAccountFromTheirSourceAlone) {
  LobbyHostOptions o = ServerThread::options();
  ServerThread server;
  ASSERT_TRUE(server.start(o));
  {
    RawClient first("127.0.0.2");
    ASSERT_TRUE(first.login(server.port(), "Victim"));
  }
  const std::string email = RawClient::emailOf("Victim");
  int failures = 0, connections = 0;
  while (failures < o.config.maxFailuresPerAddress && connections < 10) {
    RawClient attacker;
    if (!attacker.connect(server.port(), 3000)) break;
    ++connections;
    attacker.send(version());
    attacker.await(ID_LOGIN_EMAIL);
    for (int i = 0; i < o.config.maxFailuresPerConnection; ++i) {
      attacker.send(remembered(email, std::to_string(100000 + failures)));
      if (attacker.await(ID_LOBBY_ERROR, 3000).empty()) break;
      ++failures;
    }
    EXPECT_TRUE(attacker.awaitClosed(3000));
  }
  EXPECT_EQ(failures, o.config.maxFailuresPerAddress);
  EXPECT_EQ(connections, o.config.maxFailuresPerAddress / o.config.maxFailuresPerConnection);
  auto rememberedFrom = [&](const char* address, const std::string& who) {
    RawClient c(address);
    if (!c.connect(server.port(), 3000)) return Bytes{};
    c.send(version());
    c.await(ID_LOGIN_EMAIL);
    c.send(remembered(who, "123456"));
    return c.await({ID_LOGIN, ID_LOBBY_ERROR});
  };
  EXPECT_EQ(rememberedFrom("127.0.0.1", email), (Bytes{ID_LOBBY_ERROR, 0, 0, 0, kErrorEmailRequired}));
  {
    RawClient neighbour;
    EXPECT_TRUE(neighbour.login(server.port(), "Neighbour"));
  }
  EXPECT_EQ(rememberedFrom("127.0.0.1", RawClient::emailOf("Neighbour")), Bytes{ID_LOGIN});
  EXPECT_EQ(rememberedFrom("127.0.0.2", email), Bytes{ID_LOGIN});
}

// Five hundred challenges from one client used to make five hundred prompts, and an
// open challenge refused every other challenger. The target is now asked once per
// challenger, the others wait their turn, and challenges are rate-limited.
TEST(LobbyAttack, ChallengeSpamPromptsOnceAndOthersWaitTheirTurn) {
  LobbyHostOptions o = ServerThread::options();
  ServerThread server;
  ASSERT_TRUE(server.start(o));
  RawClient spammer, target, other;
  ASSERT_TRUE(spammer.login(server.port(), "Spammer"));
  ASSERT_TRUE(target.login(server.port(), "Target"));
  ASSERT_TRUE(other.login(server.port(), "Other"));
  ChallengeMsg toTarget, toOther;
  toTarget.guid = target.guid();
  toOther.guid = other.guid();
  RakNet::BitStream bs = encode(toTarget);
  spammer.flood(Bytes(bs.GetData(), bs.GetData() + bs.GetNumberOfBytesUsed()), 500);
  ASSERT_TRUE(roundTrip(spammer));
  ASSERT_TRUE(roundTrip(target));
  EXPECT_EQ(target.count(ID_CHALLENGE), 1);

  // Another challenger waits rather than being refused, and is next.
  other.send(toTarget);
  ASSERT_TRUE(roundTrip(other));
  EXPECT_EQ(other.count(ID_CHALLENGE_ANSWER), 1);  // the round trip's own
  ChallengeAnswerMsg no;
  no.value = 0;
  target.send(no);
  ASSERT_TRUE(spammer.awaitCount(ID_CHALLENGE_ANSWER, 2));  // the round trip's, then the refusal
  ASSERT_TRUE(target.awaitCount(ID_CHALLENGE, 2));
  Bytes next = target.last(ID_CHALLENGE);
  ChallengeReceivedMsg named;
  ASSERT_TRUE(decode(next.data(), next.size(), named));
  EXPECT_EQ(named.text, "Other");

  // Switching targets to prompt each again and again runs into the rate limit.
  for (int i = 0; i < 20; ++i) spammer.send(i % 2 ? toTarget : toOther);
  EXPECT_TRUE(spammer.awaitCount(ID_CHALLENGE_ANSWER, 3));
  ASSERT_TRUE(roundTrip(target));
  ASSERT_TRUE(roundTrip(other));
  EXPECT_EQ(target.count(ID_CHALLENGE), 2);
  EXPECT_LE(other.count(ID_CHALLENGE), o.config.maxChallenges);
}

// When the account file cannot be written the login used to be accepted all the
// same, and lost at the next start. Now it is refused with an error the game knows,
// and the server says why.
TEST(LobbyAttack, ALoginTheAccountFileCannotRecordIsRefused) {
  TempDir dir;
  LobbyHostOptions o = ServerThread::options();
  o.accountsPath = dir.path + "/accounts.db";
  CapturedLog log;
  ServerThread server;
  ASSERT_TRUE(server.start(o));
  AccountStore blocker(o.accountsPath);  // holds the database's one write lock
  ASSERT_TRUE(blocker.load());
  ASSERT_TRUE(blocker.begin());
  RawClient c;
  EXPECT_EQ(c.typeCode(server.port(), "disk@full.example", "123456"),
            (Bytes{ID_LOBBY_ERROR, 0, 0, 0, kErrorEmailRequired}));
  server.stop();
  EXPECT_TRUE(log.has("account database could not be written"));
}

// Names: only well-formed UTF-8 without control or format characters.
TEST(LobbyAttack, NamesThatAreNotCleanTextAreAskedForAgain) {
  ServerThread server;
  ASSERT_TRUE(server.start(ServerThread::options()));
  RawClient c;
  ASSERT_EQ(c.typeCode(server.port(), "names@attack.example", "123456"), Bytes{ID_PLAYER_NAME});
  const std::vector<std::string> unclean = {
      "Sur\xED\xA0\x80gate",      // a UTF-16 surrogate
      "Over\xE0\x80\xAFlong",     // overlong 3 bytes
      "Over\xF0\x80\x80\xAFlong", // overlong 4 bytes
      "Big\xF4\x90\x80\x80",      // above U+10FFFF
      "Lead\xF7\xBF\xBF\xBF",     // lead byte F7
      "Next\xC2\x85Line",         // C1 control U+0085
      "Right\xE2\x80\xAEtoleft",  // direction override U+202E
      "Zero\xE2\x80\x8Bwidth",    // U+200B
      "Tab\there",
  };
  for (const std::string& bad : unclean) {
    PlayerNameMsg n;
    n.text = bad;
    c.send(n);
    EXPECT_EQ(c.await({ID_PLAYER_NAME, ID_LOGIN}), Bytes{ID_PLAYER_NAME}) << bad;
  }
  PlayerNameMsg good;
  good.text = "Zo\xC3\xAB \xE6\x9D\xBE";  // "Zoë 松"
  c.send(good);
  EXPECT_EQ(c.await({ID_PLAYER_NAME, ID_LOGIN}), Bytes{ID_LOGIN});
}

// Codes used to sit in clear text in a file anyone could read. Now they are salted
// hashes in a database for the server alone; an older file is imported, every code
// in it (one holding a NUL byte too) keeps working, and its backup holds hashes.
TEST(LobbyAttack, CodesOnDiskAreHashedAndReadableByTheServerAlone) {
  TempDir dir;
  LobbyHostOptions o = ServerThread::options();
  o.accountsPath = dir.path + "/accounts.db";
  o.importPath = dir.path + "/accounts.txt";
  const std::string nulCode("12\0" "34", 5);
  {
    std::ofstream old(o.importPath, std::ios::binary);
    old << "old@x.example\t654321\tOldie\n" << "nul@x.example\t" << nulCode << "\tNully\n";
  }
  chmod(o.importPath.c_str(), 0644);
  auto mode = [&](const std::string& path) {
    struct stat st {};
    stat(path.c_str(), &st);
    return st.st_mode & 0777;
  };
  auto logsIn = [](unsigned short port, const std::string& email, const std::string& code) {
    RawClient c("127.0.0.3");
    if (!c.connect(port)) return false;
    c.send(version());
    c.await(ID_LOGIN_EMAIL);
    c.send(remembered(email, code));
    return c.await({ID_LOGIN, ID_LOBBY_ERROR}) == Bytes{ID_LOGIN};
  };
  {
    ServerThread server;
    ASSERT_TRUE(server.start(o));
    EXPECT_EQ(mode(o.accountsPath), 0600u);
    EXPECT_TRUE(logsIn(server.port(), "old@x.example", "654321"));
    RawClient newcomer;
    ASSERT_TRUE(newcomer.login(server.port(), "Newcomer"));
  }
  for (const std::string& file : {o.accountsPath, o.accountsPath + "-wal", o.importPath + ".imported"}) {
    const std::string saved = slurp(file);
    EXPECT_EQ(saved.find("654321"), std::string::npos) << file;
    EXPECT_EQ(saved.find("123456"), std::string::npos) << file;
    EXPECT_EQ(saved.find(nulCode), std::string::npos) << file;
    if (access(file.c_str(), F_OK) == 0) {
      EXPECT_EQ(mode(file), 0600u) << file;
    }
  }
  EXPECT_NE((slurp(o.accountsPath) + slurp(o.accountsPath + "-wal")).find("$argon2id$"), std::string::npos);
  EXPECT_NE(slurp(o.importPath + ".imported").find("$argon2id$"), std::string::npos);
  EXPECT_NE(access(o.importPath.c_str(), F_OK), 0);

  ServerThread restarted;
  ASSERT_TRUE(restarted.start(o));
  EXPECT_TRUE(logsIn(restarted.port(), "old@x.example", "654321"));
  EXPECT_TRUE(logsIn(restarted.port(), "nul@x.example", nulCode));
  EXPECT_FALSE(logsIn(restarted.port(), "nul@x.example", "12"));
  EXPECT_TRUE(logsIn(restarted.port(), RawClient::emailOf("Newcomer"), "123456"));
}

// Chat over the cap used to vanish without a word; the sender now hears of it.
TEST(LobbyAttack, TheSenderOfAnOverlongChatLineIsTold) {
  LobbyHostOptions o = ServerThread::options();
  ServerThread server;
  ASSERT_TRUE(server.start(o));
  RawClient host, join;
  ASSERT_TRUE(host.login(server.port(), "Host"));
  ASSERT_TRUE(join.login(server.port(), "Join"));
  ASSERT_TRUE(startMatch(host, join));
  ChatMsg tooLong, longest;
  tooLong.text = std::string(o.config.maxChatBytes + 1, 'x');
  longest.text = std::string(o.config.maxChatBytes, 'y');
  host.send(tooLong);
  host.send(longest);
  Bytes notice = host.await(ID_CHAT);
  ChatMsg told;
  ASSERT_TRUE(decode(notice.data(), notice.size(), told));
  EXPECT_EQ(told.text.rfind("(lobby)", 0), 0u) << told.text;
  EXPECT_NE(told.text.find(std::to_string(o.config.maxChatBytes)), std::string::npos);
  Bytes relayed = join.await(ID_CHAT);
  ChatMsg got;
  ASSERT_TRUE(decode(relayed.data(), relayed.size(), got));
  EXPECT_EQ(got.text, longest.text);
  EXPECT_EQ(join.count(ID_CHAT), 1);
}

}  // namespace

namespace {

// More clients than one peer holds take several peers on one port: players on any
// of them play together, and a GUID in use stays its owner's through every peer.
TEST(LobbyAttack, ALobbyBeyondOnePeerSharesItsPortAndItsGuids) {
  LobbyHostOptions o = ServerThread::options();
  o.maxClients = LobbyHost::kClientsPerPeer + 1;
  ServerThread server;
  ASSERT_TRUE(server.start(o));
  std::vector<std::unique_ptr<RawClient>> players;
  for (int i = 0; i < 12; ++i) {
    const std::string address = "127.0.5." + std::to_string(i + 1);
    players.push_back(std::make_unique<RawClient>(address.c_str()));
    ASSERT_TRUE(players.back()->login(server.port(), "Spread" + std::to_string(i))) << i;
  }
  for (int i = 0; i + 1 < 12; i += 2) {
    ASSERT_TRUE(startMatch(*players[i], *players[i + 1])) << i;
    ChatMsg hello;
    hello.text = "hello " + std::to_string(i);
    players[i]->send(hello);
    EXPECT_FALSE(players[i + 1]->await(ID_CHAT).empty()) << i;
  }
  for (int i = 0; i < 12; ++i) {
    const std::string address = "127.0.6." + std::to_string(i + 1);
    RawClient spoof(address.c_str());
    EXPECT_FALSE(spoof.connectAs(server.port(), players[0]->guid(), 2000)) << i;
    EXPECT_TRUE(spoof.awaitClosed(2000)) << i;
    EXPECT_EQ(spoof.closeReason(), kGuidInUse) << i;
  }
  ChatMsg still;
  still.text = "still here";
  players[1]->send(still);
  EXPECT_EQ(players[0]->await(ID_CHAT).size(), 3 + still.text.size());
  // The player itself, back on new sockets (through whichever peer the system picks),
  // shows its secret and takes its GUID back each time.
  std::vector<std::unique_ptr<RawClient>> returns;
  for (int i = 0; i < 8; ++i) {
    const std::string address = "127.0.7." + std::to_string(i + 1);
    returns.push_back(std::make_unique<RawClient>(address.c_str()));
    returns.back()->showProof(players[0]->proof());
    EXPECT_TRUE(returns.back()->connectAs(server.port(), players[0]->guid(), 2000)) << i;
    EXPECT_FALSE(returns.back()->awaitClosed(300)) << i;
  }
}

}  // namespace
