#pragma once

#include "CCNode.h"
#include "CCProtocols.h"

namespace cocos2d {
class CCSprite;
class CCSpriteBatchNode;
class CCSpriteFrame;
namespace extension {

// A nine-slice sprite: corners keep their size, edges stretch along one axis and the centre
// along both, so a frame can back a panel or button of any size. The insets say how far in
// from each side of the frame the centre begins.
class CCScale9Sprite : public CCNode, public CCRGBAProtocol {
 public:
  CCScale9Sprite();
  virtual ~CCScale9Sprite();
  static CCScale9Sprite* create();
  static CCScale9Sprite* create(const char* file);
  static CCScale9Sprite* createWithSpriteFrame(CCSpriteFrame* spriteFrame);
  static CCScale9Sprite* createWithSpriteFrameName(const char* spriteFrameName);
  virtual bool init();
  bool initWithSpriteFrame(CCSpriteFrame* spriteFrame, const CCRect& capInsets);

  // A new frame keeps the current size and insets.
  void setSpriteFrame(CCSpriteFrame* spriteFrame);
  CCSpriteFrame* getSpriteFrame() { return m_pSpriteFrame; }
  const CCSize& getOriginalSize() const { return m_originalSize; }

  virtual void setContentSize(const CCSize& size);
  void setPreferredSize(const CCSize& size);
  const CCSize& getPreferredSize() const { return m_preferredSize; }

  // Insets from the frame's left, top, right and bottom sides.
  void setInsetLeft(float v);
  void setInsetTop(float v);
  void setInsetRight(float v);
  void setInsetBottom(float v);
  float getInsetLeft() const { return m_insetLeft; }
  float getInsetTop() const { return m_insetTop; }
  float getInsetRight() const { return m_insetRight; }
  float getInsetBottom() const { return m_insetBottom; }
  // The centre rectangle in the frame (origin top left); zero for the middle third.
  void setCapInsets(const CCRect& capInsets);

  virtual void setColor(const ccColor3B& color);
  virtual const ccColor3B& getColor() { return m_color; }
  virtual GLubyte getOpacity() { return m_opacity; }
  virtual void setOpacity(GLubyte opacity);
  virtual void setOpacityModifyRGB(bool) {}
  virtual bool isOpacityModifyRGB() { return false; }

  // The nine pieces, bottom row first, left to right (null before a frame is set); they
  // are drawn by one batch node below this node.
  CCSprite* getPiece(int index) { return m_pieces[index]; }

 private:
  void rebuildPieces();
  void layoutPieces();

  CCSpriteFrame* m_pSpriteFrame = nullptr;
  // Draws the pieces, which are its children, in one call.
  CCSpriteBatchNode* m_pBatch = nullptr;
  CCSprite* m_pieces[9] = {};
  CCSize m_originalSize;
  CCSize m_preferredSize;
  float m_insetLeft = 0, m_insetTop = 0, m_insetRight = 0, m_insetBottom = 0;
  ccColor3B m_color;
  GLubyte m_opacity = 255;
};

}  // namespace extension
}  // namespace cocos2d
