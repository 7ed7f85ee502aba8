#include "CCMouseDispatcher.h"

#include "CCTouch.h"

NS_CC_BEGIN

CCPoint CCMouseEvent::getLocation() const { return ccConvertViewToGL(m_location); }

CCMouseHandler::~CCMouseHandler() {
  if (CCObject* o = dynamic_cast<CCObject*>(m_pDelegate)) o->release();
}

CCMouseHandler* CCMouseHandler::create(CCMouseDelegate* pDelegate, int nPriority) {
  CCMouseHandler* h = new CCMouseHandler();
  return ccAutoreleaseIfInit(h, h->initWithDelegate(pDelegate, nPriority));
}

bool CCMouseHandler::initWithDelegate(CCMouseDelegate* pDelegate, int nPriority) {
  if (!pDelegate) return false;
  if (CCObject* o = dynamic_cast<CCObject*>(pDelegate)) o->retain();
  m_pDelegate = pDelegate;
  m_nPriority = nPriority;
  return true;
}

static CCMouseDispatcher* s_sharedMouseDispatcher = 0;

CCMouseDispatcher* CCMouseDispatcher::sharedDispatcher() {
  if (!s_sharedMouseDispatcher) {
    s_sharedMouseDispatcher = new CCMouseDispatcher();
    s_sharedMouseDispatcher->init();
  }
  return s_sharedMouseDispatcher;
}

void CCMouseDispatcher::setSharedDispatcher(CCMouseDispatcher* pDispatcher) {
  ccSetRetained(s_sharedMouseDispatcher, pDispatcher);
}

CCMouseDispatcher::CCMouseDispatcher()
    : m_pHandlers(0), m_queue(kCCHandlerLastRequestWins), m_bDispatchEvents(false), m_pCursor(0) {}

CCMouseDispatcher::~CCMouseDispatcher() { CC_SAFE_RELEASE(m_pHandlers); }

bool CCMouseDispatcher::init() {
  if (!m_pHandlers) m_pHandlers = new CCArray(8);
  m_bDispatchEvents = true;
  return true;
}

void CCMouseDispatcher::forceAddHandler(CCMouseHandler* pHandler) { ccHandlerInsertByPriority(m_pHandlers, pHandler); }

void CCMouseDispatcher::forceRemoveDelegate(CCMouseDelegate* pDelegate) {
  ccHandlerRemove<CCMouseHandler>(m_pHandlers, pDelegate);
}

void CCMouseDispatcher::addDelegate(CCMouseDelegate* pDelegate, int nPriority) {
  CCMouseHandler* h = CCMouseHandler::create(pDelegate, nPriority);
  if (h && !m_queue.queueAdd(h)) forceAddHandler(h);
}

void CCMouseDispatcher::removeDelegate(CCMouseDelegate* pDelegate) {
  if (pDelegate && !m_queue.queueRemove(pDelegate)) forceRemoveDelegate(pDelegate);
}

void CCMouseDispatcher::dispatchMouseEvent(CCMouseEvent* event, CCEvent* pEvent, int kind) {
  bool outer = m_queue.lock();
  if (m_pHandlers->count() > 0) {
    // Handlers stay alive through the walk even when their delegate goes.
    CCArray* handlers = CCArray::createWithArray(m_pHandlers);
    CCObject* o = 0;
    CCARRAY_FOREACH(handlers, o) {
      CCMouseHandler* h = static_cast<CCMouseHandler*>(o);
      CCMouseDelegate* d = h->getDelegate();
      bool claimed = false;
      switch (kind) {
        case kCCMouseLeftDown:
          claimed = d->mouseLeftDown(event, pEvent);
          if (claimed) h->m_bLeftHeld = true;
          break;
        case kCCMouseRightDown:
          claimed = d->mouseRightDown(event, pEvent);
          if (claimed) h->m_bRightHeld = true;
          break;
        case kCCMouseMiddleDown:
          claimed = d->mouseMiddleDown(event, pEvent);
          if (claimed) h->m_bMiddleHeld = true;
          break;
        case kCCMouseLeftDragged:
          if (h->m_bLeftHeld || h->alwaysReceiveLeftDrag()) d->mouseLeftDragged(event, pEvent);
          break;
        case kCCMouseLeftUp:
          if (h->m_bLeftHeld || h->alwaysReceiveLeftDrag()) {
            d->mouseLeftUp(event, pEvent);
            h->m_bLeftHeld = false;
          }
          break;
        case kCCMouseRightDragged:
          if (h->m_bRightHeld) d->mouseRightDragged(event, pEvent);
          break;
        case kCCMouseRightUp:
          if (h->m_bRightHeld) {
            d->mouseRightUp(event, pEvent);
            h->m_bRightHeld = false;
          }
          break;
        case kCCMouseMiddleDragged:
          if (h->m_bMiddleHeld) d->mouseMiddleDragged(event, pEvent);
          break;
        case kCCMouseMiddleUp:
          if (h->m_bMiddleHeld) {
            d->mouseMiddleUp(event, pEvent);
            h->m_bMiddleHeld = false;
          }
          break;
        case kCCMouseMoved:
          d->mouseMoved(event, pEvent);
          break;
        case kCCMouseScrolled:
          claimed = d->mouseScrolled(event, pEvent);
          break;
        case kCCMouseEntered:
          d->mouseEntered(event, pEvent);
          break;
        case kCCMouseExited:
          d->mouseExited(event, pEvent);
          break;
        case kCCMouseWheel:
          d->mouseWheel(event, pEvent);
          break;
        default:
          break;
      }
      if (claimed) break;
    }
  }
  if (!outer) return;
  m_queue.unlock([this](CCMouseDelegate* d) { forceRemoveDelegate(d); },
                 [this](CCMouseHandler* h) { forceAddHandler(h); }, [] {});
}

#define CC_MOUSE_FORWARD(Method, Kind)                                   \
  void CCMouseDispatcher::Method(CCMouseEvent* event, CCEvent* pEvent) { \
    if (m_bDispatchEvents) dispatchMouseEvent(event, pEvent, Kind);      \
  }

CC_MOUSE_FORWARD(mouseWheel, kCCMouseWheel)
CC_MOUSE_FORWARD(mouseLeftDown, kCCMouseLeftDown)
CC_MOUSE_FORWARD(mouseLeftDragged, kCCMouseLeftDragged)
CC_MOUSE_FORWARD(mouseLeftUp, kCCMouseLeftUp)
CC_MOUSE_FORWARD(mouseRightDown, kCCMouseRightDown)
CC_MOUSE_FORWARD(mouseRightDragged, kCCMouseRightDragged)
CC_MOUSE_FORWARD(mouseRightUp, kCCMouseRightUp)
CC_MOUSE_FORWARD(mouseMiddleDown, kCCMouseMiddleDown)
CC_MOUSE_FORWARD(mouseMiddleDragged, kCCMouseMiddleDragged)
CC_MOUSE_FORWARD(mouseMiddleUp, kCCMouseMiddleUp)
CC_MOUSE_FORWARD(mouseScrolled, kCCMouseScrolled)

void CCMouseDispatcher::mouseMoved(CCMouseEvent* event, CCEvent* pEvent) {
  if (m_pCursor) m_pCursor->setCursorPosition(event);
  if (m_bDispatchEvents) dispatchMouseEvent(event, pEvent, kCCMouseMoved);
}

void CCMouseDispatcher::mouseEntered(CCMouseEvent* event, CCEvent* pEvent) {
  if (m_pCursor) m_pCursor->showCursor();
  if (m_bDispatchEvents) dispatchMouseEvent(event, pEvent, kCCMouseEntered);
}

void CCMouseDispatcher::mouseExited(CCMouseEvent* event, CCEvent* pEvent) {
  if (m_pCursor) m_pCursor->hideCursor();
  if (m_bDispatchEvents) dispatchMouseEvent(event, pEvent, kCCMouseExited);
}

NS_CC_END
