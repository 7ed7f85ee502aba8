// Two real game windows playing through mv-lobby: the lobby server on 127.0.0.1 with a data
// folder of its own, and two mirrowvale processes with data folders of their own, each on an
// X server of its own. They are driven only by mouse and key events at the places their
// screens report (MV_NODE_RECTS), and by what the server's outbox holds: both log in by
// typing the address, the mailed code and a name; each sees the other; one challenges, the
// other accepts, and they play turns through the bar, the board's highlights and the end of
// each phase, chat both ways, and one leaves through the in-game menu; a rematch is played
// and its joining window is killed, and the host is told and goes back to the menu; a second
// start logs both in from the remembered login without typing. At every turn begin the
// joining side's boards must equal the host's (MV_TURN_DIGESTS). Every wait is bounded;
// screenshots go to build/screenshots/.
#include <X11/keysym.h>
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "GameProcess.h"
#include "LobbyProcess.h"
#include "MatchDigest.h"
#include "PrivateDisplay.h"
#include "WindowTexts.h"

namespace {

using mvtest::button;
using mvtest::english;
using mvtest::GameProcess;
using mvtest::onlineButton;
using mvtest::screenshotPath;
using mvtest::NodeRects;
using mvtest::waitFor;

// How much longer than on a quiet machine a step may take before it counts as stuck: two
// games with sanitizers drawing in software share the machine with other suites.
constexpr double kPatience = 4;

// The login code of the newest mail to `email` in the outbox, or "".
std::string mailedCode(const std::string& outbox, const std::string& email) {
  DIR* dir = opendir(outbox.c_str());
  if (!dir) return "";
  std::vector<std::string> mails;
  while (dirent* e = readdir(dir)) {
    const std::string name = e->d_name;
    if (name.find(email) != std::string::npos && name.size() > 4 && name.compare(name.size() - 4, 4, ".txt") == 0)
      mails.push_back(name);
  }
  closedir(dir);
  if (mails.empty()) return "";
  std::sort(mails.begin(), mails.end());
  std::ifstream in(outbox + "/" + mails.back());
  std::stringstream text;
  text << in.rdbuf();
  std::smatch m;
  const std::string body = text.str();
  return std::regex_search(body, m, std::regex("code for the Mirrowvale lobby is ([0-9]+)")) ? m[1].str() : "";
}

// The turn digests a game wrote: turn -> digest, for the side named ("host" or "join").
std::map<int, std::string> readDigests(const std::string& path, const std::string& side) {
  std::map<int, std::string> out;
  std::ifstream in(path);
  std::string line, text;
  int turn = -1;
  bool taking = false;
  while (std::getline(in, line)) {
    int n = 0;
    char which[8] = {};
    if (!taking && std::sscanf(line.c_str(), "turn %d %7s", &n, which) == 2) {
      taking = side == which;
      turn = n;
      text.clear();
      if (!taking) {
        while (std::getline(in, line) && line != "end") {
        }
      }
      continue;
    }
    if (!taking) continue;
    if (line == "end") {
      out[turn] = text;
      taking = false;
    } else {
      text += line + "\n";
    }
  }
  return out;
}

struct Window {
  std::string name, email;
  std::unique_ptr<PrivateDisplay> display;
  std::string home;
  std::unique_ptr<GameProcess> game;
  std::string digests() const { return home + "digests.txt"; }
};

class TwoWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    lobby = std::make_unique<LobbyProcess>(10000);
    ASSERT_TRUE(lobby->running());
    const char* names[] = {"Alder", "Birch"};
    for (int i = 0; i < 2; ++i) {
      Window& w = windows[i];
      w.name = names[i];
      w.email = std::string(i ? "birch" : "alder") + "@windows.example";
      w.display = std::make_unique<PrivateDisplay>("1024x768x24");
      ASSERT_TRUE(w.display->ok()) << "cannot start Xvfb";
      w.home = mvtest::makeTempDir("mv_windows_" + w.name);
      startGame(w);
      ASSERT_TRUE(w.game->input().ready()) << "no XTEST extension on the display";
    }
  }

  void startGame(Window& w) {
    w.game = std::make_unique<GameProcess>(
        w.display->name(), w.home,
        std::vector<std::pair<std::string, std::string>>{
            {"MV_LOBBY_HOST", "127.0.0.1:" + std::to_string(lobby->port())}, {"MV_TURN_DIGESTS", w.digests()}});
    ASSERT_TRUE(w.game->start());
  }

  // Waits for done(), failing with what the window showed when it does not come.
  bool await(Window& w, const std::string& what, const std::function<bool()>& done, double seconds) {
    if (waitFor(done, seconds * kPatience)) return true;
    ADD_FAILURE() << w.name << ": " << what << " did not come; running " << w.game->running() << "\nlog:\n"
                  << w.game->log().substr(w.game->log().size() > 4000 ? w.game->log().size() - 4000 : 0)
                  << "\nlobby:\n" << lobby->log();
    w.game->input().screenshot(screenshotPath("e2e-stuck-" + w.name));
    return false;
  }

  // From the start to the lobby: the intro ended by ESC, a message on the menu closed by a
  // click, and the online button.
  bool reachLobby(Window& w) {
    return await(w, "the lobby", [&] {
      const NodeRects r = w.game->rects();
      auto shown = [&](const char* name) {
        auto it = r.find(name);
        return it != r.end() && it->second.shown;
      };
      if (shown("LOBBY::mainlayer") || shown("LOBBY::textfieldlayer")) return true;
      if (r.count("MENU::mainlayer") == 0) return false;  // still loading
      if (shown("MENU::fullscreenbtn"))
        w.game->input().click(4, 4);
      else if (shown(onlineButton().c_str()))
        w.game->click(onlineButton());
      else if (!shown("MENU::message"))
        w.game->input().press(XK_Escape);  // the intro runs
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      return false;
    }, 120);
  }

  // The text prompt shows, asking `key`.
  bool prompted(Window& w, const std::string& key) {
    return await(w, "the prompt " + key, [&] {
      return w.game->shown("LOBBY::textfieldlayer") && w.game->textOf("LOBBY::textprompt") == english(key);
    }, 30);
  }

  // The prompt's box is clicked (it takes the keys then) and the text typed.
  void typeAtPrompt(Window& w, const std::string& text) {
    ASSERT_TRUE(w.game->click("LOBBY::textfieldbg"));
    w.game->input().type(text);
  }

  // Typed into the box that has the keys, and sent with RETURN.
  void answer(Window& w, const std::string& text) {
    w.game->input().type(text);
    w.game->input().press(XK_Return);
  }

  // The first login: the address typed, the mailed code read from the outbox and typed, a name.
  void logIn(Window& w, bool screenshot) {
    ASSERT_TRUE(prompted(w, "INPUT_EMAIL"));
    typeAtPrompt(w, w.email);
    if (screenshot) {
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
      w.game->input().screenshot(screenshotPath("e2e-login-prompt"));
    }
    w.game->input().press(XK_Return);
    std::string code;
    ASSERT_TRUE(await(w, "the mailed code", [&] { return !(code = mailedCode(lobby->outbox(), w.email)).empty(); }, 30));
    ASSERT_TRUE(prompted(w, "INPUT_CODE"));
    typeAtPrompt(w, code);
    ASSERT_TRUE(w.game->click(button("OK")));
    ASSERT_TRUE(prompted(w, "INPUT_NAME"));
    typeAtPrompt(w, w.name);
    w.game->input().press(XK_Return);
    ASSERT_TRUE(await(w, "the player list", [&] { return w.game->shown("LOBBY::mainlayer"); }, 30));
  }

  // The row of the list that names `name`, or -1.
  int rowOf(Window& w, const std::string& name) {
    const NodeRects r = w.game->rects();
    for (int i = 0; r.count("LOBBY::username." + std::to_string(i)); ++i)
      if (r.at("LOBBY::username." + std::to_string(i)).text == name) return i;
    return -1;
  }
  bool sees(Window& w, const std::string& name) {
    const int row = rowOf(w, name);
    return row >= 0 && w.game->shown("LOBBY::userbutton." + std::to_string(row));
  }

  // `from` clicks the other's row, the other clicks Accept: both end on the game screen.
  void challengeAndAccept(Window& from, Window& to, const std::string& shots) {
    ASSERT_TRUE(await(from, "the other's row", [&] { return sees(from, to.name); }, 30));
    ASSERT_TRUE(from.game->click("LOBBY::userbutton." + std::to_string(rowOf(from, to.name))));
    ASSERT_TRUE(await(to, "the challenge", [&] {
      return to.game->shown("LOBBY::challengelayer") &&
             to.game->textOf("LOBBY::challengeprompt") == from.name + " " + english("CHALLENGES_YOU");
    }, 30));
    if (!shots.empty()) to.game->input().screenshot(screenshotPath(shots + "-challenge"));
    ASSERT_TRUE(to.game->click(button("LOBBY_ACCEPT")));
    for (Window* w : {&from, &to})
      ASSERT_TRUE(await(*w, "the game screen", [&] { return w->game->shown("GUI::ourlayer"); }, 60));
  }

  // How many matches a window's log says it started, and as which side the last.
  int startsIn(Window& w) {
    const std::string log = w.game->log();
    int n = 0;
    for (size_t at = 0; (at = log.find("starting game as ", at)) != std::string::npos; ++at) ++n;
    return n;
  }
  bool hostsLast(Window& w) {
    const std::string log = w.game->log();
    return log.rfind("starting game as server") != std::string::npos &&
           (log.rfind("starting game as client") == std::string::npos ||
            log.rfind("starting game as server") > log.rfind("starting game as client"));
  }

  // Every turn begin both sides wrote agrees; the number of turns compared.
  int compareTurns(Window& host, Window& join) {
    const std::map<int, std::string> hostTurns = readDigests(host.digests(), "host");
    const std::map<int, std::string> joinTurns = readDigests(join.digests(), "join");
    int compared = 0;
    for (const auto& [turn, text] : joinTurns) {
      auto it = hostTurns.find(turn);
      if (it == hostTurns.end()) continue;
      ++compared;
      EXPECT_EQ(digest::firstDifference(text, it->second), "") << "turn " << turn;
    }
    return compared;
  }


  // ---- Playing through the in-game screen

  static bool shownIn(const NodeRects& r, const std::string& name) {
    auto it = r.find(name);
    return it != r.end() && it->second.shown;
  }
  static std::string textIn(const NodeRects& r, const std::string& name) {
    auto it = r.find(name);
    return it != r.end() && it->second.shown ? it->second.text : std::string();
  }
  static bool inside(const mvtest::NodeRect& outer, float x, float y) {
    return x >= outer.x && x <= outer.x + outer.w && y >= outer.y && y <= outer.y + outer.h;
  }
  static bool onGameScreen(const NodeRects& r) { return shownIn(r, "GUI::menubtn"); }

  // The lines of the game log, oldest first.
  static std::vector<std::string> logLines(const NodeRects& r) {
    std::vector<std::string> out;
    for (int i = 0; r.count("LOG::line." + std::to_string(i)); ++i) out.push_back(r.at("LOG::line." + std::to_string(i)).text);
    return out;
  }
  // The turn the log last announced (from 1), or 0.
  static int announcedTurn(const NodeRects& r) {
    const std::vector<std::string> lines = logLines(r);
    const std::regex turn(english("TURN") + " ([0-9]+)");
    std::smatch m;
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
      if (std::regex_match(*it, m, turn)) return std::stoi(m[1].str());
    return 0;
  }

  // What a player acts on: the choices shown, the bar's phase, the log's length, a message.
  static std::string sight(const NodeRects& r) {
    std::string out;
    for (const auto& [name, rect] : r)
      if (rect.shown && (name.rfind("BUTTON::", 0) == 0 || name.rfind("HIGHLIGHT.", 0) == 0)) out += name + ";";
    for (const char* name : {"GUI::sequencename", "GUI::fullscreenmessage", "GUI::message"})
      out += std::string("|") + textIn(r, name);
    return out + "|" + std::to_string(logLines(r).size());
  }

  // A point of the window clear of every control drawn over the board.
  static bool clearOfControls(const NodeRects& r, float x, float y) {
    if (x < 8 || y < 8 || x > 1016 || y > 760) return false;
    for (const char* over : {"GUI::turnseq", "GUI::chatlog", "GUI::chattextfieldbg", "GUI::menubtn", "GUI::cancelbtn",
                             "GUI::okbtn", "GUI::manacounter", "GUI::dwarvescounter", "GUI::message", "GUI::submessage",
                             "GUI::notification_sprite", "GUI::notification_name", "GUI::notification_desc"})
      if (shownIn(r, over) && inside(r.at(over), x, y)) return false;
    return true;
  }

  struct Play {
    int pickedTurn = -1;  // the turn whose placement phase played a card
  };

  // One look at the window and at most one click or key: a message closed, a highlighted
  // element chosen, the bar's first card once in each placement phase, else the phase
  // ended. False when there was nothing to do.
  bool playStep(Window& w, Play& play) {
    const NodeRects r = w.game->rects();
    if (!onGameScreen(r)) return false;
    auto act = [&](const std::function<void()>& doIt) {
      doIt();
      // The next look must not act on what the screen showed before this act.
      const std::string before = sight(r);
      waitFor([&] { return sight(w.game->rects()) != before; }, 5 * kPatience);
      return true;
    };
    if (shownIn(r, "GUI::fullscreenmessage")) {
      const mvtest::NodeRect& m = r.at("GUI::fullscreenmessage");
      return act([&] { w.game->input().click(m.midX(), m.midY()); });
    }
    if (shownIn(r, button("OK"))) return act([&] { w.game->click(button("OK")); });
    // A message's own OK is a plain tick without a caption (the thanks for an unlocked card).
    if (shownIn(r, "GUI::okbtn")) return act([&] { w.game->click("GUI::okbtn"); });
    bool offered = false;
    for (int i = 0; r.count("HIGHLIGHT." + std::to_string(i)); ++i) {
      const mvtest::NodeRect& h = r.at("HIGHLIGHT." + std::to_string(i));
      offered = true;
      if (clearOfControls(r, h.midX(), h.midY())) {
        ++choicesClicked;
        return act([&] { w.game->input().click(h.midX(), h.midY()); });
      }
    }
    if (offered) return act([&] { w.game->input().press(XK_1); });  // none in sight: its digit
    const std::string endPhase = button("END_PHASE");
    if (!shownIn(r, endPhase) || !shownIn(r, "GUI::turnseq")) return false;
    const mvtest::NodeRect& bar = r.at("GUI::turnseq");
    const int turn = announcedTurn(r);
    if (textIn(r, "GUI::sequencename") == english("PLACE_PHASE") && play.pickedTurn != turn && shownIn(r, "BUTTON::1") &&
        inside(bar, r.at("BUTTON::1").midX(), r.at("BUTTON::1").midY())) {
      play.pickedTurn = turn;
      return act([&] { w.game->click("BUTTON::1"); });
    }
    const mvtest::NodeRect& end = r.at(endPhase);
    if (inside(bar, end.midX(), end.midY())) {
      ++phasesEnded;
      return act([&] { w.game->click(endPhase); });
    }
    return act([&] { w.game->input().press(XK_Return); });
  }

  // Both play until the joining side has seen `turns` turn begins the host also wrote;
  // `during(turnsSoFar)` runs between looks. Fails when nothing moves for too long.
  bool playTurns(Window& host, Window& join, int turns, const std::function<void(int)>& during = {}) {
    Play plays[2];
    auto stuckFor = std::chrono::steady_clock::now();
    std::string seen;
    for (;;) {
      const int compared = comparableTurns(host, join);
      if (compared >= turns) return true;
      if (during) during(compared);
      playStep(host, plays[0]);
      playStep(join, plays[1]);
      for (Window* w : {&host, &join})
        if (!w->game->running()) {
          ADD_FAILURE() << w->name << " ended during the match\n" << w->game->log();
          return false;
        }
      // Progress: a turn, or something either player acts on changed.
      const std::string nowSeen =
          std::to_string(compared) + "/" + sight(host.game->rects()) + "/" + sight(join.game->rects());
      const auto now = std::chrono::steady_clock::now();
      if (nowSeen != seen) {
        seen = nowSeen;
        stuckFor = now;
      } else if (now - stuckFor > std::chrono::duration<double>(60 * kPatience)) {
        for (Window* w : {&host, &join}) w->game->input().screenshot(screenshotPath("e2e-stuck-" + w->name));
        ADD_FAILURE() << "the match stopped after " << compared << " turns; host sees " << sight(host.game->rects())
                      << "\njoin sees " << sight(join.game->rects()) << "\nhost log:\n" << host.game->log();
        return false;
      } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
      }
    }
  }

  // Turn begins the joining side wrote that the host wrote too.
  int comparableTurns(Window& host, Window& join) {
    const std::map<int, std::string> hostTurns = readDigests(host.digests(), "host");
    int n = 0;
    for (const auto& entry : readDigests(join.digests(), "join")) n += hostTurns.count(entry.first) > 0;
    return n;
  }

  // `from` types a line into its chat bar and sends it with RETURN; the other's log shows it
  // under `from`'s name.
  void chat(Window& from, Window& to, const std::string& line) {
    // A card picked just before the look hides the chat bar for its target's choice; the
    // choice's cancel button brings the bar back (at most once a second, as the report lags).
    auto lastCancel = std::chrono::steady_clock::now() - std::chrono::seconds(2);
    ASSERT_TRUE(await(from, "the chat bar", [&] {
      if (from.game->shown("GUI::chattextfieldbg")) return true;
      const auto now = std::chrono::steady_clock::now();
      if (now - lastCancel > std::chrono::seconds(1) && from.game->click("GUI::cancelbtn")) lastCancel = now;
      return false;
    }, 20));
    // Typed only once the box has the keys, as a person waits for its caret; a click that
    // came while the screen was busy is made again.
    const auto opened = [&] {
      const std::string log = from.game->log();
      size_t n = 0;
      for (size_t at = log.find("GUI::chat box opened"); at != std::string::npos; at = log.find("GUI::chat box opened", at + 1)) ++n;
      return n;
    };
    const size_t before = opened();
    auto lastClick = std::chrono::steady_clock::now() - std::chrono::seconds(2);
    ASSERT_TRUE(await(from, "the chat box open", [&] {
      if (opened() > before) return true;
      const auto now = std::chrono::steady_clock::now();
      if (now - lastClick > std::chrono::seconds(2) && from.game->click("GUI::chattextfieldbg")) lastClick = now;
      return false;
    }, 20));
    answer(from, line);
    ASSERT_TRUE(await(from, "our line in our log", [&] {
      const std::vector<std::string> lines = logLines(from.game->rects());
      return std::count(lines.begin(), lines.end(), english("YOU") + ": " + line) == 1;
    }, 20));
    ASSERT_TRUE(await(to, "the other's line in the log", [&] {
      const std::vector<std::string> lines = logLines(to.game->rects());
      return std::count(lines.begin(), lines.end(), from.name + ": " + line) == 1;
    }, 20));
  }

  // Clears both windows' turn digests (a new match counts its turns from 0).
  void forgetDigests() {
    for (Window& w : windows) unlink(w.digests().c_str());
  }

  std::unique_ptr<LobbyProcess> lobby;
  Window windows[2];
  // Highlighted elements chosen and phases ended by a click.
  int choicesClicked = 0, phasesEnded = 0;
};

TEST_F(TwoWindows, LogInPlayChatForfeitRematchLoseTheOtherAndComeBackWithoutTyping) {
  Window& alder = windows[0];
  Window& birch = windows[1];

  // ---- Login, typed.
  for (Window* w : {&alder, &birch}) ASSERT_TRUE(reachLobby(*w));
  logIn(alder, true);
  logIn(birch, false);
  ASSERT_TRUE(await(alder, "Birch in the list", [&] { return sees(alder, birch.name); }, 30));
  ASSERT_TRUE(await(birch, "Alder in the list", [&] { return sees(birch, alder.name); }, 30));
  EXPECT_EQ(alder.game->textOf("LOBBY::onlinecount"), "2");
  alder.game->input().screenshot(screenshotPath("e2e-player-list"));

  // ---- A match: Alder challenges, Birch accepts; five turns and more, a chat both ways.
  challengeAndAccept(alder, birch, "e2e");
  {
    Window& host = hostsLast(alder) ? alder : birch;
    Window& join = &host == &alder ? birch : alder;
    ASSERT_TRUE(hostsLast(host));
    ASSERT_FALSE(hostsLast(join));
    bool chatted = false;
    ASSERT_TRUE(playTurns(host, join, 6, [&](int turns) {
      // Only while both show the chat bar: only their own clicks hide it (a target's choice).
      if (chatted || turns < 2 || !alder.game->shown("GUI::chattextfieldbg") || !birch.game->shown("GUI::chattextfieldbg"))
        return;
      chatted = true;
      chat(alder, birch, "Good luck from Alder");
      chat(birch, alder, "And to you, Alder!");
      host.game->input().screenshot(screenshotPath("e2e-match-host"));
      join.game->input().screenshot(screenshotPath("e2e-match-join"));
    }));
    EXPECT_TRUE(chatted);
    EXPECT_GE(compareTurns(host, join), 6);
    // Both placed a card in most turns and ended their phases on the bar.
    EXPECT_GE(choicesClicked, 8);
    EXPECT_GE(phasesEnded, 12);
    std::printf("first match: %d turn begins compared, %d board choices and %d phase ends clicked\n",
                compareTurns(host, join), choicesClicked, phasesEnded);
  }

  // ---- Birch leaves through the in-game menu: Birch goes to the menu and on to the lobby,
  // Alder is told in the lobby.
  ASSERT_TRUE(birch.game->click("GUI::menubtn"));
  ASSERT_TRUE(await(birch, "the in-game menu", [&] { return birch.game->shown(button("MENU_EXIT_TO_MENU")); }, 20));
  ASSERT_TRUE(birch.game->click(button("MENU_EXIT_TO_MENU")));
  ASSERT_TRUE(reachLobby(birch));
  ASSERT_TRUE(await(alder, "the forfeit notice in the lobby", [&] {
    return alder.game->textOf("LOBBY::message") == english("OPPONENT_FORFEIT");
  }, 40));
  alder.game->input().screenshot(screenshotPath("e2e-forfeit-notice"));
  ASSERT_TRUE(await(alder, "the lobby after the notice", [&] {
    if (alder.game->shown("LOBBY::fullscreenbtn")) alder.game->click("LOBBY::fullscreenbtn");
    return alder.game->shown("LOBBY::mainlayer") && !alder.game->shown("LOBBY::message");
  }, 20));
  for (Window* w : {&alder, &birch}) EXPECT_FALSE(w->game->shown("GUI::menubtn")) << w->name;

  // ---- A rematch, Birch challenging: played a while, then the joining window vanishes;
  // the host is told and goes back to the menu.
  forgetDigests();
  challengeAndAccept(birch, alder, "");
  Window& host = hostsLast(birch) ? birch : alder;
  Window& join = &host == &alder ? birch : alder;
  ASSERT_TRUE(hostsLast(host));
  ASSERT_TRUE(playTurns(host, join, 2));
  EXPECT_GE(compareTurns(host, join), 2);
  join.game->kill();
  ASSERT_TRUE(await(host, "the disconnect notice", [&] {
    return host.game->shown("MENU::message") && host.game->textOf("MENU::message") == english("OPPONENT_DISCONNECTED");
  }, 40));
  EXPECT_FALSE(host.game->shown("GUI::menubtn"));
  host.game->input().screenshot(screenshotPath("e2e-disconnect-notice"));
  host.game->input().click(4, 4);
  ASSERT_TRUE(await(host, "the menu", [&] { return host.game->shown(onlineButton()); }, 20));

  // ---- A second start of both: the remembered login, nothing typed.
  ASSERT_TRUE(waitFor([&] { return host.game->requestWindowClose(); }, 30));
  ASSERT_NE(host.game->waitExit(30 * kPatience), -1) << "the host did not end";
  for (Window* w : {&alder, &birch}) {
    startGame(*w);
    ASSERT_TRUE(reachLobby(*w));
  }
  for (Window* w : {&alder, &birch}) {
    Window& other = w == &alder ? birch : alder;
    ASSERT_TRUE(await(*w, "the list without a prompt", [&] {
      EXPECT_FALSE(w->game->shown("LOBBY::textfieldlayer")) << w->name << " was asked to type";
      return sees(*w, other.name);
    }, 60));
  }
}

}  // namespace
