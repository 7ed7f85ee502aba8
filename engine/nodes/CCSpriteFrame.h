#pragma once

#include <string>

#include "CCGeometry.h"
#include "CCObject.h"

NS_CC_BEGIN

class CCTexture2D;

// A region of a texture shown by a sprite: its rectangle in the texture (rotated 90
// degrees clockwise when packed so), and the untrimmed size with the trim offset.
class CCSpriteFrame : public CCObject {
 public:
  CCSpriteFrame();
  virtual ~CCSpriteFrame();

  static CCSpriteFrame* create(const char* filename, const CCRect& rect);
  static CCSpriteFrame* create(const char* filename, const CCRect& rect, bool rotated,
                               const CCPoint& offset, const CCSize& originalSize);
  static CCSpriteFrame* createWithTexture(CCTexture2D* texture, const CCRect& rect);
  static CCSpriteFrame* createWithTexture(CCTexture2D* texture, const CCRect& rect, bool rotated,
                                          const CCPoint& offset, const CCSize& originalSize);

  bool initWithTexture(CCTexture2D* texture, const CCRect& rect);
  bool initWithTexture(CCTexture2D* texture, const CCRect& rect, bool rotated,
                       const CCPoint& offset, const CCSize& originalSize);
  bool initWithTextureFilename(const char* filename, const CCRect& rect);
  bool initWithTextureFilename(const char* filename, const CCRect& rect, bool rotated,
                               const CCPoint& offset, const CCSize& originalSize);

  const CCRect& getRect() const { return m_obRect; }
  void setRect(const CCRect& rect) { m_obRect = rect; }
  const CCRect& getRectInPixels() const { return m_obRect; }
  void setRectInPixels(const CCRect& rect) { m_obRect = rect; }
  bool isRotated() const { return m_bRotated; }
  void setRotated(bool rotated) { m_bRotated = rotated; }
  const CCPoint& getOffset() const { return m_obOffset; }
  void setOffset(const CCPoint& offset) { m_obOffset = offset; }
  const CCPoint& getOffsetInPixels() const { return m_obOffset; }
  void setOffsetInPixels(const CCPoint& offset) { m_obOffset = offset; }
  const CCSize& getOriginalSize() const { return m_obOriginalSize; }
  void setOriginalSize(const CCSize& size) { m_obOriginalSize = size; }
  const CCSize& getOriginalSizeInPixels() const { return m_obOriginalSize; }
  void setOriginalSizeInPixels(const CCSize& size) { m_obOriginalSize = size; }

  // The texture, loaded through the texture cache on first use for a frame made by file name.
  CCTexture2D* getTexture();
  void setTexture(CCTexture2D* texture);

  virtual CCObject* copyWithZone(CCZone* zone);

 private:
  CCRect m_obRect;
  bool m_bRotated = false;
  CCPoint m_obOffset;
  CCSize m_obOriginalSize;
  CCTexture2D* m_pobTexture = nullptr;
  std::string m_strTextureFilename;
};

NS_CC_END
