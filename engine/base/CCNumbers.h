#pragma once

#include "CCObject.h"

NS_CC_BEGIN

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
