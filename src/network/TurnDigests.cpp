#include "TurnDigests.h"

#include <cstdlib>
#include <fstream>
#include <string>

#include "EventDispatcher.h"
#include "MatchDigest.h"
#include "Network.h"
#include "game/GameSession.h"
#include "logog/logog.hpp"

void startTurnDigestsFromEnvironment(Network& network, EventDispatcher& hub) {
  const char* path = std::getenv("MV_TURN_DIGESTS");
  if (!path || !*path) return;
  const std::string file = path;
  LOGOG_INFO("turn digests are written to %s", file.c_str());
  network.setTurnWatcher([file, &hub](bool hosting) {
    GameSession& game = hub.game();
    // The joining side is told of a turn before it counts it.
    const int turn = hosting ? game.turn() : game.turn() + 1;
    std::ofstream out(file, std::ios::app);
    out << "turn " << turn << (hosting ? " host\n" : " join\n")
        << (hosting ? digest::hostView(game) : digest::joinView(game)) << "end\n";
    if (!out) LOGOG_WARN("the turn digest could not be written to %s", file.c_str());
  });
}
