#include "CCGLProgram.h"

#include <vector>

#include "CCCommon.h"
#include "CCFileUtils.h"
#include "CCGLMatrix.h"
#include "ccGLStateCache.h"

NS_CC_BEGIN

CCGLProgram::CCGLProgram() {
  for (int i = 0; i < kCCUniform_MAX; ++i) m_uUniforms[i] = -1;
}

CCGLProgram::~CCGLProgram() {
  if (m_uVertShader) glDeleteShader(m_uVertShader);
  if (m_uFragShader) glDeleteShader(m_uFragShader);
  if (m_uProgram) ccGLDeleteProgram(m_uProgram);
}

// The info log of a shader or a program, read through the matching pair of GL calls.
template <class GetIv, class GetLog>
static std::string infoLog(GLuint object, GetIv getIv, GetLog getLog) {
  GLint length = 0;
  getIv(object, GL_INFO_LOG_LENGTH, &length);
  std::vector<char> text(length > 0 ? length + 1 : 1, '\0');
  if (length > 0) getLog(object, length, nullptr, text.data());
  return text.data();
}

bool CCGLProgram::compileShader(GLuint* shader, GLenum type, const char* source) {
  if (!source) return false;
  *shader = glCreateShader(type);
  glShaderSource(*shader, 1, &source, nullptr);
  glCompileShader(*shader);
  GLint ok = 0;
  glGetShaderiv(*shader, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    m_log = infoLog(*shader, glGetShaderiv, glGetShaderInfoLog);
    CCLogError("cocos2d: ERROR: Failed to compile %s shader: %s",
               type == GL_VERTEX_SHADER ? "vertex" : "fragment", m_log.c_str());
    glDeleteShader(*shader);
    *shader = 0;
    return false;
  }
  return true;
}

bool CCGLProgram::initWithVertexShaderByteArray(const char* vertexSource,
                                                const char* fragmentSource) {
  m_uProgram = glCreateProgram();
  if (!compileShader(&m_uVertShader, GL_VERTEX_SHADER, vertexSource) ||
      !compileShader(&m_uFragShader, GL_FRAGMENT_SHADER, fragmentSource)) {
    return false;
  }
  glAttachShader(m_uProgram, m_uVertShader);
  glAttachShader(m_uProgram, m_uFragShader);
  return true;
}

bool CCGLProgram::initWithVertexShaderFilename(const char* vertexFile, const char* fragmentFile) {
  unsigned long vs = 0, fs = 0;
  unsigned char* v = CCFileUtils::sharedFileUtils()->getFileData(vertexFile, "rb", &vs);
  unsigned char* f = CCFileUtils::sharedFileUtils()->getFileData(fragmentFile, "rb", &fs);
  bool ok = false;
  if (v && f) {
    std::string vText(reinterpret_cast<char*>(v), vs), fText(reinterpret_cast<char*>(f), fs);
    ok = initWithVertexShaderByteArray(vText.c_str(), fText.c_str());
  }
  delete[] v;
  delete[] f;
  return ok;
}

void CCGLProgram::addAttribute(const char* name, GLuint index) {
  glBindAttribLocation(m_uProgram, index, name);
}

bool CCGLProgram::link() {
  glLinkProgram(m_uProgram);
  if (m_uVertShader) glDeleteShader(m_uVertShader);
  if (m_uFragShader) glDeleteShader(m_uFragShader);
  m_uVertShader = m_uFragShader = 0;
  GLint ok = 0;
  glGetProgramiv(m_uProgram, GL_LINK_STATUS, &ok);
  if (!ok) {
    m_log = infoLog(m_uProgram, glGetProgramiv, glGetProgramInfoLog);
    CCLogError("cocos2d: ERROR: Failed to link program: %s", m_log.c_str());
    return false;
  }
  return true;
}

void CCGLProgram::updateUniforms() {
  m_uUniforms[kCCUniformMVPMatrix] = glGetUniformLocation(m_uProgram, kCCUniformMVPMatrix_s);
  m_uUniforms[kCCUniformSampler] = glGetUniformLocation(m_uProgram, kCCUniformSampler_s);
  use();
  if (m_uUniforms[kCCUniformSampler] >= 0) glUniform1i(m_uUniforms[kCCUniformSampler], 0);
}

void CCGLProgram::use() { ccGLUseProgram(m_uProgram); }

void CCGLProgram::setUniformForModelViewProjectionMatrix() {
  kmMat4 p, mv, mvp;
  kmGLGetMatrix(KM_GL_PROJECTION, &p);
  kmGLGetMatrix(KM_GL_MODELVIEW, &mv);
  kmMat4Multiply(&mvp, &p, &mv);
  setUniformLocationWithMatrix4fv(m_uUniforms[kCCUniformMVPMatrix], mvp.mat, 1);
}

GLint CCGLProgram::getUniformLocationForName(const char* name) {
  return name ? glGetUniformLocation(m_uProgram, name) : -1;
}

void CCGLProgram::setUniformLocationWith1i(GLint location, GLint i1) {
  if (location >= 0) glUniform1i(location, i1);
}

void CCGLProgram::setUniformLocationWith1f(GLint location, GLfloat f1) {
  if (location >= 0) glUniform1f(location, f1);
}

void CCGLProgram::setUniformLocationWith4f(GLint location, GLfloat f1, GLfloat f2, GLfloat f3,
                                           GLfloat f4) {
  if (location >= 0) glUniform4f(location, f1, f2, f3, f4);
}

void CCGLProgram::setUniformLocationWith4fv(GLint location, const GLfloat* values,
                                            unsigned int count) {
  if (location >= 0) glUniform4fv(location, static_cast<GLsizei>(count), values);
}

void CCGLProgram::setUniformLocationWithMatrix4fv(GLint location, const GLfloat* matrix,
                                                  unsigned int count) {
  if (location >= 0) glUniformMatrix4fv(location, static_cast<GLsizei>(count), GL_FALSE, matrix);
}

NS_CC_END
