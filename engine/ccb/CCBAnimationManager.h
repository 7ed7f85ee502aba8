#pragma once

#include <map>
#include <string>
#include <vector>

#include "CCBDocument.h"
#include "CCNode.h"

namespace cocos2d {
class CCActionInterval;
class CCFiniteTimeAction;
namespace extension {

class CCBAnimationManagerDelegate {
 public:
  virtual ~CCBAnimationManagerDelegate() {}
  virtual void completedAnimationSequenceNamed(const char* name) = 0;
};

// The timelines of one screen file: for each animated node and sequence, the keyframes of its
// properties. Running a sequence turns them into actions on the nodes; a sequence with a
// chained one starts that one when it ends. The manager is the root node's user object.
class CCBAnimationManager : public CCObject {
 public:
  CCBAnimationManager();
  virtual ~CCBAnimationManager();

  void setSequences(const std::vector<CCBSequenceDesc>& sequences) { m_sequences = sequences; }
  const std::vector<CCBSequenceDesc>& getSequences() const { return m_sequences; }
  int getAutoPlaySequenceId() const { return m_autoPlaySequenceId; }
  void setAutoPlaySequenceId(int id) { m_autoPlaySequenceId = id; }

  CCNode* getRootNode() { return m_pRootNode; }
  void setRootNode(CCNode* pRootNode) { m_pRootNode = pRootNode; }
  const CCSize& getRootContainerSize() const { return m_rootContainerSize; }
  void setRootContainerSize(const CCSize& size) { m_rootContainerSize = size; }
  // The size percentages of a child of this node refer to: its content size, or the root
  // container size for no node.
  CCSize getContainerSize(CCNode* pNode);

  // Keyframes read for a node; the node is kept alive while the manager holds them (all but
  // the root, which holds the manager).
  void addNode(CCNode* pNode, const std::vector<CCBNodeSequence>& sequences);
  // Hands the keyframes and base values of one node to another, which takes its place in the
  // tree (a sub-file's root replacing its stand-in); the first is no longer held.
  void moveAnimationsFromNode(CCNode* pFromNode, CCNode* pToNode);
  bool isAnimated(CCNode* pNode, const std::string& propName) const;
  // The value a property returns to in sequences that do not animate it.
  void setBaseValue(const CCBValue& value, int type, CCNode* pNode, const std::string& propName);

  void runAnimationsForSequenceNamed(const char* pName);
  void runAnimationsForSequenceNamedTweenDuration(const char* pName, float fTweenDuration);
  void runAnimationsForSequenceIdTweenDuration(int nSeqId, float fTweenDuration);
  // Empty / -1 while no sequence runs.
  const char* getRunningSequenceName();
  int getRunningSequenceId() const { return m_runningSequenceId; }
  int getSequenceId(const char* pSequenceName) const;
  float getSequenceDuration(const char* pSequenceName) const;

  void setDelegate(CCBAnimationManagerDelegate* pDelegate) { m_pDelegate = pDelegate; }
  CCBAnimationManagerDelegate* getDelegate() { return m_pDelegate; }

  // Called when the running sequence's time is over.
  void sequenceCompleted();

 private:
  // Tag of the action on the root node that ends the running sequence.
  static const int kCompletionTag = 0x0CCB;
  struct Track {
    int type;
    std::vector<CCBKeyframe> keyframes;
  };
  struct NodeData {
    std::map<int, std::map<std::string, Track>> sequences;  // id -> property -> keyframes
    std::map<std::string, std::pair<int, CCBValue>> baseValues;
    bool retained = false;  // the manager holds a reference to the node
  };
  // Retains a node unless it is the root.
  void hold(CCNode* pNode, NodeData& data);
  const CCBSequenceDesc* sequence(int id) const;
  // Sets a property at once.
  void setAnimatedProperty(const std::string& name, int type, CCNode* pNode,
                           const CCBValue& value, float fTweenDuration);
  CCActionInterval* actionFor(const CCBKeyframe& from, const CCBKeyframe& to,
                              const std::string& name, int type, CCNode* pNode);
  CCActionInterval* eased(CCActionInterval* action, int easing, float opt);
  void runTrack(CCNode* pNode, const std::string& name, const Track& track, float fTweenDuration);

  std::vector<CCBSequenceDesc> m_sequences;
  std::map<CCNode*, NodeData> m_nodes;
  int m_autoPlaySequenceId = -1;
  CCNode* m_pRootNode = nullptr;
  CCSize m_rootContainerSize;
  int m_runningSequenceId = -1;
  std::string m_runningSequenceName;
  CCBAnimationManagerDelegate* m_pDelegate = nullptr;
};

}  // namespace extension
}  // namespace cocos2d
