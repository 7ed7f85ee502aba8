#include "CCActionEase.h"

NS_CC_BEGIN

#ifndef M_PI_X_2
#define M_PI_X_2 ((float)M_PI * 2.0f)
#endif

CCActionEase::~CCActionEase() { CC_SAFE_RELEASE(m_pOther); }

CCActionEase* CCActionEase::create(CCActionInterval* pAction) { return createEase<CCActionEase>(pAction); }

bool CCActionEase::initWithAction(CCActionInterval* pAction) {
  if (!pAction) {
    CCLOGERROR("ease action without an inner action");
    return false;
  }
  CCActionInterval::initWithDuration(pAction->getDuration());
  ccSetRetained(m_pOther, pAction);
  return true;
}

CCObject* CCActionEase::copyWithZone(CCZone* pZone) { return copyEase<CCActionEase>(pZone); }

void CCActionEase::startWithTarget(CCNode* pTarget) {
  CCActionInterval::startWithTarget(pTarget);
  m_pOther->startWithTarget(m_pTarget);
}

void CCActionEase::stop() {
  m_pOther->stop();
  CCActionInterval::stop();
}

void CCActionEase::update(float time) { m_pOther->update(time); }

CCActionInterval* CCActionEase::reverse() { return reverseEase<CCActionEase>(); }

CCEaseRateAction* CCEaseRateAction::create(CCActionInterval* pAction, float fRate) {
  return createEase<CCEaseRateAction>(pAction, fRate);
}

bool CCEaseRateAction::initWithAction(CCActionInterval* pAction, float fRate) {
  m_fRate = fRate;
  return CCActionEase::initWithAction(pAction);
}

CCObject* CCEaseRateAction::copyWithZone(CCZone* pZone) { return copyEase<CCEaseRateAction>(pZone, m_fRate); }

CCActionInterval* CCEaseRateAction::reverse() { return reverseEase<CCEaseRateAction>(1 / m_fRate); }

CCEaseElastic* CCEaseElastic::create(CCActionInterval* pAction, float fPeriod) {
  return createEase<CCEaseElastic>(pAction, fPeriod);
}

bool CCEaseElastic::initWithAction(CCActionInterval* pAction, float fPeriod) {
  m_fPeriod = fPeriod;
  return CCActionEase::initWithAction(pAction);
}

CCObject* CCEaseElastic::copyWithZone(CCZone* pZone) { return copyEase<CCEaseElastic>(pZone, m_fPeriod); }

CCActionInterval* CCEaseElastic::reverse() {
  CCLOGERROR("CCEaseElastic: reverse of the plain elastic ease is not defined");
  return 0;
}

// The concrete eases differ only in their curve, their reverse and their parameter.
#define CC_EASE_IMPL(Name, Reverse, CreateParams, CreateArgs, ...)              \
  Name* Name::create CreateParams { return createEase<Name> CreateArgs; }      \
  CCActionInterval* Name::reverse() { return reverseEase<Reverse>(__VA_ARGS__); } \
  CCObject* Name::copyWithZone(CCZone* pZone) { return copyEase<Name>(pZone, ##__VA_ARGS__); }
#define CC_EASE_PLAIN_IMPL(Name, Reverse) \
  CC_EASE_IMPL(Name, Reverse, (CCActionInterval * pAction), (pAction))
#define CC_EASE_RATE_IMPL(Name, Reverse) \
  CC_EASE_IMPL(Name, Reverse, (CCActionInterval * pAction, float fRate), (pAction, fRate), m_fRate)
#define CC_EASE_ELASTIC_IMPL(Name, Reverse) \
  CC_EASE_IMPL(Name, Reverse, (CCActionInterval * pAction, float fPeriod), (pAction, fPeriod), m_fPeriod)

CC_EASE_RATE_IMPL(CCEaseIn, CCEaseOut)
CC_EASE_RATE_IMPL(CCEaseOut, CCEaseIn)
CC_EASE_RATE_IMPL(CCEaseInOut, CCEaseInOut)
CC_EASE_PLAIN_IMPL(CCEaseExponentialIn, CCEaseExponentialOut)
CC_EASE_PLAIN_IMPL(CCEaseExponentialOut, CCEaseExponentialIn)
CC_EASE_PLAIN_IMPL(CCEaseExponentialInOut, CCEaseExponentialInOut)
CC_EASE_PLAIN_IMPL(CCEaseSineIn, CCEaseSineOut)
CC_EASE_PLAIN_IMPL(CCEaseSineOut, CCEaseSineIn)
CC_EASE_PLAIN_IMPL(CCEaseSineInOut, CCEaseSineInOut)
CC_EASE_ELASTIC_IMPL(CCEaseElasticIn, CCEaseElasticOut)
CC_EASE_ELASTIC_IMPL(CCEaseElasticOut, CCEaseElasticIn)
CC_EASE_ELASTIC_IMPL(CCEaseElasticInOut, CCEaseElasticInOut)
CC_EASE_PLAIN_IMPL(CCEaseBounceIn, CCEaseBounceOut)
CC_EASE_PLAIN_IMPL(CCEaseBounceOut, CCEaseBounceIn)
CC_EASE_PLAIN_IMPL(CCEaseBounceInOut, CCEaseBounceInOut)
CC_EASE_PLAIN_IMPL(CCEaseBackIn, CCEaseBackOut)
CC_EASE_PLAIN_IMPL(CCEaseBackOut, CCEaseBackIn)
CC_EASE_PLAIN_IMPL(CCEaseBackInOut, CCEaseBackInOut)

void CCEaseIn::update(float time) { m_pOther->update(powf(time, m_fRate)); }

void CCEaseOut::update(float time) { m_pOther->update(powf(time, 1 / m_fRate)); }

void CCEaseInOut::update(float time) {
  time *= 2;
  if (time < 1) m_pOther->update(0.5f * powf(time, m_fRate));
  else m_pOther->update(1.0f - 0.5f * powf(2 - time, m_fRate));
}

void CCEaseExponentialIn::update(float time) {
  // Ends exactly at 1 so the inner action reaches its end value.
  m_pOther->update(time == 0 ? 0 : time == 1 ? 1 : powf(2, 10 * (time - 1)) - 1 * 0.001f);
}

void CCEaseExponentialOut::update(float time) {
  m_pOther->update(time == 1 ? 1 : (-powf(2, -10 * time) + 1));
}

void CCEaseExponentialInOut::update(float time) {
  // Exact at both ends so the inner action starts and ends on its values.
  if (time == 0 || time == 1) {
    m_pOther->update(time);
    return;
  }
  time /= 0.5f;
  if (time < 1) time = 0.5f * powf(2, 10 * (time - 1));
  else time = 0.5f * (-powf(2, -10 * (time - 1)) + 2);
  m_pOther->update(time);
}

void CCEaseSineIn::update(float time) { m_pOther->update(-1 * cosf(time * (float)M_PI_2) + 1); }

void CCEaseSineOut::update(float time) { m_pOther->update(sinf(time * (float)M_PI_2)); }

void CCEaseSineInOut::update(float time) { m_pOther->update(-0.5f * (cosf((float)M_PI * time) - 1)); }

void CCEaseElasticIn::update(float time) {
  float newT = 0;
  if (time == 0 || time == 1) {
    newT = time;
  } else {
    float s = m_fPeriod / 4;
    time = time - 1;
    newT = -powf(2, 10 * time) * sinf((time - s) * M_PI_X_2 / m_fPeriod);
  }
  m_pOther->update(newT);
}

void CCEaseElasticOut::update(float time) {
  float newT = 0;
  if (time == 0 || time == 1) {
    newT = time;
  } else {
    float s = m_fPeriod / 4;
    newT = powf(2, -10 * time) * sinf((time - s) * M_PI_X_2 / m_fPeriod) + 1;
  }
  m_pOther->update(newT);
}

void CCEaseElasticInOut::update(float time) {
  float newT = 0;
  if (time == 0 || time == 1) {
    newT = time;
  } else {
    time = time * 2;
    float period = m_fPeriod != 0 ? m_fPeriod : 0.3f * 1.5f;
    float s = period / 4;
    time = time - 1;
    if (time < 0) newT = -0.5f * powf(2, 10 * time) * sinf((time - s) * M_PI_X_2 / period);
    else newT = powf(2, -10 * time) * sinf((time - s) * M_PI_X_2 / period) * 0.5f + 1;
  }
  m_pOther->update(newT);
}

float CCEaseBounce::bounceTime(float time) {
  if (time < 1 / 2.75f) return 7.5625f * time * time;
  if (time < 2 / 2.75f) {
    time -= 1.5f / 2.75f;
    return 7.5625f * time * time + 0.75f;
  }
  if (time < 2.5f / 2.75f) {
    time -= 2.25f / 2.75f;
    return 7.5625f * time * time + 0.9375f;
  }
  time -= 2.625f / 2.75f;
  return 7.5625f * time * time + 0.984375f;
}

void CCEaseBounceIn::update(float time) { m_pOther->update(1 - bounceTime(1 - time)); }

void CCEaseBounceOut::update(float time) { m_pOther->update(bounceTime(time)); }

void CCEaseBounceInOut::update(float time) {
  float newT;
  if (time < 0.5f) newT = (1 - bounceTime(1 - time * 2)) * 0.5f;
  else newT = bounceTime(time * 2 - 1) * 0.5f + 0.5f;
  m_pOther->update(newT);
}

void CCEaseBackIn::update(float time) {
  const float overshoot = 1.70158f;
  m_pOther->update(time * time * ((overshoot + 1) * time - overshoot));
}

void CCEaseBackOut::update(float time) {
  const float overshoot = 1.70158f;
  time = time - 1;
  m_pOther->update(time * time * ((overshoot + 1) * time + overshoot) + 1);
}

void CCEaseBackInOut::update(float time) {
  const float overshoot = 1.70158f * 1.525f;
  time = time * 2;
  if (time < 1) {
    m_pOther->update((time * time * ((overshoot + 1) * time - overshoot)) / 2);
  } else {
    time = time - 2;
    m_pOther->update((time * time * ((overshoot + 1) * time + overshoot)) / 2 + 1);
  }
}

NS_CC_END
