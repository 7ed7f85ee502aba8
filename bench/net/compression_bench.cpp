// What compressing a connection's messages costs each side: a game's start as the
// host's replication sends it (16 KB messages of much alike entries) and the small
// messages of a turn, compressed by the sender and restored by the receiver.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "MessageCompression.h"

namespace {

using Bytes = std::vector<unsigned char>;

// A replica manager's construction message: entries of id, type name and a few numbers.
Bytes bulkMessage(std::uint32_t first) {
  Bytes m{0x7E};
  for (std::uint32_t i = first; m.size() < 16 * 1024; ++i) {
    const Bytes entry = {0, 0, 0x3A, 0x11, static_cast<unsigned char>(i >> 8), static_cast<unsigned char>(i), 0,
                         0, 0, 72, 0, 9, 'B', 'o', 'a', 'r', 'd', 'E', 'l', 'e', 'm', 0, 0, 0, 0x90,
                         static_cast<unsigned char>(i % 40), 0, 0, 0, static_cast<unsigned char>(i / 40 % 40), 0x40};
    m.insert(m.end(), entry.begin(), entry.end());
  }
  return m;
}

void run(benchmark::State& state, const std::vector<Bytes>& messages) {
  RakNet::peer::MessageCompression sender, receiver;
  Bytes wire, back;
  std::size_t raw = 0, sent = 0;
  for (auto _ : state) {
    for (const Bytes& m : messages) {
      sender.compress(m.data(), m.size(), wire);
      receiver.decompress(wire.data(), wire.size(), 4 * 1024 * 1024, back, nullptr);
      raw += m.size();
      sent += wire.size();
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(raw));
  state.counters["ratio"] = sent ? static_cast<double>(raw) / static_cast<double>(sent) : 0.0;
  state.counters["us_per_message"] = benchmark::Counter(
      static_cast<double>(state.iterations() * messages.size()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_GameStartMessages(benchmark::State& state) {
  std::vector<Bytes> messages;
  for (std::uint32_t i = 0; i < 17; ++i) messages.push_back(bulkMessage(i * 530));
  run(state, messages);
}
BENCHMARK(BM_GameStartMessages)->Unit(benchmark::kMillisecond);

void BM_SmallMessages(benchmark::State& state) {
  std::vector<Bytes> messages;
  for (int i = 0; i < 100; ++i)
    messages.push_back({0x85, 0, 0, 0, static_cast<unsigned char>(i % 32), 0, 0, 0, static_cast<unsigned char>(i % 3)});
  run(state, messages);
}
BENCHMARK(BM_SmallMessages)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
