#include "CCSprite.h"

#include <cstddef>
#include <cstring>

#include "CCAffineTransform.h"
#include "CCAnimation.h"
#include "CCAnimationCache.h"
#include "CCArray.h"
#include "CCCommon.h"
#include "CCGLProgram.h"
#include "CCShaderCache.h"
#include "CCSpriteBatchNode.h"
#include "CCSpriteFrame.h"
#include "CCSpriteFrameCache.h"
#include "CCTexture2D.h"
#include "CCTextureCache.h"
#include "ccGLStateCache.h"

NS_CC_BEGIN

CCSprite::CCSprite() {
  std::memset(&m_sQuad, 0, sizeof(m_sQuad));
  m_sBlendFunc.src = GL_ONE;
  m_sBlendFunc.dst = GL_ONE_MINUS_SRC_ALPHA;
  m_sColor = m_sColorUnmodified = ccWHITE;
}

CCSprite::~CCSprite() { CC_SAFE_RELEASE(m_pobTexture); }

CCSprite* CCSprite::create() {
  CCSprite* s = new CCSprite();
  return ccAutoreleaseIfInit(s, s->init());
}

CCSprite* CCSprite::create(const char* fileName) {
  CCSprite* s = new CCSprite();
  return ccAutoreleaseIfInit(s, s->initWithFile(fileName));
}

CCSprite* CCSprite::create(const char* fileName, const CCRect& rect) {
  CCSprite* s = new CCSprite();
  return ccAutoreleaseIfInit(s, s->initWithFile(fileName, rect));
}

CCSprite* CCSprite::createWithTexture(CCTexture2D* texture) {
  CCSprite* s = new CCSprite();
  return ccAutoreleaseIfInit(s, s->initWithTexture(texture));
}

CCSprite* CCSprite::createWithTexture(CCTexture2D* texture, const CCRect& rect) {
  CCSprite* s = new CCSprite();
  return ccAutoreleaseIfInit(s, s->initWithTexture(texture, rect));
}

CCSprite* CCSprite::createWithSpriteFrame(CCSpriteFrame* frame) {
  CCSprite* s = new CCSprite();
  return ccAutoreleaseIfInit(s, frame && s->initWithSpriteFrame(frame));
}

CCSprite* CCSprite::createWithSpriteFrameName(const char* frameName) {
  CCSpriteFrame* frame = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(frameName);
  if (!frame) {
    CCLogError("cocos2d: Invalid spriteFrameName: %s", frameName ? frameName : "(null)");
    return nullptr;
  }
  return createWithSpriteFrame(frame);
}

bool CCSprite::init() { return initWithTexture(nullptr, CCRectZero); }

bool CCSprite::initWithTexture(CCTexture2D* texture) {
  if (!texture) return false;
  CCRect rect(0, 0, texture->getContentSize().width, texture->getContentSize().height);
  return initWithTexture(texture, rect);
}

bool CCSprite::initWithTexture(CCTexture2D* texture, const CCRect& rect) {
  return initWithTexture(texture, rect, false);
}

bool CCSprite::initWithTexture(CCTexture2D* texture, const CCRect& rect, bool rotated) {
  m_pobBatchNode = nullptr;
  m_bOpacityModifyRGB = true;
  m_nOpacity = 255;
  m_sColor = m_sColorUnmodified = ccWHITE;
  m_sBlendFunc.src = GL_ONE;
  m_sBlendFunc.dst = GL_ONE_MINUS_SRC_ALPHA;
  m_bFlipX = m_bFlipY = false;
  setAnchorPoint(CCPoint(0.5f, 0.5f));
  m_obOffsetPosition = CCPointZero;
  std::memset(&m_sQuad, 0, sizeof(m_sQuad));
  ccColor4B white = {255, 255, 255, 255};
  m_sQuad.bl.colors = m_sQuad.br.colors = m_sQuad.tl.colors = m_sQuad.tr.colors = white;
  setShaderProgram(CCShaderCache::sharedShaderCache()->programForKey(kCCShader_PositionTextureColor));
  setTexture(texture);
  setTextureRect(rect, rotated, rect.size);
  return true;
}

bool CCSprite::initWithSpriteFrame(CCSpriteFrame* frame) {
  if (!frame) return false;
  bool ok = initWithTexture(frame->getTexture(), frame->getRect());
  setDisplayFrame(frame);
  return ok;
}

bool CCSprite::initWithSpriteFrameName(const char* frameName) {
  CCSpriteFrame* frame = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(frameName);
  return frame && initWithSpriteFrame(frame);
}

bool CCSprite::initWithFile(const char* fileName) {
  CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(fileName);
  if (!texture) return false;
  return initWithTexture(texture);
}

bool CCSprite::initWithFile(const char* fileName, const CCRect& rect) {
  CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(fileName);
  if (!texture) return false;
  return initWithTexture(texture, rect);
}

void CCSprite::setTextureRect(const CCRect& rect) { setTextureRect(rect, false, rect.size); }

void CCSprite::setTextureRect(const CCRect& rect, bool rotated, const CCSize& untrimmedSize) {
  m_bRectRotated = rotated;
  setContentSize(untrimmedSize);
  setVertexRect(rect);
  setTextureCoords(rect);
  CCPoint relative = m_obUnflippedOffsetPositionFromCenter;
  if (m_bFlipX) relative.x = -relative.x;
  if (m_bFlipY) relative.y = -relative.y;
  const CCSize& size = getContentSize();
  m_obOffsetPosition.x = relative.x + (size.width - m_obRect.size.width) / 2;
  m_obOffsetPosition.y = relative.y + (size.height - m_obRect.size.height) / 2;
  float x1 = m_obOffsetPosition.x, y1 = m_obOffsetPosition.y;
  float x2 = x1 + m_obRect.size.width, y2 = y1 + m_obRect.size.height;
  m_sQuad.bl.vertices = vertex3(x1, y1, 0);
  m_sQuad.br.vertices = vertex3(x2, y1, 0);
  m_sQuad.tl.vertices = vertex3(x1, y2, 0);
  m_sQuad.tr.vertices = vertex3(x2, y2, 0);
}

void CCSprite::setTextureCoords(const CCRect& rect) {
  CCTexture2D* tex = m_pobTexture;
  if (!tex) return;
  float atlasWidth = static_cast<float>(tex->getPixelsWide());
  float atlasHeight = static_cast<float>(tex->getPixelsHigh());
  float left, right, top, bottom;
  if (m_bRectRotated) {
    // Packed a quarter turn clockwise: the frame's width runs down the texture.
    left = rect.origin.x / atlasWidth;
    right = (rect.origin.x + rect.size.height) / atlasWidth;
    top = rect.origin.y / atlasHeight;
    bottom = (rect.origin.y + rect.size.width) / atlasHeight;
    if (m_bFlipX) std::swap(top, bottom);
    if (m_bFlipY) std::swap(left, right);
    m_sQuad.bl.texCoords = tex2(left, top);
    m_sQuad.br.texCoords = tex2(left, bottom);
    m_sQuad.tl.texCoords = tex2(right, top);
    m_sQuad.tr.texCoords = tex2(right, bottom);
  } else {
    left = rect.origin.x / atlasWidth;
    right = (rect.origin.x + rect.size.width) / atlasWidth;
    top = rect.origin.y / atlasHeight;
    bottom = (rect.origin.y + rect.size.height) / atlasHeight;
    if (m_bFlipX) std::swap(left, right);
    if (m_bFlipY) std::swap(top, bottom);
    m_sQuad.bl.texCoords = tex2(left, bottom);
    m_sQuad.br.texCoords = tex2(right, bottom);
    m_sQuad.tl.texCoords = tex2(left, top);
    m_sQuad.tr.texCoords = tex2(right, top);
  }
}

void CCSprite::setFlipX(bool flip) {
  if (m_bFlipX == flip) return;
  m_bFlipX = flip;
  setTextureRect(m_obRect, m_bRectRotated, getContentSize());
}

void CCSprite::setFlipY(bool flip) {
  if (m_bFlipY == flip) return;
  m_bFlipY = flip;
  setTextureRect(m_obRect, m_bRectRotated, getContentSize());
}

void CCSprite::updateColor() {
  ccColor4B c = {m_sColor.r, m_sColor.g, m_sColor.b, m_nOpacity};
  m_sQuad.bl.colors = m_sQuad.br.colors = m_sQuad.tl.colors = m_sQuad.tr.colors = c;
}

void CCSprite::setColor(const ccColor3B& color) {
  m_sColor = m_sColorUnmodified = color;
  if (m_bOpacityModifyRGB) {
    m_sColor.r = static_cast<GLubyte>(color.r * m_nOpacity / 255);
    m_sColor.g = static_cast<GLubyte>(color.g * m_nOpacity / 255);
    m_sColor.b = static_cast<GLubyte>(color.b * m_nOpacity / 255);
  }
  updateColor();
}

const ccColor3B& CCSprite::getColor() { return m_bOpacityModifyRGB ? m_sColorUnmodified : m_sColor; }

GLubyte CCSprite::getOpacity() { return m_nOpacity; }

void CCSprite::setOpacity(GLubyte opacity) {
  m_nOpacity = opacity;
  // Premultiplied textures need the colour scaled along with the alpha.
  if (m_bOpacityModifyRGB) setColor(m_sColorUnmodified);
  updateColor();
}

void CCSprite::setOpacityModifyRGB(bool modify) {
  ccColor3B old = getColor();
  m_bOpacityModifyRGB = modify;
  setColor(old);
}

bool CCSprite::isOpacityModifyRGB() { return m_bOpacityModifyRGB; }

CCTexture2D* CCSprite::getTexture() { return m_pobTexture; }

void CCSprite::setTexture(CCTexture2D* texture) {
  if (m_pobBatchNode && texture && texture != m_pobBatchNode->getTexture()) {
    CCLogError("CCSprite: a batched sprite must use the batch node's texture");
    return;
  }
  if (texture != m_pobTexture) {
    ccSetRetained(m_pobTexture, texture);
    updateBlendFunc();
  }
}

void CCSprite::updateBlendFunc() {
  m_sBlendFunc = ccBlendFuncForTexture(m_pobTexture);
  // Premultiplied colours are scaled along with the opacity.
  setOpacityModifyRGB(m_sBlendFunc.src == GL_ONE);
}

void CCSprite::setDisplayFrame(CCSpriteFrame* frame) {
  if (!frame) return;
  m_obUnflippedOffsetPositionFromCenter = frame->getOffset();
  CCTexture2D* texture = frame->getTexture();
  if (texture != m_pobTexture) setTexture(texture);
  m_bRectRotated = frame->isRotated();
  setTextureRect(frame->getRect(), m_bRectRotated, frame->getOriginalSize());
}

bool CCSprite::isFrameDisplayed(CCSpriteFrame* frame) {
  if (!frame) return false;
  return frame->getRect().equals(m_obRect) && frame->getTexture() == m_pobTexture &&
         frame->getOffset().equals(m_obUnflippedOffsetPositionFromCenter);
}

CCSpriteFrame* CCSprite::displayFrame() {
  return CCSpriteFrame::createWithTexture(m_pobTexture, m_obRect, m_bRectRotated,
                                          m_obUnflippedOffsetPositionFromCenter, getContentSize());
}

void CCSprite::setDisplayFrameWithAnimationName(const char* animationName, int frameIndex) {
  CCAnimation* animation = CCAnimationCache::sharedAnimationCache()->animationByName(animationName);
  CCArray* frames = animation ? animation->getFrames() : nullptr;
  if (!frames || frameIndex < 0 || static_cast<unsigned int>(frameIndex) >= frames->count()) {
    CCLogError("CCSprite: animation %s has no frame %d", animationName ? animationName : "(null)",
               frameIndex);
    return;
  }
  CCAnimationFrame* frame = static_cast<CCAnimationFrame*>(frames->objectAtIndex(frameIndex));
  setDisplayFrame(frame->getSpriteFrame());
}

void CCSprite::setBatchNode(CCSpriteBatchNode* batchNode) { m_pobBatchNode = batchNode; }

ccV3F_C4B_T2F_Quad CCSprite::quadInSpaceOf(CCNode* ancestor) {
  CCAffineTransform t = nodeToParentTransform();
  for (CCNode* p = getParent(); p && p != ancestor; p = p->getParent())
    t = CCAffineTransformConcat(t, p->nodeToParentTransform());
  ccV3F_C4B_T2F_Quad q = m_sQuad;
  ccV3F_C4B_T2F* corners[4] = {&q.bl, &q.br, &q.tl, &q.tr};
  for (ccV3F_C4B_T2F* c : corners) {
    CCPoint p = CCPointApplyAffineTransform(CCPoint(c->vertices.x, c->vertices.y), t);
    c->vertices = vertex3(p.x, p.y, 0);
  }
  return q;
}

void CCSprite::draw() {
  // A batched sprite is drawn by its batch node.
  if (m_pobBatchNode || !m_pobTexture) return;
  CCGLProgram* program = getShaderProgram();
  if (!program) return;
  program->use();
  program->setUniformForModelViewProjectionMatrix();
  ccGLBlendFunc(m_sBlendFunc.src, m_sBlendFunc.dst);
  ccGLBindTexture2D(m_pobTexture->getName());
  ccGLVertexAttribsForVertices(&m_sQuad.tl);
  // Quad order tl, bl, tr, br is a triangle strip.
  glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  CC_INCREMENT_GL_DRAWS(1);
}

void CCSprite::addChild(CCNode* child) { addChild(child, child ? child->getZOrder() : 0); }

void CCSprite::addChild(CCNode* child, int zOrder) {
  addChild(child, zOrder, child ? child->getTag() : -1);
}

void CCSprite::addChild(CCNode* child, int zOrder, int tag) {
  if (!child) return;
  if (m_pobBatchNode) {
    CCSprite* sprite = dynamic_cast<CCSprite*>(child);
    if (!sprite || sprite->getTexture() != m_pobTexture) {
      CCLogError("CCSprite: a batched sprite takes only sprites of the same texture as children");
      return;
    }
  }
  CCNode::addChild(child, zOrder, tag);
  if (m_pobBatchNode) m_pobBatchNode->adoptSprite(static_cast<CCSprite*>(child));
}

namespace {

void leaveBatch(CCNode* node) {
  CCSprite* sprite = dynamic_cast<CCSprite*>(node);
  if (!sprite || !sprite->isBatched()) return;
  sprite->setBatchNode(nullptr);
  CCArray* children = sprite->getChildren();
  if (!children) return;
  for (unsigned int i = 0; i < children->count(); ++i)
    leaveBatch(static_cast<CCNode*>(children->objectAtIndex(i)));
}

}  // namespace

void CCSprite::removeChild(CCNode* child, bool cleanup) {
  if (m_pobBatchNode && child && child->getParent() == this) leaveBatch(child);
  CCNode::removeChild(child, cleanup);
}

void CCSprite::removeAllChildrenWithCleanup(bool cleanup) {
  CCArray* children = getChildren();
  if (m_pobBatchNode && children) {
    for (unsigned int i = 0; i < children->count(); ++i)
      leaveBatch(static_cast<CCNode*>(children->objectAtIndex(i)));
  }
  CCNode::removeAllChildrenWithCleanup(cleanup);
}

NS_CC_END
