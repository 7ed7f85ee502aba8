#pragma once

#include <string>

#include "CCBDocument.h"
#include "CCBSelectorResolver.h"
#include "CCNode.h"
#include "ccTypes.h"

namespace cocos2d {
class CCSpriteFrame;
class CCTexture2D;
namespace extension {

class CCBReader;

// A selector named in a screen file, resolved for its target.
struct BlockData {
  SEL_MenuHandler mSELMenuHandler = nullptr;
  CCObject* mTarget = nullptr;
};
struct BlockCCControlData {
  SEL_CCControlHandler mSELCCControlHandler = nullptr;
  CCObject* mTarget = nullptr;
  int mControlEvents = 0;
};

// Ceiling of container * percent / 100 + scale * absolute, computed in extended precision and
// stored as a float first: the screen files' position and size dialect.
float ccbLayoutCoordinate(float container, float percent, float absolute, float scale);

// The sprite frame a screen file names: frameName in the sheet "sprites/<sheet>.plist", or,
// for an empty sheet, the whole image "plain_sprites/<frameName>". The reader (when given)
// remembers the sheets it has loaded. Null, with a log line, when there is no such frame.
CCSpriteFrame* ccbSpriteFrame(const std::string& sheet, const std::string& frameName,
                              CCBReader* pCCBReader);

// Makes the node of one class and applies the properties a screen file stores for it. Each
// property goes to the handler of its type; a loader handles its own names and passes the
// rest to its base loader. A name nobody handles is logged and dropped.
class CCNodeLoader : public CCObject {
 public:
  virtual ~CCNodeLoader() {}
  static CCNodeLoader* loader();

  // The node (autoreleased), or null when it cannot be made.
  virtual CCNode* loadCCNode(CCNode* pParent, CCBReader* pCCBReader);
  virtual void parseProperties(CCNode* pNode, CCNode* pParent, const CCBNodeDesc& desc,
                               CCBReader* pCCBReader);

 protected:
  virtual CCNode* createCCNode(CCNode* pParent, CCBReader* pCCBReader);
  void parseProperty(CCNode* pNode, CCNode* pParent, const CCBNodeDesc& desc,
                     const CCBProperty& prop, CCBReader* pCCBReader);

  // Values of the file turned into engine values.
  CCPoint parsePropTypePosition(CCNode* pParent, const CCBValue& v, CCBReader* pCCBReader);
  CCSize parsePropTypeSize(CCNode* pParent, const CCBValue& v, CCBReader* pCCBReader);
  CCSpriteFrame* parsePropTypeSpriteFrame(const CCBValue& v, CCBReader* pCCBReader);
  CCTexture2D* parsePropTypeTexture(const CCBValue& v);
  BlockData* parsePropTypeBlock(const CCBValue& v, CCBReader* pCCBReader, BlockData& out);
  BlockCCControlData* parsePropTypeBlockCCControl(const CCBValue& v, CCBReader* pCCBReader,
                                                  BlockCCControlData& out);
  CCNode* parsePropTypeCCBFile(CCNode* pParent, const CCBValue& v, CCBReader* pCCBReader);

  void unexpected(const char* pPropertyName);

  virtual void onHandlePropTypePosition(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                        const CCPoint& pPosition, CCBReader* pCCBReader);
  virtual void onHandlePropTypePoint(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                     const CCPoint& pPoint, CCBReader* pCCBReader);
  virtual void onHandlePropTypePointLock(CCNode* pNode, CCNode* pParent,
                                         const char* pPropertyName, const CCPoint& pPoint,
                                         CCBReader* pCCBReader);
  virtual void onHandlePropTypeSize(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                    const CCSize& pSize, CCBReader* pCCBReader);
  virtual void onHandlePropTypeScaleLock(CCNode* pNode, CCNode* pParent,
                                         const char* pPropertyName, float* pScaleLock,
                                         CCBReader* pCCBReader);
  virtual void onHandlePropTypeFloat(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                     float pFloat, CCBReader* pCCBReader);
  virtual void onHandlePropTypeDegrees(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                       float pDegrees, CCBReader* pCCBReader);
  virtual void onHandlePropTypeFloatScale(CCNode* pNode, CCNode* pParent,
                                          const char* pPropertyName, float pFloatScale,
                                          CCBReader* pCCBReader);
  virtual void onHandlePropTypeInteger(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                       int pInteger, CCBReader* pCCBReader);
  virtual void onHandlePropTypeIntegerLabeled(CCNode* pNode, CCNode* pParent,
                                              const char* pPropertyName, int pIntegerLabeled,
                                              CCBReader* pCCBReader);
  virtual void onHandlePropTypeFloatVar(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                        float* pFoatVar, CCBReader* pCCBReader);
  virtual void onHandlePropTypeCheck(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                     bool pCheck, CCBReader* pCCBReader);
  virtual void onHandlePropTypeSpriteFrame(CCNode* pNode, CCNode* pParent,
                                           const char* pPropertyName,
                                           CCSpriteFrame* pCCSpriteFrame, CCBReader* pCCBReader);
  virtual void onHandlePropTypeTexture(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                       CCTexture2D* pCCTexture2D, CCBReader* pCCBReader);
  virtual void onHandlePropTypeByte(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                    unsigned char pByte, CCBReader* pCCBReader);
  virtual void onHandlePropTypeColor3(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                      ccColor3B pCCColor3B, CCBReader* pCCBReader);
  virtual void onHandlePropTypeColor4FVar(CCNode* pNode, CCNode* pParent,
                                          const char* pPropertyName, ccColor4F* pCCColor4FVar,
                                          CCBReader* pCCBReader);
  virtual void onHandlePropTypeFlip(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                    bool* pFlip, CCBReader* pCCBReader);
  virtual void onHandlePropTypeBlendFunc(CCNode* pNode, CCNode* pParent,
                                         const char* pPropertyName, ccBlendFunc pCCBlendFunc,
                                         CCBReader* pCCBReader);
  virtual void onHandlePropTypeFntFile(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                       const char* pFntFile, CCBReader* pCCBReader);
  virtual void onHandlePropTypeString(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                      const char* pString, CCBReader* pCCBReader);
  virtual void onHandlePropTypeText(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                    const char* pText, CCBReader* pCCBReader);
  virtual void onHandlePropTypeFontTTF(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                       const char* pFontTTF, CCBReader* pCCBReader);
  virtual void onHandlePropTypeBlock(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                     BlockData* pBlockData, CCBReader* pCCBReader);
  virtual void onHandlePropTypeBlockCCControl(CCNode* pNode, CCNode* pParent,
                                              const char* pPropertyName,
                                              BlockCCControlData* pBlockCCControlData,
                                              CCBReader* pCCBReader);
  virtual void onHandlePropTypeCCBFile(CCNode* pNode, CCNode* pParent, const char* pPropertyName,
                                       CCNode* pCCBFileNode, CCBReader* pCCBReader);
};

// A loader's static constructor and its node factory.
#define CCB_STATIC_NEW_AUTORELEASE_OBJECT_METHOD(T) \
  static T* loader() {                             \
    T* p = new T();                                \
    p->autorelease();                              \
    return p;                                      \
  }
#define CCB_VIRTUAL_NEW_AUTORELEASE_CREATECCNODE_METHOD(T)                              \
  virtual T* createCCNode(cocos2d::CCNode* pParent,                                     \
                          cocos2d::extension::CCBReader* pCCBReader) override {         \
    (void)pParent;                                                                      \
    (void)pCCBReader;                                                                   \
    return T::create();                                                                 \
  }

}  // namespace extension
}  // namespace cocos2d
