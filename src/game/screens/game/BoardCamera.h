// The view of both towers on the game screen: where a board cell lies in its side's
// layer, scrolling clamped to the viewport, zooming around a window point with our layer
// fading, an animated focus on a point, and framing a choice's targets. The enemy's layer
// follows ours at a depth factor. It binds the board's layers and their position nodes.
#pragma once

#include <vector>

#include "CCGeometry.h"

namespace cocos2d {
class CCLayer;
class CCNode;
}  // namespace cocos2d

namespace mv {
class NodeBindings;
}

class BoardElem;
class EventDispatcher;
class Player;

class BoardCamera {
 public:
  // Depth factors of the two layers: the enemy's moves at 0.8 of our position and is
  // drawn at 0.7 of our scale.
  static constexpr float kEnemyPositionFactor = 0.8f;
  static constexpr float kEnemyScaleFactor = 0.7f;
  static constexpr float kMinZoom = 1.0f;
  static constexpr float kMaxZoom = 2.0f;
  static constexpr float kFocusSeconds = 0.5f;

  explicit BoardCamera(EventDispatcher& hub);
  // Declares the nodes the camera binds from the screen's layout.
  void declareMembers(mv::NodeBindings& bindings);
  // A new screen is loaded: the view starts on our tower.
  void beginScreen();
  void settleOnOurTower();

  // ---- Where things lie ----------------------------------------------------------------
  // "ourlayer" for the local player, else "enemylayer".
  cocos2d::CCNode* getPlayerLayer(const Player* owner) const;
  // The layer position of cell (x, y) of the player's board: its side's position node
  // plus ((x - 20) * 64, (y - 20) * 64).
  cocos2d::CCPoint boardToLayerPoint(const Player* owner, int x, int y) const;
  cocos2d::CCPoint elemToLayerPoint(const BoardElem* elem) const;
  // Our tower's centre cell (its corner) in our layer.
  cocos2d::CCPoint ourTowerPoint() const;

  // ---- Motion --------------------------------------------------------------------------
  void setViewPosition(const cocos2d::CCPoint& position);
  void moveView(const cocos2d::CCPoint& delta);
  // Zooms (clamped) keeping the content under the window point where it is.
  void zoomView(float scale, const cocos2d::CCPoint& screenPoint);
  void zoomBy(float delta, const cocos2d::CCPoint& screenPoint);
  // The view moves (animated) so the layer's point is at the window's centre at `scale`.
  void focusView(cocos2d::CCNode* layer, const cocos2d::CCPoint& point, float scale);
  void focusElement(const BoardElem* elem, float scale);
  void focusOurTower();
  // Back to where the player last left our layer, at scale 1.
  void focusHome();
  // The targets framed in the middle half of the window.
  void zoomToTargets(const std::vector<BoardElem*>& elems);
  // Our ground and the lake fade with our layer (their tiles are drawn by batch nodes,
  // which a fading layer does not reach); run every frame, acts on a change.
  void fadeGroundWithOurLayer();

  // ---- Bound nodes (read only) ---------------------------------------------------------
  cocos2d::CCLayer* ourLayer() const { return ourlayer_; }
  cocos2d::CCLayer* enemyLayer() const { return enemylayer_; }
  cocos2d::CCLayer* water() const { return water_; }
  cocos2d::CCNode* ourGround() const { return ourground_; }

 private:
  const Player* localPlayer() const;
  // The part of the view that follows our layer: the enemy's position, the centre kept.
  void followOurLayer();
  // Clamps a move of our layer so the window stays inside the viewport.
  cocos2d::CCPoint clampedDelta(const cocos2d::CCPoint& delta) const;

  EventDispatcher& hub_;
  cocos2d::CCLayer* ourlayer_ = nullptr;
  cocos2d::CCLayer* enemylayer_ = nullptr;
  cocos2d::CCNode* our_position_ = nullptr;
  cocos2d::CCNode* enemy_position_ = nullptr;
  cocos2d::CCLayer* viewport_ = nullptr;
  cocos2d::CCLayer* water_ = nullptr;
  cocos2d::CCNode* ourground_ = nullptr;
  // Our layer's point at the window's centre, where the board goes back to.
  cocos2d::CCPoint homeViewPoint_;
  int groundOpacity_ = 255;
};
