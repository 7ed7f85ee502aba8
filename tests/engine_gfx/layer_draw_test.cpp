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

#include "CCRelayoutable.h"
#include "CCTransition.h"

namespace {

CCScene* solidScene(const ccColor4B& color) {
  CCScene* scene = CCScene::create();
  scene->addChild(CCLayerColor::create(color));
  return scene;
}

TEST(LayerDrawTest, GradientRunsFromStartAtTheTopToEndAtTheBottom) {
  MV_REQUIRE_VIEW();
  CCScene* scene = CCScene::create();
  scene->addChild(CCLayerGradient::create(ccc4(255, 0, 0, 255), ccc4(0, 0, 255, 255)));
  gfxtest::showScene(scene);
  Rgb top = gfxtest::pixelAt(160, gfxtest::kViewHeight - 1);
  Rgb bottom = gfxtest::pixelAt(160, 0);
  Rgb middle = gfxtest::pixelAt(160, gfxtest::kViewHeight / 2);
  EXPECT_TRUE(gfxtest::near(top, Rgb{255, 0, 0}, 4)) << top.r << "," << top.b;
  EXPECT_TRUE(gfxtest::near(bottom, Rgb{0, 0, 255}, 4)) << bottom.r << "," << bottom.b;
  EXPECT_TRUE(gfxtest::near(middle, Rgb{128, 0, 128}, 6)) << middle.r << "," << middle.b;
}

// A parent layer's fade reaches colour layers, except one tagged 1 or one that keeps its own
// opacity; a plain layer tagged 1 passes the fade on to its colour layers.
TEST(LayerDrawTest, LayerOpacityPassesToColourLayersButNotToOneThatKeepsItsOwn) {
  MV_REQUIRE_VIEW();
  CCLayer* parent = CCLayer::create();
  CCLayerColor* faded = CCLayerColor::create(ccc4(255, 255, 255, 255), 100, 100);
  CCLayerColor* kept = CCLayerColor::create(ccc4(255, 255, 255, 255), 100, 100);
  kept->setKeepsOwnOpacity(true);
  CCLayerColor* tagged = CCLayerColor::create(ccc4(255, 255, 255, 200), 100, 100);
  tagged->setTag(1);
  CCLayer* taggedLayer = CCLayer::create();
  taggedLayer->setTag(1);
  CCLayerColor* inner = CCLayerColor::create(ccc4(255, 255, 255, 255), 100, 100);
  taggedLayer->addChild(inner);
  for (CCNode* child : {static_cast<CCNode*>(faded), static_cast<CCNode*>(kept),
                        static_cast<CCNode*>(tagged), static_cast<CCNode*>(taggedLayer)})
    parent->addChild(child);
  parent->setOpacity(64);
  EXPECT_EQ(faded->getOpacity(), 64);
  EXPECT_EQ(kept->getOpacity(), 255);
  EXPECT_EQ(tagged->getOpacity(), 200);
  EXPECT_EQ(inner->getOpacity(), 64);
}

TEST(LayerDrawTest, FadeTransitionDarkensTheOldSceneThenRevealsTheNewOne) {
  MV_REQUIRE_VIEW();
  CCDirector* director = CCDirector::sharedDirector();
  CCScene* red = solidScene(ccc4(255, 0, 0, 255));
  gfxtest::showScene(red);
  ASSERT_EQ(director->getRunningScene(), red);
  CCScene* green = solidScene(ccc4(0, 255, 0, 255));
  director->replaceScene(CCTransitionFade::create(1.0f, green));
  gfxtest::frame();  // the transition enters: the old scene, not yet darkened
  gfxtest::frame();  // the actions' first step
  EXPECT_TRUE(gfxtest::near(gfxtest::pixelAt(10, 10), Rgb{255, 0, 0}, 8));
  gfxtest::frame(0.25f);
  Rgb quarter = gfxtest::pixelAt(10, 10);
  EXPECT_TRUE(gfxtest::near(quarter, Rgb{128, 0, 0}, 12)) << quarter.r << "," << quarter.g;
  gfxtest::frame(0.25f);
  gfxtest::frame(0.25f);
  Rgb threeQuarters = gfxtest::pixelAt(10, 10);
  EXPECT_TRUE(gfxtest::near(threeQuarters, Rgb{0, 128, 0}, 12))
      << threeQuarters.r << "," << threeQuarters.g;
  gfxtest::frame(0.3f);
  gfxtest::frame(0.01f);
  gfxtest::frame(0.01f);
  EXPECT_EQ(director->getRunningScene(), green);
  EXPECT_TRUE(gfxtest::near(gfxtest::pixelAt(10, 10), Rgb{0, 255, 0}, 2));
}

// Counts enter and exit calls of a scene.
class CountingScene : public CCScene {
 public:
  static CountingScene* create() {
    CountingScene* s = new CountingScene();
    s->init();
    s->autorelease();
    return s;
  }
  void onEnter() override {
    ++entered;
    CCScene::onEnter();
  }
  void onExit() override {
    ++exited;
    CCScene::onExit();
  }
  int entered = 0;
  int exited = 0;
};

class LayoutScene : public CountingScene, public CCRelayoutable {
 public:
  static LayoutScene* create() {
    LayoutScene* s = new LayoutScene();
    s->init();
    s->autorelease();
    return s;
  }
  void relayout() override { ++relayouts; }
  int relayouts = 0;
};

TEST(DirectorTest, ReplacingTheRunningSceneWithItselfNeitherExitsNorEnters) {
  MV_REQUIRE_VIEW();
  CCDirector* director = CCDirector::sharedDirector();
  CountingScene* scene = CountingScene::create();
  gfxtest::showScene(scene);
  ASSERT_EQ(scene->entered, 1);
  director->replaceScene(scene);
  gfxtest::frame();
  gfxtest::frame();
  EXPECT_EQ(director->getRunningScene(), scene);
  EXPECT_EQ(scene->entered, 1);
  EXPECT_EQ(scene->exited, 0);
}

TEST(DirectorTest, RelayoutReachesOnlyScenesThatLayThemselvesOut) {
  MV_REQUIRE_VIEW();
  CCDirector* director = CCDirector::sharedDirector();
  CountingScene* plain = CountingScene::create();
  gfxtest::showScene(plain);
  LayoutScene* laid = LayoutScene::create();
  director->pushScene(laid);
  gfxtest::frame();
  director->relayoutScenes();
  director->relayoutScenes();
  EXPECT_EQ(laid->relayouts, 2);
  director->popScene();
  gfxtest::frame();
  EXPECT_EQ(director->getRunningScene(), plain);
}

TEST(DirectorTest, PauseDropsTheFrameRateAndResumeRestoresIt) {
  MV_REQUIRE_VIEW();
  CCDirector* director = CCDirector::sharedDirector();
  director->setAnimationInterval(1.0 / 60);
  director->pause();
  director->pause();
  EXPECT_TRUE(director->isPaused());
  EXPECT_DOUBLE_EQ(director->getAnimationInterval(), 0.25);
  director->resume();
  EXPECT_FALSE(director->isPaused());
  EXPECT_DOUBLE_EQ(director->getAnimationInterval(), 1.0 / 60);
}

}  // namespace

#include "CCAccelerometer.h"
#include "CCKeypadDispatcher.h"
#include "CCMouseDispatcher.h"

namespace {

// The keypad dispatcher and the accelerometer are the director's to replace; a running
// layer with its accelerometer switch on is the accelerometer's delegate until it leaves.
TEST(DirectorTest, TheKeypadDispatcherAndTheAccelerometerAreTheDirectors) {
  MV_REQUIRE_VIEW();
  CCDirector* director = CCDirector::sharedDirector();
  CCKeypadDispatcher* old = director->getKeypadDispatcher();
  old->retain();
  CCKeypadDispatcher* fresh = new CCKeypadDispatcher();
  director->setKeypadDispatcher(fresh);
  EXPECT_EQ(director->getKeypadDispatcher(), fresh);
  EXPECT_EQ(fresh->retainCount(), 2u);
  director->setKeypadDispatcher(old);
  EXPECT_EQ(fresh->retainCount(), 1u);
  fresh->release();
  old->release();

  CCAccelerometer* accelerometer = director->getAccelerometer();
  ASSERT_NE(accelerometer, nullptr);
  CCLayer* layer = CCLayer::create();
  layer->setAccelerometerEnabled(true);
  EXPECT_EQ(accelerometer->getDelegate(), nullptr);  // not running yet
  layer->onEnter();
  EXPECT_EQ(accelerometer->getDelegate(), layer);
  layer->setAccelerometerEnabled(false);
  EXPECT_EQ(accelerometer->getDelegate(), nullptr);
  layer->setAccelerometerEnabled(true);
  layer->onExit();
  EXPECT_EQ(accelerometer->getDelegate(), nullptr);
}

TEST(DirectorTest, ANewMouseDispatcherTakesOneReferenceAndTheOldOneLosesOne) {
  MV_REQUIRE_VIEW();
  CCDirector* director = CCDirector::sharedDirector();
  CCMouseDispatcher* old = director->getMouseDispatcher();
  old->retain();  // kept alive by the test for the comparison
  unsigned int oldCount = old->retainCount();
  director->setMouseDispatcher(old);
  EXPECT_EQ(old->retainCount(), oldCount);  // the same one again: nothing changes

  CCMouseDispatcher* fresh = new CCMouseDispatcher();
  fresh->init();
  director->setMouseDispatcher(fresh);
  EXPECT_EQ(fresh->retainCount(), 2u);
  EXPECT_EQ(old->retainCount(), oldCount - 1);
  EXPECT_EQ(director->getMouseDispatcher(), fresh);
  EXPECT_EQ(director->getOpenGLView()->getMouseDelegate(), fresh);

  director->setMouseDispatcher(old);  // put the original back for the other tests
  old->setDispatchEvents(true);
  EXPECT_EQ(fresh->retainCount(), 1u);
  fresh->release();
  old->release();
}

}  // namespace
