// The settings file (UserDefault.xml): read at start, looked up, written again after a change.
#include <cstdlib>

#include "CCUserDefault.h"
#include "FuzzSupport.h"

using namespace cocos2d;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The settings file lives in the per-user data folder: here, the scratch folder.
  setenv("XDG_DATA_HOME", mvfuzz::scratchDir().c_str(), 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CCUserDefault::purgeSharedUserDefault();
  const std::string& path = CCUserDefault::getXMLFilePath();
  const std::string& root = mvfuzz::scratchDir();
  mvfuzz::writeScratchFile(path.substr(root.size()), data, size);
  CCUserDefault* settings = CCUserDefault::sharedUserDefault();
  settings->getBoolForKey("music", true);
  settings->getIntegerForKey("room_zoom_in", 1);
  settings->getFloatForKey("volume", 0.5f);
  settings->getDoubleForKey("volume", 0.5);
  settings->getStringForKey("email", "");
  settings->setStringForKey("code", settings->getStringForKey("code", "") + "1");
  CCUserDefault::purgeSharedUserDefault();
  return 0;
}
