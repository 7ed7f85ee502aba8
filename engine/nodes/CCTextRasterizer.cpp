#include "CCTextRasterizer.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "CCBMFontConfiguration.h"

NS_CC_BEGIN

namespace {

const char* kFontFolder = "/usr/share/fonts/truetype/dejavu/";

bool readable(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

FT_Library library() {
  static FT_Library lib = nullptr;
  static bool tried = false;
  if (!tried) {
    tried = true;
    if (FT_Init_FreeType(&lib) != 0) {
      CCLOGERROR("FreeType cannot start");
      lib = nullptr;
    }
  }
  return lib;
}

// Faces stay open for the run: labels are made often, fonts are few.
FT_Face face(const std::string& path) {
  static std::map<std::string, FT_Face> faces;
  auto it = faces.find(path);
  if (it != faces.end()) return it->second;
  FT_Face f = nullptr;
  if (!library() || FT_New_Face(library(), path.c_str(), 0, &f) != 0) {
    CCLOGERROR("cannot open font %s", path.c_str());
    f = nullptr;
  }
  faces[path] = f;
  return f;
}

}  // namespace

std::string ccFontFileForName(const std::string& name) {
  if (name.size() > 4 && name.compare(name.size() - 4, 4, ".ttf") == 0) {
    if (readable(name)) return name;
    std::string local = std::string(kFontFolder) + name;
    if (readable(local)) return local;
  }
  bool bold = name.find("Bold") != std::string::npos || name.find("bold") != std::string::npos;
  return std::string(kFontFolder) + (bold ? "DejaVuSans-Bold.ttf" : "DejaVuSans.ttf");
}

bool ccRasterizeText(const std::string& utf8, const std::string& fontName, float fontSize,
                     int boxWidth, int boxHeight, CCTextAlignment hAlign,
                     CCVerticalTextAlignment vAlign, ccRasterizedText& out) {
  out = ccRasterizedText();
  FT_Face f = face(ccFontFileForName(fontName));
  if (!f) return false;
  int pixelSize = std::max(1, std::min(512, static_cast<int>(std::lround(fontSize))));
  FT_Set_Pixel_Sizes(f, 0, static_cast<FT_UInt>(pixelSize));
  const int ascender = static_cast<int>(f->size->metrics.ascender >> 6);
  const int lineHeight = std::max(1, static_cast<int>(f->size->metrics.height >> 6));
  std::u16string text = ccUTF8ToUTF16(utf8);

  auto advance = [&](char16_t c) -> int {
    if (FT_Load_Char(f, c, FT_LOAD_DEFAULT) != 0) return 0;
    return static_cast<int>(f->glyph->advance.x >> 6);
  };
  // Lines, broken at '\n' and, with a box width, before words that would not fit.
  std::vector<std::u16string> lines(1);
  std::vector<int> widths(1, 0);
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == u'\n') {
      lines.emplace_back();
      widths.push_back(0);
      ++i;
      continue;
    }
    size_t j = i;
    bool space = text[i] == u' ';
    while (j < text.size() && text[j] != u'\n' && (text[j] == u' ') == space) ++j;
    int w = 0;
    for (size_t k = i; k < j; ++k) w += advance(text[k]);
    if (boxWidth > 0 && !space && widths.back() > 0 && widths.back() + w > boxWidth) {
      while (!lines.back().empty() && lines.back().back() == u' ') {
        widths.back() -= advance(u' ');
        lines.back().pop_back();
      }
      lines.emplace_back();
      widths.push_back(0);
    }
    if (!(space && lines.back().empty() && lines.size() > 1 && boxWidth > 0)) {
      lines.back() += text.substr(i, j - i);
      widths.back() += w;
    }
    i = j;
  }
  int textWidth = *std::max_element(widths.begin(), widths.end());
  int textHeight = lineHeight * static_cast<int>(lines.size());
  out.width = boxWidth > 0 ? boxWidth : std::max(1, textWidth);
  out.height = boxHeight > 0 ? boxHeight : textHeight;
  if (out.width > 4096 || out.height > 4096) {
    CCLOGERROR("text too large to draw (%d x %d)", out.width, out.height);
    out = ccRasterizedText();
    return false;
  }
  out.rgba.assign(static_cast<size_t>(out.width) * out.height * 4, 0);
  for (size_t p = 0; p < out.rgba.size(); p += 4) out.rgba[p] = out.rgba[p + 1] = out.rgba[p + 2] = 255;
  int top = 0;
  if (vAlign == kCCVerticalTextAlignmentCenter) top = (out.height - textHeight) / 2;
  if (vAlign == kCCVerticalTextAlignmentBottom) top = out.height - textHeight;
  for (size_t l = 0; l < lines.size(); ++l) {
    int x = 0;
    if (hAlign == kCCTextAlignmentCenter) x = (out.width - widths[l]) / 2;
    if (hAlign == kCCTextAlignmentRight) x = out.width - widths[l];
    int baseline = top + static_cast<int>(l) * lineHeight + ascender;
    for (char16_t c : lines[l]) {
      if (FT_Load_Char(f, c, FT_LOAD_RENDER) != 0) continue;
      FT_GlyphSlot g = f->glyph;
      const FT_Bitmap& bm = g->bitmap;
      for (unsigned int row = 0; row < bm.rows; ++row) {
        int y = baseline - g->bitmap_top + static_cast<int>(row);
        if (y < 0 || y >= out.height) continue;
        for (unsigned int col = 0; col < bm.width; ++col) {
          int px = x + g->bitmap_left + static_cast<int>(col);
          if (px < 0 || px >= out.width) continue;
          unsigned char v = bm.buffer[row * bm.pitch + col];
          unsigned char& a = out.rgba[(static_cast<size_t>(y) * out.width + px) * 4 + 3];
          a = std::max(a, v);
        }
      }
      x += static_cast<int>(g->advance.x >> 6);
    }
  }
  return true;
}

NS_CC_END
