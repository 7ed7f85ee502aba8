// Who greeted as which GUID on the connections a port accepts, and how often each
// address opens connections there. A peer keeps one of its own; peers that share a
// port share one (RakPeerInterface::ShareGreetings), so that a GUID is one remote
// system's through all of them, whichever peer takes its Hello, and the connections
// of one address are counted together.
//
// Thread-safe: the service threads of the peers call in under their own locks. The
// book never calls a peer: a peer whose connection another peer's Hello replaced
// learns of it from takeReplaced() at its next round.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>

#include "PeerQueues.h"
#include "raknet/RakNetTypes.h"

namespace RakNet {
namespace peer {

class GreetingBook {
 public:
  // A connection that greeted: the peer that holds it, that peer's number for it,
  // where it comes from and the proof its Hello showed.
  struct Holder {
    const void* peer = nullptr;
    std::uint64_t connection = 0;
    SystemAddress address;
    std::uint64_t proof = 0;
  };

  // Gives `guid` to `claimant`, unless another connection holds it and the claimant
  // neither comes from the holder's address and port nor shows its proof: then false.
  // A holder the claimant takes the place of is told through `replaced` when it is the
  // claimant's own peer's, else through that peer's takeReplaced().
  bool claim(std::uint64_t guid, const Holder& claimant, Holder& replaced);
  // The connection lets go of its GUID (nothing, when another took it since).
  void release(std::uint64_t guid, const void* peer, std::uint64_t connection);
  // The connections of `peer` that others took the place of since the last call: GUID
  // and the peer's number of the connection.
  std::vector<std::pair<std::uint64_t, std::uint64_t>> takeReplaced(const void* peer);
  // A peer that stops holds nothing any more.
  void forgetPeer(const void* peer);

  // How many connections one address may open: `perSecond` on average, `burst` at
  // once (0: any number).
  void setGreetingRate(double perSecond, double burst);
  // Counts a connection opened from `ip`; false when the address has opened its share.
  bool admit(std::uint32_t ip, std::uint64_t nowMs);

 private:
  struct Replaced {
    const void* peer;
    std::uint64_t guid;
    std::uint64_t connection;
  };

  mutable std::mutex mutex_;
  std::unordered_map<std::uint64_t, Holder> holders_;
  std::vector<Replaced> replaced_;
  double perSecond_ = 0;
  double burst_ = 0;
  std::unordered_map<std::uint32_t, TokenBucket> greetings_;  // by address
  std::uint64_t nextPrune_ = 0;
};

}  // namespace peer
}  // namespace RakNet
