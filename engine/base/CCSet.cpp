#include "CCSet.h"

NS_CC_BEGIN

CCSet::CCSet() {}

CCSet::CCSet(const CCSet& rSetObject) : CCObject(), m_set(rSetObject.m_set) {
  for (CCObject* o : m_set) o->retain();
}

CCSet::~CCSet() { removeAllObjects(); }

CCSet* CCSet::create() {
  CCSet* p = new CCSet();
  p->autorelease();
  return p;
}

CCSet* CCSet::copy() { return new CCSet(*this); }
CCSet* CCSet::mutableCopy() { return copy(); }

void CCSet::addObject(CCObject* pObject) {
  if (!pObject) return;
  if (m_set.insert(pObject).second) pObject->retain();
}

void CCSet::removeObject(CCObject* pObject) {
  if (m_set.erase(pObject) > 0) pObject->release();
}

void CCSet::removeAllObjects() {
  std::set<CCObject*> old;
  old.swap(m_set);
  for (CCObject* o : old) o->release();
}

bool CCSet::containsObject(CCObject* pObject) const { return m_set.count(pObject) > 0; }

CCObject* CCSet::anyObject() { return m_set.empty() ? 0 : *m_set.begin(); }

NS_CC_END
