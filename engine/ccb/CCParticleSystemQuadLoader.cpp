#include "CCParticleSystemQuadLoader.h"

#include <string>

namespace cocos2d {
namespace extension {

namespace {
CCParticleSystemQuad* ps(CCNode* n) { return static_cast<CCParticleSystemQuad*>(n); }
}  // namespace

void CCParticleSystemQuadLoader::onHandlePropTypeIntegerLabeled(CCNode* pNode, CCNode* pParent,
                                                                const char* pPropertyName,
                                                                int v, CCBReader* r) {
  if (std::string(pPropertyName) == "emitterMode") ps(pNode)->setEmitterMode(v);
  else CCNodeLoader::onHandlePropTypeIntegerLabeled(pNode, pParent, pPropertyName, v, r);
}

void CCParticleSystemQuadLoader::onHandlePropTypePoint(CCNode* pNode, CCNode* pParent,
                                                       const char* pPropertyName,
                                                       const CCPoint& p, CCBReader* r) {
  std::string n(pPropertyName);
  if (n == "posVar") ps(pNode)->setPosVar(p);
  else if (n == "gravity") ps(pNode)->setGravity(p);
  else CCNodeLoader::onHandlePropTypePoint(pNode, pParent, pPropertyName, p, r);
}

void CCParticleSystemQuadLoader::onHandlePropTypeFloat(CCNode* pNode, CCNode* pParent,
                                                       const char* pPropertyName, float v,
                                                       CCBReader* r) {
  std::string n(pPropertyName);
  if (n == "emissionRate") ps(pNode)->setEmissionRate(v);
  else if (n == "duration") ps(pNode)->setDuration(v);
  else CCNodeLoader::onHandlePropTypeFloat(pNode, pParent, pPropertyName, v, r);
}

void CCParticleSystemQuadLoader::onHandlePropTypeInteger(CCNode* pNode, CCNode* pParent,
                                                         const char* pPropertyName, int v,
                                                         CCBReader* r) {
  if (std::string(pPropertyName) == "totalParticles")
    ps(pNode)->setTotalParticles(v > 0 ? static_cast<unsigned int>(v) : 0);
  else
    CCNodeLoader::onHandlePropTypeInteger(pNode, pParent, pPropertyName, v, r);
}

void CCParticleSystemQuadLoader::onHandlePropTypeFloatVar(CCNode* pNode, CCNode* pParent,
                                                          const char* pPropertyName, float* v,
                                                          CCBReader* r) {
  CCParticleSystemQuad* p = ps(pNode);
  std::string n(pPropertyName);
  if (n == "life") { p->setLife(v[0]); p->setLifeVar(v[1]); }
  else if (n == "startSize") { p->setStartSize(v[0]); p->setStartSizeVar(v[1]); }
  else if (n == "endSize") { p->setEndSize(v[0]); p->setEndSizeVar(v[1]); }
  else if (n == "startSpin") { p->setStartSpin(v[0]); p->setStartSpinVar(v[1]); }
  else if (n == "endSpin") { p->setEndSpin(v[0]); p->setEndSpinVar(v[1]); }
  else if (n == "angle") { p->setAngle(v[0]); p->setAngleVar(v[1]); }
  else if (n == "speed") { p->setSpeed(v[0]); p->setSpeedVar(v[1]); }
  else if (n == "tangentialAccel") { p->setTangentialAccel(v[0]); p->setTangentialAccelVar(v[1]); }
  else if (n == "radialAccel") { p->setRadialAccel(v[0]); p->setRadialAccelVar(v[1]); }
  else if (n == "startRadius") { p->setStartRadius(v[0]); p->setStartRadiusVar(v[1]); }
  else if (n == "endRadius") { p->setEndRadius(v[0]); p->setEndRadiusVar(v[1]); }
  else if (n == "rotatePerSecond") { p->setRotatePerSecond(v[0]); p->setRotatePerSecondVar(v[1]); }
  else CCNodeLoader::onHandlePropTypeFloatVar(pNode, pParent, pPropertyName, v, r);
}

void CCParticleSystemQuadLoader::onHandlePropTypeColor4FVar(CCNode* pNode, CCNode* pParent,
                                                            const char* pPropertyName,
                                                            ccColor4F* c, CCBReader* r) {
  std::string n(pPropertyName);
  if (n == "startColor") {
    ps(pNode)->setStartColor(c[0]);
    ps(pNode)->setStartColorVar(c[1]);
  } else if (n == "endColor") {
    ps(pNode)->setEndColor(c[0]);
    ps(pNode)->setEndColorVar(c[1]);
  } else {
    CCNodeLoader::onHandlePropTypeColor4FVar(pNode, pParent, pPropertyName, c, r);
  }
}

void CCParticleSystemQuadLoader::onHandlePropTypeBlendFunc(CCNode* pNode, CCNode* pParent,
                                                           const char* pPropertyName,
                                                           ccBlendFunc bf, CCBReader* r) {
  if (std::string(pPropertyName) == "blendFunc") ps(pNode)->setBlendFunc(bf);
  else CCNodeLoader::onHandlePropTypeBlendFunc(pNode, pParent, pPropertyName, bf, r);
}

void CCParticleSystemQuadLoader::onHandlePropTypeTexture(CCNode* pNode, CCNode* pParent,
                                                         const char* pPropertyName,
                                                         CCTexture2D* t, CCBReader* r) {
  if (std::string(pPropertyName) == "texture") ps(pNode)->setTexture(t);
  else CCNodeLoader::onHandlePropTypeTexture(pNode, pParent, pPropertyName, t, r);
}

}  // namespace extension
}  // namespace cocos2d
