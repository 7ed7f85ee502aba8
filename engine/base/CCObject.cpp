#include "CCObject.h"

#include "CCAutoreleasePool.h"

NS_CC_BEGIN

CCObject* CCCopying::copyWithZone(CCZone* pZone) {
  CC_UNUSED_PARAM(pZone);
  CCLOGERROR("this class cannot be copied");
  return 0;
}

CCObject::CCObject() : m_nLuaID(0), m_uReference(1), m_uAutoReleaseCount(0) {
  static unsigned int s_uObjectCount = 0;
  m_uID = ++s_uObjectCount;
}

CCObject::~CCObject() {
  // An object destroyed while a pool still lists it (over-released by its owner) must not be
  // released again when the pool drains.
  if (m_uAutoReleaseCount > 0) {
    CCPoolManager::sharedPoolManager()->forgetObject(this);
  }
}

CCObject* CCObject::copy() { return copyWithZone(0); }

void CCObject::release() {
  if (m_uReference == 0) {
    CCLOGERROR("release of an object whose reference count is already 0");
    return;
  }
  --m_uReference;
  if (m_uReference == 0) {
    delete this;
  }
}

void CCObject::retain() { ++m_uReference; }

CCObject* CCObject::autorelease() {
  CCPoolManager::sharedPoolManager()->addObject(this);
  return this;
}

bool CCObject::isEqual(const CCObject* pObject) { return this == pObject; }

NS_CC_END
