#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "CCBDocument.h"
#include "CCBMemberVariableAssigner.h"
#include "CCBSelectorResolver.h"
#include "CCNode.h"

namespace cocos2d {
namespace extension {

class CCBAnimationManager;
class CCNodeLoaderLibrary;

// Reads a screen file (.ccbi) into a node tree. The whole file is parsed and checked first;
// nodes are then made by the loaders of the library, named nodes are handed to the owner's
// member-variable assigner and button selectors resolved by its selector resolver.
class CCBReader : public CCObject {
 public:
  CCBReader(CCNodeLoaderLibrary* pCCNodeLoaderLibrary,
            CCBMemberVariableAssigner* pCCBMemberVariableAssigner = nullptr,
            CCBSelectorResolver* pCCBSelectorResolver = nullptr,
            CCNodeLoaderListener* pCCNodeLoaderListener = nullptr);
  // A reader for a sub-file: same library, owner, helpers and loaded sheets; both layout
  // flags start false.
  explicit CCBReader(CCBReader* pCCBReader);
  virtual ~CCBReader();

  // Absolute positions and sizes at full scale instead of half (see getLayoutScale).
  bool fullScaleLayout = false;
  // The root container is twice the window size.
  bool doubleRootSize = false;
  void setFullScaleLayout(bool v) { fullScaleLayout = v; }
  void setDoubleRootSize(bool v) { doubleRootSize = v; }

  // The window size, doubled when doubleRootSize is set.
  CCSize getRootContainerSize();
  // The factor of absolute positions and sizes: 1 with fullScaleLayout, else 0.5.
  float getLayoutScale();

  CCNode* readNodeGraphFromFile(const char* pCCBFileName, CCObject* pOwner = nullptr);
  CCNode* readNodeGraphFromFile(const char* pCCBFileName, CCObject* pOwner,
                                const CCSize& rootContainerSize);
  CCNode* readNodeGraphFromData(const unsigned char* data, size_t size, CCObject* pOwner,
                                const CCSize& rootContainerSize, const char* nameForLog = "");

  CCBAnimationManager* getAnimationManager() { return m_pAnimationManager; }
  CCObject* getOwner() { return m_pOwner; }
  CCBMemberVariableAssigner* getCCBMemberVariableAssigner() { return m_pMemberVariableAssigner; }
  CCBSelectorResolver* getCCBSelectorResolver() { return m_pSelectorResolver; }
  CCNodeLoaderLibrary* getCCNodeLoaderLibrary() { return m_pLibrary; }

  // Sprite sheets this read (and its sub-reads) have loaded, by file name.
  bool isSpriteSheetLoaded(const std::string& file) const;
  void addLoadedSpriteSheet(const std::string& file);

  // Reads a sub-file for a "ccbFile" property of a child of pParent (whose content size is
  // the sub-file's root container): looked up under ccbi/ and ccbi/screens/; null (logged)
  // when none can be read.
  CCNode* readSubFile(const std::string& storedName, CCNode* pParent);

  // Label texts that begin with '%' name a language key; the game installs its language
  // table here. Without one a key stands for itself.
  typedef const char* (*TextTranslator)(const char* key);
  static void setTextTranslator(TextTranslator translator);
  static std::string translate(const char* key);

  // Reads one file into its document; false (logged) when missing or unreadable.
  static bool readDocument(const char* pCCBFileName, CCBDocument& doc, bool quietWhenMissing);

  // Bounds of one screen read, its sub-files included: far above any real screen, they stop
  // a file that multiplies itself through sub-files. Past a bound, the rest is not read
  // (logged once) and what was read stays.
  static const int kMaxNodes = 10000;
  static const int kMaxSubFileDepth = 16;

 private:
  // Shared by a reader and the readers of its sub-files.
  struct ReadState {
    std::set<std::string> loadedSpriteSheets;
    // Normalised paths of the files being read, outermost first: a sub-file that names one
    // of them is refused.
    std::vector<std::string> fileChain;
    // Sub-files parsed so far, by normalised path.
    std::map<std::string, std::shared_ptr<const CCBDocument>> documents;
    int nodes = 0;
    bool nodeLimitLogged = false;
    bool depthLimitLogged = false;
  };

  // A new top-level read starts with a fresh count.
  void beginRead();
  CCNode* readNodeGraph(const CCBNodeDesc& desc, CCNode* pParent);
  CCNode* buildGraph(const CCBDocument& doc, CCObject* pOwner, const CCSize& rootContainerSize);

  CCNodeLoaderLibrary* m_pLibrary;
  CCBMemberVariableAssigner* m_pMemberVariableAssigner;
  CCBSelectorResolver* m_pSelectorResolver;
  CCNodeLoaderListener* m_pNodeLoaderListener;
  CCObject* m_pOwner = nullptr;
  CCBAnimationManager* m_pAnimationManager = nullptr;
  std::shared_ptr<ReadState> m_state;
};

}  // namespace extension
}  // namespace cocos2d
