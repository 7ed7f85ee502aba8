// Particle definitions: a plist read into settings, an emitter made from it and run a while.
#include <vector>

#include "CCDictionary.h"
#include "CCParticleSettings.h"
#include "CCParticleSystemQuad.h"
#include "CCPlistParser.h"
#include "CCTextureCache.h"
#include "FuzzSupport.h"

using namespace cocos2d;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CCDictionary* dict = CCPlistParser::dictionaryWithData(reinterpret_cast<const char*>(data),
                                                         static_cast<unsigned int>(size), "fuzz.plist");
  if (!dict) return 0;
  ccParticleSettings settings;
  if (ccParticleSettingsFromDictionary(dict, "fuzz", settings)) {
    std::vector<unsigned char> image;
    ccParticleDecodeImageData(settings.textureImageData, image);
    CCParticleSystemQuad* emitter = new CCParticleSystemQuad();
    if (emitter->initWithDictionary(dict, "fuzz")) {
      for (float dt : {0.f, 0.016f, 0.1f, 0.5f, 2.f}) emitter->update(dt);
    }
    emitter->release();
  }
  dict->release();
  CCTextureCache::sharedTextureCache()->removeAllTextures();
  return 0;
}
