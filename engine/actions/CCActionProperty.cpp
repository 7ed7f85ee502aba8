#include "CCActionInterval.h"

#include <algorithm>

#include "CCNode.h"
#include "CCProtocols.h"

NS_CC_BEGIN

// ---- rotation ----

CCRotateTo* CCRotateTo::create(float duration, float fDeltaAngle) {
  CCRotateTo* p = new CCRotateTo();
  return ccAutoreleaseIfInit(p, p->initWithDuration(duration, fDeltaAngle));
}

bool CCRotateTo::initWithDuration(float duration, float fDeltaAngle) {
  CCActionInterval::initWithDuration(duration);
  m_fDstAngle = fDeltaAngle;
  return true;
}

CCObject* CCRotateTo::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCRotateTo)
  CCActionInterval::copyWithZone(pZone);
  pCopy->initWithDuration(m_fDuration, m_fDstAngle);
  CC_ACTION_COPY_END()
}

void CCRotateTo::startWithTarget(CCNode* pTarget) {
  CCActionInterval::startWithTarget(pTarget);
  m_fStartAngle = pTarget->getRotation();
  m_fStartAngle = m_fStartAngle > 0 ? fmodf(m_fStartAngle, 360.0f) : fmodf(m_fStartAngle, -360.0f);
  // The shorter way round.
  m_fDiffAngle = m_fDstAngle - m_fStartAngle;
  if (m_fDiffAngle > 180) m_fDiffAngle -= 360;
  if (m_fDiffAngle < -180) m_fDiffAngle += 360;
}

void CCRotateTo::update(float time) {
  if (m_pTarget) m_pTarget->setRotation(m_fStartAngle + m_fDiffAngle * time);
}

CCRotateBy* CCRotateBy::create(float duration, float fDeltaAngle) {
  CCRotateBy* p = new CCRotateBy();
  return ccAutoreleaseIfInit(p, p->initWithDuration(duration, fDeltaAngle));
}

bool CCRotateBy::initWithDuration(float duration, float fDeltaAngle) {
  CCActionInterval::initWithDuration(duration);
  m_fAngle = fDeltaAngle;
  return true;
}

CCObject* CCRotateBy::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCRotateBy)
  CCActionInterval::copyWithZone(pZone);
  pCopy->initWithDuration(m_fDuration, m_fAngle);
  CC_ACTION_COPY_END()
}

void CCRotateBy::startWithTarget(CCNode* pTarget) {
  CCActionInterval::startWithTarget(pTarget);
  m_fStartAngle = pTarget->getRotation();
}

void CCRotateBy::update(float time) {
  if (m_pTarget) m_pTarget->setRotation(m_fStartAngle + m_fAngle * time);
}

CCActionInterval* CCRotateBy::reverse() { return CCRotateBy::create(m_fDuration, -m_fAngle); }

// ---- movement ----

CCMoveTo* CCMoveTo::create(float duration, const CCPoint& position) {
  CCMoveTo* p = new CCMoveTo();
  return ccAutoreleaseIfInit(p, p->initWithDuration(duration, position));
}

bool CCMoveTo::initWithDuration(float duration, const CCPoint& position) {
  CCActionInterval::initWithDuration(duration);
  m_endPosition = position;
  return true;
}

CCObject* CCMoveTo::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCMoveTo)
  CCActionInterval::copyWithZone(pZone);
  pCopy->initWithDuration(m_fDuration, m_endPosition);
  CC_ACTION_COPY_END()
}

void CCMoveTo::startWithTarget(CCNode* pTarget) {
  CCActionInterval::startWithTarget(pTarget);
  m_startPosition = pTarget->getPosition();
  m_delta = CCPoint(m_endPosition.x - m_startPosition.x, m_endPosition.y - m_startPosition.y);
}

void CCMoveTo::update(float time) {
  if (m_pTarget) {
    m_pTarget->setPosition(CCPoint(m_startPosition.x + m_delta.x * time, m_startPosition.y + m_delta.y * time));
  }
}

CCMoveBy* CCMoveBy::create(float duration, const CCPoint& deltaPosition) {
  CCMoveBy* p = new CCMoveBy();
  return ccAutoreleaseIfInit(p, p->initWithDuration(duration, deltaPosition));
}

bool CCMoveBy::initWithDuration(float duration, const CCPoint& deltaPosition) {
  CCActionInterval::initWithDuration(duration);
  m_delta = deltaPosition;
  return true;
}

CCObject* CCMoveBy::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCMoveBy)
  CCMoveTo::copyWithZone(pZone);
  pCopy->initWithDuration(m_fDuration, m_delta);
  CC_ACTION_COPY_END()
}

void CCMoveBy::startWithTarget(CCNode* pTarget) {
  CCPoint delta = m_delta;
  CCMoveTo::startWithTarget(pTarget);
  m_delta = delta;
}

CCActionInterval* CCMoveBy::reverse() { return CCMoveBy::create(m_fDuration, CCPoint(-m_delta.x, -m_delta.y)); }

// ---- scale ----

CCScaleTo* CCScaleTo::create(float duration, float s) { return create(duration, s, s); }

CCScaleTo* CCScaleTo::create(float duration, float sx, float sy) {
  CCScaleTo* p = new CCScaleTo();
  return ccAutoreleaseIfInit(p, p->initWithDuration(duration, sx, sy));
}

bool CCScaleTo::initWithDuration(float duration, float s) { return initWithDuration(duration, s, s); }

bool CCScaleTo::initWithDuration(float duration, float sx, float sy) {
  CCActionInterval::initWithDuration(duration);
  m_fEndScaleX = sx;
  m_fEndScaleY = sy;
  return true;
}

CCObject* CCScaleTo::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCScaleTo)
  CCActionInterval::copyWithZone(pZone);
  pCopy->initWithDuration(m_fDuration, m_fEndScaleX, m_fEndScaleY);
  CC_ACTION_COPY_END()
}

void CCScaleTo::startWithTarget(CCNode* pTarget) {
  CCActionInterval::startWithTarget(pTarget);
  m_fStartScaleX = pTarget->getScaleX();
  m_fStartScaleY = pTarget->getScaleY();
  m_fDeltaX = m_fEndScaleX - m_fStartScaleX;
  m_fDeltaY = m_fEndScaleY - m_fStartScaleY;
}

void CCScaleTo::update(float time) {
  if (m_pTarget) {
    m_pTarget->setScaleX(m_fStartScaleX + m_fDeltaX * time);
    m_pTarget->setScaleY(m_fStartScaleY + m_fDeltaY * time);
  }
}

CCScaleBy* CCScaleBy::create(float duration, float s) { return create(duration, s, s); }

CCScaleBy* CCScaleBy::create(float duration, float sx, float sy) {
  CCScaleBy* p = new CCScaleBy();
  return ccAutoreleaseIfInit(p, p->initWithDuration(duration, sx, sy));
}

CCObject* CCScaleBy::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCScaleBy)
  CCScaleTo::copyWithZone(pZone);
  CC_ACTION_COPY_END()
}

void CCScaleBy::startWithTarget(CCNode* pTarget) {
  CCScaleTo::startWithTarget(pTarget);
  m_fDeltaX = m_fStartScaleX * m_fEndScaleX - m_fStartScaleX;
  m_fDeltaY = m_fStartScaleY * m_fEndScaleY - m_fStartScaleY;
}

CCActionInterval* CCScaleBy::reverse() {
  if (m_fEndScaleX == 0 || m_fEndScaleY == 0) return 0;
  return CCScaleBy::create(m_fDuration, 1 / m_fEndScaleX, 1 / m_fEndScaleY);
}

// ---- opacity and colour ----

static CCRGBAProtocol* rgbaOf(CCNode* node) { return dynamic_cast<CCRGBAProtocol*>(node); }
// Eased times leave 0..1 (back and elastic curves overshoot, broken rates give infinity): a
// channel stops at its ends, and one that is no number at all reads 0.
static GLubyte clampByte(float v) { return (GLubyte)(v > 0 ? (v < 255 ? v : 255) : 0); }

CCFadeIn* CCFadeIn::create(float d) {
  CCFadeIn* p = new CCFadeIn();
  return ccAutoreleaseIfInit(p, p->initWithDuration(d));
}

CCObject* CCFadeIn::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCFadeIn)
  CCActionInterval::copyWithZone(pZone);
  CC_ACTION_COPY_END()
}

void CCFadeIn::update(float time) {
  if (CCRGBAProtocol* p = rgbaOf(m_pTarget)) p->setOpacity(clampByte(255 * time));
}

CCActionInterval* CCFadeIn::reverse() { return CCFadeOut::create(m_fDuration); }

CCFadeOut* CCFadeOut::create(float d) {
  CCFadeOut* p = new CCFadeOut();
  return ccAutoreleaseIfInit(p, p->initWithDuration(d));
}

CCObject* CCFadeOut::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCFadeOut)
  CCActionInterval::copyWithZone(pZone);
  CC_ACTION_COPY_END()
}

void CCFadeOut::update(float time) {
  if (CCRGBAProtocol* p = rgbaOf(m_pTarget)) p->setOpacity(clampByte(255 * (1 - time)));
}

CCActionInterval* CCFadeOut::reverse() { return CCFadeIn::create(m_fDuration); }

CCFadeTo* CCFadeTo::create(float duration, GLubyte opacity) {
  CCFadeTo* p = new CCFadeTo();
  return ccAutoreleaseIfInit(p, p->initWithDuration(duration, opacity));
}

bool CCFadeTo::initWithDuration(float duration, GLubyte opacity) {
  CCActionInterval::initWithDuration(duration);
  m_toOpacity = opacity;
  return true;
}

CCObject* CCFadeTo::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCFadeTo)
  CCActionInterval::copyWithZone(pZone);
  pCopy->initWithDuration(m_fDuration, m_toOpacity);
  CC_ACTION_COPY_END()
}

void CCFadeTo::startWithTarget(CCNode* pTarget) {
  CCActionInterval::startWithTarget(pTarget);
  if (CCRGBAProtocol* p = rgbaOf(pTarget)) m_fromOpacity = p->getOpacity();
}

void CCFadeTo::update(float time) {
  if (CCRGBAProtocol* p = rgbaOf(m_pTarget)) {
    p->setOpacity(clampByte(m_fromOpacity + (m_toOpacity - m_fromOpacity) * time));
  }
}

CCTintTo* CCTintTo::create(float duration, GLubyte red, GLubyte green, GLubyte blue) {
  CCTintTo* p = new CCTintTo();
  return ccAutoreleaseIfInit(p, p->initWithDuration(duration, red, green, blue));
}

bool CCTintTo::initWithDuration(float duration, GLubyte red, GLubyte green, GLubyte blue) {
  CCActionInterval::initWithDuration(duration);
  m_to = ccc3(red, green, blue);
  return true;
}

CCObject* CCTintTo::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCTintTo)
  CCActionInterval::copyWithZone(pZone);
  pCopy->initWithDuration(m_fDuration, m_to.r, m_to.g, m_to.b);
  CC_ACTION_COPY_END()
}

void CCTintTo::startWithTarget(CCNode* pTarget) {
  CCActionInterval::startWithTarget(pTarget);
  if (CCRGBAProtocol* p = rgbaOf(pTarget)) m_from = p->getColor();
}

void CCTintTo::update(float time) {
  if (CCRGBAProtocol* p = rgbaOf(m_pTarget)) {
    p->setColor(ccc3(clampByte(m_from.r + (m_to.r - m_from.r) * time),
                     clampByte(m_from.g + (m_to.g - m_from.g) * time),
                     clampByte(m_from.b + (m_to.b - m_from.b) * time)));
  }
}

CCTintBy* CCTintBy::create(float duration, short deltaRed, short deltaGreen, short deltaBlue) {
  CCTintBy* p = new CCTintBy();
  return ccAutoreleaseIfInit(p, p->initWithDuration(duration, deltaRed, deltaGreen, deltaBlue));
}

bool CCTintBy::initWithDuration(float duration, short deltaRed, short deltaGreen, short deltaBlue) {
  CCActionInterval::initWithDuration(duration);
  m_deltaR = deltaRed;
  m_deltaG = deltaGreen;
  m_deltaB = deltaBlue;
  return true;
}

CCObject* CCTintBy::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCTintBy)
  CCActionInterval::copyWithZone(pZone);
  pCopy->initWithDuration(m_fDuration, m_deltaR, m_deltaG, m_deltaB);
  CC_ACTION_COPY_END()
}

void CCTintBy::startWithTarget(CCNode* pTarget) {
  CCActionInterval::startWithTarget(pTarget);
  if (CCRGBAProtocol* p = rgbaOf(pTarget)) {
    ccColor3B c = p->getColor();
    m_fromR = c.r;
    m_fromG = c.g;
    m_fromB = c.b;
  }
}


void CCTintBy::update(float time) {
  if (CCRGBAProtocol* p = rgbaOf(m_pTarget)) {
    p->setColor(ccc3(clampByte(m_fromR + m_deltaR * time), clampByte(m_fromG + m_deltaG * time),
                     clampByte(m_fromB + m_deltaB * time)));
  }
}

CCActionInterval* CCTintBy::reverse() {
  return CCTintBy::create(m_fDuration, (short)-m_deltaR, (short)-m_deltaG, (short)-m_deltaB);
}

// ---- delay ----

CCDelayTime* CCDelayTime::create(float d) {
  CCDelayTime* p = new CCDelayTime();
  return ccAutoreleaseIfInit(p, p->initWithDuration(d));
}

CCObject* CCDelayTime::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCDelayTime)
  CCActionInterval::copyWithZone(pZone);
  CC_ACTION_COPY_END()
}

void CCDelayTime::update(float time) { CC_UNUSED_PARAM(time); }

CCActionInterval* CCDelayTime::reverse() { return CCDelayTime::create(m_fDuration); }

// ---- targeted ----

CCTargetedAction::~CCTargetedAction() {
  CC_SAFE_RELEASE(m_pForcedTarget);
  CC_SAFE_RELEASE(m_pAction);
}

CCTargetedAction* CCTargetedAction::create(CCNode* pTarget, CCFiniteTimeAction* pAction) {
  CCTargetedAction* p = new CCTargetedAction();
  return ccAutoreleaseIfInit(p, p->initWithTarget(pTarget, pAction));
}

bool CCTargetedAction::initWithTarget(CCNode* pTarget, CCFiniteTimeAction* pAction) {
  if (!pTarget || !pAction) {
    CCLOGERROR("CCTargetedAction: needs a target and an action");
    return false;
  }
  CCActionInterval::initWithDuration(pAction->getDuration());
  setForcedTarget(pTarget);
  ccSetRetained(m_pAction, pAction);
  return true;
}

void CCTargetedAction::setForcedTarget(CCNode* pTarget) {
  ccSetRetained(m_pForcedTarget, pTarget);
}

CCObject* CCTargetedAction::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCTargetedAction)
  CCActionInterval::copyWithZone(pZone);
  CCFiniteTimeAction* a = (CCFiniteTimeAction*)m_pAction->copy();
  pCopy->initWithTarget(m_pForcedTarget, a);
  CC_SAFE_RELEASE(a);
  CC_ACTION_COPY_END()
}

void CCTargetedAction::startWithTarget(CCNode* pTarget) {
  CCActionInterval::startWithTarget(pTarget);
  m_pAction->startWithTarget(m_pForcedTarget);
}

void CCTargetedAction::stop() {
  m_pAction->stop();
  CCActionInterval::stop();
}

void CCTargetedAction::update(float time) { m_pAction->update(time); }

NS_CC_END
