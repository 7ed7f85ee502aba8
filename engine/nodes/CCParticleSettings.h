#pragma once

#include <string>
#include <vector>

#include "CCGeometry.h"
#include "ccTypes.h"

NS_CC_BEGIN

class CCDictionary;

enum {
  kCCParticleModeGravity = 0,
  kCCParticleModeRadius = 1,
};

// Everything a particle definition (.plist) says about an emitter, read and checked before a
// particle system uses it.
struct ccParticleSettings {
  // Largest particle count accepted from a file.
  static const int kMaxParticles = 10000;

  unsigned int maxParticles = 0;
  float angle = 0, angleVar = 0;
  float duration = 0;
  ccBlendFunc blendFunc = {1, 0x0303};  // GL_ONE, GL_ONE_MINUS_SRC_ALPHA
  ccColor4F startColor = {0, 0, 0, 0}, startColorVar = {0, 0, 0, 0};
  ccColor4F endColor = {0, 0, 0, 0}, endColorVar = {0, 0, 0, 0};
  float startSize = 0, startSizeVar = 0, endSize = 0, endSizeVar = 0;
  CCPoint sourcePosition, posVar;
  float startSpin = 0, startSpinVar = 0, endSpin = 0, endSpinVar = 0;
  int emitterMode = kCCParticleModeGravity;
  // gravity mode
  CCPoint gravity;
  float speed = 0, speedVar = 0;
  float radialAccel = 0, radialAccelVar = 0;
  float tangentialAccel = 0, tangentialAccelVar = 0;
  bool rotationIsDir = false;
  // radius mode
  float startRadius = 0, startRadiusVar = 0, endRadius = 0, endRadiusVar = 0;
  float rotatePerSecond = 0, rotatePerSecondVar = 0;
  float life = 0, lifeVar = 0;
  float emissionRate = 0;

  std::string textureFileName;          // as stored
  std::string textureImageData;         // base64 of a gzip'ed or plain image, as stored
};

// Reads a particle definition. False (logged) when the dictionary lacks what an emitter needs
// or holds values no emitter can use; name is used in log lines.
bool ccParticleSettingsFromDictionary(CCDictionary* dict, const char* name,
                                      ccParticleSettings& out);

// Decodes embedded image bytes (base64, then gunzip when compressed). False on bad data or
// an image bigger than the limit.
bool ccParticleDecodeImageData(const std::string& base64, std::vector<unsigned char>& out);

NS_CC_END
