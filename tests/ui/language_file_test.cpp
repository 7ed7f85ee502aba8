#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "LanguageFile.h"

namespace {

const char* const kHeader =
    "program_version=\"0.1\" language_id=\"1\" language_code=\"en\" language_name=\"English\" "
    "language_enname=\"English\" language_version=\"3\" language_translators=\"Brindlecor\"";

class LanguageFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::string(::testing::TempDir()) + "mvlang_" + std::to_string(::getpid());
    ::mkdir(dir_.c_str(), 0700);
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  std::string write(const std::string& name, const std::string& text) {
    std::string path = dir_ + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  std::string lng(const std::string& header, const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Mirrowvale " + header + ">" + body +
           "</Mirrowvale>\n";
  }
  std::string dir_;
};

TEST_F(LanguageFileTest, LoadReportsEachFailureByItsCode) {
  std::string header = kHeader;
  auto without = [&](const std::string& attr) {
    std::string h = header;
    size_t at = h.find(attr + "=\"");
    size_t end = h.find('"', h.find('"', at) + 1);
    return h.erase(at, end - at + 1);
  };
  struct Case {
    std::string name, text;
    int code;
  } cases[] = {
      {"good.lng", lng(header, "<string key=\"A\">a</string>"), 0},
      {"broken.lng", "<Mirrowvale program_version=\"0.1\"><string>", -1},
      {"empty.lng", "", -1},
      {"otherroot.lng", "<Castle " + header + "/>", -2},
      {"noversion.lng", lng(without("program_version"), ""), -2},
      {"oldversion.lng", lng("program_version=\"0.2\"", ""), -3},
      {"nocode.lng", lng(without("language_code"), ""), -2},
      {"notranslators.lng", lng(without("language_translators"), ""), -2},
  };
  for (const Case& c : cases) {
    LanguageFile table;
    EXPECT_EQ(table.load(write(c.name, c.text).c_str(), "0.1"), c.code) << c.name;
    EXPECT_EQ(table.isLoaded(), c.code == 0) << c.name;
  }
  LanguageFile table;
  EXPECT_EQ(table.load((dir_ + "/missing.lng").c_str(), "0.1"), -1);
}

TEST_F(LanguageFileTest, LookupsFallBackToTheKeyItself) {
  LanguageFile table;
  const char* key = "NO_VALID_TARGETS";
  EXPECT_EQ(table.getString(key), key);  // before any load: the very pointer
  std::string path = write("en.lng", lng(kHeader,
                                         "<string key=\"NO_VALID_TARGETS\">No targets</string>"
                                         "<!-- note --><other key=\"X\">x</other>"
                                         "<string>no key</string><string key=\"EMPTY\"/>"
                                         "<string key=\"DUP\">first</string>"
                                         "<string key=\"DUP\">second</string>"
                                         "<string key=\"DUP\"></string>"
                                         "<string key=\"RU\">Гном</string>"));
  ASSERT_EQ(table.load(path.c_str(), "0.1"), 0);
  EXPECT_STREQ(table.getString(key), "No targets");
  EXPECT_STREQ(table.getString("DUP"), "second");
  EXPECT_STREQ(table.getString("RU"), "Гном");
  const char* empty = "EMPTY";
  EXPECT_EQ(table.getString(empty), empty);  // an element without text is skipped
  const char* missing = "X";
  EXPECT_EQ(table.getString(missing), missing);
  EXPECT_EQ(table.language_code, "en");
  EXPECT_EQ(table.language_translators, "Brindlecor");
}

TEST_F(LanguageFileTest, EmptyArgumentsKeepTheTableButAFailedLoadEmptiesIt) {
  LanguageFile table;
  std::string path = write("en.lng", lng(kHeader, "<string key=\"A\">a</string>"));
  ASSERT_EQ(table.load(path.c_str(), "0.1"), 0);
  EXPECT_EQ(table.load("", "0.1"), -4);
  EXPECT_EQ(table.load(path.c_str(), nullptr), -4);
  EXPECT_EQ(table.load(nullptr, "0.1"), -4);
  EXPECT_STREQ(table.getString("A"), "a");
  EXPECT_TRUE(table.isLoaded());

  EXPECT_EQ(table.load(path.c_str(), "0.2"), -3);
  EXPECT_FALSE(table.isLoaded());
  EXPECT_STREQ(table.getString("A"), "A");
  EXPECT_TRUE(table.language_code.empty());
}

// The game's two files in the "language" folder of the working folder, whatever folder
// the caller names; the paths listed load as they stand.
TEST_F(LanguageFileTest, ListingFindsTheGamesTwoFilesInOrder) {
  char previous[4096];
  ASSERT_NE(nullptr, ::getcwd(previous, sizeof previous));
  ASSERT_EQ(0, ::chdir(dir_.c_str()));
  ::mkdir("language", 0700);
  LanguageFile table;
  EXPECT_TRUE(table.listLanguages("language", "0.1").empty());
  write("language/english.lng", lng(kHeader, "<string key=\"A\">a</string>"));
  write("elsewhere.lng", lng(kHeader, ""));
  auto& one = table.listLanguages(dir_ + "/elsewhere", "0.1");
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].path, "language/english.lng");
  EXPECT_EQ(one[0].language_enname, "English");
  EXPECT_EQ(table.load(one[0].path.c_str(), "0.1"), 0);
  EXPECT_STREQ(table.getString("A"), "a");
  std::string ru = kHeader;
  ru.replace(ru.find("\"en\""), 4, "\"ru\"");
  write("language/russian.lng", lng(ru, ""));
  auto& two = table.listLanguages("", "0.1");
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[1].path, "language/russian.lng");
  EXPECT_EQ(two[1].language_code, "ru");
  EXPECT_TRUE(table.listLanguages("language", "0.3").empty());
  EXPECT_EQ(0, ::chdir(previous));
}

}  // namespace
