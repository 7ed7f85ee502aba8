#include "CCLabelBMFont.h"

#include <cmath>
#include <cstring>

#include "CCGL.h"
#include "CCGLMatrix.h"
#include "CCSprite.h"
#include "CCTexture2D.h"
#include "CCTextureCache.h"

NS_CC_BEGIN

namespace {

// Bitmap fonts are pixel art: never smoothed, never wrapped around.
void setFontTexParameters(CCTexture2D* texture) {
  if (!texture) return;
  ccTexParams params = {GL_NEAREST, GL_NEAREST, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE};
  texture->setTexParameters(&params);
}

// Moves each quad so that its first corner lands on a whole window pixel. A smoothed glyph
// drawn with nearest sampling from a half-pixel place would take some texels twice and drop
// others: a thin stem would vanish beside its dim edges. Only when the label is drawn
// upright (no rotation, skew or perspective); its nodes keep their places.
void snapQuadsToPixels(ccV3F_C4B_T2F_Quad* quads, unsigned int count) {
  kmMat4 projection, modelview, m;
  kmGLGetMatrix(KM_GL_PROJECTION, &projection);
  kmGLGetMatrix(KM_GL_MODELVIEW, &modelview);
  kmMat4Multiply(&m, &projection, &modelview);
  const float* a = m.mat;
  if (a[1] != 0 || a[4] != 0 || a[3] != 0 || a[7] != 0 || a[15] == 0) return;
  GLint viewport[4] = {0, 0, 0, 0};
  glGetIntegerv(GL_VIEWPORT, viewport);
  // Window pixels per unit of the label's space, and the window place of its origin.
  const float perUnitX = a[0] / a[15] * 0.5f * static_cast<float>(viewport[2]);
  const float perUnitY = a[5] / a[15] * 0.5f * static_cast<float>(viewport[3]);
  if (perUnitX == 0 || perUnitY == 0) return;
  const float originX = viewport[0] + (a[12] / a[15] + 1) * 0.5f * static_cast<float>(viewport[2]);
  const float originY = viewport[1] + (a[13] / a[15] + 1) * 0.5f * static_cast<float>(viewport[3]);
  for (unsigned int i = 0; i < count; ++i) {
    ccV3F_C4B_T2F_Quad& q = quads[i];
    const float px = originX + q.bl.vertices.x * perUnitX;
    const float py = originY + q.bl.vertices.y * perUnitY;
    const float dx = (std::floor(px + 0.5f) - px) / perUnitX;
    const float dy = (std::floor(py + 0.5f) - py) / perUnitY;
    for (ccV3F_C4B_T2F* c : {&q.bl, &q.br, &q.tl, &q.tr}) {
      c->vertices.x += dx;
      c->vertices.y += dy;
    }
  }
}

}  // namespace

CCLabelBMFont::CCLabelBMFont() : m_tColor(ccc3(255, 255, 255)) {}

CCLabelBMFont::~CCLabelBMFont() {
  clearGlyphs();
  CC_SAFE_RELEASE(m_pConfiguration);
}

CCLabelBMFont* CCLabelBMFont::create() {
  CCLabelBMFont* p = new CCLabelBMFont();
  return ccAutoreleaseIfInit(p, p->init());
}

CCLabelBMFont* CCLabelBMFont::create(const char* str, const char* fntFile, float width,
                                     CCTextAlignment alignment, CCPoint imageOffset) {
  CCLabelBMFont* p = new CCLabelBMFont();
  return ccAutoreleaseIfInit(p, p->initWithString(str, fntFile, width, alignment, imageOffset));
}

bool CCLabelBMFont::init() { return initWithString(nullptr, nullptr); }

bool CCLabelBMFont::initWithString(const char* str, const char* fntFile, float width,
                                   CCTextAlignment alignment, CCPoint imageOffset) {
  CCTexture2D* texture = nullptr;
  if (fntFile && *fntFile) {
    CCBMFontConfiguration* config = FNTConfigLoadFile(fntFile);
    if (!config) {
      CCLOGERROR("CCLabelBMFont: cannot use font %s", fntFile);
      return false;
    }
    texture = CCTextureCache::sharedTextureCache()->addImage(config->getAtlasName().c_str());
    if (!texture) {
      CCLOGERROR("CCLabelBMFont: cannot load the atlas of %s", fntFile);
      return false;
    }
    config->retain();
    m_pConfiguration = config;
    m_sFntFile = fntFile;
  } else {
    texture = new CCTexture2D();
    texture->autorelease();
  }
  // Room for the glyphs of the first text, at least one: a label made empty (as a layout
  // makes it) would otherwise reserve the batch default, many times what a short text needs.
  const unsigned glyphs = str ? static_cast<unsigned>(strlen(str)) : 0;
  if (!CCSpriteBatchNode::initWithTexture(texture, glyphs > 0 ? glyphs : 1)) return false;
  setFontTexParameters(texture);
  m_fWidth = width;
  m_eAlignment = alignment;
  m_tImageOffset = imageOffset;
  setAnchorPoint(CCPoint(0.5f, 0.5f));
  setString(str ? str : "", false, false);
  return true;
}

void CCLabelBMFont::clearGlyphs() {
  for (CCSprite* s : m_glyphs) {
    if (s->getParent() == this) removeChild(s, true);
    s->release();
  }
  m_glyphs.clear();
}

void CCLabelBMFont::createFontChars() {
  clearGlyphs();
  if (!m_pConfiguration) {
    setContentSize(CCSize(0, 0));
    return;
  }
  float width = m_fWidth > 0 ? m_fWidth : 0;
  ccBMFontLayout layout =
      ccBMFontLayoutText(*m_pConfiguration, m_sInitialString, width, m_eAlignment, m_tImageOffset);
  CCTexture2D* texture = getTexture();
  for (const ccBMFontGlyphPlacement& g : layout.glyphs) {
    CCSprite* s = CCSprite::createWithTexture(texture, g.rect);
    if (!s) continue;
    s->setPosition(g.center);
    s->setColor(m_tColor);
    s->setOpacity(m_cOpacity);
    addChild(s, 0, g.index);
    s->retain();
    m_glyphs.push_back(s);
  }
  setContentSize(layout.size);
}

void CCLabelBMFont::placeQuads(ccV3F_C4B_T2F_Quad* quads, unsigned int count) {
  snapQuadsToPixels(quads, count);
}

void CCLabelBMFont::snapGlyphsToPixels(ccV3F_C4B_T2F_Quad* quads, unsigned int count) {
  snapQuadsToPixels(quads, count);
}

void CCLabelBMFont::setString(const char* newString) { setString(newString, false, false); }

void CCLabelBMFont::setString(const char* newString, bool fromUpdate) {
  setString(newString, fromUpdate, false);
}

void CCLabelBMFont::setString(const char* newString, bool fromUpdate, bool keepText) {
  (void)fromUpdate;
  m_bKeepText = keepText;
  m_sString = newString ? newString : "";
  m_sInitialString = ccUTF8ToUTF16(m_sString);
  updateLabel();
}

const char* CCLabelBMFont::getString() { return m_sString.c_str(); }

void CCLabelBMFont::updateLabel() { createFontChars(); }

void CCLabelBMFont::setAlignment(CCTextAlignment alignment) {
  m_eAlignment = alignment;
  updateLabel();
}

void CCLabelBMFont::setWidth(float width) {
  m_fWidth = width;
  updateLabel();
}

bool CCLabelBMFont::applyFont(const char* fntFile) {
  CCBMFontConfiguration* config = FNTConfigLoadFile(fntFile);
  if (!config) {
    CCLOGERROR("CCLabelBMFont: cannot use font %s; keeping %s", fntFile, m_sFntFile.c_str());
    return false;
  }
  CCTexture2D* texture =
      CCTextureCache::sharedTextureCache()->addImage(config->getAtlasName().c_str());
  if (!texture) {
    CCLOGERROR("CCLabelBMFont: cannot load the atlas of %s; keeping %s", fntFile,
               m_sFntFile.c_str());
    return false;
  }
  setFontTexParameters(texture);
  config->retain();
  CC_SAFE_RELEASE(m_pConfiguration);
  m_pConfiguration = config;
  m_sFntFile = fntFile;
  clearGlyphs();
  setTexture(texture);
  createFontChars();
  return true;
}

void CCLabelBMFont::setFntFile(const char* fntFile) {
  if (!fntFile) return;
  if (m_sFntFile.empty()) m_sOriginalFntFile = fntFile;
  if (m_sFntFile == fntFile) return;
  applyFont(fntFile);
}

void CCLabelBMFont::restoreOriginalFntFile() { setFntFile(m_sOriginalFntFile.c_str()); }

void CCLabelBMFont::setColor(const ccColor3B& color) {
  m_tColor = color;
  for (CCSprite* s : m_glyphs) s->setColor(color);
}

const ccColor3B& CCLabelBMFont::getColor() { return m_tColor; }

GLubyte CCLabelBMFont::getOpacity() { return m_cOpacity; }

void CCLabelBMFont::setOpacity(GLubyte opacity) {
  m_cOpacity = opacity;
  for (CCSprite* s : m_glyphs) s->setOpacity(opacity);
}

void CCLabelBMFont::setOpacityModifyRGB(bool isOpacityModifyRGB) {
  m_bIsOpacityModifyRGB = isOpacityModifyRGB;
  for (CCSprite* s : m_glyphs) s->setOpacityModifyRGB(isOpacityModifyRGB);
}

bool CCLabelBMFont::isOpacityModifyRGB() { return m_bIsOpacityModifyRGB; }

void CCLabelBMFont::setAnchorPoint(const CCPoint& var) { CCSpriteBatchNode::setAnchorPoint(var); }

void CCLabelBMFont::purgeCachedData() { FNTConfigRemoveCache(); }

NS_CC_END
