#include "CCAnimationCache.h"

#include "CCAnimation.h"
#include "CCSpriteFrame.h"
#include "CCSpriteFrameCache.h"

NS_CC_BEGIN

static CCAnimationCache* s_sharedAnimationCache = 0;

CCAnimationCache* CCAnimationCache::sharedAnimationCache() {
  if (!s_sharedAnimationCache) s_sharedAnimationCache = new CCAnimationCache();
  return s_sharedAnimationCache;
}

void CCAnimationCache::purgeSharedAnimationCache() { CC_SAFE_RELEASE_NULL(s_sharedAnimationCache); }

CCAnimationCache::CCAnimationCache() : m_pAnimations(new CCDictionary()) {}
CCAnimationCache::~CCAnimationCache() { CC_SAFE_RELEASE(m_pAnimations); }

void CCAnimationCache::addAnimation(CCAnimation* animation, const char* name) {
  if (!animation || !name) return;
  m_pAnimations->setObject(animation, std::string(name));
}

void CCAnimationCache::removeAnimationByName(const char* name) {
  if (name) m_pAnimations->removeObjectForKey(std::string(name));
}

CCAnimation* CCAnimationCache::animationByName(const char* name) {
  if (!name) return 0;
  return static_cast<CCAnimation*>(m_pAnimations->objectForKey(std::string(name)));
}

void CCAnimationCache::parseVersion1(CCDictionary* animations) {
  CCSpriteFrameCache* frameCache = CCSpriteFrameCache::sharedSpriteFrameCache();
  CCDictElement* el = 0;
  CCDICT_FOREACH(animations, el) {
    CCDictionary* anim = dynamic_cast<CCDictionary*>(el->getObject());
    if (!anim) continue;
    CCArray* names = dynamic_cast<CCArray*>(anim->objectForKey("frames"));
    float delay = anim->valueForKey("delay")->floatValue();
    if (!names) {
      CCLOGWARN("CCAnimationCache: animation %s has no frames", el->getStrKey());
      continue;
    }
    CCArray* frames = CCArray::createWithCapacity(names->count());
    CCObject* o = 0;
    CCARRAY_FOREACH(names, o) {
      CCString* name = dynamic_cast<CCString*>(o);
      CCSpriteFrame* sf = name ? frameCache->spriteFrameByName(name->getCString()) : 0;
      if (!sf) {
        CCLOGWARN("CCAnimationCache: animation %s refers to a missing frame", el->getStrKey());
        continue;
      }
      CCAnimationFrame* f = new CCAnimationFrame();
      f->initWithSpriteFrame(sf, 1, 0);
      frames->addObject(f);
      f->release();
    }
    if (frames->count() == 0) continue;
    addAnimation(CCAnimation::create(frames, delay, 1), el->getStrKey());
  }
}

void CCAnimationCache::parseVersion2(CCDictionary* animations) {
  CCSpriteFrameCache* frameCache = CCSpriteFrameCache::sharedSpriteFrameCache();
  CCDictElement* el = 0;
  CCDICT_FOREACH(animations, el) {
    CCDictionary* anim = dynamic_cast<CCDictionary*>(el->getObject());
    if (!anim) continue;
    CCArray* list = dynamic_cast<CCArray*>(anim->objectForKey("frames"));
    if (!list) {
      CCLOGWARN("CCAnimationCache: animation %s has no frames", el->getStrKey());
      continue;
    }
    const CCString* loopsText = anim->valueForKey("loops");
    unsigned int loops = loopsText->length() ? (unsigned int)loopsText->intValue() : 1;
    bool restore = anim->valueForKey("restoreOriginalFrame")->boolValue();
    CCArray* frames = CCArray::createWithCapacity(list->count());
    CCObject* o = 0;
    CCARRAY_FOREACH(list, o) {
      CCDictionary* entry = dynamic_cast<CCDictionary*>(o);
      if (!entry) continue;
      const char* name = entry->valueForKey("spriteframe")->getCString();
      CCSpriteFrame* sf = frameCache->spriteFrameByName(name);
      if (!sf) {
        CCLOGWARN("CCAnimationCache: animation %s refers to missing frame %s", el->getStrKey(), name);
        continue;
      }
      CCAnimationFrame* f = new CCAnimationFrame();
      f->initWithSpriteFrame(sf, entry->valueForKey("delayUnits")->floatValue(),
                             dynamic_cast<CCDictionary*>(entry->objectForKey("notification")));
      frames->addObject(f);
      f->release();
    }
    CCAnimation* animation = CCAnimation::create(frames, anim->valueForKey("delayPerUnit")->floatValue(), loops);
    animation->setRestoreOriginalFrame(restore);
    addAnimation(animation, el->getStrKey());
  }
}

void CCAnimationCache::addAnimationsWithDictionary(CCDictionary* dictionary) {
  if (!dictionary) return;
  CCDictionary* animations = dynamic_cast<CCDictionary*>(dictionary->objectForKey("animations"));
  if (!animations) {
    CCLOGERROR("CCAnimationCache: no animations found");
    return;
  }
  int version = 1;
  if (CCDictionary* props = dynamic_cast<CCDictionary*>(dictionary->objectForKey("properties"))) {
    version = props->valueForKey("format")->intValue();
    CCArray* sheets = dynamic_cast<CCArray*>(props->objectForKey("spritesheets"));
    CCObject* o = 0;
    CCARRAY_FOREACH(sheets, o) {
      if (CCString* s = dynamic_cast<CCString*>(o)) {
        CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile(s->getCString());
      }
    }
  }
  if (version == 1) parseVersion1(animations);
  else if (version == 2) parseVersion2(animations);
  else CCLOGERROR("CCAnimationCache: unsupported format %d", version);
}

void CCAnimationCache::addAnimationsWithFile(const char* plist) {
  CCDictionary* dict = CCDictionary::createWithContentsOfFile(plist);
  if (!dict) {
    CCLOGERROR("CCAnimationCache: cannot read %s", plist ? plist : "");
    return;
  }
  addAnimationsWithDictionary(dict);
}

NS_CC_END
