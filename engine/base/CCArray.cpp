#include "CCArray.h"

#include <algorithm>
#include <cstdarg>

#include "CCPlistParser.h"

NS_CC_BEGIN

CCArray::CCArray() {}
CCArray::CCArray(unsigned int capacity) { m_data.reserve(capacity); }
CCArray::~CCArray() { removeAllObjects(); }

CCArray* CCArray::create() {
  CCArray* p = new CCArray();
  p->autorelease();
  return p;
}

CCArray* CCArray::create(CCObject* pObject, ...) {
  CCArray* p = create();
  va_list args;
  va_start(args, pObject);
  for (CCObject* o = pObject; o; o = va_arg(args, CCObject*)) p->addObject(o);
  va_end(args);
  return p;
}

CCArray* CCArray::createWithObject(CCObject* pObject) {
  CCArray* p = create();
  p->addObject(pObject);
  return p;
}

CCArray* CCArray::createWithCapacity(unsigned int capacity) {
  CCArray* p = new CCArray(capacity);
  p->autorelease();
  return p;
}

CCArray* CCArray::createWithArray(CCArray* otherArray) {
  CCArray* p = create();
  p->addObjectsFromArray(otherArray);
  return p;
}

CCArray* CCArray::createWithContentsOfFile(const char* pFileName) {
  CCArray* p = createWithContentsOfFileThreadSafe(pFileName);
  if (p) p->autorelease();
  return p;
}

CCArray* CCArray::createWithContentsOfFileThreadSafe(const char* pFileName) {
  return CCPlistParser::arrayWithContentsOfFile(pFileName);
}

bool CCArray::init() { return true; }
bool CCArray::initWithObject(CCObject* pObject) {
  addObject(pObject);
  return true;
}
bool CCArray::initWithObjects(CCObject* pObject, ...) {
  va_list args;
  va_start(args, pObject);
  for (CCObject* o = pObject; o; o = va_arg(args, CCObject*)) addObject(o);
  va_end(args);
  return true;
}
bool CCArray::initWithCapacity(unsigned int capacity) {
  m_data.reserve(capacity);
  return true;
}
bool CCArray::initWithArray(CCArray* otherArray) {
  addObjectsFromArray(otherArray);
  return true;
}

unsigned int CCArray::indexOfObject(CCObject* object) const {
  for (size_t i = 0; i < m_data.size(); ++i) {
    if (m_data[i] == object) return (unsigned int)i;
  }
  return UINT_MAX;
}

CCObject* CCArray::objectAtIndex(unsigned int index) const {
  if (index >= m_data.size()) {
    CCLOGERROR("CCArray: index %u out of range (%u objects)", index, count());
    return 0;
  }
  return m_data[index];
}

CCObject* CCArray::lastObject() const { return m_data.empty() ? 0 : m_data.back(); }

CCObject* CCArray::randomObject() const {
  if (m_data.empty()) return 0;
  float r = CCRANDOM_0_1();
  if (r >= 1.0f) r = 0.0f;
  return m_data[(size_t)(r * m_data.size())];
}

bool CCArray::containsObject(CCObject* object) const { return indexOfObject(object) != UINT_MAX; }

bool CCArray::isEqualToArray(CCArray* pOtherArray) {
  if (!pOtherArray || pOtherArray->count() != count()) return false;
  for (unsigned int i = 0; i < count(); ++i) {
    if (!m_data[i]->isEqual(pOtherArray->m_data[i])) return false;
  }
  return true;
}

void CCArray::addObject(CCObject* object) {
  if (!object) {
    CCLOGERROR("CCArray: null object not added");
    return;
  }
  object->retain();
  m_data.push_back(object);
}

void CCArray::addObjectsFromArray(CCArray* otherArray) {
  if (!otherArray) return;
  std::vector<CCObject*> other = otherArray->m_data;
  for (CCObject* o : other) addObject(o);
}

void CCArray::insertObject(CCObject* object, unsigned int index) {
  if (!object) {
    CCLOGERROR("CCArray: null object not inserted");
    return;
  }
  if (index > m_data.size()) index = (unsigned int)m_data.size();
  object->retain();
  m_data.insert(m_data.begin() + index, object);
}

void CCArray::removeLastObject(bool bReleaseObj) {
  if (m_data.empty()) return;
  CCObject* o = m_data.back();
  m_data.pop_back();
  if (bReleaseObj) o->release();
}

void CCArray::removeObject(CCObject* object, bool bReleaseObj) {
  unsigned int i = indexOfObject(object);
  if (i != UINT_MAX) removeObjectAtIndex(i, bReleaseObj);
}

void CCArray::removeObjectAtIndex(unsigned int index, bool bReleaseObj) {
  if (index >= m_data.size()) return;
  CCObject* o = m_data[index];
  m_data.erase(m_data.begin() + index);
  if (bReleaseObj) o->release();
}

void CCArray::removeObjectsInArray(CCArray* otherArray) {
  if (!otherArray) return;
  std::vector<CCObject*> other = otherArray->m_data;
  for (CCObject* o : other) removeObject(o);
}

void CCArray::removeAllObjects() {
  std::vector<CCObject*> old;
  old.swap(m_data);
  for (CCObject* o : old) o->release();
}

void CCArray::fastRemoveObject(CCObject* object) {
  unsigned int i = indexOfObject(object);
  if (i != UINT_MAX) fastRemoveObjectAtIndex(i);
}

void CCArray::fastRemoveObjectAtIndex(unsigned int index) {
  if (index >= m_data.size()) return;
  CCObject* o = m_data[index];
  m_data[index] = m_data.back();
  m_data.pop_back();
  o->release();
}

void CCArray::exchangeObject(CCObject* object1, CCObject* object2) {
  unsigned int i = indexOfObject(object1), j = indexOfObject(object2);
  if (i == UINT_MAX || j == UINT_MAX) return;
  exchangeObjectAtIndex(i, j);
}

void CCArray::exchangeObjectAtIndex(unsigned int index1, unsigned int index2) {
  if (index1 >= m_data.size() || index2 >= m_data.size()) return;
  std::swap(m_data[index1], m_data[index2]);
}

void CCArray::replaceObjectAtIndex(unsigned int uIndex, CCObject* pObject, bool bReleaseObject) {
  if (uIndex >= m_data.size() || !pObject) return;
  pObject->retain();
  CCObject* old = m_data[uIndex];
  m_data[uIndex] = pObject;
  if (bReleaseObject) old->release();
}

void CCArray::reverseObjects() { std::reverse(m_data.begin(), m_data.end()); }

void CCArray::reduceMemoryFootprint() { m_data.shrink_to_fit(); }

void CCArray::sortWith(bool (*less)(CCObject*, CCObject*)) {
  std::stable_sort(m_data.begin(), m_data.end(), less);
}

CCObject* CCArray::copyWithZone(CCZone* pZone) {
  CC_UNUSED_PARAM(pZone);
  CCArray* p = new CCArray((unsigned int)m_data.size());
  for (CCObject* o : m_data) {
    CCObject* c = o->copy();
    if (c) {
      p->addObject(c);
      c->release();
    }
  }
  return p;
}

NS_CC_END
