// Builds a start tower on a player's board, in centred coordinates: (dx, dy)
// is the cell (20 + dx, 20 + dy); dy < 0 lies underground.
#pragma once

#include "BoardElem.h"

class Player;

class TowerLayout {
 public:
  explicit TowerLayout(Player& player);

  // The element at (dx, dy) takes the kind.
  void block(int dx, int dy, ElemKind kind);
  // The card is placed on the element at (dx, dy) as a player would place it
  // (a room card builds the room, DOORS the doors).
  void card(int dx, int dy, int cardId);
  // The element at (dx, dy) catches fire.
  void ignite(int dx, int dy);

 private:
  BoardElem* at(int dx, int dy) const;
  Player& player_;
};
