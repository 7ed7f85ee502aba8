// What must hold between any two frames of a game: the boards' counters match
// their elements, every element that is not open air lies in its board's
// reach, rooms hold no more cards than their power, states are states, and the
// offered elements lie on the board they are offered on.
#pragma once

#include <string>

class GameSession;

// The first broken invariant, or an empty string.
std::string checkInvariants(const GameSession& game);
