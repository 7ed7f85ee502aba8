#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CCEGLViewProtocol.h"

union SDL_Event;
struct SDL_Window;

NS_CC_BEGIN

// The program's one window with its OpenGL context, on SDL2. It turns window
// events into touches, mouse and key events for the engine.
class CCEGLView : public CCEGLViewProtocol {
 public:
  // Creates the view and its window on first use; null when the window or the
  // OpenGL set-up fails.
  static CCEGLView* sharedOpenGLView();
  // Caption of the window, taken when the window is created and applied at once otherwise.
  static void setWindowTitle(const std::string& title);
  static const std::string& getWindowTitle();
  // Icon of the window (big and small alike): a PNG file, a relative name taken from the
  // resource root beside the executable. Taken when the window is made, applied at once
  // otherwise; a file that cannot be read is logged and leaves the window without one.
  static void setWindowIconFile(const std::string& path);
  // The smallest size of the window (not of full screen): a window asked for smaller is
  // made this size. Taken when the window is made, applied at once otherwise; 0, 0: none.
  static void setMinimumWindowSize(int width, int height);
  static CCSize getMinimumWindowSize();
  // The process-wide full-screen flag: true while the program shows itself full screen.
  static bool isFullScreen();
  static void setFullScreen(bool fullScreen);

  virtual ~CCEGLView();

  bool isOpenGLReady() override;
  // Destroys the window and the view.
  void end() override;
  void swapBuffers() override;
  // Sets the frame size; a window (not full screen) is resized, to no less than its
  // minimum size, and centred.
  void setFrameSize(float width, float height) override;
  void setIMEKeyboardState(bool open) override;

  // Full screen at width x height (0, 0: the desktop size); true when the switch worked.
  bool goFullScreen(int width, int height);
  // Back to a window at (x, y) of (width + extraWidth) x (height + extraHeight).
  bool leaveFullScreen(int x, int y, int width, int height, int extraWidth, int extraHeight);
  // Ctrl+F: flips between full screen at the desktop size and a 1024 x 768 window;
  // each switch ends with the application's selectDesignResolution.
  void toggleFullScreen();
  // The window's real size (from the window system): frame and layout follow it.
  void followWindowSize(int width, int height);
  void centerWindow();
  void showWindow();
  CCSize getDesktopSize() const;

  // Drains the window's event queue. Returns false when there was nothing to do.
  bool pollEvents();
  // One window event (tests feed events through SDL_PushEvent and pollEvents).
  void handleEvent(const SDL_Event& event);

  // Keeps a copy of every frame (RGBA rows bottom up) taken just before the buffer swap;
  // for screenshots and drawing tests.
  void setFrameCapture(bool on) { m_captureFrames = on; }
  const std::vector<unsigned char>& getCapturedFrame() const { return m_capturedFrame; }
  int getCapturedWidth() const { return m_capturedWidth; }
  int getCapturedHeight() const { return m_capturedHeight; }

  SDL_Window* getWindow() const { return m_window; }
  bool isCaptured() const { return m_captured; }

 private:
  CCEGLView();
  bool create();
  bool setupGL();
  void applyWindowIcon();
  void applyMinimumSize();
  int currentModifiers() const;
  void pasteClipboard();
  // One tap that reaches the window twice, as a touch and as a mouse click (a touch screen
  // whose pointer is emulated by the system): the second report is dropped.
  bool isTwinOfOtherPointer(bool fromTouch, std::uint32_t time, float x, float y) const;
  void notePointer(bool fromTouch, std::uint32_t time, float x, float y);

  SDL_Window* m_window = nullptr;
  void* m_context = nullptr;
  bool m_captured = false;
  bool m_ownsSdlVideo = false;
  int m_lastModifiers = 0;
  std::vector<int> m_keysDown;  // key codes whose press reached the handlers, not yet released
  struct PointerPress {
    bool seen = false;
    std::uint32_t time = 0;
    float x = 0, y = 0;
  };
  PointerPress m_lastTouch, m_lastMouse;  // the last press or release of each kind
  int m_fingersDown = 0;
  std::vector<std::int64_t> m_droppedFingers;  // twins of a click, dropped until they lift
  bool m_captureFrames = false;
  std::vector<unsigned char> m_capturedFrame;
  int m_capturedWidth = 0;
  int m_capturedHeight = 0;
};

NS_CC_END
