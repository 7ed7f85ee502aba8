// The in-game screen in a window: a game started through the event hub, drawn, clicked
// and keyed as a player would.
#include "game_screen_fixture.h"

using namespace cocos2d;
using mvtest::ScriptedPlayer;

namespace gametest {
namespace {

TEST_F(GameScreenTest, ASkirmishStartsOnTheScreen) {
  startSkirmish();
  EXPECT_EQ(ScriptedPlayer::runningScene(), MainScene::scene());
  EXPECT_EQ(controller().missingMembers(), 0);
  EXPECT_FALSE(ScriptedPlayer::screenshot("game-start").empty());
}

}  // namespace
}  // namespace gametest
