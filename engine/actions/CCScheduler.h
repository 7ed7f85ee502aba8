#pragma once

#include <unordered_map>
#include <vector>

#include "CCObject.h"

NS_CC_BEGIN

// Priority of the system's own per-frame updates (the action manager): before everything.
enum { kCCPrioritySystem = INT_MIN, kCCPriorityNonSystemMin = kCCPrioritySystem + 1 };

// One custom selector of one target: fires every interval seconds, repeat + 1 times
// (kCCRepeatForever: until unscheduled), the first time after delay.
class CCTimer : public CCObject {
 public:
  CCTimer();
  static CCTimer* timerWithTarget(CCObject* pTarget, SEL_SCHEDULE pfnSelector, float fSeconds = 0,
                                  unsigned int nRepeat = kCCRepeatForever, float fDelay = 0.0f);
  bool initWithTarget(CCObject* pTarget, SEL_SCHEDULE pfnSelector, float fSeconds,
                      unsigned int nRepeat, float fDelay);
  float getInterval() const { return m_fInterval; }
  void setInterval(float fInterval) { m_fInterval = fInterval; }
  SEL_SCHEDULE getSelector() const { return m_pfnSelector; }
  // Starts the clock now, as the first tick that sees a timer does.
  void startClock() { m_fElapsed = 0; m_uTimesExecuted = 0; }
  // Made during the running tick: not called before the next one.
  bool m_bFresh;
  // Returns false when the timer has run its last repetition.
  bool advance(float dt);

 private:
  void fire();
  CCObject* m_pTarget;
  float m_fElapsed;
  bool m_bRunForever;
  bool m_bUseDelay;
  unsigned int m_uTimesExecuted;
  unsigned int m_uRepeat;
  float m_fDelay;
  float m_fInterval;
  SEL_SCHEDULE m_pfnSelector;
};

// Calls per-frame updates by priority (lower first; equal priorities in scheduling order)
// and then the custom selectors. Targets are retained while scheduled. Whatever is scheduled
// during a tick is first called on the next tick; whatever is unscheduled during a tick is
// not called again.
class CCScheduler : public CCObject {
 public:
  CCScheduler();
  ~CCScheduler();

  // The process-wide scheduler that nodes use unless given another one; the director
  // drives this one.
  static CCScheduler* sharedScheduler();
  static void purgeSharedScheduler();

  float getTimeScale() const { return m_fTimeScale; }
  void setTimeScale(float fTimeScale) { m_fTimeScale = fTimeScale; }

  // One frame; dt in seconds.
  void update(float dt);

  void scheduleSelector(SEL_SCHEDULE pfnSelector, CCObject* pTarget, float fInterval,
                        unsigned int repeat, float delay, bool bPaused);
  void scheduleSelector(SEL_SCHEDULE pfnSelector, CCObject* pTarget, float fInterval, bool bPaused);
  void scheduleUpdateForTarget(CCObject* pTarget, int nPriority, bool bPaused);

  void unscheduleSelector(SEL_SCHEDULE pfnSelector, CCObject* pTarget);
  void unscheduleUpdateForTarget(const CCObject* pTarget);
  void unscheduleAllSelectorsForTarget(CCObject* pTarget);
  void unscheduleAllSelectors();

  void pauseTarget(CCObject* pTarget);
  void resumeTarget(CCObject* pTarget);
  bool isTargetPaused(CCObject* pTarget);

  bool isScheduled(SEL_SCHEDULE pfnSelector, CCObject* pTarget);
  bool isUpdateScheduled(CCObject* pTarget);

 private:
  struct UpdateEntry {
    CCObject* target;
    int priority;
    bool paused;
    bool dead;
  };
  struct TimerEntry {
    CCObject* target;
    std::vector<CCTimer*> timers;
    bool paused;
  };
  TimerEntry* timerEntry(CCObject* pTarget);
  void removeTimerEntryIfEmpty(TimerEntry* e);
  void collectGarbage();

  float m_fTimeScale;
  bool m_bUpdating;
  std::vector<UpdateEntry*> m_updates;  // by priority
  std::unordered_map<const CCObject*, UpdateEntry*> m_updateByTarget;
  std::vector<TimerEntry*> m_timerEntries;  // in scheduling order
  std::unordered_map<const CCObject*, TimerEntry*> m_timersByTarget;
  std::vector<UpdateEntry*> m_deadUpdates;
  std::vector<TimerEntry*> m_deadTimerEntries;
  std::vector<CCTimer*> m_freshTimers;
};

NS_CC_END
