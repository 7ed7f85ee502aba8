#pragma once

#include <vector>

#include "CCObject.h"

NS_CC_BEGIN

#define CCARRAY_FOREACH(__array__, __object__)                                              \
  if (__array__)                                                                            \
    for (unsigned int __idx_##__object__ = 0;                                               \
         __idx_##__object__ < (__array__)->count() &&                                       \
         (((__object__) = (__array__)->objectAtIndex(__idx_##__object__)) != 0);            \
         ++__idx_##__object__)

#define CCARRAY_FOREACH_REVERSE(__array__, __object__)                                      \
  if (__array__)                                                                            \
    for (unsigned int __idx_##__object__ = (__array__)->count();                            \
         __idx_##__object__ > 0 &&                                                          \
         (((__object__) = (__array__)->objectAtIndex(__idx_##__object__ - 1)) != 0);        \
         --__idx_##__object__)

// An ordered list of retained objects.
class CCArray : public CCObject {
 public:
  CCArray();
  explicit CCArray(unsigned int capacity);
  ~CCArray();

  static CCArray* create();
  // Null-terminated list of objects.
  static CCArray* create(CCObject* pObject, ...);
  static CCArray* createWithObject(CCObject* pObject);
  static CCArray* createWithCapacity(unsigned int capacity);
  static CCArray* createWithArray(CCArray* otherArray);
  // Reads an array plist; null (and a log line) when the file is missing or malformed.
  static CCArray* createWithContentsOfFile(const char* pFileName);
  static CCArray* createWithContentsOfFileThreadSafe(const char* pFileName);

  bool init();
  bool initWithObject(CCObject* pObject);
  bool initWithObjects(CCObject* pObject, ...);
  bool initWithCapacity(unsigned int capacity);
  bool initWithArray(CCArray* otherArray);

  unsigned int count() const { return (unsigned int)m_data.size(); }
  unsigned int capacity() const { return (unsigned int)m_data.capacity(); }
  // UINT_MAX when absent.
  unsigned int indexOfObject(CCObject* object) const;
  CCObject* objectAtIndex(unsigned int index) const;
  CCObject* lastObject() const;
  CCObject* randomObject() const;
  bool containsObject(CCObject* object) const;
  bool isEqualToArray(CCArray* pOtherArray);

  void addObject(CCObject* object);
  void addObjectsFromArray(CCArray* otherArray);
  void insertObject(CCObject* object, unsigned int index);

  void removeLastObject(bool bReleaseObj = true);
  void removeObject(CCObject* object, bool bReleaseObj = true);
  void removeObjectAtIndex(unsigned int index, bool bReleaseObj = true);
  void removeObjectsInArray(CCArray* otherArray);
  void removeAllObjects();
  void fastRemoveObject(CCObject* object);
  void fastRemoveObjectAtIndex(unsigned int index);

  void exchangeObject(CCObject* object1, CCObject* object2);
  void exchangeObjectAtIndex(unsigned int index1, unsigned int index2);
  void replaceObjectAtIndex(unsigned int uIndex, CCObject* pObject, bool bReleaseObject = true);
  void reverseObjects();
  void reduceMemoryFootprint();

  // Stable sort by a strict-weak "less" function.
  void sortWith(bool (*less)(CCObject*, CCObject*));
  const std::vector<CCObject*>& objects() const { return m_data; }

  virtual CCObject* copyWithZone(CCZone* pZone);

 private:
  std::vector<CCObject*> m_data;
};

NS_CC_END
