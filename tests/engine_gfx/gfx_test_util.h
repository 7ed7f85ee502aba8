#pragma once

#include <string>
#include <vector>

// Helpers of the engine drawing tests: temporary folders and test pictures made here.
namespace gfxtest {

// A fresh folder below the test temp dir, ending in "/".
std::string makeTempDir(const char* name);

// An RGBA picture, rows top down.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgba;
  void set(int x, int y, unsigned char r, unsigned char g, unsigned char b, unsigned char a);
  // Fills the rectangle (x, y from the top left) with one colour.
  void fill(int x, int y, int w, int h, unsigned char r, unsigned char g, unsigned char b,
            unsigned char a = 255);
};

Picture makePicture(int width, int height);
// Writes a PNG (false on failure).
bool writePng(const std::string& path, const Picture& picture);
void writeText(const std::string& path, const std::string& text);

}  // namespace gfxtest

namespace cocos2d {
class CCEGLView;
class CCScene;
}

namespace gfxtest {

const int kViewWidth = 320;
const int kViewHeight = 240;

// The test process's one window (320 x 240, design resolution = frame), with the
// director drawing into it; off screen when there is no display. Null when no OpenGL
// window can be made at all.
cocos2d::CCEGLView* testView();
// Makes the scene the running one and draws a frame.
void showScene(cocos2d::CCScene* scene);
// Advances the scheduler by dt seconds, then draws one frame (with a zero time step).
void frame(float dt = 0);

struct Rgb {
  int r, g, b;
};
// The colour of a pixel of the last frame; (x, y) from the bottom left.
Rgb pixelAt(int x, int y);
// True when every channel is within tolerance.
bool near(const Rgb& a, const Rgb& b, int tolerance = 6);

}  // namespace gfxtest

#define MV_REQUIRE_VIEW() \
  if (!gfxtest::testView()) GTEST_SKIP() << "no display"
