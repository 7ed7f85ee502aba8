#pragma once

#include <map>
#include <set>
#include <string>

#include "CCObject.h"

NS_CC_BEGIN

class CCDictionary;
class CCSpriteFrame;
class CCTexture2D;

// Sprite frames by name, read from sprite-sheet property lists (formats 0 to 3).
// Sheet textures are drawn unsmoothed (nearest filtering) and wrap by repeating.
class CCSpriteFrameCache : public CCObject {
 public:
  static CCSpriteFrameCache* sharedSpriteFrameCache();
  static void purgeSharedSpriteFrameCache();

  virtual ~CCSpriteFrameCache();

  // The texture is the sheet's "textureFileName" (beside the plist), else the plist's
  // name with ".png". A plist that was read before is not read again.
  void addSpriteFramesWithFile(const char* plist);
  void addSpriteFramesWithFile(const char* plist, const char* textureFileName);
  void addSpriteFramesWithFile(const char* plist, CCTexture2D* texture);
  void addSpriteFramesWithDictionary(CCDictionary* dictionary, CCTexture2D* texture);
  void addSpriteFrame(CCSpriteFrame* frame, const char* name);

  void removeSpriteFrames();
  void removeUnusedSpriteFrames();
  void removeSpriteFrameByName(const char* name);
  void removeSpriteFramesFromFile(const char* plist);
  void removeSpriteFramesFromTexture(CCTexture2D* texture);

  // The frame, or null (logged) when no sheet defines the name.
  CCSpriteFrame* spriteFrameByName(const char* name);
  unsigned int count() const { return static_cast<unsigned int>(m_frames.size()); }

  // Texture parameters every sheet texture gets.
  static void applySheetTexParameters(CCTexture2D* texture);

 private:
  CCSpriteFrameCache() {}
  std::map<std::string, CCSpriteFrame*> m_frames;
  std::map<std::string, std::string> m_aliases;
  std::set<std::string> m_loadedFileNames;
};

NS_CC_END
