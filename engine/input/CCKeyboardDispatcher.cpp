#include "CCKeyboardDispatcher.h"

#include <algorithm>

NS_CC_BEGIN

CCKeyboardHandler::~CCKeyboardHandler() {
  if (CCObject* o = dynamic_cast<CCObject*>(m_pDelegate)) o->release();
}

CCKeyboardHandler* CCKeyboardHandler::create(CCKeyboardDelegate* pDelegate) {
  CCKeyboardHandler* h = new CCKeyboardHandler();
  if (h->initWithDelegate(pDelegate)) {
    h->autorelease();
    return h;
  }
  delete h;
  return 0;
}

bool CCKeyboardHandler::initWithDelegate(CCKeyboardDelegate* pDelegate) {
  if (!pDelegate) return false;
  if (CCObject* o = dynamic_cast<CCObject*>(pDelegate)) o->retain();
  m_pDelegate = pDelegate;
  return true;
}

static CCKeyboardDispatcher* s_sharedKeyboardDispatcher = 0;

CCKeyboardDispatcher* CCKeyboardDispatcher::sharedDispatcher() {
  if (!s_sharedKeyboardDispatcher) s_sharedKeyboardDispatcher = new CCKeyboardDispatcher();
  return s_sharedKeyboardDispatcher;
}

void CCKeyboardDispatcher::setSharedDispatcher(CCKeyboardDispatcher* pDispatcher) {
  // Retain first: safe when both are the same.
  CC_SAFE_RETAIN(pDispatcher);
  CC_SAFE_RELEASE(s_sharedKeyboardDispatcher);
  s_sharedKeyboardDispatcher = pDispatcher;
}

CCKeyboardDispatcher::CCKeyboardDispatcher()
    : m_pHandlers(new CCArray(8)), m_bLocked(false), m_bToAdd(false), m_bToRemove(false), m_nModifiers(0) {
  m_delegatesToAdd.reserve(8);
  m_delegatesToRemove.reserve(8);
}

CCKeyboardDispatcher::~CCKeyboardDispatcher() { CC_SAFE_RELEASE(m_pHandlers); }

bool CCKeyboardDispatcher::hasHandler(CCKeyboardDelegate* pDelegate) {
  CCObject* o = 0;
  CCARRAY_FOREACH(m_pHandlers, o) {
    if (static_cast<CCKeyboardHandler*>(o)->getDelegate() == pDelegate) return true;
  }
  return false;
}

void CCKeyboardDispatcher::addDelegate(CCKeyboardDelegate* pDelegate) {
  if (!pDelegate || hasHandler(pDelegate)) return;
  if (m_bLocked) {
    if (std::find(m_delegatesToAdd.begin(), m_delegatesToAdd.end(), pDelegate) == m_delegatesToAdd.end()) {
      m_delegatesToAdd.push_back(pDelegate);
    }
    m_bToAdd = true;
    return;
  }
  if (CCKeyboardHandler* h = CCKeyboardHandler::create(pDelegate)) m_pHandlers->addObject(h);
}

void CCKeyboardDispatcher::forceRemoveDelegate(CCKeyboardDelegate* pDelegate) {
  for (unsigned int i = 0; i < m_pHandlers->count(); ++i) {
    if (static_cast<CCKeyboardHandler*>(m_pHandlers->objectAtIndex(i))->getDelegate() == pDelegate) {
      m_pHandlers->removeObjectAtIndex(i);
      return;
    }
  }
}

void CCKeyboardDispatcher::removeDelegate(CCKeyboardDelegate* pDelegate) {
  if (!pDelegate) return;
  auto it = std::find(m_delegatesToAdd.begin(), m_delegatesToAdd.end(), pDelegate);
  if (it != m_delegatesToAdd.end()) m_delegatesToAdd.erase(it);
  if (!m_bLocked) {
    forceRemoveDelegate(pDelegate);
    return;
  }
  m_delegatesToRemove.push_back(pDelegate);
  m_bToRemove = true;
}

bool CCKeyboardDispatcher::dispatchKeyboardMSG(int kind, CCKeyboardEvent* event) {
  if (!event) return true;
  if (kind == kCCKeyboardModifiersChanged) {
    m_nModifiers = event->modifiers;
    return true;
  }
  if (kind != kCCKeyboardKeyDown && kind != kCCKeyboardKeyUp) return true;
  bool outer = !m_bLocked;
  m_bLocked = true;
  CCArray* handlers = CCArray::createWithArray(m_pHandlers);
  CCObject* o = 0;
  CCARRAY_FOREACH(handlers, o) {
    CCKeyboardDelegate* d = static_cast<CCKeyboardHandler*>(o)->getDelegate();
    if (kind == kCCKeyboardKeyDown) d->keyDown(event, 0);
    else d->keyUp(event, 0);
  }
  if (!outer) return true;
  m_bLocked = false;
  if (m_bToRemove) {
    m_bToRemove = false;
    std::vector<CCKeyboardDelegate*> pending;
    pending.swap(m_delegatesToRemove);
    for (CCKeyboardDelegate* d : pending) removeDelegate(d);
  }
  if (m_bToAdd) {
    m_bToAdd = false;
    std::vector<CCKeyboardDelegate*> pending;
    pending.swap(m_delegatesToAdd);
    for (CCKeyboardDelegate* d : pending) addDelegate(d);
  }
  return true;
}

void CCKeyboardDispatcher::keyDown(CCKeyboardEvent* event, CCEvent* pEvent) {
  CC_UNUSED_PARAM(pEvent);
  dispatchKeyboardMSG(kCCKeyboardKeyDown, event);
}

void CCKeyboardDispatcher::keyUp(CCKeyboardEvent* event, CCEvent* pEvent) {
  CC_UNUSED_PARAM(pEvent);
  dispatchKeyboardMSG(kCCKeyboardKeyUp, event);
}

void CCKeyboardDispatcher::modifiersChanged(CCKeyboardEvent* event, CCEvent* pEvent) {
  CC_UNUSED_PARAM(pEvent);
  dispatchKeyboardMSG(kCCKeyboardModifiersChanged, event);
}

NS_CC_END
