#pragma once

#include "ccMacros.h"

NS_CC_BEGIN

// A scene that rebuilds its layout when the design resolution changes; the director's
// relayoutScenes calls relayout on every such scene of its stack.
class CCRelayoutable {
 public:
  virtual ~CCRelayoutable() {}
  virtual void relayout() = 0;
};

NS_CC_END
