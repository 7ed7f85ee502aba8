#include "CCTouchHandler.h"

NS_CC_BEGIN

static void retainDelegate(CCTouchDelegate* d) {
  if (CCObject* o = dynamic_cast<CCObject*>(d)) o->retain();
}
static void releaseDelegate(CCTouchDelegate* d) {
  if (CCObject* o = dynamic_cast<CCObject*>(d)) o->release();
}

CCTouchHandler::~CCTouchHandler() {
  if (m_pDelegate) releaseDelegate(m_pDelegate);
}

CCTouchHandler* CCTouchHandler::handlerWithDelegate(CCTouchDelegate* pDelegate, int nPriority) {
  CCTouchHandler* h = new CCTouchHandler();
  return ccAutoreleaseIfInit(h, h->initWithDelegate(pDelegate, nPriority));
}

bool CCTouchHandler::initWithDelegate(CCTouchDelegate* pDelegate, int nPriority) {
  if (!pDelegate) return false;
  setDelegate(pDelegate);
  m_nPriority = nPriority;
  return true;
}

void CCTouchHandler::setDelegate(CCTouchDelegate* pDelegate) {
  if (pDelegate) retainDelegate(pDelegate);
  if (m_pDelegate) releaseDelegate(m_pDelegate);
  m_pDelegate = pDelegate;
}

CCStandardTouchHandler* CCStandardTouchHandler::handlerWithDelegate(CCTouchDelegate* pDelegate, int nPriority) {
  CCStandardTouchHandler* h = new CCStandardTouchHandler();
  return ccAutoreleaseIfInit(h, h->initWithDelegate(pDelegate, nPriority));
}

CCTargetedTouchHandler::~CCTargetedTouchHandler() { CC_SAFE_RELEASE(m_pClaimedTouches); }

CCTargetedTouchHandler* CCTargetedTouchHandler::handlerWithDelegate(CCTouchDelegate* pDelegate, int nPriority,
                                                                    bool bSwallow) {
  CCTargetedTouchHandler* h = new CCTargetedTouchHandler();
  return ccAutoreleaseIfInit(h, h->initWithDelegate(pDelegate, nPriority, bSwallow));
}

bool CCTargetedTouchHandler::initWithDelegate(CCTouchDelegate* pDelegate, int nPriority, bool bSwallow) {
  if (!CCTouchHandler::initWithDelegate(pDelegate, nPriority)) return false;
  m_pClaimedTouches = new CCSet();
  m_bSwallowsTouches = bSwallow;
  return true;
}

NS_CC_END
