#pragma once

#include <algorithm>
#include <vector>

#include "CCArray.h"

NS_CC_BEGIN

// What the input dispatchers share: handler arrays searched by delegate, priority order,
// and the lock held while handlers are walked. Adds and removes asked for
// during a walk are queued here and applied, removals first, when the walk ends.

// The handler of pDelegate in pArray, or null.
template <class Handler, class Delegate>
Handler* ccHandlerFind(CCArray* pArray, Delegate* pDelegate) {
  CCObject* o = 0;
  CCARRAY_FOREACH(pArray, o) {
    Handler* h = static_cast<Handler*>(o);
    if (h->getDelegate() == pDelegate) return h;
  }
  return 0;
}

// Takes the first handler of pDelegate out of pArray; false when there was none.
template <class Handler, class Delegate>
bool ccHandlerRemove(CCArray* pArray, Delegate* pDelegate) {
  for (unsigned int i = 0; i < pArray->count(); ++i) {
    if (static_cast<Handler*>(pArray->objectAtIndex(i))->getDelegate() == pDelegate) {
      pArray->removeObjectAtIndex(i);
      return true;
    }
  }
  return false;
}

// Inserts pHandler before every handler of an equal or higher priority value (so a lower
// value comes first and, among equals, the newest); nothing when its delegate is already in.
template <class Handler>
void ccHandlerInsertByPriority(CCArray* pArray, Handler* pHandler) {
  unsigned int u = 0;
  CCObject* o = 0;
  CCARRAY_FOREACH(pArray, o) {
    Handler* h = static_cast<Handler*>(o);
    if (h->getPriority() < pHandler->getPriority()) ++u;
    if (h->getDelegate() == pHandler->getDelegate()) return;
  }
  pArray->insertObject(pHandler, u);
}

// How a remove and an add of one delegate during the same walk settle.
enum ccHandlerQueueRule {
  // The later request cancels the earlier one still queued.
  kCCHandlerLastRequestWins,
  // A removal drops a queued add of the same delegate; a later add is queued again.
  // Removals are applied before adds, so only the dispatcher's own refusal of a delegate
  // that still has a handler keeps a registered one out after a remove and an add.
  kCCHandlerRemovalsFirst,
};

template <class Handler, class Delegate>
class CCHandlerQueue {
 public:
  explicit CCHandlerQueue(ccHandlerQueueRule rule)
      : m_eRule(rule), m_bLocked(false), m_bToQuit(false), m_pToAdd(new CCArray(8)) {
    m_toRemove.reserve(8);
  }
  ~CCHandlerQueue() { m_pToAdd->release(); }
  CCHandlerQueue(const CCHandlerQueue&) = delete;
  CCHandlerQueue& operator=(const CCHandlerQueue&) = delete;

  bool isLocked() const { return m_bLocked; }

  // Starts a walk; true when no walk was under way (the caller then ends it with unlock).
  bool lock() {
    bool outer = !m_bLocked;
    m_bLocked = true;
    return outer;
  }

  // While locked, queues the add and returns true; otherwise returns false and the caller
  // adds at once.
  bool queueAdd(Handler* pHandler) {
    if (!m_bLocked) return false;
    Delegate* d = pHandler->getDelegate();
    auto it = std::find(m_toRemove.begin(), m_toRemove.end(), d);
    if (m_eRule == kCCHandlerRemovalsFirst) {
      if (ccHandlerFind<Handler>(m_pToAdd, d)) return true;
    } else if (it != m_toRemove.end()) {
      m_toRemove.erase(it);
      return true;
    }
    m_pToAdd->addObject(pHandler);
    return true;
  }

  // While locked, queues the removal and returns true; otherwise returns false and the
  // caller removes at once.
  bool queueRemove(Delegate* pDelegate) {
    if (!m_bLocked) return false;
    bool dropped = ccHandlerRemove<Handler>(m_pToAdd, pDelegate);
    if (!dropped || m_eRule == kCCHandlerRemovalsFirst) m_toRemove.push_back(pDelegate);
    return true;
  }

  // While locked, queues clearing every handler (after the queued adds) and returns true.
  bool queueRemoveAll() {
    if (m_bLocked) m_bToQuit = true;
    return m_bLocked;
  }

  // Ends the walk and applies what was queued: removals, then adds, then a clear.
  template <class RemoveFn, class AddFn, class ClearFn>
  void unlock(RemoveFn forceRemove, AddFn forceAdd, ClearFn forceRemoveAll) {
    m_bLocked = false;
    if (!m_toRemove.empty()) {
      std::vector<Delegate*> pending;
      pending.swap(m_toRemove);
      for (Delegate* d : pending) forceRemove(d);
    }
    if (m_pToAdd->count() > 0) {
      CCArray* pending = m_pToAdd;
      m_pToAdd = new CCArray(8);
      CCObject* o = 0;
      CCARRAY_FOREACH(pending, o) { forceAdd(static_cast<Handler*>(o)); }
      pending->release();
    }
    if (m_bToQuit) {
      m_bToQuit = false;
      forceRemoveAll();
    }
  }

 private:
  ccHandlerQueueRule m_eRule;
  bool m_bLocked;
  bool m_bToQuit;
  CCArray* m_pToAdd;
  std::vector<Delegate*> m_toRemove;
};

NS_CC_END
