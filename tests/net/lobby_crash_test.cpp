// The mv-lobby program killed outright (SIGKILL) in the middle of a storm of logins:
// every login it had confirmed to a player is in its database after the restart,
// and the database is whole.
#include <signal.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "AccountStore.h"
#include "AttackFixture.h"
#include "LobbyProcess.h"

using namespace protocol;

namespace {

constexpr int kPlayers = 60;

std::string nameOf(int i) { return "Storm" + std::to_string(i); }

// One player's login by mailed code, a step each time its answer is in.
struct Storming {
  std::unique_ptr<RawClient> client;
  int step = 0;  // answers acted upon: login prompt, code prompt, name prompt
  bool confirmed = false;

  void advance(int i) {
    RawClient& c = *client;
    c.service(0);
    if (step == 0 && c.count(ID_LOGIN_EMAIL)) {
      LoginEmailMsg e;
      e.text = RawClient::emailOf(nameOf(i));
      c.send(e);
      ++step;
    } else if (step == 1 && c.count(ID_LOGIN_CODE)) {
      LoginCodeMsg code;
      code.text = "123456";
      c.send(code);
      ++step;
    } else if (step == 2 && c.count(ID_PLAYER_NAME)) {
      PlayerNameMsg n;
      n.text = nameOf(i);
      c.send(n);
      ++step;
    }
    confirmed = confirmed || c.count(ID_LOGIN) > 0;
  }
};

TEST(LobbyCrash, EveryConfirmedLoginSurvivesAKillDuringALoginStorm) {
  LobbyProcess lobby(60000, "123456");
  ASSERT_TRUE(lobby.running());
  std::vector<Storming> storm(kPlayers);
  for (int i = 0; i < kPlayers; ++i) {
    // Addresses of their own: one address's logins under way are limited.
    const std::string address = "127.0.3." + std::to_string(i + 1);
    storm[i].client = std::make_unique<RawClient>(address.c_str());
    ASSERT_TRUE(storm[i].client->connect(lobby.port()));
  }
  for (Storming& s : storm) s.client->send(ProtocolVersionMsg{{kProtocolVersion}});
  auto confirmedCount = [&] {
    int n = 0;
    for (const Storming& s : storm) n += s.confirmed;
    return n;
  };
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (confirmedCount() < kPlayers / 3 && std::chrono::steady_clock::now() < until)
    for (int i = 0; i < kPlayers; ++i) storm[i].advance(i);
  ASSERT_EQ(kill(lobby.pid(), SIGKILL), 0);
  for (int i = 0; i < kPlayers; ++i) storm[i].advance(i);  // what was on its way before the kill
  const int confirmed = confirmedCount();
  ASSERT_GE(confirmed, kPlayers / 3);
  ASSERT_LT(confirmed, kPlayers) << "the storm was over before the kill";

  // A server started again on the same database knows every confirmed player.
  LobbyHostOptions o = ServerThread::options();
  o.accountsPath = lobby.dir() + "/data/accounts.db";
  {
    AccountStore db(o.accountsPath);
    ASSERT_TRUE(db.load());
    EXPECT_TRUE(db.intact());
  }
  ServerThread restarted;
  ASSERT_TRUE(restarted.start(o));
  for (int i = 0; i < kPlayers; ++i) {
    if (!storm[i].confirmed) continue;
    RawClient again("127.0.4.1");
    ASSERT_TRUE(again.connect(restarted.port()));
    again.send(ProtocolVersionMsg{{kProtocolVersion}});
    again.await(ID_LOGIN_EMAIL);
    LoginMsg remembered;
    remembered.email = RawClient::emailOf(nameOf(i));
    remembered.code = "123456";
    again.send(remembered);
    EXPECT_EQ(again.await({ID_LOGIN, ID_LOBBY_ERROR, ID_PLAYER_NAME}), Bytes{ID_LOGIN}) << nameOf(i);
  }
}

}  // namespace
