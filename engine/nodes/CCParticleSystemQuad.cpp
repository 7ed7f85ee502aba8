#include "CCParticleSystemQuad.h"

#include <cmath>

#include "CCGLProgram.h"
#include "CCShaderCache.h"
#include "CCTexture2D.h"
#include "CCTextureAtlas.h"
#include "ccGLStateCache.h"

NS_CC_BEGIN

CCParticleSystemQuad::~CCParticleSystemQuad() { CC_SAFE_RELEASE(m_pAtlas); }

CCParticleSystemQuad* CCParticleSystemQuad::create() {
  CCParticleSystemQuad* p = new CCParticleSystemQuad();
  return ccAutoreleaseIfInit(p, p->init());
}

CCParticleSystemQuad* CCParticleSystemQuad::create(const char* plistFile) {
  CCParticleSystemQuad* p = new CCParticleSystemQuad();
  return ccAutoreleaseIfInit(p, p->initWithFile(plistFile));
}

bool CCParticleSystemQuad::initWithTotalParticles(unsigned int numberOfParticles) {
  if (!CCParticleSystem::initWithTotalParticles(numberOfParticles)) return false;
  setShaderProgram(
      CCShaderCache::sharedShaderCache()->programForKey(kCCShader_PositionTextureColor));
  return true;
}

void CCParticleSystemQuad::appendQuads(std::vector<ccV3F_C4B_T2F_Quad>& quads) {
  CCPoint current(0, 0);
  if (m_ePositionType == kCCPositionTypeFree) current = convertToWorldSpace(CCPoint(0, 0));
  else if (m_ePositionType == kCCPositionTypeRelative) current = getPosition();
  for (unsigned int i = 0; i < m_uParticleCount; ++i) {
    const tCCParticle& p = m_particles[i];
    CCPoint pos = p.pos;
    if (m_ePositionType != kCCPositionTypeGrouped) {
      pos.x -= current.x - p.startPos.x;
      pos.y -= current.y - p.startPos.y;
    }
    ccV3F_C4B_T2F_Quad q;
    const float a = std::min(1.f, std::max(0.f, p.color.a));
    const float k = m_bPremultiplyColours ? a : 1.f;
    ccColor4B c = {static_cast<GLubyte>(std::min(1.f, std::max(0.f, p.color.r)) * k * 255),
                   static_cast<GLubyte>(std::min(1.f, std::max(0.f, p.color.g)) * k * 255),
                   static_cast<GLubyte>(std::min(1.f, std::max(0.f, p.color.b)) * k * 255),
                   static_cast<GLubyte>(a * 255)};
    q.bl.colors = q.br.colors = q.tl.colors = q.tr.colors = c;
    q.bl.texCoords = tex2(0, 1);
    q.br.texCoords = tex2(1, 1);
    q.tl.texCoords = tex2(0, 0);
    q.tr.texCoords = tex2(1, 0);
    float h = p.size / 2;
    float r = -CC_DEGREES_TO_RADIANS(p.rotation);
    float cr = std::cos(r), sr = std::sin(r);
    auto corner = [&](float x, float y) {
      return vertex3(pos.x + x * cr - y * sr, pos.y + x * sr + y * cr, m_fVertexZ);
    };
    q.bl.vertices = corner(-h, -h);
    q.br.vertices = corner(h, -h);
    q.tl.vertices = corner(-h, h);
    q.tr.vertices = corner(h, h);
    quads.push_back(q);
  }
}

void CCParticleSystemQuad::draw() {
  if (!m_pTexture || m_uParticleCount == 0) return;
  CCGLProgram* program = getShaderProgram();
  if (!program) return;
  if (!m_pAtlas) {
    m_pAtlas = new CCTextureAtlas();
    if (!m_pAtlas->initWithTexture(m_pTexture, m_uTotalParticles > 0 ? m_uTotalParticles : 1)) {
      CC_SAFE_RELEASE_NULL(m_pAtlas);
      return;
    }
  }
  m_pAtlas->setTexture(m_pTexture);
  m_pAtlas->removeAllQuads();
  std::vector<ccV3F_C4B_T2F_Quad>& quads = m_quads;
  quads.clear();
  appendQuads(quads);
  for (unsigned int i = 0; i < quads.size(); ++i) m_pAtlas->updateQuad(&quads[i], i);
  program->use();
  program->setUniformForModelViewProjectionMatrix();
  ccGLBlendFunc(m_tBlendFunc.src, m_tBlendFunc.dst);
  m_pAtlas->drawQuads();
}

NS_CC_END
