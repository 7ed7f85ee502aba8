// The lobby's connections still logging in, in the order in which they make room for
// newer ones: the one with the most failed logins first, then the one whose login
// moved on longest ago, then the one that came first. Counted by address and in all,
// so that the server can bound both without a clock: a game may rest at the e-mail
// prompt for as long as its player stays at the menu, and only a newcomer past a
// bound ends the longest-idle login.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <tuple>
#include <unordered_map>

class UnfinishedLogins {
 public:
  struct Login {
    std::uint64_t client = 0;
    std::uint32_t address = 0;
    int failures = 0;
    std::int64_t since = 0;  // when its login last moved on
    std::uint64_t arrival = 0;
  };

  // Adds the login, or updates it.
  void put(const Login& login);
  void remove(std::uint64_t client);
  std::size_t size() const { return byClient_.size(); }
  std::size_t at(std::uint32_t address) const;
  // The first to make room, but `keep`: among the logins of `address`, or of all; 0
  // when there is none.
  std::uint64_t firstAt(std::uint32_t address, std::uint64_t keep) const;
  std::uint64_t first(std::uint64_t keep) const;

 private:
  // Most failures first (negated), then the oldest, then the first to come.
  using Key = std::tuple<int, std::int64_t, std::uint64_t, std::uint64_t>;
  static Key keyOf(const Login& l) { return {-l.failures, l.since, l.arrival, l.client}; }
  static std::uint64_t firstOf(const std::set<Key>& keys, std::uint64_t keep);

  std::unordered_map<std::uint64_t, Login> byClient_;
  std::set<Key> all_;
  std::unordered_map<std::uint32_t, std::set<Key>> byAddress_;
};
