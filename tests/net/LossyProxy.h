// A UDP relay between peers on loopback that can lose what the server sends: as a
// NAT would, it gives each client address a socket of its own towards the server.
// Single-threaded: pump() moves what waits, and the test calls it while it waits.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <map>
#include <utility>

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

  void pump() {
    unsigned char buf[65536];
    sockaddr_in from{};
    socklen_t len = sizeof from;
    ssize_t n;
    while ((n = recvfrom(front_, buf, sizeof buf, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &len)) > 0) {
      const auto key = std::make_pair(from.sin_addr.s_addr, from.sin_port);
      auto it = backs_.find(key);
      if (it == backs_.end()) {
        it = backs_.emplace(key, bound()).first;
        clients_[it->second] = from;
      }
      sendto(it->second, buf, static_cast<size_t>(n), 0, reinterpret_cast<const sockaddr*>(&server_), sizeof server_);
      len = sizeof from;
    }
    for (auto& entry : backs_) {
      while ((n = recv(entry.second, buf, sizeof buf, MSG_DONTWAIT)) > 0) {
        if (serverDatagramsToPass == 0) continue;
        if (serverDatagramsToPass > 0) --serverDatagramsToPass;
        const sockaddr_in& to = clients_[entry.second];
        sendto(front_, buf, static_cast<size_t>(n), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
      }
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

  sockaddr_in server_;
  int front_ = -1;
  std::map<std::pair<std::uint32_t, std::uint16_t>, int> backs_;
  std::map<int, sockaddr_in> clients_;
};
