// The computer player: a random player. In each choosing state it makes one
// legal choice at random through the hub's computer entries, and it ends a
// phase when nothing is left to choose or after fifty picks.
#pragma once

class Player;

// Picks in one phase before the computer ends it.
constexpr int kAiPickLimit = 50;
// Picks in one card phase while ARCHMAGE is in the hand (which the pick limit
// does not end); past it the computer gives up placing it, with a log line.
constexpr int kAiArchmagePickCap = 500;

// One move of the computer for this frame. A pick is drawn at random among
// everything offered; one the rules would refuse (no place, no target, cannot
// pay) is never made but replaced at once by another draw, each counting as a
// pick, so a pick that reaches the hub is one of the legal choices, uniformly,
// and one call ends after at most one accepted pick and a bounded number of
// draws.
void aiStep(Player& player);
