// The send operations of Network: one message each, to the lobby server.
#include "Network.h"
#include "logog/logog.hpp"

using namespace protocol;

namespace {
template <unsigned char Id>
Bare<Id> bare() {
  return Bare<Id>{};
}
template <class M>
M withElem(std::uint64_t elem) {
  M m;
  m.elem = elem;
  return m;
}
template <class M>
M withText(const std::string& text) {
  M m;
  m.text = text;
  return m;
}
template <class M>
M withValue(int value) {
  M m;
  m.value = value;
  return m;
}

// The results the hub names are the game-result message's codes, one for one.
constexpr bool sameCode(GameResult result, GameResultCode code) { return static_cast<int>(result) == code; }
static_assert(sameCode(GameResult::Lost, kResultLost) && sameCode(GameResult::Won, kResultWon) &&
              sameCode(GameResult::Draw, kResultDraw) &&
              sameCode(GameResult::OpponentDisconnectedHost, kResultOpponentDisconnectedHost) &&
              sameCode(GameResult::OpponentDisconnectedJoin, kResultOpponentDisconnectedJoin) &&
              sameCode(GameResult::OpponentForfeitHost, kResultOpponentForfeitHost) &&
              sameCode(GameResult::OpponentForfeitJoin, kResultOpponentForfeitJoin));
}  // namespace

void Network::sendSelectedBoardElem(std::uint64_t elem) { sendMessage(withElem<SelectedBoardElemMsg>(elem)); }

void Network::sendSelectedSpell(int spell, int value) {
  LOGOG_INFO("sending ID_SELECTED_SPELL: %d", spell);
  SelectedSpellMsg m;
  m.spell = spell;
  m.value = value;
  sendMessage(m);
}

void Network::sendFinishedSelectingSpells() {
  LOGOG_INFO("sending ID_FINISHED_SELECTING_SPELLS");
  sendMessage(bare<ID_FINISHED_SELECTING_SPELLS>());
}

void Network::sendSelectedCard(int card) { sendMessage(withValue<SelectedCardMsg>(card)); }
void Network::sendFinishedSelectingCards() { sendMessage(bare<ID_FINISHED_SELECTING_CARDS>()); }
void Network::sendCancel() { sendMessage(bare<ID_CANCEL>()); }
void Network::sendAnimateSpell(const AnimateSpellMsg& spell) { sendMessage(spell); }
void Network::sendFinishedAnimating() { sendMessage(bare<ID_FINISHED_ANIMATING>()); }

void Network::sendGameResult(int code) {
  GameResultMsg m;
  m.code = code;
  sendMessage(m);
}

void Network::sendCardList(const std::vector<int>& cards) {
  CardListMsg m;
  m.cards.assign(cards.begin(), cards.end());
  sendMessage(m);
}

void Network::sendTurnBegin() {
  if (turnWatcher_) turnWatcher_(true);
  // The turn's state goes ahead of its begin: the joining side starts the turn on it.
  updateReplicas();
  sendMessage(bare<ID_TURN_BEGIN>());
}
void Network::sendBlockExploded(std::uint64_t elem) { sendMessage(withElem<BlockExplodedMsg>(elem)); }
void Network::sendBlockCollapsed(std::uint64_t elem) { sendMessage(withElem<BlockCollapsedMsg>(elem)); }
void Network::sendDoorDestroyed(std::uint64_t elem) { sendMessage(withElem<DoorDestroyedMsg>(elem)); }
void Network::sendChat(const std::string& text) { sendMessage(withText<ChatMsg>(text)); }

void Network::sendLoginEmail(const std::string& email) { sendMessage(withText<LoginEmailMsg>(email)); }
void Network::sendLoginCode(const std::string& code) { sendMessage(withText<LoginCodeMsg>(code)); }

void Network::sendLogin(const std::string& email, const std::string& code) {
  LoginMsg m;
  m.email = email;
  m.code = code;
  sendMessage(m);
}

void Network::sendQuickmatch() { sendMessage(bare<ID_QUICKMATCH>()); }
void Network::sendRematch() { sendMessage(bare<ID_REMATCH>()); }
void Network::sendPlayerName(const std::string& name) { sendMessage(withText<PlayerNameMsg>(name)); }
void Network::sendCancelMatchmaking() { sendMessage(bare<ID_CANCEL_MATCHMAKING>()); }
void Network::sendInviteFriend(const std::string& email) { sendMessage(withText<InviteFriendMsg>(email)); }

void Network::sendChallenge(int index) {
  if (index < 0 || static_cast<size_t>(index) >= players_.size()) return;
  ChallengeMsg m;
  m.guid = players_[static_cast<size_t>(index)].guid.g;
  sendToServer(encode(m));
}

void Network::sendChallengeAnswer(int answer) { sendMessage(withValue<ChallengeAnswerMsg>(answer)); }
void Network::sendLeaveGame() { sendMessage(bare<ID_LEAVE_GAME>()); }
