// Sprite-sheet and animation dictionaries: frames read onto a texture and shown by a sprite,
// animations built from them.
#include "CCAnimationCache.h"
#include "CCAutoreleasePool.h"
#include "CCDictionary.h"
#include "CCPlistParser.h"
#include "CCSprite.h"
#include "CCSpriteFrameCache.h"
#include "CCTexture2D.h"
#include "CCTextureCache.h"
#include "FuzzSupport.h"

using namespace cocos2d;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CCDictionary* dict = CCPlistParser::dictionaryWithData(reinterpret_cast<const char*>(data),
                                                         static_cast<unsigned int>(size), "fuzz.plist");
  if (!dict) return 0;
  static const unsigned char pixels[4 * 4 * 4] = {};
  CCTexture2D* texture = new CCTexture2D();
  texture->initWithData(pixels, kCCTexture2DPixelFormat_RGBA8888, 4, 4, CCSize(4, 4));
  CCSpriteFrameCache* frames = CCSpriteFrameCache::sharedSpriteFrameCache();
  frames->addSpriteFramesWithDictionary(dict, texture);
  if (CCDictionary* list = dynamic_cast<CCDictionary*>(dict->objectForKey("frames"))) {
    CCDictElement* element = nullptr;
    CCDICT_FOREACH(list, element) {
      if (CCSpriteFrame* frame = frames->spriteFrameByName(element->getStrKey()))
        CCSprite::createWithSpriteFrame(frame);
    }
  }
  CCAnimationCache::sharedAnimationCache()->addAnimationsWithDictionary(dict);
  CCAnimationCache::purgeSharedAnimationCache();
  frames->removeSpriteFrames();
  texture->release();
  dict->release();
  CCPoolManager::sharedPoolManager()->pop();
  CCTextureCache::sharedTextureCache()->removeAllTextures();
  return 0;
}
