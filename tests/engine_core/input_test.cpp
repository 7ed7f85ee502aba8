#include <functional>
#include <string>
#include <vector>

#include "CCKeyboardDispatcher.h"
#include "CCLayer.h"
#include "CCMouseDispatcher.h"
#include "CCSet.h"
#include "CCTouch.h"
#include "CCTouchDispatcher.h"
#include "CCTouchHandler.h"
#include "engine_fixture.h"

using namespace cocos2d;

namespace {

// A delegate of all three kinds that records what it hears.
class Recorder : public CCObject, public CCTouchDelegate, public CCMouseDelegate, public CCKeyboardDelegate {
 public:
  Recorder(std::string name, std::vector<std::string>* log) : name(std::move(name)), log(log) {}
  static Recorder* make(const std::string& name, std::vector<std::string>* log) {
    Recorder* r = new Recorder(name, log);
    r->autorelease();
    return r;
  }
  void note(const std::string& what) { log->push_back(name + " " + what); }

  bool ccTouchBegan(CCTouch*, CCEvent*) override {
    note("began");
    return claimTouch;
  }
  bool ccTouchMoved(CCTouch*, CCEvent*) override {
    note("moved");
    return swallowOnMove;
  }
  void ccTouchEnded(CCTouch*, CCEvent*) override { note("ended"); }
  void ccTouchCancelled(CCTouch* t, CCEvent*) override {
    note(t ? "cancelled" : "cancelled null");
    if (t) t->getLocationInView();  // reads the touch
  }
  bool ccTouchesBegan(CCSet* s, int active, CCEvent*) override {
    note("touchesBegan " + std::to_string(s->count()) + "/" + std::to_string(active));
    return false;
  }
  void ccTouchesEnded(CCSet* s, int active, CCEvent*) override {
    note("touchesEnded " + std::to_string(s->count()) + "/" + std::to_string(active));
  }

  bool alwaysReceiveLeftDrag() override { return alwaysDrag; }
  bool mouseLeftDown(CCMouseEvent*, CCEvent*) override {
    note("down");
    if (onDown) onDown();
    return claimMouse;
  }
  bool mouseLeftDragged(CCMouseEvent*, CCEvent*) override {
    note("drag");
    return false;
  }
  bool mouseLeftUp(CCMouseEvent*, CCEvent*) override {
    note("up");
    if (onUp) onUp();
    return false;
  }
  bool mouseRightDown(CCMouseEvent*, CCEvent*) override {
    note("rdown");
    return claimMouse;
  }
  bool mouseRightUp(CCMouseEvent*, CCEvent*) override {
    note("rup");
    return false;
  }
  bool mouseMoved(CCMouseEvent*, CCEvent*) override {
    note("move");
    return true;  // moves cannot be claimed
  }
  bool mouseScrolled(CCMouseEvent*, CCEvent*) override {
    note("scroll");
    return claimMouse;
  }

  void keyDown(CCKeyboardEvent* e, CCEvent*) override {
    note("keyDown " + std::to_string(e->keyCode) + "/" + std::to_string(e->modifiers));
    if (onKey) onKey();
  }
  void keyUp(CCKeyboardEvent* e, CCEvent*) override { note("keyUp " + std::to_string(e->keyCode)); }

  std::string name;
  std::vector<std::string>* log;
  bool claimTouch = false;
  bool swallowOnMove = false;
  bool claimMouse = false;
  bool alwaysDrag = false;
  std::function<void()> onDown, onUp, onKey;
};

using Log = std::vector<std::string>;

// ---- touches ----

class TouchTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    dispatcher = CCTouchDispatcher::sharedDispatcher();
    touch = new CCTouch();
    touch->autorelease();
    touch->setTouchInfo(1, 10, 10);
    set = CCSet::create();
    set->addObject(touch);
  }
  CCTouchDispatcher* dispatcher = nullptr;
  CCTouch* touch = nullptr;
  CCSet* set = nullptr;
};

TEST_F(TouchTest, TargetedHandlersGoByPriorityAndASwallowingClaimStopsTheWalk) {
  Log log;
  Recorder* a = Recorder::make("a", &log);
  Recorder* b = Recorder::make("b", &log);
  Recorder* c = Recorder::make("c", &log);
  Recorder* std1 = Recorder::make("s", &log);
  dispatcher->addTargetedDelegate(b, 0, true);
  dispatcher->addTargetedDelegate(a, -5, false);
  dispatcher->addTargetedDelegate(c, 10, false);
  dispatcher->addStandardDelegate(std1, 0);
  a->claimTouch = true;
  b->claimTouch = true;
  dispatcher->touchesBegan(set, 1, nullptr);
  dispatcher->touchesEnded(set, 1, nullptr);
  EXPECT_EQ((Log{"a began", "b began", "a ended", "b ended"}), log);

  // Nothing swallows: the standard handler gets the touches with the count of touches down.
  log.clear();
  b->claimTouch = false;
  dispatcher->touchesBegan(set, 2, nullptr);
  EXPECT_EQ((Log{"a began", "b began", "c began", "s touchesBegan 1/2"}), log);
}

TEST_F(TouchTest, AMoveAnsweredTrueMakesTheHandlerSwallowFromThenOn) {
  Log log;
  Recorder* scroll = Recorder::make("scroll", &log);
  Recorder* button = Recorder::make("button", &log);
  dispatcher->addTargetedDelegate(scroll, -10, false);
  dispatcher->addTargetedDelegate(button, 0, true);
  scroll->claimTouch = true;
  button->claimTouch = true;
  dispatcher->touchesBegan(set, 1, nullptr);
  scroll->swallowOnMove = true;
  dispatcher->touchesMoved(set, 1, nullptr);
  dispatcher->touchesMoved(set, 1, nullptr);
  dispatcher->touchesEnded(set, 1, nullptr);
  EXPECT_EQ((Log{"scroll began", "button began", "scroll moved", "scroll moved", "scroll ended"}), log);

  // One frame later the scroll view cancels every targeted touch: the button drops its press
  // with the touch it holds (never a null one), and the scroll view no longer swallows.
  log.clear();
  dispatcher->cancelAllTargetedTouches(scroll);
  EXPECT_EQ((Log{"button cancelled"}), log);
  auto* handler = static_cast<CCTargetedTouchHandler*>(dispatcher->findHandler(scroll));
  EXPECT_FALSE(handler->isSwallowsTouches());
}

TEST_F(TouchTest, CancellingWithNoClaimedTouchCallsNobody) {
  Log log;
  Recorder* a = Recorder::make("a", &log);
  dispatcher->addTargetedDelegate(a, 0, true);
  dispatcher->cancelAllTargetedTouches(nullptr);
  EXPECT_TRUE(log.empty());
}

TEST_F(TouchTest, HandlersAddedOrRemovedDuringAWalkChangeOnlyAfterIt) {
  Log log;
  Recorder* a = Recorder::make("a", &log);
  Recorder* b = Recorder::make("b", &log);
  Recorder* late = Recorder::make("late", &log);
  dispatcher->addTargetedDelegate(a, 0, false);
  dispatcher->addTargetedDelegate(b, 1, false);
  a->claimTouch = true;
  a->onDown = nullptr;
  // a removes b and adds late while the walk runs.
  struct Mutator : public Recorder {
    using Recorder::Recorder;
    bool ccTouchBegan(CCTouch* t, CCEvent* e) override {
      CCTouchDispatcher::sharedDispatcher()->removeDelegate(victim);
      CCTouchDispatcher::sharedDispatcher()->addTargetedDelegate(newcomer, -1, false);
      return Recorder::ccTouchBegan(t, e);
    }
    Recorder* victim = nullptr;
    Recorder* newcomer = nullptr;
  };
  Mutator* m = new Mutator("m", &log);
  m->autorelease();
  m->victim = b;
  m->newcomer = late;
  dispatcher->addTargetedDelegate(m, -5, false);
  dispatcher->touchesBegan(set, 1, nullptr);
  EXPECT_EQ((Log{"m began", "a began", "b began"}), log);
  log.clear();
  dispatcher->touchesBegan(set, 1, nullptr);
  EXPECT_EQ((Log{"m began", "late began", "a began"}), log);
}

TEST_F(TouchTest, NoDelegateHearsAnythingWhileDispatchIsOff) {
  Log log;
  dispatcher->addTargetedDelegate(Recorder::make("a", &log), 0, true);
  dispatcher->setDispatchEvents(false);
  dispatcher->touchesBegan(set, 1, nullptr);
  EXPECT_TRUE(log.empty());
}

TEST_F(TouchTest, AddingTheSameDelegateTwiceKeepsOneHandler) {
  Log log;
  Recorder* a = Recorder::make("a", &log);
  dispatcher->addTargetedDelegate(a, 0, true);
  dispatcher->addTargetedDelegate(a, 5, true);
  EXPECT_EQ(1u, dispatcher->getTargetedHandlers()->count());
  dispatcher->removeDelegate(a);
  EXPECT_EQ(0u, dispatcher->getTargetedHandlers()->count());
}

// ---- mouse ----

class MouseTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    dispatcher = CCMouseDispatcher::sharedDispatcher();
  }
  void send(int kind) {
    CCMouseEvent e(CCPoint(5, 5), CCPoint(0, 0));
    dispatcher->dispatchMouseEvent(&e, nullptr, kind);
  }
  CCMouseDispatcher* dispatcher = nullptr;
};

TEST_F(MouseTest, ThePressGoesToTheFirstClaimerWhichAloneGetsDragsAndRelease) {
  Log log;
  Recorder* front = Recorder::make("front", &log);
  Recorder* back = Recorder::make("back", &log);
  dispatcher->addDelegate(back, 0);
  dispatcher->addDelegate(front, -10);
  front->claimMouse = true;
  send(kCCMouseLeftDown);
  send(kCCMouseLeftDragged);
  send(kCCMouseMoved);
  send(kCCMouseLeftUp);
  send(kCCMouseLeftUp);  // no longer held
  EXPECT_EQ((Log{"front down", "front drag", "front move", "back move", "front up"}), log);
}

TEST_F(MouseTest, EqualPrioritiesServeTheNewestFirst) {
  Log log;
  dispatcher->addDelegate(Recorder::make("old", &log), 0);
  dispatcher->addDelegate(Recorder::make("new", &log), 0);
  send(kCCMouseLeftDown);
  EXPECT_EQ((Log{"new down", "old down"}), log);
}

TEST_F(MouseTest, AlwaysReceiveLeftDragGetsDragsWithoutClaiming) {
  Log log;
  Recorder* claimer = Recorder::make("claimer", &log);
  Recorder* watcher = Recorder::make("watcher", &log);
  claimer->claimMouse = true;
  watcher->alwaysDrag = true;
  dispatcher->addDelegate(claimer, -1);
  dispatcher->addDelegate(watcher, 5);
  send(kCCMouseLeftDown);
  send(kCCMouseLeftDragged);
  send(kCCMouseLeftUp);
  EXPECT_EQ((Log{"claimer down", "claimer drag", "watcher drag", "claimer up", "watcher up"}), log);
}

TEST_F(MouseTest, RightButtonHeldSeparatelyFromLeft) {
  Log log;
  Recorder* r = Recorder::make("r", &log);
  r->claimMouse = true;
  dispatcher->addDelegate(r, 0);
  send(kCCMouseRightDown);
  send(kCCMouseLeftUp);  // left not held
  send(kCCMouseRightUp);
  EXPECT_EQ((Log{"r rdown", "r rup"}), log);
}

TEST_F(MouseTest, ADelegateRemovingItselfStaysForThisEventAndIsGoneForTheNext) {
  Log log;
  Recorder* a = Recorder::make("a", &log);
  Recorder* b = Recorder::make("b", &log);
  a->claimMouse = true;
  a->onUp = [&] { dispatcher->removeDelegate(a); };
  a->alwaysDrag = true;
  b->alwaysDrag = true;
  dispatcher->addDelegate(a, 0);
  dispatcher->addDelegate(b, 1);
  send(kCCMouseLeftDown);
  send(kCCMouseLeftUp);
  send(kCCMouseLeftUp);
  EXPECT_EQ((Log{"a down", "a up", "b up", "b up"}), log);
}

TEST_F(MouseTest, AddedAndRemovedInOneWalkEndsUnregistered) {
  Log log;
  Recorder* a = Recorder::make("a", &log);
  Recorder* ghost = Recorder::make("ghost", &log);
  a->onDown = [&] {
    dispatcher->addDelegate(ghost, 0);
    dispatcher->removeDelegate(ghost);
  };
  dispatcher->addDelegate(a, 0);
  send(kCCMouseLeftDown);
  EXPECT_EQ(1u, dispatcher->getHandlers()->count());
  send(kCCMouseMoved);
  EXPECT_EQ((Log{"a down", "a move"}), log);
}

TEST_F(MouseTest, CursorFollowsEvenWhileDispatchIsOff) {
  struct Cursor : public CCCursorDelegate {
    void setCursorPosition(CCMouseEvent* e) override { pos = e->getLocationInView(); }
    void showCursor() override { shown = true; }
    void hideCursor() override { shown = false; }
    CCPoint pos;
    bool shown = false;
  } cursor;
  Log log;
  dispatcher->addDelegate(Recorder::make("a", &log), 0);
  dispatcher->setCursorDelegate(&cursor);
  dispatcher->setDispatchEvents(false);
  CCMouseEvent e(CCPoint(3, 4), CCPoint(0, 0));
  dispatcher->mouseEntered(&e, nullptr);
  dispatcher->mouseMoved(&e, nullptr);
  EXPECT_TRUE(cursor.shown);
  EXPECT_FLOAT_EQ(3.f, cursor.pos.x);
  dispatcher->mouseExited(&e, nullptr);
  EXPECT_FALSE(cursor.shown);
  EXPECT_TRUE(log.empty());
  dispatcher->setCursorDelegate(nullptr);
}

// ---- keyboard ----

class KeyboardTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    dispatcher = CCKeyboardDispatcher::sharedDispatcher();
  }
  CCKeyboardDispatcher* dispatcher = nullptr;
};

TEST_F(KeyboardTest, EveryDelegateGetsEveryKeyInRegistrationOrder) {
  Log log;
  dispatcher->addDelegate(Recorder::make("A", &log));
  dispatcher->addDelegate(Recorder::make("B", &log));
  CCKeyboardEvent down(83, 2);
  dispatcher->keyDown(&down, nullptr);
  dispatcher->keyUp(&down, nullptr);
  EXPECT_EQ((Log{"A keyDown 83/2", "B keyDown 83/2", "A keyUp 83", "B keyUp 83"}), log);
}

TEST_F(KeyboardTest, RegistrationChangesDuringAWalkApplyFromTheNextKey) {
  Log log;
  Recorder* a = Recorder::make("A", &log);
  Recorder* late = Recorder::make("late", &log);
  Recorder* ghost = Recorder::make("ghost", &log);
  a->onKey = [&] {
    dispatcher->addDelegate(late);
    dispatcher->addDelegate(ghost);
    dispatcher->removeDelegate(ghost);
    a->onKey = nullptr;
  };
  dispatcher->addDelegate(a);
  CCKeyboardEvent k(65, 0);
  dispatcher->keyDown(&k, nullptr);
  dispatcher->keyDown(&k, nullptr);
  EXPECT_EQ((Log{"A keyDown 65/0", "A keyDown 65/0", "late keyDown 65/0"}), log);
  EXPECT_EQ(2u, dispatcher->getHandlers()->count());
}

// Queued removals are applied before queued adds: a removal never cancels a later add of
// a delegate that was not registered, while a registered one asked to go and come back
// ends unregistered (its add is refused while it still has a handler).
TEST_F(KeyboardTest, RemovalsAreAppliedBeforeAddsAfterAWalk) {
  Log log;
  Recorder* a = Recorder::make("A", &log);
  Recorder* back = Recorder::make("back", &log);
  Recorder* leaving = Recorder::make("leaving", &log);
  dispatcher->addDelegate(a);
  dispatcher->addDelegate(leaving);
  a->onKey = [&] {
    dispatcher->addDelegate(back);
    dispatcher->removeDelegate(back);
    dispatcher->addDelegate(back);
    dispatcher->removeDelegate(leaving);
    dispatcher->addDelegate(leaving);
    a->onKey = nullptr;
  };
  CCKeyboardEvent k(65, 0);
  dispatcher->keyDown(&k, nullptr);
  log.clear();
  dispatcher->keyDown(&k, nullptr);
  EXPECT_EQ((Log{"A keyDown 65/0", "back keyDown 65/0"}), log);
  EXPECT_EQ(2u, dispatcher->getHandlers()->count());
}

TEST_F(KeyboardTest, ModifierEventsUpdateTheMaskAndReachNoDelegate) {
  Log log;
  dispatcher->addDelegate(Recorder::make("A", &log));
  CCKeyboardEvent mods(-1, kCCKeyModifierShift);
  dispatcher->modifiersChanged(&mods, nullptr);
  EXPECT_EQ(8, dispatcher->getModifiers());
  EXPECT_TRUE(log.empty());
  // A key carries its own modifiers whatever the stored mask says.
  CCKeyboardEvent k(65, kCCKeyModifierCtrl);
  dispatcher->keyDown(&k, nullptr);
  EXPECT_EQ((Log{"A keyDown 65/2"}), log);
  EXPECT_EQ(8, dispatcher->getModifiers());
}

// ---- layers ----

class LayerInputTest : public EngineTest {
 protected:
  CCLayer* runningLayer(CCNode* parent = nullptr) {
    CCLayer* l = CCLayer::create();
    if (parent) parent->addChild(l);
    return l;
  }
  void press() {
    CCMouseEvent e(CCPoint(5, 5), CCPoint(0, 0));
    CCMouseDispatcher::sharedDispatcher()->mouseLeftDown(&e, nullptr);
  }
};

TEST_F(LayerInputTest, ClaimAllTouchesClaimsOnlyWhileShownWithItsParents) {
  CCNode* parent = CCNode::create();
  CCLayer* layer = runningLayer(parent);
  layer->setClaimAllTouches(true);
  CCTouch t;
  EXPECT_TRUE(layer->ccTouchBegan(&t, nullptr));
  parent->setVisible(false);
  EXPECT_FALSE(layer->ccTouchBegan(&t, nullptr));
  layer->setClaimAllTouches(false);
  parent->setVisible(true);
  EXPECT_FALSE(layer->ccTouchBegan(&t, nullptr));
}

// Counts mouse presses that reach it, claiming none.
class Counter : public CCLayer {
 public:
  static Counter* make() {
    Counter* c = new Counter();
    c->init();
    c->autorelease();
    return c;
  }
  bool mouseLeftDown(CCMouseEvent* e, CCEvent* ev) override {
    ++presses;
    return CCLayer::mouseLeftDown(e, ev);
  }
  int presses = 0;
};

TEST_F(LayerInputTest, AModalLayerSwallowsClicksOnlyWhileItAndItsParentsAreShown) {
  CCNode* root = CCNode::create();
  CCNode* panel = CCNode::create();
  root->addChild(panel);
  CCLayer* modal = runningLayer(panel);
  modal->setClaimAllTouches(true);
  modal->setTouchPriority(-100);
  modal->setTouchEnabled(true);
  Counter* below = Counter::make();
  below->setTouchEnabled(true);
  root->addChild(below);
  root->onEnter();

  press();
  EXPECT_EQ(0, below->presses);
  // The panel is hidden: the modal layer is still visible itself, but must not eat the click.
  panel->setVisible(false);
  press();
  EXPECT_EQ(1, below->presses);
  // Mouse-as-touch off claims every press, again only while shown.
  modal->setMouseTouchEnabled(false);
  press();
  EXPECT_EQ(2, below->presses);
  panel->setVisible(true);
  press();
  EXPECT_EQ(2, below->presses);
  root->onExit();
}

TEST_F(LayerInputTest, MouseAsTouchTurnsALeftPressIntoTouchZero) {
  struct Pad : public CCLayer {
    bool ccTouchBegan(CCTouch* t, CCEvent*) override {
      ids.push_back(t->getID());
      where = t->getLocationInView();
      return true;
    }
    void ccTouchEnded(CCTouch*, CCEvent*) override { ++ended; }
    std::vector<int> ids;
    CCPoint where;
    int ended = 0;
  };
  Pad* pad = new Pad();
  pad->init();
  pad->autorelease();
  pad->setTouchEnabled(true);
  pad->onEnter();
  CCMouseEvent down(CCPoint(12, 34), CCPoint(0, 0));
  CCMouseDispatcher::sharedDispatcher()->mouseLeftDown(&down, nullptr);
  CCMouseDispatcher::sharedDispatcher()->mouseLeftUp(&down, nullptr);
  EXPECT_EQ((std::vector<int>{0}), pad->ids);
  EXPECT_FLOAT_EQ(34.f, pad->where.y);
  EXPECT_EQ(1, pad->ended);
  pad->onExit();
}

TEST_F(LayerInputTest, RegistrationFollowsRunningStateAndPriorityChangesMoveBothRegistrations) {
  CCLayer* a = runningLayer();
  CCLayer* b = runningLayer();
  a->setTouchMode(kCCTouchesOneByOne);
  b->setTouchMode(kCCTouchesOneByOne);
  a->setTouchEnabled(true);
  b->setTouchEnabled(true);
  EXPECT_EQ(0u, CCTouchDispatcher::sharedDispatcher()->getTargetedHandlers()->count());
  a->onEnter();
  b->onEnter();
  b->setTouchPriority(-3);
  auto first = [](CCArray* handlers) -> CCObject* {
    return handlers->count() ? handlers->objectAtIndex(0) : nullptr;
  };
  auto* th = static_cast<CCTouchHandler*>(first(CCTouchDispatcher::sharedDispatcher()->getTargetedHandlers()));
  auto* mh = static_cast<CCMouseHandler*>(first(CCMouseDispatcher::sharedDispatcher()->getHandlers()));
  ASSERT_NE(nullptr, th);
  ASSERT_NE(nullptr, mh);
  EXPECT_EQ(static_cast<CCTouchDelegate*>(b), th->getDelegate());
  EXPECT_EQ(static_cast<CCMouseDelegate*>(b), mh->getDelegate());
  EXPECT_EQ(2u, CCMouseDispatcher::sharedDispatcher()->getHandlers()->count());
  a->onExit();
  b->onExit();
  EXPECT_EQ(0u, CCTouchDispatcher::sharedDispatcher()->getTargetedHandlers()->count());
  EXPECT_EQ(0u, CCMouseDispatcher::sharedDispatcher()->getHandlers()->count());
}

TEST_F(LayerInputTest, DisablingTheKeypadAlsoStopsKeyboardEvents) {
  CCLayer* l = runningLayer();
  l->setKeypadEnabled(true);
  l->onEnter();
  EXPECT_EQ(1u, CCKeyboardDispatcher::sharedDispatcher()->getHandlers()->count());
  l->setKeypadEnabled(false);
  EXPECT_EQ(0u, CCKeyboardDispatcher::sharedDispatcher()->getHandlers()->count());
  l->onExit();
}

TEST_F(LayerInputTest, OpacityGoesDownToColouredChildrenAndNestedLayers) {
  struct Tinted : public CCNode, public CCRGBAProtocol {
    void setColor(const ccColor3B&) override {}
    const ccColor3B& getColor() override { return ccWHITE; }
    GLubyte getOpacity() override { return opacity; }
    void setOpacity(GLubyte o) override { opacity = o; }
    void setOpacityModifyRGB(bool) override {}
    bool isOpacityModifyRGB() override { return false; }
    GLubyte opacity = 255;
  };
  CCLayer* outer = CCLayer::create();
  CCLayer* inner = CCLayer::create();
  Tinted* direct = new Tinted();
  direct->autorelease();
  Tinted* nested = new Tinted();
  nested->autorelease();
  outer->addChild(direct);
  outer->addChild(inner);
  inner->addChild(nested);
  outer->setOpacity(128);
  EXPECT_EQ(128, direct->opacity);
  EXPECT_EQ(128, inner->getOpacity());
  EXPECT_EQ(128, nested->opacity);
  EXPECT_TRUE(ccc3BEqual(ccWHITE, outer->getColor()));
}

}  // namespace
