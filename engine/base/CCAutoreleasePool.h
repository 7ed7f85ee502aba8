#pragma once

#include <vector>

#include "CCObject.h"

NS_CC_BEGIN

// Holds one reference of each autoreleased object until clear().
class CCAutoreleasePool : public CCObject {
 public:
  CCAutoreleasePool();
  ~CCAutoreleasePool();

  void addObject(CCObject* pObject);
  void removeObject(CCObject* pObject);
  void clear();
  unsigned int count() const { return (unsigned int)m_managed.size(); }
  bool contains(CCObject* pObject) const;

 private:
  friend class CCPoolManager;
  void forget(CCObject* pObject);
  std::vector<CCObject*> m_managed;
};

// A stack of pools; the director drains the top one (pop) once a frame.
class CCPoolManager {
 public:
  static CCPoolManager* sharedPoolManager();
  static void purgePoolManager();

  CCPoolManager();
  ~CCPoolManager();

  void finalize();
  void push();
  // Drains the current pool; the bottom pool stays on the stack.
  void pop();
  void removeObject(CCObject* pObject);
  void addObject(CCObject* pObject);
  CCAutoreleasePool* getCurReleasePool();

  void forgetObject(CCObject* pObject);

 private:
  std::vector<CCAutoreleasePool*> m_pools;
};

NS_CC_END
