// The view of both towers: where a board cell lies, scrolling clamped to the viewport,
// zooming around a window point with our layer fading, animated focus, framing targets.
#include "BoardCamera.h"

#include <algorithm>

#include "Board.h"
#include "BoardElem.h"
#include "BoardView.h"
#include "CCActionInterval.h"
#include "CCDirector.h"
#include "CCLayer.h"
#include "CCPointExtension.h"
#include "CCSprite.h"
#include "EventDispatcher.h"
#include "GameContext.h"
#include "NodeBindings.h"
#include "NodeTree.h"
#include "game/GameSession.h"

using namespace cocos2d;

namespace {

constexpr float kCell = BoardView::kElemSize;
constexpr float kHalfCell = kCell * 0.5f;

CCSize winSize() { return CCDirector::sharedDirector()->getWinSize(); }

CCPoint windowCentre() {
  const CCSize w = winSize();
  return ccp(w.width * 0.5f, w.height * 0.5f);
}

GLubyte fadeFor(float scale) {
  const float o = (2.0f - scale) * 255.0f;
  return static_cast<GLubyte>(std::clamp(o, 0.0f, 255.0f));
}

}  // namespace

BoardCamera::BoardCamera(EventDispatcher& hub) : hub_(hub) {}

void BoardCamera::declareMembers(mv::NodeBindings& b) {
  b.declare("viewport", &viewport_);
  b.declare("water", &water_);
  b.declare("ourlayer", &ourlayer_);
  b.declare("enemylayer", &enemylayer_);
  b.declare("ourground", &ourground_);
  b.declare("our_position", &our_position_);
  b.declare("enemy_position", &enemy_position_);
}

void BoardCamera::beginScreen() { groundOpacity_ = 255; }

void BoardCamera::settleOnOurTower() {
  homeViewPoint_ = ourTowerPoint();
  focusOurTower();
}

const Player* BoardCamera::localPlayer() const { return hub_.game().localPlayer(); }

CCNode* BoardCamera::getPlayerLayer(const Player* owner) const {
  const Player* local = localPlayer();
  return owner && owner == local ? static_cast<CCNode*>(ourlayer_) : static_cast<CCNode*>(enemylayer_);
}

CCPoint BoardCamera::boardToLayerPoint(const Player* owner, int x, int y) const {
  const Player* local = localPlayer();
  CCNode* origin = owner && owner == local ? our_position_ : enemy_position_;
  const CCPoint base = origin ? origin->getPosition() : CCPointZero;
  const int c = Board::getBoardCenter();
  return ccp(base.x + (x - c) * kCell, base.y + (y - c) * kCell);
}

CCPoint BoardCamera::elemToLayerPoint(const BoardElem* elem) const {
  if (!elem) return CCPointZero;
  return boardToLayerPoint(elem->owner(), elem->x(), elem->y());
}

CCPoint BoardCamera::ourTowerPoint() const {
  // The centre cell's corner is the position node itself, with or without a local player.
  return our_position_ ? our_position_->getPosition() : CCPointZero;
}

// ---- Scrolling ----------------------------------------------------------------------------

void BoardCamera::followOurLayer() {
  if (!ourlayer_) return;
  if (enemylayer_) enemylayer_->setPosition(ccpMult(ourlayer_->getPosition(), kEnemyPositionFactor));
  homeViewPoint_ = ourlayer_->convertToNodeSpace(windowCentre());
}

CCPoint BoardCamera::clampedDelta(const CCPoint& delta) const {
  if (!viewport_ || !ourlayer_) return delta;
  const CCSize win = winSize();
  const CCSize area = viewport_->getContentSize();
  const float scale = ourlayer_->getScale();
  // A viewport no larger than the window (in either direction) is not clamped.
  if (!(win.width < area.width * scale && win.height < area.height * scale)) return delta;
  const CCPoint lo = ccpAdd(viewport_->convertToWorldSpace(CCPointZero), delta);
  const CCPoint hi = ccpAdd(viewport_->convertToWorldSpace(ccp(area.width, area.height)), delta);
  CCPoint shift = CCPointZero;
  if (lo.x > 0)
    shift.x = -lo.x;
  else if (hi.x < win.width)
    shift.x = win.width - hi.x;
  if (lo.y > 0)
    shift.y = -lo.y;
  else if (hi.y < win.height)
    shift.y = win.height - hi.y;
  return ccpAdd(delta, shift);
}

void BoardCamera::setViewPosition(const CCPoint& position) {
  if (!ourlayer_) return;
  ourlayer_->setPosition(position);
  ourlayer_->setPosition(ccpAdd(position, clampedDelta(CCPointZero)));
  followOurLayer();
}

void BoardCamera::moveView(const CCPoint& delta) {
  if (!ourlayer_) return;
  ourlayer_->setPosition(ccpAdd(ourlayer_->getPosition(), clampedDelta(delta)));
  followOurLayer();
}

// ---- Zoom ---------------------------------------------------------------------------------

void BoardCamera::zoomView(float scale, const CCPoint& screenPoint) {
  if (!ourlayer_) return;
  const float z = std::clamp(scale, kMinZoom, kMaxZoom);
  const CCPoint n = ourlayer_->convertToNodeSpace(screenPoint);
  ourlayer_->setScale(z);
  if (enemylayer_) enemylayer_->setScale(z * kEnemyScaleFactor);
  const CCPoint w = ourlayer_->convertToWorldSpace(n);
  // The same content stays under the point; zooming out at an edge keeps the window
  // inside the viewport.
  setViewPosition(ccpAdd(ourlayer_->getPosition(), ccpSub(screenPoint, w)));
  ourlayer_->setOpacity(fadeFor(z));
}

void BoardCamera::zoomBy(float delta, const CCPoint& screenPoint) {
  if (!ourlayer_) return;
  zoomView(ourlayer_->getScale() + delta, screenPoint);
}

// ---- Animated focus --------------------------------------------------------------------------

void BoardCamera::focusView(CCNode* layer, const CCPoint& point, float scale) {
  if (!layer || !ourlayer_ || !enemylayer_) return;
  const bool onEnemy = layer == enemylayer_;
  CCNode* other = onEnemy ? static_cast<CCNode*>(ourlayer_) : static_cast<CCNode*>(enemylayer_);
  // Where the point would lie at the new scale.
  const float oldScale = layer->getScale();
  layer->setScale(scale);
  const CCPoint b = layer->convertToWorldSpace(point);
  layer->setScale(oldScale);
  const CCPoint offset = ccpSub(windowCentre(), b);
  const float positionRatio = onEnemy ? 1.0f / kEnemyPositionFactor : kEnemyPositionFactor;
  const float scaleRatio = onEnemy ? 1.0f / kEnemyScaleFactor : kEnemyScaleFactor;

  GLubyte otherOpacity = 255;
  if (onEnemy && !hub_.context().settings().getBool("always_show_our_tower", false)) otherOpacity = fadeFor(scale);
  struct Move {
    CCNode* node;
    CCPoint by;
    float scale;
    GLubyte opacity;
  };
  for (const Move& m : {Move{layer, offset, scale, 255},
                        Move{other, ccpMult(offset, positionRatio), scale * scaleRatio, otherOpacity}}) {
    CCArray* parts = CCArray::create();
    parts->addObject(CCMoveBy::create(kFocusSeconds, m.by));
    parts->addObject(CCScaleTo::create(kFocusSeconds, m.scale));
    parts->addObject(CCFadeTo::create(kFocusSeconds, m.opacity));
    m.node->runAction(CCSpawn::createWithArray(parts));
  }
}

void BoardCamera::focusElement(const BoardElem* elem, float scale) {
  if (!elem) return;
  const CCPoint point = ccpAdd(elemToLayerPoint(elem), ccp(kHalfCell, kHalfCell));
  focusView(getPlayerLayer(elem->owner()), point, scale);
}

void BoardCamera::focusOurTower() {
  if (!localPlayer() || !ourlayer_) return;
  focusView(ourlayer_, ourTowerPoint(), 1.0f);
}

void BoardCamera::focusHome() {
  if (ourlayer_) focusView(ourlayer_, homeViewPoint_, 1.0f);
}

void BoardCamera::zoomToTargets(const std::vector<BoardElem*>& elems) {
  BoardElem* last = nullptr;
  float minX = 0, maxX = 0, minY = 0, maxY = 0;
  for (BoardElem* e : elems) {
    if (!e) continue;
    const CCPoint c = ccpAdd(elemToLayerPoint(e), ccp(kHalfCell, kHalfCell));
    if (!last) {
      minX = maxX = c.x;
      minY = maxY = c.y;
    } else {
      minX = std::min(minX, c.x);
      maxX = std::max(maxX, c.x);
      minY = std::min(minY, c.y);
      maxY = std::max(maxY, c.y);
    }
    last = e;
  }
  if (!last) return;
  minY -= kHalfCell;
  maxY += kHalfCell;
  const CCSize win = winSize();
  const float sx = (maxX - minX) / win.width;
  const float sy = (maxY - minY) / (win.height * 0.5f);
  const float scale = std::clamp(1.0f / std::max(sx, sy), kMinZoom, kMaxZoom);
  focusView(getPlayerLayer(last->owner()), ccp((minX + maxX) * 0.5f, (minY + maxY) * 0.5f), scale);
}

void BoardCamera::fadeGroundWithOurLayer() {
  if (!ourlayer_) return;
  const GLubyte o = ourlayer_->getOpacity();
  if (o == groundOpacity_) return;
  groundOpacity_ = o;
  for (CCNode* part : {ourground_, static_cast<CCNode*>(water_)})
    mv::forEachNodeDeep(part, [o](CCNode* n) {
      if (CCSprite* sprite = dynamic_cast<CCSprite*>(n)) sprite->setOpacity(o);
    });
}
