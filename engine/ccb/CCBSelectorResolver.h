#pragma once

#include "CCObject.h"
#include "CCString.h"

namespace cocos2d {
namespace extension {

class CCControl;
typedef void (CCObject::*SEL_CCControlHandler)(CCObject*, unsigned int);
#define cccontrol_selector(_SELECTOR) (cocos2d::extension::SEL_CCControlHandler)(&_SELECTOR)

// Turns the selector names of a screen file's buttons into an owner's methods.
class CCBSelectorResolver {
 public:
  virtual ~CCBSelectorResolver() {}
  virtual SEL_MenuHandler onResolveCCBCCMenuItemSelector(CCObject* pTarget,
                                                         CCString* pSelectorName) = 0;
  // Controls resolve nothing unless the owner says otherwise.
  virtual SEL_CCControlHandler onResolveCCBCCControlSelector(CCObject* pTarget,
                                                             CCString* pSelectorName) {
    (void)pTarget;
    (void)pSelectorName;
    return nullptr;
  }
};

#define CCB_SELECTORRESOLVER_CCMENUITEM_GLUE(TARGET, NAME, METHOD) \
  if (pTarget == (TARGET) && pSelectorName->compare(NAME) == 0) return menu_selector(METHOD);
#define CCB_SELECTORRESOLVER_CCCONTROL_GLUE(TARGET, NAME, METHOD) \
  if (pTarget == (TARGET) && pSelectorName->compare(NAME) == 0) return cccontrol_selector(METHOD);

class CCNodeLoader;

// Told when a node and its children have been read (for nodes made by custom loaders).
class CCNodeLoaderListener {
 public:
  virtual ~CCNodeLoaderListener() {}
  virtual void onNodeLoaded(CCNode* pNode, CCNodeLoader* pNodeLoader) = 0;
};

}  // namespace extension
}  // namespace cocos2d
