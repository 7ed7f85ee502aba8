// The lobby server (mv-lobby) as a child process on 127.0.0.1, on a free port,
// with its data and outbox in a fresh temporary folder; stopped and removed when
// the object goes.
#pragma once

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

// Starts `argv` as a child process with stdout and stderr written to `logPath` and
// the environment variables `env` added; -1 when it cannot start.
pid_t spawnLogged(const std::vector<std::string>& argv, const std::string& logPath,
                  const std::vector<std::pair<std::string, std::string>>& env = {});
// Waits for the child at most `ms`; then stops it (SIGTERM, then SIGKILL). Its exit
// status, or -1 when it had to be stopped or did not exit normally.
int waitBounded(pid_t pid, int ms);

class LobbyProcess {
 public:
  // `timeoutMs`: silence after which the lobby counts a client as gone (0: the
  // lobby's own default); `devCode`: the code every new login gets (none: codes are
  // mailed); `env`: variables added to the lobby's environment; `options`: more of
  // the lobby's command-line options.
  explicit LobbyProcess(unsigned timeoutMs = 0, const std::string& devCode = "",
                        const std::vector<std::pair<std::string, std::string>>& env = {},
                        const std::vector<std::string>& options = {});
  ~LobbyProcess();
  LobbyProcess(const LobbyProcess&) = delete;
  LobbyProcess& operator=(const LobbyProcess&) = delete;

  bool running() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }
  unsigned short port() const { return port_; }
  std::string outbox() const { return dir_ + "/data/outbox"; }
  // The temporary folder, removed with the lobby: room for other processes' files.
  const std::string& dir() const { return dir_; }
  std::string log() const;

 private:
  static unsigned short freePort();

  std::string dir_;
  unsigned short port_ = 0;
  pid_t pid_ = -1;
};
