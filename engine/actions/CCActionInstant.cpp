#include "CCActionInstant.h"

#include "CCNode.h"

// GCC with UBSan reports calls through member-function pointers taking arguments as
// "may be used uninitialized"; the pointers are always set.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

NS_CC_BEGIN

CCObject* CCActionInstant::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCActionInstant)
  CCFiniteTimeAction::copyWithZone(pZone);
  CC_ACTION_COPY_END()
}

bool CCActionInstant::isDone() { return true; }

void CCActionInstant::step(float dt) {
  CC_UNUSED_PARAM(dt);
  update(1);
}

void CCActionInstant::update(float time) { CC_UNUSED_PARAM(time); }

CCFiniteTimeAction* CCActionInstant::reverse() { return (CCFiniteTimeAction*)copy()->autorelease(); }

#define CC_INSTANT_CREATE(Type) \
  Type* Type::create() {        \
    Type* p = new Type();       \
    p->autorelease();           \
    return p;                   \
  }

CC_INSTANT_CREATE(CCShow)
CC_INSTANT_CREATE(CCHide)
CC_INSTANT_CREATE(CCToggleVisibility)

void CCShow::update(float time) {
  CC_UNUSED_PARAM(time);
  if (m_pTarget) m_pTarget->setVisible(true);
}
CCFiniteTimeAction* CCShow::reverse() { return CCHide::create(); }
CCObject* CCShow::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCShow)
  CCActionInstant::copyWithZone(pZone);
  CC_ACTION_COPY_END()
}

void CCHide::update(float time) {
  CC_UNUSED_PARAM(time);
  if (m_pTarget) m_pTarget->setVisible(false);
}
CCFiniteTimeAction* CCHide::reverse() { return CCShow::create(); }
CCObject* CCHide::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCHide)
  CCActionInstant::copyWithZone(pZone);
  CC_ACTION_COPY_END()
}

void CCToggleVisibility::update(float time) {
  CC_UNUSED_PARAM(time);
  if (m_pTarget) m_pTarget->setVisible(!m_pTarget->isVisible());
}
CCObject* CCToggleVisibility::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCToggleVisibility)
  CCActionInstant::copyWithZone(pZone);
  CC_ACTION_COPY_END()
}

CCPlace* CCPlace::create(const CCPoint& pos) {
  CCPlace* p = new CCPlace();
  return ccAutoreleaseIfInit(p, p->initWithPosition(pos));
}
bool CCPlace::initWithPosition(const CCPoint& pos) {
  m_tPosition = pos;
  return true;
}
void CCPlace::update(float time) {
  CC_UNUSED_PARAM(time);
  if (m_pTarget) m_pTarget->setPosition(m_tPosition);
}
CCObject* CCPlace::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCPlace)
  CCActionInstant::copyWithZone(pZone);
  pCopy->initWithPosition(m_tPosition);
  CC_ACTION_COPY_END()
}

// ---- call-backs ----

CCCallFunc::~CCCallFunc() { CC_SAFE_RELEASE(m_pSelectorTarget); }

CCCallFunc* CCCallFunc::create(CCObject* pSelectorTarget, SEL_CallFunc selector) {
  CCCallFunc* p = new CCCallFunc();
  p->m_pCallFunc = selector;
  return ccAutoreleaseIfInit(p, p->initWithTarget(pSelectorTarget));
}

bool CCCallFunc::initWithTarget(CCObject* pSelectorTarget) {
  setTargetCallback(pSelectorTarget);
  return true;
}

void CCCallFunc::setTargetCallback(CCObject* pSel) {
  if (pSel == m_pSelectorTarget) return;
  ccSetRetained(m_pSelectorTarget, pSel);
}

void CCCallFunc::update(float time) {
  CC_UNUSED_PARAM(time);
  execute();
}

void CCCallFunc::execute() {
  if (m_pSelectorTarget && m_pCallFunc) (m_pSelectorTarget->*m_pCallFunc)();
}

CCObject* CCCallFunc::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCCallFunc)
  CCActionInstant::copyWithZone(pZone);
  pCopy->initWithTarget(m_pSelectorTarget);
  pCopy->m_pCallFunc = m_pCallFunc;
  CC_ACTION_COPY_END()
}

CCCallFuncN* CCCallFuncN::create(CCObject* pSelectorTarget, SEL_CallFuncN selector) {
  CCCallFuncN* p = new CCCallFuncN();
  return ccAutoreleaseIfInit(p, p->initWithTarget(pSelectorTarget, selector));
}

bool CCCallFuncN::initWithTarget(CCObject* pSelectorTarget, SEL_CallFuncN selector) {
  CCCallFunc::initWithTarget(pSelectorTarget);
  m_pCallFuncN = selector;
  return true;
}

void CCCallFuncN::execute() {
  CCNode* node = m_pTarget;
  CCObject* target = m_pSelectorTarget;
  SEL_CallFuncN sel = m_pCallFuncN;
  if (target && sel) (target->*sel)(node);
}

CCObject* CCCallFuncN::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCCallFuncN)
  CCActionInstant::copyWithZone(pZone);
  pCopy->initWithTarget(m_pSelectorTarget, m_pCallFuncN);
  CC_ACTION_COPY_END()
}

CCCallFuncND* CCCallFuncND::create(CCObject* pSelectorTarget, SEL_CallFuncND selector, void* d) {
  CCCallFuncND* p = new CCCallFuncND();
  return ccAutoreleaseIfInit(p, p->initWithTarget(pSelectorTarget, selector, d));
}

bool CCCallFuncND::initWithTarget(CCObject* pSelectorTarget, SEL_CallFuncND selector, void* d) {
  CCCallFunc::initWithTarget(pSelectorTarget);
  m_pCallFuncND = selector;
  m_pData = d;
  return true;
}

void CCCallFuncND::execute() {
  CCNode* node = m_pTarget;
  void* data = m_pData;
  CCObject* target = m_pSelectorTarget;
  SEL_CallFuncND sel = m_pCallFuncND;
  if (target && sel) (target->*sel)(node, data);
}

CCObject* CCCallFuncND::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCCallFuncND)
  CCActionInstant::copyWithZone(pZone);
  pCopy->initWithTarget(m_pSelectorTarget, m_pCallFuncND, m_pData);
  CC_ACTION_COPY_END()
}

CCCallFuncO::~CCCallFuncO() { CC_SAFE_RELEASE(m_pObject); }

CCCallFuncO* CCCallFuncO::create(CCObject* pSelectorTarget, SEL_CallFuncO selector, CCObject* pObject) {
  CCCallFuncO* p = new CCCallFuncO();
  return ccAutoreleaseIfInit(p, p->initWithTarget(pSelectorTarget, selector, pObject));
}

bool CCCallFuncO::initWithTarget(CCObject* pSelectorTarget, SEL_CallFuncO selector, CCObject* pObject) {
  CCCallFunc::initWithTarget(pSelectorTarget);
  m_pCallFuncO = selector;
  setObject(pObject);
  return true;
}

void CCCallFuncO::setObject(CCObject* pObj) {
  if (pObj == m_pObject) return;
  ccSetRetained(m_pObject, pObj);
}

void CCCallFuncO::execute() {
  CCObject* object = m_pObject;
  CCObject* target = m_pSelectorTarget;
  SEL_CallFuncO sel = m_pCallFuncO;
  if (target && sel) (target->*sel)(object);
}

CCObject* CCCallFuncO::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCCallFuncO)
  CCActionInstant::copyWithZone(pZone);
  pCopy->initWithTarget(m_pSelectorTarget, m_pCallFuncO, m_pObject);
  CC_ACTION_COPY_END()
}

NS_CC_END
