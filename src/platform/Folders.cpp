#include "Folders.h"

#include "CCFileUtils.h"

namespace mv {

const char* const kOrganisationFolder = "Brindlecor";
const char* const kApplicationFolder = "Mirrowvale";

namespace {

cocos2d::CCFileUtils* gameFileUtils() {
  // Named once, before the first path is formed, so that every per-user file of the game
  // (settings, logs, run marker) lands in the same folder.
  static bool named = (cocos2d::CCFileUtils::setApplicationFolders(kOrganisationFolder, kApplicationFolder), true);
  (void)named;
  return cocos2d::CCFileUtils::sharedFileUtils();
}

}  // namespace

std::string dataFolder() { return gameFileUtils()->getWriteablePath(); }

std::string logFolder() { return gameFileUtils()->getLogDirectory(); }

}  // namespace mv
