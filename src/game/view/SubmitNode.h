// Hands everything drawn so far in the frame to the renderer. A threaded software
// renderer then fills those pixels while the nodes after this one are still being
// prepared, instead of starting only when the frame is shown. Drawing is unchanged.
#pragma once

#include "CCNode.h"

class SubmitNode : public cocos2d::CCNode {
 public:
  CREATE_FUNC(SubmitNode)
  void draw() override;
};
