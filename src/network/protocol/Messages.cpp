#include "protocol/Messages.h"

namespace protocol {

const char* messageName(unsigned char id) {
  switch (id) {
    case ID_SELECTED_BOARD_ELEM: return "ID_SELECTED_BOARD_ELEM";
    case ID_SELECTED_SPELL: return "ID_SELECTED_SPELL";
    case ID_FINISHED_SELECTING_SPELLS: return "ID_FINISHED_SELECTING_SPELLS";
    case ID_SELECTED_CARD: return "ID_SELECTED_CARD";
    case ID_FINISHED_SELECTING_CARDS: return "ID_FINISHED_SELECTING_CARDS";
    case ID_CLICKED_BOARD: return "ID_CLICKED_BOARD";
    case ID_CANCEL: return "ID_CANCEL";
    case ID_ANIMATE_SPELL: return "ID_ANIMATE_SPELL";
    case ID_FINISHED_ANIMATING: return "ID_FINISHED_ANIMATING";
    case ID_START_GAME: return "ID_START_GAME";
    case ID_GAME_RESULT: return "ID_GAME_RESULT";
    case ID_CARDLIST: return "ID_CARDLIST";
    case ID_TURN_BEGIN: return "ID_TURN_BEGIN";
    case ID_PROTOCOL_VERSION: return "ID_PROTOCOL_VERSION";
    case ID_LOGIN_EMAIL: return "ID_LOGIN_EMAIL";
    case ID_LOGIN_CODE: return "ID_LOGIN_CODE";
    case ID_LOBBY_ERROR: return "ID_LOBBY_ERROR";
    case ID_LOGIN: return "ID_LOGIN";
    case ID_QUICKMATCH: return "ID_QUICKMATCH";
    case ID_REMATCH: return "ID_REMATCH";
    case ID_PLAYER_NAME: return "ID_PLAYER_NAME";
    case ID_PLAYER_LIST: return "ID_PLAYER_LIST";
    case ID_CANCEL_MATCHMAKING: return "ID_CANCEL_MATCHMAKING";
    case ID_INVITE_FRIEND: return "ID_INVITE_FRIEND";
    case ID_CHALLENGE: return "ID_CHALLENGE";
    case ID_CHALLENGE_ANSWER: return "ID_CHALLENGE_ANSWER";
    case ID_LEAVE_GAME: return "ID_LEAVE_GAME";
    case ID_BLOCK_EXPLODED: return "ID_BLOCK_EXPLODED";
    case ID_BLOCK_COLLAPSED: return "ID_BLOCK_COLLAPSED";
    case ID_CHAT: return "ID_CHAT";
    case ID_DOOR_DESTROYED: return "ID_DOOR_DESTROYED";
    default: return nullptr;
  }
}

}  // namespace protocol
