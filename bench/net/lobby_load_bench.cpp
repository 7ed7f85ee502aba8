// Load test of the lobby: 500 clients on loopback log in, receive the player list,
// pair up by quick match and relay chat messages to their partners, first all at once
// (a burst), then at a steady pace. Reports logins per second, relayed messages per
// second and the relay latency percentiles of both.
// Every phase has a deadline, so a stall ends the run instead of hanging it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "LobbyHost.h"
#include "Mailer.h"
#include "protocol/Messages.h"
#include "raknet/MessageIdentifiers.h"
#include "raknet/RakPeerInterface.h"

using namespace protocol;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kClients = 500;
constexpr int kMessagesPerJoiner = 40;
constexpr int kPacedRounds = 20;
constexpr auto kPacedGap = std::chrono::microseconds(1000);  // 1,000 messages a second
constexpr auto kPhaseLimit = std::chrono::seconds(60);

struct NullMailer : Mailer {
  bool sendCode(const std::string&, const std::string&) override { return true; }
  bool sendInvitation(const std::string&, const std::string&) override { return true; }
};

double micros(Clock::time_point t) {
  return std::chrono::duration<double, std::micro>(t.time_since_epoch()).count();
}

struct LoadClient {
  RakNet::RakPeerInterface* peer = nullptr;
  RakNet::RakNetGUID server;
  int index = 0;
  bool connected = false;
  bool loggedIn = false;
  bool gotFullList = false;
  int role = -1;
  int received = 0;

  template <class M>
  void send(const M& m) {
    RakNet::BitStream bs = encode(m);
    peer->Send(&bs, HIGH_PRIORITY, RELIABLE_ORDERED, 0, server, false);
  }
};

// One pass over every client's packets; drives the login steps as answers arrive.
void pollClients(std::vector<LoadClient>& clients, std::vector<double>& latencies) {
  for (LoadClient& c : clients) {
    while (RakNet::Packet* p = c.peer->Receive()) {
      switch (p->data[0]) {
        case ID_CONNECTION_REQUEST_ACCEPTED: {
          c.server = p->guid;
          c.connected = true;
          ProtocolVersionMsg v;
          v.value = kProtocolVersion;
          c.send(v);
          break;
        }
        case ID_LOGIN_EMAIL: {
          LoginEmailMsg e;
          e.text = "load" + std::to_string(c.index) + "@bench.example";
          c.send(e);
          break;
        }
        case ID_LOGIN_CODE: {
          LoginCodeMsg code;
          code.text = "123456";
          c.send(code);
          break;
        }
        case ID_PLAYER_NAME: {
          PlayerNameMsg n;
          n.text = "load" + std::to_string(c.index);
          c.send(n);
          break;
        }
        case ID_LOGIN:
          c.loggedIn = true;
          break;
        case ID_PLAYER_LIST: {
          PlayerListMsg list;
          if (decode(p->data, p->length, list) && list.players.size() == static_cast<size_t>(kClients))
            c.gotFullList = true;
          break;
        }
        case ID_START_GAME: {
          StartGameMsg sg;
          if (decode(p->data, p->length, sg)) c.role = sg.role;
          break;
        }
        case ID_CHAT: {
          ChatMsg chat;
          if (decode(p->data, p->length, chat)) {
            latencies.push_back(micros(Clock::now()) - std::stod(chat.text));
            ++c.received;
          }
          break;
        }
        default:
          break;
      }
      c.peer->DeallocatePacket(p);
    }
  }
}

template <class Done>
bool runUntil(std::vector<LoadClient>& clients, std::vector<double>& latencies, Done done) {
  auto until = Clock::now() + kPhaseLimit;
  while (Clock::now() < until) {
    pollClients(clients, latencies);
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  return false;
}

double percentile(std::vector<double> v, double q) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  size_t i = static_cast<size_t>(q * (v.size() - 1));
  return v[i];
}

void BM_LobbyLoad(benchmark::State& state) {
  for (auto _ : state) {
    NullMailer mailer;
    LobbyHost host(mailer);
    LobbyHostOptions options;
    options.bind = "127.0.0.1";
    options.port = 0;
    options.maxClients = kClients + 10;
    options.config.devCode = "123456";
    options.config.listDebounceMs = 200;
    // Every client speaks from 127.0.0.1.
    options.config.maxUnfinishedPerAddress = kClients;
    options.limits.greetingsPerSecond = 0;
    if (!host.start(options)) {
      state.SkipWithError("lobby did not start");
      return;
    }
    unsigned short port = host.port();
    std::atomic<bool> stop{false};
    std::thread serverThread([&] {
      while (!stop) {
        if (host.pump() == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
      }
    });

    std::vector<LoadClient> clients(kClients);
    std::vector<double> latencies;
    for (int i = 0; i < kClients; ++i) {
      clients[i].index = i;
      clients[i].peer = RakNet::RakPeerInterface::GetInstance();
      RakNet::SocketDescriptor sd(0, "127.0.0.1");
      clients[i].peer->Startup(1, &sd, 1);
    }

    auto t0 = Clock::now();
    // Arrivals in waves of 25: a single burst of 500 connection requests overflows
    // the socket's receive buffer and measures the kernel's drops, not the lobby.
    for (int i = 0; i < kClients; ++i) {
      clients[i].peer->Connect("127.0.0.1", port, nullptr, 0, nullptr, 0, 12, 500);
      if (i % 25 == 24) {
        pollClients(clients, latencies);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
    }
    bool ok = runUntil(clients, latencies, [&] {
      return std::all_of(clients.begin(), clients.end(), [](const LoadClient& c) { return c.connected; });
    });
    auto tConnected = Clock::now();
    ok = ok && runUntil(clients, latencies, [&] {
      return std::all_of(clients.begin(), clients.end(), [](const LoadClient& c) { return c.loggedIn; });
    });
    auto t1 = Clock::now();
    ok = ok && runUntil(clients, latencies, [&] {
      return std::all_of(clients.begin(), clients.end(), [](const LoadClient& c) { return c.gotFullList; });
    });
    auto t2 = Clock::now();

    for (LoadClient& c : clients) c.send(QuickmatchMsg{});
    ok = ok && runUntil(clients, latencies, [&] {
      return std::all_of(clients.begin(), clients.end(), [](const LoadClient& c) { return c.role >= 0; });
    });

    auto t3 = Clock::now();
    int joiners = 0;
    for (int m = 0; m < kMessagesPerJoiner && ok; ++m) {
      for (LoadClient& c : clients) {
        if (c.role != kRoleJoin) continue;
        if (m == 0) ++joiners;
        ChatMsg chat;
        chat.text = std::to_string(micros(Clock::now()));
        c.send(chat);
      }
      pollClients(clients, latencies);
    }
    const size_t expected = static_cast<size_t>(joiners) * kMessagesPerJoiner;
    ok = ok && runUntil(clients, latencies, [&] { return latencies.size() >= expected; });
    auto t4 = Clock::now();
    std::vector<double> burst;
    burst.swap(latencies);

    // Paced: the joiners take turns at a steady rate (one message every kPacedGap across
    // the lobby), each timed from its send to its arrival at the partner.
    std::vector<LoadClient*> joining;
    for (LoadClient& c : clients)
      if (c.role == kRoleJoin) joining.push_back(&c);
    const size_t pacedTotal = joining.size() * kPacedRounds;
    auto next = Clock::now();
    for (size_t sent = 0; sent < pacedTotal && ok; ++sent) {
      while (Clock::now() < next) pollClients(clients, latencies);
      next += kPacedGap;
      ChatMsg chat;
      chat.text = std::to_string(micros(Clock::now()));
      joining[sent % joining.size()]->send(chat);
    }
    ok = ok && runUntil(clients, latencies, [&] { return latencies.size() >= pacedTotal; });

    stop = true;
    serverThread.join();
    for (LoadClient& c : clients) {
      c.peer->Shutdown(0);
      RakNet::RakPeerInterface::DestroyInstance(c.peer);
    }
    if (!ok) {
      state.SkipWithError("a phase missed its deadline");
      return;
    }
    auto secs = [](Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); };
    state.counters["clients"] = kClients;
    state.counters["logins_per_s"] = kClients / secs(t0, t1);
    state.counters["connect_s"] = secs(t0, tConnected);
    state.counters["full_list_s"] = secs(t1, t2);
    state.counters["burst_relayed"] = static_cast<double>(burst.size());
    state.counters["burst_relay_per_s"] = burst.size() / secs(t3, t4);
    state.counters["burst_p50_ms"] = percentile(burst, 0.50) / 1000.0;
    state.counters["burst_p99_ms"] = percentile(burst, 0.99) / 1000.0;
    state.counters["paced_p50_ms"] = percentile(latencies, 0.50) / 1000.0;
    state.counters["paced_p95_ms"] = percentile(latencies, 0.95) / 1000.0;
    state.counters["paced_p99_ms"] = percentile(latencies, 0.99) / 1000.0;
    state.counters["server_relayed"] = static_cast<double>(host.server().stats().relayed);
  }
}

}  // namespace

BENCHMARK(BM_LobbyLoad)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
