#include "ccShaders.h"

namespace cocos2d {

const char* ccPositionTextureColor_vert = R"(#version 110
attribute vec4 a_position;
attribute vec2 a_texCoord;
attribute vec4 a_color;
uniform mat4 CC_MVPMatrix;
varying vec4 v_fragmentColor;
varying vec2 v_texCoord;
void main() {
  gl_Position = CC_MVPMatrix * a_position;
  v_fragmentColor = a_color;
  v_texCoord = a_texCoord;
}
)";

const char* ccPositionTextureColor_frag = R"(#version 110
varying vec4 v_fragmentColor;
varying vec2 v_texCoord;
uniform sampler2D CC_Texture0;
void main() {
  gl_FragColor = v_fragmentColor * texture2D(CC_Texture0, v_texCoord);
}
)";

const char* ccPositionTextureColorAlphaTest_frag = R"(#version 110
varying vec4 v_fragmentColor;
varying vec2 v_texCoord;
uniform sampler2D CC_Texture0;
uniform float CC_alpha_value;
void main() {
  vec4 texColor = texture2D(CC_Texture0, v_texCoord);
  // Fragments at or below the threshold leave no trace (no colour, no depth).
  if (texColor.a <= CC_alpha_value) discard;
  gl_FragColor = texColor * v_fragmentColor;
}
)";

const char* ccPositionColor_vert = R"(#version 110
attribute vec4 a_position;
attribute vec4 a_color;
uniform mat4 CC_MVPMatrix;
varying vec4 v_fragmentColor;
void main() {
  gl_Position = CC_MVPMatrix * a_position;
  v_fragmentColor = a_color;
}
)";

const char* ccPositionColor_frag = R"(#version 110
varying vec4 v_fragmentColor;
void main() {
  gl_FragColor = v_fragmentColor;
}
)";

const char* ccPositionTexture_vert = R"(#version 110
attribute vec4 a_position;
attribute vec2 a_texCoord;
uniform mat4 CC_MVPMatrix;
varying vec2 v_texCoord;
void main() {
  gl_Position = CC_MVPMatrix * a_position;
  v_texCoord = a_texCoord;
}
)";

const char* ccPositionTexture_frag = R"(#version 110
varying vec2 v_texCoord;
uniform sampler2D CC_Texture0;
void main() {
  gl_FragColor = texture2D(CC_Texture0, v_texCoord);
}
)";

// Alpha-only textures (glyph atlases): the colour comes from the vertices.
const char* ccPositionTextureA8Color_frag = R"(#version 110
varying vec4 v_fragmentColor;
varying vec2 v_texCoord;
uniform sampler2D CC_Texture0;
void main() {
  gl_FragColor = vec4(v_fragmentColor.rgb,
                      v_fragmentColor.a * texture2D(CC_Texture0, v_texCoord).a);
}
)";

const char* ccPosition_uColor_vert = R"(#version 110
attribute vec4 a_position;
uniform mat4 CC_MVPMatrix;
uniform vec4 u_color;
uniform float u_pointSize;
varying vec4 v_fragmentColor;
void main() {
  gl_Position = CC_MVPMatrix * a_position;
  gl_PointSize = u_pointSize;
  v_fragmentColor = u_color;
}
)";

const char* ccPosition_uColor_frag = R"(#version 110
varying vec4 v_fragmentColor;
void main() {
  gl_FragColor = v_fragmentColor;
}
)";

}  // namespace cocos2d
