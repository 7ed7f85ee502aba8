#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#define LOGOG_GROUP "mv"
#include "CCFileUtils.h"
#include "CCUserDefault.h"
#include "Folders.h"
#include "LogMgr.h"
#include "SystemLanguage.h"

namespace {

bool exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

// Each test gets its own XDG_DATA_HOME below the test temp folder.
class FoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::string(::testing::TempDir()) + "mvplat_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name();
    ::setenv("XDG_DATA_HOME", root_.c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("XDG_DATA_HOME");
    std::string cmd = "rm -rf '" + root_ + "'";
    (void)std::system(cmd.c_str());
  }
  std::string root_;
};

TEST_F(FoldersTest, DataAndLogFoldersAreCreatedPrivateUnderXdgDataHome) {
  const std::string data = mv::dataFolder();
  EXPECT_EQ(data, root_ + "/Brindlecor/Mirrowvale/");
  struct stat st;
  ASSERT_EQ(::stat(data.c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_EQ(mv::logFolder(), data + "log/");
  EXPECT_TRUE(exists(data + "log"));
}

// Settings, logs and the run marker share one folder whatever HOME and XDG_DATA_HOME hold;
// only absolute ones count, else the data stays beside the executable.
TEST_F(FoldersTest, EveryPerUserFileLandsInTheOneDataFolder) {
  const char* oldHome = std::getenv("HOME");
  const std::string savedHome = oldHome ? oldHome : "";
  const std::string home = root_ + "/home";
  const std::string besideExe = cocos2d::CCFileUtils::sharedFileUtils()->getExecutableDirectory();
  struct Case {
    const char* xdg;   // null: unset
    const char* home;  // null: unset
    std::string folder;
  } cases[] = {
      {nullptr, home.c_str(), home + "/.local/share/Brindlecor/Mirrowvale/"},
      {"relative/xdg", home.c_str(), home + "/.local/share/Brindlecor/Mirrowvale/"},
      {root_.c_str(), "relative/home", root_ + "/Brindlecor/Mirrowvale/"},
      {nullptr, nullptr, besideExe + "Brindlecor/Mirrowvale/"},
      {nullptr, "relative/home", besideExe + "Brindlecor/Mirrowvale/"},
      {nullptr, "", besideExe + "Brindlecor/Mirrowvale/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("XDG_DATA_HOME=") + (c.xdg ? c.xdg : "(unset)") +
                 " HOME=" + (c.home ? c.home : "(unset)"));
    if (c.xdg) ::setenv("XDG_DATA_HOME", c.xdg, 1);
    else ::unsetenv("XDG_DATA_HOME");
    if (c.home) ::setenv("HOME", c.home, 1);
    else ::unsetenv("HOME");
    cocos2d::CCUserDefault::purgeSharedUserDefault();
    EXPECT_EQ(mv::dataFolder(), c.folder);
    EXPECT_EQ(cocos2d::CCUserDefault::getXMLFilePath(), c.folder + "UserDefault.xml");
    EXPECT_EQ(LogMgr::runMarkerPath(), c.folder + "mv_running");
    EXPECT_EQ(mv::logFolder(), c.folder + "log/");
    EXPECT_TRUE(exists(c.folder + "log"));
  }
  cocos2d::CCUserDefault::purgeSharedUserDefault();
  ::setenv("HOME", savedHome.c_str(), 1);
  (void)std::system(("rm -rf '" + besideExe + "Brindlecor'").c_str());
}

TEST_F(FoldersTest, LogFileIsNamedByMinuteAndHoldsGccLines) {
  LogMgr::initLogog();
  LOGOG_WARN("before the log was set up %d", 7);
  LogMgr mgr;
  ASSERT_TRUE(mgr.init());
  EXPECT_TRUE(mgr.fileTargetOpen());
  const std::string stamp = LogMgr::timestamp();
  ASSERT_EQ(stamp.size(), 14u);  // "yy-mm-dd HH-MM"
  EXPECT_EQ(stamp[2], '-');
  EXPECT_EQ(stamp[8], ' ');
  EXPECT_EQ(stamp[11], '-');
  const std::string path = mgr.logFilePath();
  EXPECT_EQ(path.rfind(mv::logFolder() + "mv_", 0), 0u);
  EXPECT_EQ(path.substr(path.size() - 4), ".log");
  EXPECT_TRUE(exists(LogMgr::runMarkerPath()));

  LOGOG_ERROR("hello %d", 42);
  mgr.shutdown();
  EXPECT_FALSE(exists(LogMgr::runMarkerPath()));

  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), {});
  std::string narrow;  // UTF-16LE of ASCII text: every second byte
  for (size_t i = 2; i < bytes.size(); i += 2) narrow.push_back(bytes[i]);
  EXPECT_NE(narrow.find(": error: {mv} [] hello 42\n"), std::string::npos) << narrow;
  EXPECT_LT(narrow.find(": warning: {mv} [] before the log was set up 7\n"), narrow.find("hello 42"));
}

TEST_F(FoldersTest, RemovingAnAbsentRunMarkerIsHarmless) {
  LogMgr::removeRunMarker();
  LogMgr::removeRunMarker();
  EXPECT_FALSE(exists(LogMgr::runMarkerPath()));
}

TEST(LogMgrTest, CastleUILayerMatchesOnlyTheExactName) {
  EXPECT_TRUE(LogMgr::isCastleUILayer("CastleUILayer"));
  EXPECT_FALSE(LogMgr::isCastleUILayer("CastleUILayerX"));
  EXPECT_FALSE(LogMgr::isCastleUILayer(""));
  EXPECT_FALSE(LogMgr::isCastleUILayer("castleuilayer"));
}

TEST(SystemLanguageTest, LocaleNamesGiveTheirLanguage) {
  const std::pair<const char*, const char*> table[] = {
      {"ru_RU.UTF-8", "ru"}, {"en_US", "en"}, {"de", "de"}, {"fil_PH", "fil"},
      {"C", ""},             {"POSIX", ""},   {"", ""},     {"x", ""}};
  for (auto& [locale, code] : table) EXPECT_EQ(mv::languageOfLocale(locale), code) << locale;
  EXPECT_FALSE(mv::systemLanguage().empty());
}

}  // namespace
