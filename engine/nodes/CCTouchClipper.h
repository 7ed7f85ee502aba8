// A node that shows its children only inside part of the screen (a clipping scroll view).
// What it hides takes no touch either: a menu below it answers only touches where its
// items can be seen.
#pragma once

#include "CCGeometry.h"

NS_CC_BEGIN

class CCTouchClipper {
 public:
  virtual ~CCTouchClipper() = default;
  // The point (world space) lies where the children are cut away.
  virtual bool hidesTouchAt(const CCPoint& worldPoint) = 0;
};

NS_CC_END
