#include "CCAction.h"

#include "CCActionInterval.h"
#include "CCNode.h"

NS_CC_BEGIN

CCAction::CCAction() : m_pOriginalTarget(0), m_pTarget(0), m_nTag(kCCActionTagInvalid) {}
CCAction::~CCAction() {}

CCAction* CCAction::create() {
  CCAction* p = new CCAction();
  p->autorelease();
  return p;
}

CCObject* CCAction::copyWithZone(CCZone* pZone) {
  CCAction* pCopy = 0;
  if (pZone && pZone->m_pCopyObject) pCopy = (CCAction*)pZone->m_pCopyObject;
  else pCopy = new CCAction();
  pCopy->m_nTag = m_nTag;
  return pCopy;
}

bool CCAction::isDone() { return true; }

void CCAction::startWithTarget(CCNode* pTarget) { m_pOriginalTarget = m_pTarget = pTarget; }

void CCAction::stop() { m_pTarget = 0; }

void CCAction::step(float dt) { CC_UNUSED_PARAM(dt); }

void CCAction::update(float time) { CC_UNUSED_PARAM(time); }

CCFiniteTimeAction* CCFiniteTimeAction::reverse() {
  CCLOGERROR("this action has no reverse");
  return 0;
}

CCSpeed::~CCSpeed() { CC_SAFE_RELEASE(m_pInnerAction); }

CCSpeed* CCSpeed::create(CCActionInterval* pAction, float fSpeed) {
  CCSpeed* p = new CCSpeed();
  return ccAutoreleaseIfInit(p, p->initWithAction(pAction, fSpeed));
}

bool CCSpeed::initWithAction(CCActionInterval* pAction, float fSpeed) {
  if (!pAction) return false;
  ccSetRetained(m_pInnerAction, pAction);
  m_fSpeed = fSpeed;
  return true;
}

CCObject* CCSpeed::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCSpeed)
  CCAction::copyWithZone(pZone);
  CCActionInterval* inner = (CCActionInterval*)m_pInnerAction->copy();
  pCopy->initWithAction(inner, m_fSpeed);
  inner->release();
  CC_ACTION_COPY_END()
}

void CCSpeed::startWithTarget(CCNode* pTarget) {
  CCAction::startWithTarget(pTarget);
  m_pInnerAction->startWithTarget(pTarget);
}

void CCSpeed::stop() {
  m_pInnerAction->stop();
  CCAction::stop();
}

void CCSpeed::step(float dt) { m_pInnerAction->step(dt * m_fSpeed); }

bool CCSpeed::isDone() { return m_pInnerAction->isDone(); }

CCSpeed* CCSpeed::reverse() {
  CCActionInterval* r = (CCActionInterval*)m_pInnerAction->reverse();
  return r ? CCSpeed::create(r, m_fSpeed) : 0;
}

NS_CC_END
