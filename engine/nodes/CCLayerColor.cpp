#include "CCLayerColor.h"

#include <cmath>
#include <cstring>

#include "CCDirector.h"
#include "CCGLProgram.h"
#include "CCShaderCache.h"
#include "ccGLStateCache.h"

NS_CC_BEGIN

CCLayerColor::CCLayerColor() {
  m_tBlendFunc.src = GL_SRC_ALPHA;
  m_tBlendFunc.dst = GL_ONE_MINUS_SRC_ALPHA;
  m_tColor = ccBLACK;
  std::memset(m_pSquareVertices, 0, sizeof(m_pSquareVertices));
  std::memset(m_pSquareColors, 0, sizeof(m_pSquareColors));
}

CCLayerColor::~CCLayerColor() {}

CCLayerColor* CCLayerColor::create() {
  CCLayerColor* l = new CCLayerColor();
  return ccAutoreleaseIfInit(l, l->init());
}

CCLayerColor* CCLayerColor::create(const ccColor4B& color) {
  CCLayerColor* l = new CCLayerColor();
  return ccAutoreleaseIfInit(l, l->initWithColor(color));
}

CCLayerColor* CCLayerColor::create(const ccColor4B& color, GLfloat width, GLfloat height) {
  CCLayerColor* l = new CCLayerColor();
  return ccAutoreleaseIfInit(l, l->initWithColor(color, width, height));
}

bool CCLayerColor::init() { return initWithColor(ccc4(0, 0, 0, 0)); }

bool CCLayerColor::initWithColor(const ccColor4B& color) {
  CCSize size = CCDirector::sharedDirector()->getWinSize();
  return initWithColor(color, size.width, size.height);
}

bool CCLayerColor::initWithColor(const ccColor4B& color, GLfloat width, GLfloat height) {
  if (!CCLayer::init()) return false;
  m_tBlendFunc.src = GL_SRC_ALPHA;
  m_tBlendFunc.dst = GL_ONE_MINUS_SRC_ALPHA;
  m_tColor = ccc3(color.r, color.g, color.b);
  m_cOpacity = color.a;
  std::memset(m_pSquareVertices, 0, sizeof(m_pSquareVertices));
  setContentSize(CCSize(width, height));
  updateColor();
  setShaderProgram(CCShaderCache::sharedShaderCache()->programForKey(kCCShader_PositionColor));
  return true;
}

void CCLayerColor::setContentSize(const CCSize& size) {
  m_pSquareVertices[1].x = size.width;
  m_pSquareVertices[2].y = size.height;
  m_pSquareVertices[3].x = size.width;
  m_pSquareVertices[3].y = size.height;
  CCLayer::setContentSize(size);
}

void CCLayerColor::changeWidthAndHeight(GLfloat width, GLfloat height) {
  setContentSize(CCSize(width, height));
}

void CCLayerColor::changeWidth(GLfloat width) {
  setContentSize(CCSize(width, getContentSize().height));
}

void CCLayerColor::changeHeight(GLfloat height) {
  setContentSize(CCSize(getContentSize().width, height));
}

void CCLayerColor::updateColor() {
  for (ccColor4F& c : m_pSquareColors) {
    c.r = m_tColor.r / 255.0f;
    c.g = m_tColor.g / 255.0f;
    c.b = m_tColor.b / 255.0f;
    c.a = m_cOpacity / 255.0f;
  }
}

void CCLayerColor::setColor(const ccColor3B& color) {
  m_tColor = color;
  updateColor();
}

const ccColor3B& CCLayerColor::getColor() { return m_tColor; }

GLubyte CCLayerColor::getOpacity() { return m_cOpacity; }

void CCLayerColor::setOpacity(GLubyte opacity) {
  m_cOpacity = opacity;
  updateColor();
}

void CCLayerColor::draw() {
  CCGLProgram* program = getShaderProgram();
  if (!program) return;
  program->use();
  program->setUniformForModelViewProjectionMatrix();
  ccGLEnableVertexAttribs(kCCVertexAttribFlag_Position | kCCVertexAttribFlag_Color);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glVertexAttribPointer(kCCVertexAttrib_Position, 2, GL_FLOAT, GL_FALSE, 0, m_pSquareVertices);
  glVertexAttribPointer(kCCVertexAttrib_Color, 4, GL_FLOAT, GL_FALSE, 0, m_pSquareColors);
  // With the usual alpha blend, a wholly opaque layer covers what is behind it: the same
  // pixels are had without blending, which a software renderer fills much faster.
  bool opaque = m_tBlendFunc.src == GL_SRC_ALPHA && m_tBlendFunc.dst == GL_ONE_MINUS_SRC_ALPHA;
  for (const ccColor4F& c : m_pSquareColors) opaque = opaque && c.a >= 1.0f;
  if (opaque) ccGLBlendFunc(GL_ONE, GL_ZERO);
  else ccGLBlendFunc(m_tBlendFunc.src, m_tBlendFunc.dst);
  glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  CC_INCREMENT_GL_DRAWS(1);
}

CCLayerGradient::CCLayerGradient() : m_AlongVector(0, -1) { m_endColor = ccBLACK; }

CCLayerGradient* CCLayerGradient::create() {
  CCLayerGradient* l = new CCLayerGradient();
  return ccAutoreleaseIfInit(l, l->init());
}

CCLayerGradient* CCLayerGradient::create(const ccColor4B& start, const ccColor4B& end) {
  return create(start, end, CCPoint(0, -1));
}

CCLayerGradient* CCLayerGradient::create(const ccColor4B& start, const ccColor4B& end,
                                         const CCPoint& v) {
  CCLayerGradient* l = new CCLayerGradient();
  return ccAutoreleaseIfInit(l, l->initWithColor(start, end, v));
}

bool CCLayerGradient::init() { return initWithColor(ccc4(0, 0, 0, 255), ccc4(0, 0, 0, 255)); }

bool CCLayerGradient::initWithColor(const ccColor4B& start, const ccColor4B& end) {
  return initWithColor(start, end, CCPoint(0, -1));
}

bool CCLayerGradient::initWithColor(const ccColor4B& start, const ccColor4B& end,
                                    const CCPoint& v) {
  m_endColor = ccc3(end.r, end.g, end.b);
  m_cEndOpacity = end.a;
  m_cStartOpacity = start.a;
  m_AlongVector = v;
  m_bCompressedInterpolation = true;
  return CCLayerColor::initWithColor(ccc4(start.r, start.g, start.b, 255));
}

void CCLayerGradient::updateColor() {
  CCLayerColor::updateColor();
  float h = std::sqrt(m_AlongVector.x * m_AlongVector.x + m_AlongVector.y * m_AlongVector.y);
  if (h == 0) return;
  const float c = std::sqrt(2.0f);
  CCPoint u(m_AlongVector.x / h, m_AlongVector.y / h);
  if (m_bCompressedInterpolation) {
    float h2 = 1 / (std::fabs(u.x) + std::fabs(u.y));
    u = CCPoint(u.x * h2 * c, u.y * h2 * c);
  }
  float opacity = m_cOpacity / 255.0f;
  ccColor4F S = {m_tColor.r / 255.0f, m_tColor.g / 255.0f, m_tColor.b / 255.0f,
                 m_cStartOpacity * opacity / 255.0f};
  ccColor4F E = {m_endColor.r / 255.0f, m_endColor.g / 255.0f, m_endColor.b / 255.0f,
                 m_cEndOpacity * opacity / 255.0f};
  // Corners bottom-left, bottom-right, top-left, top-right.
  const float weights[4] = {(c + u.x + u.y) / (2.0f * c), (c - u.x + u.y) / (2.0f * c),
                            (c + u.x - u.y) / (2.0f * c), (c - u.x - u.y) / (2.0f * c)};
  for (int i = 0; i < 4; ++i) {
    float w = weights[i];
    m_pSquareColors[i].r = E.r + (S.r - E.r) * w;
    m_pSquareColors[i].g = E.g + (S.g - E.g) * w;
    m_pSquareColors[i].b = E.b + (S.b - E.b) * w;
    m_pSquareColors[i].a = E.a + (S.a - E.a) * w;
  }
}

void CCLayerGradient::setStartColor(const ccColor3B& color) { setColor(color); }
const ccColor3B& CCLayerGradient::getStartColor() { return m_tColor; }

void CCLayerGradient::setEndColor(const ccColor3B& color) {
  m_endColor = color;
  updateColor();
}

void CCLayerGradient::setStartOpacity(GLubyte opacity) {
  m_cStartOpacity = opacity;
  updateColor();
}

void CCLayerGradient::setEndOpacity(GLubyte opacity) {
  m_cEndOpacity = opacity;
  updateColor();
}

void CCLayerGradient::setVector(const CCPoint& v) {
  m_AlongVector = v;
  updateColor();
}

void CCLayerGradient::setCompressedInterpolation(bool compressed) {
  m_bCompressedInterpolation = compressed;
  updateColor();
}

NS_CC_END
