#include "CCSpriteBatchNode.h"

#include "CCArray.h"
#include "CCCommon.h"
#include "CCGLMatrix.h"
#include "CCGLProgram.h"
#include "CCShaderCache.h"
#include "CCSprite.h"
#include "CCTexture2D.h"
#include "CCTextureAtlas.h"
#include "ccGLStateCache.h"

NS_CC_BEGIN

CCSpriteBatchNode::CCSpriteBatchNode() {
  m_blendFunc.src = GL_ONE;
  m_blendFunc.dst = GL_ONE_MINUS_SRC_ALPHA;
}

CCSpriteBatchNode::~CCSpriteBatchNode() { CC_SAFE_RELEASE(m_pobTextureAtlas); }

CCSpriteBatchNode* CCSpriteBatchNode::create(const char* fileImage, unsigned int capacity) {
  CCSpriteBatchNode* b = new CCSpriteBatchNode();
  return ccAutoreleaseIfInit(b, b->initWithFile(fileImage, capacity));
}

CCSpriteBatchNode* CCSpriteBatchNode::create(const char* fileImage) {
  return create(fileImage, kDefaultSpriteBatchCapacity);
}

CCSpriteBatchNode* CCSpriteBatchNode::createWithTexture(CCTexture2D* texture, unsigned int capacity) {
  CCSpriteBatchNode* b = new CCSpriteBatchNode();
  return ccAutoreleaseIfInit(b, b->initWithTexture(texture, capacity));
}

CCSpriteBatchNode* CCSpriteBatchNode::createWithTexture(CCTexture2D* texture) {
  return createWithTexture(texture, kDefaultSpriteBatchCapacity);
}

bool CCSpriteBatchNode::initWithFile(const char* fileImage, unsigned int capacity) {
  CCTextureAtlas* atlas = CCTextureAtlas::create(fileImage, capacity);
  if (!atlas) return false;
  return initWithTexture(atlas->getTexture(), capacity);
}

bool CCSpriteBatchNode::initWithTexture(CCTexture2D* texture, unsigned int capacity) {
  if (!texture) return false;
  CC_SAFE_RELEASE(m_pobTextureAtlas);
  m_pobTextureAtlas = new CCTextureAtlas();
  m_pobTextureAtlas->initWithTexture(texture, capacity ? capacity : kDefaultSpriteBatchCapacity);
  m_blendFunc = ccBlendFuncForTexture(texture);
  setShaderProgram(CCShaderCache::sharedShaderCache()->programForKey(kCCShader_PositionTextureColor));
  return true;
}

CCTexture2D* CCSpriteBatchNode::getTexture() {
  return m_pobTextureAtlas ? m_pobTextureAtlas->getTexture() : nullptr;
}

void CCSpriteBatchNode::setTexture(CCTexture2D* texture) {
  if (!m_pobTextureAtlas) return;
  m_pobTextureAtlas->setTexture(texture);
  m_blendFunc = ccBlendFuncForTexture(texture);
}

void CCSpriteBatchNode::addChild(CCNode* child) { addChild(child, child ? child->getZOrder() : 0); }

void CCSpriteBatchNode::addChild(CCNode* child, int zOrder) {
  addChild(child, zOrder, child ? child->getTag() : -1);
}

void CCSpriteBatchNode::addChild(CCNode* child, int zOrder, int tag) {
  CCSprite* sprite = dynamic_cast<CCSprite*>(child);
  if (!sprite) {
    CCLogError("CCSpriteBatchNode only supports CCSprites as children");
    return;
  }
  if (sprite->getTexture() != getTexture()) {
    CCLogError("CCSpriteBatchNode: the sprite's texture differs from the batch node's");
    return;
  }
  CCNode::addChild(child, zOrder, tag);
  adoptSprite(sprite);
}

// Sets the batch node of a sprite and of its sprite children, all the way down.
static void setBatchNodeOfTree(CCSprite* sprite, CCSpriteBatchNode* batch) {
  sprite->setBatchNode(batch);
  CCArray* children = sprite->getChildren();
  if (!children) return;
  for (unsigned int i = 0; i < children->count(); ++i) {
    CCSprite* child = dynamic_cast<CCSprite*>(children->objectAtIndex(i));
    if (child) setBatchNodeOfTree(child, batch);
  }
}

void CCSpriteBatchNode::adoptSprite(CCSprite* sprite) { setBatchNodeOfTree(sprite, this); }

void CCSpriteBatchNode::releaseSprite(CCSprite* sprite) { setBatchNodeOfTree(sprite, nullptr); }

void CCSpriteBatchNode::removeChild(CCNode* child, bool cleanup) {
  CCSprite* sprite = dynamic_cast<CCSprite*>(child);
  if (sprite && sprite->getParent() == this) releaseSprite(sprite);
  CCNode::removeChild(child, cleanup);
}

void CCSpriteBatchNode::removeAllChildrenWithCleanup(bool cleanup) {
  CCArray* children = getChildren();
  if (children) {
    for (unsigned int i = 0; i < children->count(); ++i) {
      CCSprite* sprite = dynamic_cast<CCSprite*>(children->objectAtIndex(i));
      if (sprite) releaseSprite(sprite);
    }
  }
  CCNode::removeAllChildrenWithCleanup(cleanup);
}

void CCSpriteBatchNode::visit() {
  if (!isVisible()) return;
  // The children are not visited: draw() takes all their quads at once.
  kmGLPushMatrix();
  transform();
  draw();
  kmGLPopMatrix();
}

void CCSpriteBatchNode::appendSprite(CCSprite* sprite) {
  if (!sprite->isVisible()) return;
  // The order of a normal visit: children below zero, the sprite, the other children.
  CCArray* children = sprite->getChildren();
  unsigned int n = children ? children->count() : 0;
  unsigned int i = 0;
  if (n > 0) sprite->sortAllChildren();
  for (; i < n; ++i) {
    CCSprite* child = dynamic_cast<CCSprite*>(children->objectAtIndex(i));
    if (!child) continue;
    if (child->getZOrder() >= 0) break;
    appendSprite(child);
  }
  ccV3F_C4B_T2F_Quad quad = sprite->quadInSpaceOf(this);
  m_pobTextureAtlas->updateQuad(&quad, m_pobTextureAtlas->getTotalQuads());
  for (; i < n; ++i) {
    CCSprite* child = dynamic_cast<CCSprite*>(children->objectAtIndex(i));
    if (child) appendSprite(child);
  }
}

void CCSpriteBatchNode::draw() {
  if (!m_pobTextureAtlas) return;
  m_pobTextureAtlas->removeAllQuads();
  CCArray* children = getChildren();
  if (children && children->count() > 0) {
    sortAllChildren();
    for (unsigned int i = 0; i < children->count(); ++i)
      appendSprite(static_cast<CCSprite*>(children->objectAtIndex(i)));
  }
  if (m_pobTextureAtlas->getTotalQuads() == 0) return;
  placeQuads(m_pobTextureAtlas->getQuads(), m_pobTextureAtlas->getTotalQuads());
  CCGLProgram* program = getShaderProgram();
  if (!program) return;
  program->use();
  program->setUniformForModelViewProjectionMatrix();
  ccGLBlendFunc(m_blendFunc.src, m_blendFunc.dst);
  m_pobTextureAtlas->drawQuads();
}

unsigned int CCSpriteBatchNode::getQuadCount() const {
  return m_pobTextureAtlas ? m_pobTextureAtlas->getTotalQuads() : 0;
}

NS_CC_END
