#include <gtest/gtest.h>

#include "CCDirector.h"
#include "CCEGLView.h"
#include "CCLayerColor.h"
#include "CCScene.h"
#include "gfx_test_util.h"

using namespace cocos2d;
using gfxtest::Rgb;

namespace {

TEST(LayerDrawTest, ColourLayersFillTheirRectAndBlendByOpacity) {
  MV_REQUIRE_VIEW();
  CCScene* scene = CCScene::create();
  scene->addChild(CCLayerColor::create(ccc4(255, 0, 0, 255)));
  CCLayerColor* half = CCLayerColor::create(ccc4(0, 0, 255, 128), 100, 50);
  half->setPosition(CCPoint(10, 20));
  scene->addChild(half);
  gfxtest::showScene(scene);
  EXPECT_TRUE(gfxtest::near(gfxtest::pixelAt(5, 5), Rgb{255, 0, 0})) << gfxtest::pixelAt(5, 5).r;
  Rgb mixed = gfxtest::pixelAt(50, 40);
  EXPECT_TRUE(gfxtest::near(mixed, Rgb{127, 0, 128}, 4))
      << mixed.r << "," << mixed.g << "," << mixed.b;
  EXPECT_TRUE(gfxtest::near(gfxtest::pixelAt(111, 40), Rgb{255, 0, 0}));
  EXPECT_EQ(CCDirector::sharedDirector()->getDrawCalls(), 2u);
}

}  // namespace
