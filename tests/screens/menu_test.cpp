// The main menu: its members, its message states, the intro's end by ESC, a click or its
// own time, the scenario list, and every button on the way to the hub.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

#include <SDL.h>

#include "CCEditBox.h"
#include "CCLabelTTF.h"
#include "CCLayer.h"
#include "CCLayerColor.h"
#include "CCMenu.h"
#include "CCScrollView.h"
#include "CCSprite.h"
#include "CapturedLog.h"
#include "MenuController.h"
#include "MenuScene.h"
#include "MoreGames.h"
#include "ScreensFixture.h"
#include "ScriptedMouse.h"
#include "game/GameModeTable.h"
#include "game/GameSession.h"

using namespace cocos2d;
using mvtest::ScriptedPlayer;
using mvtest::buttonCaptioned;

namespace {

class MainMenuTest : public mvtest::ScreensTest {
 protected:
  void SetUp() override {
    ScreensTest::SetUp();
    if (IsSkipped()) return;
    loadGameData();
    scene = MenuScene::scene();
    ScriptedPlayer::show(scene);
    menu = scene->controller();
  }
  void TearDown() override {
    hub().setFlowHost(&ScreenFlow::instance());
    hub().game().clearGame(false);
    ScreensTest::TearDown();
  }
  CCNode* node(const char* name) const { return menu->bindings().node(name); }
  bool shown(const char* name) const { return ScriptedPlayer::isShown(node(name)); }
  void skipIntro() {
    ScriptedPlayer::press(SDLK_ESCAPE);
    ScriptedPlayer::frames(2);
  }
  // The hub's flow calls from here on are recorded instead of acted on.
  void recordFlow() { hub().setFlowHost(&flow); }

  MenuScene* scene = nullptr;
  MenuController* menu = nullptr;
  RecordingFlowHost flow;
};

TEST_F(MainMenuTest, EveryMemberOfTheMenuAndOfItsRowsIsBoundWithItsType) {
  for (const std::string& name : menu->bindings().names())
    EXPECT_NE(nullptr, menu->bindings().node(name)) << name;
  for (const std::string& name : menu->rowBindings().names())
    EXPECT_NE(nullptr, menu->rowBindings().node(name)) << name;
  EXPECT_EQ(27u, menu->bindings().names().size());
  EXPECT_NE(nullptr, menu->editBox());
  EXPECT_EQ(menu->editBox(), node("textfieldbg")->getParent()) << "the placeholder is the box's background";
}

TEST_F(MainMenuTest, MessageStatesShowWhatTheHubAskedAndAClickClosesOnlyAnOrdinaryOne) {
  skipIntro();
  struct Step {
    const char* what;
    std::function<void()> act;
    const char* text;
    bool message, closer, buttons;
  };
  const std::vector<Step> steps = {
      {"message", [&] { menu->showMessage("Lobby is down"); }, "Lobby is down", true, true, false},
      {"click closes it", [&] { ScriptedPlayer::click(512, 700); }, "Lobby is down", false, false, true},
      {"modal", [&] { menu->showModalMessage("Connecting"); }, "Connecting", true, false, false},
      {"click leaves it", [&] { ScriptedPlayer::click(512, 700); }, "Connecting", true, false, false},
      {"a message replaces it", [&] { menu->showMessage("Failed"); }, "Failed", true, true, false},
      {"main state", [&] { menu->showMainState(); }, "", false, false, true},
  };
  for (const Step& step : steps) {
    step.act();
    ScriptedPlayer::frames(1);
    SCOPED_TRACE(step.what);
    EXPECT_EQ(step.text, menu->messageText());
    EXPECT_EQ(step.message, shown("message"));
    EXPECT_EQ(step.closer, shown("fullscreenbtn"));
    EXPECT_EQ(step.buttons, shown("mainlayer"));
    EXPECT_FALSE(shown("textfieldlayer"));
    EXPECT_FALSE(menu->editBox()->isVisible());
  }
  menu->showMessage("A message that is long enough to wrap over more than one line of the window's width");
  ScriptedPlayer::frames(1);
  ScriptedPlayer::screenshot("menu-message-1024x768");
  // OK and Return in the (hidden) edit box change nothing.
  recordFlow();
  menu->onOk(nullptr);
  menu->editBoxReturn(menu->editBox());
  EXPECT_TRUE(flow.calls().empty());
  EXPECT_TRUE(menu->isMessageShown());
}

// ESC, a click, or a new window size (the new layout ends the intro as a click would).
enum class Skip { Escape, Click, Resize };
void PrintTo(Skip s, std::ostream* os) {
  *os << (s == Skip::Escape ? "ESC" : s == Skip::Click ? "a click" : "a resize");
}

class IntroSkipTest : public MainMenuTest, public ::testing::WithParamInterface<Skip> {};

TEST_P(IntroSkipTest, EndsTheIntroAtOnceAndConnectsToTheLobbyOnce) {
  ScriptedPlayer::runFor(3.0f);
  ASSERT_TRUE(menu->isIntroRunning());
  EXPECT_FALSE(shown("mainlayer"));
  EXPECT_EQ(2.0f, node("front")->getScale());
  if (GetParam() == Skip::Escape)
    ScriptedPlayer::press(SDLK_ESCAPE);
  else if (GetParam() == Skip::Click)
    ScriptedPlayer::click(300, 300);
  else
    ScriptedPlayer::resizeWindow(1280, 800);
  ScriptedPlayer::frames(2);
  EXPECT_FALSE(menu->isIntroRunning());
  EXPECT_TRUE(shown("mainlayer"));
  EXPECT_FALSE(shown("creditslbl"));
  EXPECT_TRUE(shown("crack"));
  EXPECT_TRUE(node("bird")->getPosition().equals(node("birdfinish1")->getPosition()));
  for (const char* layer : {"front", "back"}) {
    EXPECT_EQ(1.0f, node(layer)->getScale()) << layer;
    EXPECT_NEAR(0, node(layer)->getPosition().x, 0.01) << layer;
    EXPECT_NEAR(0, node(layer)->getPosition().y, 0.01) << layer;
  }
  EXPECT_EQ(1, lobbyConnections());
  // The intro is over: more clicks and keys start nothing.
  ScriptedPlayer::click(300, 300);
  ScriptedPlayer::press(SDLK_ESCAPE);
  ScriptedPlayer::runFor(1.0f);
  EXPECT_EQ(1, lobbyConnections());
  ScriptedPlayer::resizeWindow(1024, 768);
}

// The click lands where a menu button stands, hidden under the intro: it ends the intro only.
TEST_F(MainMenuTest, AClickThatEndsTheIntroPressesNoButtonUnderIt) {
  ScriptedPlayer::runFor(3.0f);
  ASSERT_TRUE(menu->isIntroRunning());
  recordFlow();
  for (const char* caption : {"SKIRMISH", "MENU_ONLINE"}) {
    CCNode* button = buttonCaptioned(localizedText(caption), node("mainlayer"));
    ASSERT_NE(nullptr, button) << caption;
    const CCRect place = ScriptedPlayer::windowRect(button);
    ScriptedPlayer::click(place.getMidX(), place.getMidY());
    ScriptedPlayer::frames(2);
    EXPECT_FALSE(menu->isIntroRunning());
    EXPECT_TRUE(shown("mainlayer"));
    EXPECT_TRUE(flow.calls().empty()) << caption;
    EXPECT_FALSE(hub().game().started()) << caption;
    menu->onCredits(nullptr);  // the intro again, for the next place
    ScriptedPlayer::runFor(1.0f);
  }
}

std::string skipName(const ::testing::TestParamInfo<Skip>& info) {
  return info.param == Skip::Escape ? "Escape" : info.param == Skip::Click ? "Click" : "Resize";
}

INSTANTIATE_TEST_SUITE_P(Ways, IntroSkipTest, ::testing::Values(Skip::Escape, Skip::Click, Skip::Resize),
                         skipName);

TEST_F(MainMenuTest, CreditsReplayTheWholeIntroAndItsEndConnectsAgain) {
  skipIntro();
  ASSERT_TRUE(ScriptedPlayer::click(buttonCaptioned(localizedText("MENU_CREDITS"))));
  EXPECT_TRUE(menu->isIntroRunning());
  EXPECT_FALSE(shown("mainlayer"));
  ScriptedPlayer::runFor(4.0f);
  EXPECT_TRUE(shown("creditslbl"));
  EXPECT_STREQ(localizedText("CREDITS1"), static_cast<CCLabelBMFont*>(node("creditslbl"))->getString());
  ScriptedPlayer::runFor(MenuController::kIntroSeconds - 4.0f + 0.2f);
  EXPECT_FALSE(menu->isIntroRunning());
  EXPECT_TRUE(shown("mainlayer"));
  EXPECT_FALSE(shown("creditslbl"));
  EXPECT_EQ(1.0f, node("front")->getScale());
  EXPECT_EQ(2, lobbyConnections());
}

TEST_F(MainMenuTest, TheScenarioListOffersEveryModeAndStartsTheOneClicked) {
  skipIntro();
  EXPECT_FALSE(shown("singlegamemenu"));
  ASSERT_TRUE(ScriptedPlayer::click(buttonCaptioned(localizedText("MENU_SCENARIOS"))));
  EXPECT_TRUE(shown("singlegamemenu"));
  ScriptedPlayer::screenshot("scenarios-1024x768");
  EXPECT_FALSE(ScriptedPlayer::findType<CCMenu>(node("mainlayer"))->isEnabled()) << "the buttons beneath take no click";

  // One row a mode, in the table's order, each shown whole.
  auto* list = static_cast<extension::CCScrollView*>(node("singlegamelist"));
  CCArray* rows = list->getContainer()->getChildren();
  ASSERT_EQ(7, menu->scenarioRows());
  ASSERT_EQ(7u, rows->count());
  for (int i = 0; i < 7; ++i) {
    CCNode* row = static_cast<CCNode*>(rows->objectAtIndex(i));
    CCMenuItem* button = buttonCaptioned(localizedText(GameModeTable[i].textKey), row);
    ASSERT_NE(nullptr, button) << GameModeTable[i].textKey;
    EXPECT_EQ(i, button->getTag());
    EXPECT_TRUE(ScriptedPlayer::isShown(button)) << GameModeTable[i].textKey;
  }
  // ESC closes it, the button opens it again, and its own back button closes it too.
  ScriptedPlayer::press(SDLK_ESCAPE);
  EXPECT_FALSE(shown("singlegamemenu"));
  EXPECT_TRUE(ScriptedPlayer::findType<CCMenu>(node("mainlayer"))->isEnabled());
  ScriptedPlayer::click(buttonCaptioned(localizedText("MENU_SCENARIOS")));
  ASSERT_TRUE(shown("singlegamemenu"));
  ScriptedPlayer::click(buttonCaptioned(localizedText("BACK")));
  EXPECT_FALSE(shown("singlegamemenu"));

  ScriptedPlayer::click(buttonCaptioned(localizedText("MENU_SCENARIOS")));
  recordFlow();
  ASSERT_TRUE(ScriptedPlayer::click(buttonCaptioned(localizedText("FIRE_TRIAL2"))));
  EXPECT_GE(flow.count("showGameScene"), 1u);
  EXPECT_EQ("game/singlestart/fire_trial2", flow.lastText("reportAnalytics"));
  EXPECT_EQ(FlowState::InGame, hub().flowState());
  EXPECT_FALSE(shown("singlegamemenu")) << "the menu is whole when the game returns to it";
}

struct ButtonCase {
  const char* name;
  const char* caption;  // a language key, or a bound name with a leading '@'
  const char* call;     // the flow host's call
  const char* text;     // its text
};

void PrintTo(const ButtonCase& c, std::ostream* os) { *os << c.name; }

class MenuButtonTest : public MainMenuTest, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(MenuButtonTest, GoesToTheHub) {
  const ButtonCase& c = GetParam();
  skipIntro();
  recordFlow();
  CCNode* button = c.caption[0] == '@' ? node(c.caption + 1) : buttonCaptioned(localizedText(c.caption));
  ASSERT_TRUE(ScriptedPlayer::click(button));
  EXPECT_EQ(1u, flow.count(c.call));
  EXPECT_EQ(c.text, flow.lastText(c.call));
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, MenuButtonTest,
    ::testing::Values(
        ButtonCase{"Tutorial", "MENU_TUTORIAL", "reportAnalytics", "game/singlestart/tutorial"},
        ButtonCase{"Skirmish", "SKIRMISH", "reportAnalytics", "game/singlestart/skirmish"},
        ButtonCase{"Store", "@store", "reportAnalytics", "game/singlestart/sandbox"},
        ButtonCase{"Lobby", "MENU_ONLINE", "showMenuModalMessage", "Connecting to the lobby..."},
        ButtonCase{"Exit", "@exit", "quit", ""},
        ButtonCase{"MoreGames", "MENU_MORE_GAMES", "openMoreGames", ""},
        ButtonCase{"Social", "MENU_SOCIAL", "openUrl", "https://www.brindlecor.example/mirrowvale/community"},
        ButtonCase{"Community", "MENU_COMMUNITY", "openUrl", "https://www.brindlecor.example/mirrowvale/forum"},
        ButtonCase{"Mobile", "@ios", "openUrl", "https://www.brindlecor.example/mirrowvale/mobile"},
        ButtonCase{"Crowdfunding", "@android", "openUrl", "https://www.brindlecor.example/mirrowvale/back-us"}),
    [](const ::testing::TestParamInfo<ButtonCase>& info) { return info.param.name; });

TEST_F(MainMenuTest, MoreGamesOpensTheMakersPageWithTheQueryInTheBrowser) {
  skipIntro();
  std::vector<std::string> opened;
  MoreGames* more = MoreGames::sharedMoreGames();
  more->setDeviceIdPath(::testing::TempDir() + "mv_menu_device_" + std::to_string(getpid()));
  more->setup(MoreGames::kProductCode, MoreGames::kSecretKey);
  more->setPageOpener([&](const std::string& page) {
    opened.push_back(page);
    return true;
  });
  ASSERT_TRUE(ScriptedPlayer::click(buttonCaptioned(localizedText("MENU_MORE_GAMES"))));
  ASSERT_EQ(1u, opened.size());
  EXPECT_EQ(MoreGames::pageAddress(MoreGames::kBaseAddress, more->buildQuery()), opened[0]);
  EXPECT_EQ(0u, opened[0].find("https://www.brindlecor.example/moregames?os=win&osversion="));
  more->setPageOpener(nullptr);
}

TEST_F(MainMenuTest, AResizeLaysTheMenuOutAgainWithItsMessageAndItsButtonsStillAnswer) {
  skipIntro();
  menu->showMessage("Still here");
  CCNode* oldRoot = menu->root();
  ScriptedPlayer::resizeWindow(1920, 1080);
  EXPECT_NE(oldRoot, menu->root());
  EXPECT_TRUE(menu->root()->getContentSize().equals(CCSize(1920, 1080)));
  EXPECT_TRUE(shown("message"));
  EXPECT_EQ("Still here", menu->messageText());
  EXPECT_FALSE(shown("mainlayer"));
  ScriptedPlayer::click(960, 1000);
  EXPECT_TRUE(shown("mainlayer"));
  // The title is as the intro left it.
  EXPECT_TRUE(shown("crack"));
  EXPECT_TRUE(node("bird")->getPosition().equals(node("birdfinish1")->getPosition()));
  ScriptedPlayer::runFor(0.5f);
  ScriptedPlayer::screenshot("menu-resized-1920x1080");
  ASSERT_TRUE(ScriptedPlayer::click(buttonCaptioned(localizedText("MENU_SCENARIOS"))));
  ScriptedPlayer::screenshot("scenarios-1920x1080");
  ScriptedPlayer::press(SDLK_ESCAPE);
  recordFlow();
  ASSERT_TRUE(ScriptedPlayer::click(menu->bindings(), "exit"));
  EXPECT_EQ(1u, flow.count("quit"));
  ScriptedPlayer::resizeWindow(1024, 768);
  // The window made smaller by the window system (not by the game): the menu is laid out
  // for the size the window has, nothing of it outside.
  SDL_Window* window = SDL_GL_GetCurrentWindow();
  ASSERT_NE(nullptr, window);
  SDL_SetWindowSize(window, 900, 640);
  ASSERT_TRUE(ScriptedPlayer::runUntil([&] { return menu->root()->getContentSize().equals(CCSize(900, 640)); }, 2.f))
      << "the menu stays laid out for " << menu->root()->getContentSize().width << " x "
      << menu->root()->getContentSize().height;
  const CCRect inside(0, 0, 900, 640);
  for (CCNode* n : std::vector<CCNode*>{node("exit"), node("store"), buttonCaptioned(localizedText("MENU_MORE_GAMES")),
                                        buttonCaptioned(localizedText("MENU_ONLINE"))}) {
    ASSERT_NE(nullptr, n);
    const CCRect r = ScriptedPlayer::windowRect(n);
    EXPECT_TRUE(inside.containsPoint(r.origin) && inside.containsPoint(CCPoint(r.getMaxX(), r.getMaxY())));
  }
  ScriptedPlayer::screenshot("menu-shrunk-900x640");
  ScriptedPlayer::resizeWindow(1024, 768);
}

// The title at every window size the game supports: wholly inside the window all through
// the intro (the camera holds it at twice its size) and after it, and its crack drawn with
// it; the credits run clear of the title and of the clouds.
struct WindowSize {
  float width, height;
};
void PrintTo(const WindowSize& s, std::ostream* os) { *os << s.width << "x" << s.height; }

class TitleTest : public MainMenuTest, public ::testing::WithParamInterface<WindowSize> {};

TEST_P(TitleTest, StaysInsideTheWindowThroughTheIntroAndTheCreditsRunClearOfItAndTheClouds) {
  const WindowSize win = GetParam();
  ScriptedPlayer::resizeWindow(int(win.width), int(win.height));
  ASSERT_TRUE(ScriptedPlayer::click(buttonCaptioned(localizedText("MENU_CREDITS"))));
  CCNode* title = node("crack")->getParent();
  auto inside = [&](const CCRect& r) {
    return r.getMinX() >= 0 && r.getMinY() >= 0 && r.getMaxX() <= win.width && r.getMaxY() <= win.height;
  };
  auto describe = [](const CCRect& r) {
    return std::to_string(int(r.getMinX())) + "," + std::to_string(int(r.getMinY())) + " .. " +
           std::to_string(int(r.getMaxX())) + "," + std::to_string(int(r.getMaxY()));
  };
  // the sky's clouds (the back layer's sprites the size of a cloud frame)
  const std::vector<CCNode*> clouds = ScriptedPlayer::findAll(
      [](CCNode* n) {
        const CCSize s = n->getContentSize();
        return dynamic_cast<CCSprite*>(n) && ((s.width == 128 && s.height == 48) || (s.width == 96 && s.height == 40));
      },
      node("back"));
  EXPECT_EQ(4u, clouds.size());
  int looks = 0, credits = 0;
  while (menu->isIntroRunning() && looks < 100) {
    ScriptedPlayer::runFor(0.25f);
    const CCRect box = ScriptedPlayer::windowRect(title);
    EXPECT_TRUE(inside(box)) << "at " << looks * 0.25f << " s: " << describe(box);
    if (shown("creditslbl")) {
      ++credits;
      const CCRect text = ScriptedPlayer::windowRect(node("creditslbl"));
      EXPECT_FALSE(box.intersectsRect(text)) << "at " << looks * 0.25f << " s: " << describe(text);
      for (CCNode* cloud : clouds)
        EXPECT_FALSE(ScriptedPlayer::windowRect(cloud).intersectsRect(text))
            << "a cloud at " << looks * 0.25f << " s: " << describe(ScriptedPlayer::windowRect(cloud));
    }
    ++looks;
  }
  EXPECT_GT(looks, 60);
  EXPECT_GT(credits, 30);
  ScriptedPlayer::frames(2);
  EXPECT_TRUE(inside(ScriptedPlayer::windowRect(title))) << describe(ScriptedPlayer::windowRect(title));
  EXPECT_TRUE(shown("crack"));
  EXPECT_TRUE(ScriptedPlayer::windowRect(node("crack")).equals(ScriptedPlayer::windowRect(title)));
  ScriptedPlayer::resizeWindow(1024, 768);
}

INSTANTIATE_TEST_SUITE_P(Windows, TitleTest,
                         ::testing::Values(WindowSize{1024, 768}, WindowSize{1280, 800}, WindowSize{1920, 1080}),
                         [](const ::testing::TestParamInfo<WindowSize>& info) {
                           return "W" + std::to_string(int(info.param.width)) + "x" +
                                  std::to_string(int(info.param.height));
                         });

// ---- A menu file that cannot be read -----------------------------------------------------

enum class Damage { Missing, Broken };
void PrintTo(Damage d, std::ostream* os) { *os << (d == Damage::Missing ? "missing" : "broken"); }

class BrokenMenuTest : public mvtest::ScreensTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(BrokenMenuTest, ShowsANoticeAndALogLineInsteadOfTheMenu) {
  // A data folder of its own: the sprite sheet and the fonts, and no menu (or a damaged one).
  const std::string data = ::testing::TempDir() + "mv_menu_data_" + std::to_string(getpid()) + "/";
  mkdir(data.c_str(), 0755);
  mkdir((data + "ccbi").c_str(), 0755);
  mkdir((data + "ccbi/screens").c_str(), 0755);
  if (GetParam() == Damage::Broken) std::ofstream(data + "ccbi/screens/menu.ccbi") << "not a screen";
  const std::string gameData = CCFileUtils::sharedFileUtils()->getResourceDirectory();
  CCFileUtils::sharedFileUtils()->setResourceDirectory(data);
  CapturedLog log;
  MenuScene* scene = MenuScene::scene();
  ASSERT_NE(nullptr, scene);
  ScriptedPlayer::show(scene);
  ScriptedPlayer::runFor(1.0f);
  EXPECT_EQ(1, log.count("the menu screen ccbi/screens/menu.ccbi is missing or broken"));
  EXPECT_NE(nullptr, dynamic_cast<CCLayerColor*>(scene->content()));
  EXPECT_NE(nullptr, ScriptedPlayer::findType<CCLabelTTF>(scene->content()));
  // The hub's calls and the keys find nothing to change, and nothing breaks.
  scene->controller()->showMessage("x");
  scene->controller()->showMainState();
  ScriptedPlayer::press(SDLK_ESCAPE);
  ScriptedPlayer::click(10, 10);
  ScriptedPlayer::resizeWindow(800, 600);
  ScriptedPlayer::frames(2);
  CCFileUtils::sharedFileUtils()->setResourceDirectory(gameData);
  ScriptedPlayer::resizeWindow(1024, 768);
}

INSTANTIATE_TEST_SUITE_P(Files, BrokenMenuTest, ::testing::Values(Damage::Missing, Damage::Broken),
                         [](const ::testing::TestParamInfo<Damage>& info) {
                           return info.param == Damage::Missing ? "Missing" : "Broken";
                         });


// One tap reported twice, as a touch and as a click (a touch screen whose system also moves
// the pointer), in either order: the first report ends the intro, the second presses nothing.
SDL_Event tapEvent(Uint32 type, float x, float y) {
  SDL_Event e;
  SDL_zero(e);
  e.type = type;
  const Uint32 window = SDL_GetWindowID(SDL_GL_GetCurrentWindow());
  if (type == SDL_FINGERDOWN || type == SDL_FINGERUP) {
    const CCSize size = ScriptedPlayer::windowSize();
    e.tfinger.windowID = window;
    e.tfinger.touchId = 1;
    e.tfinger.x = x / size.width;
    e.tfinger.y = y / size.height;
  } else {
    e.button.windowID = window;
    e.button.which = mvtest::kScriptedMouse;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = static_cast<Sint32>(x);
    e.button.y = static_cast<Sint32>(y);
  }
  return e;
}

class TwinTapTest : public MainMenuTest, public ::testing::WithParamInterface<bool> {};

TEST_P(TwinTapTest, ATapReportedAsTouchAndAsClickEndsTheIntroOnly) {
  ScriptedPlayer::runFor(3.0f);
  ASSERT_TRUE(menu->isIntroRunning());
  recordFlow();
  const CCRect place = ScriptedPlayer::windowRect(buttonCaptioned(localizedText("SKIRMISH"), node("mainlayer")));
  const float x = place.getMidX(), y = place.getMidY();
  std::vector<Uint32> order = {SDL_FINGERDOWN, SDL_FINGERUP, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP};
  if (!GetParam()) std::rotate(order.begin(), order.begin() + 2, order.end());
  for (Uint32 type : order) {
    SDL_Event e = tapEvent(type, x, y);
    SDL_PushEvent(&e);
  }
  ScriptedPlayer::frames(2);
  EXPECT_FALSE(menu->isIntroRunning());
  EXPECT_TRUE(shown("mainlayer"));
  EXPECT_TRUE(flow.calls().empty());
  EXPECT_FALSE(hub().game().started());
  // A click of its own elsewhere presses the button there.
  EXPECT_TRUE(ScriptedPlayer::click(buttonCaptioned(localizedText("MENU_TUTORIAL"), node("mainlayer"))));
  EXPECT_TRUE(hub().game().started());
}

INSTANTIATE_TEST_SUITE_P(Orders, TwinTapTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "TouchFirst" : "ClickFirst");
                         });

}  // namespace
