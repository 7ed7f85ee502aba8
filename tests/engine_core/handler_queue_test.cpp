#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "CCAutoreleasePool.h"
#include "CCHandlerQueue.h"

using namespace cocos2d;

namespace {

struct Delegate {};

class Handler : public CCObject {
 public:
  explicit Handler(Delegate* d, int priority = 0) : m_pDelegate(d), m_nPriority(priority) { autorelease(); }
  Delegate* getDelegate() { return m_pDelegate; }
  int getPriority() { return m_nPriority; }

 private:
  Delegate* m_pDelegate;
  int m_nPriority;
};

// One delegate, registered or not before a walk, and a run of adds (+) and removes (-)
// asked for during the walk: is it registered once the walk ends?
struct Case {
  ccHandlerQueueRule rule;
  bool registeredBefore;
  std::string requests;
  bool registeredAfter;
};

void PrintTo(const Case& c, std::ostream* os) { *os << '"' << c.requests << '"'; }

class HandlerQueueRuleTest : public ::testing::TestWithParam<Case> {};

TEST_P(HandlerQueueRuleTest, RequestsDuringAWalkSettleWhenItEnds) {
  const Case& c = GetParam();
  CCPoolManager::sharedPoolManager()->push();
  CCArray* handlers = CCArray::create();
  CCHandlerQueue<Handler, Delegate> queue(c.rule);
  Delegate d;
  auto add = [&](Handler* h) {
    if (!ccHandlerFind<Handler>(handlers, h->getDelegate())) handlers->addObject(h);
  };
  if (c.registeredBefore) add(new Handler(&d));

  ASSERT_TRUE(queue.lock());
  EXPECT_FALSE(queue.lock());  // a nested walk leaves the ending to the outer one
  for (char r : c.requests) {
    if (r == '+') EXPECT_TRUE(queue.queueAdd(new Handler(&d)));
    else EXPECT_TRUE(queue.queueRemove(&d));
  }
  EXPECT_EQ(c.registeredBefore ? 1u : 0u, handlers->count());  // nothing changes during the walk
  queue.unlock([&](Delegate* x) { ccHandlerRemove<Handler>(handlers, x); }, add, [&] { handlers->removeAllObjects(); });
  EXPECT_EQ(c.registeredAfter ? 1u : 0u, handlers->count());
  EXPECT_FALSE(queue.isLocked());
  CCPoolManager::sharedPoolManager()->pop();
}

INSTANTIATE_TEST_SUITE_P(
    Rules, HandlerQueueRuleTest,
    ::testing::Values(Case{kCCHandlerLastRequestWins, false, "+", true},
                      Case{kCCHandlerLastRequestWins, false, "+-", false},
                      Case{kCCHandlerLastRequestWins, false, "+-+", true},
                      Case{kCCHandlerLastRequestWins, true, "-", false},
                      Case{kCCHandlerLastRequestWins, true, "-+", true},
                      Case{kCCHandlerLastRequestWins, true, "-+-", false},
                      Case{kCCHandlerRemovalsFirst, false, "+", true},
                      Case{kCCHandlerRemovalsFirst, false, "++", true},
                      Case{kCCHandlerRemovalsFirst, false, "+-", false},
                      Case{kCCHandlerRemovalsFirst, false, "+-+", true},
                      Case{kCCHandlerRemovalsFirst, false, "-+", true},
                      Case{kCCHandlerRemovalsFirst, true, "-", false},
                      // The queue removes, then adds back; the keyboard dispatcher refuses
                      // that add itself while the delegate still has its handler.
                      Case{kCCHandlerRemovalsFirst, true, "-+", true}),
    [](const ::testing::TestParamInfo<Case>& info) {
      const Case& c = info.param;
      std::string name = c.rule == kCCHandlerRemovalsFirst ? "RemovalsFirst" : "LastRequestWins";
      name += c.registeredBefore ? "_Registered" : "_New";
      for (char r : c.requests) name += r == '+' ? "_Add" : "_Remove";
      return name;
    });

TEST(HandlerQueueTest, OutsideAWalkNothingIsQueued) {
  CCHandlerQueue<Handler, Delegate> queue(kCCHandlerLastRequestWins);
  Delegate d;
  EXPECT_FALSE(queue.queueRemove(&d));
  EXPECT_FALSE(queue.queueRemoveAll());
}

TEST(HandlerQueueTest, AClearAskedForDuringAWalkComesAfterTheQueuedAdds) {
  CCPoolManager::sharedPoolManager()->push();
  CCArray* handlers = CCArray::create();
  CCHandlerQueue<Handler, Delegate> queue(kCCHandlerLastRequestWins);
  Delegate a, b;
  queue.lock();
  queue.queueAdd(new Handler(&a));
  EXPECT_TRUE(queue.queueRemoveAll());
  queue.queueAdd(new Handler(&b));
  queue.unlock([&](Delegate* x) { ccHandlerRemove<Handler>(handlers, x); },
               [&](Handler* h) { handlers->addObject(h); }, [&] { handlers->removeAllObjects(); });
  EXPECT_EQ(0u, handlers->count());
  CCPoolManager::sharedPoolManager()->pop();
}

TEST(HandlerQueueTest, PriorityInsertPutsLowerFirstAndTheNewestFirstAmongEquals) {
  CCPoolManager::sharedPoolManager()->push();
  CCArray* handlers = CCArray::create();
  Delegate a, b, c, d;
  Handler* ha = new Handler(&a, 5);
  Handler* hb = new Handler(&b, -1);
  Handler* hc = new Handler(&c, 5);
  ccHandlerInsertByPriority(handlers, ha);
  ccHandlerInsertByPriority(handlers, hb);
  ccHandlerInsertByPriority(handlers, hc);
  ccHandlerInsertByPriority(handlers, new Handler(&a, -9));  // already in: ignored
  ASSERT_EQ(3u, handlers->count());
  EXPECT_EQ(hb, handlers->objectAtIndex(0));
  EXPECT_EQ(hc, handlers->objectAtIndex(1));
  EXPECT_EQ(ha, handlers->objectAtIndex(2));
  EXPECT_EQ(nullptr, ccHandlerFind<Handler>(handlers, &d));
  CCPoolManager::sharedPoolManager()->pop();
}

}  // namespace
