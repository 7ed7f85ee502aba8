#pragma once

#include "CCNode.h"

NS_CC_BEGIN

// The root of a screen's node tree; anchored at its centre, placed at the origin.
class CCScene : public CCNode {
 public:
  CCScene();
  virtual ~CCScene();
  bool init();
  static CCScene* create();

  // The window size the scene takes; set by the director when it has one.
  static void setDefaultSize(const CCSize& size);
  static const CCSize& defaultSize();
};

NS_CC_END
