#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sys/stat.h>

#include "CCFileUtils.h"
#include "CCUserDefault.h"
#include "test_util.h"

using namespace cocos2d;

namespace {

class UserDefaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_DATA_HOME", dir.path().c_str(), 1);
    CCFileUtils::setApplicationFolders("MvTest", "Settings");
    CCUserDefault::purgeSharedUserDefault();
  }
  void TearDown() override { CCUserDefault::purgeSharedUserDefault(); }
  // Drops the object as a restart would and reads the file again.
  CCUserDefault* restart() {
    CCUserDefault::purgeSharedUserDefault();
    return CCUserDefault::sharedUserDefault();
  }
  mvtest::TempDir dir;
};

TEST_F(UserDefaultTest, ValuesSurviveARestartAndMissingKeysGiveDefaults) {
  CCUserDefault* ud = CCUserDefault::sharedUserDefault();
  EXPECT_EQ(dir.path() + "/MvTest/Settings/UserDefault.xml", CCUserDefault::getXMLFilePath());
  ud->setBoolForKey("music", false);
  ud->setBoolForKey("room_zoom_in", true);
  ud->setIntegerForKey("wins", -42);
  ud->setFloatForKey("volume", 0.25f);
  ud->setStringForKey("email", "a&b <c>@x.org");
  ud->setStringForKey("name", "Ёжик");
  ASSERT_TRUE(CCUserDefault::isXMLFileExist());

  ud = restart();
  EXPECT_FALSE(ud->getBoolForKey("music", true));
  EXPECT_TRUE(ud->getBoolForKey("room_zoom_in", false));
  EXPECT_EQ(-42, ud->getIntegerForKey("wins", 0));
  EXPECT_FLOAT_EQ(0.25f, ud->getFloatForKey("volume", 1.f));
  EXPECT_EQ("a&b <c>@x.org", ud->getStringForKey("email", ""));
  EXPECT_EQ("Ёжик", ud->getStringForKey("name", ""));

  EXPECT_TRUE(ud->getBoolForKey("absent", true));
  EXPECT_EQ(7, ud->getIntegerForKey("absent", 7));
  EXPECT_FLOAT_EQ(1.5f, ud->getFloatForKey("absent", 1.5f));
  EXPECT_EQ("dflt", ud->getStringForKey("absent", "dflt"));
}

// The remembered login code is in there: only its owner may read the file, even one
// an earlier version left readable by all.
TEST_F(UserDefaultTest, SettingsFileIsReadableByItsOwnerAlone) {
  const std::string path = dir.path() + "/MvTest/Settings/UserDefault.xml";
  ASSERT_TRUE(dir.write("MvTest/Settings/UserDefault.xml", "<userDefaultRoot/>"));
  ASSERT_EQ(0, chmod(path.c_str(), 0644));
  for (const char* code : {"1111", "2222"}) {
    CCUserDefault::sharedUserDefault()->setStringForKey("code", code);
    struct stat st {};
    ASSERT_EQ(0, stat(path.c_str(), &st));
    EXPECT_EQ(0600u, st.st_mode & 07777) << code;
  }
}

TEST_F(UserDefaultTest, LaterSetReplacesEarlierValue) {
  CCUserDefault::sharedUserDefault()->setStringForKey("code", "1111");
  CCUserDefault::sharedUserDefault()->setStringForKey("code", "2222");
  EXPECT_EQ("2222", restart()->getStringForKey("code", ""));
}

TEST_F(UserDefaultTest, CorruptFileIsLoggedTreatedAsEmptyAndReplacedOnNextSet) {
  const char* contents[] = {"<userDefaultRoot><music>true</mus", "not xml at all \x01\x02",
                            "<?xml version=\"1.0\"?><other><music>true</music></other>", ""};
  for (const char* text : contents) {
    CCUserDefault::purgeSharedUserDefault();
    ASSERT_TRUE(dir.write("MvTest/Settings/UserDefault.xml", text));
    mvtest::LogCapture log;
    CCUserDefault* ud = CCUserDefault::sharedUserDefault();
    EXPECT_TRUE(log.contains("not a settings file")) << text;
    EXPECT_FALSE(ud->getBoolForKey("music", false)) << text;
    ud->setBoolForKey("music", true);
    EXPECT_TRUE(restart()->getBoolForKey("music", false)) << text;
  }
}

TEST_F(UserDefaultTest, KeyThatCannotBeStoredIsLoggedAndDropped) {
  mvtest::LogCapture log;
  CCUserDefault* ud = CCUserDefault::sharedUserDefault();
  ud->setStringForKey("good", "1");
  ud->setStringForKey("bad key<", "2");
  ud->setStringForKey(nullptr, "3");
  EXPECT_EQ(2, log.count("invalid key"));
  ud = restart();
  EXPECT_EQ("1", ud->getStringForKey("good", ""));
  EXPECT_EQ("", ud->getStringForKey("bad key<", ""));
}

}  // namespace
