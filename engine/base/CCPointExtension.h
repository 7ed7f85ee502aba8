#pragma once

#include "CCGeometry.h"

NS_CC_BEGIN

#define ccp(__X__, __Y__) cocos2d::CCPoint((float)(__X__), (float)(__Y__))

static inline CCPoint ccpNeg(const CCPoint& v) { return CCPoint(-v.x, -v.y); }
static inline CCPoint ccpAdd(const CCPoint& a, const CCPoint& b) { return CCPoint(a.x + b.x, a.y + b.y); }
static inline CCPoint ccpSub(const CCPoint& a, const CCPoint& b) { return CCPoint(a.x - b.x, a.y - b.y); }
static inline CCPoint ccpMult(const CCPoint& v, float s) { return CCPoint(v.x * s, v.y * s); }
static inline CCPoint ccpMidpoint(const CCPoint& a, const CCPoint& b) {
  return CCPoint((a.x + b.x) / 2.f, (a.y + b.y) / 2.f);
}
static inline float ccpDot(const CCPoint& a, const CCPoint& b) { return a.x * b.x + a.y * b.y; }
static inline float ccpCross(const CCPoint& a, const CCPoint& b) { return a.x * b.y - a.y * b.x; }
static inline CCPoint ccpPerp(const CCPoint& v) { return CCPoint(-v.y, v.x); }
static inline CCPoint ccpRPerp(const CCPoint& v) { return CCPoint(v.y, -v.x); }
static inline CCPoint ccpProject(const CCPoint& a, const CCPoint& b) {
  return ccpMult(b, ccpDot(a, b) / ccpDot(b, b));
}
static inline CCPoint ccpRotate(const CCPoint& a, const CCPoint& b) {
  return CCPoint(a.x * b.x - a.y * b.y, a.x * b.y + a.y * b.x);
}
static inline CCPoint ccpUnrotate(const CCPoint& a, const CCPoint& b) {
  return CCPoint(a.x * b.x + a.y * b.y, a.y * b.x - a.x * b.y);
}
static inline float ccpLengthSQ(const CCPoint& v) { return ccpDot(v, v); }
static inline float ccpDistanceSQ(const CCPoint& a, const CCPoint& b) { return ccpLengthSQ(ccpSub(a, b)); }
float ccpLength(const CCPoint& v);
float ccpDistance(const CCPoint& a, const CCPoint& b);
CCPoint ccpNormalize(const CCPoint& v);
CCPoint ccpForAngle(float a);
float ccpToAngle(const CCPoint& v);
float clampf(float value, float min_inclusive, float max_inclusive);
CCPoint ccpClamp(const CCPoint& p, const CCPoint& from, const CCPoint& to);
CCPoint ccpFromSize(const CCSize& s);
CCPoint ccpLerp(const CCPoint& a, const CCPoint& b, float alpha);
bool ccpFuzzyEqual(const CCPoint& a, const CCPoint& b, float variance);
CCPoint ccpCompMult(const CCPoint& a, const CCPoint& b);
float ccpAngleSigned(const CCPoint& a, const CCPoint& b);
float ccpAngle(const CCPoint& a, const CCPoint& b);
CCPoint ccpRotateByAngle(const CCPoint& v, const CCPoint& pivot, float angle);

NS_CC_END
