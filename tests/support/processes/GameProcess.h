// The real game as a child process on an X display of the test's own, seen and driven as a
// person would: where its named nodes are drawn (the game's MV_NODE_RECTS report), real mouse
// and key events at those places (XTest), screenshots of the display, and its log files.
#pragma once

#include <sys/types.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

struct _XDisplay;  // Xlib's display; its header's macros stay out of the tests

namespace mvtest {

// A fresh folder under the test's temporary folder: "<prefix>_<pid>_<n>/".
std::string makeTempDir(const std::string& prefix);
bool fileExists(const std::string& path);
// Polls done() every 100 ms until it holds or `seconds` passed; returns done().
bool waitFor(const std::function<bool()>& done, double seconds);
// The game's log files of a folder (UTF-16LE) as text; their text is ASCII.
std::string readLogs(const std::string& folder);

// One line of the game's report of where a bound node is drawn, in window pixels.
struct NodeRect {
  float x = 0, y = 0, w = 0, h = 0;
  bool shown = false;
  std::string text;  // a label's text
  float midX() const { return x + w / 2; }
  float midY() const { return y + h / 2; }
};
using NodeRects = std::map<std::string, NodeRect>;
NodeRects readNodeRects(const std::string& path);

// Real X input, as the mouse and the keyboard of the display would give it.
class XInput {
 public:
  explicit XInput(const std::string& displayName);
  ~XInput();
  XInput(const XInput&) = delete;
  XInput& operator=(const XInput&) = delete;

  bool ready() const;
  void click(float x, float y);
  // An X key symbol (XK_Return, XK_Escape ...).
  void press(unsigned long keySym);
  // Printable ASCII, each character with Shift when the keyboard map asks for it.
  void type(const std::string& text);
  // The whole screen as a PNG file; false when it cannot be read or written.
  bool screenshot(const std::string& path);

 private:
  void key(unsigned char code, bool shift);
  _XDisplay* display_;
};

class GameProcess {
 public:
  // The game on `display`, with `home` (a folder of its own) as HOME and its data folder
  // under it, the node report and `env` added to its environment.
  GameProcess(std::string display, std::string home, std::vector<std::pair<std::string, std::string>> env = {});
  // A game still running is killed.
  ~GameProcess();
  GameProcess(const GameProcess&) = delete;
  GameProcess& operator=(const GameProcess&) = delete;

  bool start();
  pid_t pid() const { return pid_; }
  // Whether it runs; an ended process is reaped and its status kept.
  bool running();
  // Ends it at once, as a crash or a kill would.
  void kill();
  // Waits for its end at most `seconds`; its wait status, or -1 when it still runs.
  int waitExit(double seconds);
  // Asks the window manager's way for its window to close (WM_DELETE_WINDOW to the
  // top-level window with the title, of this process or naming no process, as message boxes
  // do); false while none is mapped.
  bool requestWindowClose(const std::string& title = "Mirrowvale");
  // The icon its window "Mirrowvale" gives the window manager (_NET_WM_ICON: width, height,
  // then one ARGB value a pixel, rows top down); empty without one.
  std::vector<unsigned long> windowIcon();

  const std::string& home() const { return home_; }
  std::string dataFolder() const { return home_ + "data/Brindlecor/Mirrowvale/"; }
  std::string log() const { return readLogs(dataFolder() + "log/"); }
  // What it wrote to standard error (its standard output goes to console.txt beside it).
  std::string errors() const;
  NodeRects rects() const { return readNodeRects(rectsPath()); }
  bool shown(const std::string& name) const;
  // The text of a shown label, or "".
  std::string textOf(const std::string& name) const;
  // Clicks the middle of a shown node; false when it is not shown.
  bool click(const std::string& name);
  XInput& input() { return input_; }

 private:
  std::string rectsPath() const { return home_ + "rects.txt"; }

  std::string display_;
  std::string home_;
  std::vector<std::pair<std::string, std::string>> env_;
  XInput input_;
  pid_t pid_ = -1;
  int status_ = -1;
};

}  // namespace mvtest
