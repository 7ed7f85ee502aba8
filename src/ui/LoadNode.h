// Loading a screen file for an owner object.
#pragma once

#include "CCNode.h"

namespace cocos2d {
namespace extension {
class CCNodeLoaderLibrary;
}
}  // namespace cocos2d

namespace mv {

// Reads a screen file (.ccbi) for its owner, whose member-variable assigner and selector
// resolver bind the named nodes and buttons. fullScaleLayout takes absolute positions and
// sizes at full scale; doubleRootSize makes the root container twice the window. Null, with a
// log line, when the file cannot be read.
cocos2d::CCNode* loadNode(const char* fileName, cocos2d::CCObject* owner, bool fullScaleLayout,
                          bool doubleRootSize);

// The one node-loader library every load uses (made on first use).
cocos2d::extension::CCNodeLoaderLibrary* sharedNodeLoaderLibrary();

}  // namespace mv
