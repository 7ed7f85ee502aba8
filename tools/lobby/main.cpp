// mv-lobby: the lobby server of online play.
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "LobbyHost.h"
#include "Mailer.h"
#include "logog/logog.hpp"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

// Connections cost no file descriptor (one UDP socket serves some four thousand),
// so memory sets the bound.
constexpr unsigned kMaxClients = 65535;
// What a logged-in player may cost the server, with room for its queues.
constexpr unsigned long long kBytesPerClient = 512 * 1024;

// The connections this machine can hold: half the memory available now, at what a
// client may cost.
unsigned machineClients() {
  unsigned long long availableKb = 0;
  if (std::FILE* f = std::fopen("/proc/meminfo", "r")) {
    char line[128];
    while (std::fgets(line, sizeof line, f))
      if (std::sscanf(line, "MemAvailable: %llu kB", &availableKb) == 1) break;
    std::fclose(f);
  }
  unsigned long long byMemory = availableKb * 1024 / 2 / kBytesPerClient;
  if (availableKb == 0) byMemory = 1000;  // no figure: a cautious guess
  return static_cast<unsigned>(std::max(1ull, std::min<unsigned long long>(byMemory, kMaxClients)));
}

void onSignal(int) { stopRequested = 1; }

void usage() {
  const LobbyHostOptions defaults;
  std::printf(
      "usage: mv-lobby [options]\n"
      "  --bind ADDRESS        IPv4 address to listen on (default: all)\n"
      "  --port PORT           UDP port (default 3333)\n"
      "  --data-dir DIR        where the account database accounts.db is kept (default: current\n"
      "                        folder); an older accounts.txt there is imported once\n"
      "  --outbox DIR          where mailed codes and invitations are written (default: DATA/outbox)\n"
      "  --dev-code CODE       six digits every new login gets, for local play\n"
      "  --timeout-ms MS       silence after which a client counts as gone (default %u)\n"
      "  --max-clients N       connections accepted at once (default: what this machine holds,\n"
      "                        at most %u)\n"
      "  --max-unfinished N    connections still logging in, from all addresses (default: half\n"
      "                        of --max-clients); past it a newcomer takes the place of the\n"
      "                        one idle longest\n"
      "  --max-unfinished-per-address N  the same from one address (default %d)\n"
      "  --version-timeout-ms MS  for a new connection to give its protocol version (default %lld)\n"
      "  --code-timeout-ms MS  for a mailed code to be sent back (default %lld)\n"
      "  --challenge-expiry-ms MS  (default 60000)\n",
      defaults.timeoutMs, kMaxClients, defaults.config.maxUnfinishedPerAddress,
      static_cast<long long>(defaults.config.versionTimeoutMs), static_cast<long long>(defaults.config.codeTimeoutMs));
}

bool number(const char* text, long min, long max, long& out) {
  char* end = nullptr;
  long v = std::strtol(text, &end, 10);
  if (!end || *end || v < min || v > max) return false;
  out = v;
  return true;
}

bool makeFolders(const std::string& path) {
  for (size_t i = 1; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '/') {
      if (mkdir(path.substr(0, i).c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  LobbyHostOptions options;
  options.maxClients = machineClients();
  std::string dataDir = ".";
  std::string outbox;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    long n = 0;
    if (arg == "--help" || arg == "-h") {
      usage();
      return 0;
    }
    if (!value) {
      std::fprintf(stderr, "mv-lobby: %s needs a value\n", arg.c_str());
      return 2;
    }
    ++i;
    if (arg == "--bind") {
      options.bind = value;
    } else if (arg == "--port" && number(value, 1, 65535, n)) {
      options.port = static_cast<unsigned short>(n);
    } else if (arg == "--data-dir") {
      dataDir = value;
    } else if (arg == "--outbox") {
      outbox = value;
    } else if (arg == "--dev-code" && std::strlen(value) == 6 &&
               std::strspn(value, "0123456789") == 6) {
      options.config.devCode = value;
    } else if (arg == "--timeout-ms" && number(value, 100, 3600000, n)) {
      options.timeoutMs = static_cast<unsigned>(n);
    } else if (arg == "--max-clients" && number(value, 1, kMaxClients, n)) {
      options.maxClients = static_cast<unsigned>(n);
    } else if (arg == "--max-unfinished" && number(value, 1, kMaxClients, n)) {
      options.config.maxUnfinished = static_cast<int>(n);
    } else if (arg == "--max-unfinished-per-address" && number(value, 1, kMaxClients, n)) {
      options.config.maxUnfinishedPerAddress = static_cast<int>(n);
    } else if (arg == "--version-timeout-ms" && number(value, 100, 3600000, n)) {
      options.config.versionTimeoutMs = n;
    } else if (arg == "--code-timeout-ms" && number(value, 100, 24 * 3600000L, n)) {
      options.config.codeTimeoutMs = n;
    } else if (arg == "--challenge-expiry-ms" && number(value, 100, 3600000, n)) {
      options.config.challengeExpiryMs = n;
    } else {
      std::fprintf(stderr, "mv-lobby: bad option %s %s\n", arg.c_str(), value);
      usage();
      return 2;
    }
  }
  if (outbox.empty()) outbox = dataDir + "/outbox";
  options.accountsPath = dataDir + "/accounts.db";
  options.importPath = dataDir + "/accounts.txt";
  if (!makeFolders(dataDir)) {
    std::fprintf(stderr, "mv-lobby: cannot create %s\n", dataDir.c_str());
    return 1;
  }

  logog::Initialize();
  {
    logog::Cout console;
    logog::FormatterGCC formatter;
    console.SetFormatter(formatter);

    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);

    OutboxMailer outboxMailer(outbox);
    QueuedMailer mailer(outboxMailer);  // mail is written beside the relay, not in its way
    LobbyHost host(mailer);
    if (!host.start(options)) {
      logog::Shutdown();
      return 1;
    }
    LOGOG_INFO("up to %u connections", options.maxClients);
    if (!options.config.devCode.empty()) LOGOG_INFO("every new login gets the code %s", options.config.devCode.c_str());
    while (!stopRequested) {
      // Idle: a short nap, so that a move to relay waits half a millisecond at most.
      if (host.pump() == 0) std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    LOGOG_INFO("lobby stopping");
    host.stop();
  }
  logog::Shutdown();
  return 0;
}
