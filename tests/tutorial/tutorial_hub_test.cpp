// The tutorial through the event hub, played by the hint-following bot: what
// the game screen shows, the hand the hints leave, and the skirmish after it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CardTable.h"
#include "EventDispatcher.h"
#include "GameContext.h"
#include "TutorialBot.h"
#include "game/GameSession.h"
#include "game/TutorialDirector.h"
#include "player/Player.h"
#include "GameScreen.h"

namespace {

class TutorialHub : public ::testing::Test {
 protected:
  TutorialHub() { hub.setScreen(&screen); }

  GameSession& game() { return ctx.game(); }
  Player& local() { return *game().localPlayer(); }
  GameDirector_Tutorial* director() {
    return dynamic_cast<GameDirector_Tutorial*>(game().director());
  }
  // One frame: the computer's move, then the bot's.
  void frame() {
    hub.update(1.0f / 60.0f);
    if (game().started()) bot.step();
  }
  // Frames while the script runs; false when it did not end within `limit`.
  bool playScript(int limit) {
    for (int i = 0; i < limit; ++i) {
      if (!game().started() || !director() || !director()->active()) break;
      // A hint never leaves the player more than the one card it names.
      EXPECT_LE(local().cards().size(), 1u) << "row " << director()->step();
      frame();
    }
    return director() && !director()->active();
  }

  RecordingGameScreen screen{true};  // effects end at once
  GameContext ctx{5};
  EventDispatcher hub{ctx};
  TutorialBot bot{hub, 99};
};

TEST_F(TutorialHub, EveryRowsHintShowsInOrderThenTheFinish) {
  ASSERT_TRUE(hub.startSingleGame("tutorial"));
  const auto intro = screen.callsOf("showFullscreenMessage");
  ASSERT_FALSE(intro.empty());
  EXPECT_EQ("TUT_INITIAL", intro.front().text);

  ASSERT_TRUE(playScript(20000)) << "locked on row " << director()->step();
  std::vector<std::string> keys;
  std::vector<int> shows;
  for (const auto& c : screen.callsOf("showTutorialMessage")) {
    if (!keys.empty() && keys.back() == c.text) continue;
    keys.push_back(c.text);
    shows.push_back(c.values.empty() ? -1 : c.values[0]);
  }
  std::vector<std::string> want;
  std::vector<int> wantShows;
  for (int row = 0; row < kTutorialEndRow; ++row) {
    want.push_back(TutorialStepTable[row].key);
    wantShows.push_back(TutorialStepTable[row].show ? 1 : 0);
  }
  want.push_back("TUT_FINISHED");
  wantShows.push_back(1);
  EXPECT_EQ(want, keys);
  EXPECT_EQ(wantShows, shows);
  EXPECT_TRUE(bot.completed());
}

TEST_F(TutorialHub, TheGameGoesOnAsASkirmishOnceTheScriptIsOver) {
  ASSERT_TRUE(hub.startSingleGame("tutorial"));
  ASSERT_TRUE(playScript(20000));
  EXPECT_FALSE(game().tutorialRunning());
  EXPECT_TRUE(director()->canEndPhase());
  // The next turn deals the skirmish's hand.
  const int scriptTurn = game().turn();
  for (int i = 0; i < 20000 && game().started() && game().turn() == scriptTurn; ++i) frame();
  ASSERT_TRUE(game().started());
  EXPECT_GE(local().cards().size(), 4u);
  // And it ends like one: somebody loses.
  for (int i = 0; i < 400000 && game().started() && game().turn() < 60; ++i) frame();
  EXPECT_FALSE(game().started()) << "turn " << game().turn();
  EXPECT_EQ(1u, screen.callsOf("showGameEnded").size());
}

// ---- The selection bar's order the bot reads the arrows in ---------------------------------

struct BarCase {
  std::vector<int> hand;
  std::vector<int> bar;
};

class TutorialBarOrder : public ::testing::TestWithParam<BarCase> {};

TEST_P(TutorialBarOrder, ArchmageFirstThenByCategoryThenById) {
  EXPECT_EQ(GetParam().bar, TutorialBot::barOrder(GetParam().hand));
}

INSTANTIATE_TEST_SUITE_P(
    Hands, TutorialBarOrder,
    ::testing::Values(
        BarCase{{CardId::Dynamite, CardId::Lightning}, {CardId::Lightning, CardId::Dynamite}},
        BarCase{{CardId::Firefighters, CardId::Repairers, CardId::Firefighters},
                {CardId::Repairers, CardId::Firefighters}},
        BarCase{{CardId::Housing, CardId::FourBlock, CardId::Archmage, CardId::Tunnelers,
                 CardId::Crystal},
                {CardId::Archmage, CardId::FourBlock, CardId::Crystal, CardId::Housing,
                 CardId::Tunnelers}},
        BarCase{{}, {}}));

}  // namespace
