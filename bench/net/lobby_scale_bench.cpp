// The lobby at scale, measured from outside: an mv-lobby process holding 100,000
// stored accounts, and thousands of clients spread over several processes, each
// client on a loopback address of its own, speaking the wire format over raw ENet.
//
// Phases, each with the server's CPU time and memory:
//   1. logins: new players log in by mailed code and name at a steady offered rate
//      until all are in (how many got in, the rate achieved, the login latency);
//   2. relay: the logged-in players pair up by quick match and the hosts send chat
//      lines at a steady total rate (relay latency);
//   3. relay while logging in: the same chat while more new players log in at the
//      login rate, each leaving once in.
// Each client greets as the game does: it asks for compression, and once granted
// sends and reads its messages deflated. A summary at the end names the figures the
// lobby is held to: players in, logins a second, both relay p99s, the server's peak
// resident memory and its CPU time.
//
// Usage: bench_lobby_scale [--lobby PATH] [--clients N] [--processes P]
//   [--accounts A] [--login-rate R] [--chat-rate C] [--seconds S] [--max-clients M]
#include <enet/enet.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/epoll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "AccountStore.h"
#include "AttackScenarios.h"
#include "Handshake.h"
#include "LobbyProcess.h"
#include "MessageCompression.h"
#include "protocol/Messages.h"
#include "raknet/MessageIdentifiers.h"

using namespace protocol;
using Clock = std::chrono::steady_clock;
using Bytes = std::vector<unsigned char>;

namespace {

struct Settings {
  std::string lobby = MV_LOBBY_BIN;
  int clients = 5000;
  int processes = 5;
  int accounts = 100000;
  double loginRate = 500;
  double chatRate = 1000;
  double seconds = 10;
  int maxClients = 0;  // 0: the server's own default
};

double nowUs() { return std::chrono::duration<double, std::micro>(Clock::now().time_since_epoch()).count(); }

// ---- one bench process's clients -------------------------------------------------

struct BenchClient {
  ENetHost* host = nullptr;
  ENetPeer* peer = nullptr;
  int index = 0;
  bool churner = false;  // leaves once logged in
  bool welcomed = false, loggedIn = false, closed = false;
  int role = -1;
  double startedUs = 0;
  // The connection's streams once the Welcome granted compression, as in the game.
  std::shared_ptr<RakNet::peer::MessageCompression> compression;
};

class ClientSet {
 public:
  explicit ClientSet(unsigned short port) : port_(port) { epoll_ = epoll_create1(EPOLL_CLOEXEC); }

  // Starts the login of client `index` (its own loopback address).
  void start(int index, bool churner) {
    BenchClient c;
    c.index = index;
    c.churner = churner;
    char ip[32];
    std::snprintf(ip, sizeof ip, "127.%d.%d.%d", 1 + index / 62500, (index / 250) % 250, index % 250 + 1);
    ENetAddress a;
    enet_address_set_host_ip(&a, ip);
    a.port = 0;
    c.host = enet_host_create(&a, 1, 1, 0, 0);
    if (!c.host) {
      ++failed;
      return;
    }
    ENetAddress server;
    enet_address_set_host_ip(&server, "127.0.0.1");
    server.port = port_;
    c.peer = enet_host_connect(c.host, &server, 1, RakNet::handshake::connectData());
    c.startedUs = nowUs();
    clients_.push_back(c);
    epoll_event ev{};
    ev.events = EPOLLIN;
    ev.data.u32 = static_cast<std::uint32_t>(clients_.size() - 1);
    epoll_ctl(epoll_, EPOLL_CTL_ADD, c.host->socket, &ev);
    enet_host_flush(c.host);
  }

  // Services what arrived within `ms`, and every client once in a tenth of a second
  // for ENet's timers (pings, resends): a slice of them at each call, as a game's
  // client services its one connection each frame, so that no client waits for a
  // walk through all the others.
  void poll(int ms) {
    epoll_event events[256];
    int n = epoll_wait(epoll_, events, 256, ms);
    for (int i = 0; i < n; ++i) service(clients_[events[i].data.u32]);
    const double now = nowUs();
    double due = static_cast<double>(clients_.size()) * (now - lastSweepUs_) / 100000.0;
    lastSweepUs_ = now;
    for (due = std::min(due, static_cast<double>(clients_.size())) + sweepCarry_; due >= 1; due -= 1) {
      if (sweepNext_ >= clients_.size()) sweepNext_ = 0;
      service(clients_[sweepNext_++]);
    }
    sweepCarry_ = due;
  }

  template <class M>
  void send(BenchClient& c, const M& m) {
    RakNet::BitStream bs = encode(m);
    sendBytes(c, bs.GetData(), bs.GetNumberOfBytesUsed());
  }

  std::vector<BenchClient>& clients() { return clients_; }

  int failed = 0, errors = 0, loggedIn = 0, churned = 0, matched = 0, uncompressed = 0, broken = 0;
  long long listBytes = 0;
  std::vector<double> loginMs, churnMs, chatMs;

 private:
  void sendBytes(BenchClient& c, const unsigned char* data, size_t length) {
    if (!c.peer || c.closed) return;
    if (c.compression) {
      if (!c.compression->compress(data, length, deflated_)) return drop(c);
      data = deflated_.data();
      length = deflated_.size();
    }
    enet_peer_send(c.peer, 0, enet_packet_create(data, length, ENET_PACKET_FLAG_RELIABLE));
    enet_host_flush(c.host);
  }

  // A stream that broke: the client leaves, as the game's peer would.
  void drop(BenchClient& c) {
    ++broken;
    enet_peer_disconnect_now(c.peer, 0);
    c.closed = true;
    c.peer = nullptr;
  }

  void service(BenchClient& c) {
    if (!c.host) return;
    ENetEvent ev;
    while (enet_host_service(c.host, &ev, 0) > 0) {
      if (ev.type == ENET_EVENT_TYPE_CONNECT) {
        RakNet::handshake::Greeting hello;
        hello.kind = RakNet::handshake::Kind::Hello;
        hello.compression = RakNet::handshake::Compression::Deflate;
        std::uniform_int_distribution<std::uint64_t> any;
        do hello.guid = any(rng_); while (!RakNet::handshake::usableGuid(hello.guid));
        do hello.proof = any(rng_); while (hello.proof == 0);
        Bytes b = RakNet::handshake::encode(hello);
        sendBytes(c, b.data(), b.size());
      } else if (ev.type == ENET_EVENT_TYPE_DISCONNECT) {
        c.closed = true;
        c.peer = nullptr;
      } else if (ev.type == ENET_EVENT_TYPE_RECEIVE) {
        Bytes b(ev.packet->data, ev.packet->data + ev.packet->dataLength);
        const bool reliable = ev.packet->flags & ENET_PACKET_FLAG_RELIABLE;
        enet_packet_destroy(ev.packet);
        if (c.compression && reliable && !b.empty()) {
          if (!c.compression->decompress(b.data(), b.size(), kMaxMessageBytes, inflated_, nullptr)) return drop(c);
          b.swap(inflated_);
        }
        if (!b.empty()) onMessage(c, b);
      }
    }
    // A player who left is gone, its socket too: it costs the others nothing more.
    if (c.closed && c.churner) {
      enet_host_destroy(c.host);
      c.host = nullptr;
    }
  }

  void onMessage(BenchClient& c, const Bytes& b) {
    const std::string who = std::to_string(c.index);
    switch (b[0]) {
      case ID_INTERNAL_HANDSHAKE: {
        RakNet::handshake::Greeting welcome;
        if (c.welcomed || !RakNet::handshake::decode(b.data(), b.size(), welcome, nullptr) ||
            welcome.kind != RakNet::handshake::Kind::Welcome)
          return;
        c.welcomed = true;
        if (welcome.compression == RakNet::handshake::Compression::Deflate)
          c.compression = std::make_shared<RakNet::peer::MessageCompression>();
        else
          ++uncompressed;
        ProtocolVersionMsg v;
        v.value = kProtocolVersion;
        return send(c, v);
      }
      case ID_LOGIN_EMAIL: {
        LoginEmailMsg e;
        e.text = "c" + who + "@bench.example";
        return send(c, e);
      }
      case ID_LOGIN_CODE: {
        LoginCodeMsg m;
        m.text = "123456";
        return send(c, m);
      }
      case ID_PLAYER_NAME: {
        PlayerNameMsg m;
        m.text = "C" + who;
        return send(c, m);
      }
      case ID_LOGIN:
        if (c.loggedIn) return;
        c.loggedIn = true;
        (c.churner ? churnMs : loginMs).push_back((nowUs() - c.startedUs) / 1000.0);
        if (c.churner) {
          ++churned;
          enet_peer_disconnect(c.peer, 0);
          enet_host_flush(c.host);
        } else {
          ++loggedIn;
        }
        return;
      case ID_LOBBY_ERROR:
        ++errors;
        return;
      case ID_PLAYER_LIST:
        listBytes += static_cast<long long>(b.size());
        return;
      case ID_START_GAME: {
        StartGameMsg m;
        if (decode(b.data(), b.size(), m) && c.role < 0) {
          c.role = m.role;
          ++matched;
        }
        return;
      }
      case ID_CHAT: {
        ChatMsg m;
        if (decode(b.data(), b.size(), m) && m.text.rfind("t=", 0) == 0)
          chatMs.push_back((nowUs() - std::atof(m.text.c_str() + 2)) / 1000.0);
        return;
      }
      default:
        return;
    }
  }

  unsigned short port_;
  int epoll_ = -1;
  std::vector<BenchClient> clients_;
  Bytes deflated_, inflated_;
  double lastSweepUs_ = 0, sweepCarry_ = 0;
  size_t sweepNext_ = 0;
  std::mt19937_64 rng_{std::random_device{}()};
};

std::string joinValues(const std::vector<double>& v) {
  std::string out;
  char buf[32];
  for (double x : v) {
    std::snprintf(buf, sizeof buf, " %.3f", x);
    out += buf;
  }
  return out;
}

// Starts `count` logins from `first` at `rate` a second while serving everyone.
void runLogins(ClientSet& set, int first, int count, double rate, bool churners, double limitSeconds) {
  double t0 = nowUs();
  int started = 0;
  while (nowUs() - t0 < limitSeconds * 1e6) {
    double due = (nowUs() - t0) / 1e6 * rate;
    while (started < count && started < due) set.start(first + started++, churners);
    set.poll(1);
    int done = churners ? set.churned : set.loggedIn;
    if (started == count && done + set.failed >= count) break;
  }
}

// One bench process: reads commands on stdin, answers a line on stdout each.
int child(unsigned short port, int first, int count) {
  ClientSet set(port);
  int churnNext = 1000000 + first * 10;
  std::string line;
  int flags = fcntl(0, F_GETFL);
  fcntl(0, F_SETFL, flags | O_NONBLOCK);
  std::string pending;
  for (;;) {
    char buf[256];
    ssize_t n = read(0, buf, sizeof buf);
    if (n > 0) pending.append(buf, static_cast<size_t>(n));
    if (n == 0) return 0;
    size_t nl = pending.find('\n');
    if (nl == std::string::npos) {
      set.poll(1);
      continue;
    }
    std::istringstream cmd(pending.substr(0, nl));
    pending.erase(0, nl + 1);
    std::string what;
    cmd >> what;
    if (what == "login") {
      double rate = 0;
      cmd >> rate;
      set.loginMs.clear();
      runLogins(set, first, count, rate, false, count / rate + 120);
      std::printf("login %d %d %d%s\n", set.loggedIn, set.errors, set.failed, joinValues(set.loginMs).c_str());
    } else if (what == "match") {
      for (BenchClient& c : set.clients())
        if (c.loggedIn && !c.closed) set.send(c, QuickmatchMsg{});
      double t0 = nowUs();
      while (nowUs() - t0 < 10e6) set.poll(1);
      std::printf("match %d\n", set.matched);
    } else if (what == "chat") {
      double rate = 0, seconds = 0, churnRate = 0;
      int churners = 0;
      cmd >> rate >> seconds >> churnRate;
      set.chatMs.clear();
      set.churnMs.clear();
      std::vector<size_t> hosts;  // indices: churners join the list meanwhile
      for (size_t i = 0; i < set.clients().size(); ++i)
        if (set.clients()[i].role == kRoleHost && !set.clients()[i].closed) hosts.push_back(i);
      double t0 = nowUs();
      long sent = 0;
      int churnStarted = 0;
      while (nowUs() - t0 < (seconds + 2) * 1e6) {
        double elapsed = (nowUs() - t0) / 1e6;
        while (!hosts.empty() && elapsed < seconds && sent < elapsed * rate) {
          ChatMsg m;
          char text[48];
          std::snprintf(text, sizeof text, "t=%.1f", nowUs());
          m.text = text;
          set.send(set.clients()[hosts[static_cast<size_t>(sent) % hosts.size()]], m);
          ++sent;
        }
        while (elapsed < seconds && churnStarted < elapsed * churnRate) {
          set.start(churnNext++, true);
          ++churnStarted;
          ++churners;
        }
        set.poll(1);
      }
      std::printf("chat %ld %d %d%s\n", sent, churners, set.churned, joinValues(set.chatMs).c_str());
      std::printf("churn%s\n", joinValues(set.churnMs).c_str());
    } else if (what == "stats") {
      std::printf("stats %d %d\n", set.uncompressed, set.broken);
    } else if (what == "quit") {
      return 0;
    }
    std::fflush(stdout);
  }
}

// ---- the orchestrating process ---------------------------------------------------

struct Child {
  pid_t pid = -1;
  FILE* in = nullptr;   // commands
  FILE* out = nullptr;  // answers
};

std::vector<double> values(std::istringstream& s) {
  std::vector<double> v;
  double x;
  while (s >> x) v.push_back(x);
  return v;
}

double percentile(std::vector<double> v, double p) {
  if (v.empty()) return -1;
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())))];
}

// The server's CPU time so far, in seconds.
double cpuSeconds(pid_t pid) {
  std::ifstream f("/proc/" + std::to_string(pid) + "/stat");
  std::string s((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  size_t close = s.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream rest(s.substr(close + 2));
  std::string field;
  unsigned long long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && rest >> field; ++i) {
    if (i == 14) utime = std::stoull(field);
    if (i == 15) stime = std::stoull(field);
  }
  return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// The server's CPU time over a phase's wall time.
struct Usage {
  double wall = 0, cpu = 0;
  double share() const { return wall > 0 ? 100 * cpu / wall : 0; }
};

struct Phase {
  double wall0, cpu0;
  pid_t pid;
  explicit Phase(pid_t p) : wall0(nowUs()), cpu0(cpuSeconds(p)), pid(p) {}
  Usage report(const char* name) const {
    Usage u{(nowUs() - wall0) / 1e6, cpuSeconds(pid) - cpu0};
    std::printf("  [%s] %.1f s, server CPU %.1f s (%.0f%% of one core), RSS %ld MB (peak %ld MB)\n", name, u.wall,
                u.cpu, u.share(), memoryKb(pid, "VmRSS") / 1024, memoryKb(pid, "VmHWM") / 1024);
    return u;
  }
};

// What the lobby is held to, gathered over the phases.
struct Figures {
  int in = 0;
  double loginsPerSecond = 0, relayP99 = -1, churnRelayP99 = -1, churnLoginsPerSecond = 0;
  long peakMb = -1;
  Usage total, phases[3];
  int uncompressed = 0, broken = 0;
};

void printSummary(const Settings& s, const Figures& f) {
  auto goal = [](bool met) { return met ? "met" : "MISSED"; };
  auto label = [](const std::string& text) { std::printf("  %-36s ", (text + ":").c_str()); };
  std::printf("\nsummary (server as the game meets it: every client greeted with compression on)\n");
  label("logged in at once");
  std::printf("%d of %d\n", f.in, s.clients);
  label("logins a second");
  std::printf("%.0f with %d accounts stored\n", f.loginsPerSecond, s.accounts);
  label("relay p99 at " + std::to_string(static_cast<int>(s.chatRate)) + " chats/s");
  std::printf("%.2f ms (goal < 5 ms: %s)\n", f.relayP99, goal(f.relayP99 >= 0 && f.relayP99 < 5));
  label("relay p99 while " + std::to_string(static_cast<int>(s.loginRate)) + " log in a second");
  std::printf("%.2f ms (goal < 5 ms: %s), %.0f logins/s achieved\n", f.churnRelayP99,
              goal(f.churnRelayP99 >= 0 && f.churnRelayP99 < 5), f.churnLoginsPerSecond);
  label("server's peak resident memory");
  std::printf("%ld MB (goal < 300 MB: %s)\n", f.peakMb, goal(f.peakMb >= 0 && f.peakMb < 300));
  label("server CPU");
  std::printf("%.1f s in %.1f s (%.0f%% of one core); logins %.0f%%, relay %.0f%%, relay while logging in %.0f%%\n",
              f.total.cpu, f.total.wall, f.total.share(), f.phases[0].share(), f.phases[1].share(),
              f.phases[2].share());
  label("clients refused compression");
  std::printf("%d (streams broken: %d)\n", f.uncompressed, f.broken);
  double load[3] = {0, 0, 0};
  label("machine load after the run");
  std::printf("%.2f (1 min)\n", getloadavg(load, 3) == 3 ? load[0] : -1.0);
}

std::vector<std::string> ask(std::vector<Child>& children, const std::string& command) {
  for (Child& c : children) {
    std::fprintf(c.in, "%s\n", command.c_str());
    std::fflush(c.in);
  }
  std::vector<std::string> answers;
  for (Child& c : children) {
    std::string all;
    char buf[1 << 16];
    // An answer may take more than one line (chat then churn).
    int lines = command.rfind("chat", 0) == 0 ? 2 : 1;
    for (int i = 0; i < lines && std::fgets(buf, sizeof buf, c.out); ++i) {
      std::string line = buf;
      while (line.size() == sizeof buf - 1 && std::fgets(buf, sizeof buf, c.out)) {
        line += buf;
        if (line.back() == '\n') break;
      }
      all += line;
    }
    answers.push_back(all);
  }
  return answers;
}

void writeAccounts(const std::string& path, int count) {
  std::ofstream f(path);
  const std::string hash = AccountStore::hashCode("123456");  // one hash serves all
  for (int i = 0; i < count; ++i) f << "stored" << i << "@bench.example\t" << hash << "\tStored" << i << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  Settings s;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string a = argv[i];
    const char* v = argv[i + 1];
    if (a == "--lobby") s.lobby = v;
    else if (a == "--clients") s.clients = std::atoi(v);
    else if (a == "--processes") s.processes = std::max(1, std::atoi(v));
    else if (a == "--accounts") s.accounts = std::atoi(v);
    else if (a == "--login-rate") s.loginRate = std::atof(v);
    else if (a == "--chat-rate") s.chatRate = std::atof(v);
    else if (a == "--seconds") s.seconds = std::atof(v);
    else if (a == "--max-clients") s.maxClients = std::atoi(v);
  }
  signal(SIGPIPE, SIG_IGN);
  rlimit files{};
  getrlimit(RLIMIT_NOFILE, &files);
  files.rlim_cur = files.rlim_max;
  setrlimit(RLIMIT_NOFILE, &files);
  enet_initialize();

  char tmpl[] = "/tmp/mv-scale-XXXXXX";
  if (!mkdtemp(tmpl)) return 1;
  const std::string dir = tmpl;
  std::system(("mkdir -p " + dir + "/data").c_str());
  writeAccounts(dir + "/data/accounts.txt", s.accounts);

  // A free port: bind one, note it, let it go.
  ENetAddress probe;
  enet_address_set_host_ip(&probe, "127.0.0.1");
  probe.port = 0;
  ENetHost* h = enet_host_create(&probe, 1, 1, 0, 0);
  ENetAddress bound;
  enet_socket_get_address(h->socket, &bound);
  unsigned short port = bound.port;
  enet_host_destroy(h);

  std::vector<std::string> args = {s.lobby, "--bind", "127.0.0.1", "--port", std::to_string(port), "--data-dir",
                                   dir + "/data", "--dev-code", "123456", "--timeout-ms", "60000"};
  if (s.maxClients) {
    args.push_back("--max-clients");
    args.push_back(std::to_string(s.maxClients));
  }
  double load[3] = {0, 0, 0};
  getloadavg(load, 3);
  std::printf("lobby %s: %d clients in %d processes, %d accounts stored, logins %.0f/s, chat %.0f/s "
              "(machine load %.2f before the run)\n",
              s.lobby.c_str(), s.clients, s.processes, s.accounts, s.loginRate, s.chatRate, load[0]);
  double startUs = nowUs();
  pid_t lobby = spawnLogged(args, dir + "/lobby.log", {});
  for (int i = 0; i < 6000; ++i) {
    std::ifstream log(dir + "/lobby.log");
    std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    if (text.find("lobby listening") != std::string::npos) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  std::printf("  server up after %.1f s (accounts loaded), RSS %ld MB\n", (nowUs() - startUs) / 1e6,
              memoryKb(lobby, "VmRSS") / 1024);

  std::vector<Child> children;
  for (int p = 0; p < s.processes; ++p) {
    int toChild[2], fromChild[2];
    if (pipe(toChild) != 0 || pipe(fromChild) != 0) return 1;
    int first = s.clients * p / s.processes, count = s.clients * (p + 1) / s.processes - first;
    std::fflush(stdout);  // else the child writes the parent's lines into its answers
    pid_t pid = fork();
    if (pid == 0) {
      dup2(toChild[0], 0);
      dup2(fromChild[1], 1);
      close(toChild[1]);
      close(fromChild[0]);
      _exit(child(port, first, count));
    }
    close(toChild[0]);
    close(fromChild[1]);
    children.push_back({pid, fdopen(toChild[1], "w"), fdopen(fromChild[0], "r")});
  }

  Figures figures;
  const Phase whole(lobby);
  {
    Phase phase(lobby);
    std::vector<std::string> answers = ask(children, "login " + std::to_string(s.loginRate / s.processes));
    int in = 0, errors = 0, failed = 0;
    std::vector<double> ms;
    for (const std::string& a : answers) {
      std::istringstream line(a);
      std::string tag;
      int i = 0, e = 0, f = 0;
      line >> tag >> i >> e >> f;
      in += i;
      errors += e;
      failed += f;
      std::vector<double> v = values(line);
      ms.insert(ms.end(), v.begin(), v.end());
    }
    double wall = (nowUs() - phase.wall0) / 1e6;
    std::printf("1. logins: %d of %d logged in (%d errors, %d not started) in %.1f s: %.0f logins/s; "
                "login p50 %.1f ms, p99 %.1f ms\n",
                in, s.clients, errors, failed, wall, in / wall, percentile(ms, 0.5), percentile(ms, 0.99));
    figures.in = in;
    figures.loginsPerSecond = in / wall;
    figures.phases[0] = phase.report("logins");
  }
  {
    std::vector<std::string> answers = ask(children, "match");
    int matched = 0;
    for (const std::string& a : answers) matched += std::atoi(a.c_str() + 6);
    std::printf("   matched: %d players in matches\n", matched);
  }
  for (int withLogins = 0; withLogins < 2; ++withLogins) {
    Phase phase(lobby);
    char command[128];
    std::snprintf(command, sizeof command, "chat %f %f %f", s.chatRate / s.processes, s.seconds,
                  withLogins ? s.loginRate / s.processes : 0.0);
    std::vector<std::string> answers = ask(children, command);
    long sent = 0;
    int churners = 0, churned = 0;
    std::vector<double> ms, loginMs;
    for (const std::string& a : answers) {
      std::istringstream lines(a);
      std::string chatLine, churnLine;
      std::getline(lines, chatLine);
      std::getline(lines, churnLine);
      std::istringstream chat(chatLine), churn(churnLine);
      std::string tag;
      long n = 0;
      int c = 0, d = 0;
      chat >> tag >> n >> c >> d;
      sent += n;
      churners += c;
      churned += d;
      std::vector<double> v = values(chat);
      ms.insert(ms.end(), v.begin(), v.end());
      churn >> tag;
      v = values(churn);
      loginMs.insert(loginMs.end(), v.begin(), v.end());
    }
    std::printf("%d. relay%s: %ld chat lines sent, %zu relayed; p50 %.2f ms, p99 %.2f ms, max %.1f ms", 2 + withLogins,
                withLogins ? " while logging in" : "", sent, ms.size(), percentile(ms, 0.5), percentile(ms, 0.99),
                percentile(ms, 1.0));
    if (withLogins)
      std::printf("; logins %d of %d (%.0f/s), login p50 %.1f ms, p99 %.1f ms", churned, churners,
                  churned / s.seconds, percentile(loginMs, 0.5), percentile(loginMs, 0.99));
    std::printf("\n");
    (withLogins ? figures.churnRelayP99 : figures.relayP99) = percentile(ms, 0.99);
    if (withLogins) figures.churnLoginsPerSecond = churned / s.seconds;
    figures.phases[1 + withLogins] = phase.report(withLogins ? "relay while logging in" : "relay");
  }
  for (const std::string& a : ask(children, "stats")) {
    std::istringstream line(a);
    std::string tag;
    int u = 0, b = 0;
    line >> tag >> u >> b;
    figures.uncompressed += u;
    figures.broken += b;
  }
  figures.total = whole.report("whole run");
  figures.peakMb = memoryKb(lobby, "VmHWM") / 1024;
  ask(children, "quit");
  for (Child& c : children) waitpid(c.pid, nullptr, 0);
  kill(lobby, SIGTERM);
  waitBounded(lobby, 10000);
  // What the server refused or lost on its way, as its log tells.
  std::ifstream log(dir + "/lobby.log");
  int shown = 0;
  for (std::string line; std::getline(log, line);)
    if ((line.find("dropped") != std::string::npos || line.find("closed") != std::string::npos ||
         line.find("lost") != std::string::npos) && shown++ < 10)
      std::printf("  log: %s\n", line.c_str());
  printSummary(s, figures);
  std::system(("rm -rf '" + dir + "'").c_str());
  return 0;
}
