// The two attacks on the mv-lobby program whose cost is measured (time, memory),
// shared by the tests, which hold them to generous bounds, and the benchmark, which
// reports the figures.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <string>

class LobbyProcess;

// A process's "VmRSS" or "VmHWM" (its peak), in kB; -1 when unknown.
long memoryKb(pid_t pid, const std::string& field);

struct FloodFigures {
  bool ready = false;         // the pair played and the flooder logged in
  bool flooderCut = false;    // the server closed the flooder (every attacker)
  bool pairIntact = false;    // the other pair is still connected
  double cutAfterMs = -1;     // from the first flood to the close
  int chats = 0;              // relayed between the other pair during the attack
  int delivered = 0;
  double p50Ms = 0, p99Ms = 0, maxMs = 0;
  long growthKb = 0;          // the server's peak memory over its size before
};

// A logged-in client sends one-byte messages as fast as it can for `seconds` while
// the host of another pair's match sends it a chat line every 5 ms; `compressed`:
// through a deflate stream granted in the greeting.
FloodFigures floodAttack(const LobbyProcess& lobby, double seconds, bool compressed = false);

// `connections` clients granted compression each send `packets` packets that
// inflate to `inflated` bytes (as one stream), while the other pair chats as above.
FloodFigures bombAttack(const LobbyProcess& lobby, double seconds, int connections, int packets,
                        std::size_t inflated);

// The pair's figures while `attack` runs, called again and again for `seconds` with
// the time since the start; it returns true once every attacker has been cut off.
// False `ready` when the pair could not start a match.
FloodFigures pairUnderAttack(const LobbyProcess& lobby, double seconds,
                             const std::function<bool(double seconds)>& attack);

struct StallFigures {
  bool ready = false;
  bool hostTold = false;  // the host got "opponent disconnected"
  int resultCode = -1;
  bool hostIntact = false;
  double seconds = 0;     // until the host was told
  size_t sentKb = 0;
  long growthKb = 0;
};

// The joiner of a match stops reading while the host sends card lists of some
// 240 kB, paced below its own limit, until told or `maxSeconds` pass.
StallFigures stalledReaderAttack(const LobbyProcess& lobby, double maxSeconds);
