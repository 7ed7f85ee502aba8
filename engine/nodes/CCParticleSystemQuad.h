#pragma once

#include "CCGLProgramHolder.h"
#include "CCParticleSystem.h"

NS_CC_BEGIN

class CCTextureAtlas;

// A particle system drawn as one textured quad a particle.
class CCParticleSystemQuad : public CCParticleSystem, public CCGLProgramHolder {
 public:
  CCParticleSystemQuad() {}
  virtual ~CCParticleSystemQuad();
  static CCParticleSystemQuad* create();
  static CCParticleSystemQuad* create(const char* plistFile);
  virtual bool init() { return initWithTotalParticles(0); }
  virtual bool initWithTotalParticles(unsigned int numberOfParticles);
  virtual void draw();

 private:
  CCTextureAtlas* m_pAtlas = nullptr;
};

NS_CC_END
