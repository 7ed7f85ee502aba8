#include "CCLabelTTF.h"

#include "CCTextRasterizer.h"
#include "CCTexture2D.h"

NS_CC_BEGIN

CCLabelTTF* CCLabelTTF::create() {
  CCLabelTTF* p = new CCLabelTTF();
  return ccAutoreleaseIfInit(p, p->init());
}

CCLabelTTF* CCLabelTTF::create(const char* string, const char* fontName, float fontSize) {
  return create(string, fontName, fontSize, CCSize(0, 0), kCCTextAlignmentCenter);
}

CCLabelTTF* CCLabelTTF::create(const char* string, const char* fontName, float fontSize,
                               const CCSize& dimensions, CCTextAlignment hAlignment,
                               CCVerticalTextAlignment vAlignment) {
  CCLabelTTF* p = new CCLabelTTF();
  return ccAutoreleaseIfInit(p, p->initWithString(string, fontName, fontSize, dimensions, hAlignment, vAlignment));
}

bool CCLabelTTF::init() { return initWithString("", "DejaVuSans", 12); }

bool CCLabelTTF::initWithString(const char* string, const char* fontName, float fontSize,
                                const CCSize& dimensions, CCTextAlignment hAlignment,
                                CCVerticalTextAlignment vAlignment) {
  if (!CCSprite::init()) return false;
  m_fontName = fontName ? fontName : "DejaVuSans";
  m_fontSize = fontSize;
  m_dimensions = dimensions;
  m_hAlignment = hAlignment;
  m_vAlignment = vAlignment;
  m_string = string ? string : "";
  m_ready = true;
  updateTexture();
  return true;
}

void CCLabelTTF::updateTexture() {
  if (!m_ready) return;
  ccRasterizedText text;
  if (m_string.empty() ||
      !ccRasterizeText(m_string, m_fontName, m_fontSize, static_cast<int>(m_dimensions.width),
                       static_cast<int>(m_dimensions.height), m_hAlignment, m_vAlignment,
                       text)) {
    setTexture(nullptr);
    setTextureRect(CCRect(0, 0, 0, 0));
    setContentSize(m_dimensions);
    return;
  }
  // GL wants rows bottom up.
  std::vector<unsigned char> flipped(text.rgba.size());
  size_t row = static_cast<size_t>(text.width) * 4;
  for (int y = 0; y < text.height; ++y)
    std::copy(text.rgba.begin() + y * row, text.rgba.begin() + (y + 1) * row,
              flipped.begin() + (text.height - 1 - y) * row);
  CCTexture2D* texture = new CCTexture2D();
  CCSize size(static_cast<float>(text.width), static_cast<float>(text.height));
  if (!texture->initWithData(flipped.data(), kCCTexture2DPixelFormat_RGBA8888, text.width,
                             text.height, size)) {
    texture->release();
    return;
  }
  setTexture(texture);
  texture->release();
  setTextureRect(CCRect(0, 0, size.width, size.height));
}

void CCLabelTTF::setString(const char* label) {
  std::string s = label ? label : "";
  if (s == m_string) return;
  m_string = s;
  updateTexture();
}

void CCLabelTTF::setFontName(const char* fontName) {
  if (!fontName || m_fontName == fontName) return;
  m_fontName = fontName;
  updateTexture();
}

void CCLabelTTF::setFontSize(float fontSize) {
  if (m_fontSize == fontSize) return;
  m_fontSize = fontSize;
  updateTexture();
}

void CCLabelTTF::setDimensions(const CCSize& dim) {
  m_dimensions = dim;
  updateTexture();
}

void CCLabelTTF::setHorizontalAlignment(CCTextAlignment alignment) {
  if (m_hAlignment == alignment) return;
  m_hAlignment = alignment;
  updateTexture();
}

void CCLabelTTF::setVerticalAlignment(CCVerticalTextAlignment alignment) {
  if (m_vAlignment == alignment) return;
  m_vAlignment = alignment;
  updateTexture();
}

NS_CC_END
