#include <gtest/gtest.h>

#include <string>

#include "CCBMFontConfiguration.h"
#include "test_util.h"

using namespace cocos2d;

namespace {

// A tiny font: A (10 x 12, advance 12), B (8 x 10, advance 9), space (advance 5); A then B
// kerns by -2. Line height 16.
const char* kFont =
    "info face=\"Test Sans\" size=16 bold=0 italic=0 charset=\"\" unicode=1 padding=1,2,3,4 "
    "spacing=1,1\r\n"
    "common lineHeight=16 base=13 scaleW=64 scaleH=64 pages=1 packed=0\r\n"
    "page id=0 file=\"test font.png\"\r\n"
    "chars count=3\r\n"
    "char id=65 x=0 y=0 width=10 height=12 xoffset=1 yoffset=2 xadvance=12 page=0 chnl=15\r\n"
    "char id=66 x=10 y=0 width=8 height=10 xoffset=0 yoffset=4 xadvance=9 page=0 chnl=15\r\n"
    "char id=32 x=0 y=0 width=0 height=0 xoffset=0 yoffset=13 xadvance=5 page=0 chnl=15\r\n"
    "kernings count=1\r\n"
    "kerning first=65 second=66 amount=-2\r\n";

CCBMFontConfiguration* parse(const std::string& text) {
  CCBMFontConfiguration* c = new CCBMFontConfiguration();
  if (!c->initWithText(text, "fonts/", "test.fnt")) {
    delete c;
    return nullptr;
  }
  c->autorelease();
  return c;
}

TEST(BMFontTest, TextFileGivesGlyphsKerningPaddingAndAtlasBesideTheFont) {
  mvtest::TempDir dir;
  ASSERT_TRUE(dir.write("f/test.fnt", kFont));
  std::string path = dir.file("f/test.fnt");
  CCBMFontConfiguration* c = FNTConfigLoadFile(path.c_str());
  ASSERT_NE(nullptr, c);
  EXPECT_EQ(c, FNTConfigLoadFile(path.c_str()));  // shared
  EXPECT_EQ(dir.file("f/test font.png"), c->getAtlasName());
  EXPECT_EQ(16, c->m_nCommonHeight);
  EXPECT_EQ(2, c->m_tPadding.top);
  EXPECT_EQ(4, c->m_tPadding.bottom);
  const ccBMFontDef* b = c->fontDef('B');
  ASSERT_NE(nullptr, b);
  EXPECT_EQ(10.f, b->rect.origin.x);
  EXPECT_EQ(8.f, b->rect.size.width);
  EXPECT_EQ(4, b->yOffset);
  EXPECT_EQ(9, b->xAdvance);
  EXPECT_EQ(nullptr, c->fontDef('C'));
  EXPECT_EQ(-2, c->kerning('A', 'B'));
  EXPECT_EQ(0, c->kerning('B', 'A'));
  FNTConfigRemoveCache();
  EXPECT_EQ(nullptr, FNTConfigLoadFile(dir.file("missing.fnt").c_str()));
}

TEST(BMFontTest, MalformedFilesAreRefusedAndBadLinesSkipped) {
  const std::string common = "common lineHeight=16 pages=1\n";
  const std::string page = "page id=0 file=\"a.png\"\n";
  const std::string glyph = "char id=65 x=0 y=0 width=4 height=4 xoffset=0 yoffset=0 xadvance=5\n";
  const struct {
    std::string text;
    bool usable;
  } cases[] = {
      {common + page + glyph, true},
      {page + glyph, false},                                       // no common line
      {common + glyph, false},                                     // no page
      {common + page, false},                                      // no glyphs
      {"common lineHeight=-3\n" + page + glyph, false},            // bad height
      {"common lineHeight=abc\n" + page + glyph, false},           // not a number
      {common + "page id=0 file=\"\n" + glyph, false},             // unterminated quote
      {"", false},
      {std::string("\0\xff\xfe junk", 8), false},
  };
  mvtest::LogCapture log;
  for (const auto& c : cases) EXPECT_EQ(c.usable, parse(c.text) != nullptr) << c.text;

  // Broken glyph and kerning lines are dropped, the rest stays.
  CCBMFontConfiguration* f = parse(common + page + glyph +
                                   "char id=66 x=0 y=0 width=-4 height=4 xadvance=5\n"
                                   "char id=67 x=0 y=0\n"
                                   "char id=68 x=0 y=0 width=99999999 height=4 xadvance=5\n"
                                   "kerning first=65 second=\n"
                                   "kerning first=65 second=65 amount=3\n");
  ASSERT_NE(nullptr, f);
  EXPECT_NE(nullptr, f->fontDef('A'));
  EXPECT_EQ(nullptr, f->fontDef('B'));
  EXPECT_EQ(nullptr, f->fontDef('C'));
  EXPECT_EQ(nullptr, f->fontDef('D'));
  EXPECT_EQ(3, f->kerning('A', 'A'));
}

struct LayoutCase {
  const char* name;
  std::u16string text;
  float width;
  CCTextAlignment align;
  CCSize size;
  std::vector<CCPoint> centers;
};

class BMFontLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(BMFontLayoutTest, GlyphsArePlacedByTheirMetrics) {
  const LayoutCase& c = GetParam();
  CCBMFontConfiguration* font = parse(kFont);
  ASSERT_NE(nullptr, font);
  ccBMFontLayout l = ccBMFontLayoutText(*font, c.text, c.width, c.align, CCPoint(0, 0));
  EXPECT_FLOAT_EQ(c.size.width, l.size.width);
  EXPECT_FLOAT_EQ(c.size.height, l.size.height);
  ASSERT_EQ(c.centers.size(), l.glyphs.size());
  for (size_t i = 0; i < c.centers.size(); ++i) {
    EXPECT_FLOAT_EQ(c.centers[i].x, l.glyphs[i].center.x) << i;
    EXPECT_FLOAT_EQ(c.centers[i].y, l.glyphs[i].center.y) << i;
  }
}

// A sits at pen + 1 + 5 and 16 - 2 - 6 from the top of its line; B at pen + 4 and 16 - 4 - 5.
INSTANTIATE_TEST_SUITE_P(
    Layouts, BMFontLayoutTest,
    ::testing::Values(
        LayoutCase{"kerned", u"AB", 0, kCCTextAlignmentLeft, CCSize(19, 16), {{6, 8}, {14, 7}}},
        LayoutCase{"unkerned", u"BA", 0, kCCTextAlignmentLeft, CCSize(21, 16), {{4, 7}, {15, 8}}},
        LayoutCase{"two lines", u"A\nB", 0, kCCTextAlignmentLeft, CCSize(12, 32),
                   {{6, 24}, {4, 7}}},
        LayoutCase{"centred", u"AB\nA", 0, kCCTextAlignmentCenter, CCSize(19, 32),
                   {{6, 24}, {14, 23}, {9.5f, 8}}},
        LayoutCase{"right", u"AB\nA", 0, kCCTextAlignmentRight, CCSize(19, 32),
                   {{6, 24}, {14, 23}, {13, 8}}},
        // "AB " is 24 wide; the next word would reach 43 > 25, so it wraps.
        LayoutCase{"wrapped", u"AB AB", 25, kCCTextAlignmentLeft, CCSize(19, 32),
                   {{6, 24}, {14, 23}, {6, 8}, {14, 7}}},
        LayoutCase{"fits", u"AB AB", 50, kCCTextAlignmentLeft, CCSize(43, 16),
                   {{6, 8}, {14, 7}, {19, 3}, {30, 8}, {38, 7}}},
        LayoutCase{"long word keeps its line", u"ABABAB", 10, kCCTextAlignmentLeft,
                   CCSize(57, 16), {{6, 8}, {14, 7}, {25, 8}, {33, 7}, {44, 8}, {52, 7}}},
        LayoutCase{"empty", u"", 0, kCCTextAlignmentLeft, CCSize(0, 0), {}}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) {
      std::string n = info.param.name;
      for (char& ch : n)
        if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return n;
    });

TEST(BMFontTest, MissingCharacterIsLoggedEachTimeAndLaidOutAsIfAbsent) {
  CCBMFontConfiguration* font = parse(kFont);
  ASSERT_NE(nullptr, font);
  mvtest::LogCapture log;
  ccBMFontLayout l = ccBMFontLayoutText(*font, u"AxBx", 0, kCCTextAlignmentLeft, CCPoint());
  EXPECT_EQ(2, log.count("invalid character found: 0x0078 in font: fonts/test font.png"));
  ASSERT_EQ(2u, l.glyphs.size());
  EXPECT_FLOAT_EQ(14, l.glyphs[1].center.x);  // still kerned against A
  EXPECT_EQ(2, l.glyphs[1].index);
  EXPECT_FLOAT_EQ(19, l.size.width);
}

TEST(BMFontTest, Utf8AndUtf16ConvertBothWaysAndBadBytesBecomeReplacements) {
  const std::string samples[] = {"", "abc", "Привет", "€", "😀 ok"};
  for (const auto& s : samples) EXPECT_EQ(s, ccUTF16ToUTF8(ccUTF8ToUTF16(s))) << s;
  EXPECT_EQ(u"Пр", ccUTF8ToUTF16("Пр"));
  EXPECT_EQ(2u, ccUTF8ToUTF16("😀").size());
  EXPECT_EQ(u"a\uFFFD", ccUTF8ToUTF16("a\xd0"));        // cut in the middle
  EXPECT_EQ(u"\uFFFDb", ccUTF8ToUTF16("\xff" "b"));      // never a lead byte
  EXPECT_EQ(u"\uFFFDb", ccUTF8ToUTF16("\xd0" "b"));      // lead without continuation
}

}  // namespace
