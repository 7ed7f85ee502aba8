#include "CCShaderCache.h"

#include "CCCommon.h"
#include "ccGLStateCache.h"
#include "ccShaders.h"

NS_CC_BEGIN

namespace {

CCShaderCache* s_sharedShaderCache = nullptr;

struct ShaderDef {
  const char* key;
  const char** vert;
  const char** frag;
  unsigned int attribs;
};

const ShaderDef kShaders[] = {
    {kCCShader_PositionTextureColor, &ccPositionTextureColor_vert, &ccPositionTextureColor_frag,
     kCCVertexAttribFlag_PosColorTex},
    {kCCShader_PositionTextureColorAlphaTest, &ccPositionTextureColor_vert,
     &ccPositionTextureColorAlphaTest_frag, kCCVertexAttribFlag_PosColorTex},
    {kCCShader_PositionColor, &ccPositionColor_vert, &ccPositionColor_frag,
     kCCVertexAttribFlag_Position | kCCVertexAttribFlag_Color},
    {kCCShader_PositionTexture, &ccPositionTexture_vert, &ccPositionTexture_frag,
     kCCVertexAttribFlag_Position | kCCVertexAttribFlag_TexCoords},
    {kCCShader_PositionTextureA8Color, &ccPositionTextureColor_vert,
     &ccPositionTextureA8Color_frag, kCCVertexAttribFlag_PosColorTex},
    {kCCShader_Position_uColor, &ccPosition_uColor_vert, &ccPosition_uColor_frag,
     kCCVertexAttribFlag_Position},
};

CCGLProgram* buildProgram(const ShaderDef& def) {
  CCGLProgram* p = new CCGLProgram();
  bool ok = p->initWithVertexShaderByteArray(*def.vert, *def.frag);
  if (ok) {
    if (def.attribs & kCCVertexAttribFlag_Position)
      p->addAttribute(kCCAttributeNamePosition, kCCVertexAttrib_Position);
    if (def.attribs & kCCVertexAttribFlag_Color)
      p->addAttribute(kCCAttributeNameColor, kCCVertexAttrib_Color);
    if (def.attribs & kCCVertexAttribFlag_TexCoords)
      p->addAttribute(kCCAttributeNameTexCoord, kCCVertexAttrib_TexCoords);
    ok = p->link();
  }
  if (!ok) {
    CCLogError("cocos2d: cannot build shader %s", def.key);
    p->release();
    return nullptr;
  }
  p->updateUniforms();
  return p;
}

}  // namespace

CCShaderCache* CCShaderCache::sharedShaderCache() {
  if (!s_sharedShaderCache) s_sharedShaderCache = new CCShaderCache();
  // Built once OpenGL is there (a cache asked for before the window stays empty until then).
  if (s_sharedShaderCache->m_programs.empty() && ccGLAvailable())
    s_sharedShaderCache->loadDefaultShaders();
  return s_sharedShaderCache;
}

void CCShaderCache::purgeSharedShaderCache() {
  CC_SAFE_RELEASE_NULL(s_sharedShaderCache);
}

CCShaderCache::~CCShaderCache() {
  for (auto& entry : m_programs) entry.second->release();
}

void CCShaderCache::loadDefaultShaders() {
  if (!ccGLAvailable()) return;
  for (const ShaderDef& def : kShaders) {
    CCGLProgram* p = buildProgram(def);
    if (p) {
      addProgram(p, def.key);
      p->release();
    }
  }
}

CCGLProgram* CCShaderCache::programForKey(const char* key) {
  if (!key) return nullptr;
  auto it = m_programs.find(key);
  return it == m_programs.end() ? nullptr : it->second;
}

void CCShaderCache::addProgram(CCGLProgram* program, const char* key) {
  if (!program || !key) return;
  program->retain();
  auto it = m_programs.find(key);
  if (it != m_programs.end()) {
    it->second->release();
    it->second = program;
  } else {
    m_programs[key] = program;
  }
}

NS_CC_END
