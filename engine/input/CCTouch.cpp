#include "CCTouch.h"

#include "CCPointExtension.h"

NS_CC_BEGIN

static CCViewToGLConverter s_converter = 0;

void ccSetViewToGLConverter(CCViewToGLConverter converter) { s_converter = converter; }

CCPoint ccConvertViewToGL(const CCPoint& pointInView) {
  return s_converter ? s_converter(pointInView) : pointInView;
}

CCPoint CCTouch::getLocation() const { return ccConvertViewToGL(m_point); }
CCPoint CCTouch::getPreviousLocation() const { return ccConvertViewToGL(m_prevPoint); }
CCPoint CCTouch::getDelta() const { return ccpSub(getLocation(), getPreviousLocation()); }

NS_CC_END
