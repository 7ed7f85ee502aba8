#pragma once

#include "ccMacros.h"
#include "CCGeometry.h"

NS_CC_BEGIN

typedef float ccTime;
typedef unsigned char GLubyte;

struct ccColor3B {
  unsigned char r, g, b;
};
static inline ccColor3B ccc3(unsigned char r, unsigned char g, unsigned char b) {
  ccColor3B c = {r, g, b};
  return c;
}
static inline bool ccc3BEqual(const ccColor3B& a, const ccColor3B& b) {
  return a.r == b.r && a.g == b.g && a.b == b.b;
}
static const ccColor3B ccWHITE = {255, 255, 255};
static const ccColor3B ccYELLOW = {255, 255, 0};
static const ccColor3B ccBLUE = {0, 0, 255};
static const ccColor3B ccGREEN = {0, 255, 0};
static const ccColor3B ccRED = {255, 0, 0};
static const ccColor3B ccMAGENTA = {255, 0, 255};
static const ccColor3B ccBLACK = {0, 0, 0};
static const ccColor3B ccORANGE = {255, 127, 0};
static const ccColor3B ccGRAY = {166, 166, 166};

struct ccColor4B {
  unsigned char r, g, b, a;
};
static inline ccColor4B ccc4(unsigned char r, unsigned char g, unsigned char b, unsigned char a) {
  ccColor4B c = {r, g, b, a};
  return c;
}

struct ccColor4F {
  float r, g, b, a;
};
static inline ccColor4F ccc4f(float r, float g, float b, float a) {
  ccColor4F c = {r, g, b, a};
  return c;
}
static inline ccColor4F ccc4FFromccc3B(ccColor3B c) {
  ccColor4F f = {c.r / 255.f, c.g / 255.f, c.b / 255.f, 1.f};
  return f;
}
static inline ccColor4F ccc4FFromccc4B(ccColor4B c) {
  ccColor4F f = {c.r / 255.f, c.g / 255.f, c.b / 255.f, c.a / 255.f};
  return f;
}
static inline bool ccc4FEqual(ccColor4F a, ccColor4F b) {
  return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

struct ccVertex2F {
  float x, y;
};
static inline ccVertex2F vertex2(float x, float y) {
  ccVertex2F v = {x, y};
  return v;
}
struct ccVertex3F {
  float x, y, z;
};
static inline ccVertex3F vertex3(float x, float y, float z) {
  ccVertex3F v = {x, y, z};
  return v;
}
struct ccTex2F {
  float u, v;
};
static inline ccTex2F tex2(float u, float v) {
  ccTex2F t = {u, v};
  return t;
}

struct ccPointSprite {
  ccVertex2F pos;
  ccColor4B color;
  float size;
};
struct ccQuad2 {
  ccVertex2F tl, tr, bl, br;
};
struct ccQuad3 {
  ccVertex3F bl, br, tl, tr;
};
struct ccV2F_C4B_T2F {
  ccVertex2F vertices;
  ccColor4B colors;
  ccTex2F texCoords;
};
struct ccV2F_C4F_T2F {
  ccVertex2F vertices;
  ccColor4F colors;
  ccTex2F texCoords;
};
struct ccV3F_C4B_T2F {
  ccVertex3F vertices;
  ccColor4B colors;
  ccTex2F texCoords;
};
struct ccV2F_C4B_T2F_Triangle {
  ccV2F_C4B_T2F a, b, c;
};
struct ccV2F_C4B_T2F_Quad {
  ccV2F_C4B_T2F bl, br, tl, tr;
};
struct ccV3F_C4B_T2F_Quad {
  ccV3F_C4B_T2F tl, bl, tr, br;
};
struct ccV2F_C4F_T2F_Quad {
  ccV2F_C4F_T2F bl, br, tl, tr;
};
struct ccT2F_Quad {
  ccTex2F bl, br, tl, tr;
};

// Source and destination blend factors (GL enum values).
struct ccBlendFunc {
  unsigned int src;
  unsigned int dst;
};

enum CCTextAlignment {
  kCCTextAlignmentLeft,
  kCCTextAlignmentCenter,
  kCCTextAlignmentRight,
};
enum CCVerticalTextAlignment {
  kCCVerticalTextAlignmentTop,
  kCCVerticalTextAlignmentCenter,
  kCCVerticalTextAlignmentBottom,
};

NS_CC_END
