#include "gfx_test_util.h"

#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <fstream>

namespace gfxtest {

std::string makeTempDir(const char* name) {
  static int counter = 0;
  std::string dir = ::testing::TempDir() + "mv_gfx_" + std::to_string(::getpid()) + "_" +
                    std::to_string(counter++) + "_" + name + "/";
  mkdir(dir.c_str(), 0755);
  return dir;
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
