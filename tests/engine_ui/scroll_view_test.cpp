#include <gtest/gtest.h>

#include "CCDirector.h"
#include "CCLayerColor.h"
#include "CCMenu.h"
#include "CCMenuItemColor.h"
#include "CCMouseDispatcher.h"
#include "CCScene.h"
#include "CCScheduler.h"
#include "CCScrollView.h"
#include "test_util.h"

using namespace cocos2d;
using namespace cocos2d::extension;

namespace {

class Counter : public CCObject {
 public:
  void onPress(CCObject*) { ++presses; }
  int presses = 0;
};

// Claims every wheel event that reaches it (behind the scroll view).
class WheelCatcher : public CCObject, public CCMouseDelegate {
 public:
  bool mouseScrolled(CCMouseEvent*, CCEvent*) override {
    ++wheels;
    return true;
  }
  int wheels = 0;
};

// A 200 x 100 vertical view at (50, 50) over a 200 x 400 container whose first row (a menu
// with a 100 x 40 button at (20, 20) of the container) starts at the bottom.
class ScrollViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!mvtest::ensureWindow()) GTEST_SKIP() << "no display";
    counter = new Counter();
    scene = CCScene::create();
    scene->retain();
    view = CCScrollView::create(CCSize(200, 100));
    view->setPosition(CCPoint(50, 50));
    view->setDirection(kCCScrollViewDirectionVertical);
    view->setContentSize(CCSize(200, 400));
    button = CCMenuItemColor::create();
    button->setContentSize(CCSize(100, 40));
    button->setAnchorPoint(CCPoint(0, 0));
    button->setTarget(counter, menu_selector(Counter::onPress));
    row = CCMenu::createWithItem(button);
    row->setContentSize(CCSize(200, 80));
    view->addChild(row);
    row->setPosition(CCPoint(0, 0));
    button->setPosition(CCPoint(20, 20));
    scene->addChild(view);
    scene->onEnter();
    view->setContentOffset(CCPoint(0, 0));
  }
  void TearDown() override {
    if (scene) {
      scene->onExit();
      scene->release();
    }
    if (counter) counter->release();
  }
  // A timer starts on the tick after it is set, and fires on the one after that.
  void tick() {
    for (int i = 0; i < 2; ++i) CCDirector::sharedDirector()->getScheduler()->update(1.0f / 60);
  }

  Counter* counter = nullptr;
  CCScene* scene = nullptr;
  CCScrollView* view = nullptr;
  CCMenu* row = nullptr;
  CCMenuItemColor* button = nullptr;
};

using mvtest::kBegan;
using mvtest::kEnded;
using mvtest::kMoved;

TEST_F(ScrollViewTest, TapOnAButtonInsideFiresItAndTheViewLetsGoNextTick) {
  mvtest::touchAt(kBegan, 100, 90);  // on the button (50 + 20 .. 50 + 120, 50 + 20 .. 110)
  EXPECT_TRUE(button->isSelected());
  EXPECT_TRUE(view->isDragging());
  mvtest::touchAt(kEnded, 100, 90);
  EXPECT_EQ(1, counter->presses);
  EXPECT_FALSE(view->isDragging());
  tick();
  // A second tap works the same: the view does not swallow it.
  mvtest::touchAt(kBegan, 100, 90);
  mvtest::touchAt(kEnded, 100, 90);
  EXPECT_EQ(2, counter->presses);
}

TEST_F(ScrollViewTest, DragStartingOnAButtonScrollsAndDoesNotFire) {
  view->setContentOffset(CCPoint(0, -300));  // scrolled to the top
  view->setContentOffset(CCPoint(0, 0));
  mvtest::touchAt(kBegan, 100, 90);
  EXPECT_TRUE(button->isSelected());
  mvtest::touchAt(kMoved, 100, 80);  // drag down: the list cannot go further down
  mvtest::touchAt(kMoved, 100, 120);
  mvtest::touchAt(kMoved, 100, 130);
  EXPECT_TRUE(view->isTouchMoved());
  EXPECT_LT(view->getContentOffset().y, 0.f + 1e-3f + 40.f);
  mvtest::touchAt(kEnded, 100, 130);
  EXPECT_EQ(0, counter->presses);
  tick();  // the cancel reaches the menu
  EXPECT_FALSE(button->isSelected());
  EXPECT_EQ(kCCMenuStateWaiting, row->getState());
  mvtest::touchAt(kBegan, 100, 90);
  mvtest::touchAt(kEnded, 100, 90);
  EXPECT_EQ(1, counter->presses);
}

// Every touch that begins drags; once a touch ends, the two left zoom without dragging.
TEST_F(ScrollViewTest, TwoTouchesLeftWithoutADragZoomAroundTheirMiddleWithinTheScaleRange) {
  view->setMinScale(0.5f);
  view->setMaxScale(2.0f);
  mvtest::fingerAt(kBegan, 1, 100, 100);
  mvtest::fingerAt(kBegan, 2, 140, 100);
  mvtest::fingerAt(kBegan, 3, 200, 120);
  mvtest::fingerAt(kEnded, 3, 200, 120);
  ASSERT_FALSE(view->isDragging());
  const CCPoint middle(120, 100);
  const CCPoint held = view->getContainer()->convertToNodeSpace(middle);
  struct Step {
    int finger;
    float x;
    float scale;
  } steps[] = {{2, 160, 1.5f}, {2, 230, 2.0f}, {1, 220, 0.5f}};  // 40 -> 60, 130 (3.25x), 10
  for (const Step& step : steps) {
    mvtest::fingerAt(kMoved, step.finger, step.x, 100);
    EXPECT_FLOAT_EQ(step.scale, view->getZoomScale()) << step.x;
    CCPoint now = view->getContainer()->convertToWorldSpace(held);
    EXPECT_NEAR(middle.x, now.x, 1e-3) << step.x;
    EXPECT_NEAR(middle.y, now.y, 1e-3) << step.x;
  }
  EXPECT_FALSE(view->isTouchMoved());
  mvtest::fingerAt(kEnded, 1, 220, 100);
  mvtest::fingerAt(kEnded, 2, 230, 100);
}

TEST_F(ScrollViewTest, TouchOutsideTheFrameIsNotTaken) {
  mvtest::touchAt(kBegan, 300, 300);
  EXPECT_FALSE(view->isDragging());
  mvtest::touchAt(kEnded, 300, 300);
}

TEST_F(ScrollViewTest, WheelScrollsOnlyUnderTheCursorAndOnlyAlongTheViewsAxis) {
  WheelCatcher& catcher = *new WheelCatcher();
  catcher.autorelease();
  CCMouseDispatcher::sharedDispatcher()->addDelegate(&catcher, 100);
  view->setContentOffset(CCPoint(0, -300));
  mvtest::mouseWheelAt(400, 300, 0, 1);  // outside: passed on
  EXPECT_EQ(1, catcher.wheels);
  EXPECT_EQ(-300.f, view->getContentOffset().y);
  mvtest::mouseWheelAt(100, 90, 5, -2);  // inside: vertical only
  EXPECT_EQ(1, catcher.wheels);
  EXPECT_EQ(0.f, view->getContentOffset().x);
  EXPECT_EQ(-280.f, view->getContentOffset().y);
  mvtest::mouseWheelAt(100, 90, 0, -120);  // far past the end: clamped
  EXPECT_EQ(0.f, view->getContentOffset().y);
  CCMouseDispatcher::sharedDispatcher()->removeDelegate(&catcher);
}

TEST_F(ScrollViewTest, RowsScrolledOutOfTheViewAreHiddenAndComeBack) {
  EXPECT_TRUE(row->isVisible());
  view->setContentOffset(CCPoint(0, -300));  // the row lies at y 50 - 300 .. 50 - 220
  EXPECT_FALSE(row->isVisible());
  mvtest::touchAt(kBegan, 100, 90);
  mvtest::touchAt(kEnded, 100, 90);
  EXPECT_EQ(0, counter->presses);  // hidden rows take no touches
  view->setContentOffset(CCPoint(0, 0));
  EXPECT_TRUE(row->isVisible());
}

TEST_F(ScrollViewTest, ThePartOfAButtonCutAwayByTheViewTakesNoTouch) {
  view->setContentOffset(CCPoint(0, -30));  // the button lies at y 40 .. 80, the view from 50
  ASSERT_TRUE(row->isVisible());
  mvtest::touchAt(kBegan, 100, 45);
  mvtest::touchAt(kEnded, 100, 45);
  tick();
  EXPECT_EQ(0, counter->presses);
  mvtest::touchAt(kBegan, 100, 70);
  mvtest::touchAt(kEnded, 100, 70);
  tick();
  EXPECT_EQ(1, counter->presses);
}

TEST_F(ScrollViewTest, OffsetRangeCoversContentLargerOrSmallerThanTheView) {
  EXPECT_EQ(-300.f, view->minContainerOffset().y);
  EXPECT_EQ(0.f, view->maxContainerOffset().y);
  view->setContentSize(CCSize(50, 40));
  EXPECT_EQ(0.f, view->minContainerOffset().y);
  EXPECT_EQ(60.f, view->maxContainerOffset().y);
  EXPECT_EQ(150.f, view->maxContainerOffset().x);
}

}  // namespace
