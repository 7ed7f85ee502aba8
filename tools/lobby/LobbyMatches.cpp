// The lobby side of LobbyServer once a client is logged in: challenges, quick
// match, friend invitations, and the relay between the two players of a match.
#include <algorithm>

#include "LobbyServer.h"
#include "logog/logog.hpp"
#include "protocol/Messages.h"
#include "raknet/MessageIdentifiers.h"

using namespace protocol;

namespace {

enum class Sender { Host, Join, Both, Nobody };

// Which side of a match may send a relayed message.
Sender relaySender(unsigned char id) {
  switch (id) {
    case ID_SELECTED_BOARD_ELEM:
    case ID_SELECTED_SPELL:
    case ID_FINISHED_SELECTING_SPELLS:
    case ID_SELECTED_CARD:
    case ID_FINISHED_SELECTING_CARDS:
    case ID_CANCEL:
      return Sender::Join;
    case ID_ANIMATE_SPELL:
    case ID_GAME_RESULT:
    case ID_CARDLIST:
    case ID_TURN_BEGIN:
    case ID_BLOCK_EXPLODED:
    case ID_BLOCK_COLLAPSED:
    case ID_DOOR_DESTROYED:
      return Sender::Host;
    case ID_FINISHED_ANIMATING:
    case ID_CHAT:
      return Sender::Both;
    default:
      return Sender::Nobody;
  }
}

// Whether the bytes are a well-formed message of their id.
bool wellFormed(const unsigned char* data, size_t length) {
  switch (data[0]) {
    case ID_SELECTED_BOARD_ELEM: { SelectedBoardElemMsg m; return decode(data, length, m); }
    case ID_SELECTED_SPELL: { SelectedSpellMsg m; return decode(data, length, m); }
    case ID_FINISHED_SELECTING_SPELLS: { FinishedSelectingSpellsMsg m; return decode(data, length, m); }
    case ID_SELECTED_CARD: { SelectedCardMsg m; return decode(data, length, m); }
    case ID_FINISHED_SELECTING_CARDS: { FinishedSelectingCardsMsg m; return decode(data, length, m); }
    case ID_CANCEL: { CancelMsg m; return decode(data, length, m); }
    case ID_ANIMATE_SPELL: { AnimateSpellMsg m; return decode(data, length, m); }
    case ID_FINISHED_ANIMATING: { FinishedAnimatingMsg m; return decode(data, length, m); }
    case ID_CARDLIST: { CardListMsg m; return decode(data, length, m); }
    case ID_TURN_BEGIN: { TurnBeginMsg m; return decode(data, length, m); }
    case ID_BLOCK_EXPLODED: { BlockExplodedMsg m; return decode(data, length, m); }
    case ID_BLOCK_COLLAPSED: { BlockCollapsedMsg m; return decode(data, length, m); }
    case ID_DOOR_DESTROYED: { DoorDestroyedMsg m; return decode(data, length, m); }
    case ID_GAME_RESULT: {
      // Only the three results of a played game; the others are the lobby's to send.
      GameResultMsg m;
      return decode(data, length, m) && m.code >= kResultLost && m.code <= kResultDraw;
    }
    case ID_CHAT: { ChatMsg m; return decode(data, length, m); }
    default:
      return false;
  }
}

template <class M>
bool bare(const unsigned char* data, size_t length) {
  M m;
  return decode(data, length, m);
}

}  // namespace

void LobbyServer::onLobbyMessage(Client& c, const unsigned char* data, size_t length) {
  switch (data[0]) {
    case ID_QUICKMATCH:
      if (!bare<QuickmatchMsg>(data, length)) return drop(c, data, length, "malformed");
      if (c.match) return drop(c, data, length, "already in a match");
      return onQuickmatch(c);
    case ID_CANCEL_MATCHMAKING:
      if (!bare<CancelMatchmakingMsg>(data, length)) return drop(c, data, length, "malformed");
      queue_.erase(std::remove(queue_.begin(), queue_.end(), c.id), queue_.end());
      removeChallenges([&](const Challenge& ch) { return ch.from == c.id; }, 0);
      return;
    case ID_CHALLENGE:
      return onChallenge(c, data, length);
    case ID_CHALLENGE_ANSWER:
      return onChallengeAnswer(c, data, length);
    case ID_INVITE_FRIEND:
      return onInvite(c, data, length);
    case ID_LEAVE_GAME:
      if (!bare<LeaveGameMsg>(data, length)) return drop(c, data, length, "malformed");
      // Sent after any kind of game; only a match has a partner to tell.
      if (c.match) endMatch(c.match, c.id, false);
      return;
    case ID_REMATCH: {
      if (!bare<RematchMsg>(data, length)) return drop(c, data, length, "malformed");
      auto it = c.match ? matches_.find(c.match) : matches_.end();
      if (it == matches_.end() || it->second.host != c.id || !it->second.over)
        return drop(c, data, length, "no finished match hosted by this client");
      it->second.over = false;
      it->second.joinPlayed = false;
      LOGOG_INFO("rematch %llu", static_cast<unsigned long long>(it->first));
      ++stats_.matchesStarted;
      return sendStart(it->second);
    }
    case ID_PROTOCOL_VERSION:
    case ID_LOGIN:
    case ID_LOGIN_EMAIL:
    case ID_LOGIN_CODE:
    case ID_PLAYER_NAME:
      return drop(c, data, length, "already logged in");
    default:
      if (!c.match) return drop(c, data, length, "not in a match");
      return relay(c, data, length);
  }
}

void LobbyServer::refuse(std::uint64_t client) {
  if (!find(client)) return;
  ChallengeAnswerMsg m;
  m.value = 0;
  send(client, m);
}

void LobbyServer::onChallenge(Client& c, const unsigned char* data, size_t length) {
  ChallengeMsg m;
  if (!decode(data, length, m)) return drop(c, data, length, "malformed");
  if (c.match) return drop(c, data, length, "already in a match");
  Client* target = find(m.guid);
  if (!target || target->id == c.id || !available(*target)) {
    LOGOG_INFO("challenge from %llx cannot reach its target", static_cast<unsigned long long>(c.id));
    refuse(c.id);
    return;
  }
  // The same challenge again changes nothing: the target is asked once.
  bool open = std::any_of(challenges_.begin(), challenges_.end(),
                          [&](const Challenge& ch) { return ch.from == c.id && ch.to == target->id; });
  if (open) return drop(c, data, length, "that challenge is open");
  if (!c.challenges.take(now_, config_.challengeWindowMs, config_.maxChallenges)) {
    drop(c, data, length, "too many challenges");
    refuse(c.id);
    return;
  }
  // One open challenge per challenger: a new one replaces the old.
  std::uint64_t from = c.id;
  removeChallenges([from](const Challenge& ch) { return ch.from == from; }, 0);
  challenges_.push_back({from, target->id, now_ + config_.challengeExpiryMs, false});
  promptNext(target->id);
}

void LobbyServer::promptNext(std::uint64_t target) {
  Client* t = find(target);
  if (!t || !available(*t)) return;
  Challenge* next = nullptr;
  for (Challenge& ch : challenges_) {
    if (ch.to != target) continue;
    if (ch.prompted) return;
    if (!next) next = &ch;
  }
  Client* challenger = next ? find(next->from) : nullptr;
  if (!challenger) return;
  next->prompted = true;
  ChallengeReceivedMsg out;
  out.text = challenger->name;
  send(target, out);
}

void LobbyServer::removeChallenges(const std::function<bool(const Challenge&)>& which, std::uint64_t refusedTo) {
  std::vector<Challenge> gone;
  challenges_.erase(std::remove_if(challenges_.begin(), challenges_.end(),
                                   [&](const Challenge& ch) {
                                     if (!which(ch)) return false;
                                     gone.push_back(ch);
                                     return true;
                                   }),
                    challenges_.end());
  for (const Challenge& ch : gone)
    if (refusedTo && ch.to == refusedTo) refuse(ch.from);
  for (const Challenge& ch : gone)
    if (ch.prompted) promptNext(ch.to);
}

void LobbyServer::onChallengeAnswer(Client& c, const unsigned char* data, size_t length) {
  ChallengeAnswerMsg m;
  if (!decode(data, length, m)) return drop(c, data, length, "malformed");
  auto it = std::find_if(challenges_.begin(), challenges_.end(),
                         [&](const Challenge& ch) { return ch.to == c.id && ch.prompted; });
  if (it == challenges_.end()) {
    // The challenge expired, was withdrawn or its challenger left. One who accepted
    // waits for a start, so tell it; one in a match has moved on.
    if (m.value == 1 && !c.match) refuse(c.id);
    return;
  }
  Challenge ch = *it;
  challenges_.erase(it);
  Client* challenger = find(ch.from);
  if (m.value != 1) {
    refuse(ch.from);
  } else if (challenger && available(*challenger) && available(c)) {
    return startMatch(*challenger, c);
  } else if (!c.match) {
    refuse(c.id);
  }
  promptNext(c.id);
}

void LobbyServer::onQuickmatch(Client& c) {
  for (std::uint64_t waiting : queue_) {
    Client* other = find(waiting);
    if (other && other->id != c.id && available(*other)) {
      startMatch(*other, c);  // who waited longest hosts
      return;
    }
  }
  if (std::find(queue_.begin(), queue_.end(), c.id) == queue_.end()) queue_.push_back(c.id);
}

void LobbyServer::onInvite(Client& c, const unsigned char* data, size_t length) {
  InviteFriendMsg m;
  if (!decode(data, length, m)) return drop(c, data, length, "malformed");
  std::string email = lobbytext::normaliseEmail(m.text);
  if (email.empty()) return drop(c, data, length, "not an e-mail address");
  if (c.invites >= config_.maxInvitesPerConnection) return drop(c, data, length, "too many invitations");
  ++c.invites;
  if (!mailAllowed(email)) return drop(c, data, length, "address had enough mail lately");
  mailer_.sendInvitation(email, c.name);
}

void LobbyServer::startMatch(Client& host, Client& join) {
  host.match = join.match = nextMatch_;  // neither is asked about a challenge any more
  // A challenge between the two is settled by the match itself: no refusal for it.
  const std::uint64_t h = host.id, j = join.id;
  removeChallenges([&](const Challenge& ch) { return (ch.from == h && ch.to == j) || (ch.from == j && ch.to == h); },
                   0);
  removeChallenges([&](const Challenge& ch) { return ch.from == h || ch.to == h; }, h);
  removeChallenges([&](const Challenge& ch) { return ch.from == j || ch.to == j; }, j);
  queue_.erase(std::remove_if(queue_.begin(), queue_.end(),
                              [&](std::uint64_t id) { return id == host.id || id == join.id; }),
               queue_.end());
  Match m;
  m.id = nextMatch_++;
  m.host = host.id;
  m.join = join.id;
  host.match = m.id;
  join.match = m.id;
  matches_[m.id] = m;
  ++stats_.matchesStarted;
  LOGOG_INFO("match %llu: %s hosts, %s joins", static_cast<unsigned long long>(m.id), host.name.c_str(),
             join.name.c_str());
  sendStart(m);
  listChanged();
}

void LobbyServer::sendStart(const Match& m) {
  Client* host = find(m.host);
  Client* join = find(m.join);
  if (!host || !join) return;
  // The joiner first, so it is ready for the host's first messages.
  StartGameMsg toJoin;
  toJoin.role = kRoleJoin;
  toJoin.opponentName = host->name;
  send(join->id, toJoin);
  StartGameMsg toHost;
  toHost.role = kRoleHost;
  toHost.opponentName = join->name;
  send(host->id, toHost);
}

void LobbyServer::endMatch(std::uint64_t matchId, std::uint64_t leaver, bool disconnected) {
  auto it = matches_.find(matchId);
  if (it == matches_.end()) return;
  Match m = it->second;
  matches_.erase(it);
  std::uint64_t partnerId = m.host == leaver ? m.join : m.host;
  bool partnerHosts = partnerId == m.host;
  if (Client* l = find(leaver)) l->match = 0;
  if (Client* partner = find(partnerId)) {
    partner->match = 0;
    GameResultMsg result;
    if (disconnected)
      result.code = partnerHosts ? kResultOpponentDisconnectedHost : kResultOpponentDisconnectedJoin;
    else
      result.code = partnerHosts ? kResultOpponentForfeitHost : kResultOpponentForfeitJoin;
    send(partnerId, result);
  }
  LOGOG_INFO("match %llu ended (%s)", static_cast<unsigned long long>(matchId), disconnected ? "disconnect" : "left");
  listChanged();
}

bool LobbyServer::relayable(const Client& c, const Match& m, const unsigned char* data, size_t length) const {
  if (length > config_.maxRelayBytes) return false;
  Sender allowed = relaySender(data[0]);
  bool isHost = m.host == c.id;
  if (allowed == Sender::Nobody) return false;
  if (allowed == Sender::Host && !isHost) return false;
  if (allowed == Sender::Join && isHost) return false;
  return wellFormed(data, length);
}

void LobbyServer::chatTooLong(Client& c) {
  // The game shows a chat line under the opponent's name: the line says who speaks.
  ChatMsg notice;
  notice.text = "(lobby) Your message was not sent: a chat line may hold at most " +
                std::to_string(config_.maxChatBytes) + " bytes.";
  send(c.id, notice);
}

void LobbyServer::relay(Client& c, const unsigned char* data, size_t length) {
  auto it = matches_.find(c.match);
  if (it == matches_.end()) return drop(c, data, length, "match is gone");
  Match& m = it->second;
  if (!relayable(c, m, data, length)) return drop(c, data, length, "not relayable for this side");
  if (data[0] == ID_CHAT) {
    ChatMsg chat;
    if (decode(data, length, chat) && chat.text.size() > config_.maxChatBytes) {
      chatTooLong(c);
      return drop(c, data, length, "chat line over the cap");
    }
  }
  if (m.join == c.id) m.joinPlayed = true;
  if (data[0] == ID_GAME_RESULT && m.joinPlayed) m.over = true;
  std::uint64_t partner = m.host == c.id ? m.join : m.host;
  transport_.send(partner, data, length);
  ++stats_.relayed;
}

void LobbyServer::onReplicaMessage(std::uint64_t client, const unsigned char* data, size_t length,
                                   std::int64_t nowMs) {
  now_ = nowMs;
  Client* c = find(client);
  if (!c || !data || length == 0) return;
  auto it = c->match ? matches_.find(c->match) : matches_.end();
  if (it == matches_.end()) {
    ++stats_.dropped;  // replica managers talk as soon as they connect; only matches listen
    return;
  }
  const Match& m = it->second;
  bool fromHost = m.host == c->id;
  unsigned char id = data[0];
  bool known = id >= ID_REPLICA_MANAGER_CONSTRUCTION && id <= ID_REPLICA_MANAGER_CONSTRUCTION_ACCEPTED;
  bool joinMay = id == ID_REPLICA_MANAGER_DOWNLOAD_STARTED || id == ID_REPLICA_MANAGER_DOWNLOAD_COMPLETE ||
                 id == ID_REPLICA_MANAGER_CONSTRUCTION_ACCEPTED || id == ID_REPLICA_MANAGER_CONSTRUCTION_REJECTED;
  if (!known || length > config_.maxRelayBytes || (!fromHost && !joinMay))
    return drop(*c, data, length, "replica message not relayable for this side");
  transport_.send(fromHost ? m.join : m.host, data, length);
  ++stats_.relayed;
}
