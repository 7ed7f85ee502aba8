// Two players with filled boards on their own context: a recording hub, a
// recording screen that finishes effects at once, and a settable session.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Board.h"
#include "CapturedLog.h"
#include "CardTable.h"
#include "GameContext.h"
#include "logog/logog.hpp"
#include "player/Player.h"

class PlayerFixture : public ::testing::Test {
 protected:
  PlayerFixture() {
    ctx.setPlayerEvents(&events);
    ctx.setSpellEffects(&screen);
    ctx.setSession(&session);
    ctx.setTextLookup(&texts);
    session.local = &local;
    session.enemy = &enemy;
    for (auto [p, b] : {std::pair{&local, &localBoard}, std::pair{&enemy, &enemyBoard}}) {
      b->fill();
      b->setOwner(p);
      p->setBoard(b);
    }
  }

  // Centred cells: (0, 0) is the middle of the foundation, dy < 0 underground.
  static BoardElem* at(Board& b, int dx, int dy) { return b.cellAtCentred(dx, dy); }
  static BoardElem* block(Board& b, int dx, int dy, ElemKind kind = ElemKind::FourBlock) {
    BoardElem* e = at(b, dx, dy);
    e->setKind(kind);
    return e;
  }
  // A four-block with a room built by its card.
  static BoardElem* room(Board& b, int dx, int dy, int roomCard) {
    BoardElem* e = block(b, dx, dy);
    e->applyCard(roomCard);
    return e;
  }
  // Puts the player in a state without reports or automatic steps.
  void force(Player& p, PlayerState s) {
    p.setState(s);
    events.clear();
  }
  std::vector<std::pair<int, int>> switches(const Player& p) const {
    std::vector<std::pair<int, int>> out;
    for (const auto& c : events.callsOf("switchPlayerState"))
      if (c.player == &p) out.emplace_back(c.from, c.to);
    return out;
  }
  std::vector<std::string> messages() const {
    std::vector<std::string> out;
    for (const auto& c : events.callsOf("showPlayerMessage")) out.push_back(c.text);
    return out;
  }

  GameContext ctx{7};
  RecordingPlayerEvents events;
  RecordingSpellEffects screen{true};
  FixedSession session;
  MapTextLookup texts;
  Player local{ctx};
  Player enemy{ctx};
  Board localBoard{ctx};
  Board enemyBoard{ctx};
};

using LogCapture = CapturedLog;

inline int S(PlayerState s) { return static_cast<int>(s); }
