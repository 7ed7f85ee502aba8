// A game context with its own event hub, watched through recording screen,
// match and lobby links, flow host and board view.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "Board.h"
#include "CapturedLog.h"
#include "CardTable.h"
#include "EventDispatcher.h"
#include "GameContext.h"
#include "GameScreen.h"
#include "LobbyLink.h"
#include "game/GameDirector.h"
#include "game/GameSession.h"
#include "logog/logog.hpp"
#include "player/Player.h"
#include "ports/MatchLink.h"

using HubLog = CapturedLog;

class HubFixture : public ::testing::Test {
 protected:
  HubFixture() {
    hub.setScreen(&screen);
    ctx.setMatchLink(&link);
    hub.setLobbyLink(&lobbyLink);
    hub.setFlowHost(&flow);
    hub.setBoardView(&view);
  }

  GameSession& game() { return ctx.game(); }
  Player& local() { return *game().localPlayer(); }
  Player& enemy() { return *game().enemyPlayer(); }
  BoardElem* localAt(int dx, int dy) { return local().board()->cellAtCentred(dx, dy); }

  // A game against the computer, through the hub.
  void startOffline(const std::string& mode = "skirmish") {
    ASSERT_TRUE(hub.startSingleGame(mode));
    clearRecords();
  }
  // A network match, hosted here or joined.
  void startOnline(bool hosting) {
    link.hosting = hosting;
    game().newGame(true, GameDirector::create("skirmish"));
    hub.setFlowState(FlowState::InGame);
    if (!hosting) hostAnswers();
    clearRecords();
  }
  // Joining side: the host's word on the local player has caught up with it.
  void hostAnswers() { hostSays(local().state()); }
  // Joining side: the host's word on the local player, with the counters it has here.
  void hostSays(PlayerState state) { local().setHostWord(state, local().mana(), local().dwarves()); }
  // Puts both players in the given states without the hub hearing of it
  // (automatic steps of the rules still apply).
  void arrange(PlayerState localState, PlayerState enemyState) {
    ctx.setPlayerEvents(nullptr);
    local().setState(localState);
    enemy().setState(enemyState);
    if (!link.hosting) hostAnswers();
    ctx.setPlayerEvents(&hub);
    clearRecords();
  }
  void clearRecords() {
    screen.clear();
    flow.clear();
    link.clearSent();
    lobbyLink.clearSent();
    view.clear();
  }
  bool shown(const std::string& call) const { return screen.count(call) > 0; }
  // True when `calls` appear in the screen's calls in this order (others between).
  bool shownInOrder(const std::vector<std::string>& calls) const {
    const std::vector<std::string> seen = screen.callNames();
    auto at = seen.begin();
    for (const std::string& c : calls) {
      at = std::find(at, seen.end(), c);
      if (at == seen.end()) return false;
      ++at;
    }
    return true;
  }
  int handOf(Player& p, int card) const {
    return static_cast<int>(std::count(p.cards().begin(), p.cards().end(), card));
  }

  // Declared before the context: the context's game may still use them as it goes.
  RecordingGameScreen screen{true};
  RecordingMatchLink link;
  RecordingLobbyLink lobbyLink;
  RecordingFlowHost flow;
  RecordingBoardObserver view;
  GameContext ctx{11};
  EventDispatcher hub{ctx};
};

inline const char* name(PlayerState s) { return stateName(s); }
