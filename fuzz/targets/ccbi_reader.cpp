// The screen reader: the input is the screen file ccbi/a.ccbi in a resource folder of its own
// (with a sub-file ccbi/sub.ccbi, empty sprites/, plain_sprites/ and ccbi/screens/, and a
// folder named like a sheet), read for an owner that takes every name and selector; the tree
// then runs each of its timelines in a scene for a few frames.
#include <string>
#include <vector>

#include "CCActionManager.h"
#include "CCAutoreleasePool.h"
#include "CCBAnimationManager.h"
#include "CCBBinary.h"
#include "CCBReader.h"
#include "CCDirector.h"
#include "CCFileUtils.h"
#include "CCNodeLoaderLibrary.h"
#include "CCScene.h"
#include "CCScheduler.h"
#include "CCSpriteFrameCache.h"
#include "CCTextureCache.h"
#include "FuzzSupport.h"

using namespace cocos2d;
using namespace cocos2d::extension;

namespace {

class Owner : public CCObject, public CCBMemberVariableAssigner, public CCBSelectorResolver {
 public:
  bool onAssignCCBMemberVariable(CCObject*, CCString*, CCNode*) override { return true; }
  SEL_MenuHandler onResolveCCBCCMenuItemSelector(CCObject*, CCString*) override {
    return menu_selector(Owner::onItem);
  }
  SEL_CCControlHandler onResolveCCBCCControlSelector(CCObject*, CCString*) override {
    return cccontrol_selector(Owner::onControl);
  }
  void onItem(CCObject*) {}
  void onControl(CCObject*, unsigned int) {}
};

CCNodeLoaderLibrary* s_library = nullptr;

// A small screen with a timeline of its own, for the input to name as a sub-file.
void writeSubFile() {
  CCBDocument doc;
  doc.sequences.push_back({1.f, "Pulse", 0, -1});
  doc.autoPlaySequenceId = 0;
  doc.root.className = "CCLayer";
  CCBNodeDesc child;
  child.className = "CCLayerColor";
  CCBSequenceProperty opacity;
  opacity.name = "opacity";
  opacity.type = kCCBPropTypeByte;
  CCBKeyframe from, to;
  from.value.ints = {0};
  to.time = 1.f;
  to.value.ints = {255};
  opacity.keyframes = {from, to};
  child.sequences.push_back({0, {opacity}});
  doc.root.children.push_back(child);
  std::vector<uint8_t> bytes;
  std::string error;
  if (ccbWriteDocument(doc, bytes, &error)) mvfuzz::writeScratchFile("ccbi/sub.ccbi", bytes.data(), bytes.size());
}

void step(float dt) {
  CCDirector::sharedDirector()->getScheduler()->update(dt);
  CCDirector::sharedDirector()->getActionManager()->update(dt);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  for (const char* folder : {"sprites/dir.plist", "plain_sprites", "ccbi/screens"})
    mvfuzz::makeScratchFolder(folder);
  writeSubFile();
  CCFileUtils::sharedFileUtils()->setResourceDirectory(mvfuzz::scratchDir());
  s_library = CCNodeLoaderLibrary::newDefaultCCNodeLoaderLibrary();
  s_library->retain();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  mvfuzz::writeScratchFile("ccbi/a.ccbi", data, size);
  Owner* owner = new Owner();
  CCBReader* reader = new CCBReader(s_library);
  CCNode* root = reader->readNodeGraphFromFile("ccbi/a.ccbi", owner, CCSize(480, 320));
  reader->release();
  if (root) {
    CCScene* scene = CCScene::create();
    scene->retain();
    scene->addChild(root);
    scene->onEnter();
    // What the reader let go of dies with the frame's pool, before the timelines run again.
    CCPoolManager::sharedPoolManager()->pop();
    if (auto* manager = dynamic_cast<CCBAnimationManager*>(root->getUserObject())) {
      for (const CCBSequenceDesc& seq : std::vector<CCBSequenceDesc>(manager->getSequences())) {
        manager->runAnimationsForSequenceIdTweenDuration(seq.sequenceId, 0);
        for (float dt : {0.f, 0.25f, 1.f, 30.f}) step(dt);
      }
    }
    scene->onExit();
    scene->release();
  }
  owner->release();
  CCPoolManager::sharedPoolManager()->pop();
  CCSpriteFrameCache::sharedSpriteFrameCache()->removeSpriteFrames();
  CCTextureCache::sharedTextureCache()->removeAllTextures();
  return 0;
}
