#pragma once

#include "CCGeometry.h"
#include "CCMouseDelegate.h"
#include "CCObject.h"
#include "ccTypes.h"

NS_CC_BEGIN

class CCArray;
class CCNode;
class CCScene;
class CCEGLView;
class CCScheduler;
class CCActionManager;
class CCTouchDispatcher;
class CCMouseDispatcher;
class CCKeyboardDispatcher;
class CCKeypadDispatcher;
class CCAccelerometer;
class CCDirectorStats;

typedef enum {
  kCCDirectorProjection2D,
  kCCDirectorProjection3D,
  kCCDirectorProjectionCustom,
  kCCDirectorProjectionDefault = kCCDirectorProjection2D,
} ccDirectorProjection;

// Runs the scenes: the scene stack, the frame (scheduler tick, scene change,
// drawing, buffer swap, autorelease pool), pause and resume, and the input
// dispatchers that the view feeds.
class CCDirector : public CCObject, public CCCursorDelegate {
 public:
  static CCDirector* sharedDirector();

  CCDirector();
  virtual ~CCDirector();
  virtual bool init();

  CCScene* getRunningScene() const { return m_pRunningScene; }
  double getAnimationInterval() const { return m_dAnimationInterval; }
  virtual void setAnimationInterval(double interval);
  bool isDisplayStats() const { return m_bDisplayStats; }
  void setDisplayStats(bool display) { m_bDisplayStats = display; }
  float getSecondsPerFrame() const { return m_fSecondsPerFrame; }
  float getFrameRate() const { return m_fFrameRate; }
  // Draw calls of the last frame drawn (the statistics overlay not counted).
  unsigned int getDrawCalls() const { return m_uDrawCalls; }

  CCEGLView* getOpenGLView() const { return m_pobOpenGLView; }
  void setOpenGLView(CCEGLView* view);

  bool isNextDeltaTimeZero() const { return m_bNextDeltaTimeZero; }
  void setNextDeltaTimeZero(bool zero) { m_bNextDeltaTimeZero = zero; }
  bool isPaused() const { return m_bPaused; }
  unsigned int getTotalFrames() const { return m_uTotalFrames; }
  float getDeltaTime() const { return m_fDeltaTime; }

  ccDirectorProjection getProjection() const { return m_eProjection; }
  void setProjection(ccDirectorProjection projection);
  // Sizes the scene space from the view's design resolution and sets the projection again.
  void reshapeProjection();
  void setViewport();
  float getZEye() const;

  bool isSendCleanupToScene() const { return m_bSendCleanupToScene; }
  CCNode* getNotificationNode() const { return m_pNotificationNode; }
  void setNotificationNode(CCNode* node);

  CCSize getWinSize() const { return m_obWinSizeInPoints; }
  CCSize getWinSizeInPixels() const { return m_obWinSizeInPoints; }
  CCSize getVisibleSize() const;
  CCPoint getVisibleOrigin() const;
  // View coordinates (origin top left) to scene coordinates (origin bottom left) and back.
  CCPoint convertToGL(const CCPoint& point) const;
  CCPoint convertToUI(const CCPoint& point) const;

  void runWithScene(CCScene* scene);
  void pushScene(CCScene* scene);
  void popScene();
  void popToRootScene();
  void replaceScene(CCScene* scene);
  unsigned int getSceneCount() const;
  CCScene* getSceneAt(unsigned int index) const;

  // Ends the director; the next frame purges it and ends the view.
  void end();
  // Stops scheduling and drops the frame rate to 4 per second; resume undoes it.
  void pause();
  void resume();
  virtual void stopAnimation();
  virtual void startAnimation();
  bool isAnimationRunning() const { return !m_bInvalid; }

  // One frame: purge when ended, else draw the scene and drain the autorelease pool.
  virtual void mainLoop();
  void drawScene();

  void purgeCachedData();
  void setGLDefaultValues();
  void setAlphaBlending(bool on);
  void setDepthTest(bool on);
  void setContentScaleFactor(float scale) { (void)scale; }
  float getContentScaleFactor() const { return 1.0f; }

  CCScheduler* getScheduler() const { return m_pScheduler; }
  void setScheduler(CCScheduler* scheduler);
  CCActionManager* getActionManager() const { return m_pActionManager; }
  void setActionManager(CCActionManager* manager);
  // The input dispatchers are the engine's shared ones; setting one makes it the shared one.
  CCTouchDispatcher* getTouchDispatcher() const;
  void setTouchDispatcher(CCTouchDispatcher* dispatcher);
  CCMouseDispatcher* getMouseDispatcher() const;
  void setMouseDispatcher(CCMouseDispatcher* dispatcher);
  CCKeypadDispatcher* getKeypadDispatcher() const;
  void setKeypadDispatcher(CCKeypadDispatcher* dispatcher);
  CCKeyboardDispatcher* getKeyboardDispatcher() const;
  void setKeyboardDispatcher(CCKeyboardDispatcher* dispatcher);
  // The director's accelerometer (owned); setting another deletes the one it replaces.
  CCAccelerometer* getAccelerometer() const { return m_pAccelerometer; }
  void setAccelerometer(CCAccelerometer* accelerometer);

  // The optional node drawn as the mouse cursor; it moves along with every scene change.
  CCNode* getCursorNode() const { return m_pCursorNode; }
  void setCursorNode(CCNode* node);
  const CCPoint& getCursorPosition() const { return m_obCursorPosition; }
  void showCursor() override;
  void hideCursor() override;
  // The mouse location in view coordinates.
  void setCursorPosition(const CCPoint& location);
  void setCursorPosition(CCMouseEvent* event) override;

  // Every scene of the stack that can lay itself out again does so, bottom first.
  void relayoutScenes();

 protected:
  void setNextScene();
  void purgeDirector();
  void calculateDeltaTime();
  void calculateMPF();
  void showStats();

  CCEGLView* m_pobOpenGLView = nullptr;
  CCScheduler* m_pScheduler = nullptr;
  CCActionManager* m_pActionManager = nullptr;

  double m_dAnimationInterval = 1.0 / 60.0;
  double m_dOldAnimationInterval = 1.0 / 60.0;
  bool m_bLandscape = false;
  bool m_bDisplayStats = false;
  float m_fAccumDt = 0;
  float m_fFrameRate = 0;
  float m_fSecondsPerFrame = 0;
  float m_fAccumDtForMPF = 0;
  unsigned int m_uFramesForMPF = 0;
  unsigned int m_uFrames = 0;
  unsigned int m_uDrawCalls = 0;
  bool m_bPaused = false;
  bool m_bInvalid = true;
  bool m_bPurgeDirectorInNextLoop = false;
  unsigned int m_uTotalFrames = 0;

  CCScene* m_pRunningScene = nullptr;
  CCScene* m_pNextScene = nullptr;
  bool m_bSendCleanupToScene = false;
  CCArray* m_pobScenesStack = nullptr;

  unsigned long long m_lastUpdateMicros = 0;
  float m_fDeltaTime = 0;
  bool m_bNextDeltaTimeZero = false;
  ccDirectorProjection m_eProjection = kCCDirectorProjectionDefault;
  CCSize m_obWinSizeInPoints;
  CCNode* m_pNotificationNode = nullptr;
  CCNode* m_pCursorNode = nullptr;
  CCAccelerometer* m_pAccelerometer = nullptr;
  CCPoint m_obCursorPosition;
  CCDirectorStats* m_pStats = nullptr;
};

NS_CC_END
