// A UDP relay between peers on loopback that can lose what the server sends and
// hold every datagram a while each way, as a slow link would: as a NAT would, it
// gives each client address a socket of its own towards the server.
// Single-threaded: pump() moves what waits, and the test calls it while it waits.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <utility>
#include <vector>

class LossyProxy {
 public:
  explicit LossyProxy(std::uint16_t serverPort) : server_(loopback(serverPort)) { front_ = bound(); }
  ~LossyProxy() {
    for (auto& entry : backs_) close(entry.second);
    if (front_ >= 0) close(front_);
  }
  LossyProxy(const LossyProxy&) = delete;
  LossyProxy& operator=(const LossyProxy&) = delete;

  std::uint16_t port() const { return portOf(front_); }
  // How many more datagrams from the server pass; the rest are lost (negative: all pass).
  int serverDatagramsToPass = -1;
  // How long each datagram is held on its way, either way.
  std::chrono::milliseconds delay{0};

  void pump() {
    unsigned char buf[65536];
    sockaddr_in from{};
    socklen_t len = sizeof from;
    ssize_t n;
    const auto due = Clock::now() + delay;
    while ((n = recvfrom(front_, buf, sizeof buf, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &len)) > 0) {
      const auto key = std::make_pair(from.sin_addr.s_addr, from.sin_port);
      auto it = backs_.find(key);
      if (it == backs_.end()) {
        it = backs_.emplace(key, bound()).first;
        clients_[it->second] = from;
      }
      held_.push_back({due, it->second, server_, {buf, buf + n}});
      len = sizeof from;
    }
    for (auto& entry : backs_) {
      while ((n = recv(entry.second, buf, sizeof buf, MSG_DONTWAIT)) > 0) {
        if (serverDatagramsToPass == 0) continue;
        if (serverDatagramsToPass > 0) --serverDatagramsToPass;
        held_.push_back({due, front_, clients_[entry.second], {buf, buf + n}});
      }
    }
    // Every datagram is held as long: they leave in the order they came.
    const auto now = Clock::now();
    while (!held_.empty() && held_.front().due <= now) {
      const Datagram& d = held_.front();
      sendto(d.via, d.bytes.data(), d.bytes.size(), 0, reinterpret_cast<const sockaddr*>(&d.to), sizeof d.to);
      held_.pop_front();
    }
  }

 private:
  static sockaddr_in loopback(std::uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(port);
    return a;
  }
  static int bound() {
    int s = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a = loopback(0);
    if (s >= 0) bind(s, reinterpret_cast<const sockaddr*>(&a), sizeof a);
    return s;
  }
  static std::uint16_t portOf(int s) {
    sockaddr_in a{};
    socklen_t len = sizeof a;
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    return ntohs(a.sin_port);
  }

  using Clock = std::chrono::steady_clock;
  struct Datagram {
    Clock::time_point due;
    int via;  // the socket it leaves from
    sockaddr_in to;
    std::vector<unsigned char> bytes;
  };

  sockaddr_in server_;
  int front_ = -1;
  std::map<std::pair<std::uint32_t, std::uint16_t>, int> backs_;
  std::map<int, sockaddr_in> clients_;
  std::deque<Datagram> held_;
};
