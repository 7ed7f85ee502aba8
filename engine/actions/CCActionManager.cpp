#include "CCActionManager.h"

#include <algorithm>

#include "CCNode.h"
#include "CCScheduler.h"

NS_CC_BEGIN

static CCActionManager* s_sharedManager = 0;

CCActionManager* CCActionManager::sharedManager() {
  if (!s_sharedManager) {
    s_sharedManager = new CCActionManager();
    CCScheduler::sharedScheduler()->scheduleUpdateForTarget(s_sharedManager, kCCPrioritySystem, false);
  }
  return s_sharedManager;
}

void CCActionManager::purgeSharedManager() {
  CCActionManager* m = s_sharedManager;
  s_sharedManager = 0;
  if (m) {
    CCScheduler::sharedScheduler()->unscheduleUpdateForTarget(m);
    m->removeAllActions();
    m->release();
  }
}

CCActionManager::CCActionManager() : m_bUpdating(false) {}

CCActionManager::~CCActionManager() {
  removeAllActions();
  for (Element* e : m_deadElements) {
    e->target->release();
    delete e;
  }
}

CCActionManager::Element* CCActionManager::element(CCObject* pTarget) {
  auto it = m_byTarget.find(pTarget);
  return it == m_byTarget.end() ? 0 : it->second;
}

void CCActionManager::addAction(CCAction* pAction, CCNode* pTarget, bool paused) {
  if (!pAction || !pTarget) {
    CCLOGERROR("CCActionManager: an action needs an action and a target");
    return;
  }
  Element* e = element(pTarget);
  if (!e) {
    e = new Element();
    e->target = pTarget;
    e->paused = paused;
    pTarget->retain();
    m_elements.push_back(e);
    m_byTarget[pTarget] = e;
  }
  if (std::find(e->actions.begin(), e->actions.end(), pAction) != e->actions.end()) {
    CCLOGERROR("CCActionManager: action already running");
    return;
  }
  pAction->retain();
  e->actions.push_back(pAction);
  pAction->startWithTarget(pTarget);
}

void CCActionManager::dropIfEmpty(Element* e) {
  if (!e->actions.empty()) return;
  m_byTarget.erase(e->target);
  m_elements.erase(std::find(m_elements.begin(), m_elements.end(), e));
  if (m_bUpdating) {
    m_deadElements.push_back(e);
  } else {
    e->target->release();
    delete e;
  }
}

void CCActionManager::removeActionAt(Element* e, size_t index) {
  CCAction* a = e->actions[index];
  e->actions.erase(e->actions.begin() + index);
  a->release();
  dropIfEmpty(e);
}

void CCActionManager::removeAllActions() {
  std::vector<Element*> all = m_elements;
  for (Element* e : all) removeAllActionsFromTarget(e->target);
}

void CCActionManager::removeAllActionsFromTarget(CCObject* pTarget) {
  Element* e = element(pTarget);
  if (!e) return;
  std::vector<CCAction*> actions;
  actions.swap(e->actions);
  dropIfEmpty(e);
  for (CCAction* a : actions) a->release();
}

void CCActionManager::removeAction(CCAction* pAction) {
  if (!pAction) return;
  Element* e = element(pAction->getOriginalTarget());
  if (!e) return;
  auto it = std::find(e->actions.begin(), e->actions.end(), pAction);
  if (it != e->actions.end()) removeActionAt(e, it - e->actions.begin());
}

void CCActionManager::removeActionByTag(unsigned int tag, CCObject* pTarget) {
  Element* e = element(pTarget);
  if (!e) return;
  for (size_t i = 0; i < e->actions.size(); ++i) {
    if (e->actions[i]->getTag() == (int)tag) {
      removeActionAt(e, i);
      return;
    }
  }
}

CCAction* CCActionManager::getActionByTag(unsigned int tag, CCObject* pTarget) {
  Element* e = element(pTarget);
  if (!e) return 0;
  for (CCAction* a : e->actions) {
    if (a->getTag() == (int)tag) return a;
  }
  return 0;
}

unsigned int CCActionManager::numberOfRunningActionsInTarget(CCObject* pTarget) {
  Element* e = element(pTarget);
  return e ? (unsigned int)e->actions.size() : 0;
}

void CCActionManager::pauseTarget(CCObject* pTarget) {
  if (Element* e = element(pTarget)) e->paused = true;
}

void CCActionManager::resumeTarget(CCObject* pTarget) {
  if (Element* e = element(pTarget)) e->paused = false;
}

void CCActionManager::update(float dt) {
  bool outer = !m_bUpdating;
  m_bUpdating = true;
  std::vector<Element*> elements = m_elements;
  for (Element* e : elements) {
    if (e->paused || e->actions.empty()) continue;
    // A snapshot of the target's actions, on the stack when they are few (most targets
    // run one or two), as steps may add or remove actions.
    CCAction* few[8];
    std::vector<CCAction*> many;
    CCAction** snapshot = few;
    const size_t count = e->actions.size();
    if (count > 8) {
      many = e->actions;
      snapshot = many.data();
    } else {
      std::copy(e->actions.begin(), e->actions.end(), few);
    }
    CCAction** const end = snapshot + count;
    for (CCAction** p = snapshot; p != end; ++p) (*p)->retain();
    for (CCAction** p = snapshot; p != end; ++p) {
      CCAction* a = *p;
      // Skip actions removed by an earlier action's step in this frame.
      if (std::find(e->actions.begin(), e->actions.end(), a) == e->actions.end()) continue;
      if (e->paused) break;
      a->step(dt);
      auto it = std::find(e->actions.begin(), e->actions.end(), a);
      if (it != e->actions.end() && a->isDone()) {
        a->stop();
        it = std::find(e->actions.begin(), e->actions.end(), a);
        if (it != e->actions.end()) removeActionAt(e, it - e->actions.begin());
      }
    }
    for (CCAction** p = snapshot; p != end; ++p) (*p)->release();
  }
  if (outer) {
    m_bUpdating = false;
    for (Element* e : m_deadElements) {
      e->target->release();
      delete e;
    }
    m_deadElements.clear();
  }
}

NS_CC_END
