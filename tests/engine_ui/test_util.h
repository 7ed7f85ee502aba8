// Helpers shared by the engine tests: a scratch folder and log capture.
#pragma once

#include <string>
#include <vector>

#include "logog/logog.hpp"

namespace cocos2d {
class CCNode;
}

namespace mvtest {

// A fresh folder under the system temp folder, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return m_path; }
  // path()/name
  std::string file(const std::string& name) const;
  // Writes a file (creating its folders); false on failure.
  bool write(const std::string& name, const std::string& bytes) const;

 private:
  std::string m_path;
};

// Collects every log line written while it lives.
class LogCapture {
 public:
  LogCapture();
  ~LogCapture();
  // Whether any line contains the text.
  bool contains(const std::string& text) const;
  int count(const std::string& text) const;
  std::string all() const;

 private:
  logog::StringTarget* m_target;
};

// Base64 text and gzip data, as particle definitions embed images.
std::string base64(const std::string& in);
std::string gzip(const std::string& in);
std::string readFile(const std::string& path);

// Writes a PNG of RGBA pixels, rows top down; false on failure.
bool writePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgba);
// Writes a PNG of one colour (r, g, b, a) per pixel; false on failure.
bool writeSolidPng(const std::string& path, int width, int height, unsigned char r,
                   unsigned char g, unsigned char b, unsigned char a = 255);

// Writes a bitmap font "<dir>/<name>.fnt" with its atlas "<name>.png": glyphs 'A' (10 x 12,
// advance 12), 'B' (8 x 10, advance 9) and ' ' (advance 5), line height 16, kerning A-B -2.
// The atlas is opaque white. Returns the .fnt path.
std::string writeTestFont(const TempDir& dir, const std::string& name);

// Opens (once) the engine's window under the display (Xvfb in the test run) and sizes the
// scene space to width x height; false when there is no display.
bool ensureWindow(float width = 480, float height = 320);

// Draws a node tree into the window's back buffer (cleared to black) without swapping, so
// readPixel sees it.
void drawForReadback(cocos2d::CCNode* root);

// Reads back the colour (r, g, b) of one pixel of the last frame drawn, x and y from the
// bottom left.
void readPixel(int x, int y, unsigned char rgb[3]);

// Input as the window sends it, at a point in scene (GL) coordinates of the 480 x 320 test
// window: touch 0 begins, moves, ends; the left mouse button goes down, drags, goes up.
enum InputPhase { kBegan, kMoved, kEnded, kCancelled };
void touchAt(InputPhase phase, float x, float y);
void mouseAt(InputPhase phase, float x, float y);
// A finger of the touch screen, as the window's touch events bring it (kCancelled lifts it).
void fingerAt(InputPhase phase, int finger, float x, float y);
void mouseWheelAt(float x, float y, float dx, float dy);

}  // namespace mvtest

// Skips a test that needs a window when there is no display.
#define MV_REQUIRE_WINDOW(...)                                       \
  do {                                                               \
    if (!mvtest::ensureWindow(__VA_ARGS__)) GTEST_SKIP() << "no display"; \
  } while (0)
