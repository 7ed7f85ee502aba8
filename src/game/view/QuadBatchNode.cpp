#include "QuadBatchNode.h"

#include <typeinfo>

#include "CCDirector.h"
#include "CCGLMatrix.h"
#include "CCGLProgram.h"
#include "CCLabelBMFont.h"
#include "CCParticleSystemQuad.h"
#include "CCShaderCache.h"
#include "CCSprite.h"
#include "CCSpriteBatchNode.h"
#include "CCTexture2D.h"
#include "CCTextureAtlas.h"
#include "ccGLStateCache.h"

using namespace cocos2d;

QuadBatchNode* QuadBatchNode::create(float cullMargin) {
  QuadBatchNode* node = new QuadBatchNode(cullMargin);
  return ccAutoreleaseIfInit(node, node->init());
}

bool QuadBatchNode::init() {
  if (!CCNode::init()) return false;
  setShaderProgram(CCShaderCache::sharedShaderCache()->programForKey(kCCShader_PositionTextureColor));
  return true;
}

QuadBatchNode::~QuadBatchNode() {
  for (Batch& b : batches_) CC_SAFE_RELEASE(b.atlas);
}

const ccColor3B& QuadBatchNode::getColor() {
  static const ccColor3B kWhite = {255, 255, 255};
  return kWhite;
}

unsigned int QuadBatchNode::quadCount() const {
  unsigned int n = 0;
  for (const Batch& b : batches_) n += b.atlas->getTotalQuads();
  return n;
}

QuadBatchNode::Batch* QuadBatchNode::batchFor(CCTexture2D* texture, const ccBlendFunc& blend) {
  if (lastBatch_ && lastBatch_->texture == texture && lastBatch_->blend.src == blend.src &&
      lastBatch_->blend.dst == blend.dst)
    return lastBatch_;
  for (Batch& b : batches_) {
    if (b.texture == texture && b.blend.src == blend.src && b.blend.dst == blend.dst) {
      lastBatch_ = &b;
      return lastBatch_;
    }
  }
  Batch b;
  b.texture = texture;
  b.blend = blend;
  b.atlas = CCTextureAtlas::createWithTexture(texture, 64);
  b.atlas->retain();
  batches_.push_back(b);
  lastBatch_ = &batches_.back();
  return lastBatch_;
}

void QuadBatchNode::addQuad(CCTexture2D* texture, const ccBlendFunc& blend, ccV3F_C4B_T2F_Quad q,
                            const CCAffineTransform& t) {
  for (ccV3F_C4B_T2F* c : {&q.bl, &q.br, &q.tl, &q.tr}) {
    const float x = c->vertices.x, y = c->vertices.y;
    c->vertices.x = t.a * x + t.c * y + t.tx;
    c->vertices.y = t.b * x + t.d * y + t.ty;
    c->vertices.z = 0;
    if (opacity_ != 255) {
      // Premultiplied colours fade as a whole; straight ones by their alpha.
      c->colors.a = static_cast<GLubyte>(c->colors.a * opacity_ / 255);
      if (blend.src == GL_ONE) {
        c->colors.r = static_cast<GLubyte>(c->colors.r * opacity_ / 255);
        c->colors.g = static_cast<GLubyte>(c->colors.g * opacity_ / 255);
        c->colors.b = static_cast<GLubyte>(c->colors.b * opacity_ / 255);
      }
    }
  }
  CCTextureAtlas* atlas = batchFor(texture, blend)->atlas;
  atlas->insertQuad(&q, atlas->getTotalQuads());
}

QuadBatchNode::Kind QuadBatchNode::kindOf(CCNode* node) {
  const std::type_index type(typeid(*node));
  auto it = kinds_.find(type);
  if (it != kinds_.end()) return it->second;
  Kind kind = Kind::Other;
  if (dynamic_cast<CCParticleSystemQuad*>(node)) kind = Kind::Particles;
  else if (dynamic_cast<CCLabelBMFont*>(node)) kind = Kind::Label;
  else if (dynamic_cast<CCSprite*>(node)) kind = Kind::Sprite;
  kinds_.emplace(type, kind);
  return kind;
}

void QuadBatchNode::collect(CCNode* node, const CCAffineTransform& toBatch, bool glyph) {
  // Nothing below a batch changes its children while they are collected.
  CCArray* children = node->getChildren();
  CCObject* const* kids = nullptr;
  size_t n = 0;
  if (children && children->count() > 0) {
    node->sortAllChildren();
    kids = children->objects().data();
    n = children->objects().size();
  }
  const Kind kind = kindOf(node);
  const bool glyphs = kind == Kind::Label;
  size_t i = 0;
  for (; i < n; ++i) {
    CCNode* child = static_cast<CCNode*>(kids[i]);
    if (child->getZOrder() >= 0) break;
    if (child->isVisible())
      collect(child, CCAffineTransformConcat(child->nodeToParentTransform(), toBatch), glyphs);
  }
  if (kind == Kind::Particles) {
    CCParticleSystemQuad* particles = static_cast<CCParticleSystemQuad*>(node);
    if (particles->getTexture() && particles->getParticleCount() > 0) {
      scratch_.clear();
      particles->appendQuads(scratch_);
      const ccBlendFunc blend = particles->getBlendFunc();
      for (const ccV3F_C4B_T2F_Quad& q : scratch_) addQuad(particles->getTexture(), blend, q, toBatch);
    }
  } else if (kind == Kind::Sprite) {
    CCSprite* sprite = static_cast<CCSprite*>(node);
    if (CCTexture2D* texture = sprite->getTexture()) {
      addQuad(texture, sprite->getBlendFunc(), sprite->getQuad(), toBatch);
      if (glyph) lastBatch_->glyphs = true;
    }
  }
  for (; i < n; ++i) {
    CCNode* child = static_cast<CCNode*>(kids[i]);
    if (child->isVisible())
      collect(child, CCAffineTransformConcat(child->nodeToParentTransform(), toBatch), glyphs);
  }
}

CCRect QuadBatchNode::visibleRect() {
  const CCSize win = CCDirector::sharedDirector()->getWinSize();
  const CCAffineTransform toNode = worldToNodeTransform();
  return CCRectApplyAffineTransform(CCRect(0, 0, win.width, win.height), toNode);
}

void QuadBatchNode::collectQuads() {
  for (Batch& b : batches_) {
    b.atlas->removeAllQuads();
    b.glyphs = false;
  }
  childrenDrawn_ = 0;
  CCArray* children = getChildren();
  if (!children || children->count() == 0 || opacity_ == 0) return;
  CCRect view = visibleRect();
  view.origin.x -= cullMargin_;
  view.origin.y -= cullMargin_;
  view.size.width += 2 * cullMargin_;
  view.size.height += 2 * cullMargin_;
  sortAllChildren();
  for (CCObject* object : children->objects()) {
    CCNode* child = static_cast<CCNode*>(object);
    if (!child->isVisible()) continue;
    // A child without size (a particle system) is tested by its position.
    const CCRect box = child->getContentSize().width > 0 ? child->boundingBox()
                                                          : CCRect(child->getPosition().x, child->getPosition().y, 0, 0);
    if (!view.intersectsRect(box)) continue;
    ++childrenDrawn_;
    collect(child, child->nodeToParentTransform(), false);
  }
}

void QuadBatchNode::visit() {
  if (!isVisible()) return;
  kmGLPushMatrix();
  transform();
  collectQuads();
  CCGLProgram* program = getShaderProgram();
  if (program) {
    for (Batch& b : batches_) {
      if (b.atlas->getTotalQuads() == 0) continue;
      if (b.glyphs) CCLabelBMFont::snapGlyphsToPixels(b.atlas->getQuads(), b.atlas->getTotalQuads());
      program->use();
      program->setUniformForModelViewProjectionMatrix();
      ccGLBlendFunc(b.blend.src, b.blend.dst);
      b.atlas->drawQuads();
    }
  }
  kmGLPopMatrix();
}
