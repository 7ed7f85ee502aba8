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
