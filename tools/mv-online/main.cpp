// mv-online: a headless online player. Logs in to a lobby server, asks for a quick
// match, plays random legal moves for a number of games (asking for a rematch
// after each), then leaves. Two of them against one mv-lobby play a whole match.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "OnlineClient.h"
#include "game/GameSession.h"
#include "logog/logog.hpp"

namespace {

void usage() {
  std::printf(
      "usage: mv-online --email ADDRESS --name NAME [options]\n"
      "  --host HOST          the lobby server (default 127.0.0.1)\n"
      "  --port PORT          its UDP port (default 3333)\n"
      "  --dev-code CODE      the code the lobby gives every login (its --dev-code)\n"
      "  --outbox DIR         where the lobby writes its mails (the code is read there)\n"
      "  --games N            games to play (default 1)\n"
      "  --seed S             the bot's seed (default 1)\n"
      "  --max-seconds T      give up after T seconds (default 120)\n");
}

}  // namespace

int main(int argc, char** argv) {
  OnlineClientOptions options;
  int games = 1;
  long maxSeconds = 120;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      usage();
      return 0;
    }
    if (i + 1 >= argc) {
      std::fprintf(stderr, "mv-online: %s needs a value\n", arg.c_str());
      return 2;
    }
    const char* value = argv[++i];
    if (arg == "--host") options.host = value;
    else if (arg == "--port") options.port = static_cast<unsigned short>(std::atoi(value));
    else if (arg == "--email") options.email = value;
    else if (arg == "--name") options.name = value;
    else if (arg == "--dev-code") options.devCode = value;
    else if (arg == "--outbox") options.outbox = value;
    else if (arg == "--games") games = std::atoi(value);
    else if (arg == "--seed") options.seed = static_cast<uint32_t>(std::strtoul(value, nullptr, 10));
    else if (arg == "--max-seconds") maxSeconds = std::atol(value);
    else {
      std::fprintf(stderr, "mv-online: unknown option %s\n", arg.c_str());
      usage();
      return 2;
    }
  }
  if (options.email.empty() || options.name.empty() || (options.devCode.empty() && options.outbox.empty()) ||
      options.port == 0 || games < 1) {
    usage();
    return 2;
  }

  logog::Initialize();
  int rc = 1;
  {
    logog::Cout console;
    logog::FormatterGCC formatter;
    console.SetFormatter(formatter);

    OnlineClient client(options);
    const bool started = client.start();
    if (!started) std::printf("the network could not start\n");
    // Without a network no frame comes; the loop ends at once.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(started ? maxSeconds : 0);
    bool asked = false;
    int played = 0, turns = 0;
    while (std::chrono::steady_clock::now() < until) {
      client.frame();
      if (client.loggedIn() && !asked && client.hub().flowState() == FlowState::Lobby) {
        client.hub().requestQuickMatch();
        asked = true;
      }
      // A game that ended counts even when the other side's leaving, taken in the
      // same frame, has already moved this side on from the game's end.
      if (!client.ended().empty()) {
        ++played;
        turns += client.endedTurn();
        std::printf("game %d: %s after %d turns\n", played, client.ended().c_str(), client.endedTurn());
        client.clearEnded();
        if (played >= games) {
          rc = 0;
          break;
        }
        // The host asks for a rematch, the other side waits.
        if (client.hub().flowState() == FlowState::GameOver) client.hub().onMessageOk();
      }
      if (asked && client.hub().flowState() == FlowState::Menu) {
        std::printf("the match ended early\n");
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::printf("games %d turns %d bytes received: replication %llu, messages %llu\n", played, turns,
                static_cast<unsigned long long>(client.traffic().replicaBytes),
                static_cast<unsigned long long>(client.traffic().messageBytes));
    if (rc == 0) client.hub().exitToMenu();
    for (int i = 0; i < 20; ++i) client.frame();
  }
  logog::Shutdown();
  return rc;
}
