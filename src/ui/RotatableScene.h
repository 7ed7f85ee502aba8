// The base of every screen: a scene with a black cover above its content and a layout hook.
#pragma once

#include "CCRelayoutable.h"
#include "CCScene.h"

namespace cocos2d {
class CCLayerColor;
}

namespace mv {

class RotatableScene : public cocos2d::CCScene, public cocos2d::CCRelayoutable {
 public:
  CREATE_FUNC(RotatableScene)
  virtual ~RotatableScene();
  // Sizes the scene and puts the cover, clear, over its content. Derived scenes call this
  // first.
  bool init() override;

  // Rebuilds the screen after a change of design resolution; the base fades a showing cover
  // out in 0.2 s. Derived scenes call this first and then rebuild from their screen file.
  void relayout() override;
  // Hides everything beneath the cover at once.
  virtual void coverScreen();

  cocos2d::CCLayerColor* getCover() { return cover_; }

  static constexpr int kCoverZOrder = 1000;

 private:
  // The cover reaches past the window whatever its size.
  void sizeCover();

  cocos2d::CCLayerColor* cover_ = nullptr;
};

}  // namespace mv
