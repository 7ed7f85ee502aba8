#pragma once

#include <vector>

#include "CCObject.h"

NS_CC_BEGIN

// The back and menu keys of devices that have them.
class CCKeypadDelegate {
 public:
  virtual ~CCKeypadDelegate() {}
  virtual void keyBackClicked() {}
  virtual void keyMenuClicked() {}
};

typedef enum { kTypeBackClicked = 1, kTypeMenuClicked } ccKeypadMSGType;

class CCKeypadDispatcher : public CCObject {
 public:
  CCKeypadDispatcher() : m_bLocked(false) {}
  static CCKeypadDispatcher* sharedDispatcher();
  static void setSharedDispatcher(CCKeypadDispatcher* pDispatcher);

  void addDelegate(CCKeypadDelegate* pDelegate);
  void removeDelegate(CCKeypadDelegate* pDelegate);
  bool dispatchKeypadMSG(ccKeypadMSGType nMsgType);
  bool hasDelegate(CCKeypadDelegate* pDelegate) const;

 private:
  bool m_bLocked;
  std::vector<CCKeypadDelegate*> m_delegates;
  std::vector<CCKeypadDelegate*> m_toAdd;
  std::vector<CCKeypadDelegate*> m_toRemove;
};

NS_CC_END
