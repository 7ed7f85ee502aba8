// The view of both towers: where a board cell lies, scrolling clamped to the viewport,
// zooming around a window point with our layer fading, animated focus, framing the
// targets, and the label over the enemy tower.
#include <algorithm>

#include "Board.h"
#include "BoardElem.h"
#include "CCActionInterval.h"
#include "CCDirector.h"
#include "CCLabelBMFont.h"
#include "CCLayer.h"
#include "CCPointExtension.h"
#include "CCSprite.h"
#include "EventDispatcher.h"
#include "GameController.h"
#include "NodeTree.h"
#include "game/GameSession.h"
#include "player/Player.h"

using namespace cocos2d;

namespace {

constexpr int kFocusActionTag = 0xF0C5;
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

CCNode* GameController::boardLayerFor(const Player* owner) {
  const Player* local = localPlayer();
  return owner && owner == local ? static_cast<CCNode*>(ourlayer) : static_cast<CCNode*>(enemylayer);
}

CCPoint GameController::boardToLayerPoint(const Player* owner, int x, int y) {
  const Player* local = localPlayer();
  CCNode* origin = owner && owner == local ? our_position : enemy_position;
  const CCPoint base = origin ? origin->getPosition() : CCPointZero;
  const int c = Board::getBoardCenter();
  return ccp(base.x + (x - c) * kCell, base.y + (y - c) * kCell);
}

CCPoint GameController::elemToLayerPoint(BoardElem* elem) {
  if (!elem) return CCPointZero;
  return boardToLayerPoint(elem->owner(), elem->x(), elem->y());
}

CCPoint GameController::ourTowerPoint() {
  // The centre cell's corner is the position node itself, with or without a local player.
  return our_position ? our_position->getPosition() : CCPointZero;
}

// ---- Scrolling ----------------------------------------------------------------------------

void GameController::followOurLayer() {
  if (!ourlayer) return;
  if (enemylayer) enemylayer->setPosition(ccpMult(ourlayer->getPosition(), kEnemyPositionFactor));
  homeViewPoint = ourlayer->convertToNodeSpace(windowCentre());
}

CCPoint GameController::clampedDelta(const CCPoint& delta) {
  if (!viewport || !ourlayer) return delta;
  const CCSize win = winSize();
  const CCSize area = viewport->getContentSize();
  const float scale = ourlayer->getScale();
  // A viewport no larger than the window (in either direction) is not clamped.
  if (!(win.width < area.width * scale && win.height < area.height * scale)) return delta;
  const CCPoint lo = ccpAdd(viewport->convertToWorldSpace(CCPointZero), delta);
  const CCPoint hi = ccpAdd(viewport->convertToWorldSpace(ccp(area.width, area.height)), delta);
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

void GameController::setViewPosition(const CCPoint& position) {
  if (!ourlayer) return;
  ourlayer->setPosition(position);
  ourlayer->setPosition(ccpAdd(position, clampedDelta(CCPointZero)));
  followOurLayer();
}

void GameController::moveView(const CCPoint& delta) {
  if (!ourlayer) return;
  ourlayer->setPosition(ccpAdd(ourlayer->getPosition(), clampedDelta(delta)));
  followOurLayer();
}

// ---- Zoom ---------------------------------------------------------------------------------

void GameController::zoomView(float scale, const CCPoint& screenPoint) {
  if (!ourlayer) return;
  const float z = std::clamp(scale, kMinZoom, kMaxZoom);
  const CCPoint n = ourlayer->convertToNodeSpace(screenPoint);
  ourlayer->setScale(z);
  if (enemylayer) enemylayer->setScale(z * kEnemyScaleFactor);
  const CCPoint w = ourlayer->convertToWorldSpace(n);
  // The same content stays under the point; zooming out at an edge keeps the window
  // inside the viewport.
  setViewPosition(ccpAdd(ourlayer->getPosition(), ccpSub(screenPoint, w)));
  ourlayer->setOpacity(fadeFor(z));
}

void GameController::zoomBy(float delta) {
  if (!ourlayer) return;
  zoomView(ourlayer->getScale() + delta, touchLayerPointer());
}

// ---- Animated focus --------------------------------------------------------------------------

void GameController::focusView(CCNode* layer, const CCPoint& point, float scale) {
  if (!layer || !ourlayer || !enemylayer) return;
  const bool onEnemy = layer == enemylayer;
  CCNode* other = onEnemy ? static_cast<CCNode*>(ourlayer) : static_cast<CCNode*>(enemylayer);
  // Where the point would lie at the new scale.
  const float oldScale = layer->getScale();
  layer->setScale(scale);
  const CCPoint b = layer->convertToWorldSpace(point);
  layer->setScale(oldScale);
  const CCPoint offset = ccpSub(windowCentre(), b);
  const float positionRatio = onEnemy ? 1.0f / kEnemyPositionFactor : kEnemyPositionFactor;
  const float scaleRatio = onEnemy ? 1.0f / kEnemyScaleFactor : kEnemyScaleFactor;

  GLubyte otherOpacity = 255;
  if (onEnemy && !setting("always_show_our_tower", false)) otherOpacity = fadeFor(scale);
  struct Move {
    CCNode* node;
    CCPoint by;
    float scale;
    GLubyte opacity;
  };
  for (const Move& m : {Move{layer, offset, scale, 255},
                        Move{other, ccpMult(offset, positionRatio), scale * scaleRatio, otherOpacity}}) {
    m.node->stopActionByTag(kFocusActionTag);
    CCArray* parts = CCArray::create();
    parts->addObject(CCMoveBy::create(kFocusSeconds, m.by));
    parts->addObject(CCScaleTo::create(kFocusSeconds, m.scale));
    parts->addObject(CCFadeTo::create(kFocusSeconds, m.opacity));
    CCAction* action = CCSpawn::createWithArray(parts);
    action->setTag(kFocusActionTag);
    m.node->runAction(action);
  }
}

void GameController::focusElement(BoardElem* elem, float scale) {
  if (!elem) return;
  const CCPoint point = ccpAdd(elemToLayerPoint(elem), ccp(kHalfCell, kHalfCell));
  focusView(getPlayerLayer(elem->owner()), point, scale);
}

void GameController::focusOurTower() {
  if (!localPlayer() || !ourlayer) return;
  focusView(ourlayer, ourTowerPoint(), 1.0f);
}

void GameController::zoomToTargets(const std::vector<BoardElem*>& elems) {
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

void GameController::fadeGroundWithOurLayer() {
  if (!ourlayer) return;
  const GLubyte o = ourlayer->getOpacity();
  if (o == groundOpacity_) return;
  groundOpacity_ = o;
  for (CCNode* part : {ourground, static_cast<CCNode*>(water)})
    mv::forEachNodeDeep(part, [o](CCNode* n) {
      if (CCSprite* sprite = dynamic_cast<CCSprite*>(n)) sprite->setOpacity(o);
    });
}

// ---- The enemy tower's label -------------------------------------------------------------------

void GameController::updateEnemyTowerLabel() {
  GameSession& game = hub_->game();
  Player* enemy = game.enemyPlayer();
  if (!enemyTowerLabel || !game.started() || !enemy || !enemy->board() ||
      enemy->state() == PlayerState::Invalid)
    return;
  Board* board = enemy->board();
  BoardElem* top = board->findTopBlock();
  if (!top) top = board->cellAt(Board::getBoardCenter(), Board::getBoardCenter());
  enemyTowerLabel->setPosition(ccpAdd(elemToLayerPoint(top), ccp(kHalfCell, 2 * kCell)));
  enemyTowerLabel->setString(enemyTowerLabelText.c_str());
  enemyTowerLabel->setAnchorPoint(ccp(0.5f, 0.5f));
}
