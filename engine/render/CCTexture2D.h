#pragma once

#include "CCGL.h"
#include "CCGeometry.h"
#include "CCObject.h"
#include "ccTypes.h"

NS_CC_BEGIN

class CCImage;
class CCGLProgram;

typedef enum {
  kCCTexture2DPixelFormat_RGBA8888,
  kCCTexture2DPixelFormat_RGB888,
  kCCTexture2DPixelFormat_RGB565,
  kCCTexture2DPixelFormat_A8,
  kCCTexture2DPixelFormat_I8,
  kCCTexture2DPixelFormat_AI88,
  kCCTexture2DPixelFormat_RGBA4444,
  kCCTexture2DPixelFormat_RGB5A1,
  kCCTexture2DPixelFormat_Default = kCCTexture2DPixelFormat_RGBA8888,
} CCTexture2DPixelFormat;

struct ccTexParams {
  GLuint minFilter;
  GLuint magFilter;
  GLuint wrapS;
  GLuint wrapT;
};

// One GL texture made from pixel data (8-bit per channel formats).
class CCTexture2D : public CCObject {
 public:
  CCTexture2D();
  virtual ~CCTexture2D();

  // RGBA8888, RGB888, A8, I8 and AI88 data, rows bottom-up as GL reads them
  // (images from CCImage are top-down; texture coordinates account for that).
  bool initWithData(const void* data, CCTexture2DPixelFormat format, unsigned int pixelsWide,
                    unsigned int pixelsHigh, const CCSize& contentSize);
  bool initWithImage(CCImage* image);

  void setTexParameters(ccTexParams* params);
  void setAntiAliasTexParameters();
  void setAliasTexParameters();
  void generateMipmap();

  GLuint getName() const { return m_uName; }
  CCTexture2DPixelFormat getPixelFormat() const { return m_ePixelFormat; }
  unsigned int getPixelsWide() const { return m_uPixelsWide; }
  unsigned int getPixelsHigh() const { return m_uPixelsHigh; }
  const CCSize& getContentSize() const { return m_tContentSize; }
  const CCSize& getContentSizeInPixels() const { return m_tContentSize; }
  float getMaxS() const { return m_fMaxS; }
  float getMaxT() const { return m_fMaxT; }
  void setMaxS(float s) { m_fMaxS = s; }
  void setMaxT(float t) { m_fMaxT = t; }
  bool hasPremultipliedAlpha() const { return m_bHasPremultipliedAlpha; }
  bool hasMipmaps() const { return m_bHasMipmaps; }
  const ccTexParams& getTexParams() const { return m_texParams; }

  CCGLProgram* getShaderProgram() const { return m_pShaderProgram; }
  void setShaderProgram(CCGLProgram* program);

  // Draws the whole texture with its lower-left corner at the point.
  void drawAtPoint(const CCPoint& point);
  void drawInRect(const CCRect& rect);

  unsigned int bitsPerPixelForFormat() const;
  const char* description();

 private:
  void drawQuad(const GLfloat* vertices);

  GLuint m_uName = 0;
  CCTexture2DPixelFormat m_ePixelFormat = kCCTexture2DPixelFormat_Default;
  unsigned int m_uPixelsWide = 0;
  unsigned int m_uPixelsHigh = 0;
  CCSize m_tContentSize;
  float m_fMaxS = 0;
  float m_fMaxT = 0;
  bool m_bHasPremultipliedAlpha = false;
  bool m_bHasMipmaps = false;
  ccTexParams m_texParams = {GL_LINEAR, GL_LINEAR, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE};
  CCGLProgram* m_pShaderProgram = nullptr;
  char m_description[128];
};

// How a texture is blended by default: premultiplied colours (and no texture) take
// (ONE, ONE_MINUS_SRC_ALPHA), straight alpha (SRC_ALPHA, ONE_MINUS_SRC_ALPHA).
inline ccBlendFunc ccBlendFuncForTexture(CCTexture2D* texture) {
  ccBlendFunc f = {GLenum(texture && !texture->hasPremultipliedAlpha() ? GL_SRC_ALPHA : GL_ONE),
                   GL_ONE_MINUS_SRC_ALPHA};
  return f;
}

NS_CC_END
