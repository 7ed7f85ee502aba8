#pragma once

// Sources of the standard shaders (GLSL 1.10).
namespace cocos2d {

extern const char* ccPositionTextureColor_vert;
extern const char* ccPositionTextureColor_frag;
extern const char* ccPositionTextureColorAlphaTest_frag;
extern const char* ccPositionColor_vert;
extern const char* ccPositionColor_frag;
extern const char* ccPositionTexture_vert;
extern const char* ccPositionTexture_frag;
extern const char* ccPositionTextureA8Color_frag;
extern const char* ccPosition_uColor_vert;
extern const char* ccPosition_uColor_frag;

}  // namespace cocos2d
