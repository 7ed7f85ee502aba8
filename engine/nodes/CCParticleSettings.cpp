#include "CCParticleSettings.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "CCDictionary.h"
#include "CCNumbers.h"
#include "CCString.h"
#include "ZipUtils.h"
#include "base64.h"

NS_CC_BEGIN

namespace {

// Largest decoded embedded image (bytes).
const unsigned int kMaxImageBytes = 16 * 1024 * 1024;

float number(CCDictionary* d, const char* key, float fallback = 0.f) {
  const CCString* s = d->valueForKey(key);
  if (!s || s->length() == 0) return fallback;
  float v = s->floatValue();
  return std::isfinite(v) ? v : fallback;
}

bool has(CCDictionary* d, const char* key) {
  const CCString* s = d->valueForKey(key);
  return s && s->length() > 0;
}

ccColor4F color(CCDictionary* d, const char* prefix) {
  std::string p(prefix);
  return ccc4f(number(d, (p + "Red").c_str()), number(d, (p + "Green").c_str()),
               number(d, (p + "Blue").c_str()), number(d, (p + "Alpha").c_str()));
}

}  // namespace

bool ccParticleSettingsFromDictionary(CCDictionary* d, const char* name,
                                      ccParticleSettings& o) {
  if (!name) name = "(particles)";
  if (!d) {
    CCLOGERROR("particles %s: no definition", name);
    return false;
  }
  if (!has(d, "maxParticles")) {
    CCLOGERROR("particles %s: no maxParticles", name);
    return false;
  }
  float maxParticles = number(d, "maxParticles");
  if (maxParticles < 1 || maxParticles > ccParticleSettings::kMaxParticles) {
    CCLOGERROR("particles %s: maxParticles %g out of range", name, maxParticles);
    return false;
  }
  o.maxParticles = static_cast<unsigned int>(maxParticles);
  o.angle = number(d, "angle");
  o.angleVar = number(d, "angleVariance");
  o.duration = number(d, "duration");
  if (has(d, "blendFuncSource")) o.blendFunc.src = d->valueForKey("blendFuncSource")->intValue();
  if (has(d, "blendFuncDestination"))
    o.blendFunc.dst = d->valueForKey("blendFuncDestination")->intValue();
  o.startColor = color(d, "startColor");
  o.startColorVar = color(d, "startColorVariance");
  o.endColor = color(d, "finishColor");
  o.endColorVar = color(d, "finishColorVariance");
  o.startSize = number(d, "startParticleSize");
  o.startSizeVar = number(d, "startParticleSizeVariance");
  o.endSize = number(d, "finishParticleSize", -1.f);
  o.endSizeVar = number(d, "finishParticleSizeVariance");
  o.sourcePosition = CCPoint(number(d, "sourcePositionx"), number(d, "sourcePositiony"));
  o.posVar = CCPoint(number(d, "sourcePositionVariancex"), number(d, "sourcePositionVariancey"));
  o.startSpin = number(d, "rotationStart");
  o.startSpinVar = number(d, "rotationStartVariance");
  o.endSpin = number(d, "rotationEnd");
  o.endSpinVar = number(d, "rotationEndVariance");
  o.emitterMode = ccClampToInt(number(d, "emitterType"));
  if (o.emitterMode == kCCParticleModeGravity) {
    o.gravity = CCPoint(number(d, "gravityx"), number(d, "gravityy"));
    o.speed = number(d, "speed");
    o.speedVar = number(d, "speedVariance");
    o.radialAccel = number(d, "radialAcceleration");
    o.radialAccelVar = number(d, "radialAccelVariance");
    o.tangentialAccel = number(d, "tangentialAcceleration");
    o.tangentialAccelVar = number(d, "tangentialAccelVariance");
    const CCString* dir = d->valueForKey("rotationIsDir");
    o.rotationIsDir = dir && (std::strcmp(dir->getCString(), "true") == 0 || dir->intValue() != 0);
  } else if (o.emitterMode == kCCParticleModeRadius) {
    o.startRadius = number(d, "maxRadius");
    o.startRadiusVar = number(d, "maxRadiusVariance");
    o.endRadius = number(d, "minRadius");
    o.endRadiusVar = 0;
    o.rotatePerSecond = number(d, "rotatePerSecond");
    o.rotatePerSecondVar = number(d, "rotatePerSecondVariance");
  } else {
    CCLOGERROR("particles %s: unknown emitterType %d", name, o.emitterMode);
    return false;
  }
  o.life = number(d, "particleLifespan");
  o.lifeVar = number(d, "particleLifespanVariance");
  if (o.life < 0) o.life = 0;
  o.emissionRate = o.life > 0 ? o.maxParticles / o.life : static_cast<float>(o.maxParticles);
  const CCString* tex = d->valueForKey("textureFileName");
  o.textureFileName = tex ? tex->getCString() : "";
  const CCString* data = d->valueForKey("textureImageData");
  o.textureImageData = data ? data->getCString() : "";
  return true;
}

bool ccParticleDecodeImageData(const std::string& text, std::vector<unsigned char>& out) {
  out.clear();
  if (text.empty()) return false;
  // Plists wrap long base64 text over lines; the decoder wants it in one piece.
  std::string packed;
  packed.reserve(text.size());
  for (char c : text)
    if (c != '\n' && c != '\r' && c != ' ' && c != '\t') packed += c;
  unsigned char* decoded = nullptr;
  int len = base64Decode(reinterpret_cast<const unsigned char*>(packed.data()),
                         static_cast<unsigned int>(packed.size()), &decoded);
  if (len <= 0 || !decoded) {
    free(decoded);
    return false;
  }
  bool gzip = len >= 2 && decoded[0] == 0x1f && decoded[1] == 0x8b;
  bool zlib = len >= 2 && decoded[0] == 0x78;
  if (gzip || zlib) {
    unsigned char* inflated = nullptr;
    int n = ccInflateMemoryWithHint(decoded, static_cast<unsigned int>(len), &inflated,
                                    256 * 1024);
    free(decoded);
    if (n <= 0 || !inflated || static_cast<unsigned int>(n) > kMaxImageBytes) {
      free(inflated);
      return false;
    }
    out.assign(inflated, inflated + n);
    free(inflated);
  } else {
    out.assign(decoded, decoded + len);
    free(decoded);
  }
  return true;
}

NS_CC_END
