#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "CCActionEase.h"
#include "CCActionInstant.h"
#include "CCActionInterval.h"
#include "CCLayer.h"
#include "CCLayerColor.h"
#include "CCNode.h"
#include "CCPointExtension.h"
#include "CCString.h"
#include "engine_fixture.h"

using namespace cocos2d;

namespace {

// A running node that counts call-backs and scheduled calls.
class Probe : public CCNode {
 public:
  static Probe* make() {
    Probe* p = new Probe();
    p->autorelease();
    p->onEnter();
    return p;
  }
  void ping() { ++pings; }
  void pingNode(CCNode* n) {
    ++pings;
    lastNode = n;
  }
  void pingData(CCNode*, void* d) { lastData = d; }
  void pingObject(CCObject* o) { lastObject = o; }
  void tickA(float) {
    ++ticksA;
    if (onA) onA();
  }
  void tickB(float) { ++ticksB; }
  void update(float) override { ++updates; }

  int pings = 0, ticksA = 0, ticksB = 0, updates = 0;
  CCNode* lastNode = nullptr;
  void* lastData = nullptr;
  CCObject* lastObject = nullptr;
  std::function<void()> onA;
};

class ActionTest : public EngineTest {
 protected:
  void TearDown() override {
    for (Probe* p : probes) {
      p->onExit();
      p->cleanup();
    }
    EngineTest::TearDown();
  }
  Probe* probe() {
    Probe* p = Probe::make();
    probes.push_back(p);
    return p;
  }
  std::vector<Probe*> probes;
};

TEST_F(ActionTest, IntervalFirstStepStartsTheClockAndTheActionEndsAtItsDuration) {
  Probe* p = probe();
  p->setPosition(ccp(0, 0));
  p->runAction(CCMoveTo::create(1.0f, ccp(100, 0)));
  tick(0.25f);  // first step: time 0
  EXPECT_FLOAT_EQ(0.f, p->getPositionX());
  tick(0.25f);
  EXPECT_FLOAT_EQ(25.f, p->getPositionX());
  tick(0.5f);
  tick(0.25f);
  EXPECT_FLOAT_EQ(100.f, p->getPositionX());
  EXPECT_EQ(0u, p->numberOfRunningActions());
}

TEST_F(ActionTest, SequenceRunsActionsInTurnAndCallsBackOnce) {
  Probe* p = probe();
  p->runAction(CCSequence::create(CCMoveBy::create(0.5f, ccp(10, 0)), CCCallFunc::create(p, callfunc_selector(Probe::ping)),
                                  CCScaleTo::create(0.5f, 3.0f), CCCallFuncN::create(p, callfuncN_selector(Probe::pingNode)),
                                  NULL));
  tick(0);
  tick(0.25f);
  EXPECT_FLOAT_EQ(5.f, p->getPositionX());
  EXPECT_EQ(0, p->pings);
  tick(0.5f);  // crosses the call-back
  EXPECT_FLOAT_EQ(10.f, p->getPositionX());
  EXPECT_EQ(1, p->pings);
  EXPECT_FLOAT_EQ(2.0f, p->getScale());
  tick(1.0f);
  EXPECT_FLOAT_EQ(3.0f, p->getScale());
  EXPECT_EQ(2, p->pings);
  EXPECT_EQ(p, p->lastNode);
  EXPECT_EQ(0u, p->numberOfRunningActions());
}

TEST_F(ActionTest, SequenceSkippedInOneFrameStillRunsEveryStep) {
  Probe* p = probe();
  CCArray* steps = CCArray::create(CCMoveBy::create(0.1f, ccp(1, 0)), CCCallFunc::create(p, callfunc_selector(Probe::ping)),
                                   CCMoveBy::create(0.1f, ccp(0, 1)), NULL);
  p->runAction(CCSequence::createWithArray(steps));
  tick(0);
  tick(5.0f);
  EXPECT_FLOAT_EQ(1.f, p->getPositionX());
  EXPECT_FLOAT_EQ(1.f, p->getPositionY());
  EXPECT_EQ(1, p->pings);
}

TEST_F(ActionTest, SpawnLastsAsLongAsItsLongestPart) {
  Probe* p = probe();
  CCAction* spawn = CCSpawn::create(CCMoveTo::create(1.0f, ccp(10, 0)), CCRotateBy::create(2.0f, 90), NULL);
  EXPECT_FLOAT_EQ(2.0f, static_cast<CCFiniteTimeAction*>(spawn)->getDuration());
  p->runAction(spawn);
  tick(0);
  tick(1.0f);
  EXPECT_FLOAT_EQ(10.f, p->getPositionX());
  EXPECT_FLOAT_EQ(45.f, p->getRotation());
  tick(1.0f);
  EXPECT_FLOAT_EQ(90.f, p->getRotation());
  EXPECT_EQ(0u, p->numberOfRunningActions());
}

TEST_F(ActionTest, RepeatCallsBackEachTimeAndRepeatForeverKeepsItsPeriod) {
  Probe* p = probe();
  p->runAction(CCRepeat::create(CCSequence::create(CCDelayTime::create(0.5f), CCCallFunc::create(p, callfunc_selector(Probe::ping)), NULL), 3));
  tick(0);
  for (int i = 0; i < 20; ++i) tick(0.1f);
  EXPECT_EQ(3, p->pings);

  Probe* q = probe();
  q->runAction(CCRepeatForever::create(CCSequence::create(CCDelayTime::create(1.0f), CCCallFunc::create(q, callfunc_selector(Probe::ping)), NULL)));
  tick(0);
  // Uneven frames: the overshoot of each round is carried into the next.
  for (int i = 0; i < 105; ++i) tick(i % 2 ? 0.07f : 0.13f);  // 10.5 seconds
  EXPECT_EQ(10, q->pings);
  EXPECT_EQ(1u, q->numberOfRunningActions());
}

TEST_F(ActionTest, RepeatOfAnInstantActionRunsItTheGivenNumberOfTimes) {
  Probe* p = probe();
  p->runAction(CCRepeat::create(CCCallFunc::create(p, callfunc_selector(Probe::ping)), 4));
  tick(0);
  tick(0.1f);
  tick(0.1f);
  EXPECT_EQ(4, p->pings);
}

TEST_F(ActionTest, CallFuncVariantsPassNodeDataAndObject) {
  Probe* p = probe();
  int token = 7;
  CCString* obj = CCString::create("x");
  p->runAction(CCSequence::create(CCCallFuncND::create(p, callfuncND_selector(Probe::pingData), &token),
                                  CCCallFuncO::create(p, callfuncO_selector(Probe::pingObject), obj), NULL));
  tick(0);
  tick(0.1f);
  EXPECT_EQ(&token, p->lastData);
  EXPECT_EQ(obj, p->lastObject);
}

TEST_F(ActionTest, ShowHideAndTintWorkOnRgbaNodes) {
  CCLayer* layer = CCLayer::create();
  layer->onEnter();
  layer->runAction(CCSequence::create(CCHide::create(), CCFadeTo::create(1.0f, 55), NULL));
  tick(0);
  EXPECT_FALSE(layer->isVisible());
  tick(0.5f);
  tick(0.5f);
  EXPECT_EQ(55, layer->getOpacity());
  layer->runAction(CCShow::create());
  tick(0.1f);
  EXPECT_TRUE(layer->isVisible());
  layer->onExit();
  layer->cleanup();
}

// Eased times leave 0..1: back curves overshoot, a broken rate read from a screen file gives
// infinity. Opacity and colour then stop at the ends of their range instead of wrapping.
TEST_F(ActionTest, EasedFadesAndTintsStopAtTheEndsOfTheirRange) {
  struct Case {
    const char* what;
    std::function<CCActionInterval*()> make;
    float at;        // seconds into the one-second action
    GLubyte expect;  // opacity, and red for tints
  } cases[] = {
      {"back out past 255", [] { return CCEaseBackOut::create(CCFadeTo::create(1, 255)); }, 0.5f, 255},
      {"back in below 0", [] { return CCEaseBackIn::create(CCFadeTo::create(1, 255)); }, 0.25f, 0},
      {"fade in overshooting", [] { return CCEaseBackOut::create(CCFadeIn::create(1)); }, 0.5f, 255},
      {"fade out overshooting", [] { return CCEaseBackIn::create(CCFadeOut::create(1)); }, 0.25f, 255},
      {"tint past 255", [] { return CCEaseBackOut::create(CCTintTo::create(1, 255, 255, 255)); }, 0.5f, 255},
      {"negative rate", [] { return CCEaseInOut::create(CCTintTo::create(1, 255, 255, 255), -1); }, 0.f, 255},
  };
  for (const Case& c : cases) {
    CCLayerColor* layer = CCLayerColor::create(ccc4(0, 0, 0, 0));
    layer->onEnter();
    layer->runAction(c.make());
    tick(0);
    tick(c.at);
    bool tint = std::string(c.what).find("tint") != std::string::npos || c.at == 0.f;
    EXPECT_EQ(c.expect, tint ? layer->getColor().r : layer->getOpacity()) << c.what;
    layer->onExit();
    layer->cleanup();
  }
}

TEST_F(ActionTest, StoppingActionsByTagAndWhileRunningIsSafe) {
  Probe* p = probe();
  CCAction* a = CCMoveBy::create(1.0f, ccp(10, 0));
  a->setTag(5);
  p->runAction(a);
  EXPECT_EQ(a, p->getActionByTag(5));
  p->stopActionByTag(5);
  EXPECT_EQ(nullptr, p->getActionByTag(5));
  // A call-back that stops every action of its node, itself included.
  struct Stopper : public CCNode {
    void stopAll() { stopAllActions(); }
  };
  Stopper* s = new Stopper();
  s->autorelease();
  s->onEnter();
  s->runAction(CCSequence::create(CCDelayTime::create(0.1f), CCCallFunc::create(s, callfunc_selector(Stopper::stopAll)), CCMoveBy::create(1.0f, ccp(5, 0)), NULL));
  s->runAction(CCMoveBy::create(1.0f, ccp(0, 5)));
  tick(0);
  tick(0.2f);
  tick(0.2f);
  EXPECT_EQ(0u, s->numberOfRunningActions());
  s->onExit();
  s->cleanup();
}

// An action that stops the node's others in a frame: they do not step in it, and one it
// starts waits for the next frame. With few actions and with many.
class ActionSnapshotTest : public ActionTest, public ::testing::WithParamInterface<int> {};

TEST_P(ActionSnapshotTest, ActionsStoppedInAFrameDoNotStepAndNewOnesWaitAFrame) {
  struct Node : public CCNode {
    void stopOthersAndStartOne() {
      while (getActionByTag(7)) stopActionByTag(7);
      runAction(CCMoveBy::create(1.0f, ccp(0, 10)));
    }
  };
  Node* n = new Node();
  n->autorelease();
  n->onEnter();
  n->runAction(CCSequence::create(CCDelayTime::create(0.1f),
                                  CCCallFunc::create(n, callfunc_selector(Node::stopOthersAndStartOne)),
                                  NULL));
  for (int i = 1; i < GetParam(); ++i) {
    CCAction* move = CCMoveBy::create(1.0f, ccp(1, 0));
    move->setTag(7);
    n->runAction(move);
  }
  tick(0);
  tick(0.2f);
  EXPECT_FLOAT_EQ(n->getPosition().x, 0);
  EXPECT_FLOAT_EQ(n->getPosition().y, 0);
  EXPECT_EQ(1u, n->numberOfRunningActions());
  tick(0.5f);
  tick(0.5f);
  EXPECT_FLOAT_EQ(n->getPosition().x, 0);
  EXPECT_GT(n->getPosition().y, 0);
  n->onExit();
  n->cleanup();
}

INSTANTIATE_TEST_SUITE_P(FewAndMany, ActionSnapshotTest, ::testing::Values(3, 12));

TEST_F(ActionTest, ActionsOfANodeThatIsNotRunningWaitUntilItEnters) {
  CCNode* n = CCNode::create();
  n->runAction(CCMoveBy::create(0.1f, ccp(10, 0)));
  tick(0);
  tick(1.0f);
  EXPECT_FLOAT_EQ(0.f, n->getPositionX());
  n->onEnter();
  tick(0);
  tick(1.0f);
  EXPECT_FLOAT_EQ(10.f, n->getPositionX());
  n->onExit();
}

struct EaseCase {
  const char* name;
  std::function<CCActionInterval*(CCActionInterval*)> make;
};
void PrintTo(const EaseCase& c, std::ostream* os) { *os << c.name; }

class EaseEndPointTest : public ActionTest, public ::testing::WithParamInterface<EaseCase> {};

TEST_P(EaseEndPointTest, StartsAtTheStartAndEndsExactlyAtTheEnd) {
  Probe* p = probe();
  p->setPosition(ccp(0, 0));
  p->runAction(GetParam().make(CCMoveTo::create(1.0f, ccp(100, 0))));
  tick(0);
  EXPECT_NEAR(0.f, p->getPositionX(), 1e-3);
  for (int i = 0; i < 9; ++i) tick(0.1f);
  tick(0.2f);
  EXPECT_FLOAT_EQ(100.f, p->getPositionX());
}

INSTANTIATE_TEST_SUITE_P(
    Eases, EaseEndPointTest,
    ::testing::Values(
        EaseCase{"In", [](CCActionInterval* a) -> CCActionInterval* { return CCEaseIn::create(a, 2); }},
        EaseCase{"Out", [](CCActionInterval* a) -> CCActionInterval* { return CCEaseOut::create(a, 2); }},
        EaseCase{"InOut", [](CCActionInterval* a) -> CCActionInterval* { return CCEaseInOut::create(a, 3); }},
        EaseCase{"ExpIn", [](CCActionInterval* a) -> CCActionInterval* { return CCEaseExponentialIn::create(a); }},
        EaseCase{"ExpOut", [](CCActionInterval* a) -> CCActionInterval* { return CCEaseExponentialOut::create(a); }},
        EaseCase{"ExpInOut", [](CCActionInterval* a) -> CCActionInterval* { return CCEaseExponentialInOut::create(a); }},
        EaseCase{"SineIn", [](CCActionInterval* a) -> CCActionInterval* { return CCEaseSineIn::create(a); }},
        EaseCase{"SineOut", [](CCActionInterval* a) -> CCActionInterval* { return CCEaseSineOut::create(a); }},
        EaseCase{"SineInOut", [](CCActionInterval* a) -> CCActionInterval* { return CCEaseSineInOut::create(a); }},
        EaseCase{"ElasticIn", [](CCActionInterval* a) -> CCActionInterval* { return CCEaseElasticIn::create(a); }},
        EaseCase{"ElasticOut", [](CCActionInterval* a) -> CCActionInterval* { return CCEaseElasticOut::create(a); }},
        EaseCase{"ElasticInOut", [](CCActionInterval* a) -> CCActionInterval* { return CCEaseElasticInOut::create(a, 0.4f); }},
        EaseCase{"BounceIn", [](CCActionInterval* a) -> CCActionInterval* { return CCEaseBounceIn::create(a); }},
        EaseCase{"BounceOut", [](CCActionInterval* a) -> CCActionInterval* { return CCEaseBounceOut::create(a); }},
        EaseCase{"BounceInOut", [](CCActionInterval* a) -> CCActionInterval* { return CCEaseBounceInOut::create(a); }},
        EaseCase{"BackIn", [](CCActionInterval* a) -> CCActionInterval* { return CCEaseBackIn::create(a); }},
        EaseCase{"BackOut", [](CCActionInterval* a) -> CCActionInterval* { return CCEaseBackOut::create(a); }},
        EaseCase{"BackInOut", [](CCActionInterval* a) -> CCActionInterval* { return CCEaseBackInOut::create(a); }}),
    [](const ::testing::TestParamInfo<EaseCase>& info) { return std::string(info.param.name); });

TEST_F(ActionTest, EaseCopiesKeepTheirParameterAndReversesSwapTheCurve) {
  CCMoveBy* move = CCMoveBy::create(1.0f, ccp(10, 0));
  CCEaseIn* in = CCEaseIn::create(move, 3);
  CCEaseIn* copy = dynamic_cast<CCEaseIn*>(in->copy());
  ASSERT_NE(nullptr, copy);
  copy->autorelease();
  EXPECT_FLOAT_EQ(3.f, copy->getRate());
  EXPECT_NE(in->getInnerAction(), copy->getInnerAction());

  CCEaseOut* out = dynamic_cast<CCEaseOut*>(in->reverse());
  ASSERT_NE(nullptr, out);
  EXPECT_FLOAT_EQ(3.f, out->getRate());
  // The plain rate ease has no opposite curve: its reverse inverts the rate.
  CCEaseRateAction* rate = dynamic_cast<CCEaseRateAction*>(CCEaseRateAction::create(move, 4)->reverse());
  ASSERT_NE(nullptr, rate);
  EXPECT_FLOAT_EQ(0.25f, rate->getRate());

  CCEaseElasticOut* elastic = dynamic_cast<CCEaseElasticOut*>(CCEaseElasticIn::create(move, 0.4f)->reverse());
  ASSERT_NE(nullptr, elastic);
  EXPECT_FLOAT_EQ(0.4f, elastic->getPeriod());
  CCEaseElasticIn* elasticCopy = dynamic_cast<CCEaseElasticIn*>(CCEaseElasticIn::create(move, 0.4f)->copy());
  ASSERT_NE(nullptr, elasticCopy);
  elasticCopy->autorelease();
  EXPECT_FLOAT_EQ(0.4f, elasticCopy->getPeriod());

  EXPECT_NE(nullptr, dynamic_cast<CCEaseBounceOut*>(CCEaseBounceIn::create(move)->reverse()));
  EXPECT_NE(nullptr, dynamic_cast<CCEaseSineInOut*>(CCEaseSineInOut::create(move)->reverse()));
}

TEST_F(ActionTest, CopiedSequenceRunsIndependentlyOfTheOriginal) {
  Probe* p = probe();
  Probe* q = probe();
  CCSequence* seq = CCSequence::create(CCMoveBy::create(0.5f, ccp(4, 0)), CCCallFunc::create(p, callfunc_selector(Probe::ping)), NULL);
  CCSequence* copy = static_cast<CCSequence*>(seq->copy());
  copy->autorelease();
  p->runAction(seq);
  q->runAction(copy);
  tick(0);
  tick(1.0f);
  EXPECT_FLOAT_EQ(4.f, p->getPositionX());
  EXPECT_FLOAT_EQ(4.f, q->getPositionX());
  EXPECT_EQ(2, p->pings);
}

// ---- scheduler ----

using SchedulerTest = ActionTest;

TEST_F(SchedulerTest, SelectorFiresAtItsIntervalAfterTheStartingTick) {
  Probe* p = probe();
  p->schedule(schedule_selector(Probe::tickA), 0.5f);
  tick(0.1f);  // starts the clock
  EXPECT_EQ(0, p->ticksA);
  for (int i = 0; i < 10; ++i) tick(0.1f);
  EXPECT_EQ(2, p->ticksA);
}

TEST_F(SchedulerTest, RepeatAndDelayLimitTheCalls) {
  Probe* p = probe();
  p->schedule(schedule_selector(Probe::tickA), 0.1f, 2, 0.5f);  // after 0.5 s, then twice more
  p->scheduleOnce(schedule_selector(Probe::tickB), 0.3f);
  tick(0);
  for (int i = 0; i < 30; ++i) tick(0.1f);
  EXPECT_EQ(3, p->ticksA);
  EXPECT_EQ(1, p->ticksB);
  EXPECT_FALSE(p->isScheduled(schedule_selector(Probe::tickA)));
}

TEST_F(SchedulerTest, SelectorScheduledDuringATickFirstFiresOnTheNextOne) {
  Probe* p = probe();
  Probe* q = probe();
  p->onA = [&] {
    if (!q->isScheduled(schedule_selector(Probe::tickB))) q->schedule(schedule_selector(Probe::tickB));
  };
  p->schedule(schedule_selector(Probe::tickA));
  tick(0.1f);
  tick(0.1f);  // p fires and schedules q
  EXPECT_EQ(1, p->ticksA);
  EXPECT_EQ(0, q->ticksB);
  tick(0.1f);
  EXPECT_EQ(1, q->ticksB);
}

TEST_F(SchedulerTest, SelectorUnscheduledDuringATickIsNotCalledAgain) {
  Probe* p = probe();
  Probe* q = probe();
  q->schedule(schedule_selector(Probe::tickB));
  p->onA = [&] { q->unscheduleAllSelectors(); };
  p->schedule(schedule_selector(Probe::tickA));
  tick(0.1f);
  tick(0.1f);
  tick(0.1f);
  // Whether q ran in the tick where p unscheduled it depends on order; after that, never.
  int seen = q->ticksB;
  tick(0.1f);
  EXPECT_EQ(seen, q->ticksB);
  EXPECT_LE(seen, 1);
}

TEST_F(SchedulerTest, PausedTargetsKeepTheirTimersAndTimeScaleStretchesTime) {
  CCScheduler s;
  Probe* p = probe();
  p->setScheduler(&s);
  p->schedule(schedule_selector(Probe::tickA), 1.0f);
  s.update(0);
  s.pauseTarget(p);
  for (int i = 0; i < 5; ++i) s.update(1.0f);
  EXPECT_EQ(0, p->ticksA);
  EXPECT_TRUE(s.isTargetPaused(p));
  s.resumeTarget(p);
  s.setTimeScale(0.5f);
  s.update(1.0f);
  EXPECT_EQ(0, p->ticksA);
  s.update(1.0f);
  EXPECT_EQ(1, p->ticksA);
  p->unscheduleAllSelectors();
  p->setScheduler(CCScheduler::sharedScheduler());
}

TEST_F(SchedulerTest, UpdatesRunByPriorityAndPauseWithTheNode) {
  Probe* p = probe();
  p->scheduleUpdate();
  tick(0.1f);
  EXPECT_EQ(1, p->updates);
  p->onExit();
  tick(0.1f);
  EXPECT_EQ(1, p->updates);
  p->onEnter();
  tick(0.1f);
  EXPECT_EQ(2, p->updates);

  struct Order : public CCObject {
    Order(std::string* log, char c) : log(log), c(c) {}
    void update(float) override { *log += c; }
    std::string* log;
    char c;
  };
  std::string log;
  CCScheduler s;
  Order a(&log, 'a'), b(&log, 'b'), c(&log, 'c');
  s.scheduleUpdateForTarget(&a, 5, false);
  s.scheduleUpdateForTarget(&b, -5, false);
  s.scheduleUpdateForTarget(&c, 5, false);
  s.update(0.1f);
  EXPECT_EQ("bac", log);
  s.unscheduleAllSelectors();
}

}  // namespace
