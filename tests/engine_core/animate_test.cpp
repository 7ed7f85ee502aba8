#include <vector>

#include "CCActionInstant.h"
#include "CCActionInterval.h"
#include "CCAnimation.h"
#include "CCAnimationCache.h"
#include "CCSprite.h"
#include "CCSpriteFrame.h"
#include "engine_fixture.h"

using namespace cocos2d;

namespace {

// Records the frames it is shown instead of drawing them (no GL here).
class FrameSprite : public CCSprite {
 public:
  void setDisplayFrame(CCSpriteFrame* frame) override { shown.push_back(frame); }
  CCSpriteFrame* displayFrame() override { return original; }
  std::vector<CCSpriteFrame*> shown;
  CCSpriteFrame* original = nullptr;
};

class AnimateTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    for (int i = 0; i < 3; ++i) frames.push_back(CCSpriteFrame::createWithTexture(nullptr, CCRectMake(i * 10, 0, 10, 10)));
    sprite = new FrameSprite();
    sprite->autorelease();
    sprite->original = CCSpriteFrame::createWithTexture(nullptr, CCRectMake(0, 0, 1, 1));
    sprite->onEnter();
  }
  void TearDown() override {
    sprite->onExit();
    sprite->cleanup();
    EngineTest::TearDown();
  }
  CCAnimation* animation(float delay) {
    CCArray* arr = CCArray::create();
    for (auto* f : frames) arr->addObject(f);
    return CCAnimation::createWithSpriteFrames(arr, delay);
  }
  std::vector<CCSpriteFrame*> frames;
  FrameSprite* sprite = nullptr;
};

TEST_F(AnimateTest, ShowsEachFrameAtItsTimeAndRestoresTheOriginal) {
  CCAnimation* anim = animation(0.1f);
  anim->setRestoreOriginalFrame(true);
  EXPECT_FLOAT_EQ(0.3f, anim->getDuration());
  sprite->runAction(CCAnimate::create(anim));
  tick(0);
  EXPECT_EQ((std::vector<CCSpriteFrame*>{frames[0]}), sprite->shown);
  tick(0.11f);
  tick(0.11f);
  EXPECT_EQ((std::vector<CCSpriteFrame*>{frames[0], frames[1], frames[2]}), sprite->shown);
  tick(0.1f);
  ASSERT_EQ(4u, sprite->shown.size());
  EXPECT_EQ(sprite->original, sprite->shown.back());
}

TEST_F(AnimateTest, ASlowFrameJumpsToTheFrameThatIsDueAndLoopsStartOver) {
  CCAnimation* anim = animation(0.1f);
  anim->setLoops(2);
  sprite->runAction(CCAnimate::create(anim));
  tick(0);
  tick(0.25f);  // frame 1 is skipped
  EXPECT_EQ((std::vector<CCSpriteFrame*>{frames[0], frames[2]}), sprite->shown);
  tick(0.1f);  // second loop begins
  EXPECT_EQ(frames[0], sprite->shown.back());
  tick(1.0f);
  EXPECT_EQ(frames[2], sprite->shown.back());
  EXPECT_EQ(0u, sprite->numberOfRunningActions());
}

// Back easing takes the time below 0 at the start: the first frame shows there.
TEST_F(AnimateTest, AnEasedTimeBeforeTheStartShowsTheFirstFrame) {
  CCAnimate* animate = CCAnimate::create(animation(0.1f));
  animate->startWithTarget(sprite);
  animate->update(-0.4f);
  animate->update(-1e30f);
  ASSERT_FALSE(sprite->shown.empty());
  EXPECT_EQ(frames[0], sprite->shown.back());
  animate->update(0.5f);
  EXPECT_EQ(frames[1], sprite->shown.back());
}

TEST_F(AnimateTest, ReverseAndCopyPlayTheSameFrames) {
  CCAnimate* animate = CCAnimate::create(animation(0.1f));
  sprite->runAction(animate->reverse());
  tick(0);
  tick(1.0f);
  EXPECT_EQ(frames[2]->getRect().origin.x, sprite->shown.front()->getRect().origin.x);
  EXPECT_EQ(frames[0]->getRect().origin.x, sprite->shown.back()->getRect().origin.x);
}

TEST_F(AnimateTest, CacheKeepsAnimationsByNameAndSurvivesBadFiles) {
  CCAnimationCache* cache = CCAnimationCache::sharedAnimationCache();
  cache->addAnimation(animation(0.2f), "walk");
  ASSERT_NE(nullptr, cache->animationByName("walk"));
  EXPECT_FLOAT_EQ(0.6f, cache->animationByName("walk")->getDuration());
  cache->removeAnimationByName("walk");
  EXPECT_EQ(nullptr, cache->animationByName("walk"));
  cache->addAnimationsWithFile("/nonexistent/animations.plist");
  cache->addAnimationsWithDictionary(CCDictionary::create());
  CCAnimationCache::purgeSharedAnimationCache();
}

}  // namespace
