#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>

#include "PrivateDisplay.h"

namespace {

std::string makeTempDir() {
  std::string dir = ::testing::TempDir() + "mv_shell_" + std::to_string(::getpid()) + "/";
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

enum class Ending { WindowClose, Terminate };

class GameShellTest : public ::testing::TestWithParam<Ending> {};

// Runs with the sanitizers of the test build: the exit status is 0 only when the
// leak check at exit found nothing.
TEST_P(GameShellTest, StartsLogsItsBannerAndEndsCleanly) {
  PrivateDisplay display;
  ASSERT_TRUE(display.ok()) << "cannot start Xvfb for the game";
  std::string home = makeTempDir();
  std::string dataFolder = home + "data/Brindlecor/Mirrowvale/";
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    setenv("DISPLAY", display.name().c_str(), 1);
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_DATA_HOME", (home + "data").c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    // Started from another folder: data is found beside the executable anyway.
    if (chdir(home.c_str()) != 0) _exit(126);
    execl(MV_GAME_BINARY, MV_GAME_BINARY, static_cast<char*>(nullptr));
    _exit(127);
  }
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

}  // namespace
