// mv-sim: whole games headless through the event hub. The local side is
// played by a bot through the hub's local entries, the other by the mode's
// computer player. Prints one summary line; exits non-zero when a game stalls
// or an invariant breaks.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "CardTable.h"
#include "SimGame.h"
#include "game/GameModeTable.h"
#include "logog/logog.hpp"

namespace {

struct Options {
  std::vector<std::string> modes;
  int games = 100;
  uint32_t seed = 1;
  int threads = 1;
  int maxTurns = 60;
  bool cards = false;
  bool help = false;
};

void usage(std::FILE* out) {
  std::fprintf(out,
               "usage: mv-sim [--mode NAME|all] [--games N] [--seed S] [--threads T]\n"
               "              [--max-turns M] [--cards] [--help]\n"
               "modes: tutorial");
  for (const GameModeRecord& m : GameModeTable)
    if (*m.modeId) std::fprintf(out, " %s", m.modeId);
  std::fprintf(out, "\n");
}

bool knownMode(const std::string& id) {
  if (id == "tutorial") return true;  // not a scenario row: it has a button of its own
  for (const GameModeRecord& m : GameModeTable)
    if (*m.modeId && id == m.modeId) return true;
  return false;
}

bool parseInt(const char* text, long min, long max, long& out) {
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (!end || *end || end == text || v < min || v > max) return false;
  out = v;
  return true;
}

bool parse(int argc, char** argv, Options& o) {
  std::string mode = "skirmish";
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--cards") {
      o.cards = true;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      o.help = true;
      continue;
    }
    if (i + 1 >= argc) {
      std::fprintf(stderr, "mv-sim: %s wants a value\n", arg.c_str());
      return false;
    }
    const char* value = argv[++i];
    long n = 0;
    if (arg == "--mode") {
      mode = value;
    } else if (arg == "--games" && parseInt(value, 0, 100000000, n)) {
      o.games = static_cast<int>(n);
    } else if (arg == "--seed" && parseInt(value, 0, 0xffffffffL, n)) {
      o.seed = static_cast<uint32_t>(n);
    } else if (arg == "--threads" && parseInt(value, 1, 256, n)) {
      o.threads = static_cast<int>(n);
    } else if (arg == "--max-turns" && parseInt(value, 1, 1000000, n)) {
      o.maxTurns = static_cast<int>(n);
    } else {
      std::fprintf(stderr, "mv-sim: bad option %s %s\n", arg.c_str(), value);
      return false;
    }
  }
  if (mode == "all") {
    for (const GameModeRecord& m : GameModeTable)
      if (*m.modeId) o.modes.push_back(m.modeId);
  } else if (knownMode(mode)) {
    o.modes.push_back(mode);
  } else {
    std::fprintf(stderr, "mv-sim: unknown mode '%s'\n", mode.c_str());
    return false;
  }
  return true;
}

void printCards() {
  for (const CardRecord& c : CardTable::all())
    std::printf("%d\t%s\t%d\t%d\t%d\t%d\t%s\t%s\t%d\t%d\t%d\t%d\n", c.id, c.key,
                static_cast<int>(c.category), c.manaCost, c.dwarvesCost, c.drawWeight,
                c.effectName, c.image, c.hostile ? 1 : 0, c.castOnOpponent ? 1 : 0,
                c.targetCount, c.minTurn);
}

// Counts the error lines the games log (and shows the first few).
class ErrorLog : public logog::Target {
 public:
  ~ErrorLog() override { Detach(); }
  std::atomic<long> count{0};

 protected:
  void Output(const std::string& line) override {
    if (count++ < 20) std::fputs(line.c_str(), stderr);
  }
};

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!parse(argc, argv, o)) {
    usage(stderr);
    return 2;
  }
  if (o.help) {
    usage(stdout);
    return 0;
  }
  if (o.cards) {
    printCards();
    return 0;
  }

  logog::Initialize();
  logog::SetDefaultLevel(logog::LOGOG_LEVEL_ERROR);
  int exitCode = 0;
  {
    ErrorLog errors;
    SimOptions sim;
    sim.maxTurns = o.maxTurns;
#ifndef NDEBUG
    sim.checkInvariants = true;
#endif

    std::vector<SimResult> results(static_cast<std::size_t>(o.games));
    std::atomic<int> next{0};
    const auto start = std::chrono::steady_clock::now();
    auto worker = [&] {
      for (int i = next++; i < o.games; i = next++)
        results[static_cast<std::size_t>(i)] =
            playGame(o.modes[static_cast<std::size_t>(i) % o.modes.size()], o.seed, i, sim);
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < o.threads; ++t) pool.emplace_back(worker);
    worker();
    for (std::thread& t : pool) t.join();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    long completed = 0, wins = 0, losses = 0, draws = 0, turncap = 0, stalls = 0, broken = 0, turns = 0;
    uint64_t hash = 0xcbf29ce484222325ULL;
    for (int i = 0; i < o.games; ++i) {
      const SimResult& r = results[static_cast<std::size_t>(i)];
      const std::string& mode = o.modes[static_cast<std::size_t>(i) % o.modes.size()];
      switch (r.end) {
        case SimResult::End::Won: ++wins; break;
        case SimResult::End::Lost: ++losses; break;
        case SimResult::End::Draw: ++draws; break;
        case SimResult::End::TurnCap: ++turncap; break;
        case SimResult::End::Stalled:
          ++stalls;
          std::fprintf(stderr, "game %d (%s, seed %u) stalled in turn %d\n", i, mode.c_str(),
                       gameSeed(o.seed, i), r.turn);
          break;
      }
      if (r.brokenInvariants > 0) {
        ++broken;
        std::fprintf(stderr, "game %d (%s, seed %u): %d broken invariants, first: %s\n", i,
                     mode.c_str(), gameSeed(o.seed, i), r.brokenInvariants,
                     r.firstBroken.c_str());
      }
      turns += r.turn;
      if (r.completed) ++completed;
      hash = (hash ^ r.digest) * 0x100000001b3ULL;
      hash ^= hash >> 29;
    }
    if (errors.count > 0) std::printf("log_errors=%ld\n", errors.count.load());
    if (broken > 0) std::printf("broken_invariants=%ld\n", broken);
    std::printf("games=%d wins=%ld losses=%ld draws=%ld turncap=%ld stalls=%ld turns_mean=%.2f "
                "hash=%016llx games_per_s=%.1f",
                o.games, wins, losses, draws, turncap, stalls,
                o.games > 0 ? static_cast<double>(turns) / o.games : 0.0,
                static_cast<unsigned long long>(hash), seconds > 0 ? o.games / seconds : 0.0);
    // Tutorial runs also tell how many reached the end of the script.
    bool tutorial = false;
    for (const std::string& m : o.modes) tutorial = tutorial || m == "tutorial";
    if (tutorial) std::printf(" completed=%ld", completed);
    std::printf("\n");
    if (stalls > 0 || broken > 0) exitCode = 1;
  }
  logog::Shutdown();
  return exitCode;
}
