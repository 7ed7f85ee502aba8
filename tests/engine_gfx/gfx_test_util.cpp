#include "gfx_test_util.h"

#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>
#include <cstring>
#include <fstream>

#include "ScriptedMouse.h"

// The system's D-Bus library (which SDL's video start-up talks to) keeps allocations
// for the life of the process; they are not ours to report.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

// The GL driver is loaded with dlopen and keeps dynamic thread-local storage. With
// __tls_get_addr intercepted, the sanitizer records the bounds of each such block from a
// guess about glibc's block layout; for some placements of a block on the heap the guess is
// garbage, and the leak check at exit then crashes scanning the main thread ("Tracer caught
// signal 11", "LeakSanitizer has encountered a fatal error") after every test passed. The
// placement depends on the heap layout left by the test and the driver's threads, so it
// struck at random, most often after the batch-node test's 3200 sprites. Unhooked, the
// blocks are plain heap chunks reached from the thread's block vector, so the leak check
// still covers what they point to.
extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }

namespace gfxtest {

std::string makeTempDir(const char* name) {
  // Always a new, empty folder (a process id repeats across runs).
  std::string pattern = ::testing::TempDir() + "mv_gfx_" + name + "_XXXXXX";
  std::vector<char> path(pattern.begin(), pattern.end());
  path.push_back('\0');
  if (!mkdtemp(path.data())) return pattern + "/";
  return std::string(path.data()) + "/";
}

void Picture::set(int x, int y, unsigned char r, unsigned char g, unsigned char b,
                  unsigned char a) {
  size_t i = (static_cast<size_t>(y) * width + x) * 4;
  rgba[i] = r;
  rgba[i + 1] = g;
  rgba[i + 2] = b;
  rgba[i + 3] = a;
}

void Picture::fill(int x, int y, int w, int h, unsigned char r, unsigned char g, unsigned char b,
                   unsigned char a) {
  for (int yy = y; yy < y + h; ++yy)
    for (int xx = x; xx < x + w; ++xx) set(xx, yy, r, g, b, a);
}

Picture makePicture(int width, int height) {
  Picture p;
  p.width = width;
  p.height = height;
  p.rgba.assign(static_cast<size_t>(width) * height * 4, 0);
  return p;
}

bool writePng(const std::string& path, const Picture& picture) {
  png_image image;
  std::memset(&image, 0, sizeof(image));
  image.version = PNG_IMAGE_VERSION;
  image.width = picture.width;
  image.height = picture.height;
  image.format = PNG_FORMAT_RGBA;
  return png_image_write_to_file(&image, path.c_str(), 0, picture.rgba.data(), 0, nullptr) != 0;
}

void writeText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

}  // namespace gfxtest

#include "CCDirector.h"
#include "CCEGLView.h"
#include "CCGL.h"
#include "CCScene.h"
#include "CCScheduler.h"

namespace gfxtest {

cocos2d::CCEGLView* testView() {
  using namespace cocos2d;
  static CCEGLView* view = nullptr;
  static bool tried = false;
  if (!tried) {
    tried = true;
    // Mesa's software renderer gives the same pixels on every machine.
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    // Without a display (ctest outside xvfb-run) the window is an off-screen one.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
      setenv("SDL_VIDEODRIVER", "offscreen", 0);
    view = CCEGLView::sharedOpenGLView();
    if (view) {
      SDL_SetEventFilter(mvtest::onlyScriptedMouse, nullptr);
      view->setFrameSize(kViewWidth, kViewHeight);
      view->showWindow();
      view->setFrameCapture(true);
      CCDirector* director = CCDirector::sharedDirector();
      director->setOpenGLView(view);
      view->setDesignResolutionSize(kViewWidth, kViewHeight, kResolutionShowAll);
    }
  }
  return CCEGLView::isFullScreen() || view ? view : nullptr;
}

void showScene(cocos2d::CCScene* scene) {
  cocos2d::CCDirector* director = cocos2d::CCDirector::sharedDirector();
  if (director->getRunningScene()) director->replaceScene(scene);
  else director->runWithScene(scene);
  frame();
}

void frame(float dt) {
  cocos2d::CCDirector* director = cocos2d::CCDirector::sharedDirector();
  if (dt > 0) cocos2d::CCScheduler::sharedScheduler()->update(dt);
  director->setNextDeltaTimeZero(true);
  director->mainLoop();
  glFinish();
}

Rgb pixelAt(int x, int y) {
  cocos2d::CCEGLView* view = testView();
  if (!view || x < 0 || y < 0 || x >= view->getCapturedWidth() || y >= view->getCapturedHeight())
    return Rgb{-1, -1, -1};
  const unsigned char* p =
      &view->getCapturedFrame()[(static_cast<size_t>(y) * view->getCapturedWidth() + x) * 4];
  return Rgb{p[0], p[1], p[2]};
}

bool near(const Rgb& a, const Rgb& b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

}  // namespace gfxtest
