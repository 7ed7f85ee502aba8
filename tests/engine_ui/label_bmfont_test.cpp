#include <gtest/gtest.h>

#include <vector>

#include "CCLabelBMFont.h"
#include "CCSprite.h"
#include "CCTexture2D.h"
#include "test_util.h"

using namespace cocos2d;

namespace {

class LabelBMFontTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!mvtest::ensureWindow()) GTEST_SKIP() << "no display";
    font = mvtest::writeTestFont(dir, "test");
    other = mvtest::writeTestFont(dir, "other");
  }
  void TearDown() override { CCLabelBMFont::purgeCachedData(); }
  mvtest::TempDir dir;
  std::string font, other;
};

TEST_F(LabelBMFontTest, GlyphSpritesFollowTheFontMetricsAndTheTextureIsNotSmoothed) {
  CCLabelBMFont* label = CCLabelBMFont::create("AB\nA", font.c_str());
  ASSERT_NE(nullptr, label);
  EXPECT_EQ(19.f, label->getContentSize().width);
  EXPECT_EQ(32.f, label->getContentSize().height);
  ASSERT_EQ(3u, label->getGlyphSprites().size());
  CCSprite* b = label->getGlyphSprites()[1];
  EXPECT_EQ(14.f, b->getPosition().x);
  EXPECT_EQ(23.f, b->getPosition().y);
  EXPECT_EQ(8.f, b->getTextureRect().size.width);
  EXPECT_EQ(static_cast<GLuint>(GL_NEAREST), label->getTexture()->getTexParams().minFilter);
  EXPECT_EQ(static_cast<GLuint>(GL_NEAREST), label->getTexture()->getTexParams().magFilter);
  EXPECT_STREQ("AB\nA", label->getString());
  // An original font is only recorded by setFntFile on a label without a font.
  EXPECT_EQ("", label->getOriginalFntFile());

  label->setString("A B", false, true);
  EXPECT_TRUE(label->getKeepText());
  label->setWidth(14);  // "A" then wraps before "B"
  EXPECT_EQ(32.f, label->getContentSize().height);
}

TEST_F(LabelBMFontTest, FirstFontSetIsTheOriginalAndABadFontKeepsTheCurrentOne) {
  CCLabelBMFont* label = CCLabelBMFont::create();
  ASSERT_NE(nullptr, label);
  label->setFntFile(font.c_str());
  label->setString("AB");
  EXPECT_EQ(font, label->getOriginalFntFile());
  label->setFntFile(other.c_str());
  EXPECT_STREQ(other.c_str(), label->getFntFile());
  EXPECT_EQ(font, label->getOriginalFntFile());
  EXPECT_EQ(2u, label->getGlyphSprites().size());

  mvtest::LogCapture log;
  label->setFntFile(dir.file("missing.fnt").c_str());
  EXPECT_STREQ(other.c_str(), label->getFntFile());
  EXPECT_EQ(2u, label->getGlyphSprites().size());
  EXPECT_TRUE(log.contains("cannot use font"));
  label->setFntFile(nullptr);
  label->restoreOriginalFntFile();
  EXPECT_STREQ(font.c_str(), label->getFntFile());
}

TEST_F(LabelBMFontTest, CharactersMissingFromTheFontAreWarnedAboutAtEachRebuild) {
  mvtest::LogCapture log;
  CCLabelBMFont* label = CCLabelBMFont::create("AzB", font.c_str());
  ASSERT_NE(nullptr, label);
  EXPECT_EQ(2u, label->getGlyphSprites().size());
  label->setString("zz");
  EXPECT_EQ(3, log.count("invalid character found: 0x007a in font:"));
  EXPECT_TRUE(log.contains("test.png"));
}

}  // namespace

namespace {

TEST_F(LabelBMFontTest, GlyphsAreDrawnWhereTheLayoutPutsThem) {
  // One white glyph, drawn twice 12 apart.
  mvtest::writeSolidPng(dir.file("white.png"), 32, 32, 255, 255, 255);
  dir.write("white.fnt",
            "common lineHeight=16 pages=1\npage id=0 file=\"white.png\"\n"
            "char id=65 x=0 y=0 width=10 height=12 xoffset=0 yoffset=0 xadvance=12\n");
  CCLabelBMFont* white = CCLabelBMFont::create("AA", dir.file("white.fnt").c_str());
  ASSERT_NE(nullptr, white);
  white->setAnchorPoint(CCPoint(0, 0));
  white->setPosition(CCPoint(100, 100));
  mvtest::drawForReadback(white);
  unsigned char px[3];
  mvtest::readPixel(105, 110, px);  // inside the first A (rows 100+4 .. 100+16)
  EXPECT_EQ(255, px[0]);
  mvtest::readPixel(117, 110, px);  // inside the second
  EXPECT_EQ(255, px[0]);
  mvtest::readPixel(111, 110, px);  // the gap between them
  EXPECT_EQ(0, px[0]);
  mvtest::readPixel(105, 102, px);  // below the glyph box
  EXPECT_EQ(0, px[0]);
}

}  // namespace

namespace {

// Thin letters of a smoothed font (a bright stem between two dim edges) keep their own
// pixels wherever a label stands: each glyph is drawn on whole pixels.
TEST_F(LabelBMFontTest, ThinGlyphsAtAFractionalPlaceKeepTheirOwnPixels) {
  const int kGrey = 96;
  std::vector<unsigned char> atlas(16 * 16 * 4, 0);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 3; ++x) {
      unsigned char* p = &atlas[(y * 16 + x) * 4];
      p[0] = p[1] = p[2] = static_cast<unsigned char>(x == 1 ? 255 : kGrey);
      p[3] = 255;
    }
  ASSERT_TRUE(mvtest::writePng(dir.file("thin.png"), 16, 16, atlas));
  dir.write("thin.fnt",
            "common lineHeight=10 pages=1\npage id=0 file=\"thin.png\"\n"
            "char id=108 x=0 y=0 width=3 height=10 xoffset=0 yoffset=0 xadvance=5\n");
  CCLabelBMFont* label = CCLabelBMFont::create("llllllll", dir.file("thin.fnt").c_str());
  ASSERT_NE(nullptr, label);
  label->setAnchorPoint(CCPoint(0, 0));
  for (float fraction : {0.25f, 0.5f, 0.75f}) {
    label->setPosition(CCPoint(100 + fraction, 100 + fraction));
    mvtest::drawForReadback(label);
    std::vector<int> lit;
    for (int x = 98; x < 145; ++x) {
      unsigned char px[3];
      mvtest::readPixel(x, 105, px);
      if (px[0] > 0) lit.push_back(px[0]);
    }
    std::vector<int> want;
    for (int i = 0; i < 8; ++i) want.insert(want.end(), {kGrey, 255, kGrey});
    EXPECT_EQ(want, lit) << "at a fraction of " << fraction;
  }
}

}  // namespace
