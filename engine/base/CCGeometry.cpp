#include "CCAffineTransform.h"
#include "CCPointExtension.h"

#include <algorithm>

NS_CC_BEGIN

float ccpLength(const CCPoint& v) { return std::sqrt(ccpLengthSQ(v)); }
float ccpDistance(const CCPoint& a, const CCPoint& b) { return ccpLength(ccpSub(a, b)); }

CCPoint ccpNormalize(const CCPoint& v) {
  float len = ccpLength(v);
  if (len == 0.0f) return CCPoint(1.f, 0.f);
  return ccpMult(v, 1.0f / len);
}

CCPoint ccpForAngle(float a) { return CCPoint(std::cos(a), std::sin(a)); }
float ccpToAngle(const CCPoint& v) { return std::atan2(v.y, v.x); }

float clampf(float value, float min_inclusive, float max_inclusive) {
  if (min_inclusive > max_inclusive) std::swap(min_inclusive, max_inclusive);
  return value < min_inclusive ? min_inclusive : value < max_inclusive ? value : max_inclusive;
}

CCPoint ccpClamp(const CCPoint& p, const CCPoint& from, const CCPoint& to) {
  return CCPoint(clampf(p.x, from.x, to.x), clampf(p.y, from.y, to.y));
}

CCPoint ccpFromSize(const CCSize& s) { return CCPoint(s.width, s.height); }

CCPoint ccpLerp(const CCPoint& a, const CCPoint& b, float alpha) {
  return ccpAdd(ccpMult(a, 1.f - alpha), ccpMult(b, alpha));
}

bool ccpFuzzyEqual(const CCPoint& a, const CCPoint& b, float var) {
  return a.x - var <= b.x && b.x <= a.x + var && a.y - var <= b.y && b.y <= a.y + var;
}

CCPoint ccpCompMult(const CCPoint& a, const CCPoint& b) { return CCPoint(a.x * b.x, a.y * b.y); }

float ccpAngleSigned(const CCPoint& a, const CCPoint& b) {
  CCPoint a2 = ccpNormalize(a), b2 = ccpNormalize(b);
  float angle = std::atan2(a2.x * b2.y - a2.y * b2.x, ccpDot(a2, b2));
  if (std::fabs(angle) < FLT_EPSILON) return 0.f;
  return angle;
}

float ccpAngle(const CCPoint& a, const CCPoint& b) {
  float angle = std::acos(clampf(ccpDot(ccpNormalize(a), ccpNormalize(b)), -1.f, 1.f));
  if (std::fabs(angle) < FLT_EPSILON) return 0.f;
  return angle;
}

CCPoint ccpRotateByAngle(const CCPoint& v, const CCPoint& pivot, float angle) {
  CCPoint r = ccpSub(v, pivot);
  float cosa = std::cos(angle), sina = std::sin(angle);
  return ccpAdd(CCPoint(r.x * cosa - r.y * sina, r.x * sina + r.y * cosa), pivot);
}

const CCAffineTransform CCAffineTransformIdentity = {1, 0, 0, 1, 0, 0};

CCAffineTransform __CCAffineTransformMake(float a, float b, float c, float d, float tx, float ty) {
  CCAffineTransform t = {a, b, c, d, tx, ty};
  return t;
}

CCPoint __CCPointApplyAffineTransform(const CCPoint& p, const CCAffineTransform& t) {
  return CCPoint(t.a * p.x + t.c * p.y + t.tx, t.b * p.x + t.d * p.y + t.ty);
}

CCSize __CCSizeApplyAffineTransform(const CCSize& s, const CCAffineTransform& t) {
  return CCSize(t.a * s.width + t.c * s.height, t.b * s.width + t.d * s.height);
}

CCAffineTransform CCAffineTransformMakeIdentity() { return CCAffineTransformIdentity; }

CCRect CCRectApplyAffineTransform(const CCRect& rect, const CCAffineTransform& t) {
  float top = rect.getMinY(), left = rect.getMinX(), right = rect.getMaxX(), bottom = rect.getMaxY();
  CCPoint tl = CCPointApplyAffineTransform(CCPoint(left, top), t);
  CCPoint tr = CCPointApplyAffineTransform(CCPoint(right, top), t);
  CCPoint bl = CCPointApplyAffineTransform(CCPoint(left, bottom), t);
  CCPoint br = CCPointApplyAffineTransform(CCPoint(right, bottom), t);
  float minX = std::min(std::min(tl.x, tr.x), std::min(bl.x, br.x));
  float maxX = std::max(std::max(tl.x, tr.x), std::max(bl.x, br.x));
  float minY = std::min(std::min(tl.y, tr.y), std::min(bl.y, br.y));
  float maxY = std::max(std::max(tl.y, tr.y), std::max(bl.y, br.y));
  return CCRect(minX, minY, maxX - minX, maxY - minY);
}

CCAffineTransform CCAffineTransformTranslate(const CCAffineTransform& t, float tx, float ty) {
  return __CCAffineTransformMake(t.a, t.b, t.c, t.d, t.tx + t.a * tx + t.c * ty, t.ty + t.b * tx + t.d * ty);
}

CCAffineTransform CCAffineTransformScale(const CCAffineTransform& t, float sx, float sy) {
  return __CCAffineTransformMake(t.a * sx, t.b * sx, t.c * sy, t.d * sy, t.tx, t.ty);
}

CCAffineTransform CCAffineTransformRotate(const CCAffineTransform& t, float angle) {
  float s = std::sin(angle), c = std::cos(angle);
  return __CCAffineTransformMake(t.a * c + t.c * s, t.b * c + t.d * s, t.c * c - t.a * s,
                                 t.d * c - t.b * s, t.tx, t.ty);
}

CCAffineTransform CCAffineTransformConcat(const CCAffineTransform& t1, const CCAffineTransform& t2) {
  return __CCAffineTransformMake(t1.a * t2.a + t1.b * t2.c, t1.a * t2.b + t1.b * t2.d,
                                 t1.c * t2.a + t1.d * t2.c, t1.c * t2.b + t1.d * t2.d,
                                 t1.tx * t2.a + t1.ty * t2.c + t2.tx,
                                 t1.tx * t2.b + t1.ty * t2.d + t2.ty);
}

bool CCAffineTransformEqualToTransform(const CCAffineTransform& t1, const CCAffineTransform& t2) {
  return t1.a == t2.a && t1.b == t2.b && t1.c == t2.c && t1.d == t2.d && t1.tx == t2.tx &&
         t1.ty == t2.ty;
}

CCAffineTransform CCAffineTransformInvert(const CCAffineTransform& t) {
  float det = t.a * t.d - t.b * t.c;
  if (det == 0.0f) {
    CCLOGWARN("CCAffineTransformInvert: singular transform left unchanged");
    return t;
  }
  float inv = 1.0f / det;
  return __CCAffineTransformMake(inv * t.d, -inv * t.b, -inv * t.c, inv * t.a,
                                 inv * (t.c * t.ty - t.d * t.tx), inv * (t.b * t.tx - t.a * t.ty));
}

NS_CC_END
