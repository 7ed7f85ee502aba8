#include "CCDictionary.h"

#include "CCPlistParser.h"

NS_CC_BEGIN

CCDictionary::CCDictionary()
    : m_eDictType(kCCDictUnknown), m_pFirst(0), m_pLast(0), m_count(0) {}

CCDictionary::~CCDictionary() { removeAllObjects(); }

CCDictionary* CCDictionary::create() {
  CCDictionary* p = new CCDictionary();
  p->autorelease();
  return p;
}

CCDictionary* CCDictionary::createWithDictionary(CCDictionary* srcDict) {
  if (!srcDict) return 0;
  CCDictionary* p = (CCDictionary*)srcDict->copy();
  p->autorelease();
  return p;
}

CCDictionary* CCDictionary::createWithContentsOfFile(const char* pFileName) {
  CCDictionary* p = createWithContentsOfFileThreadSafe(pFileName);
  if (p) p->autorelease();
  return p;
}

CCDictionary* CCDictionary::createWithContentsOfFileThreadSafe(const char* pFileName) {
  return CCPlistParser::dictionaryWithContentsOfFile(pFileName);
}

bool CCDictionary::checkType(CCDictType type) {
  if (m_eDictType == kCCDictUnknown) m_eDictType = type;
  if (m_eDictType != type) {
    CCLOGERROR("CCDictionary: string and integer keys cannot be mixed");
    return false;
  }
  return true;
}

void CCDictionary::link(CCDictElement* el) {
  el->m_pPrev = m_pLast;
  el->m_pNext = 0;
  if (m_pLast) m_pLast->m_pNext = el;
  else m_pFirst = el;
  m_pLast = el;
  ++m_count;
}

void CCDictionary::unlink(CCDictElement* el) {
  if (el->m_pPrev) el->m_pPrev->m_pNext = el->m_pNext;
  else m_pFirst = el->m_pNext;
  if (el->m_pNext) el->m_pNext->m_pPrev = el->m_pPrev;
  else m_pLast = el->m_pPrev;
  --m_count;
}

CCObject* CCDictionary::keyObject(CCDictElement* el) {
  if (m_eDictType == kCCDictStr) return CCString::create(el->m_strKey);
  return CCInteger::create((int)el->m_iKey);
}

CCArray* CCDictionary::allKeys() {
  if (m_count == 0) return 0;
  CCArray* keys = CCArray::createWithCapacity(m_count);
  for (CCDictElement* el = m_pFirst; el; el = el->m_pNext) keys->addObject(keyObject(el));
  return keys;
}

CCArray* CCDictionary::allKeysForObject(CCObject* object) {
  if (m_count == 0) return 0;
  CCArray* keys = CCArray::create();
  for (CCDictElement* el = m_pFirst; el; el = el->m_pNext) {
    if (el->m_pObject == object) keys->addObject(keyObject(el));
  }
  return keys;
}

CCObject* CCDictionary::objectForKey(const std::string& key) {
  if (m_eDictType != kCCDictStr) return 0;
  auto it = m_strElements.find(key);
  return it == m_strElements.end() ? 0 : it->second->m_pObject;
}

CCObject* CCDictionary::objectForKey(intptr_t key) {
  if (m_eDictType != kCCDictInt) return 0;
  auto it = m_intElements.find(key);
  return it == m_intElements.end() ? 0 : it->second->m_pObject;
}

const CCString* CCDictionary::valueForKey(const std::string& key) {
  CCString* s = dynamic_cast<CCString*>(objectForKey(key));
  return s ? s : CCString::create("");
}

const CCString* CCDictionary::valueForKey(intptr_t key) {
  CCString* s = dynamic_cast<CCString*>(objectForKey(key));
  return s ? s : CCString::create("");
}

template <class Key>
void CCDictionary::putObject(std::unordered_map<Key, CCDictElement*>& elements, Key CCDictElement::*keyField,
                             const Key& key, CCObject* pObject) {
  pObject->retain();
  auto it = elements.find(key);
  if (it != elements.end()) {
    CCObject* old = it->second->m_pObject;
    it->second->m_pObject = pObject;
    old->release();
    return;
  }
  CCDictElement* el = new CCDictElement();
  el->*keyField = key;
  el->m_pObject = pObject;
  elements[key] = el;
  link(el);
}

void CCDictionary::setObject(CCObject* pObject, const std::string& key) {
  if (pObject && checkType(kCCDictStr)) putObject(m_strElements, &CCDictElement::m_strKey, key, pObject);
}

void CCDictionary::setObject(CCObject* pObject, intptr_t key) {
  if (pObject && checkType(kCCDictInt)) putObject(m_intElements, &CCDictElement::m_iKey, key, pObject);
}

void CCDictionary::removeObjectForElememt(CCDictElement* el) {
  if (!el) return;
  if (m_eDictType == kCCDictStr) m_strElements.erase(el->m_strKey);
  else m_intElements.erase(el->m_iKey);
  unlink(el);
  CCObject* o = el->m_pObject;
  delete el;
  o->release();
}

void CCDictionary::removeObjectForKey(const std::string& key) {
  if (m_eDictType != kCCDictStr) return;
  auto it = m_strElements.find(key);
  if (it != m_strElements.end()) removeObjectForElememt(it->second);
}

void CCDictionary::removeObjectForKey(intptr_t key) {
  if (m_eDictType != kCCDictInt) return;
  auto it = m_intElements.find(key);
  if (it != m_intElements.end()) removeObjectForElememt(it->second);
}

void CCDictionary::removeObjectsForKeys(CCArray* pKeyArray) {
  CCObject* key = 0;
  CCARRAY_FOREACH(pKeyArray, key) {
    if (CCString* s = dynamic_cast<CCString*>(key)) removeObjectForKey(std::string(s->getCString()));
    else if (CCInteger* i = dynamic_cast<CCInteger*>(key)) removeObjectForKey((intptr_t)i->getValue());
  }
}

void CCDictionary::removeAllObjects() {
  CCDictElement* el = m_pFirst;
  m_pFirst = m_pLast = 0;
  m_count = 0;
  m_strElements.clear();
  m_intElements.clear();
  while (el) {
    CCDictElement* next = el->m_pNext;
    CCObject* o = el->m_pObject;
    delete el;
    o->release();
    el = next;
  }
}

CCObject* CCDictionary::copyWithZone(CCZone* pZone) {
  CC_UNUSED_PARAM(pZone);
  CCDictionary* p = new CCDictionary();
  for (CCDictElement* el = m_pFirst; el; el = el->m_pNext) {
    CCObject* c = el->m_pObject->copy();
    if (!c) continue;
    if (m_eDictType == kCCDictStr) p->setObject(c, el->m_strKey);
    else p->setObject(c, el->m_iKey);
    c->release();
  }
  return p;
}

NS_CC_END
