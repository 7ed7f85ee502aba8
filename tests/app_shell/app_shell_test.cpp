#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <png.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "GameProcess.h"
#include "PrivateDisplay.h"

namespace {

using mvtest::GameProcess;
using mvtest::NodeRects;

std::string newHome() { return mvtest::makeTempDir("mv_shell"); }

// A PNG file as a window icon property holds it: width, height, then ARGB, rows top down.
std::vector<unsigned long> iconOfFile(const char* path) {
  png_image image = {};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path)) return {};
  image.format = PNG_FORMAT_ARGB;
  std::vector<unsigned char> argb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, argb.data(), 0, nullptr)) return {};
  std::vector<unsigned long> icon = {image.width, image.height};
  for (size_t i = 0; i + 3 < argb.size(); i += 4)
    icon.push_back(static_cast<unsigned long>(argb[i]) << 24 | argb[i + 1] << 16 | argb[i + 2] << 8 | argb[i + 3]);
  return icon;
}

enum class Ending { WindowClose, Terminate };

class GameShellTest : public ::testing::TestWithParam<Ending> {};

// Runs with the sanitizers of the test build: the exit status is 0 only when the
// leak check at exit found nothing.
TEST_P(GameShellTest, StartsLogsItsBannerAndEndsCleanly) {
  PrivateDisplay display;
  ASSERT_TRUE(display.ok()) << "cannot start Xvfb for the game";
  GameProcess game(display.name(), newHome());
  ASSERT_TRUE(game.start());
  bool started = mvtest::waitFor([&] { return game.log().find("Failed to init Steam") != std::string::npos; }, 60);
  EXPECT_TRUE(started);
  EXPECT_TRUE(mvtest::fileExists(game.dataFolder() + "mv_running"));
  // The window shows the icon drawn beside the executable.
  const std::vector<unsigned long> icon = iconOfFile(MV_ICON_FILE);
  ASSERT_GT(icon.size(), 2u) << "cannot read " << MV_ICON_FILE;
  EXPECT_TRUE(mvtest::waitFor([&] { return game.windowIcon() == icon; }, 30)) << "the window has no icon or another";
  if (GetParam() == Ending::WindowClose)
    EXPECT_TRUE(mvtest::waitFor([&] { return game.requestWindowClose(); }, 30)) << "no window titled Mirrowvale";
  else
    kill(game.pid(), SIGTERM);  // SDL turns it into a quit request
  const int status = game.waitExit(30);
  ASSERT_NE(status, -1) << "the game did not end";
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_FALSE(mvtest::fileExists(game.dataFolder() + "mv_running"));
  std::string log = game.log();
  size_t banner = log.find(std::string("Mirrowvale starting, build: ") + MV_EXPECTED_VERSION);
  size_t store = log.find("error: {mv} [] Failed to init Steam");
  EXPECT_NE(banner, std::string::npos) << log;
  EXPECT_NE(store, std::string::npos) << log;
  EXPECT_LT(banner, store);
}

INSTANTIATE_TEST_SUITE_P(Endings, GameShellTest,
                         ::testing::Values(Ending::WindowClose, Ending::Terminate),
                         [](const ::testing::TestParamInfo<Ending>& info) {
                           return info.param == Ending::WindowClose ? "WindowClose" : "Terminate";
                         });

// ---- A start that fails ---------------------------------------------------------------

struct FailedStart {
  const char* name;
  std::pair<std::string, std::string> env;
  const char* title;  // of the message box and the start of the line on standard error
  const char* text;
};

class FailedStartTest : public ::testing::TestWithParam<FailedStart> {};

// The player is told why: a box with the failure's title on the display (it waits to be
// closed), the same line on standard error, and this start's log file with everything logged
// before the log was set up; the program then ends with an error code.
TEST_P(FailedStartTest, SaysWhyAndEndsWithAnErrorCode) {
  const FailedStart& c = GetParam();
  PrivateDisplay display;
  ASSERT_TRUE(display.ok()) << "cannot start Xvfb for the game";
  GameProcess game(display.name(), newHome(), {c.env});
  ASSERT_TRUE(game.start());
  EXPECT_TRUE(mvtest::waitFor([&] { return game.requestWindowClose(c.title); }, 60))
      << "no message box titled " << c.title;
  const int status = game.waitExit(30);
  ASSERT_NE(status, -1) << "the game did not end";
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_NE(WEXITSTATUS(status), 0);
  const std::string line = std::string(c.title) + ": " + c.text;
  EXPECT_NE(game.errors().find(line), std::string::npos) << game.errors();
  const std::string log = game.log();
  EXPECT_NE(log.find(line), std::string::npos) << log;
  EXPECT_NE(log.find("No window could be opened"), std::string::npos) << log;
}

INSTANTIATE_TEST_SUITE_P(
    Failures, FailedStartTest,
    ::testing::Values(FailedStart{"OldOpenGL", {"MESA_GL_VERSION_OVERRIDE", "1.4"}, "OpenGL version too old",
                                  "OpenGL 1.5 or higher is required (your version is 1.4"},
                      FailedStart{"NoDisplay", {"SDL_VIDEODRIVER", "nonesuch"}, "Mirrowvale",
                                  "The display cannot be used: nonesuch not available"}),
    [](const ::testing::TestParamInfo<FailedStart>& info) { return info.param.name; });

// ---- A person at the real game's window ------------------------------------------------

// The whole start: loading, the intro ended by ESC, the menu, and its Exit button clicked
// where the game drew it. A message of the (absent) lobby on the way is closed by a click.
TEST(GameExitTest, TheExitButtonEndsTheProgramWithCodeZeroAndNoRunMarker) {
  PrivateDisplay x;
  ASSERT_TRUE(x.ok()) << "cannot start Xvfb for the game";
  GameProcess game(x.name(), newHome());
  ASSERT_TRUE(game.input().ready()) << "no XTEST extension on the display";
  ASSERT_TRUE(game.start());
  bool ended = false, clickedExit = false, sawMarker = false;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(90);
  while (!ended && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    if (!game.running()) {
      ended = true;
      break;
    }
    sawMarker = sawMarker || mvtest::fileExists(game.dataFolder() + "mv_running");
    NodeRects rects = game.rects();
    if (rects.count("MENU::exit") == 0) continue;  // still loading
    if (rects["MENU::fullscreenbtn"].shown) {
      game.input().click(4, 4);  // a message covers the menu: any click closes it
    } else if (rects["MENU::exit"].shown) {
      game.click("MENU::exit");
      clickedExit = true;
    } else {
      game.input().press(XK_Escape);  // the intro runs: ESC ends it
    }
  }
  const int status = game.waitExit(ended ? 1 : 0);
  ASSERT_TRUE(ended) << "the game did not end";
  EXPECT_TRUE(clickedExit);
  EXPECT_TRUE(sawMarker);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(0, WEXITSTATUS(status));
  EXPECT_FALSE(mvtest::fileExists(game.dataFolder() + "mv_running"));
  EXPECT_NE(std::string::npos, game.log().find("The player leaves the game")) << game.log();
}

}  // namespace
