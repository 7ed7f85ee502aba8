#include "CCTextureAtlas.h"

#include <cstddef>
#include <cstring>

#include "CCCommon.h"
#include "CCTextureCache.h"
#include "ccGLStateCache.h"

NS_CC_BEGIN

CCTextureAtlas::CCTextureAtlas() {}

CCTextureAtlas::~CCTextureAtlas() { CC_SAFE_RELEASE(m_pTexture); }

CCTextureAtlas* CCTextureAtlas::create(const char* file, unsigned int capacity) {
  CCTextureAtlas* atlas = new CCTextureAtlas();
  return ccAutoreleaseIfInit(atlas, atlas->initWithFile(file, capacity));
}

CCTextureAtlas* CCTextureAtlas::createWithTexture(CCTexture2D* texture, unsigned int capacity) {
  CCTextureAtlas* atlas = new CCTextureAtlas();
  return ccAutoreleaseIfInit(atlas, atlas->initWithTexture(texture, capacity));
}

bool CCTextureAtlas::initWithFile(const char* file, unsigned int capacity) {
  CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(file);
  if (!texture) {
    CCLogError("cocos2d: Could not open file: %s", file ? file : "(null)");
    return false;
  }
  return initWithTexture(texture, capacity);
}

bool CCTextureAtlas::initWithTexture(CCTexture2D* texture, unsigned int capacity) {
  setTexture(texture);
  m_capacity = capacity;
  m_quads.clear();
  m_quads.reserve(capacity);
  return true;
}

void CCTextureAtlas::setTexture(CCTexture2D* texture) {
  if (texture == m_pTexture) return;
  ccSetRetained(m_pTexture, texture);
}

void CCTextureAtlas::updateQuad(const ccV3F_C4B_T2F_Quad* quad, unsigned int index) {
  // Any index below the capacity may be written; quads skipped on the way stay empty.
  if (!quad || (index >= m_capacity && index > m_quads.size())) {
    CCLogError("CCTextureAtlas: updateQuad: invalid index %u", index);
    return;
  }
  if (index >= m_capacity) resizeCapacity(m_capacity * 2 + 1);
  if (index >= m_quads.size()) {
    ccV3F_C4B_T2F_Quad empty;
    std::memset(&empty, 0, sizeof(empty));
    m_quads.resize(index + 1, empty);
  }
  m_quads[index] = *quad;
}

void CCTextureAtlas::insertQuad(const ccV3F_C4B_T2F_Quad* quad, unsigned int index) {
  if (!quad || index > m_quads.size()) {
    CCLogError("CCTextureAtlas: insertQuad: invalid index %u", index);
    return;
  }
  if (m_quads.size() >= m_capacity) resizeCapacity(m_capacity * 2 + 1);
  m_quads.insert(m_quads.begin() + index, *quad);
}

void CCTextureAtlas::insertQuadFromIndex(unsigned int oldIndex, unsigned int newIndex) {
  if (oldIndex >= m_quads.size() || newIndex >= m_quads.size() || oldIndex == newIndex) return;
  ccV3F_C4B_T2F_Quad quad = m_quads[oldIndex];
  m_quads.erase(m_quads.begin() + oldIndex);
  m_quads.insert(m_quads.begin() + newIndex, quad);
}

void CCTextureAtlas::removeQuadAtIndex(unsigned int index) { removeQuadsAtIndex(index, 1); }

void CCTextureAtlas::removeQuadsAtIndex(unsigned int index, unsigned int amount) {
  if (index >= m_quads.size()) return;
  unsigned int end = index + amount > m_quads.size() ? static_cast<unsigned int>(m_quads.size())
                                                     : index + amount;
  m_quads.erase(m_quads.begin() + index, m_quads.begin() + end);
}

void CCTextureAtlas::removeAllQuads() { m_quads.clear(); }

bool CCTextureAtlas::resizeCapacity(unsigned int capacity) {
  if (capacity < m_quads.size()) m_quads.resize(capacity);
  m_capacity = capacity;
  m_quads.reserve(capacity);
  return true;
}

void CCTextureAtlas::ensureIndices(unsigned int quads) {
  bool small = quads * 4 <= 65536;
  size_t have = small ? m_indices16.size() / 6 : m_indices32.size() / 6;
  if (have >= quads) return;
  for (size_t i = have; i < quads; ++i) {
    GLuint base = static_cast<GLuint>(i * 4);
    // tl, bl, tr, br: two triangles (tl bl tr) (tr bl br)
    GLuint idx[6] = {base, base + 1, base + 2, base + 2, base + 1, base + 3};
    for (GLuint v : idx) {
      if (small) m_indices16.push_back(static_cast<GLushort>(v));
      else m_indices32.push_back(v);
    }
  }
}

void CCTextureAtlas::drawQuads() { drawNumberOfQuads(getTotalQuads(), 0); }

void CCTextureAtlas::drawNumberOfQuads(unsigned int n, unsigned int start) {
  if (start >= m_quads.size() || n == 0 || !m_pTexture) return;
  if (start + n > m_quads.size()) n = static_cast<unsigned int>(m_quads.size()) - start;
  ccGLBindTexture2D(m_pTexture->getName());
  ccGLVertexAttribsForVertices(&m_quads.data()->tl);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  unsigned int end = start + n;
  ensureIndices(end);
  if (end * 4 <= 65536) {
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(n * 6), GL_UNSIGNED_SHORT,
                   m_indices16.data() + start * 6);
  } else {
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(n * 6), GL_UNSIGNED_INT,
                   m_indices32.data() + start * 6);
  }
  CC_INCREMENT_GL_DRAWS(1);
}

NS_CC_END
