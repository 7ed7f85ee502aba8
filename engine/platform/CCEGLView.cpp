#include "CCEGLView.h"

#include <SDL.h>
#include <dlfcn.h>
#include <link.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "CCApplication.h"
#include "CCCommon.h"
#include "CCDirector.h"
#include "CCFileUtils.h"
#include "CCGL.h"
#include "CCIMEDispatcher.h"
#include "CCImage.h"

NS_CC_BEGIN

namespace {

CCEGLView* s_sharedView = nullptr;
bool s_fullScreen = false;

std::string& windowTitle() {
  static std::string title = "cocos2d-x";
  return title;
}

std::string& windowIconFile() {
  static std::string path;
  return path;
}

const int kWindowedWidth = 1024;
const int kWindowedHeight = 768;
int s_minWidth = 0;
int s_minHeight = 0;

// The key codes of the engine's keyboard events are Windows virtual-key codes.
int windowsKeyCode(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return 112 + (key - SDLK_F1);
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return 97 + (key - SDLK_KP_1);
  switch (key) {
    case SDLK_KP_0: return 96;
    case SDLK_BACKSPACE: return 8;
    case SDLK_TAB: return 9;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return 13;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return 16;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return 17;
    case SDLK_LALT:
    case SDLK_RALT: return 18;
    case SDLK_PAUSE: return 19;
    case SDLK_CAPSLOCK: return 20;
    case SDLK_ESCAPE: return 27;
    case SDLK_SPACE: return 32;
    case SDLK_PAGEUP: return 33;
    case SDLK_PAGEDOWN: return 34;
    case SDLK_END: return 35;
    case SDLK_HOME: return 36;
    case SDLK_LEFT: return 37;
    case SDLK_UP: return 38;
    case SDLK_RIGHT: return 39;
    case SDLK_DOWN: return 40;
    case SDLK_INSERT: return 45;
    case SDLK_DELETE: return 46;
    case SDLK_KP_MULTIPLY: return 106;
    case SDLK_KP_PLUS: return 107;
    case SDLK_KP_MINUS: return 109;
    case SDLK_KP_PERIOD: return 110;
    case SDLK_KP_DIVIDE: return 111;
    case SDLK_SEMICOLON: return 186;
    case SDLK_EQUALS: return 187;
    case SDLK_COMMA: return 188;
    case SDLK_MINUS: return 189;
    case SDLK_PERIOD: return 190;
    case SDLK_SLASH: return 191;
    case SDLK_BACKQUOTE: return 192;
    case SDLK_LEFTBRACKET: return 219;
    case SDLK_BACKSLASH: return 220;
    case SDLK_RIGHTBRACKET: return 221;
    case SDLK_QUOTE: return 222;
    default: return -1;
  }
}

int modifierMask(Uint16 mod) {
  int mask = 0;
  if (mod & KMOD_SHIFT) mask |= 8;
  if (mod & KMOD_CTRL) mask |= 2;
  if (mod & KMOD_ALT) mask |= 16;
  return mask;
}

// The GL driver chain (vendor library, DRI driver) is loaded behind our back and
// unloaded again when the window and the video subsystem go. Blocks the driver keeps
// until exit then lose their only pointer with the driver's data, and look leaked
// to a leak check that runs at exit. Every shared object loaded by now stays
// resident for the life of the process instead.
int pinLibrary(dl_phdr_info* info, size_t, void*) {
  if (info->dlpi_name && info->dlpi_name[0] == '/') {
    if (void* handle = dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE))
      dlclose(handle);
  }
  return 0;
}

void keepLoadedLibrariesResident() { dl_iterate_phdr(pinLibrary, nullptr); }

// The window cannot come up: the player is told why, in a box titled as the window.
void startFailed(const char* what, const char* reason) {
  std::string text = std::string(what) + ": " + (reason && *reason ? reason : "unknown reason");
  CCMessageBox(text.c_str(), windowTitle().c_str());
}

}  // namespace

CCEGLView* CCEGLView::sharedOpenGLView() {
  if (!s_sharedView) {
    s_sharedView = new CCEGLView();
    if (!s_sharedView->create()) {
      delete s_sharedView;
      s_sharedView = nullptr;
    }
  }
  return s_sharedView;
}

void CCEGLView::setWindowTitle(const std::string& title) {
  windowTitle() = title;
  if (s_sharedView && s_sharedView->m_window)
    SDL_SetWindowTitle(s_sharedView->m_window, title.c_str());
}

const std::string& CCEGLView::getWindowTitle() { return windowTitle(); }

void CCEGLView::setWindowIconFile(const std::string& path) {
  windowIconFile() = path;
  if (s_sharedView) s_sharedView->applyWindowIcon();
}

void CCEGLView::applyWindowIcon() {
  if (!m_window || windowIconFile().empty()) return;
  std::string path = CCFileUtils::sharedFileUtils()->fullPathForFilename(windowIconFile().c_str());
  CCImage* image = new CCImage();
  if (!image->initWithImageFile(path.c_str())) {
    CCLogWarning("CCEGLView: no window icon: cannot read %s", path.c_str());
    image->release();
    return;
  }
  // The window manager wants straight colours: undo the decoder's premultiplied alpha.
  std::vector<unsigned char> pixels(image->getData(), image->getData() + image->getDataLen());
  if (image->isPremultipliedAlpha()) {
    for (size_t i = 0; i + 3 < pixels.size(); i += 4) {
      unsigned a = pixels[i + 3];
      if (a == 0 || a == 255) continue;
      for (int c = 0; c < 3; ++c) pixels[i + c] = static_cast<unsigned char>(std::min(255u, (pixels[i + c] * 255 + a / 2) / a));
    }
  }
  const int width = image->getWidth(), height = image->getHeight();
  image->release();
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), width, height, 32, width * 4,
                                                            SDL_PIXELFORMAT_RGBA32);
  if (!surface) {
    CCLogWarning("CCEGLView: no window icon: %s", SDL_GetError());
    return;
  }
  SDL_SetWindowIcon(m_window, surface);
  SDL_FreeSurface(surface);
}
void CCEGLView::setMinimumWindowSize(int width, int height) {
  s_minWidth = std::max(0, width);
  s_minHeight = std::max(0, height);
  if (s_sharedView) s_sharedView->applyMinimumSize();
}

void CCEGLView::applyMinimumSize() {
  // SDL takes no zero: one pixel is no limit.
  if (m_window) SDL_SetWindowMinimumSize(m_window, std::max(1, s_minWidth), std::max(1, s_minHeight));
}

CCSize CCEGLView::getMinimumWindowSize() {
  return CCSize(static_cast<float>(s_minWidth), static_cast<float>(s_minHeight));
}

bool CCEGLView::isFullScreen() { return s_fullScreen; }
void CCEGLView::setFullScreen(bool fullScreen) { s_fullScreen = fullScreen; }

CCEGLView::CCEGLView() {}

CCEGLView::~CCEGLView() {
  keepLoadedLibrariesResident();
  if (m_context) SDL_GL_DeleteContext(static_cast<SDL_GLContext>(m_context));
  if (m_window) SDL_DestroyWindow(m_window);
  if (m_ownsSdlVideo) SDL_QuitSubSystem(SDL_INIT_VIDEO);
  if (s_sharedView == this) s_sharedView = nullptr;
}

bool CCEGLView::create() {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
      startFailed("The display cannot be used", SDL_GetError());
      return false;
    }
    m_ownsSdlVideo = true;
  }
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
  m_window = SDL_CreateWindow(windowTitle().c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                              kWindowedWidth, kWindowedHeight,
                              SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!m_window) {
    startFailed("The window cannot be opened", SDL_GetError());
    return false;
  }
  applyWindowIcon();
  applyMinimumSize();
  m_context = SDL_GL_CreateContext(m_window);
  if (!m_context) {
    startFailed("OpenGL cannot be started", SDL_GetError());
    return false;
  }
  SDL_GL_MakeCurrent(m_window, static_cast<SDL_GLContext>(m_context));
  // Frames are paced by the application loop, not by the display.
  SDL_GL_SetSwapInterval(0);
  if (!setupGL()) return false;
  // Touches arrive as touches; the mouse events SDL makes from them are dropped.
  SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
  CCEGLViewProtocol::setFrameSize(std::max(kWindowedWidth, s_minWidth), std::max(kWindowedHeight, s_minHeight));
  return true;
}

bool CCEGLView::setupGL() {
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  CCLog("%s", version ? version : "(no OpenGL version)");
  glewExperimental = GL_TRUE;
  GLenum err = glewInit();
  // GLEW may report a missing GLX display under Wayland although entry points load.
  if (err != GLEW_OK
#ifdef GLEW_ERROR_NO_GLX_DISPLAY
      && err != GLEW_ERROR_NO_GLX_DISPLAY
#endif
  ) {
    CCMessageBox(reinterpret_cast<const char*>(glewGetErrorString(err)), "OpenGL error");
    return false;
  }
  if (!version || std::atof(version) < 1.5) {
    char text[256];
    std::snprintf(text, sizeof(text),
                  "OpenGL 1.5 or higher is required (your version is %s). Please upgrade the "
                  "driver of your video card.",
                  version ? version : "unknown");
    CCMessageBox(text, "OpenGL version too old");
    return false;
  }
  if (GLEW_ARB_vertex_shader && GLEW_ARB_fragment_shader) CCLog("Ready for GLSL");
  else CCLog("Not totally ready :(");
  if (glewIsSupported("GL_VERSION_2_0")) CCLog("Ready for OpenGL 2.0");
  else CCLog("OpenGL 2.0 not supported");
  if (!glGenFramebuffers) {
    CCLog("OpenGL: glGenFramebuffers is NULL, try to detect an extension\n");
    if (GLEW_ARB_framebuffer_object) {
      CCLog("OpenGL: ARB_framebuffer_object is supported\n");
    } else if (GLEW_EXT_framebuffer_object) {
      CCLog("OpenGL: EXT_framebuffer_object is supported\n");
      glIsRenderbuffer = glIsRenderbufferEXT;
      glBindRenderbuffer = glBindRenderbufferEXT;
      glDeleteRenderbuffers = glDeleteRenderbuffersEXT;
      glGenRenderbuffers = glGenRenderbuffersEXT;
      glRenderbufferStorage = glRenderbufferStorageEXT;
      glGetRenderbufferParameteriv = glGetRenderbufferParameterivEXT;
      glIsFramebuffer = glIsFramebufferEXT;
      glBindFramebuffer = glBindFramebufferEXT;
      glDeleteFramebuffers = glDeleteFramebuffersEXT;
      glGenFramebuffers = glGenFramebuffersEXT;
      glCheckFramebufferStatus = glCheckFramebufferStatusEXT;
      glFramebufferTexture2D = glFramebufferTexture2DEXT;
      glFramebufferRenderbuffer = glFramebufferRenderbufferEXT;
      glGenerateMipmap = glGenerateMipmapEXT;
    } else {
      CCLog("OpenGL: No framebuffers extension is supported\n");
      CCLog("OpenGL: Any call to Fbo will crash!\n");
      CCMessageBox("No OpenGL framebuffer support. Please upgrade the driver of your video card.",
                   "OpenGL error");
      return false;
    }
  }
  return true;
}

bool CCEGLView::isOpenGLReady() { return m_window != nullptr && m_context != nullptr; }

void CCEGLView::end() {
  if (m_captured) SDL_CaptureMouse(SDL_FALSE);
  delete this;
}

void CCEGLView::swapBuffers() {
  if (!m_window) return;
  if (m_captureFrames) {
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(m_window, &w, &h);
    m_capturedFrame.resize(static_cast<size_t>(w) * h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, m_capturedFrame.data());
    m_capturedWidth = w;
    m_capturedHeight = h;
  }
  SDL_GL_SwapWindow(m_window);
}

void CCEGLView::setFrameSize(float width, float height) {
  const bool windowed = m_window && !(SDL_GetWindowFlags(m_window) & SDL_WINDOW_FULLSCREEN);
  if (windowed) {
    width = std::max(width, static_cast<float>(s_minWidth));
    height = std::max(height, static_cast<float>(s_minHeight));
  }
  CCEGLViewProtocol::setFrameSize(width, height);
  if (windowed) {
    SDL_SetWindowSize(m_window, static_cast<int>(width), static_cast<int>(height));
    centerWindow();
  }
}

void CCEGLView::setIMEKeyboardState(bool open) {
  if (open) SDL_StartTextInput();
}

CCSize CCEGLView::getDesktopSize() const {
  SDL_DisplayMode mode;
  int display = m_window ? SDL_GetWindowDisplayIndex(m_window) : 0;
  if (display < 0) display = 0;
  if (SDL_GetDesktopDisplayMode(display, &mode) != 0) {
    CCLogWarning("CCEGLView: no desktop mode: %s", SDL_GetError());
    return CCSize(kWindowedWidth, kWindowedHeight);
  }
  return CCSize(static_cast<float>(mode.w), static_cast<float>(mode.h));
}

bool CCEGLView::goFullScreen(int width, int height) {
  if (!m_window) return false;
  if (width == 0 || height == 0) {
    CCSize desktop = getDesktopSize();
    width = static_cast<int>(desktop.width);
    height = static_cast<int>(desktop.height);
  }
  SDL_SetWindowSize(m_window, width, height);
  bool ok = SDL_SetWindowFullscreen(m_window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
  if (!ok) CCLogWarning("CCEGLView: cannot go full screen: %s", SDL_GetError());
  return ok;
}

bool CCEGLView::leaveFullScreen(int x, int y, int width, int height, int extraWidth,
                                int extraHeight) {
  if (!m_window) return false;
  bool ok = SDL_SetWindowFullscreen(m_window, 0) == 0;
  SDL_SetWindowSize(m_window, width + extraWidth, height + extraHeight);
  SDL_SetWindowPosition(m_window, x, y);
  SDL_RestoreWindow(m_window);
  return ok;
}

void CCEGLView::toggleFullScreen() {
  s_fullScreen = !s_fullScreen;
  if (s_fullScreen) {
    CCSize desktop = getDesktopSize();
    setFrameSize(desktop.width, desktop.height);
    goFullScreen(0, 0);
  } else {
    leaveFullScreen(0, 0, kWindowedWidth, kWindowedHeight, 0, 0);
    setFrameSize(kWindowedWidth, kWindowedHeight);
  }
  CCApplication* app = CCApplication::sharedApplication();
  if (app) {
    app->selectDesignResolution();
  } else {
    setDesignResolutionSize(m_obScreenSize.width, m_obScreenSize.height, kResolutionShowAll);
  }
}

void CCEGLView::followWindowSize(int width, int height) {
  // The window may end up another size than the one asked for (a window manager fits it
  // to the desktop, a screen mode change): the scenes are laid out for the size it has.
  if (width <= 0 || height <= 0) return;
  if (width == static_cast<int>(m_obScreenSize.width) && height == static_cast<int>(m_obScreenSize.height)) return;
  CCEGLViewProtocol::setFrameSize(static_cast<float>(width), static_cast<float>(height));
  if (CCApplication* app = CCApplication::sharedApplication()) {
    app->selectDesignResolution();
  } else {
    setDesignResolutionSize(m_obScreenSize.width, m_obScreenSize.height, kResolutionShowAll);
    CCDirector::sharedDirector()->relayoutScenes();
  }
}

void CCEGLView::centerWindow() {
  if (m_window) SDL_SetWindowPosition(m_window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

void CCEGLView::showWindow() {
  if (m_window) SDL_ShowWindow(m_window);
}

int CCEGLView::currentModifiers() const { return modifierMask(static_cast<Uint16>(SDL_GetModState())); }

void CCEGLView::pasteClipboard() {
  if (!SDL_HasClipboardText()) return;
  char* text = SDL_GetClipboardText();
  if (!text) return;
  // Pasted text becomes one line.
  std::string line;
  for (const char* p = text; *p; ++p)
    if (*p != '\n' && *p != '\r') line += *p;
  SDL_free(text);
  if (!line.empty())
    CCIMEDispatcher::sharedDispatcher()->dispatchInsertText(line.c_str(), static_cast<int>(line.size()));
}

namespace {
// How close in time and place a touch and a click must be to be one tap reported twice.
constexpr Uint32 kTwinMs = 400;
constexpr float kTwinPixels = 24;
}  // namespace

bool CCEGLView::isTwinOfOtherPointer(bool fromTouch, std::uint32_t time, float x, float y) const {
  const PointerPress& other = fromTouch ? m_lastMouse : m_lastTouch;
  const bool otherHeld = fromTouch ? m_captured : m_fingersDown > 0;
  if (!other.seen || (!otherHeld && time - other.time > kTwinMs)) return false;
  if (std::abs(x - other.x) > kTwinPixels || std::abs(y - other.y) > kTwinPixels) return false;
  CCLog("a %s at (%.0f, %.0f) repeats the %s there and is dropped", fromTouch ? "touch" : "click", x, y,
        fromTouch ? "click" : "touch");
  return true;
}

void CCEGLView::notePointer(bool fromTouch, std::uint32_t time, float x, float y) {
  PointerPress& press = fromTouch ? m_lastTouch : m_lastMouse;
  press.seen = true;
  press.time = time;
  press.x = x;
  press.y = y;
}

bool CCEGLView::pollEvents() {
  bool any = false;
  SDL_Event event;
  // The view may be ended by an event (a close): stop draining then.
  while (s_sharedView == this && SDL_PollEvent(&event)) {
    any = true;
    handleEvent(event);
  }
  return any;
}

void CCEGLView::handleEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      CCDirector::sharedDirector()->end();
      break;
    case SDL_WINDOWEVENT: {
      CCApplication* app = CCApplication::sharedApplication();
      switch (event.window.event) {
        case SDL_WINDOWEVENT_MINIMIZED:
          if (app) app->applicationDidEnterBackground();
          break;
        case SDL_WINDOWEVENT_RESTORED:
          if (app) app->applicationWillEnterForeground();
          break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          if (m_window) SDL_ShowWindow(m_window);
          if (app) app->applicationWillEnterForeground();
          break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          followWindowSize(event.window.data1, event.window.data2);
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          // Losing activation minimises the window (which sends the game to the background).
          if (m_window) SDL_MinimizeWindow(m_window);
          break;
        default:
          break;
      }
      break;
    }
    case SDL_MOUSEMOTION:
      if (event.motion.which == SDL_TOUCH_MOUSEID) break;
      handleMouseMove(static_cast<float>(event.motion.x), static_cast<float>(event.motion.y));
      // A move with the left button held from a press in the view is also a left drag: the
      // layers that follow a drag (the board, the scrolling lists) have no other source of one.
      if (m_captured)
        handleMouseLeftDrag(static_cast<float>(event.motion.x), static_cast<float>(event.motion.y));
      break;
    case SDL_MOUSEBUTTONDOWN: {
      if (event.button.which == SDL_TOUCH_MOUSEID || event.button.button != SDL_BUTTON_LEFT) break;
      // Only a plain left press counts: no Shift or Control, no other button held.
      bool plain = (SDL_GetModState() & (KMOD_SHIFT | KMOD_CTRL)) == 0 &&
                   (SDL_GetMouseState(nullptr, nullptr) & ~SDL_BUTTON_LMASK) == 0;
      float x = static_cast<float>(event.button.x), y = static_cast<float>(event.button.y);
      if (plain && isPointInViewport(x, y) && !isTwinOfOtherPointer(false, event.button.timestamp, x, y)) {
        notePointer(false, event.button.timestamp, x, y);
        m_captured = true;
        SDL_CaptureMouse(SDL_TRUE);
        handleMouseLeftDown(x, y);
      }
      break;
    }
    case SDL_MOUSEBUTTONUP:
      if (event.button.which == SDL_TOUCH_MOUSEID || event.button.button != SDL_BUTTON_LEFT) break;
      if (m_captured) {
        notePointer(false, event.button.timestamp, static_cast<float>(event.button.x),
                    static_cast<float>(event.button.y));
        handleMouseLeftUp(static_cast<float>(event.button.x), static_cast<float>(event.button.y));
        SDL_CaptureMouse(SDL_FALSE);
        m_captured = false;
      }
      break;
    case SDL_MOUSEWHEEL: {
      if (event.wheel.which == SDL_TOUCH_MOUSEID) break;
      int notches = event.wheel.y;
      if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
      if (notches != 0) handleMouseScroll(0, static_cast<float>(notches * 120));
      break;
    }
    case SDL_FINGERDOWN:
    case SDL_FINGERMOTION:
    case SDL_FINGERUP: {
      int id = static_cast<int>(event.tfinger.fingerId);
      float x = event.tfinger.x * m_obScreenSize.width;
      float y = event.tfinger.y * m_obScreenSize.height;
      // Only a touch that starts in the viewport counts; once down, its moves and its end
      // are delivered wherever they happen, so that no touch stays down for ever.
      if (event.type == SDL_FINGERDOWN && !isPointInViewport(x, y)) break;
      auto dropped = std::find(m_droppedFingers.begin(), m_droppedFingers.end(), event.tfinger.fingerId);
      if (dropped != m_droppedFingers.end()) {
        if (event.type == SDL_FINGERUP) m_droppedFingers.erase(dropped);
        break;
      }
      if (event.type == SDL_FINGERDOWN && isTwinOfOtherPointer(true, event.tfinger.timestamp, x, y)) {
        m_droppedFingers.push_back(event.tfinger.fingerId);
        break;
      }
      if (event.type != SDL_FINGERMOTION) {
        notePointer(true, event.tfinger.timestamp, x, y);
        m_fingersDown = std::max(0, m_fingersDown + (event.type == SDL_FINGERDOWN ? 1 : -1));
      }
      if (event.type == SDL_FINGERDOWN) handleTouchesBegin(1, &id, &x, &y);
      else if (event.type == SDL_FINGERMOTION) handleTouchesMove(1, &id, &x, &y);
      else handleTouchesEnd(1, &id, &x, &y);
      break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const SDL_Keysym& key = event.key.keysym;
      int mods = modifierMask(key.mod);
      if (mods != m_lastModifiers) {
        m_lastModifiers = mods;
        handleModifiersChanged(mods);
      }
      int code = windowsKeyCode(key.sym);
      bool editing = CCIMEDispatcher::sharedDispatcher()->isAnyDelegateEditing();
      // While a text box edits, keys are the box's: no press reaches the handlers, and
      // no release but of a key whose press they saw before the editing began (which
      // would otherwise stay held for them).
      auto down = code >= 0 ? std::find(m_keysDown.begin(), m_keysDown.end(), code) : m_keysDown.end();
      if (event.type == SDL_KEYUP) {
        const bool owed = down != m_keysDown.end();
        if (owed) m_keysDown.erase(down);
        if (code >= 0 && (!editing || owed)) handleKeyUp(code, mods);
        break;
      }
      if (code >= 0 && !editing) {
        if (down == m_keysDown.end()) m_keysDown.push_back(code);
        handleKeyDown(code, mods);
      }
      bool ctrl = (key.mod & KMOD_CTRL) != 0;
      if (ctrl && key.sym == SDLK_f) {
        if (!event.key.repeat) toggleFullScreen();
      } else if (ctrl && key.sym == SDLK_v) {
        pasteClipboard();
      } else if (key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER) {
        // Return ends a line of an edit box instead of inserting a line feed.
        CCIMEKeyboardNotificationInfo info;
        CCIMEDispatcher::sharedDispatcher()->dispatchKeyboardWillHide(info);
      } else if (key.sym == SDLK_BACKSPACE) {
        CCIMEDispatcher::sharedDispatcher()->dispatchDeleteBackward();
      }
      break;
    }
    case SDL_TEXTINPUT: {
      // Control combinations are commands, not text.
      if (SDL_GetModState() & KMOD_CTRL) break;
      std::string text;
      for (const char* p = event.text.text; *p; ++p)
        if (static_cast<unsigned char>(*p) >= 0x20) text += *p;
      if (!text.empty())
        CCIMEDispatcher::sharedDispatcher()->dispatchInsertText(text.c_str(), static_cast<int>(text.size()));
      break;
    }
    default:
      break;
  }
}

NS_CC_END
