#pragma once

#include <vector>

#include "CCObject.h"
#include "CCTexture2D.h"
#include "ccTypes.h"

NS_CC_BEGIN

// Quads sharing one texture, drawn with a single draw call.
class CCTextureAtlas : public CCObject {
 public:
  CCTextureAtlas();
  virtual ~CCTextureAtlas();

  static CCTextureAtlas* create(const char* file, unsigned int capacity);
  static CCTextureAtlas* createWithTexture(CCTexture2D* texture, unsigned int capacity);
  bool initWithFile(const char* file, unsigned int capacity);
  bool initWithTexture(CCTexture2D* texture, unsigned int capacity);

  void updateQuad(const ccV3F_C4B_T2F_Quad* quad, unsigned int index);
  void insertQuad(const ccV3F_C4B_T2F_Quad* quad, unsigned int index);
  // Moves the quad at oldIndex to newIndex, shifting the ones between.
  void insertQuadFromIndex(unsigned int oldIndex, unsigned int newIndex);
  void removeQuadAtIndex(unsigned int index);
  void removeQuadsAtIndex(unsigned int index, unsigned int amount);
  void removeAllQuads();
  bool resizeCapacity(unsigned int capacity);

  void drawQuads();
  void drawNumberOfQuads(unsigned int n, unsigned int start = 0);

  unsigned int getTotalQuads() const { return static_cast<unsigned int>(m_quads.size()); }
  unsigned int getCapacity() const { return m_capacity; }
  ccV3F_C4B_T2F_Quad* getQuads() { return m_quads.empty() ? nullptr : m_quads.data(); }
  CCTexture2D* getTexture() const { return m_pTexture; }
  void setTexture(CCTexture2D* texture);

 private:
  void ensureIndices(unsigned int quads);

  std::vector<ccV3F_C4B_T2F_Quad> m_quads;
  std::vector<GLushort> m_indices16;
  std::vector<GLuint> m_indices32;
  unsigned int m_capacity = 0;
  CCTexture2D* m_pTexture = nullptr;
};

NS_CC_END
