#include "CCSpriteFrameCache.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "CCArray.h"
#include "CCCommon.h"
#include "CCDictionary.h"
#include "CCFileUtils.h"
#include "CCSpriteFrame.h"
#include "CCString.h"
#include "CCTexture2D.h"
#include "CCTextureCache.h"
#include "ccRetainedMap.h"

NS_CC_BEGIN

namespace {

CCSpriteFrameCache* s_sharedSpriteFrameCache = nullptr;

// The numbers of a "{{x,y},{w,h}}" or "{x,y}" text, in order.
std::vector<float> numbersOf(const char* text) {
  std::vector<float> out;
  const char* p = text ? text : "";
  while (*p) {
    if ((*p >= '0' && *p <= '9') || *p == '-' || *p == '+' || *p == '.') {
      char* end = nullptr;
      float v = std::strtof(p, &end);
      if (end == p) {
        ++p;
        continue;
      }
      out.push_back(v);
      p = end;
    } else {
      ++p;
    }
  }
  return out;
}

bool parsePoint(const CCString* s, CCPoint* out) {
  std::vector<float> n = numbersOf(s ? s->getCString() : "");
  if (n.size() != 2) return false;
  *out = CCPoint(n[0], n[1]);
  return true;
}

bool parseSize(const CCString* s, CCSize* out) {
  std::vector<float> n = numbersOf(s ? s->getCString() : "");
  if (n.size() != 2) return false;
  *out = CCSize(n[0], n[1]);
  return true;
}

bool parseRect(const CCString* s, CCRect* out) {
  std::vector<float> n = numbersOf(s ? s->getCString() : "");
  if (n.size() != 4) return false;
  *out = CCRect(n[0], n[1], n[2], n[3]);
  return true;
}

std::string withPngExtension(const std::string& plist) {
  size_t dot = plist.find_last_of('.');
  size_t slash = plist.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return plist + ".png";
  return plist.substr(0, dot) + ".png";
}

}  // namespace

CCSpriteFrameCache* CCSpriteFrameCache::sharedSpriteFrameCache() {
  if (!s_sharedSpriteFrameCache) s_sharedSpriteFrameCache = new CCSpriteFrameCache();
  return s_sharedSpriteFrameCache;
}

void CCSpriteFrameCache::purgeSharedSpriteFrameCache() { CC_SAFE_RELEASE_NULL(s_sharedSpriteFrameCache); }

CCSpriteFrameCache::~CCSpriteFrameCache() { removeSpriteFrames(); }

void CCSpriteFrameCache::applySheetTexParameters(CCTexture2D* texture) {
  if (!texture) return;
  ccTexParams params = {GL_NEAREST, GL_NEAREST, GL_REPEAT, GL_REPEAT};
  texture->setTexParameters(&params);
}

void CCSpriteFrameCache::addSpriteFramesWithDictionary(CCDictionary* dictionary,
                                                       CCTexture2D* texture) {
  if (!dictionary || !texture) return;
  CCDictionary* metadata = dynamic_cast<CCDictionary*>(dictionary->objectForKey("metadata"));
  CCDictionary* frames = dynamic_cast<CCDictionary*>(dictionary->objectForKey("frames"));
  if (!frames) {
    CCLogWarning("CCSpriteFrameCache: the sheet has no frames");
    return;
  }
  int format = metadata ? metadata->valueForKey("format")->intValue() : 0;
  if (format < 0 || format > 3) {
    CCLogError("CCSpriteFrameCache: unsupported sheet format %d", format);
    return;
  }
  CCDictElement* element = nullptr;
  CCDICT_FOREACH(frames, element) {
    CCDictionary* f = dynamic_cast<CCDictionary*>(element->getObject());
    const char* name = element->getStrKey();
    if (!f) continue;
    if (m_frames.count(name)) continue;  // the first sheet to define a name keeps it
    CCRect rect;
    CCPoint offset;
    CCSize original;
    bool rotated = false;
    bool ok = true;
    if (format == 0) {
      rect = CCRect(f->valueForKey("x")->floatValue(), f->valueForKey("y")->floatValue(),
                    f->valueForKey("width")->floatValue(), f->valueForKey("height")->floatValue());
      offset = CCPoint(f->valueForKey("offsetX")->floatValue(), f->valueForKey("offsetY")->floatValue());
      // Taken as floats: the magnitude of the smallest int is no int.
      original = CCSize(std::fabs(static_cast<float>(f->valueForKey("originalWidth")->intValue())),
                        std::fabs(static_cast<float>(f->valueForKey("originalHeight")->intValue())));
    } else if (format == 1 || format == 2) {
      ok = parseRect(f->valueForKey("frame"), &rect) && parsePoint(f->valueForKey("offset"), &offset) &&
           parseSize(f->valueForKey("sourceSize"), &original);
      if (format == 2) rotated = f->valueForKey("rotated")->boolValue();
    } else {
      CCSize spriteSize;
      CCRect textureRect;
      ok = parseSize(f->valueForKey("spriteSize"), &spriteSize) &&
           parsePoint(f->valueForKey("spriteOffset"), &offset) &&
           parseSize(f->valueForKey("spriteSourceSize"), &original) &&
           parseRect(f->valueForKey("textureRect"), &textureRect);
      rotated = f->valueForKey("textureRotated")->boolValue();
      rect = CCRect(textureRect.origin.x, textureRect.origin.y, spriteSize.width, spriteSize.height);
      CCArray* aliases = dynamic_cast<CCArray*>(f->objectForKey("aliases"));
      if (ok && aliases) {
        for (unsigned int i = 0; i < aliases->count(); ++i) {
          CCString* alias = dynamic_cast<CCString*>(aliases->objectAtIndex(i));
          if (!alias) continue;
          if (m_aliases.count(alias->getCString()))
            CCLogWarning("cocos2d: WARNING: an alias with name %s already exists", alias->getCString());
          m_aliases[alias->getCString()] = name;
        }
      }
    }
    if (!ok || rect.size.width < 0 || rect.size.height < 0) {
      CCLogWarning("CCSpriteFrameCache: frame %s is malformed and was skipped", name);
      continue;
    }
    CCSpriteFrame* frame = new CCSpriteFrame();
    frame->initWithTexture(texture, rect, rotated, offset, original);
    m_frames[name] = frame;  // the cache keeps the reference of new
  }
}

void CCSpriteFrameCache::addSpriteFramesWithFile(const char* plist, CCTexture2D* texture) {
  if (!plist || !texture) return;
  std::string path = CCFileUtils::sharedFileUtils()->fullPathForFilename(plist);
  CCDictionary* dict = CCDictionary::createWithContentsOfFileThreadSafe(path.c_str());
  if (!dict) {
    CCLogError("CCSpriteFrameCache: cannot read %s", plist);
    return;
  }
  applySheetTexParameters(texture);
  addSpriteFramesWithDictionary(dict, texture);
  dict->release();
}

void CCSpriteFrameCache::addSpriteFramesWithFile(const char* plist, const char* textureFileName) {
  if (!plist || !textureFileName) return;
  CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(textureFileName);
  if (!texture) {
    CCLogError("CCSpriteFrameCache: Couldn't load texture");
    return;
  }
  addSpriteFramesWithFile(plist, texture);
}

void CCSpriteFrameCache::addSpriteFramesWithFile(const char* plist) {
  if (!plist || !*plist) return;
  if (m_loadedFileNames.count(plist)) return;
  CCFileUtils* files = CCFileUtils::sharedFileUtils();
  std::string path = files->fullPathForFilename(plist);
  CCDictionary* dict = CCDictionary::createWithContentsOfFileThreadSafe(path.c_str());
  if (!dict) {
    CCLogError("CCSpriteFrameCache: cannot read %s", plist);
    return;
  }
  std::string texturePath;
  CCDictionary* metadata = dynamic_cast<CCDictionary*>(dict->objectForKey("metadata"));
  if (metadata) texturePath = metadata->valueForKey("textureFileName")->getCString();
  if (!texturePath.empty()) {
    texturePath = files->fullPathFromRelativeFile(texturePath.c_str(), path.c_str());
  } else {
    texturePath = withPngExtension(path);
  }
  CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(texturePath.c_str());
  if (texture) {
    applySheetTexParameters(texture);
    addSpriteFramesWithDictionary(dict, texture);
    m_loadedFileNames.insert(plist);
  } else {
    CCLogError("CCSpriteFrameCache: Couldn't load texture");
  }
  dict->release();
}

void CCSpriteFrameCache::addSpriteFrame(CCSpriteFrame* frame, const char* name) {
  if (!frame || !name) return;
  frame->retain();
  auto it = m_frames.find(name);
  if (it != m_frames.end()) {
    it->second->release();
    it->second = frame;
  } else {
    m_frames[name] = frame;
  }
}

void CCSpriteFrameCache::removeSpriteFrames() {
  for (auto& entry : m_frames) entry.second->release();
  m_frames.clear();
  m_aliases.clear();
  m_loadedFileNames.clear();
}

void CCSpriteFrameCache::removeUnusedSpriteFrames() {
  unsigned int removed =
      ccReleaseEntriesIf(m_frames, [](const auto& entry) { return entry.second->retainCount() == 1; });
  // A sheet that lost frames is read again when asked for.
  if (removed) m_loadedFileNames.clear();
}

void CCSpriteFrameCache::removeSpriteFrameByName(const char* name) {
  if (!name) return;
  std::string key = name;
  auto alias = m_aliases.find(key);
  if (alias != m_aliases.end()) {
    key = alias->second;
    m_aliases.erase(alias);
  }
  ccReleaseEntry(m_frames, key);
  m_loadedFileNames.clear();
}

void CCSpriteFrameCache::removeSpriteFramesFromFile(const char* plist) {
  if (!plist) return;
  std::string path = CCFileUtils::sharedFileUtils()->fullPathForFilename(plist);
  CCDictionary* dict = CCDictionary::createWithContentsOfFileThreadSafe(path.c_str());
  if (!dict) return;
  CCDictionary* frames = dynamic_cast<CCDictionary*>(dict->objectForKey("frames"));
  if (frames) {
    CCDictElement* element = nullptr;
    CCDICT_FOREACH(frames, element) { ccReleaseEntry(m_frames, std::string(element->getStrKey())); }
  }
  m_loadedFileNames.erase(plist);
  dict->release();
}

void CCSpriteFrameCache::removeSpriteFramesFromTexture(CCTexture2D* texture) {
  ccReleaseEntriesIf(m_frames, [texture](const auto& entry) { return entry.second->getTexture() == texture; });
}

CCSpriteFrame* CCSpriteFrameCache::spriteFrameByName(const char* name) {
  if (!name) return nullptr;
  auto it = m_frames.find(name);
  if (it == m_frames.end()) {
    auto alias = m_aliases.find(name);
    if (alias != m_aliases.end()) it = m_frames.find(alias->second);
  }
  if (it == m_frames.end()) {
    CCLogWarning("cocos2d: CCSpriteFrameCache: Frame '%s' not found", name);
    return nullptr;
  }
  return it->second;
}

NS_CC_END
