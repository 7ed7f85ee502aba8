#pragma once

#include <map>
#include <string>

#include "CCGLProgram.h"

NS_CC_BEGIN

// The standard programs by name (kCCShader_...), built once a GL context exists.
class CCShaderCache : public CCObject {
 public:
  static CCShaderCache* sharedShaderCache();
  static void purgeSharedShaderCache();

  virtual ~CCShaderCache();
  void loadDefaultShaders();
  CCGLProgram* programForKey(const char* key);
  void addProgram(CCGLProgram* program, const char* key);

 private:
  CCShaderCache() {}
  std::map<std::string, CCGLProgram*> m_programs;
};

NS_CC_END
