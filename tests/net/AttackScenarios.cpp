#include "AttackScenarios.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "LobbyProcess.h"
#include "RawClient.h"

using namespace protocol;
using Clock = std::chrono::steady_clock;

namespace {

double micros() { return std::chrono::duration<double, std::micro>(Clock::now().time_since_epoch()).count(); }

double elapsed(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

// Reads every chat line that arrived, each carrying the time it was sent.
void takeLatencies(RawClient& c, std::vector<double>& out, int waitMs) {
  c.service(0);
  for (Bytes b = c.await(ID_CHAT, waitMs); !b.empty(); b = c.await(ID_CHAT, waitMs)) {
    ChatMsg got;
    if (decode(b.data(), b.size(), got)) out.push_back((micros() - std::stod(got.text)) / 1000.0);
  }
}

}  // namespace

long memoryKb(pid_t pid, const std::string& field) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  std::string key;
  while (in >> key) {
    if (key == field + ":") {
      long value = -1;
      in >> value;
      return value;
    }
    in.ignore(1 << 16, '\n');
  }
  return -1;
}

FloodFigures pairUnderAttack(const LobbyProcess& lobby, double seconds,
                             const std::function<bool(double seconds)>& attack) {
  FloodFigures f;
  RawClient host, join;
  if (!host.login(lobby.port(), "Host") || !join.login(lobby.port(), "Join") || !startMatch(host, join)) return f;
  f.ready = true;
  const long before = memoryKb(lobby.pid(), "VmRSS");
  std::vector<double> latencies;
  const auto start = Clock::now();
  auto lastChat = start;
  while (elapsed(start) < seconds) {
    if (!f.flooderCut && attack(elapsed(start))) {
      f.flooderCut = true;
      f.cutAfterMs = elapsed(start) * 1000;
    }
    if (Clock::now() - lastChat >= std::chrono::milliseconds(5)) {
      lastChat = Clock::now();
      ChatMsg chat;
      chat.text = std::to_string(micros());
      host.send(chat);
      ++f.chats;
    }
    host.service(0);
    takeLatencies(join, latencies, 0);
  }
  while (latencies.size() < static_cast<size_t>(f.chats)) {
    size_t had = latencies.size();
    takeLatencies(join, latencies, 5000);
    if (latencies.size() == had) break;
  }
  f.growthKb = memoryKb(lobby.pid(), "VmHWM") - before;
  f.pairIntact = !host.closed() && !join.closed();
  f.delivered = static_cast<int>(latencies.size());
  if (!latencies.empty()) {
    std::sort(latencies.begin(), latencies.end());
    f.p50Ms = latencies[latencies.size() / 2];
    f.p99Ms = latencies[latencies.size() * 99 / 100];
    f.maxMs = latencies.back();
  }
  return f;
}

FloodFigures floodAttack(const LobbyProcess& lobby, double seconds, bool compressed) {
  RawClient flooder;
  if (compressed) flooder.askCompression();
  if (!flooder.login(lobby.port(), "Flooder") || flooder.compressed() != compressed) return FloodFigures{};
  return pairUnderAttack(lobby, seconds, [&](double) {
    flooder.flood(Bytes{0x8F}, 2000);
    flooder.service(0);
    return flooder.closed();
  });
}

FloodFigures bombAttack(const LobbyProcess& lobby, double seconds, int connections, int packets,
                        std::size_t inflated) {
  const std::vector<Bytes> bomb = compressionBomb(inflated, packets);
  std::atomic<bool> stop{false}, allCut{false};
  std::thread bombing;
  // The bombers connect and send from a thread of their own, so that the pair's
  // figures measure the server, not the bombers; each from an address of its own, as
  // one address opens only so many connections a second.
  FloodFigures f = pairUnderAttack(lobby, seconds, [&](double) {
    if (!bombing.joinable()) {
      bombing = std::thread([&] {
        std::vector<std::unique_ptr<RawClient>> bombers;
        while (!stop && !allCut) {
          if (static_cast<int>(bombers.size()) < connections) {
            const int n = static_cast<int>(bombers.size());
            const std::string address = "127.1." + std::to_string(n / 250) + "." + std::to_string(n % 250 + 1);
            bombers.push_back(std::make_unique<RawClient>(address.c_str()));
            bombers.back()->askCompression();
            if (bombers.back()->connect(lobby.port(), 2000))
              for (const Bytes& packet : bomb) bombers.back()->sendWire(packet);
          }
          bool cut = static_cast<int>(bombers.size()) == connections;
          for (auto& b : bombers) {
            b->service(0);
            cut = cut && b->closed();
          }
          allCut = cut;
        }
      });
    }
    return allCut.load();
  });
  stop = true;
  if (bombing.joinable()) bombing.join();
  return f;
}

StallFigures stalledReaderAttack(const LobbyProcess& lobby, double maxSeconds) {
  StallFigures s;
  RawClient host, join;
  if (!host.login(lobby.port(), "Host") || !join.login(lobby.port(), "Join") || !startMatch(host, join))
    return s;
  s.ready = true;
  const long before = memoryKb(lobby.pid(), "VmRSS");
  // From here on the joiner is never serviced: it acknowledges nothing.
  CardListMsg cards;
  cards.cards.assign(60000, 7);  // some 240 kB, within the relay's bound
  RakNet::BitStream bs = encode(cards);
  const Bytes message(bs.GetData(), bs.GetData() + bs.GetNumberOfBytesUsed());
  Bytes result;
  const auto start = Clock::now();
  // A burst, then 1.6 MB a second: below the host's own limit.
  for (int i = 0; result.empty() && !host.closed() && elapsed(start) < maxSeconds; ++i) {
    if (i >= 20) result = host.await(ID_GAME_RESULT, 150);
    if (!result.empty()) break;
    host.send(message);
    s.sentKb += message.size() / 1024;
  }
  s.seconds = elapsed(start);
  s.growthKb = memoryKb(lobby.pid(), "VmHWM") - before;
  GameResultMsg notice;
  s.hostTold = decode(result.data(), result.size(), notice);
  s.resultCode = s.hostTold ? notice.code : -1;
  s.hostIntact = !host.closed();
  return s;
}
