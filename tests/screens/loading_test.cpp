// The loading screen: which files it queues and in what order, how the logo follows the
// progress, and that loading ends once, with sounds or without.
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>

#include "CCSprite.h"
#include "CapturedLog.h"
#include "LanguageFile.h"
#include "LoadingScene.h"
#include "LobbyController.h"
#include "LobbyScene.h"
#include "MenuScene.h"
#include "ScreensFixture.h"

using namespace cocos2d;
using mvtest::ScriptedPlayer;

namespace {

std::string scratchFolder(const std::string& name) {
  std::string dir = ::testing::TempDir() + "mv_loading_" + std::to_string(getpid()) + "_" + name + "/";
  mkdir(dir.c_str(), 0755);
  return dir;
}

void touch(const std::string& path) { std::ofstream(path) << "x"; }

TEST(ListFilesTest, ListsTheMatchingFilesSortedAndNothingElse) {
  const std::string dir = scratchFolder("list");
  for (const char* name : {"b.wav", "a.wav", "c.mp3", "notes.txt", "B.wav"}) touch(dir + name);
  mkdir((dir + "folder.wav").c_str(), 0755);
  std::vector<std::string> names = {"stale"};
  listFiles(names, dir, "*.mp3", false);
  EXPECT_EQ(std::vector<std::string>({"c.mp3"}), names);
  listFiles(names, dir, "*.wav", true);
  EXPECT_EQ(std::vector<std::string>({"c.mp3", "B.wav", "a.wav", "b.wav"}), names);

  CapturedLog log;
  listFiles(names, dir + "missing", "*.wav", false);
  EXPECT_TRUE(names.empty());
  EXPECT_EQ(1, log.count("Cannot list the folder"));
}

TEST(ChooseLanguageTest, TheSystemLanguageWinsThenEnglishThenNothing) {
  auto listed = [](std::initializer_list<const char*> codes) {
    std::vector<LanguageInfo> out;
    for (const char* code : codes) {
      LanguageInfo info;
      info.language_code = code;
      out.push_back(info);
    }
    return out;
  };
  struct Case {
    std::vector<LanguageInfo> files;
    const char* system;
    int chosen;
  };
  const std::vector<Case> cases = {
      {listed({"en", "ru"}), "ru", 1},  {listed({"en", "ru"}), "de", 0}, {listed({"en", "ru"}), "", 0},
      {listed({"ru", "en"}), "en", 1},  {listed({"en", "en"}), "de", 1}, {listed({"ru"}), "de", -1},
      {listed({}), "en", -1},
  };
  for (const Case& c : cases) EXPECT_EQ(c.chosen, chooseLanguage(c.files, c.system)) << c.system;
}

TEST(ClickSoundTest, NumbersRunFromOneToFiveWhateverRandMaxIs) {
  EXPECT_EQ(1, LoadinGameController::clickSoundNumber(0));
  EXPECT_EQ(2, LoadinGameController::clickSoundNumber(RAND_MAX / 4 + 1));
  EXPECT_EQ(4, LoadinGameController::clickSoundNumber(RAND_MAX - 1));
  EXPECT_EQ(5, LoadinGameController::clickSoundNumber(RAND_MAX));
}

// A data folder like the game's, with a sounds folder of its own (or none).
std::string dataWithSounds(int sounds) {
  const std::string data = scratchFolder("data");
  const std::string game = CCFileUtils::sharedFileUtils()->getResourceDirectory();
  for (const char* folder : {"sprites", "fonts", "ccbi", "language", "particles", "music", "plain_sprites"})
    symlink((game + folder).c_str(), (data + folder).c_str());
  if (sounds > 0) {
    mkdir((data + "sounds").c_str(), 0755);
    std::ifstream click(game + "sounds/keyboard1.wav", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(click)), std::istreambuf_iterator<char>());
    for (int i = 0; i < sounds; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "%s%02d.%s", i % 2 ? "b" : "a", i, i < 3 ? "mp3" : "wav");
      std::ofstream(data + "sounds/" + name, std::ios::binary) << bytes;
    }
    touch(data + "sounds/readme.txt");
  }
  return data;
}

struct Progress {
  int sounds;
  std::vector<int> shownAfterStep;  // pieces shown after steps 1, 2, ...
};

void PrintTo(const Progress& p, std::ostream* os) { *os << p.sounds << " sounds"; }

class LoadingProgressTest : public mvtest::ScreensTest, public ::testing::WithParamInterface<Progress> {
 protected:
  void TearDown() override {
    if (!gameData.empty()) CCFileUtils::sharedFileUtils()->setResourceDirectory(gameData);
    ScreensTest::TearDown();
  }
  std::string gameData;
};

TEST_P(LoadingProgressTest, RevealsThePiecesAsTheQueueEmptiesAndFinishesOnce) {
  const Progress& p = GetParam();
  gameData = CCFileUtils::sharedFileUtils()->getResourceDirectory();
  CCFileUtils::sharedFileUtils()->setResourceDirectory(dataWithSounds(p.sounds));
  CapturedLog log;
  ScreenFlow::instance().setLobbyScene([]() -> CCScene* { return LobbyScene::scene(); });
  LoadingScene* scene = LoadingScene::scene();
  ScriptedPlayer::show(scene);  // the first step runs as the scene comes on
  ScriptedPlayer::frames(1, 0);  // the next step's clock starts with this frame
  LoadinGameController* c = scene->controller();
  ASSERT_EQ(1 + p.sounds, c->total());
  if (p.sounds == 0) {
    EXPECT_EQ(1, log.count("No sounds found"));
  }
  // The sheet went first; the music files come before the others, each sorted.
  if (p.sounds > 3) {
    ASSERT_FALSE(c->queue().empty());
    EXPECT_EQ("sounds/a00.mp3", c->queue().front().path);
    EXPECT_EQ("sounds/a02.mp3", c->queue()[1].path);
    EXPECT_EQ("sounds/b01.mp3", c->queue()[2].path);
    EXPECT_EQ("sounds/a04.wav", c->queue()[3].path);
    EXPECT_EQ(kLoadingEffect, c->queue().front().kind);
  }
  for (size_t step = 0; step < p.shownAfterStep.size(); ++step) {
    if (step > 0) ScriptedPlayer::frames(1, LoadinGameController::kStepDelay);
    EXPECT_EQ(p.shownAfterStep[step], c->shown()) << "after step " << step + 1;
    EXPECT_FALSE(c->finished()) << "after step " << step + 1;
  }
  for (int i = 0; i < c->shown(); ++i) EXPECT_TRUE(c->piece(i)->isVisible()) << i;
  // The next firing finds the queue empty: loading ends, once, and the menu fades in.
  ScriptedPlayer::frames(1, LoadinGameController::kStepDelay);
  EXPECT_TRUE(c->finished());
  EXPECT_TRUE(ScreenFlow::instance().hubUpdatesRunning());
  ScriptedPlayer::runFor(1.5f);
  EXPECT_EQ(1, log.count("Language English"));
  EXPECT_NE(nullptr, dynamic_cast<MenuScene*>(ScriptedPlayer::runningScene()));
  EXPECT_STREQ("Store", localizedText("MENU_STORE"));
  // The lobby's screen is there already: a list the lobby sends before the player goes
  // to it (the login made when the intro ends) is not lost.
  auto* lobby = dynamic_cast<LobbyController*>(&hub().lobbyScreen());
  ASSERT_NE(nullptr, lobby);
  hub().onPlayerList(2, {"Alder", "Birch"});
  EXPECT_EQ(2u, lobby->rowBindings().rowCount());
}

INSTANTIATE_TEST_SUITE_P(Queues, LoadingProgressTest,
                         ::testing::Values(Progress{0, {10}},
                                           Progress{18, {1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10,
                                                         10}}),
                         [](const ::testing::TestParamInfo<Progress>& info) {
                           return info.param.sounds ? "EighteenSounds" : "NoSoundFolder";
                         });

}  // namespace
