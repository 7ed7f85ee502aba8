// A person at the game's window, for windowed screen tests: frames run at a fixed step,
// input goes through SDL's own event queue as the window system would deliver it, nodes
// are found in the running scene and clicked where they are drawn, and frames are read
// back and saved as screenshots.
//
// A test program that links this library gets the sanitizer defaults of windowed tests
// from it and must not define __lsan_default_suppressions or __asan_default_options.
#pragma once

#include <SDL.h>

#include <functional>
#include <string>
#include <vector>

#include "CCGeometry.h"

namespace cocos2d {
class CCNode;
class CCScene;
}  // namespace cocos2d

namespace mv {
class NodeBindings;
}

namespace mvtest {

struct Rgb {
  int r = -1, g = -1, b = -1;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

// A captured frame's pixels, rows top-down, RGB.
struct Frame {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
  Rgb at(int x, int y) const;
};

class ScriptedPlayer {
 public:
  // Opens the process's one game window at width x height with the design resolution
  // following the frame (one design unit a pixel, as the game sets it) and the data folders
  // of the build as the resource folder. False when no window can be made (no display).
  static bool openWindow(int width, int height);
  // Gives the window a new size, as a window manager or Ctrl+F would; scenes lay
  // themselves out again.
  static void resizeWindow(int width, int height);
  static cocos2d::CCSize windowSize();

  // Makes the scene the running one (replacing any) and runs a frame.
  static void show(cocos2d::CCScene* scene);
  static cocos2d::CCScene* runningScene();

  // Runs frames: each drains the window's events, advances the game by dt and draws.
  static void frames(int count = 1, float dt = kFrame);
  static void runFor(float seconds, float dt = kFrame);
  // Runs frames until done() holds or maxSeconds of game time passed; returns done().
  static bool runUntil(const std::function<bool()>& done, float maxSeconds, float dt = kFrame);

  // Mouse input in window pixels, origin at the top left, each followed by a frame.
  static void mouseMove(float x, float y);
  static void mouseDown(float x, float y, Uint8 button = SDL_BUTTON_LEFT);
  static void mouseUp(float x, float y, Uint8 button = SDL_BUTTON_LEFT);
  static void click(float x, float y);
  // Left drag in steps moves.
  static void drag(float fromX, float fromY, float toX, float toY, int steps = 8);
  // Wheel notches (positive away from the user) with the pointer at (x, y).
  static void wheel(float x, float y, int notches, Uint16 mod = KMOD_NONE);
  // Keys: the modifier state is the given one while the key is down.
  static void keyDown(SDL_Keycode key, Uint16 mod = KMOD_NONE);
  static void keyUp(SDL_Keycode key, Uint16 mod = KMOD_NONE);
  static void press(SDL_Keycode key, Uint16 mod = KMOD_NONE);
  // Typed text, as the text-input events of a keyboard layout bring it.
  static void type(const std::string& text);

  // Clicks the centre of a node as drawn now. Fails the test (and returns false) when the
  // node is null, hidden, or its centre lies outside the window.
  static bool click(cocos2d::CCNode* node);
  // The named node of a controller's bindings, clicked.
  static bool click(const mv::NodeBindings& bindings, const std::string& name);

  // A point of the scene (GL coordinates, origin bottom left) in window pixels.
  static cocos2d::CCPoint toWindow(const cocos2d::CCPoint& scenePoint);
  // A node's bounding box in window pixels (origin top left of the rectangle).
  static cocos2d::CCRect windowRect(cocos2d::CCNode* node);
  static bool isShown(cocos2d::CCNode* node);

  // Depth-first search below root (the running scene when null).
  static cocos2d::CCNode* find(const std::function<bool(cocos2d::CCNode*)>& match,
                               cocos2d::CCNode* root = nullptr);
  static std::vector<cocos2d::CCNode*> findAll(
      const std::function<bool(cocos2d::CCNode*)>& match, cocos2d::CCNode* root = nullptr);
  template <class T>
  static T* findType(cocos2d::CCNode* root = nullptr) {
    return dynamic_cast<T*>(find([](cocos2d::CCNode* n) { return dynamic_cast<T*>(n) != nullptr; }, root));
  }

  // Draws a frame (no time passes) and keeps its pixels for pixel().
  static void capture();
  // A pixel of the last capture, window coordinates from the top left.
  static Rgb pixel(int x, int y);
  // Captures a frame and writes it to <build>/screenshots/<name>.png; returns the path, or
  // an empty string on failure.
  static std::string screenshot(const std::string& name);
  // Captures a frame and returns its pixels.
  static Frame grab();
  // The same window rectangle (origin top left) of each frame, side by side in one image
  // written to <build>/screenshots/<name>.png; returns the path, or empty on failure.
  static std::string writeStrip(const std::string& name, const std::vector<Frame>& frames,
                                const cocos2d::CCRect& crop);

  static constexpr float kFrame = 1.0f / 60;
};

}  // namespace mvtest
