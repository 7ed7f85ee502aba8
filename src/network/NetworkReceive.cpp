// What Network does with a received packet: the connection's events, then every
// message through one table, a row per message this side takes: its record (whose
// id is the row's key) and the entry it reaches. The lobby's rows call the hub's
// lobby entries (LobbyEvents); the match's call the match listener, which resolves
// their NetworkIDs. A message comes down a row only once its record decoded whole
// and in range; one that does not is logged and dropped. Ids without a row (0x8F,
// the up-only ids) are dropped unlogged.
#include <array>
#include <type_traits>

#include "GameReplicas.h"
#include "Network.h"
#include "logog/logog.hpp"
#include "raknet/MessageIdentifiers.h"

using namespace protocol;

namespace {

void malformed(unsigned char id, size_t length) {
  const char* name = messageName(id);
  LOGOG_WARN("dropped a malformed %s (%zu bytes) from the lobby server", name ? name : "message", length);
}

// `handle(net, record)`, or `handle(net, record, sender)` where the sender matters.
template <class M, class Handle>
void takeAs(Handle handle, Network& net, const RakNet::Packet& packet) {
  M m;
  if (!decode(packet.data, packet.length, m)) {
    malformed(packet.data[0], packet.length);
    return;
  }
  if constexpr (std::is_invocable_v<Handle, Network&, const M&, RakNet::RakNetGUID>)
    handle(net, m, packet.guid);
  else
    handle(net, m);
}

}  // namespace

void Network::dispatch(const RakNet::Packet& packet) {
  if (packet.length == 0) return;
  switch (packet.data[0]) {
    case ID_CONNECTION_REQUEST_ACCEPTED: {
      serverGuid_ = packet.guid;
      lobby().onLobbyConnected();
      ProtocolVersionMsg version;
      version.value = kProtocolVersion;
      sendMessage(version);
      return;
    }
    case ID_CONNECTION_ATTEMPT_FAILED:
    case ID_CONNECTION_BANNED:
    // A full server, or one that refused our GUID, ends the attempt as surely as
    // silence does.
    case ID_NO_FREE_INCOMING_CONNECTIONS:
    case ID_ALREADY_CONNECTED:
      lobby().onLobbyConnectFailed();
      return;
    case ID_INCOMPATIBLE_PROTOCOL_VERSION:
      // A server that does not speak our greeting is of another version of the game:
      // the player hears so, as from a server that knows our greeting but not our
      // messages.
      LOGOG_WARN("the lobby server speaks another version of the protocol");
      lobby().onLobbyError(kErrorInvalidProtocol);
      return;
    case ID_CONNECTION_LOST:
      lobby().onLobbyConnectionLost();
      return;
    case ID_DISCONNECTION_NOTIFICATION:
      // The server closed the connection: the lobby is gone as surely as on a time-out,
      // unless this side asked for the close.
      if (!closedByUs_) lobby().onLobbyConnectionLost();
      return;
    default:
      break;
  }
  if (const Inbound* row = inbound(packet.data[0])) row->take(*this, packet);
}

const Network::Inbound* Network::inbound(unsigned char id) {
  static const std::array<const Inbound*, 256> byId = [] {
    std::array<const Inbound*, 256> index{};
    for (const Inbound& row : inboundTable()) index[row.id] = &row;
    return index;
  }();
  return byId[id];
}

template <class M, class Handle>
Network::Inbound Network::row(Handle handle) {
  return {M::kId, [handle](Network& net, const RakNet::Packet& packet) { takeAs<M>(handle, net, packet); }};
}

const std::vector<Network::Inbound>& Network::inboundTable() {
  using N = Network;
  static const std::vector<Inbound> table = {
      // ---- The lobby: to the hub's lobby entries ----------------------------------------------
      row<LoginEmailRequestMsg>([](N& n, const auto&) { n.lobby().onLoginRequired(); }),
      row<CodeRequestMsg>([](N& n, const auto&) { n.lobby().onCodeRequested(); }),
      row<LobbyErrorMsg>([](N& n, const LobbyErrorMsg& m) { n.lobby().onLobbyError(m.error); }),
      row<LoginAcceptedMsg>([](N& n, const auto&) { n.lobby().onLoginAccepted(); }),
      row<NameRequestMsg>([](N& n, const auto&) { n.lobby().onNameRequested(); }),
      row<PlayerListMsg>([](N& n, const PlayerListMsg& m) {
        LOGOG_INFO("got ID_PLAYER_LIST from remote player");
        n.players_.clear();
        LOGOG_INFO("online count: %d, lobby list count: %d", m.onlineCount, static_cast<int>(m.players.size()));
        std::vector<std::string> names;
        for (const PlayerEntry& e : m.players) {
          n.players_.push_back({RakNet::RakNetGUID(e.guid), e.name});
          names.push_back(e.name);
        }
        n.lobby().onPlayerList(m.onlineCount, names);
      }),
      row<ChallengeReceivedMsg>([](N& n, const ChallengeReceivedMsg& m) { n.lobby().onChallengeReceived(m.text); }),
      // The answer itself is not used: whatever it says, the challenge is off.
      row<ChallengeAnswerMsg>([](N& n, const auto&) { n.lobby().onChallengeRejected(); }),
      row<StartGameMsg>([](N& n, const StartGameMsg& m, RakNet::RakNetGUID from) {
        n.hosting_ = m.role == kRoleHost;  // a role other than 0 or 1 does not decode
        // The host's objects arrive the way this message came (through the lobby).
        if (n.replicas_) n.replicas_->setMatchHost(from);
        if (n.hosting_) {
          LOGOG_INFO("starting game as server");
          n.lobby().onServerStart(m.opponentName);
        } else {
          LOGOG_INFO("starting game as client");
          n.lobby().onClientStart(m.opponentName);
        }
      }),
      row<GameResultMsg>([](N& n, const GameResultMsg& m) { n.lobby().onGameEndNotice(m.code); }),
      row<ChatMsg>([](N& n, const ChatMsg& m) {
        LOGOG_INFO("got ID_CHAT from remote player");
        n.lobby().onChatReceived(m.text);
      }),

      // ---- The match: to the match listener ------------------------------------------------------
      row<SelectedBoardElemMsg>([](N& n, const SelectedBoardElemMsg& m) {
        LOGOG_INFO("got ID_SELECTED_BOARD_ELEM from remote player");
        n.listener().onRemoteSelectedBoardElem(m.elem);
      }),
      row<SelectedSpellMsg>([](N& n, const SelectedSpellMsg& m) {
        LOGOG_INFO("got ID_SELECTED_SPELL: %d from remote player", m.spell);
        n.listener().onRemoteSelectedSpell(m.spell, m.value);
      }),
      row<FinishedSelectingSpellsMsg>([](N& n, const auto&) {
        LOGOG_INFO("got ID_FINISHED_SELECTING_SPELLS from remote player");
        n.listener().onRemoteFinishedSelectingSpells();
      }),
      row<SelectedCardMsg>([](N& n, const SelectedCardMsg& m) {
        LOGOG_INFO("got ID_SELECTED_CARD from remote player");
        n.listener().onRemoteSelectedCard(m.value);
      }),
      row<FinishedSelectingCardsMsg>([](N& n, const auto&) {
        LOGOG_INFO("got ID_FINISHED_SELECTING_CARDS from remote player");
        n.listener().onRemoteFinishedSelectingCards();
      }),
      row<ClickedBoardMsg>([](N& n, const auto&) {
        LOGOG_INFO("got CLICKED BOARD from remote player");
        n.listener().onRemoteClickedBoard();
      }),
      row<CancelMsg>([](N& n, const auto&) {
        LOGOG_INFO("got CANCEL from remote player");
        n.listener().onRemoteCancel();
      }),
      row<AnimateSpellMsg>([](N& n, const AnimateSpellMsg& m) {
        LOGOG_INFO("got ANIMATE SPELL from remote player");
        n.listener().queueAnimateSpell(m);
      }),
      row<FinishedAnimatingMsg>([](N& n, const auto&) {
        LOGOG_INFO("got FINISHED ANIMATING from remote player");
        n.listener().onFinishedAnimating();
      }),
      row<CardListMsg>([](N& n, const CardListMsg& m) {
        LOGOG_INFO("got CARDLIST from remote player");
        n.listener().onCardList(std::vector<int>(m.cards.begin(), m.cards.end()));
      }),
      row<TurnBeginMsg>([](N& n, const auto&) {
        LOGOG_INFO("got TURN BEGIN from remote player");
        if (n.turnWatcher_) n.turnWatcher_(false);
        n.listener().onTurnBegin();
      }),
      row<BlockExplodedMsg>([](N& n, const BlockExplodedMsg& m) {
        LOGOG_INFO("got BLOCK_EXPLODED from remote player");
        n.listener().onRemoteBlockExploded(m.elem);
      }),
      row<BlockCollapsedMsg>([](N& n, const BlockCollapsedMsg& m) {
        LOGOG_INFO("got BLOCK_COLLAPSED from remote player");
        n.listener().onRemoteBlockCollapsed(m.elem);
      }),
      row<DoorDestroyedMsg>([](N& n, const DoorDestroyedMsg& m) {
        LOGOG_INFO("got DOOR_DESTROYED from remote player");
        n.listener().onRemoteDoorDestroyed(m.elem);
      }),
  };
  return table;
}
