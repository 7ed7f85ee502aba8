#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "CapturedLog.h"
#include "LobbyFixture.h"

using namespace protocol;

namespace {

using LobbyLogin = LobbyFixture;

ProtocolVersionMsg version(int v) {
  ProtocolVersionMsg m;
  m.value = v;
  return m;
}
LoginEmailMsg email(const std::string& text) {
  LoginEmailMsg m;
  m.text = text;
  return m;
}
LoginCodeMsg code(const std::string& text) {
  LoginCodeMsg m;
  m.text = text;
  return m;
}
PlayerNameMsg name(const std::string& text) {
  PlayerNameMsg m;
  m.text = text;
  return m;
}
LoginMsg remembered(const std::string& e, const std::string& c) {
  LoginMsg m;
  m.email = e;
  m.code = c;
  return m;
}

TEST_F(LobbyLogin, WrongProtocolVersionGetsErrorZeroAndIsClosed) {
  connect(1);
  up(1, version(8));
  EXPECT_EQ(only<LobbyErrorMsg>(1).error, kErrorInvalidProtocol);
  EXPECT_TRUE(transport.closed.count(1));
  EXPECT_EQ(server->clientCount(), 0u);
}

// A client that does not open with a well-formed version 9 speaks another protocol:
// it is told so (and closed) rather than left waiting for a login prompt.
TEST_F(LobbyLogin, AnythingButTheVersionFirstIsAnInvalidProtocol) {
  const std::vector<Bytes> openings = {
      Bytes{ID_LOGIN_EMAIL, 0, 1, 'a'},
      Bytes{ID_QUICKMATCH},
      Bytes{ID_PROTOCOL_VERSION, 0, 0},           // truncated version
      Bytes{ID_PROTOCOL_VERSION, 0, 0, 0, 9, 0},  // version with a trailing byte
  };
  std::uint64_t c = 1;
  for (const Bytes& first : openings) {
    connect(c);
    raw(c, first);
    EXPECT_EQ(only<LobbyErrorMsg>(c).error, kErrorInvalidProtocol) << first.size();
    EXPECT_TRUE(transport.closed.count(c));
    ++c;
  }
  EXPECT_EQ(server->clientCount(), 0u);
  connect(c);
  up(c, version(9));
  EXPECT_EQ(ids(c), std::vector<int>{ID_LOGIN_EMAIL});
}

TEST_F(LobbyLogin, NewAddressGetsAMailedCodeThenChoosesAName) {
  connect(1);
  up(1, version(9));
  take(1);
  up(1, email("  New.Player@Example.org "));
  EXPECT_EQ(ids(1), std::vector<int>{ID_LOGIN_CODE});
  ASSERT_EQ(mailer.codes.size(), 1u);
  EXPECT_EQ(mailer.codes[0].first, "new.player@example.org");
  EXPECT_EQ(mailer.codes[0].second, nextCode);

  up(1, code("000000"));
  EXPECT_EQ(only<LobbyErrorMsg>(1).error, kErrorInvalidCode);
  up(1, code(nextCode));
  EXPECT_EQ(ids(1), std::vector<int>{ID_PLAYER_NAME});
  up(1, name(" Rowan "));
  EXPECT_EQ(ids(1), std::vector<int>{ID_LOGIN});
  std::optional<Account> a = accounts.find("new.player@example.org");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->name, "Rowan");
  EXPECT_TRUE(accounts.checkCode("new.player@example.org", nextCode));
  ASSERT_EQ(a->codes.size(), 1u);
  EXPECT_TRUE(AccountStore::isHash(a->codes[0]));
  EXPECT_EQ(server->loggedInCount(), 1u);
}

TEST_F(LobbyLogin, RememberedCredentialsLogInAtOnceOrGetErrorThree) {
  addAccount("kim@x.example", "111111", "Kim");
  connect(1);
  up(1, version(9));
  take(1);
  up(1, remembered("kim@x.example", "111112"));
  EXPECT_EQ(only<LobbyErrorMsg>(1).error, kErrorEmailRequired);
  up(1, remembered("nobody@x.example", "111111"));
  EXPECT_EQ(only<LobbyErrorMsg>(1).error, kErrorEmailRequired);
  up(1, remembered("KIM@x.example", "111111"));
  EXPECT_EQ(ids(1), std::vector<int>{ID_LOGIN});

  // An account without a name is asked for one.
  addAccount("nameless@x.example", "222222", "");
  connect(2);
  up(2, version(9));
  take(2);
  up(2, remembered("nameless@x.example", "222222"));
  EXPECT_EQ(ids(2), std::vector<int>{ID_PLAYER_NAME});
}

// The server keeps codes only as hashes, so a known address is mailed a new code;
// the device that logged in with the old one keeps it.
TEST_F(LobbyLogin, KnownAddressIsMailedANewCodeAndOtherDevicesKeepTheirs) {
  addAccount("kim@x.example", "111111", "Kim");
  connect(1);
  up(1, version(9));
  up(1, email("kim@x.example"));
  ASSERT_EQ(mailer.codes.size(), 1u);
  EXPECT_EQ(mailer.codes[0].second, nextCode);
  take(1);
  up(1, code(nextCode));
  EXPECT_EQ(ids(1), std::vector<int>{ID_LOGIN});
  for (const char* device : {"111111", "424242"}) {
    connect(2);
    up(2, version(9));
    take(2);
    up(2, remembered("kim@x.example", device));
    EXPECT_EQ(ids(2), std::vector<int>{ID_LOGIN}) << device;
    disconnect(2);
  }
}

TEST_F(LobbyLogin, BadInputAndLimitsAreRefused) {
  connect(1);
  up(1, version(9));
  take(1);
  for (const char* bad : {"", "no-at-sign", "@x.example", "a@b", "a b@c.example", "a@b..example", "a@@b.example"}) {
    up(1, email(bad));
    EXPECT_EQ(only<LobbyErrorMsg>(1).error, kErrorInvalidEmail) << bad;
  }
  // A code with no mailed code outstanding.
  up(1, code("424242"));
  EXPECT_EQ(only<LobbyErrorMsg>(1).error, kErrorEmailRequired);

  // Wrong codes: error 1 until the attempts are used up, then the code is void.
  up(1, email("p@q.example"));
  take(1);
  for (int i = 1; i < config.maxCodeAttempts; ++i) {
    up(1, code("999999"));
    EXPECT_EQ(only<LobbyErrorMsg>(1).error, kErrorInvalidCode);
  }
  up(1, code("999999"));
  EXPECT_EQ(only<LobbyErrorMsg>(1).error, kErrorEmailRequired);
  up(1, code(nextCode));
  EXPECT_EQ(only<LobbyErrorMsg>(1).error, kErrorEmailRequired);

  // A mailer that fails, and the per-connection mail limit.
  mailer.fail = true;
  up(1, email("p@q.example"));
  EXPECT_EQ(only<LobbyErrorMsg>(1).error, kErrorInvalidEmail);
  mailer.fail = false;
  for (int i = 0; i < 10; ++i) up(1, email("p@q.example"));
  EXPECT_LE(mailer.codes.size(), static_cast<size_t>(config.maxMailsPerConnection));
}

TEST_F(LobbyLogin, NamesMustBeUsableAndUnique) {
  login(1, "Alder");
  connect(2);
  up(2, version(9));
  up(2, email("b@players.example"));
  up(2, code(nextCode));
  take(2);
  for (std::string bad : {std::string("alder"), std::string("   "), std::string("tab\there"),
                          std::string("\xC3\x28"), std::string(30, 'x')}) {
    up(2, name(bad));
    EXPECT_EQ(ids(2), std::vector<int>{ID_PLAYER_NAME}) << bad;
  }
  up(2, name("Birch"));
  EXPECT_EQ(ids(2), std::vector<int>{ID_LOGIN});
}

// A name that could be taken for a taken one is refused: other scripts' letters,
// compatibility forms, invisible marks and fillers, decomposed accents, digits and
// capitals that pass for letters. A name is kept in composed form.
TEST_F(LobbyLogin, ANameThatLooksLikeATakenOneIsRefused) {
  addAccount("alder@x.example", "111111", "Alder");
  addAccount("birch@x.example", "111111", "Birch");
  addAccount("rene@x.example", "111111", "Ren\xC3\xA9");  // René, composed
  connect(1);
  up(1, version(9));
  up(1, email("new@x.example"));
  up(1, code(nextCode));
  take(1);
  const char* lookalikes[] = {
      "\xD0\x90lder",                                // Cyrillic A
      "\xCE\x91lder",                                // Greek Alpha
      "\xEF\xBC\xA1\xEF\xBD\x8C\xEF\xBD\x84\xEF\xBD\x85\xEF\xBD\x92",  // full-width letters
      "B\xC4\xB1rch",                                // dotless i
      "\xF0\x9D\x90\x80lder",                        // mathematical bold A
      "A\xCD\x8Flder",                               // a combining mark that shows nothing
      "\xE3\x85\xA4" "Alder",                         // a filler character in front
      "Rene\xCC\x81",                                // decomposed beside composed
      "A1der",                                       // digit one for l
      "AIder",                                       // capital I for l
      "Alder\xCC\xA3",                               // a dot below the r
      "Rene",                                        // the accent left off
  };
  for (const char* lookalike : lookalikes) {
    up(1, name(lookalike));
    EXPECT_EQ(ids(1), std::vector<int>{ID_PLAYER_NAME}) << lookalike;
  }
  up(1, name("Zoe\xCC\x88"));  // Zoë, decomposed
  EXPECT_EQ(ids(1), std::vector<int>{ID_LOGIN});
  EXPECT_EQ(accounts.find("new@x.example")->name, "Zo\xC3\xAB");
}

// A player who left a login prompt and came back to the lobby screen is still
// connected; a request from it is answered by asking again for what the login awaits,
// so the screen shows the prompt instead of waiting for an answer that never comes.
TEST_F(LobbyLogin, RequestsDuringTheLoginAskAgainForWhatIsAwaited) {
  ChallengeMsg challenge;
  challenge.guid = 7;
  ChallengeAnswerMsg accept;
  accept.value = 1;
  InviteFriendMsg invite;
  invite.text = "friend@x.example";
  connect(1);
  up(1, version(9));
  take(1);
  for (int stage = 0; stage < 3; ++stage) {
    const int awaited[] = {ID_LOGIN_EMAIL, ID_LOGIN_CODE, ID_PLAYER_NAME};
    up(1, QuickmatchMsg{});
    up(1, challenge);
    up(1, accept);
    up(1, invite);
    EXPECT_EQ(ids(1), std::vector<int>(4, awaited[stage])) << stage;
    // What waits for nothing stays unanswered.
    up(1, LeaveGameMsg{});
    up(1, CancelMatchmakingMsg{});
    EXPECT_TRUE(ids(1).empty()) << stage;
    if (stage == 0) up(1, email("a@b.example"));
    if (stage == 1) up(1, code(nextCode));
    take(1);
  }
  EXPECT_EQ(mailer.codes.size(), 1u);
  EXPECT_TRUE(mailer.invites.empty());
  up(1, name("Ash"));
  EXPECT_EQ(ids(1), std::vector<int>{ID_LOGIN});
}

TEST_F(LobbyLogin, ASecondLoginEndsTheFirstSession) {
  login(1, "Alder");
  connect(2);
  up(2, version(9));
  take(2);
  up(2, remembered("alder@players.example", nextCode));
  EXPECT_EQ(ids(2), std::vector<int>{ID_LOGIN});
  EXPECT_TRUE(transport.closed.count(1));
  EXPECT_EQ(server->loggedInCount(), 1u);
}

TEST_F(LobbyLogin, RandomCodesAreSixDigits) {
  std::set<std::string> seen;
  for (int i = 0; i < 50; ++i) {
    std::string c = LobbyServer::randomCode();
    ASSERT_EQ(c.size(), 6u);
    EXPECT_EQ(c.find_first_not_of("0123456789"), std::string::npos);
    seen.insert(c);
  }
  EXPECT_GT(seen.size(), 40u);
}

// An older server's account file is imported once into the database and kept
// beside it, every code hashed; what the database holds stays across restarts.
TEST(AccountStore, AnOlderAccountFileIsImportedOnceAndKept) {
  char dir[] = "/tmp/mv_accounts_XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string db = std::string(dir) + "/accounts.db", text = std::string(dir) + "/accounts.txt";
  {
    std::ofstream old(text);
    old << "a@b.example\t" << AccountStore::hashCode("123456") << "\tAsh\n"
        << "c@d.example\t654321\t\n"
        << "look@x.example\t111111\t\xD0\x90sh\n";  // a Cyrillic A: looks like Ash
  }
  {
    AccountStore store(db);
    ASSERT_TRUE(store.load());
    ASSERT_TRUE(store.importFile(text));
    EXPECT_EQ(store.size(), 3u);
    EXPECT_EQ(store.find("a@b.example")->name, "Ash");
    EXPECT_TRUE(store.checkCode("c@d.example", "654321"));
    EXPECT_EQ(store.find("look@x.example")->name, "");
    EXPECT_TRUE(store.addCode("e@f.example", "222222"));
    EXPECT_EQ(store.setName("e@f.example", "Elm"), NameClaim::Set);
  }
  EXPECT_NE(access(text.c_str(), F_OK), 0);
  std::ifstream backupFile(text + ".imported");
  std::string backup((std::istreambuf_iterator<char>(backupFile)), std::istreambuf_iterator<char>());
  EXPECT_NE(backup.find("c@d.example\t$argon2id$"), std::string::npos);
  EXPECT_EQ(backup.find("654321"), std::string::npos);
  struct stat st {};
  ASSERT_EQ(stat(db.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  AccountStore again(db);
  ASSERT_TRUE(again.load());
  ASSERT_TRUE(again.importFile(text));  // gone: nothing more
  EXPECT_EQ(again.size(), 4u);
  EXPECT_TRUE(again.intact());
  EXPECT_TRUE(again.checkCode("a@b.example", "123456"));
  EXPECT_TRUE(again.nameTaken("ASH", "c@d.example"));
  EXPECT_FALSE(again.nameTaken("Ash", "a@b.example"));
  EXPECT_EQ(again.setName("c@d.example", "elm"), NameClaim::Taken);
  std::system(("rm -rf " + std::string(dir)).c_str());
}

// A database whose name keys kept combining marks is keyed anew when opened: a name
// stored then still refuses its marked look-alike, and of two stored names that now
// look alike the account stored first keeps its own.
TEST(AccountStore, NamesStoredWithAnOlderKeyAreKeyedAnewOnOpen) {
  char dir[] = "/tmp/mv_accounts_XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string db = std::string(dir) + "/accounts.db";
  {
    sqlite3* old = nullptr;
    ASSERT_EQ(sqlite3_open(db.c_str(), &old), SQLITE_OK);
    const std::string hash = AccountStore::hashCode("123456");
    const std::string sql =
        "CREATE TABLE accounts (email TEXT PRIMARY KEY NOT NULL, codes TEXT NOT NULL,"
        " name TEXT NOT NULL DEFAULT '', name_key TEXT);"
        "CREATE UNIQUE INDEX accounts_name_key ON accounts(name_key);"
        "INSERT INTO accounts VALUES ('alice@x.example', '" + hash + "', 'Alice', 'alice');"
        "INSERT INTO accounts VALUES ('dot@x.example', '" + hash + "', 'Alic\xE1\xBA\xB9', 'alice\xCC\xA3');"
        "INSERT INTO accounts VALUES ('rene@x.example', '" + hash + "', 'Ren\xC3\xA9', 'rene\xCC\x81');"
        "INSERT INTO accounts (email, codes) VALUES ('none@x.example', '" + hash + "');";
    ASSERT_EQ(sqlite3_exec(old, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(old);
  }
  CapturedLog log;
  for (int open = 0; open < 2; ++open) {
    AccountStore store(db);
    ASSERT_TRUE(store.load());
    EXPECT_EQ(store.size(), 4u);
    EXPECT_TRUE(store.nameTaken("Rene", "none@x.example"));
    EXPECT_TRUE(store.nameTaken("Alice\xCC\xA3", "none@x.example"));
    EXPECT_EQ(store.find("alice@x.example")->name, "Alice");
    EXPECT_EQ(store.find("dot@x.example")->name, open ? "Dot" : "");
    EXPECT_TRUE(store.checkCode("dot@x.example", "123456"));
    if (!open) {
      EXPECT_EQ(store.setName("dot@x.example", "Dot"), NameClaim::Set);
    }
    EXPECT_EQ(store.setName("none@x.example", "R\xC3\xA8ne"), NameClaim::Taken);
  }
  EXPECT_EQ(log.count("dot@x.example"), 1);
  std::system(("rm -rf " + std::string(dir)).c_str());
}

// What the loader cannot use it names in the log; what it can, it keeps: a code
// holding any byte, an account whose name the rules no longer allow, and an address
// written with capitals, stored as a login spells it (the first of two spellings holds).
TEST(AccountStore, TheLoaderKeepsWhatItCanAndLogsTheRest) {
  const std::string nul("12\0" "34", 5);
  const std::string text = "a@b.example\t123456\tAsh\n"
                           "nul@b.example\t" + nul + "\tNul\n"
                           "override@b.example\t111111\tRight\xE2\x80\xAEleft\r\n"
                           "broken line\n"
                           "BAD@Case\t1\tX\n"
                           "empty@b.example\t\tX\n"
                           "hash@b.example\t$argon2id$v=19$m=1024,t=2,p=1$broken\tH\n"
                           "dup@b.example\t1\tOne\n"
                           "dup@b.example\t2\tTwo\n"
                           "\t654321\tNoAddress\n"
                           " Upper@Old.Example\t333333\tUp\n"
                           "upper@old.example\t444444\tLow\n";
  CapturedLog log;
  AccountStore store;
  store.loadText(text);
  EXPECT_EQ(store.size(), 5u);
  EXPECT_TRUE(store.checkCode("upper@old.example", "333333"));
  EXPECT_EQ(store.find("upper@old.example")->name, "Up");
  EXPECT_TRUE(store.checkCode("a@b.example", "123456"));
  EXPECT_TRUE(store.checkCode("nul@b.example", nul));
  EXPECT_FALSE(store.checkCode("nul@b.example", "12"));
  ASSERT_TRUE(store.find("override@b.example"));
  EXPECT_EQ(store.find("override@b.example")->name, "");
  EXPECT_TRUE(store.checkCode("dup@b.example", "2"));
  EXPECT_FALSE(store.find(""));
  for (int line : {3, 4, 5, 6, 7, 9, 10, 12}) EXPECT_TRUE(log.has("line " + std::to_string(line) + " ")) << line;
}

TEST(OutboxMailer, WritesOneFilePerMessage) {
  char dir[] = "/tmp/mv_outbox_XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  std::string outbox = std::string(dir) + "/out/box";
  OutboxMailer mailer(outbox);
  ASSERT_TRUE(mailer.sendCode("a@b.example", "123456"));
  ASSERT_TRUE(mailer.sendInvitation("c@d.example", "Ash"));
  std::string cmd = "grep -l 123456 " + outbox + "/*a@b.example.txt >/dev/null && ls " + outbox + " | wc -l | grep -qx 2";
  EXPECT_EQ(std::system(cmd.c_str()), 0);
  std::system(("rm -rf " + std::string(dir)).c_str());
}

// Mail is written on a thread of its own; whatever was accepted is sent, in order,
// by the time the mailer goes.
TEST(QueuedMailer, SendsEverythingItAcceptedInOrder) {
  RecordingMailer inner;
  {
    QueuedMailer mailer(inner);
    EXPECT_TRUE(mailer.sendCode("a@b.example", "111111"));
    EXPECT_TRUE(mailer.sendInvitation("c@d.example", "Ash"));
    EXPECT_TRUE(mailer.sendCode("a@b.example", "222222"));
  }
  ASSERT_EQ(inner.codes.size(), 2u);
  EXPECT_EQ(inner.codes[1].second, "222222");
  ASSERT_EQ(inner.invites.size(), 1u);
  EXPECT_EQ(inner.invites[0].second, "Ash");
}

}  // namespace

namespace {

// A game connects as it starts and rests at the e-mail prompt (or the name prompt,
// after a remembered login) while its player stays at the menu. The server used to
// close it after a minute, and the game showed the lost connection over its menu. No
// clock ends such a login now; only what a client owes at once (its version) and a
// mailed code left waiting are timed.
TEST_F(LobbyFixture, OnlyAMissingVersionOrAnUnsentCodeIsTimed) {
  addAccount("nameless@x.example", "111111", "");
  connect(1);  // silent
  connect(2);
  up(2, ProtocolVersionMsg{{9}});  // at the e-mail prompt
  connect(3);
  up(3, ProtocolVersionMsg{{9}});
  LoginMsg remembered;
  remembered.email = "nameless@x.example";
  remembered.code = "111111";
  up(3, remembered);  // at the name prompt
  login(4, "Done");
  connect(5);
  up(5, ProtocolVersionMsg{{9}});
  LoginEmailMsg e;
  e.text = "reader@mail.example";
  up(5, e);  // looks for the mailed code
  advance(config.versionTimeoutMs);
  EXPECT_EQ(transport.closed, (std::set<std::uint64_t>{1}));
  advance(config.codeTimeoutMs);
  EXPECT_EQ(transport.closed, (std::set<std::uint64_t>{1, 5}));
  for (int hour = 0; hour < 12 * 6; ++hour) advance(10 * 60 * 1000);
  EXPECT_EQ(transport.closed, (std::set<std::uint64_t>{1, 5}));
  EXPECT_EQ(server->clientCount(), 3u);
  EXPECT_EQ(ids(3), (std::vector<int>{ID_LOGIN_EMAIL, ID_PLAYER_NAME}));
}

}  // namespace

namespace {

TEST_F(LobbyFixture, OneAddressGetsOnlyItsShareOfMailAcrossConnections) {
  for (std::uint64_t c = 1; c <= 10; ++c) {
    connect(c);
    up(c, ProtocolVersionMsg{{9}});
    LoginEmailMsg e;
    e.text = "victim@example.org";
    up(c, e);
    disconnect(c);
  }
  EXPECT_EQ(mailer.codes.size(), static_cast<size_t>(config.maxMailsPerAddress));
  now += config.mailWindowMs;
  connect(11);
  up(11, ProtocolVersionMsg{{9}});
  LoginEmailMsg e;
  e.text = "victim@example.org";
  up(11, e);
  EXPECT_EQ(mailer.codes.size(), static_cast<size_t>(config.maxMailsPerAddress) + 1);
}

}  // namespace
