#include "CCTransition.h"

#include "CCActionInstant.h"
#include "CCActionInterval.h"
#include "CCCommon.h"
#include "CCDirector.h"
#include "CCLayerColor.h"
#include "CCTouchDispatcher.h"

NS_CC_BEGIN

namespace {
const int kSceneFade = 0xFADEFADE;
}

CCTransitionScene::CCTransitionScene() {}

CCTransitionScene::~CCTransitionScene() {
  CC_SAFE_RELEASE(m_pInScene);
  CC_SAFE_RELEASE(m_pOutScene);
}

CCTransitionScene* CCTransitionScene::create(float duration, CCScene* scene) {
  CCTransitionScene* t = new CCTransitionScene();
  return ccAutoreleaseIfInit(t, t->initWithDuration(duration, scene));
}

bool CCTransitionScene::initWithDuration(float duration, CCScene* scene) {
  if (!scene || !CCScene::init()) return false;
  m_fDuration = duration;
  m_pInScene = scene;
  m_pInScene->retain();
  m_pOutScene = CCDirector::sharedDirector()->getRunningScene();
  if (!m_pOutScene) {
    m_pOutScene = CCScene::create();
  }
  m_pOutScene->retain();
  if (m_pInScene == m_pOutScene) {
    CCLogError("CCTransitionScene: the incoming scene must differ from the outgoing one");
    return false;
  }
  // No touches while scenes change.
  CCDirector::sharedDirector()->getTouchDispatcher()->setDispatchEvents(false);
  sceneOrder();
  return true;
}

void CCTransitionScene::sceneOrder() { m_bIsInSceneOnTop = true; }

void CCTransitionScene::draw() {
  CCScene::draw();
  if (m_bIsInSceneOnTop) {
    m_pOutScene->visit();
    m_pInScene->visit();
  } else {
    m_pInScene->visit();
    m_pOutScene->visit();
  }
}

void CCTransitionScene::finish() {
  m_pInScene->setVisible(true);
  m_pInScene->setPosition(CCPointZero);
  m_pInScene->setScale(1.0f);
  m_pInScene->setRotation(0.0f);
  m_pOutScene->setVisible(false);
  m_pOutScene->setPosition(CCPointZero);
  m_pOutScene->setScale(1.0f);
  m_pOutScene->setRotation(0.0f);
  schedule(schedule_selector(CCTransitionScene::setNewScene), 0);
}

void CCTransitionScene::setNewScene(float dt) {
  (void)dt;
  unschedule(schedule_selector(CCTransitionScene::setNewScene));
  CCDirector* director = CCDirector::sharedDirector();
  m_bIsSendCleanupToScene = director->isSendCleanupToScene();
  director->replaceScene(m_pInScene);
  director->getTouchDispatcher()->setDispatchEvents(true);
  m_pOutScene->setVisible(true);
}

void CCTransitionScene::hideOutShowIn() {
  m_pInScene->setVisible(true);
  m_pOutScene->setVisible(false);
}

void CCTransitionScene::onEnter() {
  CCScene::onEnter();
  m_pInScene->onEnter();
}

void CCTransitionScene::onExit() {
  CCScene::onExit();
  m_pOutScene->onExit();
  // The new scene is entered already; it only hears that the transition is over.
  m_pInScene->onEnterTransitionDidFinish();
}

void CCTransitionScene::cleanup() {
  CCScene::cleanup();
  if (m_bIsSendCleanupToScene) m_pOutScene->cleanup();
}

CCTransitionFade* CCTransitionFade::create(float duration, CCScene* scene, const ccColor3B& color) {
  CCTransitionFade* t = new CCTransitionFade();
  return ccAutoreleaseIfInit(t, t->initWithDuration(duration, scene, color));
}

CCTransitionFade* CCTransitionFade::create(float duration, CCScene* scene) {
  return create(duration, scene, ccBLACK);
}

bool CCTransitionFade::initWithDuration(float duration, CCScene* scene, const ccColor3B& color) {
  if (!CCTransitionScene::initWithDuration(duration, scene)) return false;
  m_tColor = ccc4(color.r, color.g, color.b, 0);
  return true;
}

bool CCTransitionFade::initWithDuration(float duration, CCScene* scene) {
  return initWithDuration(duration, scene, ccBLACK);
}

void CCTransitionFade::onEnter() {
  CCTransitionScene::onEnter();
  CCLayerColor* layer = CCLayerColor::create(m_tColor);
  m_pInScene->setVisible(false);
  addChild(layer, 2, kSceneFade);
  CCNode* fade = getChildByTag(kSceneFade);
  CCActionInterval* action = static_cast<CCActionInterval*>(CCSequence::create(
      CCFadeIn::create(m_fDuration / 2),
      CCCallFunc::create(this, callfunc_selector(CCTransitionScene::hideOutShowIn)),
      CCFadeOut::create(m_fDuration / 2),
      CCCallFunc::create(this, callfunc_selector(CCTransitionScene::finish)), nullptr));
  fade->runAction(action);
}

void CCTransitionFade::onExit() {
  CCTransitionScene::onExit();
  removeChildByTag(kSceneFade, false);
}

NS_CC_END
