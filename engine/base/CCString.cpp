#include "CCString.h"

#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "CCPlistParser.h"

NS_CC_BEGIN

static std::string formatArgs(const char* format, va_list args) {
  if (!format) return std::string();
  va_list copy;
  va_copy(copy, args);
  int n = vsnprintf(0, 0, format, copy);
  va_end(copy);
  if (n < 0) return std::string();
  std::vector<char> buf((size_t)n + 1);
  vsnprintf(buf.data(), buf.size(), format, args);
  return std::string(buf.data(), (size_t)n);
}

CCString* CCString::create(const std::string& str) {
  CCString* p = new CCString(str);
  p->autorelease();
  return p;
}

CCString* CCString::createWithFormat(const char* format, ...) {
  va_list args;
  va_start(args, format);
  CCString* p = create(formatArgs(format, args));
  va_end(args);
  return p;
}

CCString* CCString::createWithData(const unsigned char* pData, unsigned long nLen) {
  if (!pData) return create("");
  return create(std::string((const char*)pData, nLen));
}

CCString* CCString::createWithContentsOfFile(const char* pszFileName) {
  std::string data;
  if (!ccReadWholeFile(pszFileName, data)) return 0;
  return create(data);
}

bool CCString::initWithFormat(const char* format, ...) {
  va_list args;
  va_start(args, format);
  m_sString = formatArgs(format, args);
  va_end(args);
  return true;
}

// Numbers beyond the type's range stop at its ends.
int CCString::intValue() const {
  return static_cast<int>(ccTextToInteger(m_sString.c_str(), INT_MIN, INT_MAX));
}
unsigned int CCString::uintValue() const {
  return static_cast<unsigned int>(ccTextToInteger(m_sString.c_str(), 0, UINT_MAX));
}
float CCString::floatValue() const { return m_sString.empty() ? 0.0f : (float)atof(m_sString.c_str()); }
double CCString::doubleValue() const { return m_sString.empty() ? 0.0 : atof(m_sString.c_str()); }

bool CCString::boolValue() const {
  if (m_sString.empty()) return false;
  return !(m_sString == "0" || m_sString == "false");
}

CCObject* CCString::copyWithZone(CCZone* pZone) {
  CC_UNUSED_PARAM(pZone);
  return new CCString(m_sString);
}

bool CCString::isEqual(const CCObject* pObject) {
  const CCString* other = dynamic_cast<const CCString*>(pObject);
  return other && other->m_sString == m_sString;
}

NS_CC_END
