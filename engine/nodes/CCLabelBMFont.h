#pragma once

#include <string>
#include <vector>

#include "CCBMFontConfiguration.h"
#include "CCProtocols.h"
#include "CCSpriteBatchNode.h"

NS_CC_BEGIN

class CCSprite;

#define kCCLabelAutomaticWidth -1.0f

// A text drawn with a bitmap font (.fnt + atlas image): one sprite a character, all in one
// batch. The font's texture is never smoothed. The first font set on a label without one is
// remembered as its original, so a pressed button can switch to a "-selected" variant and
// back.
class CCLabelBMFont : public CCSpriteBatchNode, public CCLabelProtocol, public CCRGBAProtocol {
 public:
  CCLabelBMFont();
  virtual ~CCLabelBMFont();

  static CCLabelBMFont* create();
  static CCLabelBMFont* create(const char* str, const char* fntFile,
                               float width = kCCLabelAutomaticWidth,
                               CCTextAlignment alignment = kCCTextAlignmentLeft,
                               CCPoint imageOffset = CCPoint(0, 0));
  virtual bool init();
  bool initWithString(const char* str, const char* fntFile, float width = kCCLabelAutomaticWidth,
                      CCTextAlignment alignment = kCCTextAlignmentLeft,
                      CCPoint imageOffset = CCPoint(0, 0));

  // CCLabelProtocol
  virtual void setString(const char* newString);
  virtual const char* getString();
  void setString(const char* newString, bool fromUpdate);
  // keepText: the text is laid out as given, without going back to an earlier text.
  void setString(const char* newString, bool fromUpdate, bool keepText);
  void setCString(const char* label) { setString(label); }
  bool getKeepText() const { return m_bKeepText; }

  void setAlignment(CCTextAlignment alignment);
  CCTextAlignment getAlignment() const { return m_eAlignment; }
  // Wrapping width; kCCLabelAutomaticWidth (or 0) for none.
  void setWidth(float width);
  float getWidth() const { return m_fWidth; }
  void setLineBreakWithoutSpace(bool breakWithoutSpace) { (void)breakWithoutSpace; }
  // Lays the characters out again.
  void updateLabel();

  void setFntFile(const char* fntFile);
  const char* getFntFile() { return m_sFntFile.c_str(); }
  const std::string& getOriginalFntFile() const { return m_sOriginalFntFile; }
  void restoreOriginalFntFile();
  CCBMFontConfiguration* getConfiguration() { return m_pConfiguration; }

  // CCRGBAProtocol
  virtual void setColor(const ccColor3B& color);
  virtual const ccColor3B& getColor();
  virtual GLubyte getOpacity();
  virtual void setOpacity(GLubyte opacity);
  virtual void setOpacityModifyRGB(bool isOpacityModifyRGB);
  virtual bool isOpacityModifyRGB();

  virtual void setAnchorPoint(const CCPoint& var);

  // The glyph sprites, in text order (characters the font lacks have none).
  const std::vector<CCSprite*>& getGlyphSprites() const { return m_glyphs; }

  static void purgeCachedData();
  // Moves each glyph quad, drawn with the current matrices, so that its corner lands on a
  // whole window pixel (upright drawing only). Whoever draws glyph quads of its own (a
  // batch that gathers labels' glyphs) calls it too.
  static void snapGlyphsToPixels(ccV3F_C4B_T2F_Quad* quads, unsigned int count);

 protected:
  // Each glyph is drawn on whole window pixels (the nodes keep their places).
  void placeQuads(ccV3F_C4B_T2F_Quad* quads, unsigned int count) override;
  // Loads a font into the label; false (logged) when it cannot be used.
  bool applyFont(const char* fntFile);
  void createFontChars();
  void clearGlyphs();

  std::string m_sFntFile;
  std::string m_sOriginalFntFile;
  std::string m_sString;          // UTF-8
  std::u16string m_sInitialString;
  CCBMFontConfiguration* m_pConfiguration = nullptr;
  CCTextAlignment m_eAlignment = kCCTextAlignmentLeft;
  float m_fWidth = -1.0f;
  CCPoint m_tImageOffset;
  bool m_bKeepText = false;
  ccColor3B m_tColor;
  GLubyte m_cOpacity = 255;
  bool m_bIsOpacityModifyRGB = false;
  std::vector<CCSprite*> m_glyphs;
};

NS_CC_END
