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

LobbyProcess::LobbyProcess(unsigned timeoutMs, const std::string& devCode) {
  char tmpl[] = "/tmp/mv-e2e-XXXXXX";
  if (!mkdtemp(tmpl)) return;
  dir_ = tmpl;
  port_ = freePort();
  if (!port_) return;
  const std::string port = std::to_string(port_);
  const std::string data = dir_ + "/data";
  const std::string timeout = std::to_string(timeoutMs);
  const std::string logPath = dir_ + "/lobby.log";
  pid_ = fork();
  if (pid_ == 0) {
    const int out = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out >= 0) {
      dup2(out, 1);
      dup2(out, 2);
    }
    if (devCode.empty())
      execl(MV_LOBBY_BIN, MV_LOBBY_BIN, "--bind", "127.0.0.1", "--port", port.c_str(), "--data-dir", data.c_str(),
            "--timeout-ms", timeout.c_str(), static_cast<char*>(nullptr));
    else
      execl(MV_LOBBY_BIN, MV_LOBBY_BIN, "--bind", "127.0.0.1", "--port", port.c_str(), "--data-dir", data.c_str(),
            "--timeout-ms", timeout.c_str(), "--dev-code", devCode.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
}

LobbyProcess::~LobbyProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    int status = 0;
    // Bounded: a lobby that does not stop is killed.
    for (int i = 0; i < 300 && waitpid(pid_, &status, WNOHANG) == 0; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (waitpid(pid_, &status, WNOHANG) == 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
    }
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
