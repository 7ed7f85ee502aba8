#include "UnfinishedLogins.h"

void UnfinishedLogins::put(const Login& login) {
  remove(login.client);
  byClient_[login.client] = login;
  all_.insert(keyOf(login));
  byAddress_[login.address].insert(keyOf(login));
}

void UnfinishedLogins::remove(std::uint64_t client) {
  auto it = byClient_.find(client);
  if (it == byClient_.end()) return;
  const Key key = keyOf(it->second);
  all_.erase(key);
  auto at = byAddress_.find(it->second.address);
  if (at != byAddress_.end() && at->second.erase(key) && at->second.empty()) byAddress_.erase(at);
  byClient_.erase(it);
}

std::size_t UnfinishedLogins::at(std::uint32_t address) const {
  auto it = byAddress_.find(address);
  return it == byAddress_.end() ? 0 : it->second.size();
}

std::uint64_t UnfinishedLogins::firstOf(const std::set<Key>& keys, std::uint64_t keep) {
  for (const Key& key : keys)
    if (std::get<3>(key) != keep) return std::get<3>(key);
  return 0;
}

std::uint64_t UnfinishedLogins::firstAt(std::uint32_t address, std::uint64_t keep) const {
  auto it = byAddress_.find(address);
  return it == byAddress_.end() ? 0 : firstOf(it->second, keep);
}

std::uint64_t UnfinishedLogins::first(std::uint64_t keep) const { return firstOf(all_, keep); }
