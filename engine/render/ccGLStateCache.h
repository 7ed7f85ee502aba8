#pragma once

#include "CCGL.h"

namespace cocos2d {

// Vertex attribute slots shared by every shader.
enum {
  kCCVertexAttrib_Position = 0,
  kCCVertexAttrib_Color = 1,
  kCCVertexAttrib_TexCoords = 2,
  kCCVertexAttrib_MAX = 3,
};

enum {
  kCCVertexAttribFlag_None = 0,
  kCCVertexAttribFlag_Position = 1 << 0,
  kCCVertexAttribFlag_Color = 1 << 1,
  kCCVertexAttribFlag_TexCoords = 1 << 2,
  kCCVertexAttribFlag_PosColorTex =
      kCCVertexAttribFlag_Position | kCCVertexAttribFlag_Color | kCCVertexAttribFlag_TexCoords,
};

// True once OpenGL 2.0 entry points are loaded (a window exists). Without them textures
// and shaders are not created and nothing is drawn, so node logic also runs headless.
bool ccGLAvailable();

// Forgets every cached binding; call after anyone touched GL state behind the cache.
void ccGLInvalidateStateCache();
void ccGLUseProgram(GLuint program);
void ccGLDeleteProgram(GLuint program);
void ccGLBlendFunc(GLenum sfactor, GLenum dfactor);
void ccGLBindTexture2D(GLuint textureId);
void ccGLDeleteTexture(GLuint textureId);
// Enables exactly the attribute arrays named by the flags.
void ccGLEnableVertexAttribs(unsigned int flags);
// Enables the position, colour and texture-coordinate arrays and points them at
// consecutive vertices in client memory (no array buffer bound): sprite and atlas quads.
struct ccV3F_C4B_T2F;
void ccGLVertexAttribsForVertices(const ccV3F_C4B_T2F* vertices);
// The projection changed: every program re-sends its matrix on next use.
void ccSetProjectionMatrixDirty();
unsigned int ccGLProjectionSerial();

// Draw calls since the counter was last reset (the director resets it every frame).
extern unsigned int g_uNumberOfDraws;
#define CC_INCREMENT_GL_DRAWS(n) (::cocos2d::g_uNumberOfDraws += (n))

}  // namespace cocos2d
