// The game's window for the screen benchmarks: 1280 x 800 (drawn off screen when there is no
// display), the build's data folder as the resource folder, no sound device, and no network
// started at the end of loading (there is no lobby server in a benchmark). Opened once.
#pragma once

#include <cstdlib>

#include "CCDirector.h"
#include "CCEGLView.h"
#include "CCFileUtils.h"
#include "ScreenFlow.h"

inline bool openScreensBenchWindow() {
  static int ready = -1;
  if (ready >= 0) return ready == 1;
  ready = 0;
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  cocos2d::CCEGLView* view = cocos2d::CCEGLView::sharedOpenGLView();
  if (!view) return false;
  view->setFrameSize(1280, 800);
  view->showWindow();
  cocos2d::CCDirector* director = cocos2d::CCDirector::sharedDirector();
  director->setOpenGLView(view);
  director->setProjection(cocos2d::kCCDirectorProjection2D);
  view->setDesignResolutionSize(1280, 800, cocos2d::kResolutionShowAll);
  cocos2d::CCFileUtils::sharedFileUtils()->setResourceDirectory(MV_DATA_DIR);
  ScreenFlow::instance().setNetworkStart([] {});
  ready = 1;
  return true;
}
