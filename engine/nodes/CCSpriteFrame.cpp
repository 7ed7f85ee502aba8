#include "CCSpriteFrame.h"

#include "CCTexture2D.h"
#include "CCTextureCache.h"

NS_CC_BEGIN

CCSpriteFrame::CCSpriteFrame() {}

CCSpriteFrame::~CCSpriteFrame() { CC_SAFE_RELEASE(m_pobTexture); }

CCSpriteFrame* CCSpriteFrame::create(const char* filename, const CCRect& rect) {
  return create(filename, rect, false, CCPointZero, rect.size);
}

CCSpriteFrame* CCSpriteFrame::create(const char* filename, const CCRect& rect, bool rotated,
                                     const CCPoint& offset, const CCSize& originalSize) {
  CCSpriteFrame* frame = new CCSpriteFrame();
  return ccAutoreleaseIfInit(frame,
                             frame->initWithTextureFilename(filename, rect, rotated, offset, originalSize));
}

CCSpriteFrame* CCSpriteFrame::createWithTexture(CCTexture2D* texture, const CCRect& rect) {
  return createWithTexture(texture, rect, false, CCPointZero, rect.size);
}

CCSpriteFrame* CCSpriteFrame::createWithTexture(CCTexture2D* texture, const CCRect& rect,
                                                bool rotated, const CCPoint& offset,
                                                const CCSize& originalSize) {
  CCSpriteFrame* frame = new CCSpriteFrame();
  return ccAutoreleaseIfInit(frame, frame->initWithTexture(texture, rect, rotated, offset, originalSize));
}

bool CCSpriteFrame::initWithTexture(CCTexture2D* texture, const CCRect& rect) {
  return initWithTexture(texture, rect, false, CCPointZero, rect.size);
}

bool CCSpriteFrame::initWithTexture(CCTexture2D* texture, const CCRect& rect, bool rotated,
                                    const CCPoint& offset, const CCSize& originalSize) {
  setTexture(texture);
  m_obRect = rect;
  m_bRotated = rotated;
  m_obOffset = offset;
  m_obOriginalSize = originalSize;
  return true;
}

bool CCSpriteFrame::initWithTextureFilename(const char* filename, const CCRect& rect) {
  return initWithTextureFilename(filename, rect, false, CCPointZero, rect.size);
}

bool CCSpriteFrame::initWithTextureFilename(const char* filename, const CCRect& rect,
                                            bool rotated, const CCPoint& offset,
                                            const CCSize& originalSize) {
  CC_SAFE_RELEASE_NULL(m_pobTexture);
  m_strTextureFilename = filename ? filename : "";
  m_obRect = rect;
  m_bRotated = rotated;
  m_obOffset = offset;
  m_obOriginalSize = originalSize;
  return true;
}

CCTexture2D* CCSpriteFrame::getTexture() {
  if (m_pobTexture) return m_pobTexture;
  if (m_strTextureFilename.empty()) return nullptr;
  return CCTextureCache::sharedTextureCache()->addImage(m_strTextureFilename.c_str());
}

void CCSpriteFrame::setTexture(CCTexture2D* texture) {
  if (texture == m_pobTexture) return;
  ccSetRetained(m_pobTexture, texture);
}

CCObject* CCSpriteFrame::copyWithZone(CCZone* zone) {
  (void)zone;
  CCSpriteFrame* copy = new CCSpriteFrame();
  if (m_pobTexture) {
    copy->initWithTexture(m_pobTexture, m_obRect, m_bRotated, m_obOffset, m_obOriginalSize);
  } else {
    copy->initWithTextureFilename(m_strTextureFilename.c_str(), m_obRect, m_bRotated, m_obOffset,
                                  m_obOriginalSize);
  }
  return copy;
}

NS_CC_END
