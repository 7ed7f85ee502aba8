#pragma once

#include "ccMacros.h"

NS_CC_BEGIN

class CCObject;

// Carries the object a copyWithZone fills in, if the caller made one already.
class CCZone {
 public:
  explicit CCZone(CCObject* pObject = 0) : m_pCopyObject(pObject) {}
  CCObject* m_pCopyObject;
};

NS_CC_END
