#pragma once

#include <map>
#include <string>

#include "CCObject.h"

namespace cocos2d {
namespace extension {

class CCNodeLoader;

// The node loaders by the class names that screen files store.
class CCNodeLoaderLibrary : public CCObject {
 public:
  CCNodeLoaderLibrary() {}
  virtual ~CCNodeLoaderLibrary();

  static CCNodeLoaderLibrary* library();
  // A library with every loader the engine knows.
  static CCNodeLoaderLibrary* newDefaultCCNodeLoaderLibrary();

  void registerDefaultCCNodeLoaders();
  // Registers (retains) a loader; a second one for the same name replaces the first.
  void registerCCNodeLoader(const char* pClassName, CCNodeLoader* pCCNodeLoader);
  void unregisterCCNodeLoader(const char* pClassName);
  CCNodeLoader* getCCNodeLoader(const std::string& className);
  void purge(bool releaseCCNodeLoaders);

 private:
  std::map<std::string, CCNodeLoader*> m_loaders;
};

}  // namespace extension
}  // namespace cocos2d
