#pragma once

#include "CCAffineTransform.h"
#include "CCArray.h"
#include "CCGeometry.h"
#include "CCObject.h"
#include "ccTypes.h"

NS_CC_BEGIN

class CCAction;
class CCActionManager;
class CCScheduler;
class CCTouch;

enum { kCCNodeTagInvalid = -1 };

// How visit() reaches the render side's matrix stack. The render side installs these
// once; without them visiting only walks the tree (used by headless tests).
struct CCNodeVisitHooks {
  void (*pushMatrix)();
  void (*popMatrix)();
  // Multiplies the current model-view matrix by a node's transform relative to its parent.
  void (*applyTransform)(const CCAffineTransform& t, float vertexZ);
};

// The base of everything drawn: a tree of nodes, each with a transform relative to its
// parent, its actions and its scheduled selectors. Children are kept sorted by z order,
// then by the order in which they were added or reordered.
class CCNode : public CCObject {
 public:
  CCNode();
  virtual ~CCNode();

  static CCNode* create();
  virtual bool init();

  static void setVisitHooks(const CCNodeVisitHooks& hooks);
  static const CCNodeVisitHooks& visitHooks();

  // ---- geometry ----
  virtual void setZOrder(int nZOrder);
  virtual void _setZOrder(int z) { m_nZOrder = z; }
  virtual int getZOrder() { return m_nZOrder; }
  virtual void setVertexZ(float vertexZ) { m_fVertexZ = vertexZ; }
  virtual float getVertexZ() { return m_fVertexZ; }
  virtual void setScaleX(float fScaleX);
  virtual float getScaleX() { return m_fScaleX; }
  virtual void setScaleY(float fScaleY);
  virtual float getScaleY() { return m_fScaleY; }
  virtual void setScale(float scale);
  // The x scale; meaningful when both are the same.
  virtual float getScale();
  virtual void setPosition(const CCPoint& position);
  void setPosition(float x, float y) { setPosition(CCPoint(x, y)); }
  virtual const CCPoint& getPosition() { return m_tPosition; }
  void setPositionX(float x) { setPosition(CCPoint(x, m_tPosition.y)); }
  void setPositionY(float y) { setPosition(CCPoint(m_tPosition.x, y)); }
  float getPositionX() { return m_tPosition.x; }
  float getPositionY() { return m_tPosition.y; }
  virtual void setSkewX(float fSkewX);
  virtual float getSkewX() { return m_fSkewX; }
  virtual void setSkewY(float fSkewY);
  virtual float getSkewY() { return m_fSkewY; }
  virtual void setAnchorPoint(const CCPoint& anchorPoint);
  virtual const CCPoint& getAnchorPoint() { return m_tAnchorPoint; }
  virtual const CCPoint& getAnchorPointInPoints() { return m_tAnchorPointInPoints; }
  virtual void setContentSize(const CCSize& contentSize);
  virtual const CCSize& getContentSize() { return m_tContentSize; }
  virtual void setVisible(bool visible) { m_bVisible = visible; }
  virtual bool isVisible() { return m_bVisible; }
  // True when this node and all its ancestors are visible.
  bool isVisibleInHierarchy();
  virtual void setRotation(float fRotation);
  virtual float getRotation() { return m_fRotation; }
  virtual void ignoreAnchorPointForPosition(bool ignore);
  virtual bool isIgnoreAnchorPointForPosition() { return m_bIgnoreAnchorPointForPosition; }

  // ---- tree ----
  virtual void addChild(CCNode* child);
  virtual void addChild(CCNode* child, int zOrder);
  virtual void addChild(CCNode* child, int zOrder, int tag);
  CCNode* getChildByTag(int tag);
  virtual CCArray* getChildren() { return m_pChildren; }
  unsigned int getChildrenCount();
  virtual void setParent(CCNode* parent) { m_pParent = parent; }
  virtual CCNode* getParent() { return m_pParent; }
  virtual void removeFromParent();
  virtual void removeFromParentAndCleanup(bool cleanup);
  virtual void removeChild(CCNode* child);
  virtual void removeChild(CCNode* child, bool cleanup);
  virtual void removeChildByTag(int tag);
  virtual void removeChildByTag(int tag, bool cleanup);
  virtual void removeAllChildren();
  virtual void removeAllChildrenWithCleanup(bool cleanup);
  virtual void reorderChild(CCNode* child, int zOrder);
  virtual void sortAllChildren();

  virtual int getTag() const { return m_nTag; }
  virtual void setTag(int nTag) { m_nTag = nTag; }
  virtual void* getUserData() { return m_pUserData; }
  virtual void setUserData(void* pUserData) { m_pUserData = pUserData; }
  virtual CCObject* getUserObject() { return m_pUserObject; }
  // Retained.
  virtual void setUserObject(CCObject* pUserObject);
  unsigned int getOrderOfArrival() const { return m_uOrderOfArrival; }
  void setOrderOfArrival(unsigned int uOrderOfArrival) { m_uOrderOfArrival = uOrderOfArrival; }

  // ---- life cycle ----
  virtual bool isRunning() { return m_bRunning; }
  virtual void onEnter();
  virtual void onEnterTransitionDidFinish();
  virtual void onExit();
  virtual void onExitTransitionDidStart();
  // Stops actions and scheduled selectors of this node and all its children.
  virtual void cleanup();

  // ---- drawing: the render side fills these in ----
  virtual void draw() {}
  virtual void visit();
  // Applies this node's transform through the visit hooks.
  virtual void transform();

  virtual CCRect boundingBox();

  // ---- actions ----
  virtual void setActionManager(CCActionManager* actionManager);
  virtual CCActionManager* getActionManager() { return m_pActionManager; }
  CCAction* runAction(CCAction* action);
  void stopAllActions();
  void stopAction(CCAction* action);
  void stopActionByTag(int tag);
  CCAction* getActionByTag(int tag);
  unsigned int numberOfRunningActions();

  // ---- scheduling ----
  virtual void setScheduler(CCScheduler* scheduler);
  virtual CCScheduler* getScheduler() { return m_pScheduler; }
  bool isScheduled(SEL_SCHEDULE selector);
  void scheduleUpdate();
  void scheduleUpdateWithPriority(int priority);
  void unscheduleUpdate();
  void schedule(SEL_SCHEDULE selector);
  void schedule(SEL_SCHEDULE selector, float interval);
  void schedule(SEL_SCHEDULE selector, float interval, unsigned int repeat, float delay);
  void scheduleOnce(SEL_SCHEDULE selector, float delay);
  void unschedule(SEL_SCHEDULE selector);
  void unscheduleAllSelectors();
  void resumeSchedulerAndActions();
  void pauseSchedulerAndActions();

  // ---- transforms ----
  virtual CCAffineTransform nodeToParentTransform();
  virtual CCAffineTransform parentToNodeTransform();
  virtual CCAffineTransform nodeToWorldTransform();
  virtual CCAffineTransform worldToNodeTransform();
  CCPoint convertToNodeSpace(const CCPoint& worldPoint);
  CCPoint convertToWorldSpace(const CCPoint& nodePoint);
  CCPoint convertToNodeSpaceAR(const CCPoint& worldPoint);
  CCPoint convertToWorldSpaceAR(const CCPoint& nodePoint);
  // The touch's location (GL coordinates) in this node's space.
  CCPoint convertTouchToNodeSpace(CCTouch* touch);
  CCPoint convertTouchToNodeSpaceAR(CCTouch* touch);

  // Called by CCLayer::setOpacity on each direct child that does not keep its own
  // opacity: nodes with colour take the opacity; particle systems refine this.
  virtual void applyLayerOpacity(GLubyte opacity);
  // A node that keeps its own opacity is passed over when its parent layer fades (a
  // translucent overlay stays as translucent as it was made). Off by default.
  void setKeepsOwnOpacity(bool keeps) { m_bKeepsOwnOpacity = keeps; }
  bool keepsOwnOpacity() const { return m_bKeepsOwnOpacity; }

 protected:
  void childrenAlloc();
  void insertChild(CCNode* child, int z);
  void detachChild(CCNode* child, bool doCleanup);
  void markTransformDirty() { m_bTransformDirty = m_bInverseDirty = true; }

  int m_nZOrder;
  float m_fVertexZ;
  float m_fRotation;
  float m_fScaleX;
  float m_fScaleY;
  CCPoint m_tPosition;
  float m_fSkewX;
  float m_fSkewY;
  CCPoint m_tAnchorPointInPoints;
  CCPoint m_tAnchorPoint;
  CCSize m_tContentSize;
  CCAffineTransform m_sTransform;
  CCAffineTransform m_sInverse;
  bool m_bTransformDirty;
  bool m_bInverseDirty;
  bool m_bVisible;
  bool m_bIgnoreAnchorPointForPosition;
  bool m_bReorderChildDirty;
  bool m_bRunning;
  bool m_bKeepsOwnOpacity = false;
  CCArray* m_pChildren;
  CCNode* m_pParent;
  int m_nTag;
  void* m_pUserData;
  CCObject* m_pUserObject;
  unsigned int m_uOrderOfArrival;
  CCScheduler* m_pScheduler;
  CCActionManager* m_pActionManager;
};

NS_CC_END
