#pragma once

#include "CCGLProgram.h"

NS_CC_BEGIN

// The shader program a drawing node uses (held with one reference).
class CCGLProgramHolder {
 public:
  virtual ~CCGLProgramHolder() { CC_SAFE_RELEASE(m_pShaderProgram); }
  CCGLProgram* getShaderProgram() const { return m_pShaderProgram; }
  void setShaderProgram(CCGLProgram* program) {
    if (program == m_pShaderProgram) return;
    ccSetRetained(m_pShaderProgram, program);
  }

 private:
  CCGLProgram* m_pShaderProgram = nullptr;
};

NS_CC_END
