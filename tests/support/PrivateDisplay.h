// An X server of the test's own (Xvfb on a free display number), for tests that start
// the game as a separate process: windows of other tests running at the same time can
// neither take its focus (which would send the game to the background) nor receive
// input meant for it.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

class PrivateDisplay {
 public:
  explicit PrivateDisplay(const char* screen = "1280x1024x24") {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(fds[0]);
      std::string fd = std::to_string(fds[1]);
      // -displayfd: the server picks a free display and writes its number when ready.
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen, "-nolisten", "tcp",
             "-noreset", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    if (pid_ < 0) {
      close(fds[0]);
      return;
    }
    char buffer[32] = {};
    size_t used = 0;
    while (used + 1 < sizeof(buffer)) {
      ssize_t n = read(fds[0], buffer + used, sizeof(buffer) - 1 - used);
      if (n <= 0) break;
      used += static_cast<size_t>(n);
      if (buffer[used - 1] == '\n') break;
    }
    close(fds[0]);
    int number = -1;
    if (std::sscanf(buffer, "%d", &number) == 1 && number >= 0) name_ = ":" + std::to_string(number);
  }
  ~PrivateDisplay() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  PrivateDisplay(const PrivateDisplay&) = delete;
  PrivateDisplay& operator=(const PrivateDisplay&) = delete;

  // ":N", or empty when no server could be started.
  const std::string& name() const { return name_; }
  bool ok() const { return !name_.empty(); }

 private:
  pid_t pid_ = -1;
  std::string name_;
};
