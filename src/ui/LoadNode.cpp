#include "LoadNode.h"

#include "CCBReader.h"
#include "CCNodeLoaderLibrary.h"
#include "LanguageFile.h"
#include "logog/logog.hpp"

namespace mv {

using cocos2d::extension::CCBReader;
using cocos2d::extension::CCNodeLoaderLibrary;

CCNodeLoaderLibrary* sharedNodeLoaderLibrary() {
  static CCNodeLoaderLibrary* library = nullptr;
  if (!library) {
    library = CCNodeLoaderLibrary::newDefaultCCNodeLoaderLibrary();
    library->retain();
    // Label texts beginning with '%' are keys of the language table.
    CCBReader::setTextTranslator(&localizedText);
  }
  return library;
}

cocos2d::CCNode* loadNode(const char* fileName, cocos2d::CCObject* owner, bool fullScaleLayout,
                          bool doubleRootSize) {
  CCBReader* reader = new CCBReader(sharedNodeLoaderLibrary());
  reader->fullScaleLayout = fullScaleLayout;
  reader->doubleRootSize = doubleRootSize;
  cocos2d::CCNode* node = reader->readNodeGraphFromFile(fileName, owner);
  if (!node) LOGOG_CRITICAL("couldn't load node");
  reader->release();
  return node;
}

}  // namespace mv
