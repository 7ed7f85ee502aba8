// Two attacks on the mv-lobby program itself, measured as an outsider measures them:
// the relay latency of another pair, the server's memory, and its log.
//
// The bounds hold on a loaded machine with sanitizers, and lie far below what the
// attacks did before the limits (seconds of latency, over a hundred megabytes, a
// log line per message). The tight figures are bench/net's.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "AttackScenarios.h"
#include "LobbyProcess.h"
#include "protocol/NetworkMessageId.h"

namespace {

constexpr long kMemoryBoundKb = 64 * 1024;  // growth of the server under attack
// The other pair's relay: most lines pass at once, and none waits for the flood to end.
// (A busy machine may stall any process for a moment, so the worst line has room.)
constexpr double kMedianBoundMs = 50;
constexpr double kWorstBoundMs = 2000;
constexpr int kDropLinesBound = 40;

int occurrences(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

class LobbyUnderAttack : public ::testing::Test {
 protected:
  // Freed memory goes back at once, so the peak shows what the server held.
  LobbyProcess lobby{60000, "123456", {{"ASAN_OPTIONS", "quarantine_size_mb=0:detect_leaks=0"}}};
};

// One logged-in client sends one-byte messages as fast as it can. The server used
// to queue them all: another pair's relay took seconds, and memory and log grew
// without bound. Now the flooder is cut off and the others barely notice.
TEST_F(LobbyUnderAttack, AFloodingClientIsCutOffAndAnotherPairsRelayStaysQuick) {
  ASSERT_TRUE(lobby.running());
  FloodFigures f = floodAttack(lobby, 4.0);
  ASSERT_TRUE(f.ready);
  EXPECT_TRUE(f.flooderCut);
  EXPECT_TRUE(f.pairIntact);
  ASSERT_EQ(f.delivered, f.chats);
  EXPECT_LT(f.p50Ms, kMedianBoundMs);
  EXPECT_LT(f.maxMs, kWorstBoundMs) << "p99 " << f.p99Ms << " ms";
  EXPECT_LT(f.growthKb, kMemoryBoundKb);
  EXPECT_LE(occurrences(lobby.log(), "dropped"), kDropLinesBound);
  std::printf("flood: cut after %.0f ms; %d chats, p50 %.2f ms, p99 %.2f ms, max %.2f ms; server grew %ld kB\n",
              f.cutAfterMs, f.chats, f.p50Ms, f.p99Ms, f.maxMs, f.growthKb);
}

// The joiner of a match stops reading (its transport acknowledges nothing) while
// the host sends large card lists. The server used to hold them all until the
// time-out; now the joiner is cut off at its share and the host told at once.
TEST_F(LobbyUnderAttack, APartnerThatStopsReadingIsCutOffAndTheHostTold) {
  ASSERT_TRUE(lobby.running());
  StallFigures s = stalledReaderAttack(lobby, 30.0);
  ASSERT_TRUE(s.ready);
  EXPECT_TRUE(s.hostTold);
  EXPECT_EQ(s.resultCode, protocol::kResultOpponentDisconnectedHost);
  EXPECT_TRUE(s.hostIntact);
  EXPECT_LT(s.growthKb, kMemoryBoundKb);
  std::printf("stalled reader: cut off after %.1f s and %zu kB sent; server grew %ld kB\n", s.seconds, s.sentKb,
              s.growthKb);
}

}  // namespace
