// Checks of the shipped language files: the copies beside the executable must be
// well-formed, carry the full header, hold the same keys in every language with
// matching printf placeholders, and give a text for every key the game looks up.

#include <gtest/gtest.h>

#include "LanguageFile.h"
#include "fnt.hpp"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char* const kProgramVersion = "0.1";
const char* const kHeaderAttributes[] = {
    "program_version", "language_id",      "language_code",        "language_name",
    "language_enname", "language_version", "language_translators",
};

struct LangEntry {
  std::string key;
  std::string text;
};

// What a language file holds, read the way the game reads it (libxml2, UTF-8 as given).
struct LangFile {
  bool parsed = false;
  std::string rootName;
  std::map<std::string, std::string> header;
  std::vector<LangEntry> entries;        // every `string` element, in file order
  std::vector<std::string> strayNodes;   // elements other than `string`, or `string` without key
};

std::string binPath(const std::string& name) { return std::string(MV_BIN_DIR) + "/language/" + name; }
std::string sourcePath(const std::string& name) {
  return std::string(MV_SOURCE_DIR) + "/assets/language/" + name;
}

std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void quietXmlErrors(void*, const char*, ...) {}

LangFile loadLangFile(const std::string& path) {
  LangFile file;
  xmlSetGenericErrorFunc(nullptr, quietXmlErrors);
  xmlDocPtr doc = xmlReadFile(path.c_str(), nullptr, XML_PARSE_NONET);
  if (!doc) return file;
  file.parsed = true;
  xmlNodePtr root = xmlDocGetRootElement(doc);
  if (root) {
    file.rootName = reinterpret_cast<const char*>(root->name);
    for (const char* attr : kHeaderAttributes) {
      xmlChar* value = xmlGetProp(root, reinterpret_cast<const xmlChar*>(attr));
      if (value) {
        file.header[attr] = reinterpret_cast<const char*>(value);
        xmlFree(value);
      }
    }
    for (xmlNodePtr node = root->children; node; node = node->next) {
      if (node->type != XML_ELEMENT_NODE) continue;
      std::string name = reinterpret_cast<const char*>(node->name);
      xmlChar* key = xmlGetProp(node, reinterpret_cast<const xmlChar*>("key"));
      if (name != "string" || !key) {
        file.strayNodes.push_back(name);
        if (key) xmlFree(key);
        continue;
      }
      LangEntry entry;
      entry.key = reinterpret_cast<const char*>(key);
      xmlFree(key);
      xmlChar* content = xmlNodeGetContent(node);
      if (content) {
        entry.text = reinterpret_cast<const char*>(content);
        xmlFree(content);
      }
      file.entries.push_back(entry);
    }
  }
  xmlFreeDoc(doc);
  return file;
}

std::map<std::string, std::string> textsByKey(const LangFile& file) {
  std::map<std::string, std::string> texts;
  for (const LangEntry& e : file.entries) texts[e.key] = e.text;
  return texts;
}

std::vector<std::string> readRequiredKeys() {
  std::vector<std::string> keys;
  std::ifstream in(sourcePath("required-keys.txt"));
  std::string line;
  while (std::getline(in, line)) {
    size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    size_t b = line.find_first_not_of(" \t\r");
    if (b == std::string::npos) continue;
    size_t e = line.find_last_not_of(" \t\r");
    keys.push_back(line.substr(b, e - b + 1));
  }
  return keys;
}

// The printf conversions of a text, in order ("%d", "%s", "%5.2f" ...); "%%" is not one.
std::vector<std::string> placeholders(const std::string& text) {
  std::vector<std::string> found;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') continue;
    if (i + 1 < text.size() && text[i + 1] == '%') {
      ++i;
      continue;
    }
    size_t j = i + 1;
    while (j < text.size() && std::string("-+ #0123456789.*'lhqjztL").find(text[j]) != std::string::npos) ++j;
    found.push_back(text.substr(i, j - i + (j < text.size() ? 1 : 0)));
    i = j;
  }
  return found;
}

// Decodes UTF-8 into code points; returns false on a malformed sequence.
bool decodeUtf8(const std::string& s, std::vector<unsigned>& out) {
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
    if (extra < 0 || i + extra >= s.size()) return false;
    unsigned cp = extra == 0 ? c : c & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      unsigned char cc = static_cast<unsigned char>(s[i + k]);
      if ((cc >> 6) != 2) return false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    out.push_back(cp);
    i += extra + 1;
  }
  return true;
}

std::string encodeUtf8(unsigned cp) {
  std::string s;
  if (cp < 0x80) {
    s += static_cast<char>(cp);
  } else if (cp < 0x800) {
    s += static_cast<char>(0xC0 | (cp >> 6));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    s += static_cast<char>(0xE0 | (cp >> 12));
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return s;
}

struct LanguageCase {
  const char* fileName;
  const char* code;
};

void PrintTo(const LanguageCase& lang, std::ostream* os) { *os << lang.fileName; }

const LanguageCase kLanguages[] = {{"english.lng", "en"}, {"russian.lng", "ru"}};

class LanguageFileTest : public ::testing::TestWithParam<LanguageCase> {
 protected:
  void SetUp() override { file_ = loadLangFile(binPath(GetParam().fileName)); }
  LangFile file_;
};

TEST_P(LanguageFileTest, InstalledCopyMatchesItsSource) {
  std::string installed = readBytes(binPath(GetParam().fileName));
  ASSERT_FALSE(installed.empty()) << binPath(GetParam().fileName) << " is missing";
  std::string source = readBytes(sourcePath(GetParam().fileName));
  // Report where they part, not the whole file.
  size_t at = 0;
  while (at < installed.size() && at < source.size() && installed[at] == source[at]) ++at;
  EXPECT_TRUE(at == installed.size() && at == source.size())
      << "the copy in the build differs from assets/language from byte " << at << " on";
}

TEST_P(LanguageFileTest, IsWellFormedWithTheFullHeader) {
  ASSERT_TRUE(file_.parsed) << "not well-formed XML";
  EXPECT_EQ(file_.rootName, "Mirrowvale");
  for (const char* attr : kHeaderAttributes) {
    auto it = file_.header.find(attr);
    ASSERT_NE(it, file_.header.end()) << "missing attribute " << attr;
    EXPECT_FALSE(it->second.empty()) << "empty attribute " << attr;
  }
  EXPECT_EQ(file_.header["program_version"], kProgramVersion);
  EXPECT_EQ(file_.header["language_code"], GetParam().code);
  EXPECT_TRUE(file_.strayNodes.empty()) << "unexpected element <" << file_.strayNodes.front() << ">";
}

TEST_P(LanguageFileTest, EveryKeyIsUniqueWithAProperText) {
  ASSERT_TRUE(file_.parsed);
  std::set<std::string> seen;
  for (const LangEntry& e : file_.entries) {
    EXPECT_FALSE(e.key.empty());
    EXPECT_TRUE(seen.insert(e.key).second) << "duplicate key " << e.key;
    EXPECT_NE(e.text.find_first_not_of(" \t\r\n"), std::string::npos) << e.key << " has no text";
    std::vector<unsigned> cps;
    EXPECT_TRUE(decodeUtf8(e.text, cps)) << e.key << " is not valid UTF-8";
    for (unsigned cp : cps) EXPECT_GE(cp, 0x20u) << e.key << " holds a control character (labels wrap by width)";
    if (!e.text.empty()) {
      EXPECT_NE(e.text.front(), ' ') << e.key << " begins with a space";
    }
  }
}

TEST_P(LanguageFileTest, HoldsEveryKeyTheGameLooksUp) {
  ASSERT_TRUE(file_.parsed);
  std::vector<std::string> required = readRequiredKeys();
  ASSERT_GT(required.size(), 100u) << "required-keys.txt not found or truncated";
  std::map<std::string, std::string> texts = textsByKey(file_);
  for (const std::string& key : required) EXPECT_TRUE(texts.count(key)) << "missing key " << key;
}

// The game glues some texts to a number or a name; their ends must suit the glue.
TEST_P(LanguageFileTest, JoinedTextsCarryTheirOwnSeparators) {
  ASSERT_TRUE(file_.parsed);
  std::map<std::string, std::string> texts = textsByKey(file_);
  // Followed directly by a number: the text ends with its own space.
  for (const char* key : {"REQUIRED_MANA", "REQUIRED_DWARVES"}) {
    ASSERT_TRUE(texts.count(key)) << key;
    EXPECT_EQ(texts[key].back(), ' ') << key << " runs into the number after it";
  }
  // Followed by ": ", " " or preceded by " ": no spaces of their own at the ends.
  for (const char* key : {"MANA", "DWARVES", "TURN", "GAME_STARTED_YOUR_OPPONENT", "CHALLENGES_YOU", "YOU", "AI"}) {
    ASSERT_TRUE(texts.count(key)) << key;
    EXPECT_NE(texts[key].back(), ' ') << key;
  }
  for (const char* key : {"MANA", "DWARVES", "YOU", "AI"}) EXPECT_NE(texts[key].back(), ':') << key;
}

INSTANTIATE_TEST_SUITE_P(Languages, LanguageFileTest, ::testing::ValuesIn(kLanguages),
                         [](const ::testing::TestParamInfo<LanguageCase>& info) {
                           return std::string(info.param.code);
                         });

TEST(LanguageFiles, AllLanguagesHoldTheSameKeys) {
  LangFile english = loadLangFile(binPath("english.lng"));
  ASSERT_TRUE(english.parsed);
  std::map<std::string, std::string> reference = textsByKey(english);
  for (const LanguageCase& lang : kLanguages) {
    LangFile other = loadLangFile(binPath(lang.fileName));
    ASSERT_TRUE(other.parsed) << lang.fileName;
    std::map<std::string, std::string> texts = textsByKey(other);
    for (const auto& kv : reference) EXPECT_TRUE(texts.count(kv.first)) << lang.fileName << " lacks " << kv.first;
    for (const auto& kv : texts) EXPECT_TRUE(reference.count(kv.first)) << lang.fileName << " has extra " << kv.first;
  }
}

TEST(LanguageFiles, PlaceholdersMatchKeyByKey) {
  LangFile english = loadLangFile(binPath("english.lng"));
  ASSERT_TRUE(english.parsed);
  std::map<std::string, std::string> reference = textsByKey(english);
  for (const LanguageCase& lang : kLanguages) {
    std::map<std::string, std::string> texts = textsByKey(loadLangFile(binPath(lang.fileName)));
    for (const auto& kv : texts) {
      auto ref = reference.find(kv.first);
      if (ref == reference.end()) continue;
      EXPECT_EQ(placeholders(kv.second), placeholders(ref->second)) << lang.fileName << " key " << kv.first;
    }
  }
}

// The bitmap fonts are baked for ASCII and Cyrillic; any other character would be
// skipped by the labels. The set in use is printed for whoever bakes the fonts.
TEST(LanguageFiles, CharactersFitTheBakedFonts) {
  std::set<unsigned> all;
  for (const LanguageCase& lang : kLanguages) {
    LangFile file = loadLangFile(binPath(lang.fileName));
    ASSERT_TRUE(file.parsed) << lang.fileName;
    std::set<unsigned> used;
    for (const LangEntry& e : file.entries) {
      std::vector<unsigned> cps;
      decodeUtf8(e.text, cps);
      for (unsigned cp : cps) {
        if (cp < 0x80) continue;
        used.insert(cp);
        EXPECT_TRUE(cp >= 0x0400 && cp <= 0x04FF)
            << lang.fileName << " key " << e.key << " uses U+" << std::hex << cp << " outside ASCII and Cyrillic";
      }
    }
    std::string chars;
    for (unsigned cp : used) chars += encodeUtf8(cp);
    std::printf("[ info ] %s: %zu distinct non-ASCII characters: %s\n", lang.fileName, used.size(), chars.c_str());
    all.insert(used.begin(), used.end());
  }
  std::string codes;
  for (unsigned cp : all) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%sU+%04X", codes.empty() ? "" : " ", cp);
    codes += buf;
  }
  std::printf("[ info ] all languages: %zu distinct non-ASCII characters: %s\n", all.size(), codes.c_str());
}

}  // namespace

// The game's own loader takes both shipped files and lists them in order.
TEST(LanguageFiles, TheGameLoadsAndListsBothFiles) {
  const std::string folder = std::string(MV_BIN_DIR) + "/language";
  for (const char* name : {"english.lng", "russian.lng"}) {
    LanguageFile table;
    EXPECT_EQ(table.load((folder + "/" + name).c_str(), "0.1"), 0) << name;
    EXPECT_GT(table.size(), 100u) << name;
    EXPECT_STRNE(table.getString("NO_VALID_TARGETS"), "NO_VALID_TARGETS") << name;
  }
  LanguageFile table;
  char previous[4096];
  ASSERT_NE(nullptr, getcwd(previous, sizeof previous));
  ASSERT_EQ(0, chdir(MV_BIN_DIR));  // the game runs in its own folder
  auto& list = table.listLanguages(folder, "0.1");
  EXPECT_EQ(0, chdir(previous));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].language_code, "en");
  EXPECT_EQ(list[1].language_code, "ru");
}

// Every text the game can show in either language can be drawn by every baked font.
TEST(LanguageFiles, EveryFontDrawsEveryText) {
  const std::string fonts = std::string(MV_BIN_DIR) + "/fonts/";
  std::string text;
  for (const LanguageCase& lang : kLanguages)
    for (const LangEntry& e : loadLangFile(binPath(lang.fileName)).entries) text += e.text;
  ASSERT_FALSE(text.empty());
  for (const char* name : {"font-14", "body", "72", "button", "title", "Economica-130"}) {
    for (const char* twin : {"", "-selected"}) {
      art::FntFile font;
      std::string error;
      const std::string path = fonts + name + twin + ".fnt";
      ASSERT_TRUE(art::loadFnt(path, font, &error)) << path << ": " << error;
      std::set<uint32_t> missing = art::missingChars(font, text);
      EXPECT_TRUE(missing.empty()) << path << " lacks " << missing.size() << " characters, first U+"
                                   << std::hex << (missing.empty() ? 0u : *missing.begin());
    }
  }
}
