#include "LobbyProcess.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

unsigned short LobbyProcess::freePort() {
  const int fd = socket(AF_INET, SOCK_DGRAM, 0);
  if (fd < 0) return 0;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = 0;
  socklen_t len = sizeof a;
  unsigned short port = 0;
  if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) == 0)
    port = ntohs(a.sin_port);
  close(fd);
  return port;
}

pid_t spawnLogged(const std::vector<std::string>& argv, const std::string& logPath,
                  const std::vector<std::pair<std::string, std::string>>& env) {
  if (argv.empty()) return -1;
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    const int out = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out >= 0) {
      dup2(out, 1);
      dup2(out, 2);
    }
    for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
    execv(args[0], args.data());
    _exit(127);
  }
  return pid;
}

int waitBounded(pid_t pid, int ms) {
  if (pid <= 0) return -1;
  int status = 0;
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < until) {
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(pid, SIGTERM);
  for (int i = 0; i < 300; ++i) {
    if (waitpid(pid, &status, WNOHANG) == pid) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  return -1;
}

LobbyProcess::LobbyProcess(unsigned timeoutMs, const std::string& devCode,
                           const std::vector<std::pair<std::string, std::string>>& env,
                           const std::vector<std::string>& options) {
  char tmpl[] = "/tmp/mv-e2e-XXXXXX";
  if (!mkdtemp(tmpl)) return;
  dir_ = tmpl;
  port_ = freePort();
  if (!port_) return;
  std::vector<std::string> argv = {MV_LOBBY_BIN, "--bind", "127.0.0.1", "--port", std::to_string(port_),
                                   "--data-dir", dir_ + "/data"};
  if (timeoutMs) {
    argv.push_back("--timeout-ms");
    argv.push_back(std::to_string(timeoutMs));
  }
  if (!devCode.empty()) {
    argv.push_back("--dev-code");
    argv.push_back(devCode);
  }
  argv.insert(argv.end(), options.begin(), options.end());
  pid_ = spawnLogged(argv, dir_ + "/lobby.log", env);
  // Clients come at once: wait (bounded) until it listens, or has given up.
  for (int waited = 0; pid_ > 0 && waited < 20000; waited += 20) {
    if (log().find("lobby listening") != std::string::npos) break;
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
      pid_ = -1;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

LobbyProcess::~LobbyProcess() {
  // Bounded: a lobby that does not stop is killed.
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitBounded(pid_, 3000);
  }
  if (!dir_.empty() && dir_.rfind("/tmp/mv-e2e-", 0) == 0) {
    const std::string rm = "rm -rf '" + dir_ + "'";
    if (std::system(rm.c_str()) != 0) {
    }
  }
}

std::string LobbyProcess::log() const {
  std::ifstream in(dir_ + "/lobby.log");
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}
