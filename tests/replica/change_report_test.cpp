// The host's update pass visits only the elements the rules reported changed. What it
// sends must be exactly what a pass over every object sends: whole games of every
// mode are replicated twice side by side, once with change reports and once
// without, and the two send the same bytes in the same order after every frame.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "Board.h"
#include "CapturePeer.h"
#include "GameContext.h"
#include "GameReplicas.h"
#include "ReplicaManager3_custom.h"
#include "SimGame.h"
#include "game/GameSession.h"
#include "player/Player.h"
#include "ports/MatchLink.h"

namespace {

class HostingLink : public MatchLink {
 public:
  bool isServer() const override { return true; }
};

// One replication of a game, sending into a capture peer over one connection.
// Ids start at the same number everywhere, so two of them name objects alike.
struct Replication {
  Replication(GameContext& ctx, bool reportChanges) : ids(0x1000), replicas(ctx, ids) {
    replicas.setReportChanges(reportChanges);
    peer.AttachPlugin(&replicas.manager());
    ReplicaManager3_custom& m = replicas.manager();
    m.PushConnection(m.AllocConnection(RakNet::SystemAddress("127.0.0.2", 9), RakNet::RakNetGUID(7)));
  }

  // The objects in the order the game registers an online game's.
  void reference(GameSession& game) {
    for (Player* p : {game.localPlayer(), game.enemyPlayer()}) {
      replicas.referenceReplica(*p);
      replicas.referenceReplica(*p->board());
      p->board()->forEachElem([&](BoardElem& e) { replicas.referenceReplica(e); });
    }
  }

  std::vector<CapturePeer::Sent> pass() {
    replicas.updateReplicas();
    return peer.take();
  }

  CapturePeer peer;
  RakNet::NetworkIDManager ids;
  GameReplicas replicas;
};

std::string describe(const std::vector<CapturePeer::Sent>& a, const std::vector<CapturePeer::Sent>& b) {
  std::ostringstream out;
  out << a.size() << " messages against " << b.size();
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    if (a[i] == b[i]) continue;
    size_t at = 0;
    while (at < a[i].bytes.size() && at < b[i].bytes.size() && a[i].bytes[at] == b[i].bytes[at]) ++at;
    out << "; message " << i << " (" << a[i].bytes.size() << " against " << b[i].bytes.size()
        << " bytes) first differs at byte " << at;
    break;
  }
  return out.str();
}

// Replicates each game twice and compares the two after every frame.
class SideBySide : public SimWatcher {
 public:
  void started(GameContext& ctx) override {
    ctx.setMatchLink(&link_);
    reported_ = std::make_unique<Replication>(ctx, true);
    everything_ = std::make_unique<Replication>(ctx, false);
    reported_->reference(ctx.game());
    everything_->reference(ctx.game());
    frame_ = 0;
    compare(ctx);
  }
  void frame(GameContext& ctx) override {
    ++frame_;
    compare(ctx);
  }
  void ended(GameContext& ctx) override {
    reported_.reset();
    everything_.reset();
    ctx.setMatchLink(nullptr);
  }

  std::string mode;
  int game = 0;
  long frames = 0, passesWithTraffic = 0, messages = 0;
  std::vector<std::string> differences;

 private:
  void compare(GameContext& ctx) {
    ++frames;
    const std::vector<CapturePeer::Sent> a = reported_->pass();
    const std::vector<CapturePeer::Sent> b = everything_->pass();
    if (!a.empty()) ++passesWithTraffic;
    messages += static_cast<long>(a.size());
    if (a != b && differences.size() < 5)
      differences.push_back(mode + " game " + std::to_string(game) + " frame " + std::to_string(frame_) +
                            " turn " + std::to_string(ctx.game().turn()) + ": " + describe(a, b));
  }

  HostingLink link_;
  std::unique_ptr<Replication> reported_, everything_;
  long frame_ = 0;
};

// One game of a mode (its index in a run seeded 25) per case, so they run in parallel.
using ModeAndGame = std::tuple<std::string, int>;
class ChangeReports : public ::testing::TestWithParam<ModeAndGame> {};

TEST_P(ChangeReports, SendTheSameAsAPassOverEveryObjectAfterEveryFrame) {
  const auto [mode, game] = GetParam();
  SideBySide watcher;
  watcher.mode = mode;
  watcher.game = game;
  SimOptions options;
  options.watcher = &watcher;
  const SimResult r = playGame(mode, 25, game, options);
  EXPECT_NE(r.end, SimResult::End::Stalled);
  for (const std::string& d : watcher.differences) ADD_FAILURE() << d;
  // The game did replicate something after its start.
  EXPECT_GT(watcher.passesWithTraffic, 1);
  std::printf("%s game %d: %ld frames, %ld passes with traffic, %ld messages\n", mode.c_str(), game, watcher.frames,
              watcher.passesWithTraffic, watcher.messages);
}

INSTANTIATE_TEST_SUITE_P(EveryMode, ChangeReports,
                         ::testing::Combine(::testing::Values<std::string>("skirmish", "water_trial", "fire_trial1",
                                                                           "fire_trial2", "fire_trial3", "fire_trial4",
                                                                           "dynamite_trial1", "tutorial"),
                                            ::testing::Range(0, 5)),
                         [](const ::testing::TestParamInfo<ModeAndGame>& info) {
                           return std::get<0>(info.param) + "_" +
                                  std::to_string(std::get<1>(info.param));
                         });

}  // namespace
