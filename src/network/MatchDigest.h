// What both machines of a match must agree on, as text: a board's elements and a
// player's counters, hand and (for the host's own player) its choices. Equal
// digests mean the joining side shows the host's game. For tests and tools.
#pragma once

#include <string>

class Board;
class GameSession;
class Player;

namespace digest {

std::string board(const Board* board);
// `full`: the choices too (what the host replicates of its own player);
// `withState`: the player state; `withCards`: the hand.
std::string player(const Player* player, bool full, bool withState, bool withCards = true);
// The first line in which two digests differ, or "" when they are equal.
std::string firstDifference(const std::string& a, const std::string& b);
// Everything of a match both sides must agree on at a turn begin, as the host sees it: its
// own player in full, the other side's counters and hand, both boards. hostView reads it on
// the host, joinView on the joining side (whose enemy is the host's own player).
std::string hostView(GameSession& game);
std::string joinView(GameSession& game);

}  // namespace digest
