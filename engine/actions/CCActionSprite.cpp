// Actions that act on sprites: frame animation and flips.
#include "CCActionInstant.h"
#include "CCActionInterval.h"
#include "CCAnimation.h"
#include "CCSprite.h"
#include "CCSpriteFrame.h"

NS_CC_BEGIN

CCFlipX* CCFlipX::create(bool x) {
  CCFlipX* p = new CCFlipX();
  return ccAutoreleaseIfInit(p, p->initWithFlipX(x));
}

bool CCFlipX::initWithFlipX(bool x) {
  m_bFlipX = x;
  return true;
}

void CCFlipX::update(float time) {
  CC_UNUSED_PARAM(time);
  if (CCSprite* s = dynamic_cast<CCSprite*>(m_pTarget)) s->setFlipX(m_bFlipX);
}

CCFiniteTimeAction* CCFlipX::reverse() { return CCFlipX::create(!m_bFlipX); }

CCObject* CCFlipX::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCFlipX)
  CCActionInstant::copyWithZone(pZone);
  pCopy->initWithFlipX(m_bFlipX);
  CC_ACTION_COPY_END()
}

CCFlipY* CCFlipY::create(bool y) {
  CCFlipY* p = new CCFlipY();
  return ccAutoreleaseIfInit(p, p->initWithFlipY(y));
}

bool CCFlipY::initWithFlipY(bool y) {
  m_bFlipY = y;
  return true;
}

void CCFlipY::update(float time) {
  CC_UNUSED_PARAM(time);
  if (CCSprite* s = dynamic_cast<CCSprite*>(m_pTarget)) s->setFlipY(m_bFlipY);
}

CCFiniteTimeAction* CCFlipY::reverse() { return CCFlipY::create(!m_bFlipY); }

CCObject* CCFlipY::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCFlipY)
  CCActionInstant::copyWithZone(pZone);
  pCopy->initWithFlipY(m_bFlipY);
  CC_ACTION_COPY_END()
}

// ---- CCAnimate ----

CCAnimate::CCAnimate() : m_nNextFrame(0), m_pOrigFrame(0), m_uExecutedLoops(0), m_pAnimation(0) {}

CCAnimate::~CCAnimate() {
  CC_SAFE_RELEASE(m_pAnimation);
  CC_SAFE_RELEASE(m_pOrigFrame);
}

CCAnimate* CCAnimate::create(CCAnimation* pAnimation) {
  CCAnimate* p = new CCAnimate();
  return ccAutoreleaseIfInit(p, p->initWithAnimation(pAnimation));
}

void CCAnimate::setAnimation(CCAnimation* pAnimation) {
  ccSetRetained(m_pAnimation, pAnimation);
}

bool CCAnimate::initWithAnimation(CCAnimation* pAnimation) {
  if (!pAnimation) {
    CCLOGERROR("CCAnimate: null animation");
    return false;
  }
  float singleDuration = pAnimation->getDuration();
  CCActionInterval::initWithDuration(singleDuration * pAnimation->getLoops());
  m_nNextFrame = 0;
  setAnimation(pAnimation);
  CC_SAFE_RELEASE(m_pOrigFrame);
  m_pOrigFrame = 0;
  m_uExecutedLoops = 0;

  // Each frame's start as a fraction of one loop.
  m_splitTimes.clear();
  float accumUnits = 0;
  float total = pAnimation->getTotalDelayUnits();
  CCObject* o = 0;
  CCARRAY_FOREACH(pAnimation->getFrames(), o) {
    CCAnimationFrame* f = static_cast<CCAnimationFrame*>(o);
    m_splitTimes.push_back(total > 0 ? accumUnits / total : 0);
    accumUnits += f->getDelayUnits();
  }
  return true;
}

CCObject* CCAnimate::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCAnimate)
  CCActionInterval::copyWithZone(pZone);
  CCAnimation* anim = (CCAnimation*)m_pAnimation->copy();
  pCopy->initWithAnimation(anim);
  CC_SAFE_RELEASE(anim);
  CC_ACTION_COPY_END()
}

void CCAnimate::startWithTarget(CCNode* pTarget) {
  CCActionInterval::startWithTarget(pTarget);
  CCSprite* sprite = dynamic_cast<CCSprite*>(pTarget);
  CC_SAFE_RELEASE(m_pOrigFrame);
  m_pOrigFrame = 0;
  if (sprite && m_pAnimation->getRestoreOriginalFrame()) {
    m_pOrigFrame = sprite->displayFrame();
    CC_SAFE_RETAIN(m_pOrigFrame);
  }
  m_nNextFrame = 0;
  m_uExecutedLoops = 0;
}

void CCAnimate::stop() {
  CCSprite* sprite = dynamic_cast<CCSprite*>(m_pTarget);
  if (sprite && m_pAnimation->getRestoreOriginalFrame() && m_pOrigFrame) sprite->setDisplayFrame(m_pOrigFrame);
  CCActionInterval::stop();
}

void CCAnimate::update(float t) {
  // An eased time may leave 0..1 (back easing); the animation shows its ends there.
  if (!(t > 0.0f)) t = 0.0f;
  if (t < 1.0f) {
    t *= m_pAnimation->getLoops();
    unsigned int loop = (unsigned int)t;
    if (loop > m_uExecutedLoops) {
      m_nNextFrame = 0;
      m_uExecutedLoops++;
    }
    t = fmodf(t, 1.0f);
  }
  CCArray* frames = m_pAnimation->getFrames();
  int count = (int)frames->count();
  // The latest frame whose time has come (a slow frame may pass over several).
  int show = -1;
  for (int i = m_nNextFrame; i < count; ++i) {
    if (m_splitTimes[(size_t)i] <= t) show = i;
    else break;
  }
  if (show < 0) return;
  m_nNextFrame = show + 1;
  CCSprite* sprite = dynamic_cast<CCSprite*>(m_pTarget);
  CCAnimationFrame* f = static_cast<CCAnimationFrame*>(frames->objectAtIndex((unsigned int)show));
  if (sprite && f->getSpriteFrame()) sprite->setDisplayFrame(f->getSpriteFrame());
}

CCActionInterval* CCAnimate::reverse() {
  CCArray* frames = CCArray::create();
  CCObject* o = 0;
  CCARRAY_FOREACH_REVERSE(m_pAnimation->getFrames(), o) {
    CCAnimationFrame* copy = (CCAnimationFrame*)o->copy();
    frames->addObject(copy);
    copy->release();
  }
  CCAnimation* anim = CCAnimation::create(frames, m_pAnimation->getDelayPerUnit(), m_pAnimation->getLoops());
  anim->setRestoreOriginalFrame(m_pAnimation->getRestoreOriginalFrame());
  return CCAnimate::create(anim);
}

NS_CC_END
