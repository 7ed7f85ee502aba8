// The screens at the smallest window the game allows: every button shown lies inside the
// window and over no other.
#include <SDL.h>

#include <string>
#include <vector>

#include "CCMenuItem.h"
#include "LobbyController.h"
#include "LobbyScene.h"
#include "MenuController.h"
#include "MenuScene.h"
#include "ScreensFixture.h"
#include "WindowLimits.h"

using namespace cocos2d;
using mvtest::ScriptedPlayer;

namespace {

std::string describe(const CCRect& r) {
  return "(" + std::to_string(r.getMinX()) + ", " + std::to_string(r.getMinY()) + ")-(" + std::to_string(r.getMaxX()) +
         ", " + std::to_string(r.getMaxY()) + ")";
}

::testing::AssertionResult buttonsInsideAndApart(CCNode* root) {
  const CCRect window(0, 0, mv::kMinWindowWidth, mv::kMinWindowHeight);
  std::vector<CCRect> buttons;
  for (CCNode* n : ScriptedPlayer::findAll(
           [](CCNode* n) { return dynamic_cast<CCMenuItem*>(n) && ScriptedPlayer::isShown(n); }, root))
    buttons.push_back(ScriptedPlayer::windowRect(n));
  if (buttons.size() < 3) return ::testing::AssertionFailure() << "only " << buttons.size() << " buttons shown";
  for (size_t i = 0; i < buttons.size(); ++i) {
    const CCRect& a = buttons[i];
    if (a.getMinX() < 0 || a.getMinY() < 0 || a.getMaxX() > window.getMaxX() || a.getMaxY() > window.getMaxY())
      return ::testing::AssertionFailure() << describe(a) << " reaches out of the window";
    for (size_t j = i + 1; j < buttons.size(); ++j)
      if (a.intersectsRect(buttons[j]))
        return ::testing::AssertionFailure() << describe(a) << " lies over " << describe(buttons[j]);
  }
  return ::testing::AssertionSuccess();
}

class MinimumWindowTest : public mvtest::ScreensTest {
 protected:
  void SetUp() override {
    ScreensTest::SetUp();
    if (IsSkipped()) return;
    loadGameData();
    ScriptedPlayer::resizeWindow(mv::kMinWindowWidth, mv::kMinWindowHeight);
  }
  void TearDown() override {
    if (!IsSkipped()) ScriptedPlayer::resizeWindow(1024, 768);
    ScreensTest::TearDown();
  }
  static std::string sizeName() {
    return std::to_string(mv::kMinWindowWidth) + "x" + std::to_string(mv::kMinWindowHeight);
  }
};

TEST_F(MinimumWindowTest, TheMenusButtonsStayInsideTheWindowAndApart) {
  MenuScene* scene = MenuScene::scene();
  ScriptedPlayer::show(scene);
  ScriptedPlayer::press(SDLK_ESCAPE);  // the intro ends
  ScriptedPlayer::runFor(0.5f);
  EXPECT_TRUE(buttonsInsideAndApart(scene->controller()->root()));
  ScriptedPlayer::screenshot("menu-" + sizeName());
}

TEST_F(MinimumWindowTest, TheLobbysListAndButtonsStayInsideTheWindowAndApart) {
  ScreenFlow::instance().setLobbyScene([]() -> CCScene* { return LobbyScene::scene(); });
  hub().onLobbyConnected();
  hub().enterLobby();
  hub().onLoginAccepted();
  hub().onPlayerList(3, {"Alder", "Birch", "Cyra"});
  ScriptedPlayer::runFor(0.5f);
  EXPECT_TRUE(buttonsInsideAndApart(ScriptedPlayer::runningScene()));
  ScriptedPlayer::screenshot("lobby-" + sizeName());
  hub().onLobbyConnectionLost();
  ScriptedPlayer::frames(2);
}

}  // namespace
