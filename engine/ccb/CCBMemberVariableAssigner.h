#pragma once

#include "CCNode.h"
#include "CCString.h"

namespace cocos2d {
namespace extension {

// Binds the named nodes of a screen file to an owner's fields.
class CCBMemberVariableAssigner {
 public:
  virtual ~CCBMemberVariableAssigner() {}
  // True when the name was taken.
  virtual bool onAssignCCBMemberVariable(CCObject* pTarget, CCString* pMemberVariableName,
                                         CCNode* pNode) = 0;
};

// Inside onAssignCCBMemberVariable: stores the node in MEMBER (cast to TYPE, retained) when the
// target and the name match, and returns true.
#define CCB_MEMBERVARIABLEASSIGNER_GLUE(TARGET, NAME, TYPE, MEMBER)                     \
  if (pTarget == (TARGET) && pMemberVariableName->compare(NAME) == 0) {                 \
    TYPE pOld = MEMBER;                                                                 \
    MEMBER = dynamic_cast<TYPE>(pNode);                                                 \
    if (pOld != MEMBER) {                                                               \
      CC_SAFE_RELEASE(pOld);                                                            \
      CC_SAFE_RETAIN(MEMBER);                                                           \
    }                                                                                   \
    return true;                                                                        \
  }

}  // namespace extension
}  // namespace cocos2d
