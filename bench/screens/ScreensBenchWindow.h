// The game's window for the screen benchmarks that run whole screens: 1280 x 800 (see
// BenchWindow.h), no sound device, and no network started at the end of loading (there is no
// lobby server in a benchmark). Opened once.
#pragma once

#include <cstdlib>

#include "BenchWindow.h"
#include "ScreenFlow.h"

inline bool openScreensBenchWindow() {
  static int ready = -1;
  if (ready >= 0) return ready == 1;
  ready = 0;
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  if (!benchwindow::open(1280, 800, MV_DATA_DIR)) return false;
  ScreenFlow::instance().setNetworkStart([] {});
  ready = 1;
  return true;
}
