// Whole games through the screen: a scripted player that sees what a person sees (the
// bar's buttons, the offers on the board, messages, counters) and acts only by clicks and
// keys where the node tree draws them, plays a skirmish against the computer to its end.
#include <SDL.h>

#include <cstdlib>

#include "CCMenuItem.h"
#include "CapturedLog.h"
#include "GameScreenPlayer.h"
#include "game_screen_fixture.h"

using namespace cocos2d;
using mvtest::ScriptedPlayer;

namespace gametest {
namespace {

class SkirmishTest : public GameScreenTest, public ::testing::WithParamInterface<unsigned int> {};

TEST_P(SkirmishTest, AScriptedPlayerPlaysASkirmishToItsEndThroughTheScreen) {
  const unsigned int seed = GetParam();
  mvtest::gameSceneHost().startHubUpdates();
  hub().context().seed(seed);
  std::srand(seed);
  CapturedLog log;
  const int menusBefore = mvtest::gameSceneHost().menuScenes;
  startSkirmish();
  GameController& c = controller();
  mvtest::GameScreenPlayer player(c, hub());
  player.screenshots = seed == 1;
  player.playUntil([] { return false; }, 1800.0f);
  ASSERT_EQ(c.guiMode(), GuiMode::GameEnded) << "no end, turn " << game().turn();
  // The end's message with its OK, and its line in the log.
  ScriptedPlayer::runFor(1.0f, mvtest::GameScreenPlayer::kStep);
  EXPECT_TRUE(ScriptedPlayer::isShown(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("okbtn")));
  const std::string end = c.messageText();
  EXPECT_FALSE(end.empty());
  EXPECT_EQ(c.gameLog().records().back().text, end);
  EXPECT_GT(player.clicks, 10);
  mvtest::GameScreenPlayer::expectNothingRefused(log, hub());
  if (player.screenshots) {
    for (PlayerState s : {PlayerState::CardChoose, PlayerState::CombatChooseSpell})
      EXPECT_TRUE(player.barsSeen.count(s)) << static_cast<int>(s);
    ScriptedPlayer::screenshot("game-over-log");
  }
  // OK leads back to the menu.
  ASSERT_TRUE(ScriptedPlayer::click(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("okbtn")));
  EXPECT_EQ(mvtest::gameSceneHost().menuScenes, menusBefore + 1);
  std::printf("seed %u: %s after %d turns, %.0f s of game time, %d clicks and %d keys (%d RETURN)\n", seed,
              end.c_str(), game().turn(), player.gameTime(), player.clicks, player.keys, player.returnKeys);
}

INSTANTIATE_TEST_SUITE_P(Seeds, SkirmishTest, ::testing::Values(1u, 2u, 3u));

}  // namespace
}  // namespace gametest
