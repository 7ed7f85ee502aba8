#include "CCNodeLoaderLibrary.h"

#include "CCBFileLoader.h"
#include "CCControlLoader.h"
#include "CCLabelBMFontLoader.h"
#include "CCLabelTTFLoader.h"
#include "CCMenuItemLoader.h"
#include "CCParticleSystemQuadLoader.h"
#include "CCScrollViewLoader.h"
#include "CCLayerLoader.h"
#include "CCNodeLoader.h"
#include "CCSpriteLoader.h"

namespace cocos2d {
namespace extension {

CCNodeLoaderLibrary::~CCNodeLoaderLibrary() { purge(true); }

CCNodeLoaderLibrary* CCNodeLoaderLibrary::library() {
  CCNodeLoaderLibrary* lib = new CCNodeLoaderLibrary();
  lib->autorelease();
  return lib;
}

CCNodeLoaderLibrary* CCNodeLoaderLibrary::newDefaultCCNodeLoaderLibrary() {
  CCNodeLoaderLibrary* lib = library();
  lib->registerDefaultCCNodeLoaders();
  return lib;
}

void CCNodeLoaderLibrary::registerDefaultCCNodeLoaders() {
  registerCCNodeLoader("CCNode", CCNodeLoader::loader());
  registerCCNodeLoader("CCLayer", CCLayerLoader::loader());
  registerCCNodeLoader("CCLayerColor", CCLayerColorLoader::loader());
  registerCCNodeLoader("CCLayerGradient", CCLayerGradientLoader::loader());
  registerCCNodeLoader("CCSprite", CCSpriteLoader::loader());
  registerCCNodeLoader("CCLabelBMFont", CCLabelBMFontLoader::loader());
  registerCCNodeLoader("CCLabelTTF", CCLabelTTFLoader::loader());
  registerCCNodeLoader("CCScale9Sprite", CCScale9SpriteLoader::loader());
  registerCCNodeLoader("CCScrollView", CCScrollViewLoader::loader());
  registerCCNodeLoader("CCBFile", CCBFileLoader::loader());
  registerCCNodeLoader("CCControlButton", CCControlButtonLoader::loader());
  registerCCNodeLoader("CCMenu", CCMenuLoader::loader());
  registerCCNodeLoader("CCMenuItemImage", CCMenuItemImageLoader::loader());
  registerCCNodeLoader("CCMenuItemColor", CCMenuItemColorLoader::loader());
  registerCCNodeLoader("CCParticleSystemQuad", CCParticleSystemQuadLoader::loader());
  registerCCNodeLoader("CCTilingSprite", CCTilingSpriteLoader::loader());
  registerCCNodeLoader("TestLayer", CCTestLayerLoader::loader());
  registerCCNodeLoader("TestSprite", CCTestSpriteLoader::loader());
}

void CCNodeLoaderLibrary::registerCCNodeLoader(const char* pClassName, CCNodeLoader* pLoader) {
  if (!pClassName || !pLoader) return;
  pLoader->retain();
  auto it = m_loaders.find(pClassName);
  if (it != m_loaders.end()) {
    it->second->release();
    it->second = pLoader;
  } else {
    m_loaders[pClassName] = pLoader;
  }
}

void CCNodeLoaderLibrary::unregisterCCNodeLoader(const char* pClassName) {
  if (!pClassName) return;
  auto it = m_loaders.find(pClassName);
  if (it == m_loaders.end()) return;
  it->second->release();
  m_loaders.erase(it);
}

CCNodeLoader* CCNodeLoaderLibrary::getCCNodeLoader(const std::string& className) {
  auto it = m_loaders.find(className);
  return it == m_loaders.end() ? nullptr : it->second;
}

void CCNodeLoaderLibrary::purge(bool releaseCCNodeLoaders) {
  if (releaseCCNodeLoaders)
    for (auto& kv : m_loaders) kv.second->release();
  m_loaders.clear();
}

}  // namespace extension
}  // namespace cocos2d
