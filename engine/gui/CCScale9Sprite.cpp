#include "CCScale9Sprite.h"

#include <algorithm>

#include "CCSprite.h"
#include "CCSpriteBatchNode.h"
#include "CCSpriteFrame.h"
#include "CCSpriteFrameCache.h"
#include "CCTextureCache.h"

namespace cocos2d {
namespace extension {

CCScale9Sprite::CCScale9Sprite() : m_color(ccc3(255, 255, 255)) {}

CCScale9Sprite::~CCScale9Sprite() {
  for (CCSprite*& s : m_pieces) CC_SAFE_RELEASE_NULL(s);
  CC_SAFE_RELEASE(m_pBatch);
  CC_SAFE_RELEASE(m_pSpriteFrame);
}

CCScale9Sprite* CCScale9Sprite::create() {
  CCScale9Sprite* p = new CCScale9Sprite();
  return ccAutoreleaseIfInit(p, p->init());
}

CCScale9Sprite* CCScale9Sprite::createWithSpriteFrame(CCSpriteFrame* frame) {
  CCScale9Sprite* p = new CCScale9Sprite();
  return ccAutoreleaseIfInit(p, p->initWithSpriteFrame(frame, CCRect(0, 0, 0, 0)));
}

CCScale9Sprite* CCScale9Sprite::create(const char* file) {
  CCTexture2D* texture = file ? CCTextureCache::sharedTextureCache()->addImage(file) : nullptr;
  if (!texture) {
    CCLOGERROR("CCScale9Sprite: cannot load %s", file ? file : "(null)");
    return nullptr;
  }
  const CCSize& s = texture->getContentSize();
  return createWithSpriteFrame(
      CCSpriteFrame::createWithTexture(texture, CCRect(0, 0, s.width, s.height)));
}

CCScale9Sprite* CCScale9Sprite::createWithSpriteFrameName(const char* name) {
  CCSpriteFrame* frame = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(name);
  return frame ? createWithSpriteFrame(frame) : nullptr;
}

bool CCScale9Sprite::init() { return initWithSpriteFrame(nullptr, CCRect(0, 0, 0, 0)); }

bool CCScale9Sprite::initWithSpriteFrame(CCSpriteFrame* frame, const CCRect& capInsets) {
  if (!CCNode::init()) return false;
  setAnchorPoint(CCPoint(0.5f, 0.5f));
  if (frame) {
    setSpriteFrame(frame);
    setCapInsets(capInsets);
    setContentSize(m_originalSize);
  }
  return true;
}

void CCScale9Sprite::setSpriteFrame(CCSpriteFrame* frame) {
  if (!frame) return;
  CC_SAFE_RETAIN(frame);
  CC_SAFE_RELEASE(m_pSpriteFrame);
  m_pSpriteFrame = frame;
  bool first = m_originalSize.width == 0 && m_originalSize.height == 0;
  m_originalSize = frame->getRect().size;
  if (first && getContentSize().width == 0 && getContentSize().height == 0)
    CCNode::setContentSize(m_originalSize);
  rebuildPieces();
}

void CCScale9Sprite::setCapInsets(const CCRect& r) {
  if (r.size.width == 0 && r.size.height == 0 && r.origin.x == 0 && r.origin.y == 0) {
    m_insetLeft = m_insetRight = m_originalSize.width / 3;
    m_insetTop = m_insetBottom = m_originalSize.height / 3;
  } else {
    m_insetLeft = r.origin.x;
    m_insetTop = r.origin.y;
    m_insetRight = m_originalSize.width - r.origin.x - r.size.width;
    m_insetBottom = m_originalSize.height - r.origin.y - r.size.height;
  }
  rebuildPieces();
}

void CCScale9Sprite::setInsetLeft(float v) {
  m_insetLeft = v;
  rebuildPieces();
}
void CCScale9Sprite::setInsetTop(float v) {
  m_insetTop = v;
  rebuildPieces();
}
void CCScale9Sprite::setInsetRight(float v) {
  m_insetRight = v;
  rebuildPieces();
}
void CCScale9Sprite::setInsetBottom(float v) {
  m_insetBottom = v;
  rebuildPieces();
}

void CCScale9Sprite::rebuildPieces() {
  for (CCSprite*& s : m_pieces) CC_SAFE_RELEASE_NULL(s);
  if (m_pBatch) {
    removeChild(m_pBatch, true);
    CC_SAFE_RELEASE_NULL(m_pBatch);
  }
  if (!m_pSpriteFrame || !m_pSpriteFrame->getTexture()) return;
  // The nine pieces share the frame's texture: one batch draws them in one call.
  m_pBatch = CCSpriteBatchNode::createWithTexture(m_pSpriteFrame->getTexture(), 9);
  if (!m_pBatch) return;
  m_pBatch->retain();
  m_pBatch->setAnchorPoint(CCPoint(0, 0));
  m_pBatch->setPosition(CCPoint(0, 0));
  addChild(m_pBatch, -1);
  const CCRect& fr = m_pSpriteFrame->getRect();
  float W = fr.size.width, H = fr.size.height;
  // Insets that overlap would give negative middles: keep them inside the frame.
  float l = std::clamp(m_insetLeft, 0.f, W), r = std::clamp(m_insetRight, 0.f, W - l);
  float t = std::clamp(m_insetTop, 0.f, H), b = std::clamp(m_insetBottom, 0.f, H - t);
  float xs[3] = {0, l, W - r}, ws[3] = {l, W - l - r, r};
  // Rows bottom first; in the upright frame (origin top left) the bottom row is lowest.
  float ys[3] = {H - b, t, 0}, hs[3] = {b, H - t - b, t};
  const bool rotated = m_pSpriteFrame->isRotated();
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      // A frame packed a quarter turn clockwise has the upright frame's bottom edge along
      // its left side and its left edge along its top: a piece's upright x runs down the
      // texture and its distance from the bottom runs right.
      CCRect rect = rotated ? CCRect(fr.origin.x + (H - ys[row] - hs[row]), fr.origin.y + xs[col],
                                     ws[col], hs[row])
                            : CCRect(fr.origin.x + xs[col], fr.origin.y + ys[row], ws[col], hs[row]);
      CCSprite* s = new CCSprite();
      s = ccAutoreleaseIfInit(s, s->initWithTexture(m_pSpriteFrame->getTexture(), rect, rotated));
      if (!s) continue;
      s->setAnchorPoint(CCPoint(0, 0));
      s->setColor(m_color);
      s->setOpacity(m_opacity);
      m_pBatch->addChild(s);
      s->retain();
      m_pieces[row * 3 + col] = s;
    }
  }
  layoutPieces();
}

void CCScale9Sprite::layoutPieces() {
  if (!m_pSpriteFrame) return;
  const CCRect& fr = m_pSpriteFrame->getRect();
  float W = fr.size.width, H = fr.size.height;
  float l = std::clamp(m_insetLeft, 0.f, W), r = std::clamp(m_insetRight, 0.f, W - l);
  float t = std::clamp(m_insetTop, 0.f, H), b = std::clamp(m_insetBottom, 0.f, H - t);
  const CCSize& size = getContentSize();
  float midW = W - l - r, midH = H - t - b;
  float sx = midW > 0 ? std::max(0.f, (size.width - l - r) / midW) : 0;
  float sy = midH > 0 ? std::max(0.f, (size.height - t - b) / midH) : 0;
  float xs[3] = {0, l, std::max(l, size.width - r)};
  float ys[3] = {0, b, std::max(b, size.height - t)};
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      CCSprite* s = m_pieces[row * 3 + col];
      if (!s) continue;
      s->setPosition(CCPoint(xs[col], ys[row]));
      s->setScaleX(col == 1 ? sx : 1.0f);
      s->setScaleY(row == 1 ? sy : 1.0f);
    }
  }
}

void CCScale9Sprite::setContentSize(const CCSize& size) {
  CCNode::setContentSize(size);
  m_preferredSize = size;
  layoutPieces();
}

void CCScale9Sprite::setPreferredSize(const CCSize& size) { setContentSize(size); }

void CCScale9Sprite::setColor(const ccColor3B& color) {
  m_color = color;
  for (CCSprite* s : m_pieces)
    if (s) s->setColor(color);
}

void CCScale9Sprite::setOpacity(GLubyte opacity) {
  m_opacity = opacity;
  for (CCSprite* s : m_pieces)
    if (s) s->setOpacity(opacity);
}

}  // namespace extension
}  // namespace cocos2d
