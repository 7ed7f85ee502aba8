#include "CCBMFontConfiguration.h"

#include <cstdlib>
#include <sstream>

#include "CCFileUtils.h"

NS_CC_BEGIN

namespace {

// Splits "key=value key2="quoted value"" into pairs.
std::map<std::string, std::string> fields(const std::string& line, size_t from) {
  std::map<std::string, std::string> out;
  size_t i = from;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    size_t keyStart = i;
    while (i < line.size() && line[i] != '=' && line[i] != ' ' && line[i] != '\t') ++i;
    std::string key = line.substr(keyStart, i - keyStart);
    std::string value;
    if (i < line.size() && line[i] == '=') {
      ++i;
      if (i < line.size() && line[i] == '"') {
        size_t end = line.find('"', i + 1);
        if (end == std::string::npos) end = line.size();
        value = line.substr(i + 1, end - i - 1);
        i = end + 1;
      } else {
        size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        value = line.substr(start, i - start);
      }
    }
    if (!key.empty()) out[key] = value;
  }
  return out;
}

bool intField(const std::map<std::string, std::string>& f, const char* key, long& out) {
  auto it = f.find(key);
  if (it == f.end() || it->second.empty()) return false;
  char* end = nullptr;
  out = std::strtol(it->second.c_str(), &end, 10);
  return end && *end == '\0';
}

// Lives as long as the process: the configurations it holds stay reachable until exit,
// also after the static objects of other files have gone.
std::map<std::string, CCBMFontConfiguration*>& cache() {
  static auto* c = new std::map<std::string, CCBMFontConfiguration*>();
  return *c;
}

}  // namespace

CCBMFontConfiguration* CCBMFontConfiguration::create(const char* FNTfile) {
  if (!FNTfile || !*FNTfile) return nullptr;
  CCFileUtils* fu = CCFileUtils::sharedFileUtils();
  std::string path = fu->fullPathForFilename(FNTfile);
  unsigned long size = 0;
  unsigned char* data = fu->getFileData(path.c_str(), "rb", &size);
  if (!data) {
    CCLOGERROR("CCBMFontConfiguration: cannot read %s", FNTfile);
    return nullptr;
  }
  std::string text(reinterpret_cast<char*>(data), size);
  delete[] data;
  size_t slash = path.find_last_of('/');
  std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  CCBMFontConfiguration* config = new CCBMFontConfiguration();
  return ccAutoreleaseIfInit(config, config->initWithText(text, folder, FNTfile));
}

bool CCBMFontConfiguration::initWithText(const std::string& text, const std::string& atlasFolder,
                                         const std::string& fileNameForLog) {
  const char* name = fileNameForLog.c_str();
  bool haveCommon = false;
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t sp = line.find_first_of(" \t");
    std::string tag = line.substr(0, sp);
    size_t rest = sp == std::string::npos ? line.size() : sp;
    if (tag == "info") {
      auto f = fields(line, rest);
      auto it = f.find("padding");
      if (it != f.end()) {
        int p[4] = {0, 0, 0, 0};
        if (std::sscanf(it->second.c_str(), "%d,%d,%d,%d", &p[0], &p[1], &p[2], &p[3]) == 4) {
          m_tPadding.left = p[0];
          m_tPadding.top = p[1];
          m_tPadding.right = p[2];
          m_tPadding.bottom = p[3];
        }
      }
    } else if (tag == "common") {
      auto f = fields(line, rest);
      long height = 0, pages = 1;
      if (!intField(f, "lineHeight", height) || height <= 0 || height > 4096) {
        CCLOGERROR("%s:%d: bad line height", name, lineNo);
        return false;
      }
      if (intField(f, "pages", pages) && pages != 1)
        CCLOGWARN("%s: only one page is supported, %ld given", name, pages);
      m_nCommonHeight = static_cast<int>(height);
      haveCommon = true;
    } else if (tag == "page") {
      auto f = fields(line, rest);
      long id = 0;
      if (intField(f, "id", id) && id != 0) continue;  // extra pages are not used
      auto it = f.find("file");
      if (it == f.end() || it->second.empty()) {
        CCLOGERROR("%s:%d: page without a file", name, lineNo);
        return false;
      }
      m_sAtlasName = atlasFolder + it->second;
    } else if (tag == "char") {
      auto f = fields(line, rest);
      long id, x, y, w, h, xo = 0, yo = 0, xa = 0;
      if (!intField(f, "id", id) || !intField(f, "x", x) || !intField(f, "y", y) ||
          !intField(f, "width", w) || !intField(f, "height", h) ||
          !intField(f, "xadvance", xa)) {
        CCLOGWARN("%s:%d: char line without its numbers, skipped", name, lineNo);
        continue;
      }
      intField(f, "xoffset", xo);
      intField(f, "yoffset", yo);
      if (id < 0 || id > 0x10FFFF || x < 0 || y < 0 || w < 0 || h < 0 || w > 8192 || h > 8192 ||
          x > 65536 || y > 65536 || xo < -32768 || xo > 32767 || yo < -32768 || yo > 32767 ||
          xa < -32768 || xa > 32767) {
        CCLOGWARN("%s:%d: char values out of range, skipped", name, lineNo);
        continue;
      }
      ccBMFontDef def;
      def.charID = static_cast<unsigned int>(id);
      def.rect = CCRect(static_cast<float>(x), static_cast<float>(y), static_cast<float>(w),
                        static_cast<float>(h));
      def.xOffset = static_cast<short>(xo);
      def.yOffset = static_cast<short>(yo);
      def.xAdvance = static_cast<short>(xa);
      m_glyphs[def.charID] = def;
    } else if (tag == "kerning") {
      auto f = fields(line, rest);
      long first, second, amount;
      if (!intField(f, "first", first) || !intField(f, "second", second) ||
          !intField(f, "amount", amount) || first < 0 || second < 0 || first > 0x10FFFF ||
          second > 0x10FFFF || amount < -32768 || amount > 32767) {
        CCLOGWARN("%s:%d: bad kerning line, skipped", name, lineNo);
        continue;
      }
      m_kernings[(static_cast<unsigned long long>(first) << 32) |
                 static_cast<unsigned long long>(second)] = static_cast<int>(amount);
    }
  }
  if (!haveCommon || m_sAtlasName.empty() || m_glyphs.empty()) {
    CCLOGERROR("%s: not a bitmap font (common line, page and glyphs needed)", name);
    return false;
  }
  return true;
}

const ccBMFontDef* CCBMFontConfiguration::fontDef(unsigned int charID) const {
  auto it = m_glyphs.find(charID);
  return it == m_glyphs.end() ? nullptr : &it->second;
}

int CCBMFontConfiguration::kerning(unsigned int first, unsigned int second) const {
  auto it = m_kernings.find((static_cast<unsigned long long>(first) << 32) | second);
  return it == m_kernings.end() ? 0 : it->second;
}

CCBMFontConfiguration* FNTConfigLoadFile(const char* file) {
  if (!file) return nullptr;
  auto it = cache().find(file);
  if (it != cache().end()) return it->second;
  CCBMFontConfiguration* config = CCBMFontConfiguration::create(file);
  if (!config) return nullptr;
  config->retain();
  cache()[file] = config;
  return config;
}

void FNTConfigRemoveCache() {
  for (auto& kv : cache()) kv.second->release();
  cache().clear();
}

ccBMFontLayout ccBMFontLayoutText(const CCBMFontConfiguration& config,
                                  const std::u16string& text, float width,
                                  CCTextAlignment alignment, const CCPoint& imageOffset) {
  // First the characters the font knows, with their text positions; missing ones are dropped.
  struct Item {
    unsigned int ch;
    int index;
    const ccBMFontDef* def;
  };
  std::vector<Item> items;
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned int c = text[i];
    if (c == '\n') {
      items.push_back({c, static_cast<int>(i), nullptr});
      continue;
    }
    const ccBMFontDef* def = config.fontDef(c);
    if (!def) {
      CCLOGWARN("invalid character found: 0x%04x in font: %s", c, config.m_sAtlasName.c_str());
      continue;
    }
    items.push_back({c, static_cast<int>(i), def});
  }

  // Break into lines.
  std::vector<std::vector<Item>> lines(1);
  auto advanceOf = [&](const std::vector<Item>& line, const Item& it) {
    int k = line.empty() ? 0 : config.kerning(line.back().ch, it.ch);
    return static_cast<float>(it.def->xAdvance + k);
  };
  auto lineWidth = [&](const std::vector<Item>& line) {
    float w = 0;
    for (size_t i = 0; i < line.size(); ++i)
      w += line[i].def->xAdvance + (i ? config.kerning(line[i - 1].ch, line[i].ch) : 0);
    return w;
  };
  size_t i = 0;
  while (i < items.size()) {
    if (items[i].ch == '\n') {
      lines.emplace_back();
      ++i;
      continue;
    }
    // A word, or a run of spaces, as one piece.
    bool space = items[i].ch == ' ';
    size_t j = i;
    while (j < items.size() && items[j].ch != '\n' && (items[j].ch == ' ') == space) ++j;
    std::vector<Item>& line = lines.back();
    if (width > 0 && !space && !line.empty()) {
      float w = lineWidth(line);
      std::vector<Item> probe = line;
      for (size_t k = i; k < j; ++k) {
        w += advanceOf(probe, items[k]);
        probe.push_back(items[k]);
      }
      if (w > width) {
        // Trailing spaces stay with the old line out of sight: drop them.
        while (!line.empty() && line.back().ch == ' ') line.pop_back();
        lines.emplace_back();
      }
    }
    std::vector<Item>& target = lines.back();
    for (size_t k = i; k < j; ++k) {
      if (space && target.empty() && lines.size() > 1 && width > 0) continue;  // wrapped line
      target.push_back(items[k]);
    }
    i = j;
  }

  ccBMFontLayout out;
  std::vector<float> widths;
  float longest = 0;
  for (const auto& line : lines) {
    widths.push_back(lineWidth(line));
    if (widths.back() > longest) longest = widths.back();
  }
  bool any = false;
  for (const auto& line : lines) any = any || !line.empty();
  if (!any && lines.size() == 1) return out;

  const float lineHeight = static_cast<float>(config.m_nCommonHeight);
  const float total = lineHeight * lines.size();
  for (size_t l = 0; l < lines.size(); ++l) {
    float shift = 0;
    if (alignment == kCCTextAlignmentCenter) shift = (longest - widths[l]) / 2;
    if (alignment == kCCTextAlignmentRight) shift = longest - widths[l];
    float penX = shift;
    float top = total - lineHeight * l;
    const auto& line = lines[l];
    for (size_t k = 0; k < line.size(); ++k) {
      const ccBMFontDef& def = *line[k].def;
      int kern = k ? config.kerning(line[k - 1].ch, line[k].ch) : 0;
      ccBMFontGlyphPlacement g;
      g.charID = line[k].ch;
      g.rect = def.rect;
      g.rect.origin.x += imageOffset.x;
      g.rect.origin.y += imageOffset.y;
      g.center = CCPoint(penX + kern + def.xOffset + def.rect.size.width / 2,
                         top - def.yOffset - def.rect.size.height / 2);
      g.index = line[k].index;
      out.glyphs.push_back(g);
      penX += def.xAdvance + kern;
    }
  }
  out.size = CCSize(longest, total);
  return out;
}

std::u16string ccUTF8ToUTF16(const std::string& s) {
  std::u16string out;
  size_t i = 0;
  while (i < s.size()) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    unsigned int cp;
    int extra;
    if (c < 0x80) {
      cp = c;
      extra = 0;
    } else if ((c & 0xE0) == 0xC0) {
      cp = c & 0x1F;
      extra = 1;
    } else if ((c & 0xF0) == 0xE0) {
      cp = c & 0x0F;
      extra = 2;
    } else if ((c & 0xF8) == 0xF0) {
      cp = c & 0x07;
      extra = 3;
    } else {
      out += u'\uFFFD';
      ++i;
      continue;
    }
    bool ok = true;
    for (int k = 1; ok && k <= extra; ++k) {
      if (i + k >= s.size()) {
        ok = false;
        break;
      }
      unsigned char cc = static_cast<unsigned char>(s[i + k]);
      if ((cc & 0xC0) != 0x80) ok = false;
      else cp = (cp << 6) | (cc & 0x3F);
    }
    if (!ok || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out += u'\uFFFD';
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
    i += extra + 1;
  }
  return out;
}

std::string ccUTF16ToUTF8(const std::u16string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    unsigned int cp = s[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
        s[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

NS_CC_END
