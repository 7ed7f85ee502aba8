#include "CCParticleSystem.h"

#include <algorithm>
#include <cmath>

#include "CCDictionary.h"
#include "CCFileUtils.h"
#include "CCImage.h"
#include "CCPlistParser.h"
#include "CCPointExtension.h"
#include "CCTexture2D.h"
#include "CCTextureCache.h"

NS_CC_BEGIN

namespace {

float var(float base, float spread) { return base + spread * CCRANDOM_MINUS1_1(); }
float clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }

}  // namespace

CCParticleSystem::CCParticleSystem() : m_tBlendFunc({1, 0x0303}) {}

CCParticleSystem::~CCParticleSystem() { CC_SAFE_RELEASE(m_pTexture); }

bool CCParticleSystem::initWithTotalParticles(unsigned int numberOfParticles) {
  if (!CCNode::init()) return false;
  setTotalParticles(numberOfParticles);
  m_bIsActive = true;
  m_tBlendFunc = {1, 0x0303};  // GL_ONE, GL_ONE_MINUS_SRC_ALPHA
  m_ePositionType = kCCPositionTypeFree;
  m_nEmitterMode = kCCParticleModeGravity;
  m_bIsAutoRemoveOnFinish = false;
  // Updates are scheduled while the system is in a running scene (onEnter / onExit).
  return true;
}

void CCParticleSystem::setTotalParticles(unsigned int total) {
  if (total > static_cast<unsigned int>(ccParticleSettings::kMaxParticles)) {
    CCLOGWARN("particles: %u particles asked for, %d kept", total,
              ccParticleSettings::kMaxParticles);
    total = ccParticleSettings::kMaxParticles;
  }
  m_uTotalParticles = total;
  m_particles.resize(total);
  if (m_uParticleCount > total) m_uParticleCount = total;
}

bool CCParticleSystem::initWithFile(const char* plistFile) {
  if (!plistFile) return false;
  CCDictionary* dict = CCPlistParser::dictionaryWithContentsOfFile(plistFile);
  if (!dict) {
    CCLOGERROR("particles: cannot read %s", plistFile);
    return false;
  }
  ccParticleSettings settings;
  bool ok = ccParticleSettingsFromDictionary(dict, plistFile, settings);
  dict->release();
  if (!ok) return false;
  std::string path = CCFileUtils::sharedFileUtils()->fullPathForFilename(plistFile);
  size_t slash = path.find_last_of('/');
  return initWithSettings(settings, slash == std::string::npos ? "" : path.substr(0, slash + 1));
}

bool CCParticleSystem::initWithDictionary(CCDictionary* dictionary, const char* nameForLog) {
  ccParticleSettings settings;
  if (!ccParticleSettingsFromDictionary(dictionary, nameForLog, settings)) return false;
  return initWithSettings(settings, "");
}

bool CCParticleSystem::initWithSettings(const ccParticleSettings& s,
                                        const std::string& plistFolder) {
  if (!initWithTotalParticles(s.maxParticles)) return false;
  m_fAngle = s.angle;
  m_fAngleVar = s.angleVar;
  m_fDuration = s.duration;
  m_tBlendFunc = s.blendFunc;
  m_tStartColor = s.startColor;
  m_tStartColorVar = s.startColorVar;
  m_tEndColor = s.endColor;
  m_tEndColorVar = s.endColorVar;
  m_fBaseStartAlpha = s.startColor.a;
  m_fBaseEndAlpha = s.endColor.a;
  m_fStartSize = s.startSize;
  m_fStartSizeVar = s.startSizeVar;
  m_fEndSize = s.endSize;
  m_fEndSizeVar = s.endSizeVar;
  setPosition(s.sourcePosition);
  m_tPosVar = s.posVar;
  m_fStartSpin = s.startSpin;
  m_fStartSpinVar = s.startSpinVar;
  m_fEndSpin = s.endSpin;
  m_fEndSpinVar = s.endSpinVar;
  m_nEmitterMode = s.emitterMode;
  m_mode.gravity = s.gravity;
  m_mode.speed = s.speed;
  m_mode.speedVar = s.speedVar;
  m_mode.radialAccel = s.radialAccel;
  m_mode.radialAccelVar = s.radialAccelVar;
  m_mode.tangentialAccel = s.tangentialAccel;
  m_mode.tangentialAccelVar = s.tangentialAccelVar;
  m_mode.startRadius = s.startRadius;
  m_mode.startRadiusVar = s.startRadiusVar;
  m_mode.endRadius = s.endRadius;
  m_mode.endRadiusVar = s.endRadiusVar;
  m_mode.rotatePerSecond = s.rotatePerSecond;
  m_mode.rotatePerSecondVar = s.rotatePerSecondVar;
  m_fLife = s.life;
  m_fLifeVar = s.lifeVar;
  m_fEmissionRate = s.emissionRate;

  // The texture: a file beside the definition, else the image stored inside it.
  CCTexture2D* texture = nullptr;
  CCTextureCache* cache = CCTextureCache::sharedTextureCache();
  if (!s.textureFileName.empty()) {
    std::string path = s.textureFileName[0] == '/' ? s.textureFileName
                                                   : plistFolder + s.textureFileName;
    texture = cache->textureForKey(path.c_str());
    if (!texture && CCFileUtils::sharedFileUtils()->isFileExist(
                        CCFileUtils::sharedFileUtils()->fullPathForFilename(path.c_str())))
      texture = cache->addImage(path.c_str());
    if (!texture && !s.textureImageData.empty()) {
      std::vector<unsigned char> bytes;
      CCImage* image = new CCImage();
      if (ccParticleDecodeImageData(s.textureImageData, bytes) &&
          image->initWithImageData(bytes.data(), static_cast<int>(bytes.size()))) {
        texture = cache->addUIImage(image, path.c_str());
      } else {
        CCLOGERROR("particles: the image stored for %s cannot be read", path.c_str());
      }
      image->release();
    }
  }
  if (texture) setTexture(texture);
  else CCLOGWARN("particles: no texture (%s)", s.textureFileName.c_str());
  return true;
}

void CCParticleSystem::setTexture(CCTexture2D* texture) {
  if (texture == m_pTexture) return;
  CC_SAFE_RETAIN(texture);
  CC_SAFE_RELEASE(m_pTexture);
  m_pTexture = texture;
  // A texture whose colour is premultiplied carries its alpha already: blending by the
  // source alpha again would darken every soft edge. Such systems draw with one as the
  // source factor, their particles' colours premultiplied instead.
  const unsigned int kSrcAlpha = 0x0302;
  if (texture && texture->hasPremultipliedAlpha() && m_tBlendFunc.src == kSrcAlpha) {
    m_tBlendFunc.src = 1;
    m_bPremultiplyColours = true;
  }
}

void CCParticleSystem::setBlendFunc(ccBlendFunc blendFunc) {
  m_tBlendFunc = blendFunc;
  m_bPremultiplyColours = false;
}

void CCParticleSystem::setStartColor(const ccColor4F& c) {
  m_tStartColor = c;
  m_fBaseStartAlpha = c.a;
  m_tStartColor.a = m_fBaseStartAlpha * m_cOpacity / 255.0f;
}

void CCParticleSystem::setEndColor(const ccColor4F& c) {
  m_tEndColor = c;
  m_fBaseEndAlpha = c.a;
  m_tEndColor.a = m_fBaseEndAlpha * m_cOpacity / 255.0f;
}

void CCParticleSystem::setOpacity(GLubyte opacity) {
  m_cOpacity = opacity;
  m_tStartColor.a = m_fBaseStartAlpha * opacity / 255.0f;
  m_tEndColor.a = m_fBaseEndAlpha * opacity / 255.0f;
}

void CCParticleSystem::applyLayerOpacity(GLubyte opacity) { setOpacity(opacity); }

void CCParticleSystem::onEnter() {
  CCNode::onEnter();
  scheduleUpdateWithPriority(1);
}

void CCParticleSystem::onExit() {
  unscheduleUpdate();
  CCNode::onExit();
}

void CCParticleSystem::resetSystem() {
  m_bIsActive = true;
  m_fElapsed = 0;
  for (unsigned int i = 0; i < m_uParticleCount; ++i) m_particles[i].timeToLive = 0;
}

void CCParticleSystem::stopSystem() {
  m_bIsActive = false;
  m_fElapsed = m_fDuration;
  m_fEmitCounter = 0;
}

bool CCParticleSystem::addParticle() {
  if (isFull()) return false;
  initParticle(m_particles[m_uParticleCount]);
  ++m_uParticleCount;
  return true;
}

void CCParticleSystem::initParticle(tCCParticle& p) {
  p.timeToLive = std::max(0.0f, var(m_fLife, m_fLifeVar));
  p.pos = CCPoint(m_tSourcePosition.x + m_tPosVar.x * CCRANDOM_MINUS1_1(),
                  m_tSourcePosition.y + m_tPosVar.y * CCRANDOM_MINUS1_1());
  ccColor4F start = ccc4f(clamp01(var(m_tStartColor.r, m_tStartColorVar.r)),
                          clamp01(var(m_tStartColor.g, m_tStartColorVar.g)),
                          clamp01(var(m_tStartColor.b, m_tStartColorVar.b)),
                          clamp01(var(m_tStartColor.a, m_tStartColorVar.a)));
  ccColor4F end = ccc4f(clamp01(var(m_tEndColor.r, m_tEndColorVar.r)),
                        clamp01(var(m_tEndColor.g, m_tEndColorVar.g)),
                        clamp01(var(m_tEndColor.b, m_tEndColorVar.b)),
                        clamp01(var(m_tEndColor.a, m_tEndColorVar.a)));
  p.color = start;
  float life = p.timeToLive > 0 ? p.timeToLive : 1.0f;
  p.deltaColor = ccc4f((end.r - start.r) / life, (end.g - start.g) / life,
                       (end.b - start.b) / life, (end.a - start.a) / life);
  float startSize = std::max(0.0f, var(m_fStartSize, m_fStartSizeVar));
  p.size = startSize;
  if (m_fEndSize == kCCParticleStartSizeEqualToEndSize) {
    p.deltaSize = 0;
  } else {
    p.deltaSize = (std::max(0.0f, var(m_fEndSize, m_fEndSizeVar)) - startSize) / life;
  }
  float startSpin = var(m_fStartSpin, m_fStartSpinVar);
  p.rotation = startSpin;
  p.deltaRotation = (var(m_fEndSpin, m_fEndSpinVar) - startSpin) / life;
  if (m_ePositionType == kCCPositionTypeFree) p.startPos = convertToWorldSpace(CCPoint(0, 0));
  else if (m_ePositionType == kCCPositionTypeRelative) p.startPos = getPosition();
  float a = CC_DEGREES_TO_RADIANS(var(m_fAngle, m_fAngleVar));
  if (m_nEmitterMode == kCCParticleModeGravity) {
    float speed = var(m_mode.speed, m_mode.speedVar);
    p.dir = CCPoint(std::cos(a) * speed, std::sin(a) * speed);
    p.radialAccel = var(m_mode.radialAccel, m_mode.radialAccelVar);
    p.tangentialAccel = var(m_mode.tangentialAccel, m_mode.tangentialAccelVar);
  } else {
    float startRadius = var(m_mode.startRadius, m_mode.startRadiusVar);
    float endRadius = var(m_mode.endRadius, m_mode.endRadiusVar);
    p.radius = startRadius;
    p.deltaRadius = m_mode.endRadius == kCCParticleStartRadiusEqualToEndRadius
                        ? 0
                        : (endRadius - startRadius) / life;
    p.angle = a;
    p.degreesPerSecond =
        CC_DEGREES_TO_RADIANS(var(m_mode.rotatePerSecond, m_mode.rotatePerSecondVar));
  }
}

void CCParticleSystem::update(float dt) {
  if (m_bIsActive && m_fEmissionRate > 0) {
    float rate = 1.0f / m_fEmissionRate;
    if (m_uParticleCount < m_uTotalParticles) m_fEmitCounter += dt;
    while (m_uParticleCount < m_uTotalParticles && m_fEmitCounter > rate) {
      addParticle();
      m_fEmitCounter -= rate;
    }
    m_fElapsed += dt;
    if (m_fDuration != kCCParticleDurationInfinity && m_fDuration < m_fElapsed) stopSystem();
  }
  unsigned int i = 0;
  while (i < m_uParticleCount) {
    tCCParticle& p = m_particles[i];
    p.timeToLive -= dt;
    if (p.timeToLive > 0) {
      if (m_nEmitterMode == kCCParticleModeGravity) {
        CCPoint radial(0, 0);
        if (p.pos.x != 0 || p.pos.y != 0) radial = ccpNormalize(p.pos);
        CCPoint tangential(-radial.y * p.tangentialAccel, radial.x * p.tangentialAccel);
        radial = ccpMult(radial, p.radialAccel);
        CCPoint accel = ccpAdd(ccpAdd(radial, tangential), m_mode.gravity);
        p.dir = ccpAdd(p.dir, ccpMult(accel, dt));
        p.pos = ccpAdd(p.pos, ccpMult(p.dir, dt));
      } else {
        p.angle += p.degreesPerSecond * dt;
        p.radius += p.deltaRadius * dt;
        p.pos = CCPoint(-std::cos(p.angle) * p.radius, -std::sin(p.angle) * p.radius);
      }
      p.color.r += p.deltaColor.r * dt;
      p.color.g += p.deltaColor.g * dt;
      p.color.b += p.deltaColor.b * dt;
      p.color.a += p.deltaColor.a * dt;
      p.size = std::max(0.0f, p.size + p.deltaSize * dt);
      p.rotation += p.deltaRotation * dt;
      ++i;
    } else {
      // The last particle takes the dead one's place.
      if (i != m_uParticleCount - 1) m_particles[i] = m_particles[m_uParticleCount - 1];
      --m_uParticleCount;
      if (m_uParticleCount == 0 && m_bIsAutoRemoveOnFinish) {
        unscheduleUpdate();
        removeFromParentAndCleanup(true);
        return;
      }
    }
  }
  // A system that ended without a particle alive (none emitted, or all gone at once)
  // is done as well.
  if (!m_bIsActive && m_uParticleCount == 0 && m_bIsAutoRemoveOnFinish) {
    unscheduleUpdate();
    removeFromParentAndCleanup(true);
  }
}

NS_CC_END
