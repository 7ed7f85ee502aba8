#pragma once

#include "CCNodeLoader.h"

namespace cocos2d {
namespace extension {

// Stand-in node for a sub-file: once read, the reader puts the sub-file's root in its place.
class CCBFile : public CCNode {
 public:
  CCBFile() {}
  virtual ~CCBFile();
  static CCBFile* create();
  CCNode* getCCBFileNode() { return m_pCCBFileNode; }
  // Retains the node.
  void setCCBFileNode(CCNode* pNode);

 private:
  CCNode* m_pCCBFileNode = nullptr;
};

class CCBFileLoader : public CCNodeLoader {
 public:
  CCB_STATIC_NEW_AUTORELEASE_OBJECT_METHOD(CCBFileLoader);

 protected:
  CCB_VIRTUAL_NEW_AUTORELEASE_CREATECCNODE_METHOD(CCBFile);
  void onHandlePropTypeCCBFile(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                               CCNode* pCCBFileNode, CCBReader* pCCBReader) override;
};

}  // namespace extension
}  // namespace cocos2d
