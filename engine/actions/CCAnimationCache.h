#pragma once

#include <string>

#include "CCDictionary.h"

NS_CC_BEGIN

class CCAnimation;

// Animations by name; can be filled from an animation plist (format 1: frame names and a
// delay; format 2: frames with delay units, delay per unit, loops, restore flag).
class CCAnimationCache : public CCObject {
 public:
  CCAnimationCache();
  ~CCAnimationCache();
  static CCAnimationCache* sharedAnimationCache();
  static void purgeSharedAnimationCache();

  void addAnimation(CCAnimation* animation, const char* name);
  void removeAnimationByName(const char* name);
  CCAnimation* animationByName(const char* name);
  void addAnimationsWithDictionary(CCDictionary* dictionary);
  // Null-safe: a missing or malformed file is logged and adds nothing.
  void addAnimationsWithFile(const char* plist);

 private:
  void parseVersion1(CCDictionary* animations);
  void parseVersion2(CCDictionary* animations);
  CCDictionary* m_pAnimations;
};

NS_CC_END
