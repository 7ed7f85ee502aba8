#include "CCKeyboardDispatcher.h"

NS_CC_BEGIN

CCKeyboardHandler::~CCKeyboardHandler() {
  if (CCObject* o = dynamic_cast<CCObject*>(m_pDelegate)) o->release();
}

CCKeyboardHandler* CCKeyboardHandler::create(CCKeyboardDelegate* pDelegate) {
  CCKeyboardHandler* h = new CCKeyboardHandler();
  return ccAutoreleaseIfInit(h, h->initWithDelegate(pDelegate));
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
  ccSetRetained(s_sharedKeyboardDispatcher, pDispatcher);
}

CCKeyboardDispatcher::CCKeyboardDispatcher()
    : m_pHandlers(new CCArray(8)), m_queue(kCCHandlerRemovalsFirst), m_nModifiers(0) {}

CCKeyboardDispatcher::~CCKeyboardDispatcher() { CC_SAFE_RELEASE(m_pHandlers); }

// Registration order; a delegate already in stays where it is.
void CCKeyboardDispatcher::forceAddHandler(CCKeyboardHandler* pHandler) {
  if (!ccHandlerFind<CCKeyboardHandler>(m_pHandlers, pHandler->getDelegate())) m_pHandlers->addObject(pHandler);
}

void CCKeyboardDispatcher::addDelegate(CCKeyboardDelegate* pDelegate) {
  if (!pDelegate || ccHandlerFind<CCKeyboardHandler>(m_pHandlers, pDelegate)) return;
  CCKeyboardHandler* h = CCKeyboardHandler::create(pDelegate);
  if (h && !m_queue.queueAdd(h)) forceAddHandler(h);
}

void CCKeyboardDispatcher::forceRemoveDelegate(CCKeyboardDelegate* pDelegate) {
  ccHandlerRemove<CCKeyboardHandler>(m_pHandlers, pDelegate);
}

void CCKeyboardDispatcher::removeDelegate(CCKeyboardDelegate* pDelegate) {
  if (pDelegate && !m_queue.queueRemove(pDelegate)) forceRemoveDelegate(pDelegate);
}

bool CCKeyboardDispatcher::dispatchKeyboardMSG(int kind, CCKeyboardEvent* event) {
  if (!event) return true;
  if (kind == kCCKeyboardModifiersChanged) {
    m_nModifiers = event->modifiers;
    return true;
  }
  if (kind != kCCKeyboardKeyDown && kind != kCCKeyboardKeyUp) return true;
  bool outer = m_queue.lock();
  CCArray* handlers = CCArray::createWithArray(m_pHandlers);
  CCObject* o = 0;
  CCARRAY_FOREACH(handlers, o) {
    CCKeyboardDelegate* d = static_cast<CCKeyboardHandler*>(o)->getDelegate();
    if (kind == kCCKeyboardKeyDown) d->keyDown(event, 0);
    else d->keyUp(event, 0);
  }
  if (!outer) return true;
  m_queue.unlock([this](CCKeyboardDelegate* d) { forceRemoveDelegate(d); },
                 [this](CCKeyboardHandler* h) { forceAddHandler(h); }, [] {});
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
