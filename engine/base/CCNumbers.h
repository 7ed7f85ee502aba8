#pragma once

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "CCObject.h"

NS_CC_BEGIN

// A number read from a file as an int: NaN gives 0, values beyond int's range stop at its
// ends (a plain conversion of those is undefined).
inline int ccClampToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
  if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(value);
}

// The leading decimal integer of a text, as atoi reads it, held to [lowest, highest]; 0 for
// a text without one.
inline long long ccTextToInteger(const char* text, long long lowest, long long highest) {
  if (!text) return 0;
  errno = 0;
  long long v = std::strtoll(text, nullptr, 10);  // saturates on overflow
  if (v < lowest) return lowest;
  if (v > highest) return highest;
  return v;
}

// Boxed values for containers.
#define CC_BOXED_TYPE(ClassName, ValueType)                        \
  class ClassName : public CCObject {                              \
   public:                                                         \
    explicit ClassName(ValueType v) : m_value(v) {}                \
    static ClassName* create(ValueType v) {                        \
      ClassName* p = new ClassName(v);                             \
      p->autorelease();                                            \
      return p;                                                    \
    }                                                              \
    ValueType getValue() const { return m_value; }                 \
    void setValue(ValueType v) { m_value = v; }                    \
    virtual CCObject* copyWithZone(CCZone*) { return new ClassName(m_value); } \
    virtual bool isEqual(const CCObject* o) {                      \
      const ClassName* other = dynamic_cast<const ClassName*>(o);  \
      return other && other->m_value == m_value;                   \
    }                                                              \
                                                                   \
   private:                                                        \
    ValueType m_value;                                             \
  };

CC_BOXED_TYPE(CCInteger, int)
CC_BOXED_TYPE(CCFloat, float)
CC_BOXED_TYPE(CCDouble, double)
CC_BOXED_TYPE(CCBool, bool)

#undef CC_BOXED_TYPE

NS_CC_END
