#pragma once

#include <string>

#include "CCGL.h"
#include "CCObject.h"

NS_CC_BEGIN

enum {
  kCCUniformMVPMatrix,
  kCCUniformSampler,
  kCCUniform_MAX,
};

#define kCCShader_PositionTextureColor "ShaderPositionTextureColor"
#define kCCShader_PositionTextureColorAlphaTest "ShaderPositionTextureColorAlphaTest"
#define kCCShader_PositionColor "ShaderPositionColor"
#define kCCShader_PositionTexture "ShaderPositionTexture"
#define kCCShader_PositionTextureA8Color "ShaderPositionTextureA8Color"
#define kCCShader_Position_uColor "ShaderPosition_uColor"

#define kCCUniformMVPMatrix_s "CC_MVPMatrix"
#define kCCUniformSampler_s "CC_Texture0"
#define kCCUniformAlphaTestValue "CC_alpha_value"

#define kCCAttributeNameColor "a_color"
#define kCCAttributeNamePosition "a_position"
#define kCCAttributeNameTexCoord "a_texCoord"

// A linked vertex + fragment shader pair.
class CCGLProgram : public CCObject {
 public:
  CCGLProgram();
  virtual ~CCGLProgram();

  // Compiles both sources; false (with the compiler's log) on failure.
  bool initWithVertexShaderByteArray(const char* vertexSource, const char* fragmentSource);
  bool initWithVertexShaderFilename(const char* vertexFile, const char* fragmentFile);
  void addAttribute(const char* name, GLuint index);
  // Links; the shader objects are dropped either way.
  bool link();
  // Looks up the standard uniforms and points the sampler at unit 0.
  void updateUniforms();
  void use();
  // Sends projection * model-view from the engine's matrix stacks.
  void setUniformForModelViewProjectionMatrix();

  GLint getUniformLocationForName(const char* name);
  void setUniformLocationWith1i(GLint location, GLint i1);
  void setUniformLocationWith1f(GLint location, GLfloat f1);
  void setUniformLocationWith4f(GLint location, GLfloat f1, GLfloat f2, GLfloat f3, GLfloat f4);
  void setUniformLocationWith4fv(GLint location, const GLfloat* values, unsigned int count);
  void setUniformLocationWithMatrix4fv(GLint location, const GLfloat* matrix, unsigned int count);

  GLuint getProgram() const { return m_uProgram; }
  GLint getUniformLocation(int which) const { return m_uUniforms[which]; }
  const std::string& programLog() const { return m_log; }

 private:
  bool compileShader(GLuint* shader, GLenum type, const char* source);

  GLuint m_uProgram = 0;
  GLuint m_uVertShader = 0;
  GLuint m_uFragShader = 0;
  GLint m_uUniforms[kCCUniform_MAX];
  std::string m_log;
};

NS_CC_END
