// What the in-process attack tests share: a lobby host run on a thread of its own,
// as a real server runs beside its clients.
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "LobbyHost.h"
#include "Mailer.h"
#include "RawClient.h"

struct QuietMailer : Mailer {
  bool sendCode(const std::string&, const std::string&) override { return true; }
  bool sendInvitation(const std::string&, const std::string&) override { return true; }
};

// A LobbyHost on 127.0.0.1, pumped by a thread of its own until stopped.
class ServerThread {
 public:
  // The options every attack starts from: any free port, the code 123456.
  static LobbyHostOptions options() {
    LobbyHostOptions o;
    o.bind = "127.0.0.1";
    o.port = 0;
    o.config.devCode = "123456";
    o.config.listDebounceMs = 10;
    return o;
  }

  bool start(const LobbyHostOptions& o) {
    if (!host_.start(o)) return false;
    port_ = host_.port();
    running_ = true;
    thread_ = std::thread([this] {
      while (running_)
        if (host_.pump() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    return true;
  }
  void stop() {
    running_ = false;
    if (thread_.joinable()) thread_.join();
    host_.stop();
  }
  ~ServerThread() { stop(); }

  unsigned short port() const { return port_; }

 private:
  QuietMailer mailer_;
  LobbyHost host_{mailer_};
  std::thread thread_;
  std::atomic<bool> running_{false};
  unsigned short port_ = 0;
};
