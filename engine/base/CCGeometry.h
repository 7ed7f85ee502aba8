#pragma once

#include "ccMacros.h"

NS_CC_BEGIN

class CCPoint {
 public:
  float x;
  float y;

  CCPoint() : x(0), y(0) {}
  CCPoint(float px, float py) : x(px), y(py) {}
  void setPoint(float px, float py) {
    x = px;
    y = py;
  }
  bool equals(const CCPoint& target) const {
    return std::fabs(x - target.x) < FLT_EPSILON && std::fabs(y - target.y) < FLT_EPSILON;
  }
  static bool CCPointEqualToPoint(const CCPoint& a, const CCPoint& b) { return a.equals(b); }
};

class CCSize {
 public:
  float width;
  float height;

  CCSize() : width(0), height(0) {}
  CCSize(float w, float h) : width(w), height(h) {}
  void setSize(float w, float h) {
    width = w;
    height = h;
  }
  bool equals(const CCSize& target) const {
    return std::fabs(width - target.width) < FLT_EPSILON &&
           std::fabs(height - target.height) < FLT_EPSILON;
  }
  static bool CCSizeEqualToSize(const CCSize& a, const CCSize& b) { return a.equals(b); }
};

class CCRect {
 public:
  CCPoint origin;
  CCSize size;

  CCRect() {}
  CCRect(float x, float y, float w, float h) : origin(x, y), size(w, h) {}
  void setRect(float x, float y, float w, float h) {
    origin.setPoint(x, y);
    size.setSize(w, h);
  }
  float getMinX() const { return origin.x; }
  float getMidX() const { return origin.x + size.width / 2.0f; }
  float getMaxX() const { return origin.x + size.width; }
  float getMinY() const { return origin.y; }
  float getMidY() const { return origin.y + size.height / 2.0f; }
  float getMaxY() const { return origin.y + size.height; }
  bool equals(const CCRect& rect) const { return origin.equals(rect.origin) && size.equals(rect.size); }
  // Edges count as inside.
  bool containsPoint(const CCPoint& point) const {
    return point.x >= getMinX() && point.x <= getMaxX() && point.y >= getMinY() && point.y <= getMaxY();
  }
  bool intersectsRect(const CCRect& rect) const {
    return !(getMaxX() < rect.getMinX() || rect.getMaxX() < getMinX() ||
             getMaxY() < rect.getMinY() || rect.getMaxY() < getMinY());
  }
  static bool CCRectEqualToRect(const CCRect& a, const CCRect& b) { return a.equals(b); }
  static bool CCRectContainsPoint(const CCRect& r, const CCPoint& p) { return r.containsPoint(p); }
  static bool CCRectIntersectsRect(const CCRect& a, const CCRect& b) { return a.intersectsRect(b); }
};

#define CCPointMake(x, y) cocos2d::CCPoint((float)(x), (float)(y))
#define CCSizeMake(width, height) cocos2d::CCSize((float)(width), (float)(height))
#define CCRectMake(x, y, width, height) \
  cocos2d::CCRect((float)(x), (float)(y), (float)(width), (float)(height))

static const CCPoint CCPointZero = CCPoint(0, 0);
static const CCSize CCSizeZero = CCSize(0, 0);
static const CCRect CCRectZero = CCRect(0, 0, 0, 0);

NS_CC_END
