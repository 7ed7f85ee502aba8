#include "GreetingBook.h"

#include <algorithm>

namespace RakNet {
namespace peer {
namespace {
// Addresses whose greetings are counted: above this many, those that have their whole
// share again are forgotten (at most once a second), and if that is not enough, all.
constexpr std::size_t kCountedAddresses = 65536;
constexpr std::uint64_t kPruneIntervalMs = 1000;
}  // namespace

bool GreetingBook::claim(std::uint64_t guid, const Holder& claimant, Holder& replaced) {
  std::lock_guard<std::mutex> lock(mutex_);
  replaced = Holder{};
  auto it = holders_.find(guid);
  if (it != holders_.end()) {
    const Holder& holder = it->second;
    if (holder.address != claimant.address && holder.proof != claimant.proof) return false;
    if (holder.peer == claimant.peer)
      replaced = holder;
    else
      replaced_.push_back({holder.peer, guid, holder.connection});
  }
  holders_[guid] = claimant;
  return true;
}

void GreetingBook::release(std::uint64_t guid, const void* peer, std::uint64_t connection) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = holders_.find(guid);
  if (it != holders_.end() && it->second.peer == peer && it->second.connection == connection) holders_.erase(it);
}

std::vector<std::pair<std::uint64_t, std::uint64_t>> GreetingBook::takeReplaced(const void* peer) {
  std::vector<std::pair<std::uint64_t, std::uint64_t>> out;
  std::lock_guard<std::mutex> lock(mutex_);
  if (replaced_.empty()) return out;
  auto mine = std::stable_partition(replaced_.begin(), replaced_.end(),
                                    [&](const Replaced& r) { return r.peer != peer; });
  for (auto it = mine; it != replaced_.end(); ++it) out.emplace_back(it->guid, it->connection);
  replaced_.erase(mine, replaced_.end());
  return out;
}

void GreetingBook::forgetPeer(const void* peer) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto it = holders_.begin(); it != holders_.end();) it = it->second.peer == peer ? holders_.erase(it) : std::next(it);
  replaced_.erase(std::remove_if(replaced_.begin(), replaced_.end(), [&](const Replaced& r) { return r.peer == peer; }),
                  replaced_.end());
}

void GreetingBook::setGreetingRate(double perSecond, double burst) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (perSecond == perSecond_ && burst == burst_) return;
  perSecond_ = perSecond;
  burst_ = burst;
  greetings_.clear();
}

bool GreetingBook::admit(std::uint32_t ip, std::uint64_t nowMs) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (perSecond_ <= 0) return true;
  if (greetings_.size() > kCountedAddresses && nowMs >= nextPrune_) {
    nextPrune_ = nowMs + kPruneIntervalMs;
    const double whole = std::max(burst_, perSecond_);
    for (auto it = greetings_.begin(); it != greetings_.end();)
      it = it->second.available(nowMs) >= whole ? greetings_.erase(it) : std::next(it);
    if (greetings_.size() > kCountedAddresses) greetings_.clear();  // bounded; the limit is a courtesy
  }
  auto it = greetings_.find(ip);
  if (it == greetings_.end()) {
    it = greetings_.emplace(ip, TokenBucket{}).first;
    it->second.configure(perSecond_, burst_, nowMs);
  }
  return it->second.take(1, nowMs);
}

}  // namespace peer
}  // namespace RakNet
