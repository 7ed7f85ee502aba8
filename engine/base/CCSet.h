#pragma once

#include <set>

#include "CCObject.h"

NS_CC_BEGIN

typedef std::set<CCObject*>::iterator CCSetIterator;

// An unordered collection of retained objects (ordered by address).
class CCSet : public CCObject {
 public:
  CCSet();
  CCSet(const CCSet& rSetObject);
  ~CCSet();

  static CCSet* create();

  CCSet* copy();
  CCSet* mutableCopy();
  int count() const { return (int)m_set.size(); }
  void addObject(CCObject* pObject);
  void removeObject(CCObject* pObject);
  void removeAllObjects();
  bool containsObject(CCObject* pObject) const;
  CCSetIterator begin() { return m_set.begin(); }
  CCSetIterator end() { return m_set.end(); }
  CCObject* anyObject();

 private:
  CCSet& operator=(const CCSet&);
  std::set<CCObject*> m_set;
};

NS_CC_END
