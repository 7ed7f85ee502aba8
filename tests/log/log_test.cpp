#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#define LOGOG_GROUP "testgroup"
#include "logog/logog.hpp"

namespace {

class LogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    logog::Initialize();
    logog::SetDefaultLevel(logog::LOGOG_LEVEL_ALL);
  }
  void TearDown() override {
    logog::SetDefaultLevel(logog::LOGOG_LEVEL_ALL);
    logog::Shutdown();
  }
};

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string tempPath(const char* name) {
  return std::string(::testing::TempDir()) + name + std::to_string(::getpid());
}

TEST_F(LogTest, GccLineCarriesFileLineLevelGroupAndEmptyCategory) {
  logog::StringTarget target;
  logog::FormatterGCC gcc;
  target.SetFormatter(gcc);
  const int line = __LINE__ + 1;
  LOGOG_WARN("value %d of %s", 7, "seven");
  auto lines = target.Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], std::string("tests/log/log_test.cpp:") + std::to_string(line) +
                          ": warning: {testgroup} [] value 7 of seven\n");
}

TEST_F(LogTest, LevelNamesFollowTheLevelLadder) {
  const std::pair<int, const char*> table[] = {
      {logog::LOGOG_LEVEL_EMERGENCY, "emergency"}, {logog::LOGOG_LEVEL_ALERT, "alert"},
      {logog::LOGOG_LEVEL_CRITICAL, "critical"},   {logog::LOGOG_LEVEL_ERROR, "error"},
      {logog::LOGOG_LEVEL_WARN, "warning"},        {logog::LOGOG_LEVEL_INFO, "info"},
      {logog::LOGOG_LEVEL_DEBUG, "debug"}};
  for (auto& [level, name] : table) EXPECT_STREQ(logog::LevelName(level), name) << level;
}

TEST_F(LogTest, MessagesAboveTheDefaultLevelAreDropped) {
  logog::StringTarget target;
  logog::SetDefaultLevel(logog::LOGOG_LEVEL_WARN);
  LOGOG_DEBUG("hidden");
  LOGOG_INFO("hidden too");
  LOGOG_ERROR("shown");
  ASSERT_EQ(target.Lines().size(), 1u);
  EXPECT_NE(target.Lines()[0].find("error: {testgroup} [] shown"), std::string::npos);
}

TEST_F(LogTest, NothingReachesTargetsWhenNotInitialised) {
  logog::StringTarget target;
  logog::Shutdown();
  LOGOG_ERROR("lost");
  EXPECT_TRUE(target.Lines().empty());
  logog::Initialize();
  LOGOG_ERROR("kept");
  EXPECT_EQ(target.Lines().size(), 1u);
}

TEST_F(LogTest, EveryTargetGetsEveryMessage) {
  logog::StringTarget a, b;
  LOGOG_INFO("both");
  EXPECT_EQ(a.Lines().size(), 1u);
  EXPECT_EQ(b.Lines().size(), 1u);
}

TEST_F(LogTest, LongMessagesAreNotCut) {
  logog::StringTarget target;
  std::string big(40000, 'x');
  LOGOG_INFO("%s", big.c_str());
  ASSERT_EQ(target.Lines().size(), 1u);
  EXPECT_NE(target.Lines()[0].find(big), std::string::npos);
}

TEST_F(LogTest, FileIsUtf16WithOneByteOrderMarkAcrossReopens) {
  const std::string path = tempPath("/mv_log_file_");
  std::remove(path.c_str());
  {
    logog::LogFile file(path.c_str());
    ASSERT_TRUE(file.IsOpen());
    LOGOG_INFO("A\xC3\xA9");  // "Aé"
  }
  {
    logog::LogFile file(path.c_str());  // the same name again appends
    LOGOG_INFO("B");
  }
  std::string bytes = readAll(path);
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
  EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xFE);
  std::u16string text;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2)
    text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                         (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  EXPECT_NE(text.find(u"] A\u00E9\n"), std::u16string::npos);
  EXPECT_NE(text.find(u"] B\n"), std::u16string::npos);
  EXPECT_EQ(text.find(u'\uFEFF'), std::u16string::npos);  // no second mark mid-file
  std::remove(path.c_str());
}

TEST_F(LogTest, UnopenableFileLeavesOtherTargetsWorking) {
  logog::StringTarget console;
  logog::LogFile file("/nonexistent-folder/for/sure/x.log");
  EXPECT_FALSE(file.IsOpen());
  LOGOG_ERROR("still here");
  EXPECT_EQ(console.Lines().size(), 1u);
}

TEST(Utf8ToUtf16, DecodesAndReplacesMalformedInput) {
  EXPECT_EQ(logog::Utf8ToUtf16("abc"), u"abc");
  EXPECT_EQ(logog::Utf8ToUtf16("\xD0\x96"), u"\u0416");              // Cyrillic Zhe
  EXPECT_EQ(logog::Utf8ToUtf16("\xF0\x9F\x98\x80"), u"\U0001F600");  // surrogate pair
  EXPECT_EQ(logog::Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");        // overlong
  EXPECT_EQ(logog::Utf8ToUtf16("\xE2\x82"), u"\uFFFD\uFFFD");        // truncated
  EXPECT_EQ(logog::Utf8ToUtf16("\xFF"), u"\uFFFD");
}

}  // namespace
