#include "CCBFileLoader.h"

#include <string>

namespace cocos2d {
namespace extension {

CCBFile::~CCBFile() { CC_SAFE_RELEASE(m_pCCBFileNode); }

CCBFile* CCBFile::create() {
  CCBFile* p = new CCBFile();
  return ccAutoreleaseIfInit(p, p->init());
}

void CCBFile::setCCBFileNode(CCNode* pNode) {
  CC_SAFE_RETAIN(pNode);
  CC_SAFE_RELEASE(m_pCCBFileNode);
  m_pCCBFileNode = pNode;
}

void CCBFileLoader::onHandlePropTypeCCBFile(CCNode* pNode, CCNode* pParent,
                                            const char* pPropertyName, CCNode* pCCBFileNode,
                                            CCBReader* pCCBReader) {
  if (std::string(pPropertyName) == "ccbFile")
    static_cast<CCBFile*>(pNode)->setCCBFileNode(pCCBFileNode);
  else
    CCNodeLoader::onHandlePropTypeCCBFile(pNode, pParent, pPropertyName, pCCBFileNode,
                                          pCCBReader);
}

}  // namespace extension
}  // namespace cocos2d
