// A layer that calls a function before it and its children are drawn: the screen's one
// refresh a frame, after the frame's input and updates, before its drawing.
#pragma once

#include <functional>

#include "CCLayer.h"

class RefreshLayer : public cocos2d::CCLayer {
 public:
  static RefreshLayer* create(std::function<void()> beforeDraw);
  void visit() override;

 private:
  explicit RefreshLayer(std::function<void()> beforeDraw) : beforeDraw_(std::move(beforeDraw)) {}
  std::function<void()> beforeDraw_;
};
