#pragma once

#include "CCGLProgramHolder.h"
#include "CCNode.h"
#include "CCProtocols.h"

NS_CC_BEGIN

class CCSprite;
class CCTexture2D;
class CCTextureAtlas;

#define kDefaultSpriteBatchCapacity 29

// Draws all its sprites (children and their sprite children) that share its texture
// with one draw call, in the order a normal visit would draw them.
class CCSpriteBatchNode : public CCNode, public CCTextureProtocol, public CCGLProgramHolder {
 public:
  CCSpriteBatchNode();
  virtual ~CCSpriteBatchNode();

  static CCSpriteBatchNode* create(const char* fileImage, unsigned int capacity);
  static CCSpriteBatchNode* create(const char* fileImage);
  static CCSpriteBatchNode* createWithTexture(CCTexture2D* texture, unsigned int capacity);
  static CCSpriteBatchNode* createWithTexture(CCTexture2D* texture);
  bool initWithFile(const char* fileImage, unsigned int capacity);
  bool initWithTexture(CCTexture2D* texture, unsigned int capacity);

  CCTextureAtlas* getTextureAtlas() const { return m_pobTextureAtlas; }

  // Only sprites of the batch's texture are taken.
  virtual void addChild(CCNode* child);
  virtual void addChild(CCNode* child, int zOrder);
  virtual void addChild(CCNode* child, int zOrder, int tag);
  using CCNode::removeChild;
  virtual void removeChild(CCNode* child, bool cleanup);
  virtual void removeAllChildrenWithCleanup(bool cleanup);

  virtual void visit();
  virtual void draw();

  // CCTextureProtocol
  virtual CCTexture2D* getTexture();
  virtual void setTexture(CCTexture2D* texture);
  virtual void setBlendFunc(ccBlendFunc blendFunc) { m_blendFunc = blendFunc; }
  virtual ccBlendFunc getBlendFunc() { return m_blendFunc; }

  // Marks a sprite (and its sprite children) as drawn by this batch.
  void adoptSprite(CCSprite* sprite);
  // Quads drawn by the last draw.
  unsigned int getQuadCount() const;

 protected:
  // Called by draw() with the quads it is about to draw (in the batch's space, under the
  // batch's transform); a subclass may move them. Nothing by default.
  virtual void placeQuads(ccV3F_C4B_T2F_Quad* quads, unsigned int count) {
    (void)quads;
    (void)count;
  }

 private:
  void releaseSprite(CCSprite* sprite);
  void appendSprite(CCSprite* sprite);

  CCTextureAtlas* m_pobTextureAtlas = nullptr;
  ccBlendFunc m_blendFunc;
};

NS_CC_END
