#include "CCTextureCache.h"

#include "CCFileUtils.h"
#include "CCImage.h"
#include "ccRetainedMap.h"

// This file's messages are filed under their own group.
#undef LOGOG_GROUP
#define LOGOG_GROUP "texture_cache"
#include "logog/logog.hpp"

NS_CC_BEGIN

namespace {
CCTextureCache* s_sharedTextureCache = nullptr;
}

CCTextureCache* CCTextureCache::sharedTextureCache() {
  if (!s_sharedTextureCache) s_sharedTextureCache = new CCTextureCache();
  return s_sharedTextureCache;
}

void CCTextureCache::purgeSharedTextureCache() { CC_SAFE_RELEASE_NULL(s_sharedTextureCache); }

CCTextureCache::~CCTextureCache() { removeAllTextures(); }

std::string CCTextureCache::keyFor(const char* path) {
  return CCFileUtils::sharedFileUtils()->fullPathForFilename(path);
}

CCTexture2D* CCTextureCache::addImage(const char* path) {
  if (!path || !*path) {
    LOGOG_ERROR("TextureCache: fileimage MUST not be empty");
    return nullptr;
  }
  std::string key = keyFor(path);
  auto it = m_textures.find(key);
  if (it != m_textures.end()) return it->second;

  CCImage* image = new CCImage();
  CCTexture2D* texture = nullptr;
  if (image->initWithImageFile(key.c_str())) {
    texture = new CCTexture2D();
    if (texture->initWithImage(image)) {
      m_textures[key] = texture;  // the cache keeps the reference of new
    } else {
      texture->release();
      texture = nullptr;
    }
  }
  image->release();
  if (!texture) LOGOG_ERROR("cocos2d: Couldn't add image:%s in CCTextureCache", path);
  return texture;
}

CCTexture2D* CCTextureCache::addUIImage(CCImage* image, const char* key) {
  if (!image) return nullptr;
  std::string k = key ? keyFor(key) : std::string();
  if (key) {
    auto it = m_textures.find(k);
    if (it != m_textures.end()) return it->second;
  }
  CCTexture2D* texture = new CCTexture2D();
  if (!texture->initWithImage(image)) {
    texture->release();
    LOGOG_ERROR("cocos2d: Couldn't add UIImage in TextureCache");
    return nullptr;
  }
  if (key) {
    m_textures[k] = texture;
  } else {
    texture->autorelease();
  }
  return texture;
}

CCTexture2D* CCTextureCache::textureForKey(const char* key) {
  if (!key) return nullptr;
  auto it = m_textures.find(keyFor(key));
  return it == m_textures.end() ? nullptr : it->second;
}

void CCTextureCache::removeAllTextures() {
  for (auto& entry : m_textures) entry.second->release();
  m_textures.clear();
}

void CCTextureCache::removeUnusedTextures() {
  ccReleaseEntriesIf(m_textures, [](const auto& entry) {
    if (entry.second->retainCount() != 1) return false;
    LOGOG_DEBUG("cocos2d: CCTextureCache: removing unused texture: %s", entry.first.c_str());
    return true;
  });
}

void CCTextureCache::removeTexture(CCTexture2D* texture) {
  if (!texture) return;
  ccReleaseEntriesIf(m_textures, [texture](const auto& entry) { return entry.second == texture; });
}

void CCTextureCache::removeTextureForKey(const char* key) {
  if (!key) return;
  ccReleaseEntry(m_textures, keyFor(key));
}

void CCTextureCache::dumpCachedTextureInfo() {
  unsigned int bytes = 0;
  for (auto& entry : m_textures) {
    CCTexture2D* t = entry.second;
    unsigned int b = t->getPixelsWide() * t->getPixelsHigh() * t->bitsPerPixelForFormat() / 8;
    bytes += b;
    LOGOG_INFO("cocos2d: \"%s\" rc=%u id=%u %u x %u @ %u bpp => %u KB", entry.first.c_str(),
               t->retainCount(), t->getName(), t->getPixelsWide(), t->getPixelsHigh(),
               t->bitsPerPixelForFormat(), b / 1024);
  }
  LOGOG_INFO("cocos2d: CCTextureCache dumpDebugInfo: %u textures, for %u KB (%.2f MB)",
             count(), bytes / 1024, bytes / (1024.0f * 1024.0f));
}

NS_CC_END
