// Both towers built to the full: every in-play cell of a board a block (caves between
// them underground), rooms of every kind, three in ten burning, the rest with water at
// half height. For drawing tests and benchmarks of a crowded screen.
#pragma once

#include "Board.h"
#include "BoardElem.h"
#include "player/Player.h"

namespace mvtest {

inline void buildFullTower(Player& player, bool revealed) {
  Board* board = player.board();
  if (!board) return;
  static const ElemKind kKinds[] = {ElemKind::FourBlock, ElemKind::VertBlock, ElemKind::FourBlock,
                                    ElemKind::HorizBlock};
  static const RoomType kRooms[] = {RoomType::None,    RoomType::Crystal, RoomType::None,
                                    RoomType::Library, RoomType::Shield,  RoomType::None,
                                    RoomType::Housing, RoomType::Archmage};
  int n = 0;
  board->forEachElem([&](BoardElem& e) {
    if (!e.isInPlay()) return;
    ++n;
    const bool cave = e.isUnderground() && n % 5 == 0;
    e.setKind(cave ? ElemKind::Cave : kKinds[(e.x() + 2 * e.y()) % 4]);
    if (!cave) {
      e.setRoom(kRooms[n % 8]);
      e.setRoomPower(3);
      if (e.room() == RoomType::Library) e.setStoredCards({{10, 1}});
      e.setDamaged(n % 11 == 0);
      e.setRevealed(revealed);
    }
    // Three in ten burn; the rest stand in water at half height.
    if (n % 10 < 3 && !cave) {
      e.setBurning(true);
      e.refresh();
    } else {
      e.setWaterLevel(0.5f);
    }
  });
}

}  // namespace mvtest
