#include "ZipUtils.h"

#include <zlib.h>

#include <cstdlib>
#include <string>

#include "CCPlistParser.h"

NS_CC_BEGIN

// Bound on inflated size, against decompression bombs in data files.
static const unsigned int kMaxInflatedSize = 64u * 1024u * 1024u;

int ccInflateMemoryWithHint(unsigned char* in, unsigned int inLength, unsigned char** out,
                            unsigned int outLengthHint) {
  if (!out) return -1;
  *out = 0;
  if (!in || inLength == 0) return -1;
  z_stream s = {};
  if (inflateInit2(&s, 15 + 32) != Z_OK) return -1;
  unsigned int cap = outLengthHint > 0 ? outLengthHint : inLength * 4 + 256;
  unsigned char* buf = (unsigned char*)malloc(cap);
  if (!buf) {
    inflateEnd(&s);
    return -1;
  }
  s.next_in = in;
  s.avail_in = inLength;
  int ret = Z_OK;
  while (true) {
    if (s.total_out >= cap) {
      if (cap >= kMaxInflatedSize) {
        CCLOGERROR("inflate: output larger than %u bytes", kMaxInflatedSize);
        ret = Z_MEM_ERROR;
        break;
      }
      unsigned int ncap = cap * 2 > kMaxInflatedSize ? kMaxInflatedSize : cap * 2;
      unsigned char* nbuf = (unsigned char*)realloc(buf, ncap);
      if (!nbuf) {
        ret = Z_MEM_ERROR;
        break;
      }
      buf = nbuf;
      cap = ncap;
    }
    s.next_out = buf + s.total_out;
    s.avail_out = cap - (unsigned int)s.total_out;
    ret = inflate(&s, Z_NO_FLUSH);
    if (ret == Z_STREAM_END) break;
    if (ret != Z_OK) break;
    if (s.avail_in == 0 && s.avail_out != 0) {
      ret = Z_DATA_ERROR;  // input ended before the stream did
      break;
    }
  }
  inflateEnd(&s);
  if (ret != Z_STREAM_END) {
    CCLOGERROR("inflate: corrupt or truncated data (%d)", ret);
    free(buf);
    return -1;
  }
  *out = buf;
  return (int)s.total_out;
}

int ccInflateMemory(unsigned char* in, unsigned int inLength, unsigned char** out) {
  return ccInflateMemoryWithHint(in, inLength, out, 0);
}

int ccInflateGZipFile(const char* filename, unsigned char** out) {
  if (out) *out = 0;
  std::string data;
  if (!ccReadWholeFile(filename, data)) return -1;
  return ccInflateMemory((unsigned char*)data.data(), (unsigned int)data.size(), out);
}

NS_CC_END
