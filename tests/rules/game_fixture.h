// A context of its own with the headless hub, for tests of whole games.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Board.h"
#include "CapturedLog.h"
#include "GameContext.h"
#include "game/ComputerPlayer.h"
#include "game/GameDirector.h"
#include "game/GameSession.h"
#include "game/HeadlessHub.h"
#include "logog/logog.hpp"
#include "player/Player.h"

using GameLog = CapturedLog;

class GameFixture : public ::testing::Test {
 protected:
  explicit GameFixture(uint32_t seed = 7) : ctx(seed), hub(ctx) {}

  GameSession& game() { return ctx.game(); }
  Player& local() { return *game().localPlayer(); }
  Player& enemy() { return *game().enemyPlayer(); }
  BoardElem* localAt(int dx, int dy) { return local().board()->cellAtCentred(dx, dy); }
  BoardElem* enemyAt(int dx, int dy) { return enemy().board()->cellAtCentred(dx, dy); }

  bool start(const std::string& mode) { return game().newGame(false, GameDirector::create(mode)); }

  // One frame: the computer's move, then the local side played by the
  // computer's rules too, when its state need not wait.
  void frame() {
    game().update();
    if (game().started() && game().bothPlayers() &&
        !Player::mustWaitFor(local().state(), enemy().state()))
      aiStep(local());
  }
  // Frames until the game ends or `limit` have run; returns the frames run.
  int playOut(int limit) {
    int frames = 0;
    while (game().started() && frames < limit) {
      frame();
      ++frames;
    }
    return frames;
  }

  GameContext ctx;
  HeadlessHub hub;
};
