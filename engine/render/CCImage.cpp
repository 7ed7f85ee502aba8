#include "CCImage.h"

#include <jpeglib.h>
#include <jerror.h>
#include <png.h>
#include <tiffio.h>

#include <cctype>
#include <csetjmp>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "CCCommon.h"
#include "CCFileUtils.h"

NS_CC_BEGIN

namespace {

bool sizeOk(long w, long h) {
  return w > 0 && h > 0 && w <= CCImage::kMaxSide && h <= CCImage::kMaxSide && w * h <= CCImage::kMaxPixels;
}

// The most that deflate can give per byte of input: a PNG cannot hold more rows than
// its bytes can inflate to (a filter byte and at least one bit a pixel each).
constexpr long kDeflateMaxRatio = 1032;

// libjpeg reports errors by calling error_exit, which must not return.
struct JpegError {
  jpeg_error_mgr pub;
  jmp_buf jump;
  bool cutShort = false;  // the data ended before the picture did
};

void jpegErrorExit(j_common_ptr info) {
  char text[JMSG_LENGTH_MAX];
  (*info->err->format_message)(info, text);
  CCLogError("CCImage: JPEG: %s", text);
  longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

// Warnings are not logged; those that say the data ran out (the file, or the scan
// before its end marker) are remembered, since libjpeg would pad the missing rows.
void jpegWarning(j_common_ptr info, int level) {
  const int code = info->err->msg_code;
  if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER))
    reinterpret_cast<JpegError*>(info->err)->cutShort = true;
}

// TIFF decoding reads from memory.
struct TiffSource {
  const unsigned char* data;
  toff_t size;
  toff_t pos;
};

tsize_t tiffRead(thandle_t h, tdata_t buf, tsize_t size) {
  TiffSource* s = static_cast<TiffSource*>(h);
  if (s->pos >= s->size || size <= 0) return 0;
  toff_t n = static_cast<toff_t>(size);
  if (n > s->size - s->pos) n = s->size - s->pos;
  std::memcpy(buf, s->data + s->pos, n);
  s->pos += n;
  return static_cast<tsize_t>(n);
}
tsize_t tiffWrite(thandle_t, tdata_t, tsize_t) { return 0; }
toff_t tiffSeek(thandle_t h, toff_t off, int whence) {
  TiffSource* s = static_cast<TiffSource*>(h);
  toff_t base = whence == SEEK_CUR ? s->pos : whence == SEEK_END ? s->size : 0;
  s->pos = base + off;
  return s->pos;
}
int tiffClose(thandle_t) { return 0; }
toff_t tiffSize(thandle_t h) { return static_cast<TiffSource*>(h)->size; }
int tiffMap(thandle_t, tdata_t*, toff_t*) { return 0; }
void tiffUnmap(thandle_t, tdata_t, toff_t) {}

void tiffError(const char* module, const char* format, va_list args) {
  char text[512];
  std::vsnprintf(text, sizeof(text), format, args);
  CCLogError("CCImage: TIFF %s: %s", module ? module : "", text);
}
void tiffWarning(const char*, const char*, va_list) {}

}  // namespace

CCImage::CCImage() {}
CCImage::~CCImage() {}

CCImage::EImageFormat CCImage::detectFormat(const unsigned char* d, int n) {
  if (!d) return kFmtUnKnown;
  if (n >= 8 && std::memcmp(d, "\x89PNG\r\n\x1a\n", 8) == 0) return kFmtPng;
  if (n >= 3 && d[0] == 0xFF && d[1] == 0xD8 && d[2] == 0xFF) return kFmtJpg;
  if (n >= 4 && ((d[0] == 'I' && d[1] == 'I' && d[2] == 42 && d[3] == 0) ||
                 (d[0] == 'M' && d[1] == 'M' && d[2] == 0 && d[3] == 42)))
    return kFmtTiff;
  return kFmtUnKnown;
}

bool CCImage::initWithImageFile(const char* path, EImageFormat format) {
  return initWithImageFileThreadSafe(CCFileUtils::sharedFileUtils()->fullPathFromRelativePath(path),
                                     format);
}

bool CCImage::initWithImageFileThreadSafe(const char* fullPath, EImageFormat format) {
  unsigned long size = 0;
  unsigned char* data = CCFileUtils::sharedFileUtils()->getFileData(fullPath, "rb", &size);
  if (!data) {
    CCLogError("CCImage: cannot read %s", fullPath ? fullPath : "(null)");
    return false;
  }
  bool ok = size > 0 && size < 0x7fffffff &&
            initWithImageData(data, static_cast<int>(size), format);
  delete[] data;
  if (!ok) CCLogError("CCImage: cannot decode %s", fullPath);
  return ok;
}

bool CCImage::initWithImageData(void* data, int length, EImageFormat format, int width,
                                int height, int bitsPerComponent) {
  m_data.clear();
  m_nWidth = m_nHeight = 0;
  if (!data || length <= 0) return false;
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  if (format == kFmtRawData) {
    if (!sizeOk(width, height) || bitsPerComponent != 8 ||
        static_cast<long>(length) < static_cast<long>(width) * height * 4) {
      CCLogError("CCImage: bad raw data %dx%d", width, height);
      return false;
    }
    m_data.assign(bytes, bytes + static_cast<size_t>(width) * height * 4);
    m_nWidth = static_cast<unsigned short>(width);
    m_nHeight = static_cast<unsigned short>(height);
    m_bHasAlpha = true;
    m_bPreMulti = false;
    return true;
  }
  // The bytes decide, whatever the caller guessed from a file name.
  EImageFormat found = detectFormat(bytes, length);
  bool ok = false;
  switch (found) {
    case kFmtPng: ok = decodePng(bytes, length); break;
    case kFmtJpg: ok = decodeJpeg(bytes, length); break;
    case kFmtTiff: ok = decodeTiff(bytes, length); break;
    default:
      CCLogError("CCImage: unknown image format (expected %d)", static_cast<int>(format));
      break;
  }
  if (!ok) {
    m_data.clear();
    m_nWidth = m_nHeight = 0;
  }
  return ok;
}

void CCImage::premultiply() {
  for (size_t i = 0; i + 3 < m_data.size(); i += 4) {
    unsigned a = m_data[i + 3];
    if (a == 255) continue;
    for (int c = 0; c < 3; ++c) m_data[i + c] = static_cast<unsigned char>((m_data[i + c] * a + 127) / 255);
  }
  m_bPreMulti = true;
}

bool CCImage::decodePng(const unsigned char* data, int length) {
  png_image image;
  std::memset(&image, 0, sizeof(image));
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data, static_cast<size_t>(length))) {
    CCLogError("CCImage: PNG: %s", image.message);
    return false;
  }
  const long rowBytes = 1 + (static_cast<long>(image.width) + 7) / 8;
  if (!sizeOk(image.width, image.height) ||
      static_cast<long>(image.height) * rowBytes > static_cast<long>(length) * kDeflateMaxRatio) {
    CCLogError("CCImage: PNG size %ux%u refused (%d bytes)", image.width, image.height, length);
    png_image_free(&image);
    return false;
  }
  m_bHasAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  image.format = PNG_FORMAT_RGBA;
  m_data.assign(PNG_IMAGE_SIZE(image), 0);
  if (!png_image_finish_read(&image, nullptr, m_data.data(), 0, nullptr)) {
    CCLogError("CCImage: PNG: %s", image.message);
    png_image_free(&image);
    return false;
  }
  m_nWidth = static_cast<unsigned short>(image.width);
  m_nHeight = static_cast<unsigned short>(image.height);
  m_nBitsPerComponent = 8;
  premultiply();
  return true;
}

bool CCImage::decodeJpeg(const unsigned char* data, int length) {
  jpeg_decompress_struct info;
  JpegError err;
  info.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = jpegErrorExit;
  err.pub.emit_message = jpegWarning;
  std::vector<unsigned char> row;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, const_cast<unsigned char*>(data), static_cast<unsigned long>(length));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  if (!sizeOk(info.output_width, info.output_height) || info.output_components != 3) {
    CCLogError("CCImage: JPEG %ux%u with %d components refused", info.output_width,
               info.output_height, info.output_components);
    jpeg_destroy_decompress(&info);
    return false;
  }
  unsigned w = info.output_width, h = info.output_height;
  row.resize(static_cast<size_t>(w) * 3);
  while (info.output_scanline < h) {
    unsigned y = info.output_scanline;
    JSAMPROW rows[1] = {row.data()};
    if (jpeg_read_scanlines(&info, rows, 1) != 1 || err.cutShort) {
      CCLogError("CCImage: JPEG %ux%u ends after %u rows; refused", w, h, y);
      jpeg_destroy_decompress(&info);
      return false;
    }
    // Grows with the rows read, so a short file never costs the whole picture.
    m_data.resize(static_cast<size_t>(y + 1) * w * 4, 255);
    unsigned char* out = &m_data[static_cast<size_t>(y) * w * 4];
    for (unsigned x = 0; x < w; ++x) {
      out[x * 4] = row[x * 3];
      out[x * 4 + 1] = row[x * 3 + 1];
      out[x * 4 + 2] = row[x * 3 + 2];
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  m_nWidth = static_cast<unsigned short>(w);
  m_nHeight = static_cast<unsigned short>(h);
  m_nBitsPerComponent = 8;
  m_bHasAlpha = false;
  m_bPreMulti = true;
  return true;
}

bool CCImage::decodeTiff(const unsigned char* data, int length) {
  TIFFSetErrorHandler(tiffError);
  TIFFSetWarningHandler(tiffWarning);
  TiffSource source = {data, static_cast<toff_t>(length), 0};
  TIFF* tif = TIFFClientOpen("memory", "r", &source, tiffRead, tiffWrite, tiffSeek, tiffClose,
                             tiffSize, tiffMap, tiffUnmap);
  if (!tif) return false;
  uint32_t w = 0, h = 0;
  uint16_t extraSamples = 0;
  uint16_t* sampleInfo = nullptr;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
  TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &extraSamples, &sampleInfo);
  bool ok = false;
  if (!sizeOk(w, h)) {
    CCLogError("CCImage: TIFF size %ux%u refused", w, h);
  } else {
    std::vector<uint32_t> raster(static_cast<size_t>(w) * h);
    // Gives associated (premultiplied) alpha, top row first.
    // Stops at the first damaged strip rather than leave its rows blank.
    if (TIFFReadRGBAImageOriented(tif, w, h, raster.data(), ORIENTATION_TOPLEFT, 1)) {
      m_data.resize(raster.size() * 4);
      for (size_t i = 0; i < raster.size(); ++i) {
        uint32_t p = raster[i];
        m_data[i * 4] = static_cast<unsigned char>(TIFFGetR(p));
        m_data[i * 4 + 1] = static_cast<unsigned char>(TIFFGetG(p));
        m_data[i * 4 + 2] = static_cast<unsigned char>(TIFFGetB(p));
        m_data[i * 4 + 3] = static_cast<unsigned char>(TIFFGetA(p));
      }
      m_nWidth = static_cast<unsigned short>(w);
      m_nHeight = static_cast<unsigned short>(h);
      m_nBitsPerComponent = 8;
      m_bHasAlpha = extraSamples > 0;
      m_bPreMulti = true;
      ok = true;
    }
  }
  TIFFClose(tif);
  return ok;
}

bool CCImage::saveToFile(const char* path, bool toRGB) {
  if (!path || m_data.empty()) return false;
  std::string name(path);
  std::string ext = name.size() >= 4 ? name.substr(name.size() - 4) : std::string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  // Stored colour is premultiplied; files hold straight alpha.
  std::vector<unsigned char> straight(m_data);
  if (m_bPreMulti) {
    for (size_t i = 0; i + 3 < straight.size(); i += 4) {
      unsigned a = straight[i + 3];
      if (a == 0 || a == 255) continue;
      for (int c = 0; c < 3; ++c) {
        unsigned v = (straight[i + c] * 255u + a / 2) / a;
        straight[i + c] = static_cast<unsigned char>(v > 255 ? 255 : v);
      }
    }
  }
  if (ext == ".png") {
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    image.width = m_nWidth;
    image.height = m_nHeight;
    image.format = toRGB ? PNG_FORMAT_RGB : PNG_FORMAT_RGBA;
    std::vector<unsigned char> rgb;
    const unsigned char* src = straight.data();
    if (toRGB) {
      rgb.resize(static_cast<size_t>(m_nWidth) * m_nHeight * 3);
      for (size_t i = 0, n = rgb.size() / 3; i < n; ++i) std::memcpy(&rgb[i * 3], &straight[i * 4], 3);
      src = rgb.data();
    }
    bool ok = png_image_write_to_file(&image, path, 0, src, 0, nullptr) != 0;
    if (!ok) CCLogError("CCImage: cannot write %s: %s", path, image.message);
    return ok;
  }
  if (ext == ".jpg" || ext == "jpeg") {
    std::FILE* f = std::fopen(path, "wb");
    if (!f) {
      CCLogError("CCImage: cannot write %s", path);
      return false;
    }
    jpeg_compress_struct info;
    jpeg_error_mgr err;
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, f);
    info.image_width = m_nWidth;
    info.image_height = m_nHeight;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(m_nWidth) * 3);
    while (info.next_scanline < info.image_height) {
      const unsigned char* in = &straight[static_cast<size_t>(info.next_scanline) * m_nWidth * 4];
      for (unsigned x = 0; x < m_nWidth; ++x) std::memcpy(&row[x * 3], &in[x * 4], 3);
      JSAMPROW rows[1] = {row.data()};
      jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(f);
    return true;
  }
  CCLogError("CCImage: cannot save %s: only .png and .jpg", path);
  return false;
}

NS_CC_END
