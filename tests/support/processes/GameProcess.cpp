#include "GameProcess.h"

#include <gtest/gtest.h>
#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <dirent.h>
#include <fcntl.h>
#include <png.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xatom.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

namespace mvtest {

std::string makeTempDir(const std::string& prefix) {
  // Always a new folder: one named by the process id could be an earlier run's, whose
  // logs would then pass for this run's.
  std::string pattern = ::testing::TempDir() + prefix + "_XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (!mkdtemp(name.data())) return pattern + "/";
  return std::string(name.data()) + "/";
}

bool fileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

bool waitFor(const std::function<bool()>& done, double seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(static_cast<long>(seconds * 1000));
  while (std::chrono::steady_clock::now() < end) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return done();
}

std::string readLogs(const std::string& folder) {
  std::string text;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return text;
  std::vector<std::string> names;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".log") == 0) names.push_back(name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());  // one file a start, named by its time
  for (const std::string& name : names) {
    std::ifstream in(folder + name, std::ios::binary);
    std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (size_t i = 0; i + 1 < raw.size(); i += 2)
      if (raw[i + 1] == 0 && raw[i] != 0) text += raw[i];
  }
  return text;
}

NodeRects readNodeRects(const std::string& path) {
  NodeRects rects;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string name;
    NodeRect r;
    int shown = 0;
    if (!(fields >> name >> r.x >> r.y >> r.w >> r.h >> shown)) continue;
    r.shown = shown != 0;
    if (fields.peek() == ' ') fields.get();
    std::getline(fields, r.text);
    rects[name] = r;
  }
  return rects;
}

// ---- X input -------------------------------------------------------------------------------

XInput::XInput(const std::string& displayName) : display_(XOpenDisplay(displayName.c_str())) {}

XInput::~XInput() {
  if (display_) XCloseDisplay(display_);
}

bool XInput::ready() const {
  int event = 0, error = 0, major = 0, minor = 0;
  return display_ && XTestQueryExtension(display_, &event, &error, &major, &minor);
}

void XInput::click(float x, float y) {
  if (!display_) return;
  XTestFakeMotionEvent(display_, -1, static_cast<int>(x), static_cast<int>(y), CurrentTime);
  XFlush(display_);
  std::this_thread::sleep_for(std::chrono::milliseconds(40));
  XTestFakeButtonEvent(display_, 1, True, CurrentTime);
  XFlush(display_);
  std::this_thread::sleep_for(std::chrono::milliseconds(80));
  XTestFakeButtonEvent(display_, 1, False, CurrentTime);
  XFlush(display_);
  std::this_thread::sleep_for(std::chrono::milliseconds(40));
}

void XInput::key(unsigned char code, bool shift) {
  const KeyCode shiftCode = XKeysymToKeycode(display_, XK_Shift_L);
  if (shift) XTestFakeKeyEvent(display_, shiftCode, True, CurrentTime);
  XTestFakeKeyEvent(display_, code, True, CurrentTime);
  XFlush(display_);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  XTestFakeKeyEvent(display_, code, False, CurrentTime);
  if (shift) XTestFakeKeyEvent(display_, shiftCode, False, CurrentTime);
  XFlush(display_);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
}

void XInput::press(unsigned long sym) {
  if (!display_) return;
  key(XKeysymToKeycode(display_, sym), false);
}

void XInput::type(const std::string& text) {
  if (!display_) return;
  for (char c : text) {
    const KeySym sym = static_cast<unsigned char>(c);  // printable ASCII: the key symbol is the code
    const KeyCode code = XKeysymToKeycode(display_, sym);
    if (code == 0) {
      ADD_FAILURE() << "no key types '" << c << "' on this display";
      continue;
    }
    key(code, XkbKeycodeToKeysym(display_, code, 0, 0) != sym);
  }
}

bool XInput::screenshot(const std::string& path) {
  if (!display_) return false;
  const Window root = DefaultRootWindow(display_);
  XWindowAttributes a;
  if (!XGetWindowAttributes(display_, root, &a)) return false;
  XImage* image = XGetImage(display_, root, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
  if (!image) return false;
  bool ok = false;
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (png && info && !setjmp(png_jmpbuf(png))) {
      png_init_io(png, f);
      png_set_IHDR(png, info, a.width, a.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                   PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
      png_write_info(png, info);
      std::vector<png_byte> row(static_cast<size_t>(a.width) * 3);
      for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
          const unsigned long p = XGetPixel(image, x, y);
          row[x * 3] = static_cast<png_byte>((p & image->red_mask) >> 16);
          row[x * 3 + 1] = static_cast<png_byte>((p & image->green_mask) >> 8);
          row[x * 3 + 2] = static_cast<png_byte>(p & image->blue_mask);
        }
        png_write_row(png, row.data());
      }
      png_write_end(png, nullptr);
      ok = true;
    }
    if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
    ok = std::fclose(f) == 0 && ok;
  }
  XDestroyImage(image);
  return ok;
}

// ---- The game ------------------------------------------------------------------------------

GameProcess::GameProcess(std::string display, std::string home, std::vector<std::pair<std::string, std::string>> env)
    : display_(std::move(display)), home_(std::move(home)), env_(std::move(env)), input_(display_) {}

GameProcess::~GameProcess() { kill(); }

bool GameProcess::start() {
  if (running()) return true;
  std::remove(rectsPath().c_str());  // a report of an earlier run says nothing of this one
  status_ = -1;
  pid_ = fork();
  if (pid_ != 0) return pid_ > 0;
  setenv("DISPLAY", display_.c_str(), 1);
  setenv("HOME", home_.c_str(), 1);
  setenv("XDG_DATA_HOME", (home_ + "data").c_str(), 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
  setenv("MV_NODE_RECTS", rectsPath().c_str(), 1);
  for (const auto& [name, value] : env_) setenv(name.c_str(), value.c_str(), 1);
  if (chdir(home_.c_str()) != 0) _exit(126);
  // Its console goes to files beside its data, not into the test's output.
  const int out = open((home_ + "console.txt").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
  if (out >= 0) {
    dup2(out, 1);
    close(out);
  }
  const int err = open((home_ + "errors.txt").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
  if (err >= 0) {
    dup2(err, 2);
    close(err);
  }
  execl(MV_GAME_BINARY, MV_GAME_BINARY, static_cast<char*>(nullptr));
  _exit(127);
}

bool GameProcess::running() {
  if (pid_ <= 0) return false;
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) != pid_) return true;
  status_ = status;
  pid_ = -1;
  return false;
}

void GameProcess::kill() {
  if (!running()) return;
  ::kill(pid_, SIGKILL);
  waitpid(pid_, &status_, 0);
  pid_ = -1;
}

int GameProcess::waitExit(double seconds) {
  if (!waitFor([this] { return !running(); }, seconds)) return -1;
  return status_;
}

namespace {

// The process that owns a window, as it says (_NET_WM_PID), or 0.
pid_t windowPid(Display* display, Window window) {
  Atom pidAtom = XInternAtom(display, "_NET_WM_PID", True);
  if (pidAtom == None) return 0;
  Atom type = None;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  pid_t pid = 0;
  if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &items, &after,
                         &data) == Success &&
      data && format == 32 && items == 1)
    pid = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data));
  if (data) XFree(data);
  return pid;
}

// A window's title (WM_NAME, as Latin-1 or UTF-8 text), or "".
std::string windowTitle(Display* display, Window window) {
  Atom type = None;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  std::string title;
  if (XGetWindowProperty(display, window, XA_WM_NAME, 0, 1024, False, AnyPropertyType, &type, &format, &items,
                         &after, &data) == Success &&
      data && format == 8)
    title.assign(reinterpret_cast<const char*>(data), items);
  if (data) XFree(data);
  return title;
}

// The first mapped top-level window with the title, of the process or naming no process
// (as message boxes do), or 0.
Window findWindow(Display* display, const std::string& title, pid_t pid) {
  Window root = DefaultRootWindow(display), parent = 0, *children = nullptr, found = 0;
  unsigned int count = 0;
  if (!XQueryTree(display, root, &root, &parent, &children, &count)) return 0;
  for (unsigned int i = 0; i < count && !found; ++i) {
    XWindowAttributes attributes;
    const pid_t owner = windowPid(display, children[i]);
    if (windowTitle(display, children[i]) == title && (owner == pid || owner == 0) &&
        XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable)
      found = children[i];
  }
  if (children) XFree(children);
  return found;
}

}  // namespace

std::string GameProcess::errors() const {
  std::ifstream in(home_ + "errors.txt", std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool GameProcess::requestWindowClose(const std::string& title) {
  if (pid_ <= 0) return false;
  Display* display = XOpenDisplay(display_.c_str());
  if (!display) return false;
  bool sent = false;
  if (Window window = findWindow(display, title, pid_)) {
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    sent = XSendEvent(display, window, False, NoEventMask, &event) != 0;
  }
  XFlush(display);
  XCloseDisplay(display);
  return sent;
}

std::vector<unsigned long> GameProcess::windowIcon() {
  std::vector<unsigned long> icon;
  if (pid_ <= 0) return icon;
  Display* display = XOpenDisplay(display_.c_str());
  if (!display) return icon;
  Window window = findWindow(display, "Mirrowvale", pid_);
  Atom iconAtom = XInternAtom(display, "_NET_WM_ICON", True);
  Atom type = None;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  if (window && iconAtom != None &&
      XGetWindowProperty(display, window, iconAtom, 0, 1 << 20, False, XA_CARDINAL, &type, &format, &items, &after,
                         &data) == Success &&
      data && format == 32) {
    // 32-bit items come as longs, which may carry the sign of the 32-bit value above it.
    const long* values = reinterpret_cast<const long*>(data);
    for (unsigned long i = 0; i < items; ++i) icon.push_back(static_cast<unsigned long>(values[i]) & 0xFFFFFFFFul);
  }
  if (data) XFree(data);
  XCloseDisplay(display);
  return icon;
}


bool GameProcess::shown(const std::string& name) const {
  const NodeRects r = rects();
  auto it = r.find(name);
  return it != r.end() && it->second.shown;
}

std::string GameProcess::textOf(const std::string& name) const {
  const NodeRects r = rects();
  auto it = r.find(name);
  return it != r.end() && it->second.shown ? it->second.text : std::string();
}

bool GameProcess::click(const std::string& name) {
  const NodeRects r = rects();
  auto it = r.find(name);
  if (it == r.end() || !it->second.shown) return false;
  input_.click(it->second.midX(), it->second.midY());
  return true;
}

}  // namespace mvtest
