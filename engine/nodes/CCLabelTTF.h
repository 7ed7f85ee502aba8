#pragma once

#include <string>

#include "CCProtocols.h"
#include "CCSprite.h"

NS_CC_BEGIN

// A text drawn with a TrueType font into a texture of its own (DejaVu Sans unless a .ttf file
// is named). Dimensions of zero take the text's own size.
class CCLabelTTF : public CCSprite, public CCLabelProtocol {
 public:
  CCLabelTTF() {}
  virtual ~CCLabelTTF() {}
  static CCLabelTTF* create();
  static CCLabelTTF* create(const char* string, const char* fontName, float fontSize);
  static CCLabelTTF* create(const char* string, const char* fontName, float fontSize,
                            const CCSize& dimensions, CCTextAlignment hAlignment,
                            CCVerticalTextAlignment vAlignment = kCCVerticalTextAlignmentTop);
  virtual bool init();
  bool initWithString(const char* string, const char* fontName, float fontSize,
                      const CCSize& dimensions = CCSize(0, 0),
                      CCTextAlignment hAlignment = kCCTextAlignmentCenter,
                      CCVerticalTextAlignment vAlignment = kCCVerticalTextAlignmentTop);

  virtual void setString(const char* label);
  virtual const char* getString() { return m_string.c_str(); }
  void setFontName(const char* fontName);
  const char* getFontName() { return m_fontName.c_str(); }
  void setFontSize(float fontSize);
  float getFontSize() const { return m_fontSize; }
  void setDimensions(const CCSize& dim);
  const CCSize& getDimensions() const { return m_dimensions; }
  void setHorizontalAlignment(CCTextAlignment alignment);
  CCTextAlignment getHorizontalAlignment() const { return m_hAlignment; }
  void setVerticalAlignment(CCVerticalTextAlignment alignment);
  CCVerticalTextAlignment getVerticalAlignment() const { return m_vAlignment; }

 private:
  void updateTexture();

  std::string m_string;
  std::string m_fontName = "DejaVuSans";
  float m_fontSize = 12;
  CCSize m_dimensions;
  CCTextAlignment m_hAlignment = kCCTextAlignmentCenter;
  CCVerticalTextAlignment m_vAlignment = kCCVerticalTextAlignmentTop;
  bool m_ready = false;
};

NS_CC_END
