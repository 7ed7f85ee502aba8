#pragma once

#include "CCGLProgramHolder.h"
#include "CCParticleSystem.h"
#include "ccTypes.h"

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
  // The quads of the living particles, in this node's space, as draw() draws them; a
  // batch that draws many systems at once appends them to its own quads.
  void appendQuads(std::vector<ccV3F_C4B_T2F_Quad>& quads);

 private:
  CCTextureAtlas* m_pAtlas = nullptr;
  std::vector<ccV3F_C4B_T2F_Quad> m_quads;  // scratch of draw()
};

NS_CC_END
