#include "game/TowerLayout.h"

#include "Board.h"
#include "logog/logog.hpp"
#include "player/Player.h"

TowerLayout::TowerLayout(Player& player) : player_(player) {}

BoardElem* TowerLayout::at(int dx, int dy) const {
  Board* board = player_.board();
  BoardElem* e = board ? board->cellAtCentred(dx, dy) : nullptr;
  if (!e) LOGOG_ERROR("start layout: no element at (%d, %d)", dx, dy);
  return e;
}

void TowerLayout::block(int dx, int dy, ElemKind kind) {
  if (BoardElem* e = at(dx, dy)) e->setKind(kind);
}

void TowerLayout::card(int dx, int dy, int cardId) {
  if (BoardElem* e = at(dx, dy)) e->applyCard(cardId);
}

void TowerLayout::ignite(int dx, int dy) {
  if (BoardElem* e = at(dx, dy)) e->ignite();
}
