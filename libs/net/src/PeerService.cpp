// The peer's service thread: connections coming and going, the handshake, and the
// messages of each connection checked against its limits (see RakPeer.h).
#include <arpa/inet.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include <enet/time.h>

#include "RakPeer.h"
#include "logog/logog.hpp"

namespace RakNet {
namespace peer {
namespace {

// One turn of the host without ENet's news of bandwidth limits. In the second after
// any system came or went, ENet tells every connected system the host's limits again;
// ours are never set (0: unlimited, as each connect already told), so the news never
// changes, and with thousands connected and logins every second it cost each of them
// a datagram and an acknowledgement a second, sent in one burst that held the host,
// and the application's sends and receives with it, for milliseconds.
int serviceOnce(ENetHost* host, ENetEvent* event) {
  host->recalculateBandwidthLimits = 0;
  return enet_host_service(host, event, 0);
}

}  // namespace

Packet* RakPeer::MakePacket(const Connection& c, const unsigned char* data, size_t length, bool local) {
  Packet* p = new Packet;
  p->data = new unsigned char[length ? length : 1];
  if (length) std::memcpy(p->data, data, length);
  p->length = static_cast<unsigned>(length);
  p->bitSize = static_cast<BitSize_t>(length * 8);
  p->guid = c.guid;
  p->guid.systemIndex = c.address.systemIndex;
  p->systemAddress = c.address;
  p->wasGeneratedLocally = local;
  return p;
}

void RakPeer::QueueEvent(EventKind kind, const Connection& c, unsigned char id) {
  Event e;
  e.kind = kind;
  e.address = c.address;
  e.guid = c.guid;
  e.incoming = c.incoming;
  e.packet = MakePacket(c, &id, 1, true);
  switch (id) {
    case ID_DISCONNECTION_NOTIFICATION: e.lostReason = LCR_DISCONNECTION_NOTIFICATION; break;
    case ID_NO_FREE_INCOMING_CONNECTIONS: e.failReason = FCAR_NO_FREE_INCOMING_CONNECTIONS; break;
    case ID_CONNECTION_BANNED: e.failReason = FCAR_CONNECTION_BANNED; break;
    case ID_INCOMPATIBLE_PROTOCOL_VERSION: e.failReason = FCAR_INCOMPATIBLE_PROTOCOL; break;
    case ID_ALREADY_CONNECTED: e.failReason = FCAR_ALREADY_CONNECTED; break;
    default: break;
  }
  // A connection's events wait with its messages, in order; events of an attempt
  // that never learnt the other side's GUID wait with the local ones.
  events_.push(handshake::usableGuid(c.guid.g) ? c.guid.g : EventQueues::kLocal, e);
}

void RakPeer::SendHandshake(ENetPeer* peer, handshake::Kind kind, handshake::Compression compression,
                            std::uint32_t version) {
  handshake::Greeting greeting;
  greeting.kind = kind;
  greeting.guid = guid_.g;
  greeting.compression = compression;
  greeting.proof = kind == handshake::Kind::Hello ? proof_ : 0;
  std::vector<unsigned char> msg = handshake::encode(greeting, version);
  ENetPacket* packet = enet_packet_create(msg.data(), msg.size(), ENET_PACKET_FLAG_RELIABLE);
  if (packet && enet_peer_send(peer, 0, packet) != 0) enet_packet_destroy(packet);
}

void RakPeer::CloseOverLimit(Connection& c, const char* why) {
  LOGOG_WARN("closing the connection of %s (%s): %s", c.guid.ToString().c_str(), c.address.ToString().c_str(),
             why);
  events_.dropMessages(c.guid.g, [this](Packet* p) { DeallocatePacket(p); });
  Connection closed = c;
  enet_peer_disconnect_now(c.peer, kReasonOverLimit);
  Forget(c.peer);
  QueueEvent(EventKind::Closed, closed, ID_CONNECTION_LOST);
}

void RakPeer::LogRefusal(const char* ip, const char* why) {
  std::uint64_t now = nowMs();
  if (now - refusalWindow_ >= kRefusalIntervalMs) {
    if (refusalsUnlogged_ > 0)
      LOGOG_WARN("%d more connections refused in the last %llu s", refusalsUnlogged_,
                 static_cast<unsigned long long>(kRefusalIntervalMs / 1000));
    refusalWindow_ = now;
    refusalsLogged_ = 0;
    refusalsUnlogged_ = 0;
  }
  if (refusalsLogged_ < kRefusalLinesPerInterval) {
    ++refusalsLogged_;
    LOGOG_INFO("refused connection from %s: %s", ip, why);
  } else {
    ++refusalsUnlogged_;
  }
}

void RakPeer::Forget(ENetPeer* peer) {
  auto it = conns_.find(peer);
  if (it == conns_.end()) return;
  auto g = byGuid_.find(it->second.guid.g);
  if (g != byGuid_.end() && g->second == peer) byGuid_.erase(g);
  if (it->second.incoming) book_->release(it->second.guid.g, this, it->second.number);
  if (it->second.out) it->second.out->orphan();
  conns_.erase(it);
}

void RakPeer::OnConnect(const ENetEvent& ev) {
  auto it = conns_.find(ev.peer);
  if (it != conns_.end()) {  // our own attempt reached the other side
    if (it->second.state == Connection::State::Connecting) {
      it->second.state = Connection::State::Handshake;
      it->second.asked = compression_ ? handshake::Compression::Deflate : handshake::Compression::None;
      SendHandshake(ev.peer, handshake::Kind::Hello, it->second.asked);
    }
    return;
  }
  char ip[32];
  enet_address_get_host_ip(&ev.peer->address, ip, sizeof ip);
  enet_uint32 refuse = kReasonNone;
  char why[96] = "";
  size_t incoming = 0;
  for (auto& entry : conns_)
    if (entry.second.incoming) ++incoming;
  std::uint32_t version = handshake::versionOf(ev.data);
  // An older greeting that we can still speak is let in to hear that it is out of
  // date, when the application has said how to tell it.
  const bool outdated = version >= handshake::kOldestVersion && version < handshake::kVersion && !farewell_.empty();
  // Every attempt counts toward its address's share, whatever becomes of it.
  if (!book_->admit(ntohl(ev.peer->address.host), nowMs())) {
    refuse = kReasonOverLimit;
    std::snprintf(why, sizeof why, "its address opened more than its share of connections lately");
  } else if (version != handshake::kVersion && !outdated) {
    refuse = kReasonIncompatible;
    if (version)
      std::snprintf(why, sizeof why, "it speaks handshake version %u, we speak %u", version,
                    handshake::kVersion);
    else
      std::snprintf(why, sizeof why, "not our protocol");
  } else if (incoming >= maxIncoming_ || conns_.size() >= maxConnections_) {
    refuse = kReasonFull;
    std::snprintf(why, sizeof why, "no free slot");
  }
  if (refuse != kReasonNone) {
    LogRefusal(ip, why);
    enet_peer_disconnect(ev.peer, refuse);
    return;
  }
  Connection c;
  c.peer = ev.peer;
  c.number = nextNumber_++;
  c.address = toSystemAddress(ev.peer->address, static_cast<std::uint16_t>(ev.peer->incomingPeerID));
  c.incoming = true;
  c.version = version;
  c.state = Connection::State::Handshake;
  c.deadline = nowMs() + kIncomingHandshakeMs;
  c.timeout = defaultTimeout_;
  c.out = new OutQueue;
  ApplyTimeout(c);
  conns_[ev.peer] = c;
}

void RakPeer::RefuseHandshake(Connection& c, enet_uint32 reason, const char* why) {
  char ip[32];
  enet_address_get_host_ip(&c.peer->address, ip, sizeof ip);
  LogRefusal(ip, why);
  Connection refused = c;
  enet_peer_disconnect_now(c.peer, reason);
  Forget(c.peer);
  if (!refused.incoming) {
    refused.guid = UNASSIGNED_RAKNET_GUID;
    QueueEvent(EventKind::Failed, refused,
               reason == kReasonGuidInUse ? ID_ALREADY_CONNECTED : ID_CONNECTION_ATTEMPT_FAILED);
  }
}

void RakPeer::OnHandshake(Connection& c, const unsigned char* data, size_t length) {
  if (c.state != Connection::State::Handshake) return;
  handshake::Greeting greeting;
  const char* why = nullptr;
  if (!handshake::decode(data, length, greeting, &why, c.version))
    return RefuseHandshake(c, kReasonIncompatible, why);
  const std::uint64_t g = greeting.guid;
  if (c.incoming && c.version != handshake::kVersion && greeting.kind == handshake::Kind::Hello)
    return SayFarewell(c);
  if (c.incoming && greeting.kind == handshake::Kind::Hello) {
    if (!ClaimGuid(c, greeting)) return RefuseHandshake(c, kReasonGuidInUse, "its GUID is in use");
    // Granted when both want it (and the streams can be set up).
    handshake::Compression grant = handshake::Compression::None;
    if (greeting.compression == handshake::Compression::Deflate && compression_ && StartCompression(c))
      grant = handshake::Compression::Deflate;
    c.guid.g = g;
    c.proof = greeting.proof;
    c.state = Connection::State::Connected;
    byGuid_[g] = c.peer;
    StartRates(c, nowMs());
    SendHandshake(c.peer, handshake::Kind::Welcome, grant);
    QueueEvent(EventKind::NewConnection, c, ID_NEW_INCOMING_CONNECTION);
  } else if (!c.incoming && greeting.kind == handshake::Kind::Welcome) {
    if (byGuid_.count(g) || g == guid_.g)  // already connected to that system another way
      return RefuseHandshake(c, kReasonGuidInUse, "already connected to that system");
    if (greeting.compression != handshake::Compression::None && greeting.compression != c.asked)
      return RefuseHandshake(c, kReasonIncompatible, "it granted a compression we did not ask for");
    if (greeting.compression == handshake::Compression::Deflate && !StartCompression(c))
      return RefuseHandshake(c, kReasonIncompatible, "the compression it granted cannot be set up here");
    c.guid.g = g;
    c.state = Connection::State::Connected;
    byGuid_[g] = c.peer;
    StartRates(c, nowMs());
    ApplyTimeout(c);
    QueueEvent(EventKind::NewConnection, c, ID_CONNECTION_REQUEST_ACCEPTED);
  } else {
    RefuseHandshake(c, kReasonIncompatible, "a greeting of the wrong kind");
  }
}

bool RakPeer::ClaimGuid(Connection& c, const handshake::Greeting& hello) {
  // A GUID is the identity others know a peer by (a lobby lists it, say), so no one
  // may take one that is in use, whichever peer of the port its Hello reaches. The
  // peer that holds it may come back, on the same socket or a new one (its old
  // connection died without a word, or its Welcome was lost): the proof of its first
  // Hello says it is the same peer, and the new connection replaces the old.
  const std::uint64_t g = hello.guid;
  auto local = byGuid_.find(g);
  if (g == guid_.g || (local != byGuid_.end() && !conns_[local->second].incoming)) return false;
  GreetingBook::Holder claimant{this, c.number, c.address, hello.proof};
  GreetingBook::Holder replaced;
  if (!book_->claim(g, claimant, replaced)) return false;
  // Ours that the book named goes now; one that another peer's connection replaced
  // first goes when that notice comes (CloseReplaced finds it by its number).
  if (replaced.peer) CloseReplaced(g, replaced.connection);
  return true;
}

void RakPeer::CloseReplaced(std::uint64_t guid, std::uint64_t number) {
  // Found by its number: a newer connection of this peer may have taken the GUID's
  // entry already (its Hello came here after another peer's had replaced this one).
  auto found = std::find_if(conns_.begin(), conns_.end(),
                            [&](const std::pair<ENetPeer* const, Connection>& e) { return e.second.number == number; });
  if (found == conns_.end()) return;
  Connection& c = found->second;
  if (c.state == Connection::State::Closing) return;
  LOGOG_INFO("%s (%s) came back on another connection; closing the old one", c.guid.ToString().c_str(),
             c.address.ToString().c_str());
  // What was queued for it still goes first; it no longer holds the GUID.
  const Connection old = c;
  auto it = byGuid_.find(guid);
  if (it != byGuid_.end() && it->second == old.peer) byGuid_.erase(it);
  if (old.state == Connection::State::Connected) {
    enet_peer_disconnect_later(old.peer, kReasonReplaced);
    c.state = Connection::State::Closing;
    QueueEvent(EventKind::Closed, old, ID_CONNECTION_LOST);
  } else {
    enet_peer_disconnect_now(old.peer, kReasonReplaced);
    Forget(old.peer);
  }
}

void RakPeer::SayFarewell(Connection& c) {
  char ip[32];
  enet_address_get_host_ip(&c.peer->address, ip, sizeof ip);
  char why[96];
  std::snprintf(why, sizeof why, "it speaks handshake version %u, we speak %u; told so", c.version,
                handshake::kVersion);
  LogRefusal(ip, why);
  SendHandshake(c.peer, handshake::Kind::Welcome, handshake::Compression::None, c.version);
  ENetPacket* packet = enet_packet_create(farewell_.data(), farewell_.size(), ENET_PACKET_FLAG_RELIABLE);
  if (packet && enet_peer_send(c.peer, 0, packet) != 0) enet_packet_destroy(packet);
  // "later": the farewell leaves first; the other side closes too, as it is told to.
  enet_peer_disconnect_later(c.peer, kReasonClosed);
  c.state = Connection::State::Closing;
}

void RakPeer::OnReceive(const ENetEvent& ev) {
  auto it = conns_.find(ev.peer);
  if (it == conns_.end()) return;
  Connection& c = it->second;
  const unsigned char* data = ev.packet->data;
  size_t length = ev.packet->dataLength;
  if (c.state == Connection::State::Handshake) {
    if (length > 0 && data[0] == ID_INTERNAL_HANDSHAKE) OnHandshake(c, data, length);
    return;
  }
  if (c.state != Connection::State::Connected || length == 0) return;
  std::uint64_t now = nowMs();
  char why[128] = "";
  if (!c.messageRate.take(1, now)) {
    std::snprintf(why, sizeof why, "more than %u messages a second", limits_.messagesPerSecond);
    return CloseOverLimit(c, why);
  }
  // The limits below hold for the message as the application gets it.
  if (c.compression && (ev.packet->flags & ENET_PACKET_FLAG_RELIABLE)) {
    InflateLocked(c, data, length, now, why, sizeof why);
    if (why[0]) return CloseOverLimit(c, why);
    data = inflated_.data();
    length = inflated_.size();
  } else if (length > MaxMessageLocked()) {
    std::snprintf(why, sizeof why, "a message of %zu bytes", length);
    return CloseOverLimit(c, why);
  }
  if (data[0] == ID_INTERNAL_HANDSHAKE) return;  // a greeting once connected means nothing
  if (!c.byteRate.take(static_cast<double>(length), now))
    std::snprintf(why, sizeof why, "more than %zu bytes a second", limits_.bytesPerSecond);
  else if (limits_.maxWaitingMessages && events_.messages(c.guid.g) >= limits_.maxWaitingMessages)
    std::snprintf(why, sizeof why, "%zu messages wait to be read", events_.messages(c.guid.g));
  else if (limits_.maxWaitingBytes && events_.bytes(c.guid.g) + length > limits_.maxWaitingBytes)
    std::snprintf(why, sizeof why, "%zu bytes wait to be read", events_.bytes(c.guid.g) + length);
  if (why[0]) return CloseOverLimit(c, why);
  if (MakeRoomLocked(c, length)) return;
  Event e;
  e.packet = MakePacket(c, data, length, false);
  events_.push(c.guid.g, e);
}

std::size_t RakPeer::MaxMessageLocked() const {
  return limits_.maxMessageBytes ? std::min(limits_.maxMessageBytes, kMaxMessageBytes) : kMaxMessageBytes;
}

void RakPeer::InflateLocked(Connection& c, const unsigned char* data, size_t length, std::uint64_t now, char* why,
                            size_t whySize) {
  const std::size_t most = MaxMessageLocked();
  // While the peer's own budget is spent, a connection that took more than its
  // share of it lately is the one to go, before it costs more.
  if (inflateBudget_.available(now) <= 0) {
    const double share = static_cast<double>(limits_.inflatedBytesPerSecondTotal) / std::max<size_t>(1, conns_.size());
    if (c.byteRate.spent(now) > share) {
      std::snprintf(why, whySize, "it inflated more than its share while the peer's budget is spent");
      return;
    }
  }
  // What it may still send bounds what one message may inflate to.
  const double budget = c.byteRate.available(now);
  const std::size_t bound = budget < static_cast<double>(most) ? static_cast<std::size_t>(budget) : most;
  const char* bad = nullptr;
  const bool ok = c.compression->decompress(data, length, bound, inflated_, &bad);
  const std::size_t cost = ok ? inflated_.size() : bound;
  inflatedThisRound_ += cost;
  inflateBudget_.take(std::min(static_cast<double>(cost), inflateBudget_.available(now)), now);
  if (ok) return;
  if (bad == MessageCompression::kTooLong && bound < most)
    std::snprintf(why, whySize, "more than %zu bytes a second", limits_.bytesPerSecond);
  else
    std::snprintf(why, whySize, "a compressed message: %s", bad);
}

bool RakPeer::MakeRoomLocked(Connection& c, size_t length) {
  if (!limits_.maxWaitingBytesTotal) return false;
  while (events_.totalBytes() + length > limits_.maxWaitingBytesTotal) {
    const std::uint64_t heaviest = events_.heaviest();
    auto it = byGuid_.find(heaviest);
    char why[128];
    std::snprintf(why, sizeof why, "it holds the most of the %zu bytes that wait to be read from all",
                  events_.totalBytes());
    if (heaviest == c.guid.g || it == byGuid_.end()) {
      CloseOverLimit(c, why);
      return true;
    }
    CloseOverLimit(conns_[it->second], why);
  }
  return false;
}

void RakPeer::OnDisconnect(const ENetEvent& ev) {
  auto it = conns_.find(ev.peer);
  if (it == conns_.end()) return;
  Connection c = it->second;
  Forget(ev.peer);
  switch (c.state) {
    case Connection::State::Closing: return;
    case Connection::State::Connected:
      // Closed by the other side on purpose, or lost: a time-out, a limit passed, or
      // replaced by a newer connection of the same GUID there (reason 7).
      if (ev.data == kReasonReplaced)
        LOGOG_WARN("%s closed our connection: another connection with our GUID took its place",
                   c.address.ToString().c_str());
      QueueEvent(EventKind::Closed, c,
                 ev.data == kReasonClosed ? ID_DISCONNECTION_NOTIFICATION : ID_CONNECTION_LOST);
      return;
    case Connection::State::Connecting:
    case Connection::State::Handshake:
      if (c.incoming) return;
      unsigned char id = ID_CONNECTION_ATTEMPT_FAILED;
      if (ev.data == kReasonFull) id = ID_NO_FREE_INCOMING_CONNECTIONS;
      if (ev.data == kReasonBanned) id = ID_CONNECTION_BANNED;
      if (ev.data == kReasonIncompatible) id = ID_INCOMPATIBLE_PROTOCOL_VERSION;
      if (ev.data == kReasonGuidInUse) id = ID_ALREADY_CONNECTED;
      // A newer attempt of ours replaced this one there (reason 7): the attempt failed.
      if (id != ID_CONNECTION_ATTEMPT_FAILED || ev.data != kReasonNone)
        LOGOG_WARN("connection to %s refused (reason %u)", c.address.ToString().c_str(),
                   static_cast<unsigned>(ev.data));
      c.guid = UNASSIGNED_RAKNET_GUID;
      QueueEvent(EventKind::Failed, c, id);
      return;
  }
}

void RakPeer::CheckDeadlines() {
  std::uint64_t now = nowMs();
  if (now < nextDeadlineCheck_) return;
  nextDeadlineCheck_ = now + kDeadlineCheckMs;
  std::vector<ENetPeer*> expired, silent;
  for (auto& entry : conns_) {
    const Connection& c = entry.second;
    if ((c.state == Connection::State::Connecting || c.state == Connection::State::Handshake) &&
        now >= c.deadline)
      expired.push_back(entry.first);
    // The transport only looks for silence when a resend falls due, and its resends
    // back off, so on its own it notices a dead system up to twice the time-out late.
    // A live one answers our pings (one every half second of quiet), so silence
    // longer than the time-out is a loss, and is taken as one now.
    const ENetPeer* p = entry.first;
    if (c.state == Connection::State::Connected && p->lastReceiveTime != 0 &&
        ENET_TIME_DIFFERENCE(host_->serviceTime, p->lastReceiveTime) >= (c.timeout ? c.timeout : defaultTimeout_))
      silent.push_back(entry.first);
  }
  for (ENetPeer* peer : silent) {
    Connection c = conns_[peer];
    enet_peer_disconnect_now(peer, kReasonNone);
    Forget(peer);
    QueueEvent(EventKind::Closed, c, ID_CONNECTION_LOST);
  }
  for (ENetPeer* peer : expired) {
    Connection c = conns_[peer];
    enet_peer_reset(peer);
    Forget(peer);
    if (!c.incoming) {
      c.guid = UNASSIGNED_RAKNET_GUID;
      QueueEvent(EventKind::Failed, c, ID_CONNECTION_ATTEMPT_FAILED);
    }
  }
}

void RakPeer::ServiceLoop() {
  while (running_) {
    wakePending_ = false;  // sends from here on signal again
    bool busy = false;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ENetEvent ev;
      int guard = 0;
      inflatedThisRound_ = 0;
      // Bounded, so that the application's sends wait little for a busy round.
      while (guard++ < kEventsPerRound && inflatedThisRound_ < kInflatedPerRound &&
             serviceOnce(host_, &ev) > 0) {
        switch (ev.type) {
          case ENET_EVENT_TYPE_CONNECT: OnConnect(ev); break;
          case ENET_EVENT_TYPE_RECEIVE:
            OnReceive(ev);
            enet_packet_destroy(ev.packet);
            break;
          case ENET_EVENT_TYPE_DISCONNECT: OnDisconnect(ev); break;
          case ENET_EVENT_TYPE_NONE: break;
        }
      }
      for (const auto& replaced : book_->takeReplaced(this)) CloseReplaced(replaced.first, replaced.second);
      CheckDeadlines();
      enet_host_flush(host_);
      CountWireLocked();
      busy = guard > kEventsPerRound || inflatedThisRound_ >= kInflatedPerRound;
    }
    if (busy) {
      std::this_thread::yield();
      continue;
    }
    // Sleep until a datagram arrives, the application queues a message, or the
    // timers (resends, pings) are due.
    pollfd fds[2] = {{host_->socket, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    if (poll(fds, wakeFd_ >= 0 ? 2 : 1, kIdleWaitMs) > 0 && wakeFd_ >= 0 && (fds[1].revents & POLLIN)) {
      std::uint64_t drained;
      ssize_t ignored = read(wakeFd_, &drained, sizeof drained);
      (void)ignored;
    }
  }
}

}  // namespace peer
}  // namespace RakNet
