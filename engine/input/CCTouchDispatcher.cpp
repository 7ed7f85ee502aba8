#include "CCTouchDispatcher.h"

#include <algorithm>

#include "CCSet.h"
#include "CCTouch.h"
#include "CCTouchHandler.h"

NS_CC_BEGIN

static CCTouchDispatcher* s_sharedTouchDispatcher = 0;

CCTouchDispatcher* CCTouchDispatcher::sharedDispatcher() {
  if (!s_sharedTouchDispatcher) {
    s_sharedTouchDispatcher = new CCTouchDispatcher();
    s_sharedTouchDispatcher->init();
  }
  return s_sharedTouchDispatcher;
}

void CCTouchDispatcher::setSharedDispatcher(CCTouchDispatcher* pDispatcher) {
  if (pDispatcher == s_sharedTouchDispatcher) return;
  CC_SAFE_RETAIN(pDispatcher);
  CC_SAFE_RELEASE(s_sharedTouchDispatcher);
  s_sharedTouchDispatcher = pDispatcher;
}

CCTouchDispatcher::CCTouchDispatcher()
    : m_pTargetedHandlers(0), m_pStandardHandlers(0), m_bLocked(false), m_bToAdd(false),
      m_bToRemove(false), m_bToQuit(false), m_bDispatchEvents(false), m_pHandlersToAdd(0) {}

CCTouchDispatcher::~CCTouchDispatcher() {
  CC_SAFE_RELEASE(m_pTargetedHandlers);
  CC_SAFE_RELEASE(m_pStandardHandlers);
  CC_SAFE_RELEASE(m_pHandlersToAdd);
}

bool CCTouchDispatcher::init() {
  m_bDispatchEvents = true;
  if (!m_pTargetedHandlers) m_pTargetedHandlers = new CCArray(8);
  if (!m_pStandardHandlers) m_pStandardHandlers = new CCArray(4);
  if (!m_pHandlersToAdd) m_pHandlersToAdd = new CCArray(8);
  m_handlersToRemove.reserve(8);
  return true;
}

void CCTouchDispatcher::forceAddHandler(CCTouchHandler* pHandler, CCArray* pArray) {
  unsigned int u = 0;
  CCObject* o = 0;
  CCARRAY_FOREACH(pArray, o) {
    CCTouchHandler* h = static_cast<CCTouchHandler*>(o);
    if (h->getPriority() < pHandler->getPriority()) ++u;
    if (h->getDelegate() == pHandler->getDelegate()) return;  // already registered
  }
  pArray->insertObject(pHandler, u);
}

void CCTouchDispatcher::addStandardDelegate(CCTouchDelegate* pDelegate, int nPriority) {
  CCTouchHandler* h = CCStandardTouchHandler::handlerWithDelegate(pDelegate, nPriority);
  if (!h) return;
  if (!m_bLocked) {
    forceAddHandler(h, m_pStandardHandlers);
    return;
  }
  auto it = std::find(m_handlersToRemove.begin(), m_handlersToRemove.end(), pDelegate);
  if (it != m_handlersToRemove.end()) {
    m_handlersToRemove.erase(it);
    return;
  }
  m_pHandlersToAdd->addObject(h);
  m_bToAdd = true;
}

void CCTouchDispatcher::addTargetedDelegate(CCTouchDelegate* pDelegate, int nPriority, bool bSwallowsTouches) {
  CCTouchHandler* h = CCTargetedTouchHandler::handlerWithDelegate(pDelegate, nPriority, bSwallowsTouches);
  if (!h) return;
  if (!m_bLocked) {
    forceAddHandler(h, m_pTargetedHandlers);
    return;
  }
  auto it = std::find(m_handlersToRemove.begin(), m_handlersToRemove.end(), pDelegate);
  if (it != m_handlersToRemove.end()) {
    m_handlersToRemove.erase(it);
    return;
  }
  m_pHandlersToAdd->addObject(h);
  m_bToAdd = true;
}

void CCTouchDispatcher::forceRemoveDelegate(CCTouchDelegate* pDelegate) {
  for (CCArray* arr : {m_pStandardHandlers, m_pTargetedHandlers}) {
    for (unsigned int i = 0; i < arr->count(); ++i) {
      CCTouchHandler* h = static_cast<CCTouchHandler*>(arr->objectAtIndex(i));
      if (h->getDelegate() == pDelegate) {
        arr->removeObjectAtIndex(i);
        break;
      }
    }
  }
}

void CCTouchDispatcher::removeDelegate(CCTouchDelegate* pDelegate) {
  if (!pDelegate) return;
  if (!m_bLocked) {
    forceRemoveDelegate(pDelegate);
    return;
  }
  // Added during this walk: forget the addition.
  for (unsigned int i = 0; i < m_pHandlersToAdd->count(); ++i) {
    CCTouchHandler* h = static_cast<CCTouchHandler*>(m_pHandlersToAdd->objectAtIndex(i));
    if (h->getDelegate() == pDelegate) {
      m_pHandlersToAdd->removeObjectAtIndex(i);
      return;
    }
  }
  m_handlersToRemove.push_back(pDelegate);
  m_bToRemove = true;
}

void CCTouchDispatcher::forceRemoveAllDelegates() {
  m_pStandardHandlers->removeAllObjects();
  m_pTargetedHandlers->removeAllObjects();
}

void CCTouchDispatcher::removeAllDelegates() {
  if (!m_bLocked) forceRemoveAllDelegates();
  else m_bToQuit = true;
}

CCTouchHandler* CCTouchDispatcher::findHandler(CCTouchDelegate* pDelegate) {
  for (CCArray* arr : {m_pTargetedHandlers, m_pStandardHandlers}) {
    CCObject* o = 0;
    CCARRAY_FOREACH(arr, o) {
      CCTouchHandler* h = static_cast<CCTouchHandler*>(o);
      if (h->getDelegate() == pDelegate) return h;
    }
  }
  return 0;
}

static bool lessPriority(CCObject* a, CCObject* b) {
  return static_cast<CCTouchHandler*>(a)->getPriority() < static_cast<CCTouchHandler*>(b)->getPriority();
}

void CCTouchDispatcher::rearrangeHandlers(CCArray* pArray) { pArray->sortWith(lessPriority); }

void CCTouchDispatcher::setPriority(int nPriority, CCTouchDelegate* pDelegate) {
  CCTouchHandler* h = findHandler(pDelegate);
  if (!h) return;
  if (h->getPriority() != nPriority) {
    h->setPriority(nPriority);
    rearrangeHandlers(m_pTargetedHandlers);
    rearrangeHandlers(m_pStandardHandlers);
  }
}

void CCTouchDispatcher::endWalk() {
  m_bLocked = false;
  if (m_bToRemove) {
    m_bToRemove = false;
    std::vector<CCTouchDelegate*> pending;
    pending.swap(m_handlersToRemove);
    for (CCTouchDelegate* d : pending) forceRemoveDelegate(d);
  }
  if (m_bToAdd) {
    m_bToAdd = false;
    CCArray* pending = m_pHandlersToAdd;
    m_pHandlersToAdd = new CCArray(8);
    CCObject* o = 0;
    CCARRAY_FOREACH(pending, o) {
      CCTouchHandler* h = static_cast<CCTouchHandler*>(o);
      if (dynamic_cast<CCTargetedTouchHandler*>(h)) forceAddHandler(h, m_pTargetedHandlers);
      else forceAddHandler(h, m_pStandardHandlers);
    }
    pending->release();
  }
  if (m_bToQuit) {
    m_bToQuit = false;
    forceRemoveAllDelegates();
  }
}

void CCTouchDispatcher::touches(CCSet* pTouches, int activeTouches, CCEvent* pEvent, unsigned int uIndex) {
  if (!pTouches || uIndex >= ccTouchMax) return;
  m_bLocked = true;
  // Handlers live through the walk even when a delegate removes one.
  CCArray* targeted = CCArray::createWithArray(m_pTargetedHandlers);
  CCArray* standard = CCArray::createWithArray(m_pStandardHandlers);
  CCSet* remaining = pTouches->mutableCopy();

  if (targeted->count() > 0) {
    std::vector<CCObject*> touchList(pTouches->begin(), pTouches->end());
    for (CCObject* to : touchList) {
      CCTouch* touch = static_cast<CCTouch*>(to);
      CCObject* o = 0;
      CCARRAY_FOREACH(targeted, o) {
        CCTargetedTouchHandler* h = static_cast<CCTargetedTouchHandler*>(o);
        CCTouchDelegate* d = h->getDelegate();
        bool claimed = false;
        if (uIndex == CCTOUCHBEGAN) {
          claimed = d->ccTouchBegan(touch, pEvent);
          if (claimed) h->getClaimedTouches()->addObject(touch);
        } else if (h->getClaimedTouches()->containsObject(touch)) {
          claimed = true;
          switch (uIndex) {
            case CCTOUCHMOVED:
              if (d->ccTouchMoved(touch, pEvent)) h->setSwallowsTouches(true);
              break;
            case CCTOUCHENDED:
              d->ccTouchEnded(touch, pEvent);
              h->getClaimedTouches()->removeObject(touch);
              break;
            case CCTOUCHCANCELLED:
              d->ccTouchCancelled(touch, pEvent);
              h->getClaimedTouches()->removeObject(touch);
              break;
          }
        }
        if (claimed && h->isSwallowsTouches()) {
          remaining->removeObject(touch);
          break;
        }
      }
    }
  }

  if (standard->count() > 0 && remaining->count() > 0) {
    CCObject* o = 0;
    CCARRAY_FOREACH(standard, o) {
      CCTouchDelegate* d = static_cast<CCTouchHandler*>(o)->getDelegate();
      switch (uIndex) {
        case CCTOUCHBEGAN:
          d->ccTouchesBegan(remaining, activeTouches, pEvent);
          break;
        case CCTOUCHMOVED:
          d->ccTouchesMoved(remaining, activeTouches, pEvent);
          break;
        case CCTOUCHENDED:
          d->ccTouchesEnded(remaining, activeTouches, pEvent);
          break;
        case CCTOUCHCANCELLED:
          d->ccTouchesCancelled(remaining, activeTouches, pEvent);
          break;
      }
    }
  }
  remaining->release();
  endWalk();
}

void CCTouchDispatcher::touchesBegan(CCSet* touches, int activeTouches, CCEvent* pEvent) {
  if (m_bDispatchEvents) this->touches(touches, activeTouches, pEvent, CCTOUCHBEGAN);
}

void CCTouchDispatcher::touchesMoved(CCSet* touches, int activeTouches, CCEvent* pEvent) {
  if (m_bDispatchEvents) this->touches(touches, activeTouches, pEvent, CCTOUCHMOVED);
}

void CCTouchDispatcher::touchesEnded(CCSet* touches, int activeTouches, CCEvent* pEvent) {
  if (m_bDispatchEvents) this->touches(touches, activeTouches, pEvent, CCTOUCHENDED);
}

void CCTouchDispatcher::touchesCancelled(CCSet* touches, int activeTouches, CCEvent* pEvent) {
  if (m_bDispatchEvents) this->touches(touches, activeTouches, pEvent, CCTOUCHCANCELLED);
}

void CCTouchDispatcher::cancelAllTargetedTouches(CCTouchDelegate* keeper) {
  bool outer = !m_bLocked;
  m_bLocked = true;
  CCArray* targeted = CCArray::createWithArray(m_pTargetedHandlers);
  CCObject* o = 0;
  CCARRAY_FOREACH(targeted, o) {
    CCTargetedTouchHandler* h = static_cast<CCTargetedTouchHandler*>(o);
    std::vector<CCObject*> claimed(h->getClaimedTouches()->begin(), h->getClaimedTouches()->end());
    for (CCObject* t : claimed) {
      t->retain();
      h->getDelegate()->ccTouchCancelled(static_cast<CCTouch*>(t), 0);
      t->release();
    }
    if (h->getDelegate() == keeper) h->setSwallowsTouches(false);
  }
  if (outer) endWalk();
}

NS_CC_END
