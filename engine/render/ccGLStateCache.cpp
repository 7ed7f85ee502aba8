#include "ccGLStateCache.h"

#include <cstddef>

#include "ccTypes.h"

namespace cocos2d {

unsigned int g_uNumberOfDraws = 0;

namespace {

GLuint s_currentProgram = 0;
GLuint s_boundTexture = 0;
GLenum s_blendSrc = GL_ONE;
GLenum s_blendDst = GL_ZERO;
bool s_blendKnown = false;
unsigned int s_attribFlags = 0;
bool s_attribsKnown = false;
unsigned int s_projectionSerial = 1;

}  // namespace

bool ccGLAvailable() {
  return glActiveTexture != nullptr && glCreateProgram != nullptr && glUseProgram != nullptr &&
         glEnableVertexAttribArray != nullptr;
}

void ccGLInvalidateStateCache() {
  s_currentProgram = 0;
  s_boundTexture = 0;
  s_blendKnown = false;
  s_attribsKnown = false;
  ++s_projectionSerial;
}

void ccGLUseProgram(GLuint program) {
  if (!ccGLAvailable()) return;
  if (program != s_currentProgram) {
    s_currentProgram = program;
    glUseProgram(program);
  }
}

void ccGLDeleteProgram(GLuint program) {
  if (!ccGLAvailable()) return;
  if (program == s_currentProgram) s_currentProgram = 0;
  glDeleteProgram(program);
}

void ccGLBlendFunc(GLenum sfactor, GLenum dfactor) {
  if (!ccGLAvailable()) return;
  if (s_blendKnown && sfactor == s_blendSrc && dfactor == s_blendDst) return;
  s_blendKnown = true;
  s_blendSrc = sfactor;
  s_blendDst = dfactor;
  if (sfactor == GL_ONE && dfactor == GL_ZERO) {
    glDisable(GL_BLEND);
  } else {
    glEnable(GL_BLEND);
    glBlendFunc(sfactor, dfactor);
  }
}

void ccGLBindTexture2D(GLuint textureId) {
  if (!ccGLAvailable()) return;
  if (s_boundTexture != textureId) {
    s_boundTexture = textureId;
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, textureId);
  }
}

void ccGLDeleteTexture(GLuint textureId) {
  if (!ccGLAvailable()) return;
  if (textureId == s_boundTexture) s_boundTexture = 0;
  glDeleteTextures(1, &textureId);
}

void ccGLEnableVertexAttribs(unsigned int flags) {
  if (!ccGLAvailable()) return;
  for (unsigned int i = 0; i < kCCVertexAttrib_MAX; ++i) {
    unsigned int bit = 1u << i;
    bool want = (flags & bit) != 0;
    if (!s_attribsKnown || want != ((s_attribFlags & bit) != 0)) {
      if (want) glEnableVertexAttribArray(i);
      else glDisableVertexAttribArray(i);
    }
  }
  s_attribFlags = flags;
  s_attribsKnown = true;
}

void ccGLVertexAttribsForVertices(const ccV3F_C4B_T2F* vertices) {
  ccGLEnableVertexAttribs(kCCVertexAttribFlag_PosColorTex);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  const GLsizei stride = sizeof(ccV3F_C4B_T2F);
  const char* base = reinterpret_cast<const char*>(vertices);
  glVertexAttribPointer(kCCVertexAttrib_Position, 3, GL_FLOAT, GL_FALSE, stride,
                        base + offsetof(ccV3F_C4B_T2F, vertices));
  glVertexAttribPointer(kCCVertexAttrib_Color, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                        base + offsetof(ccV3F_C4B_T2F, colors));
  glVertexAttribPointer(kCCVertexAttrib_TexCoords, 2, GL_FLOAT, GL_FALSE, stride,
                        base + offsetof(ccV3F_C4B_T2F, texCoords));
}

void ccSetProjectionMatrixDirty() { ++s_projectionSerial; }
unsigned int ccGLProjectionSerial() { return s_projectionSerial; }

}  // namespace cocos2d
