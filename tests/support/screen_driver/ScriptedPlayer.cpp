#include "ScriptedPlayer.h"

#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "CCApplication.h"
#include "CCDirector.h"
#include "CCEGLView.h"
#include "CCFileUtils.h"
#include "CCGL.h"
#include "CCNode.h"
#include "CCScene.h"
#include "CCScheduler.h"
#include "NodeBindings.h"
#include "NodeRects.h"
#include "ScriptedMouse.h"

using namespace cocos2d;

// The system's D-Bus library (which SDL's video start-up talks to) keeps allocations for
// the life of the process; they are not ours to report.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
// The GL driver's dynamic thread-local blocks make the sanitizer's __tls_get_addr hook guess
// garbage bounds now and then, and the leak check at exit then crashes; unhooked, the
// blocks are plain heap chunks and still scanned.
extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }

namespace mvtest {

namespace {

CCEGLView* view() { return CCDirector::sharedDirector()->getOpenGLView(); }

Uint32 windowId() {
  SDL_Window* window = SDL_GL_GetCurrentWindow();
  return window ? SDL_GetWindowID(window) : 0;
}

void push(SDL_Event& event) {
  if (SDL_PushEvent(&event) < 0) ADD_FAILURE() << "SDL_PushEvent: " << SDL_GetError();
}

Uint32 s_buttons = 0;  // buttons held by the scripted mouse

void pushMotion(float x, float y) {
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_MOUSEMOTION;
  e.motion.windowID = windowId();
  e.motion.which = kScriptedMouse;
  e.motion.x = static_cast<Sint32>(x);
  e.motion.y = static_cast<Sint32>(y);
  e.motion.state = s_buttons;
  push(e);
}

void pushButton(Uint32 type, float x, float y, Uint8 button) {
  SDL_Event e;
  SDL_zero(e);
  e.type = type;
  e.button.windowID = windowId();
  e.button.which = kScriptedMouse;
  e.button.button = button;
  e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.button.clicks = 1;
  e.button.x = static_cast<Sint32>(x);
  e.button.y = static_cast<Sint32>(y);
  push(e);
}

void pushKey(Uint32 type, SDL_Keycode key, Uint16 mod) {
  SDL_Event e;
  SDL_zero(e);
  e.type = type;
  e.key.windowID = windowId();
  e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.sym = key;
  e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
  e.key.keysym.mod = mod;
  push(e);
}

std::string screenshotFolder() {
  std::string folder = MV_SCREENSHOT_DIR;
  mkdir(folder.c_str(), 0755);
  return folder + "/";
}

}  // namespace

bool ScriptedPlayer::openWindow(int width, int height) {
  static CCEGLView* opened = nullptr;
  static bool tried = false;
  if (!tried) {
    tried = true;
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) return false;
    // Mesa's software renderer gives the same pixels on every machine.
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    CCEGLView::setWindowTitle("Mirrowvale");
    opened = CCEGLView::sharedOpenGLView();
    if (opened) {
      SDL_SetEventFilter(onlyScriptedMouse, nullptr);
      opened->showWindow();
      CCDirector::sharedDirector()->setOpenGLView(opened);
      CCFileUtils::sharedFileUtils()->setResourceDirectory(MV_DATA_DIR);
    }
  }
  if (!opened || view() != opened) return false;
  resizeWindow(width, height);
  return true;
}

void ScriptedPlayer::resizeWindow(int width, int height) {
  CCEGLView* v = view();
  if (!v) return;
  v->setFrameSize(static_cast<float>(width), static_cast<float>(height));
  if (CCApplication* app = CCApplication::sharedApplication()) {
    app->selectDesignResolution();
  } else {
    CCDirector* director = CCDirector::sharedDirector();
    director->setProjection(kCCDirectorProjection2D);
    v->setDesignResolutionSize(static_cast<float>(width), static_cast<float>(height),
                               kResolutionShowAll);
    director->relayoutScenes();
  }
  frames(1, 0);
}

CCSize ScriptedPlayer::windowSize() {
  CCEGLView* v = view();
  return v ? v->getFrameSize() : CCSize();
}

void ScriptedPlayer::show(CCScene* scene) {
  CCDirector* director = CCDirector::sharedDirector();
  if (director->getRunningScene()) director->replaceScene(scene);
  else director->runWithScene(scene);
  frames(1, 0);
}

CCScene* ScriptedPlayer::runningScene() { return CCDirector::sharedDirector()->getRunningScene(); }

void ScriptedPlayer::frames(int count, float dt) {
  CCDirector* director = CCDirector::sharedDirector();
  for (int i = 0; i < count; ++i) {
    CCEGLView* v = view();
    if (!v) return;
    v->pollEvents();
    if (!view()) return;  // a close request ended the director
    if (dt > 0) CCScheduler::sharedScheduler()->update(dt);
    director->setNextDeltaTimeZero(true);
    director->mainLoop();
  }
}

void ScriptedPlayer::runFor(float seconds, float dt) {
  int count = dt > 0 ? static_cast<int>(seconds / dt + 0.5f) : 1;
  frames(count, dt);
}

bool ScriptedPlayer::runUntil(const std::function<bool()>& done, float maxSeconds, float dt) {
  for (float t = 0; t <= maxSeconds; t += dt) {
    if (done()) return true;
    frames(1, dt);
  }
  return done();
}

void ScriptedPlayer::mouseMove(float x, float y) {
  pushMotion(x, y);
  frames(1, 0);
}

void ScriptedPlayer::mouseDown(float x, float y, Uint8 button) {
  pushMotion(x, y);
  s_buttons |= SDL_BUTTON(button);
  pushButton(SDL_MOUSEBUTTONDOWN, x, y, button);
  frames(1, 0);
}

void ScriptedPlayer::mouseUp(float x, float y, Uint8 button) {
  s_buttons &= ~SDL_BUTTON(button);
  pushButton(SDL_MOUSEBUTTONUP, x, y, button);
  frames(1, 0);
}

void ScriptedPlayer::click(float x, float y) {
  mouseDown(x, y);
  mouseUp(x, y);
}

void ScriptedPlayer::drag(float fromX, float fromY, float toX, float toY, int steps) {
  mouseDown(fromX, fromY);
  if (steps < 1) steps = 1;
  for (int i = 1; i <= steps; ++i) {
    float f = static_cast<float>(i) / steps;
    pushMotion(fromX + (toX - fromX) * f, fromY + (toY - fromY) * f);
    frames(1, kFrame);
  }
  mouseUp(toX, toY);
}

void ScriptedPlayer::wheel(float x, float y, int notches, Uint16 mod) {
  pushMotion(x, y);
  SDL_SetModState(static_cast<SDL_Keymod>(mod));
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_MOUSEWHEEL;
  e.wheel.windowID = windowId();
  e.wheel.which = kScriptedMouse;
  e.wheel.y = notches;
  e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
  push(e);
  frames(1, 0);
  SDL_SetModState(KMOD_NONE);
}

void ScriptedPlayer::keyDown(SDL_Keycode key, Uint16 mod) {
  // The view asks SDL for the modifier state as well as reading it from the event.
  SDL_SetModState(static_cast<SDL_Keymod>(mod));
  pushKey(SDL_KEYDOWN, key, mod);
  frames(1, 0);
}

void ScriptedPlayer::keyUp(SDL_Keycode key, Uint16 mod) {
  pushKey(SDL_KEYUP, key, mod);
  frames(1, 0);
  SDL_SetModState(KMOD_NONE);
}

void ScriptedPlayer::press(SDL_Keycode key, Uint16 mod) {
  keyDown(key, mod);
  keyUp(key, mod);
}

void ScriptedPlayer::type(const std::string& text) {
  size_t i = 0;
  while (i < text.size()) {
    // One event holds at most 31 bytes; pieces end on whole UTF-8 characters.
    size_t n = std::min<size_t>(text.size() - i, SDL_TEXTINPUTEVENT_TEXT_SIZE - 1);
    while (n > 0 && i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) --n;
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_TEXTINPUT;
    e.text.windowID = windowId();
    std::memcpy(e.text.text, text.data() + i, n);
    push(e);
    i += n;
  }
  frames(1, 0);
}

CCPoint ScriptedPlayer::toWindow(const CCPoint& scenePoint) { return mv::sceneToWindow(scenePoint); }

CCRect ScriptedPlayer::windowRect(CCNode* node) { return mv::windowRectOf(node); }

bool ScriptedPlayer::isShown(CCNode* node) {
  if (!node || !node->isVisibleInHierarchy()) return false;
  // Part of the running scene.
  CCNode* top = node;
  while (top->getParent()) top = top->getParent();
  return top == runningScene();
}

bool ScriptedPlayer::click(CCNode* node) {
  if (!node) {
    ADD_FAILURE() << "click: no node";
    return false;
  }
  if (!isShown(node)) {
    ADD_FAILURE() << "click: the node is not shown";
    return false;
  }
  CCRect r = windowRect(node);
  float x = r.origin.x + r.size.width / 2, y = r.origin.y + r.size.height / 2;
  CCSize win = windowSize();
  if (x < 0 || y < 0 || x >= win.width || y >= win.height) {
    ADD_FAILURE() << "click: the node's centre (" << x << ", " << y << ") is outside the window";
    return false;
  }
  click(x, y);
  return true;
}

bool ScriptedPlayer::click(const mv::NodeBindings& bindings, const std::string& name) {
  CCNode* node = bindings.node(name);
  if (!node) {
    ADD_FAILURE() << "click: nothing is bound as \"" << name << "\"";
    return false;
  }
  return click(node);
}

namespace {

void walk(CCNode* node, const std::function<bool(CCNode*)>& match, std::vector<CCNode*>& out,
          bool firstOnly) {
  if (!node || (firstOnly && !out.empty())) return;
  if (match(node)) {
    out.push_back(node);
    if (firstOnly) return;
  }
  CCArray* children = node->getChildren();
  if (!children) return;
  for (unsigned int i = 0; i < children->count(); ++i)
    walk(static_cast<CCNode*>(children->objectAtIndex(i)), match, out, firstOnly);
}

}  // namespace

CCNode* ScriptedPlayer::find(const std::function<bool(CCNode*)>& match, CCNode* root) {
  std::vector<CCNode*> out;
  walk(root ? root : runningScene(), match, out, true);
  return out.empty() ? nullptr : out.front();
}

std::vector<CCNode*> ScriptedPlayer::findAll(const std::function<bool(CCNode*)>& match,
                                             CCNode* root) {
  std::vector<CCNode*> out;
  walk(root ? root : runningScene(), match, out, false);
  return out;
}

void ScriptedPlayer::capture() {
  CCEGLView* v = view();
  if (!v) return;
  v->setFrameCapture(true);
  CCDirector::sharedDirector()->setNextDeltaTimeZero(true);
  CCDirector::sharedDirector()->mainLoop();
  glFinish();
  v->setFrameCapture(false);
}

Rgb ScriptedPlayer::pixel(int x, int y) {
  CCEGLView* v = view();
  if (!v) return Rgb();
  int w = v->getCapturedWidth(), h = v->getCapturedHeight();
  if (x < 0 || y < 0 || x >= w || y >= h) return Rgb();
  // Captured rows run bottom up.
  const unsigned char* p = &v->getCapturedFrame()[(static_cast<size_t>(h - 1 - y) * w + x) * 4];
  return Rgb{p[0], p[1], p[2]};
}

namespace {

// Writes RGB rows, top-down, as an opaque PNG; returns the path or empty.
std::string writePng(const std::string& name, int w, int h, const std::vector<unsigned char>& rgb) {
  std::string path = screenshotFolder() + name + ".png";
  png_image image;
  std::memset(&image, 0, sizeof(image));
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(w);
  image.height = static_cast<png_uint_32>(h);
  image.format = PNG_FORMAT_RGB;
  if (!png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr)) return std::string();
  return path;
}

}  // namespace

Rgb Frame::at(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return Rgb();
  const unsigned char* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
  return Rgb{p[0], p[1], p[2]};
}

Frame ScriptedPlayer::grab() {
  capture();
  Frame f;
  CCEGLView* v = view();
  if (!v || v->getCapturedWidth() <= 0) return f;
  f.width = v->getCapturedWidth();
  f.height = v->getCapturedHeight();
  f.rgb.resize(static_cast<size_t>(f.width) * f.height * 3);
  const std::vector<unsigned char>& frame = v->getCapturedFrame();
  // Captured rows run bottom up.
  for (int y = 0; y < f.height; ++y)
    for (int x = 0; x < f.width; ++x)
      std::memcpy(&f.rgb[(static_cast<size_t>(y) * f.width + x) * 3],
                  &frame[(static_cast<size_t>(f.height - 1 - y) * f.width + x) * 4], 3);
  return f;
}

std::string ScriptedPlayer::screenshot(const std::string& name) {
  Frame f = grab();
  if (f.width <= 0) return std::string();
  return writePng(name, f.width, f.height, f.rgb);
}

std::string ScriptedPlayer::writeStrip(const std::string& name, const std::vector<Frame>& frames,
                                       const CCRect& crop) {
  const int cx = static_cast<int>(crop.origin.x), cy = static_cast<int>(crop.origin.y);
  const int cw = static_cast<int>(crop.size.width), ch = static_cast<int>(crop.size.height);
  constexpr int kGap = 4;
  if (frames.empty() || cw <= 0 || ch <= 0) return std::string();
  const int w = static_cast<int>(frames.size()) * (cw + kGap) - kGap;
  std::vector<unsigned char> rgb(static_cast<size_t>(w) * ch * 3, 0);
  for (size_t i = 0; i < frames.size(); ++i)
    for (int y = 0; y < ch; ++y)
      for (int x = 0; x < cw; ++x) {
        const Rgb p = frames[i].at(cx + x, cy + y);
        unsigned char* out = &rgb[(static_cast<size_t>(y) * w + i * (cw + kGap) + x) * 3];
        out[0] = static_cast<unsigned char>(std::max(0, p.r));
        out[1] = static_cast<unsigned char>(std::max(0, p.g));
        out[2] = static_cast<unsigned char>(std::max(0, p.b));
      }
  return writePng(name, w, ch, rgb);
}

}  // namespace mvtest
