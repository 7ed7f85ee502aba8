#include "CCKeypadDispatcher.h"

#include <algorithm>

NS_CC_BEGIN

static CCKeypadDispatcher* s_sharedKeypad = 0;

CCKeypadDispatcher* CCKeypadDispatcher::sharedDispatcher() {
  if (!s_sharedKeypad) s_sharedKeypad = new CCKeypadDispatcher();
  return s_sharedKeypad;
}

void CCKeypadDispatcher::setSharedDispatcher(CCKeypadDispatcher* pDispatcher) {
  ccSetRetained(s_sharedKeypad, pDispatcher);
}

bool CCKeypadDispatcher::hasDelegate(CCKeypadDelegate* pDelegate) const {
  return std::find(m_delegates.begin(), m_delegates.end(), pDelegate) != m_delegates.end();
}

void CCKeypadDispatcher::addDelegate(CCKeypadDelegate* pDelegate) {
  if (!pDelegate) return;
  if (m_bLocked) {
    m_toRemove.erase(std::remove(m_toRemove.begin(), m_toRemove.end(), pDelegate), m_toRemove.end());
    m_toAdd.push_back(pDelegate);
    return;
  }
  if (!hasDelegate(pDelegate)) m_delegates.push_back(pDelegate);
}

void CCKeypadDispatcher::removeDelegate(CCKeypadDelegate* pDelegate) {
  if (!pDelegate) return;
  if (m_bLocked) {
    m_toAdd.erase(std::remove(m_toAdd.begin(), m_toAdd.end(), pDelegate), m_toAdd.end());
    m_toRemove.push_back(pDelegate);
    return;
  }
  m_delegates.erase(std::remove(m_delegates.begin(), m_delegates.end(), pDelegate), m_delegates.end());
}

bool CCKeypadDispatcher::dispatchKeypadMSG(ccKeypadMSGType nMsgType) {
  m_bLocked = true;
  std::vector<CCKeypadDelegate*> delegates = m_delegates;
  for (CCKeypadDelegate* d : delegates) {
    if (nMsgType == kTypeBackClicked) d->keyBackClicked();
    else if (nMsgType == kTypeMenuClicked) d->keyMenuClicked();
  }
  m_bLocked = false;
  std::vector<CCKeypadDelegate*> rem, add;
  rem.swap(m_toRemove);
  add.swap(m_toAdd);
  for (CCKeypadDelegate* d : rem) removeDelegate(d);
  for (CCKeypadDelegate* d : add) addDelegate(d);
  return true;
}

NS_CC_END
