// Online play end to end: mv-lobby on loopback and two headless clients (the real
// network object, hub, rules and replication). Both log in with the mailed codes,
// find each other by quick match and play whole games; at every turn begin the
// joining side's players and boards must equal the host's. Chat goes both ways,
// a game over is followed by two rematches in a row, a forfeit sends the host
// back to the lobby, and a joining client that vanishes mid-match sends the host
// back to the menu. A joining client behind a slow link takes each of its choices at
// once. Every wait is bounded.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "Board.h"
#include "CapturedLog.h"
#include "CardTable.h"
#include "GameReplicas.h"
#include "LobbyProcess.h"
#include "LossyProxy.h"
#include "MatchDigest.h"
#include "OnlineClient.h"
#include "game/GameSession.h"
#include "logog/logog.hpp"
#include "player/Player.h"

namespace {

// How much longer than on a quiet machine a step may take before it counts as stuck.
constexpr int kPatience = 4;

// MV_E2E_LOG=path writes the clients' log lines there (for looking into a failure).
class LogToFile : public ::testing::Environment {
 public:
  void SetUp() override {
    const char* path = std::getenv("MV_E2E_LOG");
    if (!path || !*path) return;
    logog::Initialize();
    file_ = std::make_unique<logog::LogFile>(path);
    file_->SetFormatter(formatter_);
  }
  void TearDown() override {
    if (!file_) return;
    file_.reset();
    logog::Shutdown();
  }

 private:
  logog::FormatterGCC formatter_;
  std::unique_ptr<logog::LogFile> file_;
};
const auto* const kLogToFile = ::testing::AddGlobalTestEnvironment(new LogToFile);

using Clock = std::chrono::steady_clock;

class OnlineMatch : public ::testing::Test {
 protected:
  // `alderPort`: where Alder (who joins the quick match) finds the lobby, when not
  // at the lobby's own port.
  void makeClients(bool mailedCodes, unsigned short alderPort = 0) {
    ASSERT_TRUE(lobby->running());
    for (int i = 0; i < 2; ++i) {
      OnlineClientOptions o;
      o.port = i == 0 && alderPort ? alderPort : lobby->port();
      o.email = std::string(i ? "birch" : "alder") + "@e2e.example";
      o.name = i ? "Birch" : "Alder";
      o.seed = 101 + static_cast<uint32_t>(i);
      if (mailedCodes)
        o.outbox = lobby->outbox();
      else
        o.devCode = "246810";
      clients[i] = std::make_unique<OnlineClient>(o);
      ASSERT_TRUE(clients[i]->start());
    }
  }

  // Runs frames of both clients until `done` holds; false after `seconds`.
  // Frames both clients until done() holds. The bounds only catch a hang: they are
  // stretched so that a machine busy with other work still gets there.
  bool pump(const std::function<bool()>& done, int seconds) {
    const auto until = Clock::now() + std::chrono::seconds(seconds * kPatience);
    while (Clock::now() < until) {
      if (proxy) proxy->pump();
      for (auto& c : clients)
        if (c) c->frame();
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return false;
  }

  OnlineClient& a() { return *clients[0]; }
  OnlineClient& b() { return *clients[1]; }
  bool inGame(OnlineClient& c) { return c.hub().flowState() == FlowState::InGame && c.game().started(); }
  // Both sides hold the whole game: two players, two boards, every element.
  bool replicated(OnlineClient& join) {
    GameSession& g = join.game();
    return g.localPlayer() && g.enemyPlayer() && g.localPlayer()->board() && g.enemyPlayer()->board() &&
           join.net().replicas()->replicaCount() == 2u + 2u + 2u * Board::kSize * Board::kSize;
  }

  void loginAndQuickMatch() {
    ASSERT_TRUE(pump([&] { return a().loggedIn() && b().loggedIn(); }, 20)) << lobby->log();
    EXPECT_EQ(a().hub().flowState(), FlowState::Lobby);
    // The one who waited longest hosts: Birch, so that each run plays the same games.
    for (int i = 0; i < 2; ++i) wireBeforeMatch[i] = clients[i]->wireBytesReceived();
    b().hub().requestQuickMatch();
    const auto queued = Clock::now() + std::chrono::milliseconds(150);
    pump([&] { return Clock::now() > queued; }, 2);
    a().hub().requestQuickMatch();
    ASSERT_TRUE(pump([&] { return inGame(a()) && inGame(b()); }, 10)) << lobby->log();
    roles();
    EXPECT_EQ(host, &b());
  }

  // Which client hosts the running match.
  void roles() {
    ASSERT_NE(a().net().isServer(), b().net().isServer());
    host = a().net().isServer() ? &a() : &b();
    join = host == &a() ? &b() : &a();
  }

  // Compares the two sides at every turn begin (whichever side hosts).
  void watchTurns() {
    for (auto& c : clients) {
      OnlineClient* me = c.get();
      me->onHostTurnBegin = [this, me] { hostTurns[me->game().turn()] = digest::hostView(me->game()); };
      me->onJoinTurnBegin = [this, me] {
        const int turn = me->game().turn() + 1;
        turnBytes.push_back({turn, me->traffic().total(), me->wireBytesReceived()});
        auto it = hostTurns.find(turn);
        ++compared;
        if (it == hostTurns.end()) {
          mismatches.push_back("turn " + std::to_string(turn) + ": the host sent no such turn");
          return;
        }
        const std::string diff = digest::firstDifference(digest::joinView(me->game()), it->second);
        const Player* own = me->game().localPlayer();
        if (!diff.empty())
          mismatches.push_back("turn " + std::to_string(turn) + " (" + (own ? stateName(own->state()) : "no player") +
                               "): " + diff);
        hostTurns.erase(hostTurns.begin(), ++it);
      };
    }
  }

  // Plays the running game to its end on both sides; the turns it took.
  int playToEnd() {
    const bool ended = pump([&] { return !host->ended().empty() && !join->ended().empty(); }, 40);
    if (!ended) {
      ADD_FAILURE() << "the game did not end; host turn " << host->game().turn();
      return -1;
    }
    const int turns = host->game().turn();
    // The two ends agree: one side's win is the other's loss.
    const std::string h = host->ended(), j = join->ended();
    EXPECT_TRUE((h == "YOU_WIN" && j == "YOU_LOSE") || (h == "YOU_LOSE" && j == "YOU_WIN") ||
                (h == "DRAW" && j == "DRAW"))
        << h << " / " << j;
    host->clearEnded();
    join->clearEnded();
    return turns;
  }

  std::unique_ptr<LobbyProcess> lobby;
  std::unique_ptr<LossyProxy> proxy;  // between Alder and the lobby, when set
  std::unique_ptr<OnlineClient> clients[2];
  OnlineClient* host = nullptr;
  OnlineClient* join = nullptr;
  std::map<int, std::string> hostTurns;
  struct TurnBytes {
    int turn;
    uint64_t messages, wire;
  };
  std::vector<TurnBytes> turnBytes;  // joining side's bytes at each turn begin
  uint64_t wireBeforeMatch[2] = {0, 0};
  std::vector<std::string> mismatches;
  int compared = 0;
};

TEST_F(OnlineMatch, MailedCodesQuickMatchMirroredTurnsChatTwoRematchesAndAForfeit) {
  lobby = std::make_unique<LobbyProcess>();
  makeClients(true);
  loginAndQuickMatch();
  ASSERT_NE(host, nullptr);
  // The typed login is remembered for the next time.
  EXPECT_EQ(host->hub().context().settings().getString("code").size(), 6u);
  watchTurns();

  // The whole game arrives on the joining side; what it cost.
  ASSERT_TRUE(pump([&] { return replicated(*join); }, 20));
  const uint64_t startBytes = join->traffic().replicaBytes - join->replicaBytesAtStart();
  const uint64_t startWire = join->wireBytesReceived() - wireBeforeMatch[join == &a() ? 0 : 1];

  // Chat both ways, "%d" and all.
  host->hub().sendChat("good luck %d");
  join->hub().sendChat("you too");
  ASSERT_TRUE(pump([&] { return !host->chat().empty() && !join->chat().empty(); }, 10));
  EXPECT_EQ(join->chat().front(), host->name() + ": good luck %d");
  EXPECT_EQ(host->chat().front(), join->name() + ": you too");

  // A game to its end, then two rematches in a row (more games while fewer than
  // twenty turns were played).
  int turns = 0, games = 0;
  const uint64_t playStart = join->traffic().total();
  uint64_t rematchBytes = 0, rematchWire = 0;
  while (games < 3 || (turns < 20 && games < 8)) {
    if (games > 0) {
      // OK on the game-over message: the host asks for the rematch, the other side waits.
      const uint64_t before[2] = {a().traffic().total(), b().traffic().total()};
      const uint64_t wireBefore[2] = {a().wireBytesReceived(), b().wireBytesReceived()};
      join->hub().onMessageOk();
      host->hub().onMessageOk();
      hostTurns.clear();
      ASSERT_TRUE(pump([&] { return inGame(a()) && inGame(b()) && replicated(a().net().isServer() ? b() : a()); },
                       20))
          << "rematch " << games;
      roles();
      // The first rematch's start: the last game's objects go, the new ones come.
      if (games == 1) {
        const int j = join == &a() ? 0 : 1;
        rematchBytes = join->traffic().total() - before[j];
        rematchWire = join->wireBytesReceived() - wireBefore[j];
      }
    }
    const int played = playToEnd();
    ASSERT_GE(played, 0) << "game " << games + 1;
    turns += played;
    ++games;
  }
  const uint64_t playBytes = join->traffic().total() - playStart;
  EXPECT_GE(turns, 20);
  EXPECT_GE(compared, turns - games);
  EXPECT_TRUE(mismatches.empty()) << mismatches.size() << " turn(s) differ, first: " << mismatches.front();
  std::printf("[ measure  ] game start: %llu bytes of replication to the joining side; %llu bytes on the wire "
              "from the match request on\n",
              static_cast<unsigned long long>(startBytes), static_cast<unsigned long long>(startWire));
  std::printf("[ measure  ] a rematch's start: %llu bytes of messages to the joining side, %llu on the wire\n",
              static_cast<unsigned long long>(rematchBytes), static_cast<unsigned long long>(rematchWire));
  // From one turn begin to the next within a game: what a turn costs.
  uint64_t perTurn = 0, perTurnWire = 0, steps = 0;
  for (size_t i = 1; i < turnBytes.size(); ++i) {
    if (turnBytes[i].turn != turnBytes[i - 1].turn + 1) continue;
    perTurn += turnBytes[i].messages - turnBytes[i - 1].messages;
    perTurnWire += turnBytes[i].wire - turnBytes[i - 1].wire;
    ++steps;
  }
  std::printf("[ measure  ] a turn: %llu bytes to the joining side on average, %llu on the wire (%llu turns)\n",
              static_cast<unsigned long long>(steps ? perTurn / steps : 0),
              static_cast<unsigned long long>(steps ? perTurnWire / steps : 0), static_cast<unsigned long long>(steps));
  const uint64_t starts = startBytes * static_cast<uint64_t>(games - 1);
  std::printf("[ measure  ] %d games, %d turns: %llu bytes to the joining side; without the %d rematch starts "
              "%llu per turn\n",
              games, turns, static_cast<unsigned long long>(playBytes), games - 1,
              static_cast<unsigned long long>((playBytes > starts ? playBytes - starts : 0) /
                                              static_cast<uint64_t>(turns ? turns : 1)));

  // One more rematch, left by the joining side: the host is told of the forfeit.
  join->hub().onMessageOk();
  host->hub().onMessageOk();
  ASSERT_TRUE(pump([&] { return inGame(*host) && inGame(*join) && replicated(*join); }, 20));
  ASSERT_TRUE(pump([&] { return host->game().turn() >= 1; }, 20));
  join->hub().exitToMenu();
  EXPECT_EQ(join->hub().flowState(), FlowState::Menu);
  EXPECT_EQ(join->net().replicas()->replicaCount(), 0u) << "the joining side keeps nothing of the match";
  EXPECT_EQ(join->game().localPlayer(), nullptr);
  ASSERT_TRUE(pump([&] { return host->hub().flowState() == FlowState::Lobby; }, 10));
  EXPECT_EQ(host->lobby().last("showMessage").text, "OPPONENT_FORFEIT");
  EXPECT_FALSE(host->game().started());
  EXPECT_EQ(host->game().localPlayer(), nullptr);
}

TEST_F(OnlineMatch, AJoiningClientThatVanishesMidMatchSendsTheHostToTheMenu) {
  lobby = std::make_unique<LobbyProcess>(3000, "246810");  // short, yet no busy machine stalls so long
  makeClients(false);
  loginAndQuickMatch();
  ASSERT_NE(host, nullptr);
  ASSERT_TRUE(pump([&] { return replicated(*join) && host->game().turn() >= 2; }, 30));
  join->kill();
  EXPECT_EQ(join->net().replicas()->replicaCount(), 0u) << "the dropped connection takes the host's objects";
  ASSERT_TRUE(pump([&] { return host->hub().flowState() == FlowState::Menu; }, 15)) << lobby->log();
  EXPECT_EQ(host->flow().lastText("showMenuMessage"), "OPPONENT_DISCONNECTED");
  EXPECT_FALSE(host->game().started());
  EXPECT_EQ(host->game().localPlayer(), nullptr);
  EXPECT_EQ(host->net().replicas()->replicaCount(), 0u);
}

// The joining side behind a link that holds every datagram 150 ms each way: a pick
// and ESC, then a card, its place and the end of the card phase, each 20 ms after
// the last, all take effect at once and reach the host; the two sides agree at the
// turn begins that follow.
TEST_F(OnlineMatch, AJoiningSideOnASlowLinkTakesEachChoiceAtOnce) {
  lobby = std::make_unique<LobbyProcess>(60000, "246810");
  ASSERT_TRUE(lobby->running());
  proxy = std::make_unique<LossyProxy>(lobby->port());
  proxy->delay = std::chrono::milliseconds(150);
  makeClients(false, proxy->port());
  a().setPlaying(false);
  loginAndQuickMatch();
  ASSERT_EQ(join, &a());
  watchTurns();
  CapturedLog log;
  GameSession& g = join->game();
  ASSERT_TRUE(pump([&] { return replicated(*join) && g.localPlayer()->state() == PlayerState::CardChoose; }, 20));
  Player& me = *g.localPlayer();
  const std::vector<int>& hand = me.cards();
  ASSERT_NE(std::find(hand.begin(), hand.end(), CardId::Archmage), hand.end());

  const auto choose = [&](const std::function<void()>& choice, PlayerState after) {
    choice();
    EXPECT_STREQ(stateName(me.state()), stateName(after));
    const auto next = Clock::now() + std::chrono::milliseconds(20);
    pump([&] { return Clock::now() >= next; }, 1);
  };
  choose([&] { join->hub().selectCard(CardId::Archmage); }, PlayerState::PlacementChoose);
  choose([&] { join->hub().cancelSelection(); }, PlayerState::CardChoose);
  choose([&] { join->hub().selectCard(CardId::Archmage); }, PlayerState::PlacementChoose);
  ASSERT_FALSE(me.options().empty());
  BoardElem* spot = me.options().front();
  choose([&] { join->hub().selectBoardElem(spot); }, PlayerState::CardChoose);
  choose([&] { join->hub().endPhase(); }, PlayerState::BuildChooseSpell);
  EXPECT_EQ(spot->room(), RoomType::Archmage);

  // The host took them all: its copy of this player has its archmage and left its cards.
  Player* copy = host->game().enemyPlayer();
  ASSERT_NE(copy, nullptr);
  ASSERT_TRUE(pump([&] { return isSpellState(copy->state()) || isTargetState(copy->state()); }, 10))
      << stateName(copy->state());
  ASSERT_NE(copy->board(), nullptr);
  EXPECT_NE(copy->board()->findArchmage(), nullptr);
  EXPECT_EQ(copy->cards().size(), me.cards().size());

  a().setPlaying(true);
  ASSERT_TRUE(pump([&] { return compared >= 2; }, 60)) << "host turn " << host->game().turn();
  EXPECT_TRUE(mismatches.empty()) << mismatches.size() << " turn(s) differ, first: " << mismatches.front();
  EXPECT_EQ(log.count("out of sync"), 0) << (log.has("out of sync") ? log.find("out of sync").front() : "");
}

// Two client processes moving as fast as the host answers, each on its own clock:
// the joining side must never choose on a state the host has left. This pair of
// seeds once drifted a phase apart in its second game.
TEST(OnlineProcesses, TwoClientsAtFullSpeedStayInStepOverThreeGames) {
  LobbyProcess lobby(60000, "246810");
  ASSERT_TRUE(lobby.running());
  pid_t pids[2];
  std::string logs[2];
  for (int i = 0; i < 2; ++i) {
    const std::string who = i ? "fern" : "heath";
    logs[i] = lobby.dir() + "/" + who + ".log";
    pids[i] = spawnLogged({MV_ONLINE_BIN, "--port", std::to_string(lobby.port()), "--dev-code", "246810",
                           "--email", who + "@e2e.example", "--name", who, "--games", "3", "--seed",
                           std::to_string(i + 1), "--max-seconds", std::to_string(120 * kPatience)},
                          logs[i], {{"XDG_DATA_HOME", lobby.dir() + "/" + who}, {"ASAN_OPTIONS", "detect_leaks=0"}});
    ASSERT_GT(pids[i], 0);
  }
  for (int i = 0; i < 2; ++i) {
    const int rc = waitBounded(pids[i], (120 * kPatience + 30) * 1000);
    std::ifstream in(logs[i]);
    std::stringstream text;
    text << in.rdbuf();
    const std::string log = text.str();
    EXPECT_EQ(rc, 0) << "client " << i << ": " << log.substr(log.size() > 2000 ? log.size() - 2000 : 0);
    EXPECT_EQ(log.find("out of sync"), std::string::npos) << "client " << i;
    EXPECT_NE(log.find("games 3 turns"), std::string::npos) << "client " << i;
  }
}

}  // namespace
