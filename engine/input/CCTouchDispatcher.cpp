#include "CCTouchDispatcher.h"

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
  ccSetRetained(s_sharedTouchDispatcher, pDispatcher);
}

CCTouchDispatcher::CCTouchDispatcher()
    : m_pTargetedHandlers(0), m_pStandardHandlers(0), m_bDispatchEvents(false),
      m_queue(kCCHandlerLastRequestWins) {}

CCTouchDispatcher::~CCTouchDispatcher() {
  CC_SAFE_RELEASE(m_pTargetedHandlers);
  CC_SAFE_RELEASE(m_pStandardHandlers);
}

bool CCTouchDispatcher::init() {
  m_bDispatchEvents = true;
  if (!m_pTargetedHandlers) m_pTargetedHandlers = new CCArray(8);
  if (!m_pStandardHandlers) m_pStandardHandlers = new CCArray(4);
  return true;
}

void CCTouchDispatcher::forceAddHandler(CCTouchHandler* pHandler, CCArray* pArray) {
  ccHandlerInsertByPriority(pArray, pHandler);
}

void CCTouchDispatcher::addStandardDelegate(CCTouchDelegate* pDelegate, int nPriority) {
  CCTouchHandler* h = CCStandardTouchHandler::handlerWithDelegate(pDelegate, nPriority);
  if (h && !m_queue.queueAdd(h)) forceAddHandler(h, m_pStandardHandlers);
}

void CCTouchDispatcher::addTargetedDelegate(CCTouchDelegate* pDelegate, int nPriority, bool bSwallowsTouches) {
  CCTouchHandler* h = CCTargetedTouchHandler::handlerWithDelegate(pDelegate, nPriority, bSwallowsTouches);
  if (h && !m_queue.queueAdd(h)) forceAddHandler(h, m_pTargetedHandlers);
}

void CCTouchDispatcher::forceRemoveDelegate(CCTouchDelegate* pDelegate) {
  ccHandlerRemove<CCTouchHandler>(m_pStandardHandlers, pDelegate);
  ccHandlerRemove<CCTouchHandler>(m_pTargetedHandlers, pDelegate);
}

void CCTouchDispatcher::removeDelegate(CCTouchDelegate* pDelegate) {
  if (pDelegate && !m_queue.queueRemove(pDelegate)) forceRemoveDelegate(pDelegate);
}

void CCTouchDispatcher::forceRemoveAllDelegates() {
  m_pStandardHandlers->removeAllObjects();
  m_pTargetedHandlers->removeAllObjects();
}

void CCTouchDispatcher::removeAllDelegates() {
  if (!m_queue.queueRemoveAll()) forceRemoveAllDelegates();
}

CCTouchHandler* CCTouchDispatcher::findHandler(CCTouchDelegate* pDelegate) {
  if (CCTouchHandler* h = ccHandlerFind<CCTouchHandler>(m_pTargetedHandlers, pDelegate)) return h;
  return ccHandlerFind<CCTouchHandler>(m_pStandardHandlers, pDelegate);
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
  m_queue.unlock([this](CCTouchDelegate* d) { forceRemoveDelegate(d); },
                 [this](CCTouchHandler* h) {
                   if (dynamic_cast<CCTargetedTouchHandler*>(h)) forceAddHandler(h, m_pTargetedHandlers);
                   else forceAddHandler(h, m_pStandardHandlers);
                 },
                 [this] { forceRemoveAllDelegates(); });
}

void CCTouchDispatcher::touches(CCSet* pTouches, int activeTouches, CCEvent* pEvent, unsigned int uIndex) {
  if (!pTouches || uIndex >= ccTouchMax) return;
  m_queue.lock();
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
  bool outer = m_queue.lock();
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
