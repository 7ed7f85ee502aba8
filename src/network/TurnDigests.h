// Test hook: what both machines of a match agree on, written at each turn begin, so that a
// test driving two game processes can compare them.
#pragma once

class EventDispatcher;
class Network;

// When the environment variable MV_TURN_DIGESTS names a file, each turn begin of an online
// match appends to it a block "turn <n> host" (on the host, as it sends the turn begin) or
// "turn <n> join" (on the joining side, as it arrives), the digest as the host sees it
// (digest::hostView, digest::joinView), and a line "end". Nothing happens otherwise.
void startTurnDigestsFromEnvironment(Network& network, EventDispatcher& hub);
