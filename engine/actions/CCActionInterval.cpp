#include "CCActionInterval.h"

#include <algorithm>
#include <cstdarg>

#include "CCActionInstant.h"
#include "CCNode.h"
#include "CCProtocols.h"

NS_CC_BEGIN

// ---- CCActionInterval ----

CCActionInterval* CCActionInterval::create(float d) {
  CCActionInterval* p = new CCActionInterval();
  return ccAutoreleaseIfInit(p, p->initWithDuration(d));
}

bool CCActionInterval::initWithDuration(float d) {
  // A zero duration would divide by zero.
  m_fDuration = d == 0 ? FLT_EPSILON : d;
  m_elapsed = 0;
  m_bFirstTick = true;
  return true;
}

CCObject* CCActionInterval::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCActionInterval)
  CCAction::copyWithZone(pZone);
  pCopy->initWithDuration(m_fDuration);
  CC_ACTION_COPY_END()
}

bool CCActionInterval::isDone() { return m_elapsed >= m_fDuration; }

void CCActionInterval::step(float dt) {
  if (m_bFirstTick) {
    m_bFirstTick = false;
    m_elapsed = 0;
  } else {
    m_elapsed += dt;
  }
  float t = m_elapsed / std::max(m_fDuration, FLT_EPSILON);
  update(std::max(0.0f, std::min(1.0f, t)));
}

void CCActionInterval::startWithTarget(CCNode* pTarget) {
  CCFiniteTimeAction::startWithTarget(pTarget);
  m_elapsed = 0.0f;
  m_bFirstTick = true;
}

CCActionInterval* CCActionInterval::reverse() {
  CCLOGERROR("this action has no reverse");
  return 0;
}

// ---- CCSequence ----

CCSequence::CCSequence() : m_split(0), m_last(-1) { m_pActions[0] = m_pActions[1] = 0; }

CCSequence::~CCSequence() {
  CC_SAFE_RELEASE(m_pActions[0]);
  CC_SAFE_RELEASE(m_pActions[1]);
}

CCSequence* CCSequence::createWithTwoActions(CCFiniteTimeAction* pActionOne, CCFiniteTimeAction* pActionTwo) {
  CCSequence* p = new CCSequence();
  return ccAutoreleaseIfInit(p, p->initWithTwoActions(pActionOne, pActionTwo));
}

// Sequences and spawns of many actions are built as a chain of pairs, the first pair
// innermost; a single action is paired with an empty delay so it still behaves as the kind
// asked for.
template <class T>
static T* chainOfActions(const std::vector<CCFiniteTimeAction*>& list, const char* kind) {
  if (list.empty()) {
    CCLOGERROR("%s: no actions", kind);
    return 0;
  }
  if (list.size() == 1) return T::createWithTwoActions(list[0], CCDelayTime::create(0));
  CCFiniteTimeAction* prev = list[0];
  for (size_t i = 1; i < list.size(); ++i) {
    prev = T::createWithTwoActions(prev, list[i]);
    if (!prev) return 0;
  }
  return (T*)prev;
}

// The actions of a null-terminated argument list.
static std::vector<CCFiniteTimeAction*> actionsOfArgs(CCFiniteTimeAction* pAction1, va_list args) {
  std::vector<CCFiniteTimeAction*> list;
  for (CCFiniteTimeAction* a = pAction1; a; a = va_arg(args, CCFiniteTimeAction*)) list.push_back(a);
  return list;
}

// The finite-time actions of an array; other objects are passed over.
static std::vector<CCFiniteTimeAction*> actionsOfArray(CCArray* arrayOfActions) {
  std::vector<CCFiniteTimeAction*> list;
  CCObject* o = 0;
  CCARRAY_FOREACH(arrayOfActions, o) {
    CCFiniteTimeAction* a = dynamic_cast<CCFiniteTimeAction*>(o);
    if (a) list.push_back(a);
  }
  return list;
}

CCSequence* CCSequence::create(CCFiniteTimeAction* pAction1, ...) {
  va_list args;
  va_start(args, pAction1);
  std::vector<CCFiniteTimeAction*> list = actionsOfArgs(pAction1, args);
  va_end(args);
  return chainOfActions<CCSequence>(list, "CCSequence");
}

CCSequence* CCSequence::createWithArray(CCArray* arrayOfActions) {
  return chainOfActions<CCSequence>(actionsOfArray(arrayOfActions), "CCSequence");
}

bool CCSequence::initWithTwoActions(CCFiniteTimeAction* pActionOne, CCFiniteTimeAction* pActionTwo) {
  if (!pActionOne || !pActionTwo) {
    CCLOGERROR("CCSequence: null action");
    return false;
  }
  CCActionInterval::initWithDuration(pActionOne->getDuration() + pActionTwo->getDuration());
  pActionOne->retain();
  pActionTwo->retain();
  CC_SAFE_RELEASE(m_pActions[0]);
  CC_SAFE_RELEASE(m_pActions[1]);
  m_pActions[0] = pActionOne;
  m_pActions[1] = pActionTwo;
  return true;
}

CCObject* CCSequence::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCSequence)
  CCActionInterval::copyWithZone(pZone);
  CCFiniteTimeAction* a = (CCFiniteTimeAction*)m_pActions[0]->copy();
  CCFiniteTimeAction* b = (CCFiniteTimeAction*)m_pActions[1]->copy();
  pCopy->initWithTwoActions(a, b);
  CC_SAFE_RELEASE(a);
  CC_SAFE_RELEASE(b);
  CC_ACTION_COPY_END()
}

void CCSequence::startWithTarget(CCNode* pTarget) {
  CCActionInterval::startWithTarget(pTarget);
  m_split = m_pActions[0]->getDuration() / m_fDuration;
  m_last = -1;
}

void CCSequence::stop() {
  if (m_last != -1) m_pActions[m_last]->stop();
  CCActionInterval::stop();
}

void CCSequence::update(float t) {
  int found = 0;
  float new_t = 0.0f;
  if (t < m_split) {
    found = 0;
    new_t = m_split != 0 ? t / m_split : 1;
  } else {
    found = 1;
    new_t = m_split == 1 ? 1 : (t - m_split) / (1 - m_split);
  }
  if (found == 1) {
    if (m_last == -1) {
      // The first action was skipped over in one frame: run it completely first.
      m_pActions[0]->startWithTarget(m_pTarget);
      m_pActions[0]->update(1.0f);
      m_pActions[0]->stop();
    } else if (m_last == 0) {
      m_pActions[0]->update(1.0f);
      m_pActions[0]->stop();
    }
  }
  if (found == m_last && m_pActions[found]->isDone()) return;
  if (found != m_last) m_pActions[found]->startWithTarget(m_pTarget);
  m_pActions[found]->update(new_t);
  m_last = found;
}

CCActionInterval* CCSequence::reverse() {
  CCFiniteTimeAction* b = m_pActions[1]->reverse();
  CCFiniteTimeAction* a = m_pActions[0]->reverse();
  if (!a || !b) return 0;
  return CCSequence::createWithTwoActions(b, a);
}

// ---- CCRepeat ----

CCRepeat::CCRepeat() : m_uTimes(0), m_uTotal(0), m_fNextDt(0), m_bActionInstant(false), m_pInnerAction(0) {}
CCRepeat::~CCRepeat() { CC_SAFE_RELEASE(m_pInnerAction); }

CCRepeat* CCRepeat::create(CCFiniteTimeAction* pAction, unsigned int times) {
  CCRepeat* p = new CCRepeat();
  return ccAutoreleaseIfInit(p, p->initWithAction(pAction, times));
}

bool CCRepeat::initWithAction(CCFiniteTimeAction* pAction, unsigned int times) {
  if (!pAction) return false;
  CCActionInterval::initWithDuration(pAction->getDuration() * times);
  m_uTimes = times;
  ccSetRetained(m_pInnerAction, pAction);
  m_bActionInstant = dynamic_cast<CCActionInstant*>(pAction) != 0;
  m_uTotal = 0;
  return true;
}

CCObject* CCRepeat::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCRepeat)
  CCActionInterval::copyWithZone(pZone);
  CCFiniteTimeAction* inner = (CCFiniteTimeAction*)m_pInnerAction->copy();
  pCopy->initWithAction(inner, m_uTimes);
  CC_SAFE_RELEASE(inner);
  CC_ACTION_COPY_END()
}

void CCRepeat::startWithTarget(CCNode* pTarget) {
  m_uTotal = 0;
  m_fNextDt = m_pInnerAction->getDuration() / m_fDuration;
  CCActionInterval::startWithTarget(pTarget);
  m_pInnerAction->startWithTarget(pTarget);
}

void CCRepeat::stop() {
  m_pInnerAction->stop();
  CCActionInterval::stop();
}

void CCRepeat::update(float dt) {
  if (dt >= m_fNextDt) {
    while (dt > m_fNextDt && m_uTotal < m_uTimes) {
      m_pInnerAction->update(1.0f);
      m_uTotal++;
      m_pInnerAction->stop();
      m_pInnerAction->startWithTarget(m_pTarget);
      m_fNextDt += m_pInnerAction->getDuration() / m_fDuration;
    }
    // The last repetition ends exactly at 1.
    if (dt >= 1.0f && m_uTotal < m_uTimes) m_uTotal++;
    if (!m_bActionInstant) {
      if (m_uTotal == m_uTimes) {
        m_pInnerAction->update(1);
        m_pInnerAction->stop();
      } else {
        m_pInnerAction->update(dt - (m_fNextDt - m_pInnerAction->getDuration() / m_fDuration));
      }
    }
  } else {
    m_pInnerAction->update(fmodf(dt * m_uTimes, 1.0f));
  }
}

bool CCRepeat::isDone() { return m_uTotal == m_uTimes; }

CCActionInterval* CCRepeat::reverse() {
  CCFiniteTimeAction* r = m_pInnerAction->reverse();
  return r ? CCRepeat::create(r, m_uTimes) : 0;
}

// ---- CCRepeatForever ----

CCRepeatForever::~CCRepeatForever() { CC_SAFE_RELEASE(m_pInnerAction); }

CCRepeatForever* CCRepeatForever::create(CCActionInterval* pAction) {
  CCRepeatForever* p = new CCRepeatForever();
  return ccAutoreleaseIfInit(p, p->initWithAction(pAction));
}

bool CCRepeatForever::initWithAction(CCActionInterval* pAction) {
  if (!pAction) return false;
  ccSetRetained(m_pInnerAction, pAction);
  return true;
}

CCObject* CCRepeatForever::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCRepeatForever)
  CCActionInterval::copyWithZone(pZone);
  CCActionInterval* inner = (CCActionInterval*)m_pInnerAction->copy();
  pCopy->initWithAction(inner);
  CC_SAFE_RELEASE(inner);
  CC_ACTION_COPY_END()
}

void CCRepeatForever::startWithTarget(CCNode* pTarget) {
  CCActionInterval::startWithTarget(pTarget);
  m_pInnerAction->startWithTarget(pTarget);
}

void CCRepeatForever::step(float dt) {
  m_pInnerAction->step(dt);
  if (m_pInnerAction->isDone()) {
    // Carry the overshoot into the next round so the period stays exact.
    float diff = m_pInnerAction->getElapsed() - m_pInnerAction->getDuration();
    m_pInnerAction->startWithTarget(m_pTarget);
    m_pInnerAction->step(0.0f);
    m_pInnerAction->step(diff);
  }
}

bool CCRepeatForever::isDone() { return false; }

CCActionInterval* CCRepeatForever::reverse() {
  CCActionInterval* r = m_pInnerAction->reverse();
  return r ? CCRepeatForever::create(r) : 0;
}

// ---- CCSpawn ----

CCSpawn::~CCSpawn() {
  CC_SAFE_RELEASE(m_pOne);
  CC_SAFE_RELEASE(m_pTwo);
}

CCSpawn* CCSpawn::createWithTwoActions(CCFiniteTimeAction* pAction1, CCFiniteTimeAction* pAction2) {
  CCSpawn* p = new CCSpawn();
  return ccAutoreleaseIfInit(p, p->initWithTwoActions(pAction1, pAction2));
}

CCSpawn* CCSpawn::create(CCFiniteTimeAction* pAction1, ...) {
  va_list args;
  va_start(args, pAction1);
  std::vector<CCFiniteTimeAction*> list = actionsOfArgs(pAction1, args);
  va_end(args);
  return chainOfActions<CCSpawn>(list, "CCSpawn");
}

CCSpawn* CCSpawn::createWithArray(CCArray* arrayOfActions) {
  return chainOfActions<CCSpawn>(actionsOfArray(arrayOfActions), "CCSpawn");
}

bool CCSpawn::initWithTwoActions(CCFiniteTimeAction* pAction1, CCFiniteTimeAction* pAction2) {
  if (!pAction1 || !pAction2) {
    CCLOGERROR("CCSpawn: null action");
    return false;
  }
  float d1 = pAction1->getDuration(), d2 = pAction2->getDuration();
  CCActionInterval::initWithDuration(std::max(d1, d2));
  CCFiniteTimeAction* one = pAction1;
  CCFiniteTimeAction* two = pAction2;
  // The shorter one is padded with a delay so both end together.
  if (d1 > d2) two = CCSequence::createWithTwoActions(pAction2, CCDelayTime::create(d1 - d2));
  else if (d1 < d2) one = CCSequence::createWithTwoActions(pAction1, CCDelayTime::create(d2 - d1));
  one->retain();
  two->retain();
  CC_SAFE_RELEASE(m_pOne);
  CC_SAFE_RELEASE(m_pTwo);
  m_pOne = one;
  m_pTwo = two;
  return true;
}

CCObject* CCSpawn::copyWithZone(CCZone* pZone) {
  CC_ACTION_COPY_BEGIN(CCSpawn)
  CCActionInterval::copyWithZone(pZone);
  CCFiniteTimeAction* a = (CCFiniteTimeAction*)m_pOne->copy();
  CCFiniteTimeAction* b = (CCFiniteTimeAction*)m_pTwo->copy();
  pCopy->initWithTwoActions(a, b);
  CC_SAFE_RELEASE(a);
  CC_SAFE_RELEASE(b);
  CC_ACTION_COPY_END()
}

void CCSpawn::startWithTarget(CCNode* pTarget) {
  CCActionInterval::startWithTarget(pTarget);
  m_pOne->startWithTarget(pTarget);
  m_pTwo->startWithTarget(pTarget);
}

void CCSpawn::stop() {
  m_pOne->stop();
  m_pTwo->stop();
  CCActionInterval::stop();
}

void CCSpawn::update(float time) {
  if (m_pOne) m_pOne->update(time);
  if (m_pTwo) m_pTwo->update(time);
}

CCActionInterval* CCSpawn::reverse() {
  CCFiniteTimeAction* a = m_pOne->reverse();
  CCFiniteTimeAction* b = m_pTwo->reverse();
  if (!a || !b) return 0;
  return CCSpawn::createWithTwoActions(a, b);
}

NS_CC_END
