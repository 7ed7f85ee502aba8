#include "AppDelegate.h"

#include "CCDirector.h"
#include "CCEGLView.h"
#include "CCLayerColor.h"
#include "CCScene.h"
#include "LogMgr.h"
#include "StoreClient.h"

#include "CCUserDefault.h"
#include "SimpleAudioEngine.h"

#ifndef MV_BUILD_VERSION
#define MV_BUILD_VERSION "0.0.0"
#endif

using namespace cocos2d;

namespace {

// The scene shown first until the loading screen takes its place.
CCScene* makeFirstScene() {
  CCScene* scene = CCScene::create();
  CCLayerColor* background = CCLayerColor::create(ccc4(16, 20, 32, 255));
  if (scene && background) scene->addChild(background);
  return scene;
}

}  // namespace

void AppDelegate::applyMusicSetting() {
  bool musicOn = CCUserDefault::sharedUserDefault()->getBoolForKey("music", true);
  CocosDenshion::SimpleAudioEngine::sharedEngine()->setBackgroundMusicVolume(
      musicVolumeFor(musicOn));
}

AppDelegate::AppDelegate() {}

AppDelegate::~AppDelegate() {}

bool AppDelegate::applicationDidFinishLaunching() {
  applyMusicSetting();
  if (!LogMgr::instance().init()) return false;
  LOGOG_INFO("Mirrowvale starting, build: %s", MV_BUILD_VERSION);
  if (SteamAPI_Init()) {
    LOGOG_INFO("Successfully inited Steam");
  } else {
    LOGOG_ERROR("Failed to init Steam");
  }
  CCDirector* director = CCDirector::sharedDirector();
  director->setDisplayStats(true);
  director->setAnimationInterval(1.0 / 60);
  selectDesignResolution();
  director->runWithScene(makeFirstScene());
  return true;
}

void AppDelegate::applicationDidEnterBackground() {
  LogMgr::removeRunMarker();
  CCDirector::sharedDirector()->pause();
}

void AppDelegate::applicationWillEnterForeground() {
  // The game runs again, so its marker is back.
  LogMgr::createRunMarker();
  CCDirector::sharedDirector()->resume();
}

void AppDelegate::shutdownApplication() {
  LogMgr::instance().shutdown();
  SteamAPI_Shutdown();
}

void AppDelegate::selectDesignResolution() {
  CCDirector* director = CCDirector::sharedDirector();
  CCEGLView* view = director->getOpenGLView();
  if (!view) view = CCEGLView::sharedOpenGLView();
  if (!view) return;
  CCSize frame = view->getFrameSize();
  director->setOpenGLView(view);
  director->setProjection(kCCDirectorProjection2D);
  view->setDesignResolutionSize(frame.width, frame.height, kResolutionShowAll);
  director->relayoutScenes();
}
