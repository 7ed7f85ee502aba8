#include <gtest/gtest.h>

#include <string>

#include "CCDirector.h"
#include "CCLayerColor.h"
#include "CCScene.h"
#include "CCSprite.h"
#include "CCSpriteBatchNode.h"
#include "CCSpriteFrame.h"
#include "CCSpriteFrameCache.h"
#include "CCTexture2D.h"
#include "CCTextureCache.h"
#include "ccGLStateCache.h"
#include "gfx_test_util.h"
#include "logog/logog.hpp"

using namespace cocos2d;
using gfxtest::Rgb;

namespace {

std::string frameEntry(const char* name, const char* rect, bool rotated) {
  return std::string("<key>") + name + "</key><dict><key>frame</key><string>" + rect +
         "</string><key>offset</key><string>{0,0}</string><key>rotated</key>" +
         (rotated ? "<true/>" : "<false/>") + "<key>sourceSize</key><string>" +
         (rotated ? "{8,4}" : "{8,8}") + "</string></dict>";
}

// A 32 x 32 sheet: red, green, a blue|yellow frame, and an 8 x 4 white|magenta frame
// packed a quarter turn clockwise (4 x 8 in the texture).
std::string makeSheet(const std::string& dir) {
  gfxtest::Picture p = gfxtest::makePicture(32, 32);
  p.fill(0, 0, 8, 8, 255, 0, 0);
  p.fill(8, 0, 8, 8, 0, 255, 0);
  p.fill(16, 0, 4, 8, 0, 0, 255);
  p.fill(20, 0, 4, 8, 255, 255, 0);
  p.fill(0, 8, 4, 4, 255, 255, 255);
  p.fill(0, 12, 4, 4, 255, 0, 255);
  EXPECT_TRUE(gfxtest::writePng(dir + "sheet.png", p));
  std::string plist =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict><key>frames</key><dict>" +
      frameEntry("red.png", "{{0,0},{8,8}}", false) + frameEntry("green.png", "{{8,0},{8,8}}", false) +
      frameEntry("halves.png", "{{16,0},{8,8}}", false) + frameEntry("rot.png", "{{0,8},{8,4}}", true) +
      "</dict><key>metadata</key><dict><key>format</key><integer>2</integer>"
      "<key>textureFileName</key><string>sheet.png</string></dict></dict></plist>\n";
  gfxtest::writeText(dir + "sheet.plist", plist);
  return dir + "sheet.plist";
}

CCSprite* spriteAt(const char* frame, float x, float y, float scale) {
  CCSprite* s = CCSprite::createWithSpriteFrameName(frame);
  EXPECT_NE(s, nullptr) << frame;
  if (!s) return CCSprite::create();
  s->setPosition(CCPoint(x, y));
  s->setScale(scale);
  return s;
}

::testing::AssertionResult pixelIs(int x, int y, Rgb want, int tolerance = 2) {
  Rgb got = gfxtest::pixelAt(x, y);
  if (gfxtest::near(got, want, tolerance)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "pixel (" << x << "," << y << ") is " << got.r << ","
                                       << got.g << "," << got.b << ", want " << want.r << ","
                                       << want.g << "," << want.b;
}

class SpriteSheetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!gfxtest::testView()) GTEST_SKIP() << "no display";
    CCSpriteFrameCache::sharedSpriteFrameCache()->removeSpriteFrames();
    dir_ = gfxtest::makeTempDir("sheet");
    plist_ = makeSheet(dir_);
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(plist_.c_str());
  }
  std::string dir_, plist_;
};

TEST_F(SpriteSheetTest, SheetSpritesDrawTheirFramesUnsmoothedFlippedAndRotated) {
  CCScene* scene = CCScene::create();
  scene->addChild(spriteAt("red.png", 40, 40, 4));
  scene->addChild(spriteAt("halves.png", 100, 40, 4));
  CCSprite* flipped = spriteAt("halves.png", 160, 40, 4);
  flipped->setFlipX(true);
  scene->addChild(flipped);
  scene->addChild(spriteAt("rot.png", 220, 40, 4));
  CCSprite* tinted = spriteAt("green.png", 280, 40, 4);
  tinted->setOpacity(128);
  scene->addChild(tinted);
  gfxtest::showScene(scene);

  EXPECT_TRUE(pixelIs(40, 40, Rgb{255, 0, 0}));
  EXPECT_TRUE(pixelIs(25, 40, Rgb{255, 0, 0}));
  EXPECT_TRUE(pixelIs(40, 58, Rgb{0, 0, 0}));  // outside the 32 x 32 sprite
  // No smoothing: the texel border stays a hard edge when scaled up.
  EXPECT_TRUE(pixelIs(99, 40, Rgb{0, 0, 255}, 0));
  EXPECT_TRUE(pixelIs(100, 40, Rgb{255, 255, 0}, 0));
  EXPECT_TRUE(pixelIs(152, 40, Rgb{255, 255, 0}));
  EXPECT_TRUE(pixelIs(168, 40, Rgb{0, 0, 255}));
  EXPECT_TRUE(pixelIs(212, 40, Rgb{255, 255, 255}));
  EXPECT_TRUE(pixelIs(228, 40, Rgb{255, 0, 255}));
  EXPECT_TRUE(pixelIs(220, 50, Rgb{0, 0, 0}));  // the rotated frame is 8 x 4: 32 x 16 on screen
  EXPECT_TRUE(pixelIs(280, 40, Rgb{0, 128, 0}, 3));
  EXPECT_EQ(CCDirector::sharedDirector()->getDrawCalls(), 5u);
}

TEST_F(SpriteSheetTest, SheetTexturesGetNearestFilteringAndRepeatWrap) {
  CCSpriteFrame* frame = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName("red.png");
  ASSERT_NE(frame, nullptr);
  CCTexture2D* texture = frame->getTexture();
  ASSERT_NE(texture, nullptr);
  ccGLBindTexture2D(texture->getName());
  GLint minFilter = 0, magFilter = 0, wrapS = 0, wrapT = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
  EXPECT_EQ(minFilter, GL_NEAREST);
  EXPECT_EQ(magFilter, GL_NEAREST);
  EXPECT_EQ(wrapS, GL_REPEAT);
  EXPECT_EQ(wrapT, GL_REPEAT);
}

TEST_F(SpriteSheetTest, DisplayFrameSwitchesTheShownRegion) {
  CCSprite* s = spriteAt("red.png", 40, 40, 4);
  CCSpriteFrame* green = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName("green.png");
  EXPECT_FALSE(s->isFrameDisplayed(green));
  s->setDisplayFrame(green);
  EXPECT_TRUE(s->isFrameDisplayed(green));
  CCScene* scene = CCScene::create();
  scene->addChild(s);
  gfxtest::showScene(scene);
  EXPECT_TRUE(pixelIs(40, 40, Rgb{0, 255, 0}));
}

TEST_F(SpriteSheetTest, BatchNodeDraws3200SpritesInOneCall) {
  CCSpriteFrame* red = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName("red.png");
  ASSERT_NE(red, nullptr);
  CCSpriteBatchNode* batch = CCSpriteBatchNode::createWithTexture(red->getTexture(), 3200);
  for (int i = 0; i < 3200; ++i) {
    CCSprite* s = CCSprite::createWithSpriteFrame(red);
    s->setAnchorPoint(CCPoint(0, 0));
    s->setPosition(CCPoint(static_cast<float>((i % 80) * 4), static_cast<float>((i / 80) * 6)));
    batch->addChild(s);
  }
  // A sprite of another frame on top inside the same batch, drawn in z order.
  CCSprite* top = CCSprite::createWithSpriteFrameName("green.png");
  top->setPosition(CCPoint(100, 100));
  batch->addChild(top, 5);
  CCScene* scene = CCScene::create();
  scene->addChild(batch);
  gfxtest::showScene(scene);
  EXPECT_EQ(CCDirector::sharedDirector()->getDrawCalls(), 1u);
  EXPECT_EQ(batch->getQuadCount(), 3201u);
  EXPECT_TRUE(pixelIs(2, 2, Rgb{255, 0, 0}));
  EXPECT_TRUE(pixelIs(318, 236, Rgb{255, 0, 0}));
  EXPECT_TRUE(pixelIs(100, 100, Rgb{0, 255, 0}));
}

TEST_F(SpriteSheetTest, BatchNodeRefusesSpritesOfAnotherTexture) {
  CCSpriteFrame* red = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName("red.png");
  CCSpriteBatchNode* batch = CCSpriteBatchNode::createWithTexture(red->getTexture());
  gfxtest::Picture other = gfxtest::makePicture(4, 4);
  ASSERT_TRUE(gfxtest::writePng(dir_ + "other.png", other));
  CCSprite* stranger = CCSprite::create((dir_ + "other.png").c_str());
  ASSERT_NE(stranger, nullptr);
  batch->addChild(stranger);
  EXPECT_EQ(batch->getChildrenCount(), 0u);
  EXPECT_FALSE(stranger->isBatched());
}

}  // namespace

namespace {

TEST_F(SpriteSheetTest, SpritesLeavingABatchDrawOnTheirOwnAgain) {
  CCSpriteFrame* red = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName("red.png");
  CCSpriteBatchNode* batch = CCSpriteBatchNode::createWithTexture(red->getTexture());
  CCSprite* parent = CCSprite::createWithSpriteFrame(red);
  CCSprite* child = CCSprite::createWithSpriteFrameName("green.png");
  parent->addChild(child);
  batch->addChild(parent);
  EXPECT_TRUE(child->isBatched());
  child->retain();
  parent->removeChild(child);
  EXPECT_FALSE(child->isBatched());
  child->setPosition(CCPoint(60, 60));
  child->setScale(4);
  CCScene* scene = CCScene::create();
  scene->addChild(child);
  child->release();
  gfxtest::showScene(scene);
  EXPECT_TRUE(pixelIs(60, 60, Rgb{0, 255, 0}));
}

}  // namespace

#include "CCAnimation.h"
#include "CCAnimationCache.h"

namespace {

TEST_F(SpriteSheetTest, AnimationFramesCanBeShownByName) {
  CCSpriteFrameCache* frames = CCSpriteFrameCache::sharedSpriteFrameCache();
  CCArray* list = CCArray::create();
  list->addObject(frames->spriteFrameByName("red.png"));
  list->addObject(frames->spriteFrameByName("green.png"));
  CCAnimationCache::sharedAnimationCache()->addAnimation(CCAnimation::createWithSpriteFrames(list, 0.1f),
                                                         "blink");
  CCSprite* s = spriteAt("red.png", 40, 40, 4);
  s->setDisplayFrameWithAnimationName("blink", 1);
  EXPECT_TRUE(s->isFrameDisplayed(frames->spriteFrameByName("green.png")));
  s->setDisplayFrameWithAnimationName("blink", 2);   // no such frame: logged, nothing changes
  s->setDisplayFrameWithAnimationName("absent", 0);
  EXPECT_TRUE(s->isFrameDisplayed(frames->spriteFrameByName("green.png")));
  CCAnimationCache::sharedAnimationCache()->removeAnimationByName("blink");
}

}  // namespace
