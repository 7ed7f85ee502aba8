// The window the screen benchmarks draw in: a real one on a display, off screen without one.
#pragma once

#include <cstdlib>

#include "CCDirector.h"
#include "CCEGLView.h"
#include "CCFileUtils.h"

namespace benchwindow {

// Makes a window of the size the director's view, in 2D at that design size, with `dataDir`
// as the resource folder; false when no OpenGL view can be made.
inline bool open(float width, float height, const char* dataDir) {
  using namespace cocos2d;
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 0);
  CCEGLView* view = CCEGLView::sharedOpenGLView();
  if (!view) return false;
  view->setFrameSize(width, height);
  view->showWindow();
  CCDirector* director = CCDirector::sharedDirector();
  director->setOpenGLView(view);
  director->setProjection(kCCDirectorProjection2D);
  view->setDesignResolutionSize(width, height, kResolutionShowAll);
  CCFileUtils::sharedFileUtils()->setResourceDirectory(dataDir);
  return true;
}

}  // namespace benchwindow
