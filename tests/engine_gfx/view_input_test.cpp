#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "CCDirector.h"
#include "CCEGLView.h"
#include "CCIMEDispatcher.h"
#include "CCKeyboardDispatcher.h"
#include "CCKeyboardEvent.h"
#include "CCLayer.h"
#include "CCMouseDelegate.h"
#include "CCScene.h"
#include "CCSet.h"
#include "CCTouch.h"
#include "ScriptedMouse.h"
#include "gfx_test_util.h"

using namespace cocos2d;

namespace {

// Records what reaches it through the touch path (left mouse button included),
// the scroll and the keys.
class RecordingLayer : public CCLayer {
 public:
  static RecordingLayer* create(int priority, bool claims) {
    RecordingLayer* l = new RecordingLayer();
    l->init();
    l->autorelease();
    l->claims = claims;
    l->setTouchPriority(priority);
    l->setTouchEnabled(true);
    l->setKeypadEnabled(true);
    return l;
  }
  bool ccTouchesBegan(CCSet* touches, int active, CCEvent*) override {
    CCTouch* t = static_cast<CCTouch*>(touches->anyObject());
    began.push_back(t->getLocation());
    lastActive = active;
    return claims;
  }
  void ccTouchesMoved(CCSet* touches, int, CCEvent*) override {
    moved.push_back(static_cast<CCTouch*>(touches->anyObject())->getLocation());
  }
  void ccTouchesEnded(CCSet*, int, CCEvent*) override { ++ended; }
  bool mouseScrolled(CCMouseEvent* event, CCEvent*) override {
    scrolls.push_back(event->getDelta());
    return true;
  }
  void keyDown(CCKeyboardEvent* event, CCEvent*) override {
    keys.emplace_back(event->getKeyCode(), event->getModifiers());
  }
  void keyUp(CCKeyboardEvent* event, CCEvent*) override { released.push_back(event->getKeyCode()); }

  bool claims = false;
  std::vector<CCPoint> began, moved, scrolls;
  int ended = 0;
  int lastActive = 0;
  std::vector<std::pair<int, int>> keys;
  std::vector<int> released;
};

// A text field stand-in that takes typed text while attached.
class TextSink : public CCIMEDelegate {
 public:
  bool canAttachWithIME() override { return true; }
  bool canDetachWithIME() override { return true; }
  bool isEditing() override { return editing; }
  void didAttachWithIME() override { editing = true; }
  void didDetachWithIME() override { editing = false; }
  void insertText(const char* text, int length) override { typed.append(text, length); }
  void deleteBackward() override {
    if (!typed.empty()) typed.pop_back();
  }
  bool editing = false;
  std::string typed;
};

void pushMouseButton(Uint32 type, int x, int y) {
  SDL_Event e;
  SDL_zero(e);
  e.type = type;
  e.button.which = mvtest::kScriptedMouse;
  e.button.button = SDL_BUTTON_LEFT;
  e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.button.x = x;
  e.button.y = y;
  SDL_PushEvent(&e);
}

void pushMotion(int x, int y) {
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_MOUSEMOTION;
  e.motion.which = mvtest::kScriptedMouse;
  e.motion.x = x;
  e.motion.y = y;
  SDL_PushEvent(&e);
}

void pushKey(SDL_Keycode key, Uint16 mod, bool down = true) {
  SDL_Event e;
  SDL_zero(e);
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.sym = key;
  e.key.keysym.mod = mod;
  SDL_PushEvent(&e);
}

void pushWheel(int y) {
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_MOUSEWHEEL;
  e.wheel.which = mvtest::kScriptedMouse;
  e.wheel.y = y;
  e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
  SDL_PushEvent(&e);
}

void pump() { CCDirector::sharedDirector()->getOpenGLView()->pollEvents(); }

class ViewInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!gfxtest::testView()) GTEST_SKIP() << "no display";
    SDL_SetModState(KMOD_NONE);
    pump();  // drop whatever the window system queued
    front = RecordingLayer::create(-10, true);
    back = RecordingLayer::create(0, true);
    CCScene* scene = CCScene::create();
    scene->addChild(back);
    scene->addChild(front);
    gfxtest::showScene(scene);
  }
  void TearDown() override { SDL_SetModState(KMOD_NONE); }
  RecordingLayer* front = nullptr;
  RecordingLayer* back = nullptr;
};

TEST_F(ViewInputTest, LeftPressDragAndReleaseReachTheLayerThatClaimsFirst) {
  pushMouseButton(SDL_MOUSEBUTTONDOWN, 30, 40);
  pushMotion(35, 45);
  pushMouseButton(SDL_MOUSEBUTTONUP, 35, 45);
  pump();
  ASSERT_EQ(front->began.size(), 1u);
  // Window y runs down, scene y runs up.
  EXPECT_FLOAT_EQ(front->began[0].x, 30);
  EXPECT_FLOAT_EQ(front->began[0].y, gfxtest::kViewHeight - 40);
  ASSERT_EQ(front->moved.size(), 1u);
  EXPECT_FLOAT_EQ(front->moved[0].y, gfxtest::kViewHeight - 45);
  EXPECT_EQ(front->ended, 1);
  EXPECT_TRUE(back->began.empty());
  EXPECT_EQ(back->ended, 0);
}

TEST_F(ViewInputTest, PressWithShiftHeldOrReleaseWithoutPressIsNotDelivered) {
  pushMouseButton(SDL_MOUSEBUTTONUP, 10, 10);
  pump();
  SDL_SetModState(KMOD_LSHIFT);
  pushMouseButton(SDL_MOUSEBUTTONDOWN, 10, 10);
  pushMouseButton(SDL_MOUSEBUTTONUP, 10, 10);
  pump();
  EXPECT_TRUE(front->began.empty());
  EXPECT_EQ(front->ended, 0);
}

TEST_F(ViewInputTest, WheelNotchDownScrollsBy120) {
  pushWheel(-1);
  pushWheel(2);
  pump();
  ASSERT_EQ(front->scrolls.size(), 2u);
  EXPECT_FLOAT_EQ(front->scrolls[0].y, -120);
  EXPECT_FLOAT_EQ(front->scrolls[1].y, 240);
  EXPECT_TRUE(back->scrolls.empty());  // the first layer claims the scroll
}

TEST_F(ViewInputTest, KeysArriveAsVirtualKeyCodesWithModifiersAtEveryLayer) {
  pushKey(SDLK_s, KMOD_LCTRL);
  pushKey(SDLK_F4, KMOD_LSHIFT | KMOD_RALT);
  pushKey(SDLK_KP_7, KMOD_NONE);
  pushKey(SDLK_MINUS, KMOD_NONE);
  pump();
  const std::vector<std::pair<int, int>> want = {{83, 2}, {115, 24}, {103, 0}, {189, 0}};
  EXPECT_EQ(front->keys, want);
  EXPECT_EQ(back->keys, want);
}

TEST_F(ViewInputTest, ModifierChangesReachTheKeyboardDispatcher) {
  pushKey(SDLK_LCTRL, KMOD_LCTRL);
  pump();
  EXPECT_EQ(CCKeyboardDispatcher::sharedDispatcher()->getModifiers(), 2);
  pushKey(SDLK_a, KMOD_NONE);
  pump();
  EXPECT_EQ(CCKeyboardDispatcher::sharedDispatcher()->getModifiers(), 0);
}

TEST_F(ViewInputTest, TypedAndPastedTextGoesToTheEditedFieldAndKeysStayAway) {
  TextSink sink;
  ASSERT_TRUE(sink.attachWithIME());
  SDL_Event text;
  SDL_zero(text);
  text.type = SDL_TEXTINPUT;
  std::snprintf(text.text.text, sizeof(text.text.text), "%s", "h\xC3\xA9");
  SDL_PushEvent(&text);
  pushKey(SDLK_x, KMOD_NONE);
  pump();
  EXPECT_EQ(sink.typed, "h\xC3\xA9");
  EXPECT_TRUE(front->keys.empty());  // no hotkeys while typing
  if (SDL_SetClipboardText("one\ntwo\r\n") == 0) {
    pushKey(SDLK_v, KMOD_LCTRL);
    pump();
    EXPECT_EQ(sink.typed, "h\xC3\xA9onetwo");
  }
  sink.detachWithIME();
  pushKey(SDLK_x, KMOD_NONE);
  pump();
  EXPECT_EQ(front->keys.size(), 1u);
}

// While a field edits, the keys are its own; only a key held from before is released.
TEST_F(ViewInputTest, AKeyHeldWhenEditingBeginsIsStillReleasedAndTypedKeysReachNoLayer) {
  pushKey(SDLK_a, KMOD_NONE);
  pump();
  ASSERT_EQ(front->keys.size(), 1u);
  TextSink sink;
  ASSERT_TRUE(sink.attachWithIME());
  pushKey(SDLK_b, KMOD_NONE);
  pushKey(SDLK_b, KMOD_NONE, false);
  pushKey(SDLK_a, KMOD_NONE, false);
  pump();
  sink.detachWithIME();
  EXPECT_EQ(front->keys.size(), 1u);
  EXPECT_EQ(front->released, std::vector<int>{front->keys[0].first});
}

TEST_F(ViewInputTest, FingerTouchesCountTheFingersDown) {
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_FINGERDOWN;
  e.tfinger.fingerId = 7;
  e.tfinger.x = 0.5f;
  e.tfinger.y = 0.25f;
  SDL_PushEvent(&e);
  e.tfinger.fingerId = 8;
  e.tfinger.x = 0.9f;  // far from where other tests click, so never taken for a repeat
  SDL_PushEvent(&e);
  pump();
  ASSERT_EQ(front->began.size(), 2u);
  EXPECT_FLOAT_EQ(front->began[0].x, gfxtest::kViewWidth / 2);
  EXPECT_FLOAT_EQ(front->began[0].y, gfxtest::kViewHeight * 0.75f);
  EXPECT_EQ(front->lastActive, 2);
  e.type = SDL_FINGERUP;
  SDL_PushEvent(&e);
  e.tfinger.fingerId = 7;
  SDL_PushEvent(&e);
  pump();
  EXPECT_EQ(front->ended, 2);
  EXPECT_EQ(CCDirector::sharedDirector()->getOpenGLView()->activeTouchCount(), 0);
}

TEST(ViewFullScreenTest, CtrlFSwitchesBetweenDesktopSizeAndA1024x768Window) {
  CCEGLView* view = gfxtest::testView();
  if (!view) GTEST_SKIP() << "no display";
  CCDirector* director = CCDirector::sharedDirector();
  CCSize desktop = view->getDesktopSize();
  ASSERT_FALSE(CCEGLView::isFullScreen());
  for (int round = 0; round < 2; ++round) {
    pushKey(SDLK_f, KMOD_LCTRL);
    pump();
    EXPECT_TRUE(CCEGLView::isFullScreen());
    EXPECT_EQ(view->getFrameSize().width, desktop.width);
    EXPECT_EQ(view->getFrameSize().height, desktop.height);
    EXPECT_EQ(director->getWinSize().width, desktop.width);
    EXPECT_EQ(director->getWinSize().height, desktop.height);
    EXPECT_TRUE(SDL_GetWindowFlags(view->getWindow()) & SDL_WINDOW_FULLSCREEN);
    pushKey(SDLK_f, KMOD_RCTRL);
    pump();
    EXPECT_FALSE(CCEGLView::isFullScreen());
    EXPECT_EQ(view->getFrameSize().width, 1024);
    EXPECT_EQ(view->getFrameSize().height, 768);
    EXPECT_EQ(director->getWinSize().width, 1024);
    EXPECT_EQ(director->getWinSize().height, 768);
  }
  // Back to the size the other tests draw at.
  view->setFrameSize(gfxtest::kViewWidth, gfxtest::kViewHeight);
  view->setDesignResolutionSize(gfxtest::kViewWidth, gfxtest::kViewHeight, kResolutionShowAll);
}

// A window asked for smaller than its minimum, by the game or through the window, is made
// the minimum size, and the frame is the window's size.
TEST(ViewMinimumSizeTest, AWindowAskedSmallerThanItsMinimumGetsTheMinimum) {
  CCEGLView* view = gfxtest::testView();
  if (!view) GTEST_SKIP() << "no display";
  CCEGLView::setMinimumWindowSize(400, 300);
  view->setFrameSize(gfxtest::kViewWidth, 500);
  int w = 0, h = 0;
  SDL_GetWindowSize(view->getWindow(), &w, &h);
  EXPECT_EQ(w, 400);
  EXPECT_EQ(h, 500);
  EXPECT_EQ(view->getFrameSize().width, 400);
  EXPECT_EQ(view->getFrameSize().height, 500);
  SDL_SetWindowSize(view->getWindow(), 200, 100);
  for (int i = 0; i < 100 && view->getFrameSize().height != 300; ++i) {
    pump();  // the window system's word on the size may take a moment
    SDL_Delay(10);
  }
  SDL_GetWindowSize(view->getWindow(), &w, &h);
  EXPECT_EQ(w, 400);
  EXPECT_EQ(h, 300);
  EXPECT_EQ(view->getFrameSize().width, 400);
  EXPECT_EQ(view->getFrameSize().height, 300);
  CCEGLView::setMinimumWindowSize(0, 0);
  view->setFrameSize(gfxtest::kViewWidth, gfxtest::kViewHeight);
  SDL_GetWindowSize(view->getWindow(), &w, &h);
  EXPECT_EQ(w, gfxtest::kViewWidth);
  view->setDesignResolutionSize(gfxtest::kViewWidth, gfxtest::kViewHeight, kResolutionShowAll);
}

}  // namespace

namespace {

TEST_F(ViewInputTest, CursorNodeFollowsTheMouseAndMovesAlongWithSceneChanges) {
  CCDirector* director = CCDirector::sharedDirector();
  CCNode* cursor = CCNode::create();
  cursor->retain();
  director->setCursorNode(cursor);
  EXPECT_EQ(cursor->getParent(), director->getRunningScene());
  pushMotion(50, 60);
  pump();
  EXPECT_FLOAT_EQ(cursor->getPosition().x, 50);
  EXPECT_FLOAT_EQ(cursor->getPosition().y, gfxtest::kViewHeight - 60);
  CCScene* next = CCScene::create();
  gfxtest::showScene(next);
  EXPECT_EQ(cursor->getParent(), next);
  EXPECT_EQ(cursor->getZOrder(), 1000);
  director->setCursorNode(nullptr);
  EXPECT_EQ(cursor->getParent(), nullptr);
  cursor->release();
}

}  // namespace

namespace {

TEST_F(ViewInputTest, ATouchLiftedOutsideALetterboxedViewportStillEnds) {
  CCEGLView* view = CCDirector::sharedDirector()->getOpenGLView();
  // Design 320 x 120 shown whole: bands of 60 pixels above and below.
  view->setDesignResolutionSize(gfxtest::kViewWidth, 120, kResolutionShowAll);
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_FINGERDOWN;
  e.tfinger.fingerId = 3;
  e.tfinger.x = 0.5f;
  e.tfinger.y = 0.1f;  // in the upper band: ignored
  SDL_PushEvent(&e);
  pump();
  EXPECT_TRUE(front->began.empty());
  e.tfinger.y = 0.5f;
  SDL_PushEvent(&e);
  pump();
  ASSERT_EQ(front->began.size(), 1u);
  EXPECT_FLOAT_EQ(front->began[0].y, 60);  // the middle of the design area
  e.type = SDL_FINGERUP;
  e.tfinger.y = 0.02f;
  SDL_PushEvent(&e);
  pump();
  EXPECT_EQ(front->ended, 1);
  EXPECT_EQ(view->activeTouchCount(), 0);
  view->setDesignResolutionSize(gfxtest::kViewWidth, gfxtest::kViewHeight, kResolutionShowAll);
}

}  // namespace
