#pragma once

#include <unordered_map>
#include <vector>

#include "CCAction.h"

NS_CC_BEGIN

// Runs the actions of every target once a frame (it is itself scheduled for per-frame updates
// at system priority). Targets and actions are retained while they have running actions.
class CCActionManager : public CCObject {
 public:
  CCActionManager();
  ~CCActionManager();

  // The process-wide manager that nodes use unless given another one; made on first use and
  // scheduled on CCScheduler::sharedScheduler().
  static CCActionManager* sharedManager();
  static void purgeSharedManager();

  void addAction(CCAction* pAction, CCNode* pTarget, bool paused);
  void removeAllActions();
  void removeAllActionsFromTarget(CCObject* pTarget);
  void removeAction(CCAction* pAction);
  void removeActionByTag(unsigned int tag, CCObject* pTarget);
  CCAction* getActionByTag(unsigned int tag, CCObject* pTarget);
  unsigned int numberOfRunningActionsInTarget(CCObject* pTarget);

  void pauseTarget(CCObject* pTarget);
  void resumeTarget(CCObject* pTarget);

  virtual void update(float dt);

 private:
  struct Element {
    CCObject* target;
    std::vector<CCAction*> actions;
    bool paused;
  };
  Element* element(CCObject* pTarget);
  void removeActionAt(Element* e, size_t index);
  void dropIfEmpty(Element* e);

  bool m_bUpdating;
  std::vector<Element*> m_elements;  // in order of first action
  std::unordered_map<const CCObject*, Element*> m_byTarget;
  std::vector<Element*> m_deadElements;
};

NS_CC_END
