// Every message of the lobby and match protocol as a record, with one encoder and
// one decoder for all. A record lists its fields once (fields()), in wire order;
// encode() writes the id and the fields, decode() reads the whole message into a
// fresh record and hands it over only when the id matches, every field was there,
// no byte is left over and the values are in range (valid()).
//
// Where an id carries different payloads up (client to server) and down (server to
// client), the two directions are separate records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "protocol/Codec.h"
#include "protocol/NetworkMessageId.h"
#include "raknet/BitStream.h"

namespace protocol {

constexpr std::uint64_t kNoObject = ~static_cast<std::uint64_t>(0);  // the unassigned NetworkID

// What every record shares: its id, and values always in range unless it says otherwise.
template <unsigned char Id>
struct Record {
  static constexpr unsigned char kId = Id;
  bool valid() const { return true; }
};

// A message without payload.
template <unsigned char Id>
struct Bare : Record<Id> {
  template <class IO, class Self>
  static bool fields(IO&, Self&) {
    return true;
  }
};

// A message whose payload is one NetworkID of a board element.
template <unsigned char Id>
struct ElemRef {
  static constexpr unsigned char kId = Id;
  std::uint64_t elem = kNoObject;
  template <class IO, class Self>
  static bool fields(IO& io, Self& m) {
    return io.fields(m.elem);
  }
  bool valid() const { return true; }
};

// A message whose payload is one string.
template <unsigned char Id>
struct Text {
  static constexpr unsigned char kId = Id;
  std::string text;
  template <class IO, class Self>
  static bool fields(IO& io, Self& m) {
    return io.fields(m.text);
  }
  bool valid() const { return true; }
};

// A message whose payload is one int32.
template <unsigned char Id>
struct Int {
  static constexpr unsigned char kId = Id;
  std::int32_t value = 0;
  template <class IO, class Self>
  static bool fields(IO& io, Self& m) {
    return io.fields(m.value);
  }
  bool valid() const { return true; }
};

// --- match messages (relayed) ---
using SelectedBoardElemMsg = ElemRef<ID_SELECTED_BOARD_ELEM>;

struct SelectedSpellMsg : Record<ID_SELECTED_SPELL> {
  std::int32_t spell = 0;
  std::int32_t value = 0;
  template <class IO, class Self>
  static bool fields(IO& io, Self& m) {
    return io.fields(m.spell, m.value);
  }
};

using FinishedSelectingSpellsMsg = Bare<ID_FINISHED_SELECTING_SPELLS>;
struct SelectedCardMsg : Int<ID_SELECTED_CARD> {};
using FinishedSelectingCardsMsg = Bare<ID_FINISHED_SELECTING_CARDS>;
using ClickedBoardMsg = Bare<ID_CLICKED_BOARD>;
using CancelMsg = Bare<ID_CANCEL>;

struct AnimateSpellMsg : Record<ID_ANIMATE_SPELL> {
  std::uint64_t caster = kNoObject;
  std::uint64_t target = kNoObject;
  std::int32_t card = 0;
  std::int32_t power = 0;
  std::vector<std::uint64_t> targets;
  std::vector<std::uint64_t> spared;
  std::int32_t reflected = 0;  // non-zero is true
  std::int32_t active = 0;     // non-zero is true
  template <class IO, class Self>
  static bool fields(IO& io, Self& m) {
    return io.fields(m.caster, m.target, m.card, m.power, m.targets, m.spared, m.reflected, m.active);
  }
};

using FinishedAnimatingMsg = Bare<ID_FINISHED_ANIMATING>;

// Down only: the lobby server starts a match.
struct StartGameMsg : Record<ID_START_GAME> {
  std::int32_t role = kRoleJoin;
  std::string opponentName;
  template <class IO, class Self>
  static bool fields(IO& io, Self& m) {
    return io.fields(m.role, m.opponentName);
  }
  bool valid() const { return role == kRoleJoin || role == kRoleHost; }
};

struct GameResultMsg : Record<ID_GAME_RESULT> {
  std::int32_t code = 0;
  template <class IO, class Self>
  static bool fields(IO& io, Self& m) {
    return io.fields(m.code);
  }
  bool valid() const { return code >= kResultLost && code <= kResultOpponentForfeitJoin; }
};

struct CardListMsg : Record<ID_CARDLIST> {
  std::vector<std::int32_t> cards;
  template <class IO, class Self>
  static bool fields(IO& io, Self& m) {
    return io.fields(m.cards);
  }
};

using TurnBeginMsg = Bare<ID_TURN_BEGIN>;
using BlockExplodedMsg = ElemRef<ID_BLOCK_EXPLODED>;
using BlockCollapsedMsg = ElemRef<ID_BLOCK_COLLAPSED>;
using DoorDestroyedMsg = ElemRef<ID_DOOR_DESTROYED>;
struct ChatMsg : Text<ID_CHAT> {};

// --- lobby messages ---
struct ProtocolVersionMsg : Int<ID_PROTOCOL_VERSION> {};

struct LoginEmailMsg : Text<ID_LOGIN_EMAIL> {};       // up: the address
using LoginEmailRequestMsg = Bare<ID_LOGIN_EMAIL>;    // down: please log in
struct LoginCodeMsg : Text<ID_LOGIN_CODE> {};         // up: the typed code
using CodeRequestMsg = Bare<ID_LOGIN_CODE>;           // down: a code was mailed

struct LobbyErrorMsg : Record<ID_LOBBY_ERROR> {
  std::int32_t error = 0;
  template <class IO, class Self>
  static bool fields(IO& io, Self& m) {
    return io.fields(m.error);
  }
  bool valid() const { return error >= kErrorInvalidProtocol && error <= kErrorEmailRequired; }
};

// Up: remembered credentials.
struct LoginMsg : Record<ID_LOGIN> {
  std::string email;
  std::string code;
  template <class IO, class Self>
  static bool fields(IO& io, Self& m) {
    return io.fields(m.email, m.code);
  }
};
using LoginAcceptedMsg = Bare<ID_LOGIN>;  // down

using QuickmatchMsg = Bare<ID_QUICKMATCH>;
using RematchMsg = Bare<ID_REMATCH>;
struct PlayerNameMsg : Text<ID_PLAYER_NAME> {};    // up: the chosen name
using NameRequestMsg = Bare<ID_PLAYER_NAME>;       // down: please choose a name

struct PlayerListMsg : Record<ID_PLAYER_LIST> {
  std::int32_t onlineCount = 0;
  std::vector<PlayerEntry> players;
  template <class IO, class Self>
  static bool fields(IO& io, Self& m) {
    return io.fields(m.onlineCount, m.players);
  }
};

using CancelMatchmakingMsg = Bare<ID_CANCEL_MATCHMAKING>;
struct InviteFriendMsg : Text<ID_INVITE_FRIEND> {};

// Up: challenge the lobby entry with this GUID.
struct ChallengeMsg : Record<ID_CHALLENGE> {
  std::uint64_t guid = 0;
  template <class IO, class Self>
  static bool fields(IO& io, Self& m) {
    return io.fields(m.guid);
  }
};
struct ChallengeReceivedMsg : Text<ID_CHALLENGE> {};  // down: the challenger's name

// Up: 1 accept, 0 refuse. Down: a refused, expired or impossible challenge.
struct ChallengeAnswerMsg : Int<ID_CHALLENGE_ANSWER> {};
using LeaveGameMsg = Bare<ID_LEAVE_GAME>;

// --- encoding and decoding ---
template <class M>
void encode(const M& message, RakNet::BitStream& out) {
  out.Write(static_cast<unsigned char>(M::kId));
  Writer writer(out);
  M::fields(writer, message);
}

template <class M>
RakNet::BitStream encode(const M& message) {
  RakNet::BitStream out;
  encode(message, out);
  return out;
}

template <class M>
bool decode(const unsigned char* data, size_t length, M& out) {
  if (!data || length < 1 || data[0] != M::kId) return false;
  Reader reader(data + 1, length - 1);
  M fresh;
  if (!M::fields(reader, fresh) || !reader.ok() || !reader.atEnd() || !fresh.valid()) return false;
  out = std::move(fresh);
  return true;
}

}  // namespace protocol
