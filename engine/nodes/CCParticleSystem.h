#pragma once

#include <string>
#include <vector>

#include "CCNode.h"
#include "CCParticleSettings.h"
#include "CCProtocols.h"

NS_CC_BEGIN

class CCTexture2D;

enum {
  kCCParticleDurationInfinity = -1,
  kCCParticleStartSizeEqualToEndSize = -1,
  kCCParticleStartRadiusEqualToEndRadius = -1,
};

typedef enum {
  kCCPositionTypeFree,
  kCCPositionTypeRelative,
  kCCPositionTypeGrouped,
} tCCPositionType;

struct tCCParticle {
  CCPoint pos, startPos;
  ccColor4F color, deltaColor;
  float size = 0, deltaSize = 0;
  float rotation = 0, deltaRotation = 0;
  float timeToLive = 0;
  // gravity mode
  CCPoint dir;
  float radialAccel = 0, tangentialAccel = 0;
  // radius mode
  float angle = 0, degreesPerSecond = 0, radius = 0, deltaRadius = 0;
};

// An emitter of particles in gravity or radius mode, set up from a particle definition
// (.plist) or property by property. It has an opacity of its own: the alpha of its start
// and end colours is scaled by it, so the particles fade with the layer they are in.
class CCParticleSystem : public CCNode, public CCTextureProtocol {
 public:
  CCParticleSystem();
  virtual ~CCParticleSystem();

  bool initWithFile(const char* plistFile);
  bool initWithDictionary(CCDictionary* dictionary, const char* nameForLog = "");
  bool initWithSettings(const ccParticleSettings& settings, const std::string& plistFolder);
  virtual bool initWithTotalParticles(unsigned int numberOfParticles);

  void resetSystem();
  void stopSystem();
  bool isFull() const { return m_uParticleCount == m_uTotalParticles; }
  bool isActive() const { return m_bIsActive; }
  unsigned int getParticleCount() const { return m_uParticleCount; }
  const tCCParticle* getParticles() const { return m_particles.data(); }

  virtual void update(float dt);
  virtual void onEnter();
  virtual void onExit();

  // Opacity passed down by layers: scales the start and end alphas without compounding.
  virtual void setOpacity(GLubyte opacity);
  GLubyte getOpacity() const { return m_cOpacity; }
  virtual void applyLayerOpacity(GLubyte opacity);

  unsigned int getTotalParticles() const { return m_uTotalParticles; }
  virtual void setTotalParticles(unsigned int total);
  float getDuration() const { return m_fDuration; }
  void setDuration(float d) { m_fDuration = d; }
  float getEmissionRate() const { return m_fEmissionRate; }
  void setEmissionRate(float r) { m_fEmissionRate = r; }
  float getLife() const { return m_fLife; }
  void setLife(float v) { m_fLife = v; }
  void setLifeVar(float v) { m_fLifeVar = v; }
  void setAngle(float v) { m_fAngle = v; }
  void setAngleVar(float v) { m_fAngleVar = v; }
  void setStartSize(float v) { m_fStartSize = v; }
  void setStartSizeVar(float v) { m_fStartSizeVar = v; }
  void setEndSize(float v) { m_fEndSize = v; }
  void setEndSizeVar(float v) { m_fEndSizeVar = v; }
  void setStartSpin(float v) { m_fStartSpin = v; }
  void setStartSpinVar(float v) { m_fStartSpinVar = v; }
  void setEndSpin(float v) { m_fEndSpin = v; }
  void setEndSpinVar(float v) { m_fEndSpinVar = v; }
  void setPosVar(const CCPoint& v) { m_tPosVar = v; }
  void setSourcePosition(const CCPoint& v) { m_tSourcePosition = v; }
  // Colours as given; their alpha becomes the base the opacity scales.
  void setStartColor(const ccColor4F& c);
  void setStartColorVar(const ccColor4F& c) { m_tStartColorVar = c; }
  void setEndColor(const ccColor4F& c);
  void setEndColorVar(const ccColor4F& c) { m_tEndColorVar = c; }
  const ccColor4F& getStartColor() const { return m_tStartColor; }
  const ccColor4F& getEndColor() const { return m_tEndColor; }
  void setEmitterMode(int mode) { m_nEmitterMode = mode; }
  int getEmitterMode() const { return m_nEmitterMode; }
  void setGravity(const CCPoint& g) { m_mode.gravity = g; }
  const CCPoint& getGravity() const { return m_mode.gravity; }
  void setSpeed(float v) { m_mode.speed = v; }
  void setSpeedVar(float v) { m_mode.speedVar = v; }
  void setTangentialAccel(float v) { m_mode.tangentialAccel = v; }
  void setTangentialAccelVar(float v) { m_mode.tangentialAccelVar = v; }
  void setRadialAccel(float v) { m_mode.radialAccel = v; }
  void setRadialAccelVar(float v) { m_mode.radialAccelVar = v; }
  void setStartRadius(float v) { m_mode.startRadius = v; }
  void setStartRadiusVar(float v) { m_mode.startRadiusVar = v; }
  void setEndRadius(float v) { m_mode.endRadius = v; }
  void setEndRadiusVar(float v) { m_mode.endRadiusVar = v; }
  void setRotatePerSecond(float v) { m_mode.rotatePerSecond = v; }
  void setRotatePerSecondVar(float v) { m_mode.rotatePerSecondVar = v; }
  void setPositionType(tCCPositionType t) { m_ePositionType = t; }
  void setAutoRemoveOnFinish(bool v) { m_bIsAutoRemoveOnFinish = v; }

  // CCTextureProtocol
  virtual CCTexture2D* getTexture() { return m_pTexture; }
  virtual void setTexture(CCTexture2D* texture);
  virtual void setBlendFunc(ccBlendFunc blendFunc);
  virtual ccBlendFunc getBlendFunc() { return m_tBlendFunc; }

 protected:
  bool addParticle();
  void initParticle(tCCParticle& p);

  std::vector<tCCParticle> m_particles;
  unsigned int m_uTotalParticles = 0;
  unsigned int m_uParticleCount = 0;
  float m_fElapsed = 0;
  float m_fEmitCounter = 0;
  bool m_bIsActive = true;
  bool m_bIsAutoRemoveOnFinish = false;
  float m_fDuration = 0;
  float m_fEmissionRate = 0;
  float m_fLife = 0, m_fLifeVar = 0;
  float m_fAngle = 0, m_fAngleVar = 0;
  float m_fStartSize = 0, m_fStartSizeVar = 0, m_fEndSize = 0, m_fEndSizeVar = 0;
  float m_fStartSpin = 0, m_fStartSpinVar = 0, m_fEndSpin = 0, m_fEndSpinVar = 0;
  CCPoint m_tSourcePosition, m_tPosVar;
  ccColor4F m_tStartColor, m_tStartColorVar, m_tEndColor, m_tEndColorVar;
  int m_nEmitterMode = kCCParticleModeGravity;
  struct {
    CCPoint gravity;
    float speed = 0, speedVar = 0, tangentialAccel = 0, tangentialAccelVar = 0;
    float radialAccel = 0, radialAccelVar = 0;
    float startRadius = 0, startRadiusVar = 0, endRadius = 0, endRadiusVar = 0;
    float rotatePerSecond = 0, rotatePerSecondVar = 0;
  } m_mode;
  tCCPositionType m_ePositionType = kCCPositionTypeFree;
  CCTexture2D* m_pTexture = nullptr;
  ccBlendFunc m_tBlendFunc;
  // The particles' colours are premultiplied by their alpha when drawn (the texture's are).
  bool m_bPremultiplyColours = false;
  GLubyte m_cOpacity = 255;
  float m_fBaseStartAlpha = 1.0f;
  float m_fBaseEndAlpha = 1.0f;
};

NS_CC_END
