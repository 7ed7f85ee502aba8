#include "test_util.h"

#include <SDL.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "CCAutoreleasePool.h"
#include "CCDirector.h"
#include "CCEGLView.h"
#include "CCGL.h"
#include "CCGLMatrix.h"
#include "CCImage.h"
#include "CCNode.h"
#include "CCMouseDispatcher.h"
#include "CCSet.h"
#include "CCTouch.h"
#include "CCTouchDispatcher.h"

namespace mvtest {

namespace {
// Autoreleased objects die at the end of each test, as they would at the end of a frame.
class DrainPool : public ::testing::EmptyTestEventListener {
  void OnTestEnd(const ::testing::TestInfo&) override {
    cocos2d::CCPoolManager::sharedPoolManager()->pop();
  }
};
const bool registered = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new DrainPool);
  return true;
}();
}  // namespace

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "mvtestXXXXXX").string();
  char* made = mkdtemp(pattern.data());
  m_path = made ? made : pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(m_path, ec);
}

std::string TempDir::file(const std::string& name) const { return m_path + "/" + name; }

bool TempDir::write(const std::string& name, const std::string& bytes) const {
  std::filesystem::path p(file(name));
  std::error_code ec;
  std::filesystem::create_directories(p.parent_path(), ec);
  std::ofstream out(p, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

LogCapture::LogCapture() {
  if (!logog::IsInitialized()) logog::Initialize();
  logog::SetDefaultLevel(logog::LOGOG_LEVEL_ALL);
  m_target = new logog::StringTarget();
}

LogCapture::~LogCapture() { delete m_target; }

bool LogCapture::contains(const std::string& text) const { return count(text) > 0; }

int LogCapture::count(const std::string& text) const {
  int n = 0;
  for (const auto& line : m_target->Lines())
    if (line.find(text) != std::string::npos) ++n;
  return n;
}

std::string LogCapture::all() const {
  std::string s;
  for (const auto& line : m_target->Lines()) s += line;
  return s;
}

std::string base64(const std::string& in) {
  static const char* t = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  size_t i = 0;
  for (; i + 2 < in.size(); i += 3) {
    unsigned v = (unsigned char)in[i] << 16 | (unsigned char)in[i + 1] << 8 | (unsigned char)in[i + 2];
    out += t[v >> 18];
    out += t[(v >> 12) & 63];
    out += t[(v >> 6) & 63];
    out += t[v & 63];
  }
  if (i + 1 == in.size()) {
    unsigned v = (unsigned char)in[i] << 16;
    out += std::string() + t[v >> 18] + t[(v >> 12) & 63] + "==";
  } else if (i + 2 == in.size()) {
    unsigned v = (unsigned char)in[i] << 16 | (unsigned char)in[i + 1] << 8;
    out += std::string() + t[v >> 18] + t[(v >> 12) & 63] + t[(v >> 6) & 63] + "=";
  }
  return out;
}

std::string gzip(const std::string& in) {
  z_stream s = {};
  deflateInit2(&s, 9, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
  std::string out(in.size() + 256, '\0');
  s.next_in = (Bytef*)in.data();
  s.avail_in = in.size();
  s.next_out = (Bytef*)out.data();
  s.avail_out = out.size();
  deflate(&s, Z_FINISH);
  out.resize(s.total_out);
  deflateEnd(&s);
  return out;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool writePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgba) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  cocos2d::CCImage image;
  if (!image.initWithImageData(const_cast<unsigned char*>(rgba.data()), static_cast<int>(rgba.size()),
                               cocos2d::CCImage::kFmtRawData, width, height, 8))
    return false;
  return image.saveToFile(path.c_str(), false);
}

bool writeSolidPng(const std::string& path, int width, int height, unsigned char r,
                   unsigned char g, unsigned char b, unsigned char a) {
  std::vector<unsigned char> px(static_cast<size_t>(width) * height * 4);
  for (size_t i = 0; i < px.size(); i += 4) {
    px[i] = r;
    px[i + 1] = g;
    px[i + 2] = b;
    px[i + 3] = a;
  }
  return writePng(path, width, height, px);
}

std::string writeTestFont(const TempDir& dir, const std::string& name) {
  std::string fnt =
      "info face=\"Test\" size=16 padding=0,0,0,0\n"
      "common lineHeight=16 base=13 scaleW=32 scaleH=32 pages=1\n"
      "page id=0 file=\"" + name + ".png\"\n"
      "chars count=3\n"
      "char id=65 x=0 y=0 width=10 height=12 xoffset=1 yoffset=2 xadvance=12 page=0\n"
      "char id=66 x=10 y=0 width=8 height=10 xoffset=0 yoffset=4 xadvance=9 page=0\n"
      "char id=32 x=0 y=0 width=0 height=0 xoffset=0 yoffset=13 xadvance=5 page=0\n"
      "kernings count=1\n"
      "kerning first=65 second=66 amount=-2\n";
  dir.write(name + ".fnt", fnt);
  writeSolidPng(dir.file(name + ".png"), 32, 32, 255, 255, 255);
  return dir.file(name + ".fnt");
}

bool ensureWindow(float width, float height) {
  static bool tried = false;
  static cocos2d::CCEGLView* view = nullptr;
  if (!tried) {
    tried = true;
    if (std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY"))
      view = cocos2d::CCEGLView::sharedOpenGLView();
  }
  if (!view) return false;
  view->setFrameSize(width, height);
  view->setDesignResolutionSize(width, height, cocos2d::kResolutionExactFit);
  cocos2d::CCDirector* director = cocos2d::CCDirector::sharedDirector();
  if (director->getOpenGLView() != view) director->setOpenGLView(view);
  else director->reshapeProjection();
  return true;
}

namespace {
cocos2d::CCPoint toView(float x, float y) {
  cocos2d::CCSize win = cocos2d::CCDirector::sharedDirector()->getWinSize();
  return cocos2d::CCPoint(x, win.height - y);
}
}  // namespace

void touchAt(InputPhase phase, float x, float y) {
  static cocos2d::CCTouch* touch = nullptr;
  if (!touch) touch = new cocos2d::CCTouch();
  cocos2d::CCPoint v = toView(x, y);
  touch->setTouchInfo(0, v.x, v.y);
  cocos2d::CCSet* set = cocos2d::CCSet::create();
  set->addObject(touch);
  cocos2d::CCTouchDispatcher* d = cocos2d::CCTouchDispatcher::sharedDispatcher();
  d->setDispatchEvents(true);
  switch (phase) {
    case kBegan: d->touchesBegan(set, 1, nullptr); break;
    case kMoved: d->touchesMoved(set, 1, nullptr); break;
    case kEnded: d->touchesEnded(set, 1, nullptr); break;
    case kCancelled: d->touchesCancelled(set, 1, nullptr); break;
  }
}

void fingerAt(InputPhase phase, int finger, float x, float y) {
  cocos2d::CCEGLView* view = cocos2d::CCEGLView::sharedOpenGLView();
  cocos2d::CCPoint v = toView(x, y);
  const cocos2d::CCSize& frame = view->getFrameSize();
  SDL_Event event = {};
  event.type = phase == kBegan ? SDL_FINGERDOWN : phase == kMoved ? SDL_FINGERMOTION : SDL_FINGERUP;
  event.tfinger.fingerId = finger;
  event.tfinger.x = v.x / frame.width;
  event.tfinger.y = v.y / frame.height;
  cocos2d::CCTouchDispatcher::sharedDispatcher()->setDispatchEvents(true);
  view->handleEvent(event);
}

void mouseAt(InputPhase phase, float x, float y) {
  cocos2d::CCMouseEvent event(toView(x, y), cocos2d::CCPoint(0, 0));
  cocos2d::CCMouseDispatcher* d = cocos2d::CCMouseDispatcher::sharedDispatcher();
  d->setDispatchEvents(true);
  switch (phase) {
    case kBegan: d->mouseLeftDown(&event, nullptr); break;
    case kMoved: d->mouseLeftDragged(&event, nullptr); break;
    case kEnded:
    case kCancelled: d->mouseLeftUp(&event, nullptr); break;
  }
}

void mouseWheelAt(float x, float y, float dx, float dy) {
  cocos2d::CCMouseDispatcher* d = cocos2d::CCMouseDispatcher::sharedDispatcher();
  d->setDispatchEvents(true);
  cocos2d::CCMouseEvent move(toView(x, y), cocos2d::CCPoint(0, 0));
  d->mouseMoved(&move, nullptr);
  cocos2d::CCMouseEvent wheel(toView(x, y), cocos2d::CCPoint(dx, dy));
  d->mouseScrolled(&wheel, nullptr);
}

void drawForReadback(cocos2d::CCNode* root) {
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  kmGLPushMatrix();
  root->visit();
  kmGLPopMatrix();
  glFinish();
}

void readPixel(int x, int y, unsigned char rgb[3]) {
  unsigned char rgba[4] = {0, 0, 0, 0};
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  rgb[0] = rgba[0];
  rgb[1] = rgba[1];
  rgb[2] = rgba[2];
}

}  // namespace mvtest

// The display and audio libraries keep a few allocations until exit; they are not ours.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libdbus\nleak:libX11\nleak:libSDL2\nleak:libGLX\nleak:libGL.so\nleak:swrast_dri\n"
         "leak:libLLVM\nleak:dri\n";
}

// The GL driver's dynamic thread-local blocks make the sanitizer's __tls_get_addr hook
// guess garbage bounds now and then, and the leak check at exit then crashes after every
// test passed; unhooked, the blocks are plain heap chunks and still scanned.
extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }
