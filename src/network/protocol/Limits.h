// What one side of the game's protocol may send the other, for the peers of the
// game and of the lobby: the largest message, and rates and backlogs far above a
// match at full speed (some 3,300 messages and 450 kB in its busiest second), far
// below what would stall the rest.
#pragma once

#include "protocol/NetworkMessageId.h"
#include "raknet/RakPeerInterface.h"

namespace protocol {

inline RakNet::IncomingLimits incomingLimits() {
  RakNet::IncomingLimits l;
  l.messagesPerSecond = 10000;
  l.messageBurst = 20000;
  l.bytesPerSecond = 2 * 1024 * 1024;
  l.byteBurst = 8 * 1024 * 1024;
  l.maxWaitingMessages = 20000;
  l.maxWaitingBytes = 8 * 1024 * 1024;
  l.maxMessageBytes = kMaxMessageBytes;
  return l;
}

}  // namespace protocol
