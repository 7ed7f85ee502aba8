#pragma once

#include "CCGL.h"
#include "CCGLProgramHolder.h"
#include "CCLayer.h"
#include "CCProtocols.h"

NS_CC_BEGIN

// A layer filled with one colour and opacity.
class CCLayerColor : public CCLayer, public CCBlendProtocol, public CCGLProgramHolder {
 public:
  CCLayerColor();
  virtual ~CCLayerColor();

  static CCLayerColor* create();
  static CCLayerColor* create(const ccColor4B& color);
  static CCLayerColor* create(const ccColor4B& color, GLfloat width, GLfloat height);

  virtual bool init();
  // The size of the window.
  virtual bool initWithColor(const ccColor4B& color);
  virtual bool initWithColor(const ccColor4B& color, GLfloat width, GLfloat height);

  virtual void draw();
  virtual void setContentSize(const CCSize& size);
  void changeWidthAndHeight(GLfloat width, GLfloat height);
  void changeWidth(GLfloat width);
  void changeHeight(GLfloat height);

  // Colour and opacity of the fill; the opacity goes to this layer only.
  virtual void setColor(const ccColor3B& color);
  virtual const ccColor3B& getColor();
  virtual GLubyte getOpacity();
  virtual void setOpacity(GLubyte opacity);
  virtual void setOpacityModifyRGB(bool value) { (void)value; }
  virtual bool isOpacityModifyRGB() { return false; }

  virtual void setBlendFunc(ccBlendFunc blendFunc) { m_tBlendFunc = blendFunc; }
  virtual ccBlendFunc getBlendFunc() { return m_tBlendFunc; }

 protected:
  virtual void updateColor();

  ccBlendFunc m_tBlendFunc;
  ccColor3B m_tColor;
  GLubyte m_cOpacity = 255;
  ccVertex2F m_pSquareVertices[4];
  ccColor4F m_pSquareColors[4];
};

// A layer whose colour runs from a start colour to an end colour along a vector.
class CCLayerGradient : public CCLayerColor {
 public:
  CCLayerGradient();

  static CCLayerGradient* create();
  static CCLayerGradient* create(const ccColor4B& start, const ccColor4B& end);
  static CCLayerGradient* create(const ccColor4B& start, const ccColor4B& end, const CCPoint& v);

  virtual bool init();
  virtual bool initWithColor(const ccColor4B& start, const ccColor4B& end);
  virtual bool initWithColor(const ccColor4B& start, const ccColor4B& end, const CCPoint& v);

  void setStartColor(const ccColor3B& color);
  const ccColor3B& getStartColor();
  void setEndColor(const ccColor3B& color);
  const ccColor3B& getEndColor() const { return m_endColor; }
  void setStartOpacity(GLubyte opacity);
  GLubyte getStartOpacity() const { return m_cStartOpacity; }
  void setEndOpacity(GLubyte opacity);
  GLubyte getEndOpacity() const { return m_cEndOpacity; }
  // Direction from the start colour to the end colour; (0, -1) runs top to bottom.
  void setVector(const CCPoint& v);
  const CCPoint& getVector() const { return m_AlongVector; }
  // With compression a non-axis vector still reaches both colours at the corners.
  void setCompressedInterpolation(bool compressed);
  bool isCompressedInterpolation() const { return m_bCompressedInterpolation; }

 protected:
  virtual void updateColor();

  ccColor3B m_endColor;
  GLubyte m_cStartOpacity = 255;
  GLubyte m_cEndOpacity = 255;
  CCPoint m_AlongVector;
  bool m_bCompressedInterpolation = true;
};

NS_CC_END
