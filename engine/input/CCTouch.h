#pragma once

#include "CCGeometry.h"
#include "CCObject.h"

NS_CC_BEGIN

// Turns a point in view coordinates (origin top left) into GL coordinates (origin bottom
// left). The director installs its own conversion; without one points are taken as they are.
typedef CCPoint (*CCViewToGLConverter)(const CCPoint& pointInView);
void ccSetViewToGLConverter(CCViewToGLConverter converter);
CCPoint ccConvertViewToGL(const CCPoint& pointInView);

class CCTouch : public CCObject {
 public:
  CCTouch() : m_nId(0) {}

  // Locations in GL coordinates.
  CCPoint getLocation() const;
  CCPoint getPreviousLocation() const;
  CCPoint getDelta() const;
  // Locations in view coordinates.
  CCPoint getLocationInView() const { return m_point; }
  CCPoint getPreviousLocationInView() const { return m_prevPoint; }
  CCPoint locationInView() const { return m_point; }
  CCPoint previousLocationInView() const { return m_prevPoint; }

  void setTouchInfo(int id, float x, float y) {
    m_nId = id;
    m_prevPoint = m_point;
    m_point.x = x;
    m_point.y = y;
  }
  int getID() const { return m_nId; }

 private:
  int m_nId;
  CCPoint m_point;
  CCPoint m_prevPoint;
};

class CCEvent : public CCObject {
 public:
  CCEvent() {}
};

NS_CC_END
