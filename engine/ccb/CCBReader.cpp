#include "CCBReader.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "CCBAnimationManager.h"
#include "CCBBinary.h"
#include "CCBFileLoader.h"
#include "CCDirector.h"
#include "CCFileUtils.h"
#include "CCNodeLoader.h"
#include "CCNodeLoaderLibrary.h"

namespace cocos2d {
namespace extension {

namespace {
CCBReader::TextTranslator s_translator = nullptr;

// One spelling for every path of a file: symbolic links, "//", "." and ".." resolved.
std::string normalisedPath(const char* file) {
  std::string full = CCFileUtils::sharedFileUtils()->fullPathForFilename(file);
  if (char* real = realpath(full.c_str(), nullptr)) {
    std::string resolved(real);
    free(real);
    return resolved;
  }
  return std::filesystem::path(full).lexically_normal().string();
}
}  // namespace

void CCBReader::setTextTranslator(TextTranslator translator) { s_translator = translator; }

std::string CCBReader::translate(const char* key) {
  if (!key) return std::string();
  const char* text = s_translator ? s_translator(key) : key;
  return text ? text : key;
}

CCBReader::CCBReader(CCNodeLoaderLibrary* pLibrary, CCBMemberVariableAssigner* pAssigner,
                     CCBSelectorResolver* pResolver, CCNodeLoaderListener* pListener)
    : m_pLibrary(pLibrary),
      m_pMemberVariableAssigner(pAssigner),
      m_pSelectorResolver(pResolver),
      m_pNodeLoaderListener(pListener),
      m_state(std::make_shared<ReadState>()) {
  CC_SAFE_RETAIN(m_pLibrary);
}

CCBReader::CCBReader(CCBReader* parent)
    : m_pLibrary(parent->m_pLibrary),
      m_pMemberVariableAssigner(parent->m_pMemberVariableAssigner),
      m_pSelectorResolver(parent->m_pSelectorResolver),
      m_pNodeLoaderListener(parent->m_pNodeLoaderListener),
      m_pOwner(parent->m_pOwner),
      m_state(parent->m_state) {
  CC_SAFE_RETAIN(m_pLibrary);
  CC_SAFE_RETAIN(m_pOwner);
}

CCBReader::~CCBReader() {
  CC_SAFE_RELEASE(m_pAnimationManager);
  CC_SAFE_RELEASE(m_pOwner);
  CC_SAFE_RELEASE(m_pLibrary);
}

CCSize CCBReader::getRootContainerSize() {
  CCSize size = CCDirector::sharedDirector()->getWinSize();
  if (doubleRootSize) {
    size.width *= 2;
    size.height *= 2;
  }
  return size;
}

float CCBReader::getLayoutScale() { return fullScaleLayout ? 1.0f : 0.5f; }

bool CCBReader::isSpriteSheetLoaded(const std::string& file) const {
  return m_state->loadedSpriteSheets.count(file) > 0;
}

void CCBReader::addLoadedSpriteSheet(const std::string& file) {
  m_state->loadedSpriteSheets.insert(file);
}

void CCBReader::beginRead() {
  if (!m_state->fileChain.empty()) return;  // a sub-file of a read under way
  m_state->nodes = 0;
  m_state->nodeLimitLogged = false;
  m_state->depthLimitLogged = false;
  m_state->documents.clear();
}

bool CCBReader::readDocument(const char* pCCBFileName, CCBDocument& doc, bool quietWhenMissing) {
  if (!pCCBFileName || !*pCCBFileName) return false;
  CCFileUtils* fu = CCFileUtils::sharedFileUtils();
  std::string path = fu->fullPathForFilename(pCCBFileName);
  if (quietWhenMissing && !fu->isFileExist(path)) return false;
  unsigned long size = 0;
  unsigned char* data = fu->getFileData(path.c_str(), "rb", &size);
  if (!data) {
    if (!quietWhenMissing) CCLOGERROR("cannot read screen file %s", pCCBFileName);
    return false;
  }
  std::string error;
  int version = 0;
  bool ok = ccbParseDocument(data, size, doc, &error, &version);
  delete[] data;
  if (!ok) {
    if (version != 0 && version != CCBDocument::kVersion)
      CCLOGWARN("WARNING! Incompatible ccbi file version (file: %d reader: %d)", version,
                CCBDocument::kVersion);
    else
      CCLOGERROR("screen file %s is damaged: %s", pCCBFileName, error.c_str());
  }
  return ok;
}

CCNode* CCBReader::readNodeGraphFromFile(const char* pCCBFileName, CCObject* pOwner) {
  return readNodeGraphFromFile(pCCBFileName, pOwner, getRootContainerSize());
}

CCNode* CCBReader::readNodeGraphFromFile(const char* pCCBFileName, CCObject* pOwner,
                                         const CCSize& rootContainerSize) {
  CCBDocument doc;
  if (!readDocument(pCCBFileName, doc, false)) return nullptr;
  beginRead();
  m_state->fileChain.push_back(normalisedPath(pCCBFileName));
  CCNode* root = buildGraph(doc, pOwner, rootContainerSize);
  m_state->fileChain.pop_back();
  return root;
}

CCNode* CCBReader::readNodeGraphFromData(const unsigned char* data, size_t size,
                                         CCObject* pOwner, const CCSize& rootContainerSize,
                                         const char* nameForLog) {
  CCBDocument doc;
  std::string error;
  int version = 0;
  if (!ccbParseDocument(data, size, doc, &error, &version)) {
    if (version != 0 && version != CCBDocument::kVersion)
      CCLOGWARN("WARNING! Incompatible ccbi file version (file: %d reader: %d)", version,
                CCBDocument::kVersion);
    else
      CCLOGERROR("screen file %s is damaged: %s", nameForLog ? nameForLog : "", error.c_str());
    return nullptr;
  }
  beginRead();
  return buildGraph(doc, pOwner, rootContainerSize);
}

CCNode* CCBReader::buildGraph(const CCBDocument& doc, CCObject* pOwner,
                              const CCSize& rootContainerSize) {
  if (pOwner != m_pOwner) {
    CC_SAFE_RETAIN(pOwner);
    CC_SAFE_RELEASE(m_pOwner);
    m_pOwner = pOwner;
  }
  CC_SAFE_RELEASE(m_pAnimationManager);
  m_pAnimationManager = new CCBAnimationManager();
  m_pAnimationManager->setRootContainerSize(rootContainerSize);
  m_pAnimationManager->setSequences(doc.sequences);
  m_pAnimationManager->setAutoPlaySequenceId(doc.autoPlaySequenceId);

  CCNode* root = readNodeGraph(doc.root, nullptr);
  if (!root) return nullptr;
  // The manager lives as long as the tree it animates.
  root->setUserObject(m_pAnimationManager);
  if (doc.autoPlaySequenceId != -1)
    m_pAnimationManager->runAnimationsForSequenceIdTweenDuration(doc.autoPlaySequenceId, 0);
  return root;
}

CCNode* CCBReader::readNodeGraph(const CCBNodeDesc& desc, CCNode* pParent) {
  if (++m_state->nodes > kMaxNodes) {
    if (!m_state->nodeLimitLogged)
      CCLOGERROR("screen file holds more than %d nodes (with its sub-files); the rest is not read",
                 kMaxNodes);
    m_state->nodeLimitLogged = true;
    return nullptr;
  }
  if (desc.className == "CastleUILayer") {
    LOGOG_LEVEL_GROUP_CATEGORY_MESSAGE(::logog::LOGOG_LEVEL_INFO, "nodes", LOGOG_CATEGORY,
                                       "Loading CCBI class: %s", desc.className.c_str());
  }
  CCNodeLoader* loader = m_pLibrary ? m_pLibrary->getCCNodeLoader(desc.className) : nullptr;
  if (!loader) {
    CCLOGERROR("no corresponding node loader for %s", desc.className.c_str());
    return nullptr;
  }
  CCNode* node = loader->loadCCNode(pParent, this);
  if (!node) {
    CCLOGERROR("node loader for %s made no node", desc.className.c_str());
    return nullptr;
  }
  // Kept alive until it is in the tree, whatever the loaders do with the pool.
  node->retain();
  if (!m_pAnimationManager->getRootNode()) m_pAnimationManager->setRootNode(node);
  if (!desc.sequences.empty()) m_pAnimationManager->addNode(node, desc.sequences);

  loader->parseProperties(node, pParent, desc, this);

  // A sub-file stand-in gives way to the sub-file's root.
  if (CCBFile* file = dynamic_cast<CCBFile*>(node)) {
    if (CCNode* embedded = file->getCCBFileNode()) {
      embedded->setPosition(file->getPosition());
      embedded->setRotation(file->getRotation());
      embedded->setScaleX(file->getScaleX());
      embedded->setScaleY(file->getScaleY());
      embedded->setTag(file->getTag());
      embedded->setVisible(true);
      embedded->ignoreAnchorPointForPosition(file->isIgnoreAnchorPointForPosition());
      embedded->retain();
      file->setCCBFileNode(nullptr);
      // Timelines of the stand-in animate the node that really is in the tree.
      if (m_pAnimationManager->getRootNode() == file) m_pAnimationManager->setRootNode(embedded);
      m_pAnimationManager->moveAnimationsFromNode(file, embedded);
      file->release();
      node = embedded;
    }
  }

  if (desc.memberVarAssignmentType != kCCBTargetTypeNone) {
    CCObject* target = nullptr;
    if (desc.memberVarAssignmentType == kCCBTargetTypeDocumentRoot)
      target = m_pAnimationManager->getRootNode();
    else if (desc.memberVarAssignmentType == kCCBTargetTypeOwner)
      target = m_pOwner;
    if (target) {
      // Released at once rather than at the frame's end: a tower of layouts names tens of
      // thousands of members in one go.
      CCString* name = new CCString(desc.memberVarAssignmentName);
      bool assigned = false;
      if (CCBMemberVariableAssigner* own = dynamic_cast<CCBMemberVariableAssigner*>(target))
        assigned = own->onAssignCCBMemberVariable(target, name, node);
      if (!assigned && m_pMemberVariableAssigner)
        m_pMemberVariableAssigner->onAssignCCBMemberVariable(target, name, node);
      name->release();
    }
  }

  for (const CCBNodeDesc& childDesc : desc.children) {
    CCNode* child = readNodeGraph(childDesc, node);
    if (child) node->addChild(child);
  }

  if (CCNodeLoaderListener* listener = dynamic_cast<CCNodeLoaderListener*>(node))
    listener->onNodeLoaded(node, loader);
  else if (m_pNodeLoaderListener)
    m_pNodeLoaderListener->onNodeLoaded(node, loader);

  node->autorelease();
  return node;
}

CCNode* CCBReader::readSubFile(const std::string& name, CCNode* pParent) {
  const std::string candidates[] = {"ccbi/" + name + ".ccbi", "ccbi/screens/" + name + ".ccbi"};
  for (const std::string& file : candidates) {
    CCFileUtils* fu = CCFileUtils::sharedFileUtils();
    if (!fu->isFileExist(fu->fullPathForFilename(file.c_str()))) continue;
    // A file that holds itself, directly or not, would be read for ever; "a", "/a" and
    // "//a" name the same file.
    std::string path = normalisedPath(file.c_str());
    std::vector<std::string>& chain = m_state->fileChain;
    for (const std::string& open : chain) {
      if (open == path) {
        CCLOGERROR("sub-ccb file %s contains itself; not read again", file.c_str());
        return nullptr;
      }
    }
    if (chain.size() > static_cast<size_t>(kMaxSubFileDepth)) {
      if (!m_state->depthLimitLogged)
        CCLOGERROR("sub-ccb file %s lies more than %d files deep; not read", file.c_str(),
                   kMaxSubFileDepth);
      m_state->depthLimitLogged = true;
      return nullptr;
    }
    std::shared_ptr<const CCBDocument>& doc = m_state->documents[path];
    if (!doc) {
      auto read = std::make_shared<CCBDocument>();
      if (!readDocument(file.c_str(), *read, false)) {
        m_state->documents.erase(path);
        return nullptr;
      }
      doc = read;
    }
    std::shared_ptr<const CCBDocument> held = doc;  // the map may grow during the read
    CCBReader* sub = new CCBReader(this);
    CCSize container = pParent ? pParent->getContentSize() : getRootContainerSize();
    chain.push_back(path);
    CCNode* root = sub->buildGraph(*held, m_pOwner, container);
    chain.pop_back();
    sub->release();
    return root;
  }
  CCLOGERROR("couldn't find sub-ccb file anywhere: %s", name.c_str());
  return nullptr;
}

}  // namespace extension
}  // namespace cocos2d
