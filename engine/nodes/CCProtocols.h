#pragma once

#include "ccTypes.h"

NS_CC_BEGIN

class CCTexture2D;

// Colour and opacity of a node.
class CCRGBAProtocol {
 public:
  virtual ~CCRGBAProtocol() {}
  virtual void setColor(const ccColor3B& color) = 0;
  virtual const ccColor3B& getColor(void) = 0;
  virtual GLubyte getOpacity(void) = 0;
  virtual void setOpacity(GLubyte opacity) = 0;
  virtual void setOpacityModifyRGB(bool bValue) = 0;
  virtual bool isOpacityModifyRGB(void) = 0;
};

class CCBlendProtocol {
 public:
  virtual ~CCBlendProtocol() {}
  virtual void setBlendFunc(ccBlendFunc blendFunc) = 0;
  virtual ccBlendFunc getBlendFunc(void) = 0;
};

class CCTextureProtocol : public CCBlendProtocol {
 public:
  virtual CCTexture2D* getTexture(void) = 0;
  virtual void setTexture(CCTexture2D* texture) = 0;
};

class CCLabelProtocol {
 public:
  virtual ~CCLabelProtocol() {}
  virtual void setString(const char* label) = 0;
  virtual const char* getString(void) = 0;
};

NS_CC_END
