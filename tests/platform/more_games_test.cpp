// The more-games page: the query's fixed format, the device id made once and kept, and the
// page handed to the browser.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <string>

#include "MoreGames.h"

namespace {

std::string scratch(const std::string& name) {
  return std::string(::testing::TempDir()) + "mv_more_" + std::to_string(::getpid()) + "_" + name;
}

TEST(MoreGamesTest, TheQueryHasItsFixedFormatWithNothingEscaped) {
  MoreGames::SystemFacts facts;
  facts.osVersion = "6.1";
  facts.screenWidth = 1920;
  facts.screenHeight = 1080;
  EXPECT_EQ(
      "os=win&osversion=6.1&devicetype=PC&product=MV&swidth=1920&sheight=1080&sscale=1.000000"
      "&udid=0B:AD:CA:FE:00:11&secretKey=7e3a91c05fd2b8846a0c1e5f93d27b6a18e4c0f5a9d3b27e6c81f04a5d9e2b37",
      MoreGames::formatQuery(facts, "MV", "0B:AD:CA:FE:00:11", MoreGames::kSecretKey));
  EXPECT_EQ("https://x.example/moregames?a=b c&d", MoreGames::pageAddress("https://x.example", "a=b c&d"));
  // Past 1023 bytes the page is cut.
  EXPECT_EQ(1023u, MoreGames::pageAddress("https://x.example", std::string(2000, 'q')).size());
  // This machine's query: a dotted version and the primary display's size.
  MoreGames::SystemFacts here = MoreGames::systemFacts();
  EXPECT_TRUE(std::regex_match(here.osVersion, std::regex("[0-9]+\\.[0-9]+"))) << here.osVersion;
}

TEST(MoreGamesTest, FormatStringCutsAtTheBufferAndAlwaysEnds) {
  char buffer[6] = "xxxxx";
  EXPECT_EQ(9, formatString(buffer, sizeof buffer, "%s-%d", "abc", 12345));
  EXPECT_STREQ("abc-1", buffer);
  EXPECT_EQ(0, formatString(buffer, 0, "%s", "zzz"));
  EXPECT_STREQ("abc-1", buffer);
}

TEST(MoreGamesTest, TheDeviceIdIsMadeOnceFromRandomBytesAndKept) {
  const std::string path = scratch("device_id");
  std::remove(path.c_str());
  const std::string made = MoreGames::loadOrMakeDeviceId(path);
  EXPECT_TRUE(MoreGames::isDeviceId(made)) << made;
  EXPECT_TRUE(std::regex_match(made, std::regex("([0-9A-F]{2}:){5}[0-9A-F]{2}")));
  // The multicast bit: never a network adapter's address.
  EXPECT_EQ(1, std::stoi(made.substr(0, 2), nullptr, 16) & 1);
  EXPECT_EQ(made, MoreGames::loadOrMakeDeviceId(path));
  // A damaged file is replaced.
  std::ofstream(path) << "00:11:22\n";
  const std::string remade = MoreGames::loadOrMakeDeviceId(path);
  EXPECT_TRUE(MoreGames::isDeviceId(remade));
  EXPECT_EQ(remade, MoreGames::loadOrMakeDeviceId(path));
  for (const char* bad : {"", "0b:ad:ca:fe:00:11", "0B-AD-CA-FE-00-11", "0B:AD:CA:FE:00:1", "0B:AD:CA:FE:00:11:"})
    EXPECT_FALSE(MoreGames::isDeviceId(bad)) << bad;
  std::remove(path.c_str());
}

TEST(MoreGamesTest, OpeningThePageHandsTheAddressWithTheQueryToTheBrowser) {
  MoreGames* more = MoreGames::sharedMoreGames();
  more->setDeviceIdPath(scratch("shared_id"));
  more->setup(MoreGames::kProductCode, MoreGames::kSecretKey);
  std::string opened;
  more->setPageOpener([&](const std::string& page) {
    opened = page;
    return true;
  });
  EXPECT_TRUE(more->openPage());
  EXPECT_EQ(MoreGames::pageAddress(MoreGames::kBaseAddress, more->buildQuery()), opened);
  EXPECT_NE(std::string::npos, opened.find("&product=MV&"));
  EXPECT_NE(std::string::npos, opened.find("&udid=" + more->udid() + "&"));
  more->setPageOpener(nullptr);
  // Else the desktop's browser opens it: with none to start, the page is not opened.
  const char* path = std::getenv("PATH");
  const std::string savedPath = path ? path : "";
  setenv("PATH", scratch("no_browser_here").c_str(), 1);
  EXPECT_FALSE(more->openPage());
  setenv("PATH", savedPath.c_str(), 1);
  std::remove(scratch("shared_id").c_str());
}

}  // namespace
