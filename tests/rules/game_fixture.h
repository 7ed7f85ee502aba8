// A context of its own with the headless hub, for tests of whole games.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Board.h"
#include "GameContext.h"
#include "game/ComputerPlayer.h"
#include "game/GameDirector.h"
#include "game/GameSession.h"
#include "game/HeadlessHub.h"
#include "logog/logog.hpp"
#include "player/Player.h"

// Collects the log lines written while it lives.
class GameLog {
 public:
  GameLog() {
    logog::Initialize();
    target_ = std::make_unique<logog::StringTarget>();
    target_->SetFormatter(formatter_);
  }
  ~GameLog() {
    target_.reset();
    logog::Shutdown();
  }
  std::vector<std::string> lines() const { return target_->Lines(); }
  // Lines holding `text`.
  std::vector<std::string> find(const std::string& text) const {
    std::vector<std::string> out;
    for (const std::string& l : lines())
      if (l.find(text) != std::string::npos) out.push_back(l);
    return out;
  }

 private:
  logog::FormatterGCC formatter_;
  std::unique_ptr<logog::StringTarget> target_;
};

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
