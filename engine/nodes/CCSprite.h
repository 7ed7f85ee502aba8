#pragma once

#include "CCGL.h"
#include "CCGLProgramHolder.h"
#include "CCNode.h"
#include "CCProtocols.h"
#include "ccTypes.h"

NS_CC_BEGIN

class CCSpriteBatchNode;
class CCSpriteFrame;
class CCTexture2D;

// A textured rectangle: a texture region (possibly rotated in a sheet), flips,
// colour, opacity and blend function. Inside a CCSpriteBatchNode the batch draws it.
class CCSprite : public CCNode, public CCTextureProtocol, public CCRGBAProtocol, public CCGLProgramHolder {
 public:
  CCSprite();
  virtual ~CCSprite();

  static CCSprite* create();
  static CCSprite* create(const char* fileName);
  static CCSprite* create(const char* fileName, const CCRect& rect);
  static CCSprite* createWithTexture(CCTexture2D* texture);
  static CCSprite* createWithTexture(CCTexture2D* texture, const CCRect& rect);
  static CCSprite* createWithSpriteFrame(CCSpriteFrame* frame);
  // Null (logged) when the frame cache has no frame of that name.
  static CCSprite* createWithSpriteFrameName(const char* frameName);

  virtual bool init();
  virtual bool initWithTexture(CCTexture2D* texture);
  virtual bool initWithTexture(CCTexture2D* texture, const CCRect& rect);
  virtual bool initWithTexture(CCTexture2D* texture, const CCRect& rect, bool rotated);
  virtual bool initWithSpriteFrame(CCSpriteFrame* frame);
  virtual bool initWithSpriteFrameName(const char* frameName);
  virtual bool initWithFile(const char* fileName);
  virtual bool initWithFile(const char* fileName, const CCRect& rect);

  virtual void draw();

  // The texture region; the content size becomes the untrimmed size.
  virtual void setTextureRect(const CCRect& rect);
  virtual void setTextureRect(const CCRect& rect, bool rotated, const CCSize& untrimmedSize);
  const CCRect& getTextureRect() const { return m_obRect; }
  bool isTextureRectRotated() const { return m_bRectRotated; }
  const CCPoint& getOffsetPosition() const { return m_obOffsetPosition; }

  virtual void setDisplayFrame(CCSpriteFrame* frame);
  virtual bool isFrameDisplayed(CCSpriteFrame* frame);
  virtual CCSpriteFrame* displayFrame();
  // Shows frame number index of a named animation of the animation cache.
  virtual void setDisplayFrameWithAnimationName(const char* animationName, int frameIndex);

  void setFlipX(bool flip);
  void setFlipY(bool flip);
  bool isFlipX() const { return m_bFlipX; }
  bool isFlipY() const { return m_bFlipY; }

  // CCRGBAProtocol
  virtual void setColor(const ccColor3B& color);
  virtual const ccColor3B& getColor();
  virtual GLubyte getOpacity();
  virtual void setOpacity(GLubyte opacity);
  virtual void setOpacityModifyRGB(bool modify);
  virtual bool isOpacityModifyRGB();

  // CCTextureProtocol
  virtual void setBlendFunc(ccBlendFunc blendFunc) { m_sBlendFunc = blendFunc; }
  virtual ccBlendFunc getBlendFunc() { return m_sBlendFunc; }
  virtual CCTexture2D* getTexture();
  virtual void setTexture(CCTexture2D* texture);

  CCSpriteBatchNode* getBatchNode() const { return m_pobBatchNode; }
  // Set by the batch node when the sprite joins or leaves it.
  void setBatchNode(CCSpriteBatchNode* batchNode);
  bool isBatched() const { return m_pobBatchNode != nullptr; }

  // The four corners as drawn alone (node space).
  const ccV3F_C4B_T2F_Quad& getQuad() const { return m_sQuad; }
  // The quad in the space of the given ancestor, for a batch node to draw.
  ccV3F_C4B_T2F_Quad quadInSpaceOf(CCNode* ancestor);

  virtual void addChild(CCNode* child);
  virtual void addChild(CCNode* child, int zOrder);
  virtual void addChild(CCNode* child, int zOrder, int tag);
  // A sprite child leaves the batch along with its parent link.
  using CCNode::removeChild;
  virtual void removeChild(CCNode* child, bool cleanup);
  virtual void removeAllChildrenWithCleanup(bool cleanup);

 protected:
  void updateColor();
  void updateBlendFunc();
  void setTextureCoords(const CCRect& rect);
  void setVertexRect(const CCRect& rect) { m_obRect = rect; }

  CCSpriteBatchNode* m_pobBatchNode = nullptr;
  CCTexture2D* m_pobTexture = nullptr;
  ccBlendFunc m_sBlendFunc;
  CCRect m_obRect;
  bool m_bRectRotated = false;
  CCPoint m_obOffsetPosition;
  CCPoint m_obUnflippedOffsetPositionFromCenter;
  ccV3F_C4B_T2F_Quad m_sQuad;
  ccColor3B m_sColor;
  ccColor3B m_sColorUnmodified;
  GLubyte m_nOpacity = 255;
  bool m_bOpacityModifyRGB = true;
  bool m_bFlipX = false;
  bool m_bFlipY = false;
};

NS_CC_END
