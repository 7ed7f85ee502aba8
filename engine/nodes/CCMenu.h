#pragma once

#include "CCLayer.h"

NS_CC_BEGIN

class CCMenuItem;

enum {
  // Menus see touches before ordinary layers.
  kCCMenuHandlerPriority = -128,
};

typedef enum {
  kCCMenuStateWaiting,
  kCCMenuStateTrackingTouch,
} tCCMenuState;

// A layer of menu items: a press on an item selects it, moving follows the finger from item to
// item, and the release fires the item under it. Touches and the left mouse button both work.
class CCMenu : public CCLayer {
 public:
  CCMenu() {}
  virtual ~CCMenu() {}
  static CCMenu* create();
  static CCMenu* createWithArray(CCArray* pArrayOfItems);
  static CCMenu* createWithItem(CCMenuItem* item);
  virtual bool init();
  bool initWithArray(CCArray* pArrayOfItems);

  void alignItemsVertically();
  void alignItemsVerticallyWithPadding(float padding);
  void alignItemsHorizontally();
  void alignItemsHorizontallyWithPadding(float padding);

  virtual void registerWithTouchDispatcher();
  virtual bool ccTouchBegan(CCTouch* touch, CCEvent* event);
  virtual bool ccTouchMoved(CCTouch* touch, CCEvent* event);
  virtual void ccTouchEnded(CCTouch* touch, CCEvent* event);
  virtual void ccTouchCancelled(CCTouch* touch, CCEvent* event);
  virtual void onExit();

  virtual bool isEnabled() { return m_bEnabled; }
  virtual void setEnabled(bool value) { m_bEnabled = value; }
  CCMenuItem* getSelectedItem() { return m_pSelectedItem; }
  tCCMenuState getState() const { return m_eState; }

 protected:
  // The enabled, visible item under a touch, or null.
  CCMenuItem* itemForTouch(CCTouch* touch);

  bool m_bEnabled = true;
  tCCMenuState m_eState = kCCMenuStateWaiting;
  CCMenuItem* m_pSelectedItem = nullptr;
};

NS_CC_END
