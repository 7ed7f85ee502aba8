#pragma once

#include <string>
#include <unordered_map>

#include "CCArray.h"
#include "CCString.h"

NS_CC_BEGIN

class CCDictionary;

// One key/value pair of a dictionary; elements keep insertion order.
class CCDictElement {
 public:
  const char* getStrKey() const { return m_strKey.c_str(); }
  intptr_t getIntKey() const { return m_iKey; }
  CCObject* getObject() const { return m_pObject; }
  CCDictElement* next() const { return m_pNext; }

 private:
  friend class CCDictionary;
  CCDictElement() : m_iKey(0), m_pObject(0), m_pPrev(0), m_pNext(0) {}
  std::string m_strKey;
  intptr_t m_iKey;
  CCObject* m_pObject;
  CCDictElement* m_pPrev;
  CCDictElement* m_pNext;
};

// Walks every element; the current element may be removed inside the loop.
#define CCDICT_FOREACH(__dict__, __el__)                                                    \
  for (cocos2d::CCDictElement* __next_##__el__ =                                            \
           ((__el__) = (__dict__) ? (__dict__)->firstElement() : 0) ? (__el__)->next() : 0; \
       (__el__) != 0;                                                                       \
       (__el__) = __next_##__el__, __next_##__el__ = (__el__) ? (__el__)->next() : 0)

// Objects retained under string keys or integer keys (one kind a dictionary).
class CCDictionary : public CCObject {
 public:
  enum CCDictType { kCCDictUnknown = 0, kCCDictStr, kCCDictInt };

  CCDictionary();
  ~CCDictionary();

  static CCDictionary* create();
  static CCDictionary* createWithDictionary(CCDictionary* srcDict);
  // Reads a dictionary plist; null (and a log line) when the file is missing or malformed.
  static CCDictionary* createWithContentsOfFile(const char* pFileName);
  static CCDictionary* createWithContentsOfFileThreadSafe(const char* pFileName);

  unsigned int count() const { return m_count; }
  CCArray* allKeys();
  CCArray* allKeysForObject(CCObject* object);

  CCObject* objectForKey(const std::string& key);
  CCObject* objectForKey(intptr_t key);
  // The value as a string; an empty string when absent or not a string.
  const CCString* valueForKey(const std::string& key);
  const CCString* valueForKey(intptr_t key);

  void setObject(CCObject* pObject, const std::string& key);
  void setObject(CCObject* pObject, intptr_t key);
  void removeObjectForKey(const std::string& key);
  void removeObjectForKey(intptr_t key);
  void removeObjectsForKeys(CCArray* pKeyArray);
  void removeObjectForElememt(CCDictElement* pElement);
  void removeAllObjects();

  CCDictElement* firstElement() const { return m_pFirst; }
  CCDictType getType() const { return m_eDictType; }

  virtual CCObject* copyWithZone(CCZone* pZone);

  CCDictType m_eDictType;

 private:
  bool checkType(CCDictType type);
  void link(CCDictElement* el);
  void unlink(CCDictElement* el);
  // Stores pObject under key in the map of the key's kind (replacing an old value).
  template <class Key>
  void putObject(std::unordered_map<Key, CCDictElement*>& elements, Key CCDictElement::*keyField,
                 const Key& key, CCObject* pObject);
  // The key of el as a CCString or a CCInteger.
  CCObject* keyObject(CCDictElement* el);

  std::unordered_map<std::string, CCDictElement*> m_strElements;
  std::unordered_map<intptr_t, CCDictElement*> m_intElements;
  CCDictElement* m_pFirst;
  CCDictElement* m_pLast;
  unsigned int m_count;
};

NS_CC_END
