// The one-byte identifiers of the lobby and match protocol. Match messages are
// relayed by the lobby server between the two players of a match; lobby messages
// go between a client and the server.
#pragma once

#include <cstddef>

enum NetworkMessageId : unsigned char {
  // Match messages.
  ID_SELECTED_BOARD_ELEM = 0x84,
  ID_SELECTED_SPELL = 0x85,
  ID_FINISHED_SELECTING_SPELLS = 0x86,
  ID_SELECTED_CARD = 0x87,
  ID_FINISHED_SELECTING_CARDS = 0x88,
  ID_CLICKED_BOARD = 0x89,
  ID_CANCEL = 0x8A,
  ID_ANIMATE_SPELL = 0x8B,
  ID_FINISHED_ANIMATING = 0x8C,
  ID_START_GAME = 0x8D,
  ID_GAME_RESULT = 0x8E,
  ID_CARDLIST = 0x90,
  ID_TURN_BEGIN = 0x91,

  // Lobby messages.
  ID_PROTOCOL_VERSION = 0xE7,
  ID_LOGIN_EMAIL = 0xE8,
  ID_LOGIN_CODE = 0xE9,
  ID_LOBBY_ERROR = 0xEA,
  ID_LOGIN = 0xEB,
  ID_QUICKMATCH = 0xEC,
  ID_REMATCH = 0xED,
  ID_PLAYER_NAME = 0xEE,
  ID_PLAYER_LIST = 0xEF,
  ID_CANCEL_MATCHMAKING = 0xF0,
  ID_INVITE_FRIEND = 0xF1,
  ID_CHALLENGE = 0xF2,
  ID_CHALLENGE_ANSWER = 0xF3,
  ID_LEAVE_GAME = 0xF4,
  ID_BLOCK_EXPLODED = 0xF5,
  ID_BLOCK_COLLAPSED = 0xF6,
  ID_CHAT = 0xF7,
  ID_DOOR_DESTROYED = 0xF8,
};

namespace protocol {

// The protocol version a client announces first on every connection.
constexpr int kProtocolVersion = 9;

// The largest message either side has cause to send (a relayed match message, a
// replica update, the lobby's list): what a peer of the game lets one inflate to.
constexpr std::size_t kMaxMessageBytes = 256 * 1024;

// The lobby errors of ID_LOBBY_ERROR.
enum LobbyError : int {
  kErrorInvalidProtocol = 0,
  kErrorInvalidCode = 1,
  kErrorInvalidEmail = 2,
  kErrorEmailRequired = 3,
};

// ID_START_GAME roles.
enum Role : int { kRoleJoin = 0, kRoleHost = 1 };

// ID_GAME_RESULT codes, as seen by the receiver.
enum GameResultCode : int {
  kResultLost = 0,
  kResultWon = 1,
  kResultDraw = 2,
  kResultOpponentDisconnectedHost = 3,
  kResultOpponentDisconnectedJoin = 4,
  kResultOpponentForfeitHost = 5,
  kResultOpponentForfeitJoin = 6,
};

// A readable name for log lines ("ID_CHAT"), or null for an unknown id.
const char* messageName(unsigned char id);

}  // namespace protocol
