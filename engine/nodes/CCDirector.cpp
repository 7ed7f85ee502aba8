#include "CCDirector.h"

#include <sys/time.h>

#include "CCAccelerometer.h"
#include "CCActionManager.h"
#include "CCAnimationCache.h"
#include "CCApplication.h"
#include "CCArray.h"
#include "CCAutoreleasePool.h"
#include "CCCommon.h"
#include "CCDirectorStats.h"
#include "CCEGLView.h"
#include "CCFileUtils.h"
#include "CCGLMatrix.h"
#include "CCKeypadDispatcher.h"
#include "CCLabelBMFont.h"
#include "CCTouch.h"
#include "CCKeyboardDispatcher.h"
#include "CCMouseDispatcher.h"
#include "CCRelayoutable.h"
#include "CCScene.h"
#include "CCScheduler.h"
#include "CCShaderCache.h"
#include "CCSpriteFrameCache.h"
#include "CCTextureCache.h"
#include "CCTouchDispatcher.h"
#include "CCTransition.h"
#include "ccGLStateCache.h"

NS_CC_BEGIN

namespace {

CCDirector* s_sharedDirector = nullptr;

unsigned long long nowMicros() {
  struct timeval tv;
  gettimeofday(&tv, nullptr);
  return static_cast<unsigned long long>(tv.tv_sec) * 1000000ull + static_cast<unsigned long long>(tv.tv_usec);
}

// The cursor is drawn above a scene's content and its cover layer.
const int kCursorZOrder = 1000;

CCPoint viewToGL(const CCPoint& point) { return CCDirector::sharedDirector()->convertToGL(point); }

// Nodes draw through the engine's matrix stack.
void applyNodeTransform(const CCAffineTransform& t, float vertexZ) {
  kmMat4 m;
  kmMat4Identity(&m);
  m.mat[0] = t.a;
  m.mat[1] = t.b;
  m.mat[4] = t.c;
  m.mat[5] = t.d;
  m.mat[12] = t.tx;
  m.mat[13] = t.ty;
  m.mat[14] = vertexZ;
  kmGLMultMatrix(&m);
}

}  // namespace

CCDirector* CCDirector::sharedDirector() {
  if (!s_sharedDirector) {
    s_sharedDirector = new CCDirector();
    s_sharedDirector->init();
  }
  return s_sharedDirector;
}

CCDirector::CCDirector() {}

CCDirector::~CCDirector() {
  CC_SAFE_RELEASE(m_pRunningScene);
  CC_SAFE_RELEASE(m_pNotificationNode);
  CC_SAFE_RELEASE(m_pCursorNode);
  CC_SAFE_RELEASE(m_pobScenesStack);
  CC_SAFE_RELEASE(m_pScheduler);
  CC_SAFE_RELEASE(m_pActionManager);
  delete m_pStats;
  delete m_pAccelerometer;
  if (s_sharedDirector == this) s_sharedDirector = nullptr;
}

bool CCDirector::init() {
  m_pobScenesStack = new CCArray();
  m_pobScenesStack->init();
  m_pScheduler = CCScheduler::sharedScheduler();
  m_pScheduler->retain();
  m_pActionManager = CCActionManager::sharedManager();
  m_pActionManager->retain();
  // The dispatchers are the engine's shared ones (layers register with those), which
  // hold their own reference.
  getMouseDispatcher()->setDispatchEvents(true);
  getMouseDispatcher()->setCursorDelegate(this);
  m_pAccelerometer = new CCAccelerometer();
  m_pCursorNode = nullptr;
  ccSetViewToGLConverter(viewToGL);
  CCNodeVisitHooks hooks = {kmGLPushMatrix, kmGLPopMatrix, applyNodeTransform};
  CCNode::setVisitHooks(hooks);
  m_lastUpdateMicros = nowMicros();
  return true;
}

void CCDirector::setOpenGLView(CCEGLView* view) {
  if (!view || view == m_pobOpenGLView) return;
  m_pobOpenGLView = view;
  reshapeProjection();
  setGLDefaultValues();
  view->setTouchDelegate(getTouchDispatcher());
  view->setMouseDelegate(getMouseDispatcher());
  view->setKeyboardDelegate(getKeyboardDispatcher());
  getTouchDispatcher()->setDispatchEvents(true);
  getMouseDispatcher()->setDispatchEvents(true);
}

void CCDirector::setAnimationInterval(double interval) {
  m_dAnimationInterval = interval;
  if (!m_bInvalid) {
    stopAnimation();
    startAnimation();
  }
}

void CCDirector::startAnimation() {
  m_lastUpdateMicros = nowMicros();
  m_bNextDeltaTimeZero = true;
  CCApplication* app = CCApplication::sharedApplication();
  if (app) app->setAnimationInterval(m_dAnimationInterval);
  m_bInvalid = false;
}

void CCDirector::stopAnimation() { m_bInvalid = true; }

void CCDirector::reshapeProjection() {
  if (m_pobOpenGLView) m_obWinSizeInPoints = m_pobOpenGLView->getDesignResolutionSize();
  CCScene::setDefaultSize(m_obWinSizeInPoints);
  setProjection(m_eProjection);
}

void CCDirector::setViewport() {
  if (m_pobOpenGLView)
    m_pobOpenGLView->setViewPortInPoints(0, 0, m_obWinSizeInPoints.width, m_obWinSizeInPoints.height);
}

float CCDirector::getZEye() const { return m_obWinSizeInPoints.height / 1.1566f; }

void CCDirector::setProjection(ccDirectorProjection projection) {
  CCSize size = m_obWinSizeInPoints;
  setViewport();
  kmMat4 ortho;
  switch (projection) {
    case kCCDirectorProjection3D:
      // Only the flat projection is used by a 2D game; the 3D one falls back to it.
    case kCCDirectorProjection2D:
      kmGLMatrixMode(KM_GL_PROJECTION);
      kmGLLoadIdentity();
      kmMat4OrthographicProjection(&ortho, 0, size.width, 0, size.height, -1024, 1024);
      kmGLMultMatrix(&ortho);
      kmGLMatrixMode(KM_GL_MODELVIEW);
      kmGLLoadIdentity();
      break;
    case kCCDirectorProjectionCustom:
      break;
  }
  m_eProjection = projection;
  ccSetProjectionMatrixDirty();
}

void CCDirector::setGLDefaultValues() {
  setAlphaBlending(true);
  setDepthTest(false);
  setProjection(m_eProjection);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
}

void CCDirector::setAlphaBlending(bool on) {
  if (on) ccGLBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
  else ccGLBlendFunc(GL_ONE, GL_ZERO);
}

void CCDirector::setDepthTest(bool on) {
  if (on) {
    glClearDepth(1.0f);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
  } else {
    glDisable(GL_DEPTH_TEST);
  }
}

void CCDirector::setNotificationNode(CCNode* node) {
  ccSetRetained(m_pNotificationNode, node);
}

CCSize CCDirector::getVisibleSize() const {
  return m_pobOpenGLView ? m_pobOpenGLView->getVisibleSize() : m_obWinSizeInPoints;
}

CCPoint CCDirector::getVisibleOrigin() const {
  return m_pobOpenGLView ? m_pobOpenGLView->getVisibleOrigin() : CCPointZero;
}

CCPoint CCDirector::convertToGL(const CCPoint& point) const {
  return CCPoint(point.x, m_obWinSizeInPoints.height - point.y);
}

CCPoint CCDirector::convertToUI(const CCPoint& point) const {
  return CCPoint(point.x, m_obWinSizeInPoints.height - point.y);
}

void CCDirector::runWithScene(CCScene* scene) {
  if (!scene) {
    CCLogError("CCDirector: runWithScene: the scene must not be null");
    return;
  }
  if (m_pRunningScene) {
    CCLogError("CCDirector: runWithScene: a scene is running already; use replaceScene");
    return;
  }
  pushScene(scene);
  startAnimation();
}

void CCDirector::replaceScene(CCScene* scene) {
  if (!scene) return;
  unsigned int count = m_pobScenesStack->count();
  if (count == 0) {
    pushScene(scene);
    return;
  }
  m_bSendCleanupToScene = true;
  m_pobScenesStack->replaceObjectAtIndex(count - 1, scene);
  m_pNextScene = scene;
}

void CCDirector::pushScene(CCScene* scene) {
  if (!scene) return;
  m_bSendCleanupToScene = false;
  m_pobScenesStack->addObject(scene);
  m_pNextScene = scene;
}

void CCDirector::popScene() {
  if (!m_pRunningScene) return;
  m_pobScenesStack->removeLastObject();
  unsigned int count = m_pobScenesStack->count();
  if (count == 0) {
    end();
  } else {
    m_bSendCleanupToScene = true;
    m_pNextScene = static_cast<CCScene*>(m_pobScenesStack->objectAtIndex(count - 1));
  }
}

void CCDirector::popToRootScene() {
  unsigned int count = m_pobScenesStack->count();
  if (count == 0) return;
  if (count == 1) {
    popScene();
    return;
  }
  while (count > 1) {
    CCScene* top = static_cast<CCScene*>(m_pobScenesStack->lastObject());
    if (top->isRunning()) top->onExit();
    top->cleanup();
    m_pobScenesStack->removeLastObject();
    --count;
  }
  m_pNextScene = static_cast<CCScene*>(m_pobScenesStack->lastObject());
  m_bSendCleanupToScene = false;
}

unsigned int CCDirector::getSceneCount() const { return m_pobScenesStack->count(); }

CCScene* CCDirector::getSceneAt(unsigned int index) const {
  if (index >= m_pobScenesStack->count()) return nullptr;
  return static_cast<CCScene*>(m_pobScenesStack->objectAtIndex(index));
}

void CCDirector::setNextScene() {
  // Changing to the scene that runs already does nothing; it stays pending.
  if (m_pNextScene == m_pRunningScene) return;
  bool runningIsTransition = dynamic_cast<CCTransitionScene*>(m_pRunningScene) != nullptr;
  bool newIsTransition = dynamic_cast<CCTransitionScene*>(m_pNextScene) != nullptr;
  if (!newIsTransition && m_pRunningScene) {
    m_pRunningScene->onExit();
    if (m_bSendCleanupToScene) m_pRunningScene->cleanup();
  }
  if (m_pRunningScene) m_pRunningScene->release();
  m_pRunningScene = m_pNextScene;
  m_pNextScene->retain();
  m_pNextScene = nullptr;
  if (!runningIsTransition && m_pRunningScene) {
    m_pRunningScene->onEnter();
    m_pRunningScene->onEnterTransitionDidFinish();
  }
  if (m_pCursorNode && m_pRunningScene) {
    m_pCursorNode->retain();
    m_pCursorNode->removeFromParentAndCleanup(false);
    m_pRunningScene->addChild(m_pCursorNode, kCursorZOrder);
    m_pCursorNode->release();
  }
}

void CCDirector::end() { m_bPurgeDirectorInNextLoop = true; }

void CCDirector::pause() {
  if (m_bPaused) return;
  m_dOldAnimationInterval = m_dAnimationInterval;
  setAnimationInterval(1 / 4.0);
  m_bPaused = true;
}

void CCDirector::resume() {
  if (!m_bPaused) return;
  setAnimationInterval(m_dOldAnimationInterval);
  m_lastUpdateMicros = nowMicros();
  m_bPaused = false;
  m_fDeltaTime = 0;
}

void CCDirector::calculateDeltaTime() {
  unsigned long long now = nowMicros();
  if (m_bNextDeltaTimeZero) {
    m_fDeltaTime = 0;
    m_bNextDeltaTimeZero = false;
  } else {
    m_fDeltaTime = static_cast<float>(now - m_lastUpdateMicros) / 1000000.0f;
    if (m_fDeltaTime < 0) m_fDeltaTime = 0;
  }
  m_lastUpdateMicros = now;
}

void CCDirector::mainLoop() {
  if (m_bPurgeDirectorInNextLoop) {
    m_bPurgeDirectorInNextLoop = false;
    purgeDirector();
  } else if (!m_bInvalid) {
    drawScene();
    CCPoolManager::sharedPoolManager()->pop();
  }
}

void CCDirector::drawScene() {
  calculateDeltaTime();
  if (!m_bPaused) m_pScheduler->update(m_fDeltaTime);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  if (m_pNextScene) setNextScene();
  g_uNumberOfDraws = 0;
  kmGLPushMatrix();
  if (m_pRunningScene) m_pRunningScene->visit();
  if (m_pNotificationNode) m_pNotificationNode->visit();
  m_uDrawCalls = g_uNumberOfDraws;
  if (m_bDisplayStats) showStats();
  kmGLPopMatrix();
  ++m_uTotalFrames;
  if (m_pobOpenGLView) m_pobOpenGLView->swapBuffers();
  calculateMPF();
}

void CCDirector::calculateMPF() {
  ++m_uFrames;
  m_fAccumDt += m_fDeltaTime;
  if (m_fAccumDt > 0.5f) {
    m_fFrameRate = m_uFrames / m_fAccumDt;
    m_fSecondsPerFrame = m_fAccumDt / m_uFrames;
    m_uFrames = 0;
    m_fAccumDt = 0;
  }
}

void CCDirector::showStats() {
  if (!m_pStats) m_pStats = new CCDirectorStats();
  m_pStats->draw(m_fFrameRate, m_fSecondsPerFrame, m_uDrawCalls);
}

void CCDirector::purgeCachedData() {
  CCSpriteFrameCache::sharedSpriteFrameCache()->removeUnusedSpriteFrames();
  CCTextureCache::sharedTextureCache()->removeUnusedTextures();
}

void CCDirector::purgeDirector() {
  getTouchDispatcher()->removeAllDelegates();
  if (m_pRunningScene) {
    m_pRunningScene->onExit();
    m_pRunningScene->cleanup();
    m_pRunningScene->release();
  }
  m_pRunningScene = nullptr;
  m_pNextScene = nullptr;
  m_pobScenesStack->removeAllObjects();
  if (m_pCursorNode) {
    m_pCursorNode->removeFromParentAndCleanup(true);
    CC_SAFE_RELEASE_NULL(m_pCursorNode);
  }
  stopAnimation();
  CCPoolManager::sharedPoolManager()->pop();
  delete m_pStats;
  m_pStats = nullptr;
  // The caches go with the director, so that nothing of them outlives the program's
  // end: fonts and animations first (they hold frames), then the GL objects, while
  // the context still exists.
  CCLabelBMFont::purgeCachedData();
  CCAnimationCache::purgeSharedAnimationCache();
  CCSpriteFrameCache::purgeSharedSpriteFrameCache();
  CCTextureCache::purgeSharedTextureCache();
  CCShaderCache::purgeSharedShaderCache();
  ccGLInvalidateStateCache();
  kmGLFreeAll();
  if (m_pobOpenGLView) {
    m_pobOpenGLView->setTouchDelegate(nullptr);
    m_pobOpenGLView->setMouseDelegate(nullptr);
    m_pobOpenGLView->setKeyboardDelegate(nullptr);
    m_pobOpenGLView->end();
    m_pobOpenGLView = nullptr;
  }
  m_bPaused = false;
}

void CCDirector::setScheduler(CCScheduler* scheduler) {
  if (scheduler == m_pScheduler) return;
  ccSetRetained(m_pScheduler, scheduler);
}

void CCDirector::setActionManager(CCActionManager* manager) {
  if (manager == m_pActionManager) return;
  ccSetRetained(m_pActionManager, manager);
}

CCTouchDispatcher* CCDirector::getTouchDispatcher() const {
  return CCTouchDispatcher::sharedDispatcher();
}

CCMouseDispatcher* CCDirector::getMouseDispatcher() const {
  return CCMouseDispatcher::sharedDispatcher();
}

CCKeyboardDispatcher* CCDirector::getKeyboardDispatcher() const {
  return CCKeyboardDispatcher::sharedDispatcher();
}

// Setting a dispatcher makes it the shared one: the shared slot retains the new one and
// releases the one it replaces; the view is wired to it at once.
void CCDirector::setTouchDispatcher(CCTouchDispatcher* dispatcher) {
  if (!dispatcher || dispatcher == getTouchDispatcher()) return;
  CCTouchDispatcher::setSharedDispatcher(dispatcher);
  if (m_pobOpenGLView) m_pobOpenGLView->setTouchDelegate(dispatcher);
}

void CCDirector::setMouseDispatcher(CCMouseDispatcher* dispatcher) {
  if (!dispatcher || dispatcher == getMouseDispatcher()) return;
  CCMouseDispatcher::setSharedDispatcher(dispatcher);
  dispatcher->setCursorDelegate(this);
  if (m_pobOpenGLView) m_pobOpenGLView->setMouseDelegate(dispatcher);
}

CCKeypadDispatcher* CCDirector::getKeypadDispatcher() const {
  return CCKeypadDispatcher::sharedDispatcher();
}

void CCDirector::setKeypadDispatcher(CCKeypadDispatcher* dispatcher) {
  if (!dispatcher) return;
  CCKeypadDispatcher::setSharedDispatcher(dispatcher);
}

void CCDirector::setAccelerometer(CCAccelerometer* accelerometer) {
  if (accelerometer == m_pAccelerometer) return;
  delete m_pAccelerometer;
  m_pAccelerometer = accelerometer;
}

void CCDirector::setKeyboardDispatcher(CCKeyboardDispatcher* dispatcher) {
  if (!dispatcher) return;
  CCKeyboardDispatcher::setSharedDispatcher(dispatcher);
  if (m_pobOpenGLView) m_pobOpenGLView->setKeyboardDelegate(dispatcher);
}

void CCDirector::setCursorNode(CCNode* node) {
  if (node == m_pCursorNode) return;
  if (m_pCursorNode) {
    m_pCursorNode->removeFromParentAndCleanup(true);
    m_pCursorNode->release();
  }
  m_pCursorNode = node;
  if (node) {
    node->retain();
    node->setPosition(m_obCursorPosition);
    CCApplication* app = CCApplication::sharedApplication();
    node->setVisible(app ? app->isCursorInside() : false);
    if (m_pRunningScene) m_pRunningScene->addChild(node, kCursorZOrder);
  }
}

void CCDirector::showCursor() {
  CCApplication* app = CCApplication::sharedApplication();
  if (app) app->setCursorInside(true);
  if (m_pCursorNode) m_pCursorNode->setVisible(true);
}

void CCDirector::hideCursor() {
  CCApplication* app = CCApplication::sharedApplication();
  if (app) app->setCursorInside(false);
  if (m_pCursorNode) m_pCursorNode->setVisible(false);
}

void CCDirector::setCursorPosition(CCMouseEvent* event) {
  if (event) setCursorPosition(event->getLocationInView());
}

void CCDirector::setCursorPosition(const CCPoint& location) {
  m_obCursorPosition = convertToGL(location);
  if (m_pCursorNode) m_pCursorNode->setPosition(m_obCursorPosition);
}

void CCDirector::relayoutScenes() {
  // A scene may change the stack while it lays itself out: walk a copy.
  CCArray* copy = CCArray::createWithArray(m_pobScenesStack);
  for (unsigned int i = 0; i < copy->count(); ++i) {
    CCRelayoutable* scene = dynamic_cast<CCRelayoutable*>(copy->objectAtIndex(i));
    if (scene) scene->relayout();
  }
}

NS_CC_END
