#include "AppDelegate.h"

#include "CCDirector.h"
#include "CCEGLView.h"
#include "EventDispatcher.h"
#include "LoadingScene.h"
#include "LobbyScene.h"
#include "LogMgr.h"
#include "MainScene.h"
#include "MoreGames.h"
#include "Network.h"
#include "NodeRects.h"
#include "ScreenFlow.h"
#include "StoreClient.h"
#include "TurnDigests.h"

#include "CCUserDefault.h"
#include "SimpleAudioEngine.h"

#ifndef MV_BUILD_VERSION
#define MV_BUILD_VERSION "0.0.0"
#endif

using namespace cocos2d;

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
  ScreenFlow::instance().useUserDefaults();
  ScreenFlow::instance().setGameScreen(MainScene::flowLink());
  ScreenFlow::instance().setLobbyScene([]() -> CCScene* { return LobbyScene::scene(); });
  mv::startNodeRectReportFromEnvironment();
  startTurnDigestsFromEnvironment(network(), eventDispatcher());
  director->runWithScene(LoadingScene::scene());
  return true;
}

void AppDelegate::launchWillStart() {
  MoreGames::sharedMoreGames()->setup(MoreGames::kProductCode, MoreGames::kSecretKey);
}

void AppDelegate::openMoreGames() { MoreGames::sharedMoreGames()->openPage(); }

void AppDelegate::setMoreGamesScreenSize() { MoreGames::sharedMoreGames(); }

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
