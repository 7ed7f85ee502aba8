// A filled board on its own context, with a recording observer.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

#include "Board.h"
#include "GameContext.h"

class BoardFixture : public ::testing::Test {
 protected:
  BoardFixture() : board(ctx) {
    ctx.setObserver(&events);
    board.fill();
    events.clear();
  }

  // (dx, dy) relative to the centre, as the tower is laid out.
  BoardElem* at(int dx, int dy) { return board.cellAtCentred(dx, dy); }
  BoardElem* build(int dx, int dy, ElemKind kind) {
    BoardElem* e = at(dx, dy);
    e->setKind(kind);
    return e;
  }
  // A column of four-blocks standing on the foundation at dx.
  void buildColumn(int dx, int height, ElemKind kind = ElemKind::FourBlock) {
    for (int dy = 0; dy < height; ++dy) build(dx, dy, kind);
  }
  // Every underground cell of the hall becomes a cave.
  void digHall() {
    board.forEachElem([](BoardElem& e) {
      if (e.isUnderground() && e.isInPlay()) e.setKind(ElemKind::Cave);
    });
  }
  float undergroundWater() const {
    float sum = 0;
    board.forEachElem([&sum](BoardElem& e) {
      if (e.isUnderground()) sum += e.waterLevel();
    });
    return sum;
  }

  GameContext ctx{1};
  RecordingBoardObserver events;
  Board board;
};
