#include "CCAnimation.h"

#include "CCSpriteFrame.h"
#include "CCZone.h"
#include "CCTexture2D.h"
#include "CCTextureCache.h"

NS_CC_BEGIN

CCAnimationFrame::CCAnimationFrame() : m_pSpriteFrame(0), m_fDelayUnits(0), m_pUserInfo(0) {}

CCAnimationFrame::~CCAnimationFrame() {
  CC_SAFE_RELEASE(m_pSpriteFrame);
  CC_SAFE_RELEASE(m_pUserInfo);
}

bool CCAnimationFrame::initWithSpriteFrame(CCSpriteFrame* spriteFrame, float delayUnits, CCDictionary* userInfo) {
  setSpriteFrame(spriteFrame);
  setUserInfo(userInfo);
  m_fDelayUnits = delayUnits;
  return true;
}

void CCAnimationFrame::setSpriteFrame(CCSpriteFrame* frame) {
  ccSetRetained(m_pSpriteFrame, frame);
}

void CCAnimationFrame::setUserInfo(CCDictionary* info) {
  ccSetRetained(m_pUserInfo, info);
}

CCObject* CCAnimationFrame::copyWithZone(CCZone* pZone) {
  CCAnimationFrame* copy = (pZone && pZone->m_pCopyObject) ? (CCAnimationFrame*)pZone->m_pCopyObject : new CCAnimationFrame();
  CCSpriteFrame* frame = m_pSpriteFrame ? (CCSpriteFrame*)m_pSpriteFrame->copy() : 0;
  CCDictionary* info = m_pUserInfo ? (CCDictionary*)m_pUserInfo->copy() : 0;
  copy->initWithSpriteFrame(frame, m_fDelayUnits, info);
  CC_SAFE_RELEASE(frame);
  CC_SAFE_RELEASE(info);
  return copy;
}

CCAnimation::CCAnimation()
    : m_fTotalDelayUnits(0), m_fDelayPerUnit(0), m_pFrames(0), m_bRestoreOriginalFrame(false), m_uLoops(1) {}

CCAnimation::~CCAnimation() { CC_SAFE_RELEASE(m_pFrames); }

CCAnimation* CCAnimation::create() {
  CCAnimation* p = new CCAnimation();
  return ccAutoreleaseIfInit(p, p->init());
}

CCAnimation* CCAnimation::createWithSpriteFrames(CCArray* frames, float delay) {
  CCAnimation* p = new CCAnimation();
  return ccAutoreleaseIfInit(p, p->initWithSpriteFrames(frames, delay));
}

CCAnimation* CCAnimation::create(CCArray* arrayOfAnimationFrames, float delayPerUnit, unsigned int loops) {
  CCAnimation* p = new CCAnimation();
  return ccAutoreleaseIfInit(p, p->initWithAnimationFrames(arrayOfAnimationFrames, delayPerUnit, loops));
}

bool CCAnimation::init() { return initWithSpriteFrames(0, 0.0f); }

bool CCAnimation::initWithSpriteFrames(CCArray* pFrames, float delay) {
  m_uLoops = 1;
  m_fDelayPerUnit = delay;
  setFrames(CCArray::create());
  CCObject* o = 0;
  CCARRAY_FOREACH(pFrames, o) {
    CCSpriteFrame* frame = dynamic_cast<CCSpriteFrame*>(o);
    if (frame) addSpriteFrame(frame);
  }
  return true;
}

bool CCAnimation::initWithAnimationFrames(CCArray* arrayOfAnimationFrames, float delayPerUnit, unsigned int loops) {
  m_fDelayPerUnit = delayPerUnit;
  m_uLoops = loops;
  m_fTotalDelayUnits = 0;
  CCArray* frames = CCArray::create();
  CCObject* o = 0;
  CCARRAY_FOREACH(arrayOfAnimationFrames, o) {
    CCAnimationFrame* f = dynamic_cast<CCAnimationFrame*>(o);
    if (!f) continue;
    frames->addObject(f);
    m_fTotalDelayUnits += f->getDelayUnits();
  }
  setFrames(frames);
  return true;
}

void CCAnimation::setFrames(CCArray* frames) {
  ccSetRetained(m_pFrames, frames);
}

void CCAnimation::addSpriteFrame(CCSpriteFrame* pFrame) {
  if (!pFrame) return;
  CCAnimationFrame* f = new CCAnimationFrame();
  f->initWithSpriteFrame(pFrame, 1.0f, 0);
  m_pFrames->addObject(f);
  f->release();
  m_fTotalDelayUnits += 1;
}

void CCAnimation::addSpriteFrameWithFileName(const char* pszFileName) {
  CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(pszFileName);
  if (!texture) {
    CCLOGERROR("CCAnimation: cannot load %s", pszFileName ? pszFileName : "");
    return;
  }
  CCRect rect(0, 0, texture->getContentSize().width, texture->getContentSize().height);
  addSpriteFrame(CCSpriteFrame::createWithTexture(texture, rect));
}

void CCAnimation::addSpriteFrameWithTexture(CCTexture2D* pobTexture, const CCRect& rect) {
  addSpriteFrame(CCSpriteFrame::createWithTexture(pobTexture, rect));
}

CCObject* CCAnimation::copyWithZone(CCZone* pZone) {
  CCAnimation* copy = (pZone && pZone->m_pCopyObject) ? (CCAnimation*)pZone->m_pCopyObject : new CCAnimation();
  CCArray* frames = (CCArray*)m_pFrames->copy();
  copy->initWithAnimationFrames(frames, m_fDelayPerUnit, m_uLoops);
  copy->setRestoreOriginalFrame(m_bRestoreOriginalFrame);
  frames->release();
  return copy;
}

NS_CC_END
