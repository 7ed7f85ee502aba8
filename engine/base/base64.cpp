#include "base64.h"

#include <cstdlib>

NS_CC_BEGIN

static int sextet(unsigned char ch) {
  if (ch >= 'A' && ch <= 'Z') return ch - 'A';
  if (ch >= 'a' && ch <= 'z') return ch - 'a' + 26;
  if (ch >= '0' && ch <= '9') return ch - '0' + 52;
  if (ch == '+') return 62;
  if (ch == '/') return 63;
  return -1;
}

int base64Decode(const unsigned char* in, unsigned int inLength, unsigned char** out) {
  if (!out) return 0;
  *out = 0;
  if (!in) return 0;
  unsigned char* buf = (unsigned char*)malloc(inLength / 4 * 3 + 3);
  if (!buf) return 0;
  unsigned int acc = 0;
  int bits = 0;
  int len = 0;
  bool ended = false;
  for (unsigned int i = 0; i < inLength; ++i) {
    if (in[i] == '=') {
      ended = true;
      continue;
    }
    int v = sextet(in[i]);
    if (v < 0) continue;
    if (ended) {
      CCLOGERROR("base64: data after padding");
      free(buf);
      return 0;
    }
    acc = (acc << 6) | (unsigned int)v;
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      buf[len++] = (unsigned char)((acc >> bits) & 0xFF);
    }
  }
  if (bits >= 6) {
    // One lone sextet cannot make a byte.
    CCLOGERROR("base64: truncated input");
    free(buf);
    return 0;
  }
  *out = buf;
  return len;
}

NS_CC_END
