#include <gtest/gtest.h>
#include <tiffio.h>

#include <fstream>

#include "CCImage.h"
#include "gfx_test_util.h"

using namespace cocos2d;

namespace {

bool writeTiff(const std::string& path, const gfxtest::Picture& p) {
  TIFF* tif = TIFFOpen(path.c_str(), "w");
  if (!tif) return false;
  uint16_t extra = EXTRASAMPLE_UNASSALPHA;
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, p.width);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, p.height);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 4);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &extra);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
  for (int y = 0; y < p.height; ++y)
    TIFFWriteScanline(tif, const_cast<unsigned char*>(&p.rgba[static_cast<size_t>(y) * p.width * 4]), y, 0);
  TIFFClose(tif);
  return true;
}

const unsigned char* pixel(CCImage& img, int x, int y) {
  return img.getData() + (static_cast<size_t>(y) * img.getWidth() + x) * 4;
}

// A 4 x 3 picture: red top-left pixel, blue bottom-right, half-transparent white in the middle.
gfxtest::Picture samplePicture() {
  gfxtest::Picture p = gfxtest::makePicture(4, 3);
  p.fill(0, 0, 4, 3, 0, 200, 0, 255);
  p.set(0, 0, 255, 0, 0, 255);
  p.set(3, 2, 0, 0, 255, 255);
  p.set(1, 1, 255, 255, 255, 128);
  return p;
}

TEST(CCImageTest, PngAndTiffDecodeToPremultipliedRgbaTopDown) {
  std::string dir = gfxtest::makeTempDir("image");
  gfxtest::Picture p = samplePicture();
  ASSERT_TRUE(gfxtest::writePng(dir + "a.png", p));
  ASSERT_TRUE(writeTiff(dir + "a.tiff", p));
  for (const char* name : {"a.png", "a.tiff"}) {
    SCOPED_TRACE(name);
    CCImage img;
    ASSERT_TRUE(img.initWithImageFile((dir + name).c_str()));
    EXPECT_EQ(img.getWidth(), 4);
    EXPECT_EQ(img.getHeight(), 3);
    EXPECT_TRUE(img.hasAlpha());
    EXPECT_TRUE(img.isPremultipliedAlpha());
    EXPECT_EQ(img.getDataLen(), 4 * 3 * 4);
    const unsigned char* tl = pixel(img, 0, 0);
    EXPECT_EQ(tl[0], 255);
    EXPECT_EQ(tl[1], 0);
    EXPECT_EQ(tl[3], 255);
    const unsigned char* br = pixel(img, 3, 2);
    EXPECT_EQ(br[2], 255);
    const unsigned char* mid = pixel(img, 1, 1);
    EXPECT_NEAR(mid[0], 128, 1);
    EXPECT_EQ(mid[3], 128);
  }
}

TEST(CCImageTest, JpegRoundTripKeepsColoursWithoutAlpha) {
  std::string dir = gfxtest::makeTempDir("jpeg");
  CCImage src;
  gfxtest::Picture p = gfxtest::makePicture(16, 8);
  p.fill(0, 0, 8, 8, 250, 10, 10);
  p.fill(8, 0, 8, 8, 10, 10, 250);
  ASSERT_TRUE(src.initWithImageData(p.rgba.data(), static_cast<int>(p.rgba.size()),
                                    CCImage::kFmtRawData, 16, 8));
  ASSERT_TRUE(src.saveToFile((dir + "b.jpg").c_str()));
  CCImage img;
  ASSERT_TRUE(img.initWithImageFile((dir + "b.jpg").c_str(), CCImage::kFmtJpg));
  EXPECT_FALSE(img.hasAlpha());
  EXPECT_GT(pixel(img, 2, 4)[0], 200);
  EXPECT_LT(pixel(img, 2, 4)[2], 60);
  EXPECT_GT(pixel(img, 13, 4)[2], 200);
  EXPECT_EQ(pixel(img, 13, 4)[3], 255);
}

TEST(CCImageTest, FormatIsTakenFromTheBytesNotTheCallersGuess) {
  std::string dir = gfxtest::makeTempDir("sniff");
  ASSERT_TRUE(gfxtest::writePng(dir + "named.jpg", samplePicture()));
  CCImage img;
  EXPECT_TRUE(img.initWithImageFile((dir + "named.jpg").c_str(), CCImage::kFmtJpg));
  EXPECT_EQ(img.getWidth(), 4);
}

// Damaged and foreign files are refused with false, never a crash.
TEST(CCImageTest, BadFilesAreRefused) {
  std::string dir = gfxtest::makeTempDir("bad");
  std::string png;
  {
    ASSERT_TRUE(gfxtest::writePng(dir + "good.png", samplePicture()));
    std::ifstream in(dir + "good.png", std::ios::binary);
    png.assign(std::istreambuf_iterator<char>(in), {});
  }
  const std::pair<const char*, std::string> cases[] = {
      {"text.png", "not a picture at all"},
      {"cut.png", png.substr(0, png.size() / 2)},
      {"head.jpg", std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10)},
      {"head.tif", std::string("II*\0\x08\0\0\0", 8)},
      {"empty.png", ""},
  };
  for (auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    gfxtest::writeText(dir + name, bytes);
    CCImage img;
    EXPECT_FALSE(img.initWithImageFile((dir + name).c_str()));
    EXPECT_EQ(img.getData(), nullptr);
  }
  CCImage missing;
  EXPECT_FALSE(missing.initWithImageFile((dir + "missing.png").c_str()));
}

// A few hundred bytes may claim any size: a picture larger than any texture, or one
// whose data ends before its rows do, is refused, whatever the format.
TEST(CCImageTest, PicturesTooLargeOrCutShortAreRefused) {
  std::string dir = gfxtest::makeTempDir("huge");
  CCImage src;
  gfxtest::Picture p = gfxtest::makePicture(16, 8);
  p.fill(0, 0, 16, 8, 250, 10, 10);
  ASSERT_TRUE(src.initWithImageData(p.rgba.data(), static_cast<int>(p.rgba.size()), CCImage::kFmtRawData, 16, 8));
  ASSERT_TRUE(src.saveToFile((dir + "small.jpg").c_str()));
  ASSERT_TRUE(gfxtest::writePng(dir + "small.png", p));
  auto bytesOf = [&](const char* name) {
    std::ifstream in(dir + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  // The size fields of a JPEG's frame header and of a PNG's header, rewritten.
  auto resized = [](std::string bytes, size_t at, unsigned first, unsigned second, int width) {
    for (int i = 0; i < width; ++i) {
      bytes[at + i] = static_cast<char>(first >> (8 * (width - 1 - i)));
      bytes[at + width + i] = static_cast<char>(second >> (8 * (width - 1 - i)));
    }
    return bytes;
  };
  const std::string jpg = bytesOf("small.jpg");
  const size_t sof = jpg.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  const size_t frame = sof + 5;  // height, then width
  const std::string png = bytesOf("small.png");
  const std::pair<const char*, std::string> cases[] = {
      {"area.jpg", resized(jpg, frame, 8064, 16384, 2)},  // each side allowed, 132 million pixels
      {"cut.jpg", resized(jpg, frame, 4000, 4000, 2)},    // allowed, but the data is 16 x 8
      {"area.png", resized(png, 16, 16384, 8064, 4)},
      {"cut.png", resized(png, 16, 4000, 4000, 4)},
      {"area.tif", std::string("II*\0\x08\0\0\0\x02\0\0\x01\x04\0\x01\0\0\0\0\x40\0\0"
                               "\x01\x01\x04\0\x01\0\0\0\x80\x1f\0\0\0\0\0\0",
                               38)},
  };
  for (auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    CCImage img;
    EXPECT_FALSE(img.initWithImageData(const_cast<char*>(bytes.data()), static_cast<int>(bytes.size())));
    EXPECT_EQ(img.getData(), nullptr);
  }
  unsigned char raw[16] = {};
  CCImage img;
  EXPECT_FALSE(img.initWithImageData(raw, 16, CCImage::kFmtRawData, 16384, 8064));
}

TEST(CCImageTest, RawDataShorterThanItsSizeIsRefused) {
  unsigned char bytes[16] = {};
  CCImage img;
  EXPECT_FALSE(img.initWithImageData(bytes, 16, CCImage::kFmtRawData, 4, 4));
  EXPECT_TRUE(img.initWithImageData(bytes, 16, CCImage::kFmtRawData, 2, 2));
}

}  // namespace
