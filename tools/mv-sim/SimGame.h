// One headless game: its own context and event hub, the local bot on one side
// and the mode's computer player on the other, played frame by frame until it
// ends, reaches the turn cap or stalls.
#pragma once

#include <cstdint>
#include <string>

class GameContext;

// Looks on at a game: once it has started, after each frame and at its end, while
// its context lives (a test follows the game's replication this way).
class SimWatcher {
 public:
  virtual ~SimWatcher() = default;
  virtual void started(GameContext&) {}
  virtual void frame(GameContext&) {}
  virtual void ended(GameContext&) {}
};

struct SimOptions {
  int maxTurns = 60;
  // Frames without any move before a game counts as stalled.
  int stallFrames = 5000;
  // Check the invariants after every frame.
  bool checkInvariants = false;
  SimWatcher* watcher = nullptr;
};

struct SimResult {
  enum class End { Won, Lost, Draw, TurnCap, Stalled };
  End end = End::Stalled;
  int turn = 0;
  long frames = 0;
  int brokenInvariants = 0;
  std::string firstBroken;  // what broke first, for the report
  uint64_t digest = 0;      // final boards, counters, turn and end
  bool completed = false;   // a tutorial reached the end of its script
};

// Plays game `index` of mode `modeId`, seeded from `seed` and the index.
SimResult playGame(const std::string& modeId, uint32_t seed, int index, const SimOptions& options);

// The seed of game `index` of a run seeded with `seed`.
uint32_t gameSeed(uint32_t seed, int index);
