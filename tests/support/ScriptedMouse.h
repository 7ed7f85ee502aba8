// Windowed tests share one X server: the real pointer's motions (a window of another test
// appearing or moving under it) would reach a test's window and move its mouse away from
// where the test put it. Mouse events a test makes carry this device id, and the filter lets
// only those (and touches) through.
#pragma once

#include <SDL.h>

namespace mvtest {

constexpr Uint32 kScriptedMouse = 0x6D76;

inline int SDLCALL onlyScriptedMouse(void*, SDL_Event* e) {
  switch (e->type) {
    case SDL_MOUSEMOTION:
      return e->motion.which == kScriptedMouse || e->motion.which == SDL_TOUCH_MOUSEID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      return e->button.which == kScriptedMouse || e->button.which == SDL_TOUCH_MOUSEID;
    case SDL_MOUSEWHEEL:
      return e->wheel.which == kScriptedMouse || e->wheel.which == SDL_TOUCH_MOUSEID;
    default:
      return 1;
  }
}

}  // namespace mvtest
