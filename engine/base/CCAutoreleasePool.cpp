#include "CCAutoreleasePool.h"

#include <algorithm>

NS_CC_BEGIN

CCAutoreleasePool::CCAutoreleasePool() {}

CCAutoreleasePool::~CCAutoreleasePool() { clear(); }

void CCAutoreleasePool::addObject(CCObject* pObject) {
  m_managed.push_back(pObject);
  ++pObject->m_uAutoReleaseCount;
}

void CCAutoreleasePool::removeObject(CCObject* pObject) {
  for (unsigned int i = 0; i < pObject->m_uAutoReleaseCount; ++i) {
    auto it = std::find(m_managed.begin(), m_managed.end(), pObject);
    if (it != m_managed.end()) m_managed.erase(it);
  }
  pObject->m_uAutoReleaseCount = 0;
}

bool CCAutoreleasePool::contains(CCObject* pObject) const {
  return std::find(m_managed.begin(), m_managed.end(), pObject) != m_managed.end();
}

void CCAutoreleasePool::forget(CCObject* pObject) {
  m_managed.erase(std::remove(m_managed.begin(), m_managed.end(), pObject), m_managed.end());
}

void CCAutoreleasePool::clear() {
  // Objects released here may autorelease others into this pool; take the list first and loop.
  while (!m_managed.empty()) {
    std::vector<CCObject*> objects;
    objects.swap(m_managed);
    // Newest first, as the stock pool does.
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
      CCObject* obj = *it;
      if (!obj) continue;
      // When this release frees an object that still has entries further on (its count
      // says how many), those are blanked; an object autoreleased once needs no search,
      // so a frame's pool empties in time proportional to its size.
      if (obj->m_uAutoReleaseCount > 0) --obj->m_uAutoReleaseCount;
      bool last = obj->m_uReference == 1;
      if (last) {
        if (obj->m_uAutoReleaseCount > 0) {
          for (auto jt = it + 1; jt != objects.rend(); ++jt) {
            if (*jt == obj) *jt = 0;
          }
        }
        obj->m_uAutoReleaseCount = 0;
      }
      obj->release();
    }
  }
}

static CCPoolManager* s_pPoolManager = 0;

CCPoolManager* CCPoolManager::sharedPoolManager() {
  if (!s_pPoolManager) s_pPoolManager = new CCPoolManager();
  return s_pPoolManager;
}

void CCPoolManager::purgePoolManager() {
  CCPoolManager* p = s_pPoolManager;
  s_pPoolManager = 0;
  delete p;
}

CCPoolManager::CCPoolManager() {}

CCPoolManager::~CCPoolManager() {
  finalize();
  while (!m_pools.empty()) {
    CCAutoreleasePool* pool = m_pools.back();
    m_pools.pop_back();
    pool->release();
  }
}

void CCPoolManager::finalize() {
  for (CCAutoreleasePool* pool : m_pools) pool->clear();
}

void CCPoolManager::push() {
  CCAutoreleasePool* pool = new CCAutoreleasePool();
  m_pools.push_back(pool);
}

void CCPoolManager::pop() {
  if (m_pools.empty()) return;
  CCAutoreleasePool* top = m_pools.back();
  top->clear();
  if (m_pools.size() > 1) {
    m_pools.pop_back();
    top->release();
  }
}

void CCPoolManager::removeObject(CCObject* pObject) {
  if (m_pools.empty()) return;
  m_pools.back()->removeObject(pObject);
}

void CCPoolManager::addObject(CCObject* pObject) { getCurReleasePool()->addObject(pObject); }

CCAutoreleasePool* CCPoolManager::getCurReleasePool() {
  if (m_pools.empty()) push();
  return m_pools.back();
}

void CCPoolManager::forgetObject(CCObject* pObject) {
  for (CCAutoreleasePool* pool : m_pools) pool->forget(pObject);
}

NS_CC_END
