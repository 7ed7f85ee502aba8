#include "CCBAnimationManager.h"

#include "CCActionEase.h"
#include "CCActionInstant.h"
#include "CCActionInterval.h"
#include "CCArray.h"
#include "CCNodeLoader.h"
#include "CCProtocols.h"
#include "CCSprite.h"
#include "CCSpriteFrame.h"

namespace cocos2d {
namespace extension {

namespace {

// Keyframes name frames as the node property does.
CCSpriteFrame* keyframeSpriteFrame(const CCBValue& v) {
  if (v.strings.size() != 2) return nullptr;
  return ccbSpriteFrame(v.strings[0], v.strings[1], nullptr);
}

// Puts a stored value on a node at once.
void applyValue(const std::string& name, CCNode* node, const CCBValue& v) {
  if (name == "position" && v.floats.size() >= 2) {
    node->setPosition(CCPoint(v.floats[0], v.floats[1]));
  } else if (name == "scale" && v.floats.size() >= 2) {
    node->setScaleX(v.floats[0]);
    node->setScaleY(v.floats[1]);
  } else if (name == "rotation" && v.floats.size() >= 1) {
    node->setRotation(v.floats[0]);
  } else if (name == "visible" && v.bools.size() >= 1) {
    node->setVisible(v.bools[0]);
  } else if (name == "opacity" && v.ints.size() >= 1) {
    if (CCRGBAProtocol* rgba = dynamic_cast<CCRGBAProtocol*>(node))
      rgba->setOpacity(static_cast<GLubyte>(v.ints[0]));
  } else if (name == "color" && v.ints.size() >= 3) {
    if (CCRGBAProtocol* rgba = dynamic_cast<CCRGBAProtocol*>(node))
      rgba->setColor(ccc3(static_cast<GLubyte>(v.ints[0]), static_cast<GLubyte>(v.ints[1]),
                          static_cast<GLubyte>(v.ints[2])));
  } else if (name == "displayFrame") {
    CCSprite* sprite = dynamic_cast<CCSprite*>(node);
    CCSpriteFrame* frame = keyframeSpriteFrame(v);
    if (sprite && frame) sprite->setDisplayFrame(frame);
  } else {
    CCLOGWARN("unsupported animated property '%s'", name.c_str());
  }
}

// An instant step of a timeline: sets one property.
class CCBSetProperty : public CCActionInstant {
 public:
  static CCBSetProperty* create(const std::string& name, const CCBValue& value) {
    CCBSetProperty* p = new CCBSetProperty();
    p->m_name = name;
    p->m_value = value;
    p->autorelease();
    return p;
  }
  void update(float) override {
    if (m_pTarget) applyValue(m_name, m_pTarget, m_value);
  }
  CCObject* copyWithZone(CCZone*) override {
    CCBSetProperty* p = new CCBSetProperty();
    p->m_name = m_name;
    p->m_value = m_value;
    return p;
  }

 private:
  std::string m_name;
  CCBValue m_value;
};

}  // namespace

CCBAnimationManager::CCBAnimationManager() {}

CCBAnimationManager::~CCBAnimationManager() {
  for (auto& kv : m_nodes)
    if (kv.second.retained) kv.first->release();
}

CCSize CCBAnimationManager::getContainerSize(CCNode* pNode) {
  return pNode ? pNode->getContentSize() : m_rootContainerSize;
}

void CCBAnimationManager::hold(CCNode* pNode, NodeData& data) {
  // The root holds the manager, so the manager must not hold the root.
  if (data.retained || pNode == m_pRootNode) return;
  pNode->retain();
  data.retained = true;
}

void CCBAnimationManager::addNode(CCNode* pNode, const std::vector<CCBNodeSequence>& sequences) {
  if (!pNode) return;
  NodeData& data = m_nodes[pNode];
  hold(pNode, data);
  for (const CCBNodeSequence& seq : sequences)
    for (const CCBSequenceProperty& prop : seq.properties)
      data.sequences[seq.sequenceId][prop.name] = Track{prop.type, prop.keyframes};
}

void CCBAnimationManager::moveAnimationsFromNode(CCNode* pFromNode, CCNode* pToNode) {
  if (!pFromNode || !pToNode || pFromNode == pToNode) return;
  auto from = m_nodes.find(pFromNode);
  if (from == m_nodes.end()) return;
  NodeData moved = std::move(from->second);
  m_nodes.erase(from);
  NodeData& data = m_nodes[pToNode];
  hold(pToNode, data);
  for (auto& seq : moved.sequences)
    for (auto& track : seq.second) data.sequences[seq.first][track.first] = std::move(track.second);
  for (auto& base : moved.baseValues) data.baseValues[base.first] = std::move(base.second);
  if (moved.retained) pFromNode->release();
}

bool CCBAnimationManager::isAnimated(CCNode* pNode, const std::string& propName) const {
  auto it = m_nodes.find(pNode);
  if (it == m_nodes.end()) return false;
  for (const auto& seq : it->second.sequences)
    if (seq.second.count(propName)) return true;
  return false;
}

void CCBAnimationManager::setBaseValue(const CCBValue& value, int type, CCNode* pNode,
                                       const std::string& propName) {
  auto it = m_nodes.find(pNode);
  if (it == m_nodes.end()) return;
  it->second.baseValues[propName] = {type, value};
}

const CCBSequenceDesc* CCBAnimationManager::sequence(int id) const {
  for (const CCBSequenceDesc& s : m_sequences)
    if (s.sequenceId == id) return &s;
  return nullptr;
}

int CCBAnimationManager::getSequenceId(const char* pSequenceName) const {
  if (!pSequenceName) return -1;
  for (const CCBSequenceDesc& s : m_sequences)
    if (s.name == pSequenceName) return s.sequenceId;
  return -1;
}

float CCBAnimationManager::getSequenceDuration(const char* pSequenceName) const {
  const CCBSequenceDesc* s = sequence(getSequenceId(pSequenceName));
  return s ? s->duration : 0.f;
}

const char* CCBAnimationManager::getRunningSequenceName() {
  return m_runningSequenceName.c_str();
}

void CCBAnimationManager::runAnimationsForSequenceNamed(const char* pName) {
  runAnimationsForSequenceNamedTweenDuration(pName, 0);
}

void CCBAnimationManager::runAnimationsForSequenceNamedTweenDuration(const char* pName,
                                                                     float fTweenDuration) {
  int id = getSequenceId(pName);
  if (id == -1) {
    CCLOGERROR("no animation sequence named '%s'", pName ? pName : "");
    return;
  }
  runAnimationsForSequenceIdTweenDuration(id, fTweenDuration);
}

CCActionInterval* CCBAnimationManager::eased(CCActionInterval* action, int easing, float opt) {
  switch (easing) {
    case kCCBEasingCubicIn: return CCEaseIn::create(action, opt);
    case kCCBEasingCubicOut: return CCEaseOut::create(action, opt);
    case kCCBEasingCubicInOut: return CCEaseInOut::create(action, opt);
    case kCCBEasingElasticIn: return CCEaseElasticIn::create(action, opt);
    case kCCBEasingElasticOut: return CCEaseElasticOut::create(action, opt);
    case kCCBEasingElasticInOut: return CCEaseElasticInOut::create(action, opt);
    case kCCBEasingBounceIn: return CCEaseBounceIn::create(action);
    case kCCBEasingBounceOut: return CCEaseBounceOut::create(action);
    case kCCBEasingBounceInOut: return CCEaseBounceInOut::create(action);
    case kCCBEasingBackIn: return CCEaseBackIn::create(action);
    case kCCBEasingBackOut: return CCEaseBackOut::create(action);
    case kCCBEasingBackInOut: return CCEaseBackInOut::create(action);
    default: return action;
  }
}

CCActionInterval* CCBAnimationManager::actionFor(const CCBKeyframe& from, const CCBKeyframe& to,
                                                 const std::string& name, int, CCNode*) {
  float d = to.time - from.time;
  if (d < 0) d = 0;
  const CCBValue& v = to.value;
  CCActionInterval* tween = nullptr;
  if (from.easing != kCCBEasingInstant) {
    if (name == "position" && v.floats.size() >= 2)
      tween = CCMoveTo::create(d, CCPoint(v.floats[0], v.floats[1]));
    else if (name == "scale" && v.floats.size() >= 2)
      tween = CCScaleTo::create(d, v.floats[0], v.floats[1]);
    else if (name == "rotation" && v.floats.size() >= 1)
      tween = CCRotateTo::create(d, v.floats[0]);
    else if (name == "opacity" && v.ints.size() >= 1)
      tween = CCFadeTo::create(d, static_cast<GLubyte>(v.ints[0]));
    else if (name == "color" && v.ints.size() >= 3)
      tween = CCTintTo::create(d, static_cast<GLubyte>(v.ints[0]),
                               static_cast<GLubyte>(v.ints[1]), static_cast<GLubyte>(v.ints[2]));
  }
  if (tween) return eased(tween, from.easing, from.easingOpt);
  // Values that cannot be tweened (and instant easing) change when the next keyframe is due.
  return CCSequence::createWithTwoActions(CCDelayTime::create(d),
                                          CCBSetProperty::create(name, v));
}

void CCBAnimationManager::runTrack(CCNode* pNode, const std::string& name, const Track& track,
                                   float fTweenDuration) {
  if (track.keyframes.empty()) return;
  CCArray* steps = CCArray::create();
  const CCBKeyframe& first = track.keyframes.front();
  if (first.time > 0 || fTweenDuration > 0) {
    steps->addObject(CCDelayTime::create(first.time));
  }
  // The first keyframe's value holds from the start.
  applyValue(name, pNode, first.value);
  for (size_t i = 1; i < track.keyframes.size(); ++i)
    steps->addObject(actionFor(track.keyframes[i - 1], track.keyframes[i], name, track.type,
                               pNode));
  if (steps->count() == 0) return;
  if (steps->count() == 1) {
    pNode->runAction(static_cast<CCFiniteTimeAction*>(steps->objectAtIndex(0)));
  } else {
    pNode->runAction(CCSequence::createWithArray(steps));
  }
}

void CCBAnimationManager::runAnimationsForSequenceIdTweenDuration(int nSeqId,
                                                                  float fTweenDuration) {
  const CCBSequenceDesc* seq = sequence(nSeqId);
  if (!seq) {
    CCLOGERROR("no animation sequence with id %d", nSeqId);
    return;
  }
  if (m_pRootNode) m_pRootNode->stopActionByTag(kCompletionTag);
  for (auto& kv : m_nodes) {
    CCNode* node = kv.first;
    node->stopAllActions();
    NodeData& data = kv.second;
    auto tracks = data.sequences.find(nSeqId);
    // Properties this sequence leaves alone go back to their base values.
    for (const auto& base : data.baseValues) {
      if (tracks != data.sequences.end() && tracks->second.count(base.first)) continue;
      applyValue(base.first, node, base.second.second);
    }
    if (tracks == data.sequences.end()) continue;
    for (const auto& t : tracks->second) runTrack(node, t.first, t.second, fTweenDuration);
  }
  m_runningSequenceId = nSeqId;
  m_runningSequenceName = seq->name;
  if (m_pRootNode) {
    CCAction* done = CCSequence::createWithTwoActions(
        CCDelayTime::create(seq->duration + fTweenDuration),
        CCCallFunc::create(this, callfunc_selector(CCBAnimationManager::sequenceCompleted)));
    done->setTag(kCompletionTag);
    m_pRootNode->runAction(done);
  }
}

void CCBAnimationManager::sequenceCompleted() {
  const CCBSequenceDesc* seq = sequence(m_runningSequenceId);
  std::string name = m_runningSequenceName;
  m_runningSequenceId = -1;
  m_runningSequenceName.clear();
  if (m_pDelegate) m_pDelegate->completedAnimationSequenceNamed(name.c_str());
  if (seq && seq->chainedSequenceId != -1)
    runAnimationsForSequenceIdTweenDuration(seq->chainedSequenceId, 0);
}

}  // namespace extension
}  // namespace cocos2d
