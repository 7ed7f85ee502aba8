#include "PeerQueues.h"

#include <algorithm>
#include <limits>

namespace RakNet {

void EventQueues::push(std::uint64_t key, const Event& e) {
  std::lock_guard<std::mutex> lock(mutex_);
  Queue& q = queues_[key];
  q.events.push_back(e);
  // What waits from remote systems is counted; the application's own packets are not.
  if (e.kind == EventKind::Message && e.packet && key != kLocal) {
    ++q.messages;
    q.bytes += e.packet->length;
    totalBytes_ += e.packet->length;
  }
  if (!q.inTurns && key != kLocal) {
    turns_.push_back(key);
    q.inTurns = true;
  }
}

void EventQueues::pushLocalFront(const Event& e) {
  std::lock_guard<std::mutex> lock(mutex_);
  queues_[kLocal].events.push_front(e);
}

bool EventQueues::pop(Event& out) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto local = queues_.find(kLocal);
  if (local != queues_.end() && !local->second.events.empty()) {
    out = local->second.events.front();
    local->second.events.pop_front();
    return true;
  }
  while (!turns_.empty()) {
    std::uint64_t key = turns_.front();
    turns_.pop_front();
    auto it = queues_.find(key);
    if (it == queues_.end()) continue;
    Queue& q = it->second;
    q.inTurns = false;
    if (q.events.empty()) {
      queues_.erase(it);
      continue;
    }
    out = q.events.front();
    q.events.pop_front();
    if (out.kind == EventKind::Message && out.packet) {
      --q.messages;
      q.bytes -= out.packet->length;
      totalBytes_ -= out.packet->length;
    }
    if (q.events.empty()) {
      queues_.erase(it);
    } else {
      turns_.push_back(key);
      q.inTurns = true;
    }
    return true;
  }
  return false;
}

std::size_t EventQueues::messages(std::uint64_t key) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = queues_.find(key);
  return it == queues_.end() ? 0 : it->second.messages;
}

std::size_t EventQueues::bytes(std::uint64_t key) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = queues_.find(key);
  return it == queues_.end() ? 0 : it->second.bytes;
}

std::uint64_t EventQueues::heaviest() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::uint64_t key = kLocal;
  std::size_t most = 0;
  for (const auto& entry : queues_) {
    if (entry.first != kLocal && entry.second.bytes > most) {
      most = entry.second.bytes;
      key = entry.first;
    }
  }
  return key;
}

void TokenBucket::configure(double rate, double burst, std::uint64_t nowMs) {
  rate_ = rate;
  burst_ = std::max(burst, rate);
  tokens_ = burst_;
  last_ = nowMs;
}

double TokenBucket::available(std::uint64_t nowMs) {
  if (rate_ <= 0) return std::numeric_limits<double>::max();
  if (nowMs > last_) {
    tokens_ = std::min(burst_, tokens_ + rate_ * static_cast<double>(nowMs - last_) / 1000.0);
    last_ = nowMs;
  }
  return tokens_;
}

bool TokenBucket::take(double amount, std::uint64_t nowMs) {
  if (rate_ <= 0) return true;
  if (available(nowMs) < amount) return false;
  tokens_ -= amount;
  return true;
}

bool OutQueue::release(std::size_t bytes) {
  bytes_ -= std::min(bytes, bytes_);
  if (packets_ > 0) --packets_;
  if (orphan_ && packets_ == 0) {
    delete this;
    return true;
  }
  return false;
}

void OutQueue::orphan() {
  if (packets_ == 0)
    delete this;
  else
    orphan_ = true;
}

}  // namespace RakNet
