#pragma once

#include <vector>

#include "CCObject.h"

NS_CC_BEGIN

// A decoded picture: always 8-bit RGBA, rows top down, colour premultiplied by alpha.
// PNG, JPEG and TIFF are recognised by their first bytes; a file that cannot be
// decoded is logged and the init function returns false.
class CCImage : public CCObject {
 public:
  typedef enum {
    kFmtJpg = 0,
    kFmtPng,
    kFmtTiff,
    kFmtRawData,
    kFmtUnKnown,
  } EImageFormat;

  // Largest side and largest area accepted; bigger pictures are refused before any
  // pixel is allocated. The area is sixteen times the game's largest sheet (1024 x 1024).
  static const int kMaxSide = 16384;
  static const long kMaxPixels = 4096L * 4096L;

  CCImage();
  virtual ~CCImage();

  bool initWithImageFile(const char* path, EImageFormat format = kFmtPng);
  bool initWithImageFileThreadSafe(const char* fullPath, EImageFormat format = kFmtPng);
  // Encoded bytes, or for kFmtRawData width x height pixels of 4 x 8-bit RGBA.
  bool initWithImageData(void* data, int dataLength, EImageFormat format = kFmtUnKnown,
                         int width = 0, int height = 0, int bitsPerComponent = 8);

  unsigned char* getData() { return m_data.empty() ? nullptr : m_data.data(); }
  int getDataLen() const { return static_cast<int>(m_data.size()); }
  bool hasAlpha() const { return m_bHasAlpha; }
  bool isPremultipliedAlpha() const { return m_bPreMulti; }
  unsigned short getWidth() const { return m_nWidth; }
  unsigned short getHeight() const { return m_nHeight; }
  int getBitsPerComponent() const { return m_nBitsPerComponent; }

  // Writes a .png or .jpg (chosen by the extension); alpha is kept in PNG unless toRGB.
  bool saveToFile(const char* path, bool toRGB = true);

  static EImageFormat detectFormat(const unsigned char* data, int length);

 private:
  bool decodePng(const unsigned char* data, int length);
  bool decodeJpeg(const unsigned char* data, int length);
  bool decodeTiff(const unsigned char* data, int length);
  void premultiply();

  std::vector<unsigned char> m_data;
  unsigned short m_nWidth = 0;
  unsigned short m_nHeight = 0;
  int m_nBitsPerComponent = 8;
  bool m_bHasAlpha = false;
  bool m_bPreMulti = false;
};

NS_CC_END
