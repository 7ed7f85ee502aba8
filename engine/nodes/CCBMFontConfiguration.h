#pragma once

#include <map>
#include <string>
#include <vector>

#include "CCGeometry.h"
#include "CCObject.h"
#include "ccTypes.h"

NS_CC_BEGIN

// One glyph of a bitmap font: its rectangle in the atlas and its placement.
struct ccBMFontDef {
  unsigned int charID = 0;
  CCRect rect;
  short xOffset = 0;
  short yOffset = 0;
  short xAdvance = 0;
};

struct ccBMFontPadding {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// A bitmap font read from an AngelCode text .fnt file (info, common, page, chars, char,
// kernings, kerning lines). Configurations are shared through a cache by file name.
class CCBMFontConfiguration : public CCObject {
 public:
  // Loads a .fnt file (path as given to the file utilities); null when it cannot be used.
  static CCBMFontConfiguration* create(const char* FNTfile);
  // Parses .fnt text; atlasFolder is prepended to the page file name. False on a file without
  // a usable common line, page or glyph.
  bool initWithText(const std::string& text, const std::string& atlasFolder,
                    const std::string& fileNameForLog);

  const ccBMFontDef* fontDef(unsigned int charID) const;
  // The kerning between two characters, 0 when none.
  int kerning(unsigned int first, unsigned int second) const;
  const std::string& getAtlasName() const { return m_sAtlasName; }

  int m_nCommonHeight = 0;
  ccBMFontPadding m_tPadding;
  std::string m_sAtlasName;

 private:
  std::map<unsigned int, ccBMFontDef> m_glyphs;
  std::map<unsigned long long, int> m_kernings;
};

// The shared configuration of a font file (loaded on first use), or null.
CCBMFontConfiguration* FNTConfigLoadFile(const char* file);
void FNTConfigRemoveCache();

// Where the glyphs of a text go: the result of laying out a label without drawing it.
struct ccBMFontGlyphPlacement {
  unsigned int charID;
  CCRect rect;      // atlas rectangle
  CCPoint center;   // centre of the glyph's quad in label space
  int index;        // position of the character in the text
};

struct ccBMFontLayout {
  std::vector<ccBMFontGlyphPlacement> glyphs;
  CCSize size;
};

// Lays out a UTF-16 text: lines broken at '\n' and, when width > 0, before a word that would
// pass the width (a word longer than the width keeps its own line); lines aligned within the
// widest line (or the width when set). Characters missing from the font are logged and
// skipped. y grows upward; the first line is at the top.
ccBMFontLayout ccBMFontLayoutText(const CCBMFontConfiguration& config,
                                  const std::u16string& text, float width,
                                  CCTextAlignment alignment, const CCPoint& imageOffset);

// UTF-8 <-> UTF-16; invalid bytes become U+FFFD.
std::u16string ccUTF8ToUTF16(const std::string& utf8);
std::string ccUTF16ToUTF8(const std::u16string& utf16);

NS_CC_END
