// The scene nodes of one board element: a root loaded from the room layout of its
// kind with the named layers bound, the fire animation, the smoke overlay while it
// burns, and the loaded vertical scale of the room fill. They apply an ElemLook.
#pragma once

#include <array>

#include "CCBMemberVariableAssigner.h"
#include "CCNode.h"
#include "ElemDisplay.h"

namespace cocos2d {
class CCParticleSystemQuad;
}

class ElemNodes : public cocos2d::CCObject,
                  public cocos2d::extension::CCBMemberVariableAssigner {
 public:
  static ElemNodes* create();
  ~ElemNodes() override;

  // Loads the layout; the opponent's elements take the opponent's cracks. False, with
  // nothing built, when the layout cannot be read.
  bool build(ElemLayout layout, bool ofLocalPlayer);
  // Applies every decided field of the look. The smoke overlay is made on the first
  // fire, in `smokeParent`, at `smokeZ`.
  void apply(const ElemLook& look, cocos2d::CCNode* smokeParent, int smokeZ);

  ElemLayout layout() const { return layout_; }
  cocos2d::CCNode* root() const { return root_; }
  cocos2d::CCNode* layer(ElemLayer l) const { return layers_[static_cast<int>(l)]; }
  cocos2d::CCParticleSystemQuad* smoke() const { return smoke_; }
  bool ofLocalPlayer() const { return ofLocalPlayer_; }

  // Places the root (anchored at its centre) and the smoke at a point.
  void placeAt(const cocos2d::CCPoint& centre);
  // Hands the root to the caller (retained, out of its parent) and lets the smoke go.
  cocos2d::CCNode* detachRoot();

  bool onAssignCCBMemberVariable(cocos2d::CCObject* target, cocos2d::CCString* name,
                                 cocos2d::CCNode* node) override;

  // The smoke's colours by owner: start white on the opponent's elements and the
  // opponent's tint on ours; the end is our tint (the alphas stay as loaded).
  static ElemRgb smokeStartColour(bool ofLocalPlayer);
  static ElemRgb smokeEndColour();

 private:
  ElemNodes() = default;
  void clear();
  void runFire(bool burning);

  ElemLayout layout_ = ElemLayout::None;
  bool ofLocalPlayer_ = false;
  cocos2d::CCNode* root_ = nullptr;  // retained
  std::array<cocos2d::CCNode*, kElemLayerCount> layers_{};  // children of the root
  cocos2d::CCParticleSystemQuad* smoke_ = nullptr;  // retained
  float roomFillScale_ = 1.0f;
  bool fireRunning_ = false;
};
