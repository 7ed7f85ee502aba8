#include <gtest/gtest.h>

#include <string>

#include "CCSpriteFrame.h"
#include "CCSpriteFrameCache.h"
#include "CCTexture2D.h"
#include "CCTextureCache.h"
#include "gfx_test_util.h"
#include "logog/logog.hpp"

using namespace cocos2d;

namespace {

const char* kHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>";

std::string metadata(int format, const char* texture) {
  std::string m = "<key>metadata</key><dict><key>format</key><integer>" + std::to_string(format) +
                  "</integer>";
  if (texture) m += std::string("<key>textureFileName</key><string>") + texture + "</string>";
  return m + "</dict>";
}

struct FormatCase {
  const char* name;
  std::string frames;  // the "frames" dictionary's content
  int format;
  bool rotated;
};

// Every format describes a frame at (8, 4) of 6 x 5 texels, moved by (1, -2) from the
// centre of its untrimmed 10 x 9 size.
const FormatCase kCases[] = {
    {"format0",
     "<key>f.png</key><dict><key>x</key><real>8</real><key>y</key><real>4</real>"
     "<key>width</key><real>6</real><key>height</key><real>5</real><key>offsetX</key><real>1</real>"
     "<key>offsetY</key><real>-2</real><key>originalWidth</key><integer>10</integer>"
     "<key>originalHeight</key><integer>-9</integer></dict>",
     0, false},
    {"format1",
     "<key>f.png</key><dict><key>frame</key><string>{{8,4},{6,5}}</string><key>offset</key>"
     "<string>{1,-2}</string><key>sourceSize</key><string>{10,9}</string></dict>",
     1, false},
    {"format2",
     "<key>f.png</key><dict><key>frame</key><string>{{8,4},{6,5}}</string><key>offset</key>"
     "<string>{1,-2}</string><key>rotated</key><true/><key>sourceSize</key><string>{10,9}</string></dict>",
     2, true},
    {"format3",
     "<key>f.png</key><dict><key>aliases</key><array><string>alias.png</string></array>"
     "<key>spriteOffset</key><string>{1,-2}</string><key>spriteSize</key><string>{6,5}</string>"
     "<key>spriteSourceSize</key><string>{10,9}</string><key>textureRect</key>"
     "<string>{{8,4},{6,5}}</string><key>textureRotated</key><true/></dict>",
     3, true},
};

class FrameCacheTest : public ::testing::TestWithParam<FormatCase> {
 protected:
  void SetUp() override {
    if (!gfxtest::testView()) GTEST_SKIP() << "no display";
    CCSpriteFrameCache::sharedSpriteFrameCache()->removeSpriteFrames();
    dir_ = gfxtest::makeTempDir("formats");
    ASSERT_TRUE(gfxtest::writePng(dir_ + "tex.png", gfxtest::makePicture(16, 16)));
  }
  std::string dir_;
};

TEST_P(FrameCacheTest, EverySheetFormatGivesTheSameFrame) {
  const FormatCase& c = GetParam();
  std::string plist = dir_ + c.name + ".plist";
  gfxtest::writeText(plist, std::string(kHead) + "<key>frames</key><dict>" + c.frames + "</dict>" +
                                metadata(c.format, "tex.png") + "</dict></plist>");
  CCSpriteFrameCache* cache = CCSpriteFrameCache::sharedSpriteFrameCache();
  cache->addSpriteFramesWithFile(plist.c_str());
  CCSpriteFrame* f = cache->spriteFrameByName("f.png");
  ASSERT_NE(f, nullptr);
  EXPECT_TRUE(f->getRect().equals(CCRect(8, 4, 6, 5)));
  EXPECT_TRUE(f->getOffset().equals(CCPoint(1, -2)));
  EXPECT_TRUE(f->getOriginalSize().equals(CCSize(10, 9)));
  EXPECT_EQ(f->isRotated(), c.rotated);
  EXPECT_EQ(f->getTexture(), CCTextureCache::sharedTextureCache()->addImage((dir_ + "tex.png").c_str()));
  if (c.format == 3) {
    EXPECT_EQ(cache->spriteFrameByName("alias.png"), f);
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, FrameCacheTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

class FrameCacheFailureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!gfxtest::testView()) GTEST_SKIP() << "no display";
    logog::Initialize();
    CCSpriteFrameCache::sharedSpriteFrameCache()->removeSpriteFrames();
    dir_ = gfxtest::makeTempDir("failures");
  }
  void TearDown() override { logog::Shutdown(); }
  std::string dir_;
};

TEST_F(FrameCacheFailureTest, SheetWithoutItsTextureAddsNoFrames) {
  logog::StringTarget log;
  std::string plist = dir_ + "lost.plist";
  gfxtest::writeText(plist, std::string(kHead) + "<key>frames</key><dict>" + kCases[1].frames +
                                "</dict>" + metadata(1, "missing.png") + "</dict></plist>");
  CCSpriteFrameCache* cache = CCSpriteFrameCache::sharedSpriteFrameCache();
  cache->addSpriteFramesWithFile(plist.c_str());
  EXPECT_EQ(cache->count(), 0u);
  bool logged = false;
  for (const std::string& line : log.Lines())
    logged |= line.find("CCSpriteFrameCache: Couldn't load texture") != std::string::npos;
  EXPECT_TRUE(logged);
  EXPECT_EQ(cache->spriteFrameByName("f.png"), nullptr);
}

TEST_F(FrameCacheFailureTest, WithoutTextureNameThePlistNameWithPngIsUsed) {
  ASSERT_TRUE(gfxtest::writePng(dir_ + "sheet.png", gfxtest::makePicture(16, 16)));
  std::string plist = dir_ + "sheet.plist";
  gfxtest::writeText(plist, std::string(kHead) + "<key>frames</key><dict>" + kCases[1].frames +
                                "</dict>" + metadata(1, nullptr) + "</dict></plist>");
  CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(plist.c_str());
  CCSpriteFrame* f = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName("f.png");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->getTexture()->getPixelsWide(), 16u);
}

TEST_F(FrameCacheFailureTest, MalformedFramesAndUnknownFormatsAreSkipped) {
  ASSERT_TRUE(gfxtest::writePng(dir_ + "tex.png", gfxtest::makePicture(16, 16)));
  std::string bad = dir_ + "bad.plist";
  gfxtest::writeText(bad, std::string(kHead) +
                              "<key>frames</key><dict><key>broken.png</key><dict><key>frame</key>"
                              "<string>{{8,4}}</string></dict>" + kCases[1].frames + "</dict>" +
                              metadata(1, "tex.png") + "</dict></plist>");
  std::string future = dir_ + "future.plist";
  gfxtest::writeText(future, std::string(kHead) + "<key>frames</key><dict>" + kCases[1].frames +
                                 "</dict>" + metadata(7, "tex.png") + "</dict></plist>");
  std::string garbage = dir_ + "garbage.plist";
  gfxtest::writeText(garbage, "<plist><dict><key>frames");
  CCSpriteFrameCache* cache = CCSpriteFrameCache::sharedSpriteFrameCache();
  cache->addSpriteFramesWithFile(garbage.c_str());
  cache->addSpriteFramesWithFile(future.c_str());
  EXPECT_EQ(cache->count(), 0u);
  cache->addSpriteFramesWithFile(bad.c_str());
  EXPECT_EQ(cache->count(), 1u);
  EXPECT_NE(cache->spriteFrameByName("f.png"), nullptr);
}

TEST_F(FrameCacheFailureTest, TextureCacheLoadsOnceAndDropsWhatNobodyUses) {
  logog::StringTarget log;
  CCTextureCache* textures = CCTextureCache::sharedTextureCache();
  textures->removeUnusedTextures();
  unsigned int before = textures->count();
  ASSERT_TRUE(gfxtest::writePng(dir_ + "a.png", gfxtest::makePicture(4, 4)));
  CCTexture2D* a = textures->addImage((dir_ + "a.png").c_str());
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(textures->addImage((dir_ + "a.png").c_str()), a);
  EXPECT_EQ(textures->count(), before + 1);
  EXPECT_EQ(textures->addImage((dir_ + "none.png").c_str()), nullptr);
  bool logged = false;
  for (const std::string& line : log.Lines())
    logged |= line.find("{texture_cache}") != std::string::npos;
  EXPECT_TRUE(logged);
  a->retain();
  textures->removeUnusedTextures();
  EXPECT_EQ(textures->textureForKey((dir_ + "a.png").c_str()), a);
  a->release();
  textures->removeUnusedTextures();
  EXPECT_EQ(textures->textureForKey((dir_ + "a.png").c_str()), nullptr);
}

}  // namespace
