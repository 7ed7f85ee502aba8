#include "CCTexture2D.h"

#include <cstdio>
#include <vector>

#include "CCCommon.h"
#include "CCGLProgram.h"
#include "CCImage.h"
#include "CCShaderCache.h"
#include "ccGLStateCache.h"

NS_CC_BEGIN

CCTexture2D::CCTexture2D() { m_description[0] = '\0'; }

CCTexture2D::~CCTexture2D() {
  CC_SAFE_RELEASE(m_pShaderProgram);
  if (m_uName) ccGLDeleteTexture(m_uName);
}

bool CCTexture2D::initWithData(const void* data, CCTexture2DPixelFormat format,
                               unsigned int pixelsWide, unsigned int pixelsHigh,
                               const CCSize& contentSize) {
  GLenum glFormat;
  switch (format) {
    case kCCTexture2DPixelFormat_RGBA8888: glFormat = GL_RGBA; break;
    case kCCTexture2DPixelFormat_RGB888: glFormat = GL_RGB; break;
    case kCCTexture2DPixelFormat_A8: glFormat = GL_ALPHA; break;
    case kCCTexture2DPixelFormat_I8: glFormat = GL_LUMINANCE; break;
    case kCCTexture2DPixelFormat_AI88: glFormat = GL_LUMINANCE_ALPHA; break;
    default:
      CCLogError("CCTexture2D: unsupported pixel format %d", static_cast<int>(format));
      return false;
  }
  if (pixelsWide == 0 || pixelsHigh == 0) {
    CCLogError("CCTexture2D: empty texture");
    return false;
  }
  if (m_uName) ccGLDeleteTexture(m_uName);
  m_uName = 0;
  m_tContentSize = contentSize;
  m_uPixelsWide = pixelsWide;
  m_uPixelsHigh = pixelsHigh;
  m_ePixelFormat = format;
  m_fMaxS = contentSize.width / static_cast<float>(pixelsWide);
  m_fMaxT = contentSize.height / static_cast<float>(pixelsHigh);
  m_bHasPremultipliedAlpha = false;
  m_bHasMipmaps = false;
  // Without OpenGL (no window) the texture keeps its sizes and has no GL name.
  if (!ccGLAvailable()) return true;
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glGenTextures(1, &m_uName);
  ccGLBindTexture2D(m_uName);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, m_texParams.minFilter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, m_texParams.magFilter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, m_texParams.wrapS);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, m_texParams.wrapT);
  glTexImage2D(GL_TEXTURE_2D, 0, glFormat, static_cast<GLsizei>(pixelsWide),
               static_cast<GLsizei>(pixelsHigh), 0, glFormat, GL_UNSIGNED_BYTE, data);
  setShaderProgram(CCShaderCache::sharedShaderCache()->programForKey(
      format == kCCTexture2DPixelFormat_A8 ? kCCShader_PositionTextureA8Color
                                           : kCCShader_PositionTextureColor));
  return true;
}

bool CCTexture2D::initWithImage(CCImage* image) {
  if (!image || !image->getData()) {
    CCLogError("CCTexture2D: cannot create a texture from an empty image");
    return false;
  }
  unsigned w = image->getWidth(), h = image->getHeight();
  GLint maxSize = 0;
  if (ccGLAvailable()) glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  if (maxSize > 0 && (w > static_cast<unsigned>(maxSize) || h > static_cast<unsigned>(maxSize))) {
    CCLogError("CCTexture2D: image (%u x %u) is bigger than the supported %d x %d", w, h,
               maxSize, maxSize);
    return false;
  }
  bool ok = initWithData(image->getData(), kCCTexture2DPixelFormat_RGBA8888, w, h,
                         CCSize(static_cast<float>(w), static_cast<float>(h)));
  m_bHasPremultipliedAlpha = ok && image->isPremultipliedAlpha();
  return ok;
}

void CCTexture2D::setTexParameters(ccTexParams* params) {
  if (!params) return;
  m_texParams = *params;
  if (!m_uName) return;
  ccGLBindTexture2D(m_uName);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, params->minFilter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, params->magFilter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, params->wrapS);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, params->wrapT);
}

void CCTexture2D::setAliasTexParameters() {
  ccTexParams p = {static_cast<GLuint>(m_bHasMipmaps ? GL_NEAREST_MIPMAP_NEAREST : GL_NEAREST),
                   GL_NEAREST, m_texParams.wrapS, m_texParams.wrapT};
  setTexParameters(&p);
}

void CCTexture2D::setAntiAliasTexParameters() {
  ccTexParams p = {static_cast<GLuint>(m_bHasMipmaps ? GL_LINEAR_MIPMAP_NEAREST : GL_LINEAR),
                   GL_LINEAR, m_texParams.wrapS, m_texParams.wrapT};
  setTexParameters(&p);
}

void CCTexture2D::generateMipmap() {
  if (!m_uName) return;
  ccGLBindTexture2D(m_uName);
  glGenerateMipmap(GL_TEXTURE_2D);
  m_bHasMipmaps = true;
}

void CCTexture2D::setShaderProgram(CCGLProgram* program) {
  if (program == m_pShaderProgram) return;
  ccSetRetained(m_pShaderProgram, program);
}

void CCTexture2D::drawQuad(const GLfloat* vertices) {
  if (!m_pShaderProgram || !m_uName) return;
  // Image rows are stored top-down, so t = 0 is the top of the picture.
  GLfloat flipped[] = {0.0f, m_fMaxT, m_fMaxS, m_fMaxT, 0.0f, 0.0f, m_fMaxS, 0.0f};
  ccGLEnableVertexAttribs(kCCVertexAttribFlag_Position | kCCVertexAttribFlag_TexCoords);
  m_pShaderProgram->use();
  m_pShaderProgram->setUniformForModelViewProjectionMatrix();
  ccGLBindTexture2D(m_uName);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glVertexAttribPointer(kCCVertexAttrib_Position, 2, GL_FLOAT, GL_FALSE, 0, vertices);
  glVertexAttribPointer(kCCVertexAttrib_TexCoords, 2, GL_FLOAT, GL_FALSE, 0, flipped);
  glVertexAttrib4f(kCCVertexAttrib_Color, 1.0f, 1.0f, 1.0f, 1.0f);
  glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  CC_INCREMENT_GL_DRAWS(1);
}

void CCTexture2D::drawAtPoint(const CCPoint& point) {
  GLfloat w = m_uPixelsWide * m_fMaxS, h = m_uPixelsHigh * m_fMaxT;
  GLfloat vertices[] = {point.x, point.y, w + point.x, point.y,
                        point.x, h + point.y, w + point.x, h + point.y};
  drawQuad(vertices);
}

void CCTexture2D::drawInRect(const CCRect& rect) {
  GLfloat vertices[] = {rect.origin.x, rect.origin.y, rect.getMaxX(), rect.origin.y,
                        rect.origin.x, rect.getMaxY(), rect.getMaxX(), rect.getMaxY()};
  drawQuad(vertices);
}

unsigned int CCTexture2D::bitsPerPixelForFormat() const {
  switch (m_ePixelFormat) {
    case kCCTexture2DPixelFormat_RGBA8888: return 32;
    case kCCTexture2DPixelFormat_RGB888: return 24;
    case kCCTexture2DPixelFormat_A8:
    case kCCTexture2DPixelFormat_I8: return 8;
    default: return 16;
  }
}

const char* CCTexture2D::description() {
  std::snprintf(m_description, sizeof(m_description), "<CCTexture2D | Name = %u | Dimensions = %u x %u>",
                m_uName, m_uPixelsWide, m_uPixelsHigh);
  return m_description;
}

NS_CC_END
