#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <thread>

#include "PrivateDisplay.h"

namespace {

// A fresh home for each game started, also when several tests run in one process.
std::string makeTempDir() {
  static int made = 0;
  std::string dir = ::testing::TempDir() + "mv_shell_" + std::to_string(::getpid()) + "_" +
                    std::to_string(++made) + "/";
  mkdir(dir.c_str(), 0755);
  return dir;
}

bool exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

// The log files are UTF-16LE; their text here is ASCII.
std::string readLogs(const std::string& folder) {
  std::string text;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return text;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name.size() < 4 || name.compare(name.size() - 4, 4, ".log") != 0) continue;
    std::ifstream in(folder + name, std::ios::binary);
    std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (size_t i = 0; i + 1 < raw.size(); i += 2)
      if (raw[i + 1] == 0 && raw[i] != 0) text += raw[i];
  }
  closedir(dir);
  return text;
}

bool waitFor(const std::function<bool()>& done, int seconds) {
  auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (std::chrono::steady_clock::now() < end) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return done();
}

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

// Asks the window manager's way for the game's window to close: WM_DELETE_WINDOW
// to the top-level window titled "Mirrowvale" of the process `game` (other tests
// may run games on the same display). False while no such window is mapped.
bool requestWindowClose(const std::string& displayName, pid_t game) {
  Display* display = XOpenDisplay(displayName.c_str());
  if (!display) return false;
  bool sent = false;
  Window root = DefaultRootWindow(display), parent = 0, *children = nullptr;
  unsigned int count = 0;
  if (XQueryTree(display, root, &root, &parent, &children, &count)) {
    Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    for (unsigned int i = 0; i < count && !sent; ++i) {
      char* name = nullptr;
      XWindowAttributes attributes;
      if (!XFetchName(display, children[i], &name) || !name) continue;
      bool ours = std::string(name) == "Mirrowvale" && windowPid(display, children[i]) == game;
      XFree(name);
      if (!ours || !XGetWindowAttributes(display, children[i], &attributes) ||
          attributes.map_state != IsViewable)
        continue;
      XEvent event = {};
      event.xclient.type = ClientMessage;
      event.xclient.window = children[i];
      event.xclient.message_type = protocols;
      event.xclient.format = 32;
      event.xclient.data.l[0] = static_cast<long>(deleteWindow);
      event.xclient.data.l[1] = CurrentTime;
      sent = XSendEvent(display, children[i], False, NoEventMask, &event) != 0;
    }
    if (children) XFree(children);
  }
  XFlush(display);
  XCloseDisplay(display);
  return sent;
}

// Starts the game on the display in a home folder of its own, from that folder (data is found
// beside the executable anyway), with the extra environment variable set when one is named.
pid_t startGame(const std::string& home, const std::string& display, const char* name = nullptr,
                const std::string& value = "") {
  pid_t pid = fork();
  if (pid != 0) return pid;
  setenv("DISPLAY", display.c_str(), 1);
  setenv("HOME", home.c_str(), 1);
  setenv("XDG_DATA_HOME", (home + "data").c_str(), 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
  if (name) setenv(name, value.c_str(), 1);
  if (chdir(home.c_str()) != 0) _exit(126);
  execl(MV_GAME_BINARY, MV_GAME_BINARY, static_cast<char*>(nullptr));
  _exit(127);
}

enum class Ending { WindowClose, Terminate };

class GameShellTest : public ::testing::TestWithParam<Ending> {};

// Runs with the sanitizers of the test build: the exit status is 0 only when the
// leak check at exit found nothing.
TEST_P(GameShellTest, StartsLogsItsBannerAndEndsCleanly) {
  PrivateDisplay display;
  ASSERT_TRUE(display.ok()) << "cannot start Xvfb for the game";
  std::string home = makeTempDir();
  std::string dataFolder = home + "data/Brindlecor/Mirrowvale/";
  pid_t pid = startGame(home, display.name());
  ASSERT_GE(pid, 0);
  bool started = waitFor(
      [&] { return readLogs(dataFolder + "log/").find("Failed to init Steam") != std::string::npos; },
      60);
  EXPECT_TRUE(started);
  EXPECT_TRUE(exists(dataFolder + "mv_running"));
  if (GetParam() == Ending::WindowClose)
    EXPECT_TRUE(waitFor([&] { return requestWindowClose(display.name(), pid); }, 30)) << "no window titled Mirrowvale";
  else
    kill(pid, SIGTERM);  // SDL turns it into a quit request
  int status = 0;
  bool ended = waitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; }, 30);
  if (!ended) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
  }
  ASSERT_TRUE(ended);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_FALSE(exists(dataFolder + "mv_running"));
  std::string log = readLogs(dataFolder + "log/");
  size_t banner = log.find(std::string("Mirrowvale starting, build: ") + MV_EXPECTED_VERSION);
  size_t store = log.find("error: {mv} [] Failed to init Steam");
  EXPECT_NE(banner, std::string::npos) << log;
  EXPECT_NE(store, std::string::npos) << log;
  EXPECT_LT(banner, store);
}

INSTANTIATE_TEST_SUITE_P(Endings, GameShellTest,
                         ::testing::Values(Ending::WindowClose, Ending::Terminate),
                         [](const ::testing::TestParamInfo<Ending>& info) {
                           return info.param == Ending::WindowClose ? "WindowClose" : "Terminate";
                         });

// ---- A person at the real game's window ------------------------------------------------

struct NodeRect {
  float x = 0, y = 0, w = 0, h = 0;
  bool shown = false;
};

// The game's report of where its bound nodes are drawn (written when MV_NODE_RECTS asks).
std::map<std::string, NodeRect> readNodeRects(const std::string& path) {
  std::map<std::string, NodeRect> rects;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string name;
    NodeRect r;
    int shown = 0;
    if (fields >> name >> r.x >> r.y >> r.w >> r.h >> shown) {
      r.shown = shown != 0;
      rects[name] = r;
    }
  }
  return rects;
}

bool shownIn(const std::map<std::string, NodeRect>& rects, const std::string& name) {
  auto it = rects.find(name);
  return it != rects.end() && it->second.shown;
}

// Real X input, as the mouse and the keyboard of the display would give it.
class XInput {
 public:
  explicit XInput(const std::string& displayName) : display_(XOpenDisplay(displayName.c_str())) {}
  ~XInput() {
    if (display_) XCloseDisplay(display_);
  }
  bool ready() const {
    int event = 0, error = 0, major = 0, minor = 0;
    return display_ && XTestQueryExtension(display_, &event, &error, &major, &minor);
  }
  void click(float x, float y) {
    XTestFakeMotionEvent(display_, -1, static_cast<int>(x), static_cast<int>(y), CurrentTime);
    XTestFakeButtonEvent(display_, 1, True, CurrentTime);
    XFlush(display_);
    std::this_thread::sleep_for(std::chrono::milliseconds(80));
    XTestFakeButtonEvent(display_, 1, False, CurrentTime);
    XFlush(display_);
  }
  void press(KeySym key) {
    KeyCode code = XKeysymToKeycode(display_, key);
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XFlush(display_);
    std::this_thread::sleep_for(std::chrono::milliseconds(80));
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    XFlush(display_);
  }

 private:
  Display* display_;
};

// The whole start: loading, the intro ended by ESC, the menu, and its Exit button clicked
// where the game drew it. A message of the (absent) lobby on the way is closed by a click.
TEST(GameExitTest, TheExitButtonEndsTheProgramWithCodeZeroAndNoRunMarker) {
  PrivateDisplay x;
  ASSERT_TRUE(x.ok()) << "cannot start Xvfb for the game";
  XInput input(x.name());
  ASSERT_TRUE(input.ready()) << "no XTEST extension on the display";
  std::string home = makeTempDir();
  std::string dataFolder = home + "data/Brindlecor/Mirrowvale/";
  std::string rectsPath = home + "rects.txt";
  pid_t pid = startGame(home, x.name(), "MV_NODE_RECTS", rectsPath);
  ASSERT_GE(pid, 0);
  int status = 0;
  bool ended = false, clickedExit = false, sawMarker = false;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(90);
  while (!ended && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    if (waitpid(pid, &status, WNOHANG) == pid) {
      ended = true;
      break;
    }
    sawMarker = sawMarker || exists(dataFolder + "mv_running");
    std::map<std::string, NodeRect> rects = readNodeRects(rectsPath);
    if (rects.count("MENU::exit") == 0) continue;  // still loading
    if (shownIn(rects, "MENU::fullscreenbtn")) {
      input.click(4, 4);  // a message covers the menu: any click closes it
    } else if (shownIn(rects, "MENU::exit")) {
      const NodeRect& exit = rects["MENU::exit"];
      input.click(exit.x + exit.w / 2, exit.y + exit.h / 2);
      clickedExit = true;
    } else {
      input.press(XK_Escape);  // the intro runs: ESC ends it
    }
  }
  if (!ended) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
  }
  ASSERT_TRUE(ended) << "the game did not end";
  EXPECT_TRUE(clickedExit);
  EXPECT_TRUE(sawMarker);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(0, WEXITSTATUS(status));
  EXPECT_FALSE(exists(dataFolder + "mv_running"));
  std::string log = readLogs(dataFolder + "log/");
  EXPECT_NE(std::string::npos, log.find("The player leaves the game")) << log;
}

}  // namespace
