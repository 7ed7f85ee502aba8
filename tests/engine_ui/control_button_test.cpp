#include <gtest/gtest.h>

#include <vector>

#include "CCControlButton.h"
#include "CCImage.h"
#include "CCLabelTTF.h"
#include "CCScale9Sprite.h"
#include "CCScene.h"
#include "CCSprite.h"
#include "CCSpriteFrame.h"
#include "CCTextureCache.h"
#include "test_util.h"

using namespace cocos2d;
using namespace cocos2d::extension;

namespace {

class Listener : public CCObject {
 public:
  void onEvent(CCObject*, unsigned int e) { events.push_back(e); }
  std::vector<unsigned int> events;
};

class ControlButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!mvtest::ensureWindow()) GTEST_SKIP() << "no display";
    listener = new Listener();
    scene = CCScene::create();
    scene->retain();
    button = CCControlButton::create("Go", "DejaVuSans", 14);
    ASSERT_NE(nullptr, button);
    button->setPreferredSize(CCSize(100, 40));
    button->setPosition(CCPoint(200, 150));  // centred: 150..250 x 130..170
    button->addTargetWithActionForControlEvents(
        listener, cccontrol_selector(Listener::onEvent),
        CCControlEventTouchDown | CCControlEventTouchUpInside | CCControlEventTouchUpOutside);
    scene->addChild(button);
    scene->onEnter();
  }
  void TearDown() override {
    if (scene) {
      scene->onExit();
      scene->release();
    }
    if (listener) listener->release();
  }
  Listener* listener = nullptr;
  CCScene* scene = nullptr;
  CCControlButton* button = nullptr;
};

TEST_F(ControlButtonTest, PressAndReleaseSendTheirEventsByTouchAndMouse) {
  EXPECT_EQ(100.f, button->getContentSize().width);
  EXPECT_STREQ("Go", button->getTitleLabel()->getString());
  for (auto input : {mvtest::touchAt, mvtest::mouseAt}) {
    listener->events.clear();
    input(mvtest::kBegan, 200, 150);
    EXPECT_TRUE(button->isHighlighted());
    input(mvtest::kEnded, 210, 160);
    EXPECT_EQ((std::vector<unsigned int>{CCControlEventTouchDown, CCControlEventTouchUpInside}),
              listener->events);
    listener->events.clear();
    input(mvtest::kBegan, 200, 150);
    input(mvtest::kMoved, 400, 300);
    EXPECT_FALSE(button->isHighlighted());
    input(mvtest::kEnded, 400, 300);
    EXPECT_EQ((std::vector<unsigned int>{CCControlEventTouchDown, CCControlEventTouchUpOutside}),
              listener->events);
  }
  listener->events.clear();
  button->setEnabled(false);
  mvtest::touchAt(mvtest::kBegan, 200, 150);
  mvtest::touchAt(mvtest::kEnded, 200, 150);
  EXPECT_TRUE(listener->events.empty());
}

TEST_F(ControlButtonTest, StatesShowTheirOwnTitleAndBackground) {
  mvtest::TempDir dir;
  mvtest::writeSolidPng(dir.file("bg.png"), 30, 30, 0, 0, 255);
  CCTexture2D* tex = CCTextureCache::sharedTextureCache()->addImage(dir.file("bg.png").c_str());
  ASSERT_NE(nullptr, tex);
  CCScale9Sprite* normal =
      CCScale9Sprite::createWithSpriteFrame(CCSpriteFrame::createWithTexture(tex, CCRect(0, 0, 30, 30)));
  CCScale9Sprite* pressed =
      CCScale9Sprite::createWithSpriteFrame(CCSpriteFrame::createWithTexture(tex, CCRect(0, 0, 30, 30)));
  button->setBackgroundSpriteForState(normal, CCControlStateNormal);
  button->setBackgroundSpriteForState(pressed, CCControlStateHighlighted);
  button->setTitleForState("Down", CCControlStateHighlighted);
  EXPECT_EQ(normal, button->getBackgroundSprite());
  EXPECT_EQ(100.f, normal->getContentSize().width);
  button->setHighlighted(true);
  EXPECT_STREQ("Down", button->getTitleLabel()->getString());
  EXPECT_EQ(pressed, button->getBackgroundSprite());
  EXPECT_TRUE(pressed->isVisible());
  EXPECT_FALSE(normal->isVisible());
  button->setHighlighted(false);
  EXPECT_STREQ("Go", button->getTitleLabel()->getString());
}

TEST(Scale9SpriteTest, CornersKeepTheirSizeAndTheMiddleStretches) {
  if (!mvtest::ensureWindow()) GTEST_SKIP() << "no display";
  mvtest::TempDir dir;
  mvtest::writeSolidPng(dir.file("panel.png"), 30, 30, 0, 255, 0);
  CCScale9Sprite* s = CCScale9Sprite::create(dir.file("panel.png").c_str());
  ASSERT_NE(nullptr, s);
  s->setInsetLeft(5);
  s->setInsetRight(5);
  s->setInsetTop(10);
  s->setInsetBottom(10);
  s->setPreferredSize(CCSize(100, 50));
  // Bottom row: left corner at 0 (5 wide), middle at 5 scaled to 90, right corner at 95.
  EXPECT_EQ(0.f, s->getPiece(0)->getPosition().x);
  EXPECT_EQ(5.f, s->getPiece(1)->getPosition().x);
  EXPECT_FLOAT_EQ(90.f / 20.f, s->getPiece(1)->getScaleX());
  EXPECT_EQ(95.f, s->getPiece(2)->getPosition().x);
  EXPECT_EQ(10.f, s->getPiece(3)->getPosition().y);
  EXPECT_FLOAT_EQ(30.f / 10.f, s->getPiece(4)->getScaleY());
  EXPECT_EQ(40.f, s->getPiece(6)->getPosition().y);
  EXPECT_EQ(1.f, s->getPiece(8)->getScaleX());

  s->setAnchorPoint(CCPoint(0, 0));
  s->setPosition(CCPoint(100, 100));
  mvtest::drawForReadback(s);
  unsigned char px[3];
  mvtest::readPixel(150, 125, px);
  EXPECT_EQ(255, px[1]);
  mvtest::readPixel(202, 125, px);  // past its right edge
  EXPECT_EQ(0, px[1]);
}

// A frame packed a quarter turn clockwise in its sheet looks, cut into nine, exactly as the
// same picture packed upright: at its own size as a plain sprite, and stretched.
TEST(Scale9SpriteTest, ARotatedFrameLooksAsTheSameFrameUpright) {
  if (!mvtest::ensureWindow()) GTEST_SKIP() << "no display";
  const int W = 6, H = 4, kSheetW = 16, kSheetH = 8, kRotatedX = 8;
  std::vector<unsigned char> sheet(kSheetW * kSheetH * 4, 0);
  auto put = [&](int x, int y, int u, int r) {  // picture pixel (u, r), r from the top
    unsigned char* p = &sheet[(y * kSheetW + x) * 4];
    p[0] = static_cast<unsigned char>(40 * u + 10);
    p[1] = static_cast<unsigned char>(60 * r + 10);
    p[2] = 200;
    p[3] = 255;
  };
  for (int r = 0; r < H; ++r)
    for (int u = 0; u < W; ++u) {
      put(u, r, u, r);                           // upright at (0, 0)
      put(kRotatedX + (H - 1 - r), u, u, r);     // turned clockwise at (8, 0), H wide
    }
  CCImage* image = new CCImage();
  ASSERT_TRUE(image->initWithImageData(sheet.data(), static_cast<int>(sheet.size()),
                                       CCImage::kFmtRawData, kSheetW, kSheetH));
  CCTexture2D* tex = CCTextureCache::sharedTextureCache()->addUIImage(image, "scale9-rotated-sheet");
  image->release();
  ASSERT_NE(nullptr, tex);
  tex->setAliasTexParameters();
  auto frame = [&](bool rotated) {
    return CCSpriteFrame::createWithTexture(tex, CCRect(rotated ? kRotatedX : 0, 0, W, H), rotated,
                                            CCPoint(0, 0), CCSize(W, H));
  };
  auto nineSlice = [&](bool rotated, CCSize size) {
    CCScale9Sprite* s = CCScale9Sprite::createWithSpriteFrame(frame(rotated));
    s->setInsetLeft(2);
    s->setInsetRight(1);
    s->setInsetTop(1);
    s->setInsetBottom(2);
    s->setPreferredSize(size);
    return s;
  };
  auto pixels = [](CCNode* node, int w, int h) {
    node->setAnchorPoint(CCPoint(0, 0));
    node->setPosition(CCPoint(10, 10));
    mvtest::drawForReadback(node);
    std::vector<int> out;
    unsigned char px[3];
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        mvtest::readPixel(10 + x, 10 + y, px);
        out.push_back(px[0] << 16 | px[1] << 8 | px[2]);
      }
    return out;
  };
  CCSprite* plain = CCSprite::createWithSpriteFrame(frame(false));
  EXPECT_EQ(pixels(nineSlice(true, CCSize(W, H)), W, H), pixels(plain, W, H));
  CCSprite* plainRotated = CCSprite::createWithSpriteFrame(frame(true));
  EXPECT_EQ(pixels(plainRotated, W, H), pixels(plain, W, H));
  EXPECT_EQ(pixels(nineSlice(true, CCSize(15, 8)), 15, 8), pixels(nineSlice(false, CCSize(15, 8)), 15, 8));
}

}  // namespace
