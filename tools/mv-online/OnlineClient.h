// One headless player of online play: the real network object, event hub, rules
// and replication, with recording screens, logging in through the lobby (the
// mailed code read from the lobby's outbox, or a fixed development code) and
// playing random legal moves through the hub's local entries. Frames are driven
// by the caller, so several clients can share one thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "EventDispatcher.h"
#include "GameScreen.h"
#include "game/GameSession.h"
#include "GameContext.h"
#include "LobbyScreen.h"
#include "LocalBot.h"
#include "Network.h"
#include "raknet/PluginInterface2.h"

struct OnlineClientOptions {
  std::string host = "127.0.0.1";
  unsigned short port = 3333;
  std::string email;
  std::string name;
  std::string devCode;  // used when set; else the code is read from the outbox
  std::string outbox;
  uint32_t seed = 1;
};

// Counts what a peer receives: the replication's messages and everything else.
class TrafficMeter : public RakNet::PluginInterface2 {
 public:
  RakNet::PluginReceiveResult OnReceive(RakNet::Packet* p) override;
  uint64_t replicaBytes = 0;
  uint64_t messageBytes = 0;
  uint64_t total() const { return replicaBytes + messageBytes; }
};

class OnlineClient {
 public:
  explicit OnlineClient(const OnlineClientOptions& options);
  ~OnlineClient();
  OnlineClient(const OnlineClient&) = delete;
  OnlineClient& operator=(const OnlineClient&) = delete;

  // Starts the network and enters the lobby (the login follows by itself); false
  // (logged) when the network cannot start.
  bool start();
  // One frame: the hub's update (the network's messages, the game), answers to
  // the lobby's prompts, and the bot's move while a game is on.
  void frame();

  EventDispatcher& hub() { return hub_; }
  Network& net();
  GameSession& game() { return ctx_.game(); }
  RecordingLobbyScreen& lobby() { return lobby_; }
  RecordingFlowHost& flow() { return flow_; }
  const TrafficMeter& traffic() const { return meter_; }
  // The replication bytes received up to the last start of a game on this side.
  uint64_t replicaBytesAtStart() const { return replicaBytesAtStart_; }
  // What the peer received on the wire so far (datagrams, compressed as they travel).
  uint64_t wireBytesReceived() const;
  const std::string& name() const { return options_.name; }

  bool loggedIn() const { return loggedIn_; }
  // The last game's end as shown ("YOU_WIN", "YOU_LOSE", "DRAW"), "" while none.
  const std::string& ended() const { return screen_.ended; }
  // The turn in which that game ended (the next game may have begun since).
  int endedTurn() const { return screen_.endedTurn; }
  void clearEnded() { screen_.ended.clear(); }
  // Chat lines received: "name: text".
  const std::vector<std::string>& chat() const { return screen_.chat; }
  int effectsShown() const { return screen_.effects; }
  // Whether the bot moves in games (on by default).
  void setPlaying(bool playing) { playing_ = playing; }

  // Called on the host right before each turn begin goes out, and on the joining
  // side right when one arrives (before it is taken).
  std::function<void()> onHostTurnBegin;
  std::function<void()> onJoinTurnBegin;

  // Ends the connection without a word, as a killed process would.
  void kill();

 private:
  class Screen : public NullGameScreen {
   public:
    void showSpellEffect(const AnimateSpellEvent&, Player&, SpellCompletion done) override {
      ++effects;
      done();
    }
    void showGameEnded(const std::string& text, GameResult) override {
      ended = text;
      endedTurn = game ? game->turn() : 0;
    }
    void addLogLine(const std::string& name, const std::string& text, LogColour) override {
      chat.push_back(name + ": " + text);
    }
    GameSession* game = nullptr;
    std::string ended;
    int endedTurn = 0;
    std::vector<std::string> chat;
    int effects = 0;
  };
  // The joining side waits at least this long after a move, and at most the
  // patience while a move of it would wait for the host's answer.
  static constexpr long kSettleMs = 15;
  static constexpr long kPatienceMs = 300;
  // The event hub, telling the client when a match starts on this side and when
  // the login is accepted.
  class Hub : public EventDispatcher {
   public:
    Hub(GameContext& context, OnlineClient& client) : EventDispatcher(context), client_(client) {}
    void onClientStart(const std::string& opponent) override;
    void onLoginAccepted() override;

   private:
    OnlineClient& client_;
  };

  void answerPrompt();
  void moveBot();
  std::string mailedCode() const;

  OnlineClientOptions options_;
  Screen screen_;
  RecordingFlowHost flow_;
  RecordingLobbyScreen lobby_;
  MemorySettings settings_;
  GameContext ctx_;
  Hub hub_{ctx_, *this};
  std::unique_ptr<Network> net_;
  TrafficMeter meter_;
  LocalBot bot_;
  // The joining side moves when no move of it would wait for the host's answer
  // (or a while has passed): its board is a copy that follows the host's.
  uint64_t trafficAtMove_ = 0;
  std::chrono::steady_clock::time_point lastMove_;
  uint64_t replicaBytesAtStart_ = 0;
  long framesSinceMove_ = 0;
  size_t promptsSeen_ = 0;
  bool codePending_ = false;
  bool loggedIn_ = false;
  bool playing_ = true;
  bool killed_ = false;
};
