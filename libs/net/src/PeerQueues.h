// Bookkeeping of the peer's traffic, kept apart from the transport: the events
// waiting for Receive (one queue per remote system, taken in turn), the rate at which
// a remote system may send, and the bytes queued for one that it has not yet
// acknowledged. The events have a lock of their own, so that the application's
// Receive never waits for the service thread's round; the rest is not thread-safe:
// the peer holds its lock around every call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <unordered_map>

#include "raknet/PluginInterface2.h"
#include "raknet/RakNetTypes.h"

namespace RakNet {

enum class EventKind { Message, NewConnection, Closed, Failed };

struct Event {
  EventKind kind = EventKind::Message;
  Packet* packet = nullptr;  // null for a close the user made
  SystemAddress address;
  RakNetGUID guid;
  bool incoming = false;
  PI2_LostConnectionReason lostReason = LCR_CONNECTION_LOST;
  PI2_FailedConnectionAttemptReason failReason = FCAR_CONNECTION_ATTEMPT_FAILED;
};

// Events waiting for Receive. Each remote system (by GUID) has its own queue, and
// Receive takes one event from each queue in turn, so a system that sends a great
// deal delays the others by one message per turn, not by its whole backlog. The
// events of one system, its connection events included, keep their order. Events of
// no connection (failed attempts, packets pushed by the application) come first.
class EventQueues {
 public:
  // The key of the queue for events of no connection; no peer has that GUID.
  static constexpr std::uint64_t kLocal = ~static_cast<std::uint64_t>(0);

  void push(std::uint64_t key, const Event& e);
  void pushLocalFront(const Event& e);
  bool pop(Event& out);
  // Messages and bytes of messages waiting from one system.
  std::size_t messages(std::uint64_t key) const;
  std::size_t bytes(std::uint64_t key) const;
  // Bytes of messages waiting from every system, and the system with the most
  // (kLocal when none waits).
  std::size_t totalBytes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return totalBytes_;
  }
  std::uint64_t heaviest() const;
  // Takes out the messages waiting from one system (its connection events stay) and
  // hands their packets to `dispose`.
  template <class Dispose>
  void dropMessages(std::uint64_t key, Dispose dispose) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = queues_.find(key);
    if (it == queues_.end()) return;
    std::deque<Event> kept;
    for (Event& e : it->second.events) {
      if (e.kind == EventKind::Message)
        dispose(e.packet);
      else
        kept.push_back(e);
    }
    it->second.events.swap(kept);
    it->second.messages = 0;
    totalBytes_ -= it->second.bytes;
    it->second.bytes = 0;
  }
  // Empties every queue, handing each event's packet to `dispose`.
  template <class Dispose>
  void clear(Dispose dispose) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& entry : queues_)
      for (Event& e : entry.second.events) dispose(e.packet);
    queues_.clear();
    turns_.clear();
    totalBytes_ = 0;
  }

 private:
  struct Queue {
    std::deque<Event> events;
    std::size_t messages = 0;
    std::size_t bytes = 0;
    bool inTurns = false;  // its key is in turns_
  };

  mutable std::mutex mutex_;
  std::unordered_map<std::uint64_t, Queue> queues_;
  std::deque<std::uint64_t> turns_;  // keys of non-local queues with events, next first
  std::size_t totalBytes_ = 0;       // of the messages of every queue
};

// At most `rate` a second on average, with bursts up to `burst`. A rate of 0 allows
// everything.
class TokenBucket {
 public:
  void configure(double rate, double burst, std::uint64_t nowMs);
  bool take(double amount, std::uint64_t nowMs);
  // What may be taken now (unlimited: the largest double).
  double available(std::uint64_t nowMs);
  // What was taken lately and has not grown back yet.
  double spent(std::uint64_t nowMs) { return rate_ <= 0 ? 0 : burst_ - available(nowMs); }

 private:
  double rate_ = 0;
  double burst_ = 0;
  double tokens_ = 0;
  std::uint64_t last_ = 0;
};

// Bytes queued for one remote system and not yet acknowledged by it. The transport
// calls release() as it lets go of each packet, which may be after the connection is
// forgotten, so the connection gives the counter up with orphan() instead of
// deleting it; the last release deletes an orphan.
class OutQueue {
 public:
  void hold(std::size_t bytes) {
    bytes_ += bytes;
    ++packets_;
  }
  // Returns whether the counter deleted itself.
  bool release(std::size_t bytes);
  void orphan();
  std::size_t bytes() const { return bytes_; }

 private:
  std::size_t bytes_ = 0;
  std::size_t packets_ = 0;
  bool orphan_ = false;
};

}  // namespace RakNet
