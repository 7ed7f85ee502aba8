#include <gtest/gtest.h>

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
