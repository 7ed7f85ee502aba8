// What one side of the game's protocol may send the other, for the peers of the
// game and of the lobby: the largest message, and rates and backlogs above a match
// at full speed (some 3,300 messages and 450 kB in its busiest second). The message
// rate is held close to that: a flood of small messages is cut off before the
// messages it made the peer take hold the others up for more than a few ms.
#pragma once

#include "protocol/NetworkMessageId.h"
#include "raknet/RakPeerInterface.h"

namespace protocol {

inline RakNet::IncomingLimits incomingLimits() {
  RakNet::IncomingLimits l;
  l.messagesPerSecond = 5000;
  l.messageBurst = 5000;
  l.bytesPerSecond = 2 * 1024 * 1024;
  l.byteBurst = 8 * 1024 * 1024;
  l.maxWaitingMessages = 20000;
  l.maxWaitingBytes = 8 * 1024 * 1024;
  l.maxMessageBytes = kMaxMessageBytes;
  return l;
}

}  // namespace protocol
