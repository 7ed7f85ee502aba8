#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#define LOGOG_GROUP "mv"
#include "Folders.h"
#include "LogMgr.h"
#include "SystemLanguage.h"
#include "WebPage.h"

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

TEST_F(FoldersTest, RelativeXdgDataHomeFallsBackToHome) {
  const std::string home = root_ + "/home";
  ASSERT_TRUE(mv::makeFolders(home, 0700));
  const char* oldHome = std::getenv("HOME");
  std::string saved = oldHome ? oldHome : "";
  ::setenv("XDG_DATA_HOME", "relative/path", 1);
  ::setenv("HOME", home.c_str(), 1);
  EXPECT_EQ(mv::dataFolder(), home + "/.local/share/Brindlecor/Mirrowvale/");
  ::setenv("HOME", saved.c_str(), 1);
}

TEST_F(FoldersTest, ExecutableFolderEndsInSlashAndHoldsThisTest) {
  const std::string folder = mv::executableFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_TRUE(exists(folder + "test_platform"));
}

TEST_F(FoldersTest, LogFileIsNamedByMinuteAndHoldsGccLines) {
  LogMgr::initLogog();
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

TEST(WebPageTest, OnlyHttpAndHttpsAddressesAreOpened) {
  EXPECT_TRUE(mv::isWebAddress("https://example.org/page?a=1"));
  EXPECT_TRUE(mv::isWebAddress("http://example.org"));
  EXPECT_FALSE(mv::isWebAddress("file:///etc/passwd"));
  EXPECT_FALSE(mv::isWebAddress("javascript:alert(1)"));
  EXPECT_FALSE(mv::isWebAddress("https://"));
  EXPECT_FALSE(mv::isWebAddress("https://a.org/\nrm -rf"));
  EXPECT_FALSE(mv::isWebAddress("-https://a.org"));
  EXPECT_FALSE(mv::openWebPage("ftp://example.org"));
}

}  // namespace
