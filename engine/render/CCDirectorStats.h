#pragma once

#include <string>
#include <vector>

#include "ccMacros.h"

NS_CC_BEGIN

// The frame statistics in the lower left corner: draw calls, seconds per frame and
// frames per second, drawn with a built-in 3 x 5 pixel digit font so that it needs
// no font files.
class CCDirectorStats {
 public:
  // Pixels per font pixel.
  static const int kScale = 2;

  void draw(float framesPerSecond, float secondsPerFrame, unsigned int drawCalls);
  // Triangles for a text at (x, y), in scene units; exposed for tests.
  static void appendText(std::vector<float>& out, const std::string& text, float x, float y);

 private:
  std::vector<float> m_vertices;
};

NS_CC_END
