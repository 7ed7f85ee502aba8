#pragma once

#include <string>

#include "CCObject.h"
#include "CCNumbers.h"

NS_CC_BEGIN

class CCString : public CCObject {
 public:
  CCString() {}
  explicit CCString(const char* str) : m_sString(str ? str : "") {}
  explicit CCString(const std::string& str) : m_sString(str) {}
  CCString(const CCString& str) : CCObject(), m_sString(str.m_sString) {}
  CCString& operator=(const CCString& other) {
    m_sString = other.m_sString;
    return *this;
  }

  static CCString* create(const std::string& str);
  static CCString* createWithFormat(const char* format, ...)
      __attribute__((format(printf, 1, 2)));
  static CCString* createWithData(const unsigned char* pData, unsigned long nLen);
  // Whole file as text; null when it cannot be read.
  static CCString* createWithContentsOfFile(const char* pszFileName);

  bool initWithFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));

  int intValue() const;
  unsigned int uintValue() const;
  float floatValue() const;
  double doubleValue() const;
  // False for "", "0" and "false"; true otherwise.
  bool boolValue() const;
  const char* getCString() const { return m_sString.c_str(); }
  unsigned int length() const { return (unsigned int)m_sString.length(); }
  int compare(const char* str) const { return m_sString.compare(str ? str : ""); }

  virtual CCObject* copyWithZone(CCZone* pZone);
  virtual bool isEqual(const CCObject* pObject);

  std::string m_sString;
};

#define CCStringMake(str) cocos2d::CCString::create(str)
#define ccs CCStringMake

NS_CC_END
