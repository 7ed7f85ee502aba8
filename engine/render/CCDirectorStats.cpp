#include "CCDirectorStats.h"

#include <cstdio>

#include "CCGLProgram.h"
#include "CCGLMatrix.h"
#include "CCShaderCache.h"
#include "ccGLStateCache.h"

NS_CC_BEGIN

namespace {

// Rows top to bottom, three bits a row (4 = left column).
const unsigned char kGlyphs[12][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
    {0, 0, 0, 0, 2},  // '.'
    {0, 0, 0, 0, 0},  // anything else: a space
};

int glyphIndex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c == '.') return 10;
  return 11;
}

void appendRect(std::vector<float>& out, float x, float y, float w, float h) {
  const float v[] = {x, y, x + w, y, x, y + h, x + w, y, x + w, y + h, x, y + h};
  out.insert(out.end(), v, v + 12);
}

}  // namespace

void CCDirectorStats::appendText(std::vector<float>& out, const std::string& text, float x,
                                 float y) {
  const float px = static_cast<float>(kScale);
  for (char c : text) {
    const unsigned char* rows = kGlyphs[glyphIndex(c)];
    for (int row = 0; row < 5; ++row) {
      for (int col = 0; col < 3; ++col) {
        if (rows[row] & (4 >> col)) appendRect(out, x + col * px, y + (4 - row) * px, px, px);
      }
    }
    x += 4 * px;
  }
}

void CCDirectorStats::draw(float framesPerSecond, float secondsPerFrame, unsigned int drawCalls) {
  CCGLProgram* program =
      CCShaderCache::sharedShaderCache()->programForKey(kCCShader_Position_uColor);
  if (!program) return;
  char fps[32], spf[32], draws[32];
  std::snprintf(fps, sizeof(fps), "%.1f", framesPerSecond);
  std::snprintf(spf, sizeof(spf), "%.3f", secondsPerFrame);
  std::snprintf(draws, sizeof(draws), "%u", drawCalls);
  m_vertices.clear();
  const float line = 7.0f * kScale;
  appendText(m_vertices, draws, 2, 2 + 2 * line);
  appendText(m_vertices, spf, 2, 2 + line);
  appendText(m_vertices, fps, 2, 2);

  kmGLMatrixMode(KM_GL_MODELVIEW);
  kmGLPushMatrix();
  kmGLLoadIdentity();
  program->use();
  program->setUniformForModelViewProjectionMatrix();
  program->setUniformLocationWith4f(program->getUniformLocationForName("u_color"), 1.0f, 1.0f,
                                    1.0f, 1.0f);
  program->setUniformLocationWith1f(program->getUniformLocationForName("u_pointSize"), 1.0f);
  ccGLEnableVertexAttribs(kCCVertexAttribFlag_Position);
  ccGLBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glVertexAttribPointer(kCCVertexAttrib_Position, 2, GL_FLOAT, GL_FALSE, 0, m_vertices.data());
  glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(m_vertices.size() / 2));
  kmGLPopMatrix();
}

NS_CC_END
