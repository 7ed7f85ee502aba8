#pragma once

#include "CCLayer.h"
#include "CCTouchClipper.h"

namespace cocos2d {
class CCArray;
namespace extension {

typedef enum {
  kCCScrollViewDirectionNone = -1,
  kCCScrollViewDirectionHorizontal = 0,
  kCCScrollViewDirectionVertical,
  kCCScrollViewDirectionBoth,
} CCScrollViewDirection;

class CCScrollView;

class CCScrollViewDelegate {
 public:
  virtual ~CCScrollViewDelegate() {}
  virtual void scrollViewDidScroll(CCScrollView* view) = 0;
  virtual void scrollViewDidZoom(CCScrollView* view) = 0;
};

// A clipped window onto a container that is dragged by touch and scrolled by the mouse
// wheel. It sees touches before the buttons inside it without swallowing them, and swallows a
// touch only once it drags, so a tap reaches the button under it and a drag scrolls. Children
// of the container outside the view are hidden (they take no touches then); while it clips,
// the parts of its children outside the view take no touches either.
class CCScrollView : public CCLayer, public CCTouchClipper {
 public:
  CCScrollView();
  virtual ~CCScrollView();
  static CCScrollView* create();
  static CCScrollView* create(CCSize size, CCNode* container = nullptr);
  virtual bool init();
  bool initWithViewSize(CCSize size, CCNode* container = nullptr);

  void setContentOffset(CCPoint offset, bool animated = false);
  CCPoint getContentOffset();
  void setContentOffsetInDuration(CCPoint offset, float dt);
  CCPoint maxContainerOffset();
  CCPoint minContainerOffset();
  void updateInset();
  void updateChildVisibility();
  bool isNodeVisible(CCNode* node);

  CCNode* getContainer() { return m_pContainer; }
  void setContainer(CCNode* pContainer);
  CCSize getViewSize() const { return m_tViewSize; }
  void setViewSize(CCSize size);
  // The container's size (the scroll view's own node size is the view size).
  virtual const CCSize& getContentSize();
  virtual void setContentSize(const CCSize& size);

  CCScrollViewDirection getDirection() const { return m_eDirection; }
  void setDirection(CCScrollViewDirection eDirection) { m_eDirection = eDirection; }
  bool isBounceable() const { return m_bBounceable; }
  void setBounceable(bool bBounceable) { m_bBounceable = bBounceable; }
  bool isClippingToBounds() const { return m_bClippingToBounds; }
  void setClippingToBounds(bool bClippingToBounds) { m_bClippingToBounds = bClippingToBounds; }
  bool isDragging() const { return m_bDragging; }
  bool isTouchMoved() const { return m_bTouchMoved; }
  void setDelegate(CCScrollViewDelegate* pDelegate) { m_pDelegate = pDelegate; }
  CCScrollViewDelegate* getDelegate() { return m_pDelegate; }
  // The container's scale, kept within the minimum and maximum scale (both 1 unless set).
  // The point under the zoom centre stays put: the middle of a two-touch zoom, else the
  // middle of the view.
  void setZoomScale(float s);
  float getZoomScale();
  void setMinScale(float s) { m_fMinScale = s; }
  float getMinScale() const { return m_fMinScale; }
  void setMaxScale(float s) { m_fMaxScale = s; }
  float getMaxScale() const { return m_fMaxScale; }

  virtual void registerWithTouchDispatcher();
  virtual bool ccTouchBegan(CCTouch* pTouch, CCEvent* pEvent);
  virtual bool ccTouchMoved(CCTouch* pTouch, CCEvent* pEvent);
  virtual void ccTouchEnded(CCTouch* pTouch, CCEvent* pEvent);
  virtual void ccTouchCancelled(CCTouch* pTouch, CCEvent* pEvent);
  // Cancels every targeted touch delegate's touches (ends presses dragged over).
  void releaseTouches(float dt);

  virtual bool mouseLeftDown(CCMouseEvent* event, CCEvent* pEvent);
  virtual bool mouseMoved(CCMouseEvent* event, CCEvent* pEvent);
  virtual bool mouseScrolled(CCMouseEvent* event, CCEvent* pEvent);
  // The wheel: claimed when the cursor is over the view.
  bool scrollWheel(CCMouseEvent* event);
  const CCPoint& getCursorPosition() const { return m_tCursorPosition; }

  virtual void visit();
  virtual void addChild(CCNode* child, int zOrder, int tag);
  virtual void addChild(CCNode* child, int zOrder);
  virtual void addChild(CCNode* child);

 protected:
  // The view's frame in world space.
  CCRect getViewRect();
  bool hidesTouchAt(const CCPoint& worldPoint) override;
  void relocateContainer(bool animated);
  void deaccelerateScrolling(float dt);
  void performedAnimatedScroll(float dt);
  void stoppedAnimatedScroll(CCNode* node);
  // Two touches that do not drag: the scale follows the distance between them.
  void zoomByTouches(CCTouch* moved);

  CCNode* m_pContainer = nullptr;
  CCSize m_tViewSize;
  CCScrollViewDirection m_eDirection = kCCScrollViewDirectionBoth;
  bool m_bBounceable = true;
  bool m_bClippingToBounds = true;
  bool m_bDragging = false;
  bool m_bTouchMoved = false;
  CCPoint m_tTouchPoint;
  CCPoint m_tScrollDistance;
  // The distance between the two touches of a zoom when it began, in container units (0:
  // no zoom under way); m_tTouchPoint is then their middle, in the view's units.
  float m_fTouchLength = 0;
  float m_fMinScale = 1.0f;
  float m_fMaxScale = 1.0f;
  CCArray* m_pTouches = nullptr;
  CCPoint m_fMinInset, m_fMaxInset;
  CCScrollViewDelegate* m_pDelegate = nullptr;
  CCPoint m_tCursorPosition;
};

}  // namespace extension
}  // namespace cocos2d
