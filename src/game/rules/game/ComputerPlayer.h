// The computer player: a random player. In each choosing state it makes one
// legal choice at random through the hub's computer entries, and it ends a
// phase when nothing is left to choose or after fifty picks.
#pragma once

class Player;

// Picks in one phase before the computer ends it; while ARCHMAGE is in the hand
// the card phase goes on past it (the first turn does not end without the archmage,
// and the rules always leave it a place there).
constexpr int kAiPickLimit = 50;

// One move of the computer for this frame. A pick is drawn at random among
// everything offered; one the rules would refuse (no place, no target, cannot
// pay) is never made but replaced at once by another draw, each counting as a
// pick, so a pick that reaches the hub is one of the legal choices, uniformly,
// and one call ends after at most one accepted pick (the pick limit ends the
// draws; while ARCHMAGE is in the hand, ARCHMAGE is among the legal choices).
void aiStep(Player& player);
