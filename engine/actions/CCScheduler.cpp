#include "CCScheduler.h"

#include <algorithm>

NS_CC_BEGIN

CCTimer::CCTimer()
    : m_bFresh(false), m_pTarget(0), m_fElapsed(-1), m_bRunForever(false), m_bUseDelay(false), m_uTimesExecuted(0),
      m_uRepeat(0), m_fDelay(0), m_fInterval(0), m_pfnSelector(0) {}

CCTimer* CCTimer::timerWithTarget(CCObject* pTarget, SEL_SCHEDULE pfnSelector, float fSeconds,
                                  unsigned int nRepeat, float fDelay) {
  CCTimer* t = new CCTimer();
  t->initWithTarget(pTarget, pfnSelector, fSeconds, nRepeat, fDelay);
  t->autorelease();
  return t;
}

bool CCTimer::initWithTarget(CCObject* pTarget, SEL_SCHEDULE pfnSelector, float fSeconds,
                             unsigned int nRepeat, float fDelay) {
  m_pTarget = pTarget;
  m_pfnSelector = pfnSelector;
  m_fElapsed = -1;
  m_fInterval = fSeconds;
  m_fDelay = fDelay;
  m_bUseDelay = fDelay > 0.0f;
  m_uRepeat = nRepeat;
  m_bRunForever = nRepeat == kCCRepeatForever;
  return true;
}

void CCTimer::fire() {
  if (m_pTarget && m_pfnSelector) (m_pTarget->*m_pfnSelector)(m_fElapsed);
}

bool CCTimer::advance(float dt) {
  if (m_fElapsed == -1) {
    // The tick in which the timer is first seen only starts the clock.
    m_fElapsed = 0;
    m_uTimesExecuted = 0;
    return true;
  }
  m_fElapsed += dt;
  if (m_bRunForever && !m_bUseDelay) {
    if (m_fElapsed >= m_fInterval) {
      fire();
      m_fElapsed = 0;
    }
    return true;
  }
  if (m_bUseDelay) {
    if (m_fElapsed >= m_fDelay) {
      fire();
      m_fElapsed -= m_fDelay;
      ++m_uTimesExecuted;
      m_bUseDelay = false;
    }
  } else if (m_fElapsed >= m_fInterval) {
    fire();
    m_fElapsed = 0;
    ++m_uTimesExecuted;
  }
  return m_bRunForever || m_uTimesExecuted <= m_uRepeat;
}

static CCScheduler* s_sharedScheduler = 0;

CCScheduler* CCScheduler::sharedScheduler() {
  if (!s_sharedScheduler) s_sharedScheduler = new CCScheduler();
  return s_sharedScheduler;
}

void CCScheduler::purgeSharedScheduler() {
  CCScheduler* s = s_sharedScheduler;
  s_sharedScheduler = 0;
  if (s) {
    s->unscheduleAllSelectors();
    s->release();
  }
}

CCScheduler::CCScheduler() : m_fTimeScale(1.0f), m_bUpdating(false) {}

CCScheduler::~CCScheduler() {
  unscheduleAllSelectors();
  collectGarbage();
}

CCScheduler::TimerEntry* CCScheduler::timerEntry(CCObject* pTarget) {
  auto it = m_timersByTarget.find(pTarget);
  return it == m_timersByTarget.end() ? 0 : it->second;
}

void CCScheduler::scheduleSelector(SEL_SCHEDULE pfnSelector, CCObject* pTarget, float fInterval,
                                   bool bPaused) {
  scheduleSelector(pfnSelector, pTarget, fInterval, kCCRepeatForever, 0.0f, bPaused);
}

void CCScheduler::scheduleSelector(SEL_SCHEDULE pfnSelector, CCObject* pTarget, float fInterval,
                                   unsigned int repeat, float delay, bool bPaused) {
  if (!pfnSelector || !pTarget) {
    CCLOGERROR("CCScheduler: a selector needs a target and a selector");
    return;
  }
  TimerEntry* e = timerEntry(pTarget);
  if (!e) {
    e = new TimerEntry();
    e->target = pTarget;
    e->paused = bPaused;
    pTarget->retain();
    m_timerEntries.push_back(e);
    m_timersByTarget[pTarget] = e;
  }
  for (CCTimer* t : e->timers) {
    if (t->getSelector() == pfnSelector) {
      // Already scheduled: only the interval changes.
      t->setInterval(fInterval);
      return;
    }
  }
  CCTimer* t = new CCTimer();
  t->initWithTarget(pTarget, pfnSelector, fInterval, repeat, delay);
  // Made during a tick: this tick counts as the one that starts its clock.
  if (m_bUpdating) {
    t->startClock();
    t->m_bFresh = true;
    t->retain();
    m_freshTimers.push_back(t);
  }
  e->timers.push_back(t);
}

void CCScheduler::scheduleUpdateForTarget(CCObject* pTarget, int nPriority, bool bPaused) {
  if (!pTarget) return;
  auto found = m_updateByTarget.find(pTarget);
  if (found != m_updateByTarget.end()) {
    CCLOGWARN("CCScheduler: update already scheduled for this target");
    return;
  }
  UpdateEntry* u = new UpdateEntry{pTarget, nPriority, bPaused, false};
  pTarget->retain();
  auto pos = std::upper_bound(m_updates.begin(), m_updates.end(), nPriority,
                              [](int p, const UpdateEntry* x) { return p < x->priority; });
  m_updates.insert(pos, u);
  m_updateByTarget[pTarget] = u;
}

void CCScheduler::removeTimerEntryIfEmpty(TimerEntry* e) {
  if (!e->timers.empty()) return;
  m_timersByTarget.erase(e->target);
  m_timerEntries.erase(std::find(m_timerEntries.begin(), m_timerEntries.end(), e));
  if (m_bUpdating) {
    m_deadTimerEntries.push_back(e);
  } else {
    e->target->release();
    delete e;
  }
}

void CCScheduler::unscheduleSelector(SEL_SCHEDULE pfnSelector, CCObject* pTarget) {
  TimerEntry* e = timerEntry(pTarget);
  if (!e) return;
  for (auto it = e->timers.begin(); it != e->timers.end(); ++it) {
    if ((*it)->getSelector() == pfnSelector) {
      CCTimer* t = *it;
      e->timers.erase(it);
      t->release();
      removeTimerEntryIfEmpty(e);
      return;
    }
  }
}

void CCScheduler::unscheduleUpdateForTarget(const CCObject* pTarget) {
  auto it = m_updateByTarget.find(pTarget);
  if (it == m_updateByTarget.end()) return;
  UpdateEntry* u = it->second;
  m_updateByTarget.erase(it);
  m_updates.erase(std::find(m_updates.begin(), m_updates.end(), u));
  u->dead = true;
  if (m_bUpdating) {
    m_deadUpdates.push_back(u);
  } else {
    u->target->release();
    delete u;
  }
}

void CCScheduler::unscheduleAllSelectorsForTarget(CCObject* pTarget) {
  if (!pTarget) return;
  if (TimerEntry* e = timerEntry(pTarget)) {
    std::vector<CCTimer*> timers;
    timers.swap(e->timers);
    for (CCTimer* t : timers) t->release();
    removeTimerEntryIfEmpty(e);
  }
  unscheduleUpdateForTarget(pTarget);
}

void CCScheduler::unscheduleAllSelectors() {
  std::vector<TimerEntry*> entries = m_timerEntries;
  for (TimerEntry* e : entries) unscheduleAllSelectorsForTarget(e->target);
  std::vector<UpdateEntry*> updates = m_updates;
  for (UpdateEntry* u : updates) unscheduleUpdateForTarget(u->target);
}

void CCScheduler::pauseTarget(CCObject* pTarget) {
  if (TimerEntry* e = timerEntry(pTarget)) e->paused = true;
  auto it = m_updateByTarget.find(pTarget);
  if (it != m_updateByTarget.end()) it->second->paused = true;
}

void CCScheduler::resumeTarget(CCObject* pTarget) {
  if (TimerEntry* e = timerEntry(pTarget)) e->paused = false;
  auto it = m_updateByTarget.find(pTarget);
  if (it != m_updateByTarget.end()) it->second->paused = false;
}

bool CCScheduler::isTargetPaused(CCObject* pTarget) {
  if (TimerEntry* e = timerEntry(pTarget)) return e->paused;
  auto it = m_updateByTarget.find(pTarget);
  if (it != m_updateByTarget.end()) return it->second->paused;
  return false;
}

bool CCScheduler::isScheduled(SEL_SCHEDULE pfnSelector, CCObject* pTarget) {
  TimerEntry* e = timerEntry(pTarget);
  if (!e) return false;
  for (CCTimer* t : e->timers) {
    if (t->getSelector() == pfnSelector) return true;
  }
  return false;
}

bool CCScheduler::isUpdateScheduled(CCObject* pTarget) { return m_updateByTarget.count(pTarget) > 0; }

void CCScheduler::collectGarbage() {
  for (UpdateEntry* u : m_deadUpdates) {
    u->target->release();
    delete u;
  }
  m_deadUpdates.clear();
  for (TimerEntry* e : m_deadTimerEntries) {
    e->target->release();
    delete e;
  }
  m_deadTimerEntries.clear();
}

void CCScheduler::update(float dt) {
  if (m_bUpdating) {
    CCLOGERROR("CCScheduler: update called from inside an update");
    return;
  }
  m_bUpdating = true;
  if (m_fTimeScale != 1.0f) dt *= m_fTimeScale;

  // Entries made during this tick are not in the snapshots; removed ones are marked dead and
  // kept alive until the tick ends.
  std::vector<UpdateEntry*> updates = m_updates;
  for (UpdateEntry* u : updates) {
    if (!u->dead && !u->paused) u->target->update(dt);
  }

  std::vector<TimerEntry*> entries = m_timerEntries;
  for (TimerEntry* e : entries) {
    if (e->paused || e->timers.empty()) continue;
    std::vector<CCTimer*> timers = e->timers;
    for (CCTimer* t : timers) t->retain();
    for (CCTimer* t : timers) {
      if (e->paused) break;
      if (t->m_bFresh) continue;
      if (std::find(e->timers.begin(), e->timers.end(), t) == e->timers.end()) continue;
      if (!t->advance(dt)) {
        // Last repetition done (unless its own call unscheduled it already).
        if (std::find(e->timers.begin(), e->timers.end(), t) != e->timers.end()) {
          unscheduleSelector(t->getSelector(), e->target);
        }
      }
    }
    for (CCTimer* t : timers) t->release();
  }

  m_bUpdating = false;
  for (CCTimer* t : m_freshTimers) {
    t->m_bFresh = false;
    t->release();
  }
  m_freshTimers.clear();
  collectGarbage();
}

NS_CC_END
