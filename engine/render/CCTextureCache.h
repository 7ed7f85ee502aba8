#pragma once

#include <map>
#include <string>

#include "CCObject.h"
#include "CCTexture2D.h"

NS_CC_BEGIN

class CCImage;

// Textures by full path: a picture is decoded and uploaded once.
class CCTextureCache : public CCObject {
 public:
  static CCTextureCache* sharedTextureCache();
  static void purgeSharedTextureCache();

  virtual ~CCTextureCache();

  // The cached texture for the file, loading it on first use; null (logged) when it
  // cannot be read or decoded.
  CCTexture2D* addImage(const char* path);
  // A texture for an already decoded image, cached under key when one is given.
  CCTexture2D* addUIImage(CCImage* image, const char* key);
  CCTexture2D* textureForKey(const char* key);

  void removeAllTextures();
  // Drops every texture that nobody but the cache holds.
  void removeUnusedTextures();
  void removeTexture(CCTexture2D* texture);
  void removeTextureForKey(const char* key);
  void dumpCachedTextureInfo();
  unsigned int count() const { return static_cast<unsigned int>(m_textures.size()); }

 private:
  CCTextureCache() {}
  std::string keyFor(const char* path);

  std::map<std::string, CCTexture2D*> m_textures;
};

NS_CC_END
