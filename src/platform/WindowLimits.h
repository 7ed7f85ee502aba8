// The smallest window the game's screens fit in: every screen keeps its buttons and panels
// inside it and apart (the lobby's list and buttons need the width, the start of a
// skirmish's bar with its End Phase the height).
#pragma once

namespace mv {

constexpr int kMinWindowWidth = 960;
constexpr int kMinWindowHeight = 750;

}  // namespace mv
