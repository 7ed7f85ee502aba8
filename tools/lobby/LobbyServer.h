// The lobby's logic, free of sockets and clocks: clients are 64-bit ids (their peer
// GUIDs), messages are byte strings, time is passed in. LobbyHost feeds it from a
// real peer; tests feed it directly.
//
// A client goes: protocol version -> login (remembered credentials, or e-mail then
// mailed code) -> name when the account has none -> lobby. In the lobby it sees the
// player list, challenges or is challenged, queues for a quick match, and inside a
// match its messages are relayed to the partner when its role may send them.
//
// The server faces strangers, so no client's word decides what happens to another:
// failed logins count against the connection and the address they come from, never
// against the account they name; a challenge waits its turn rather than shutting
// others out. Players behind one router share an address, so what one of them does
// there limits that one: wrong codes for an account shut out that account from that
// address only, an address guessing at many accounts has its logins slowed (never
// refused), and an address holds only a few connections still logging in, a new one
// taking the place of the one that waited longest. All addresses together hold only
// so many, in the same way. No clock ends a login that waits for its player (a game
// connects as it starts and rests at the e-mail prompt while its player stays at
// the menu); only the steps a client owes at once, or a mailed code, are timed.
//
// Checking codes and writing accounts is slow work for the AccountService; the login
// goes on when its reply comes, and everything else goes on meanwhile.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "AccountWorkers.h"
#include "Mailer.h"
#include "UnfinishedLogins.h"
#include "protocol/Messages.h"

// Where the server's messages go.
class LobbyTransport {
 public:
  virtual ~LobbyTransport() = default;
  virtual void send(std::uint64_t client, const unsigned char* data, size_t length) = 0;
  // Closes the connection after what was sent to it; the server forgets the client itself.
  virtual void disconnect(std::uint64_t client) = 0;
};

struct LobbyConfig {
  std::int64_t challengeExpiryMs = 60000;
  std::int64_t listDebounceMs = 500;
  std::int64_t versionTimeoutMs = 30 * 1000;     // to announce the protocol version
  std::int64_t codeTimeoutMs = 10 * 60 * 1000;   // to send the mailed code
  // Connections still logging in, of one address and of all (0: no bound); a newer
  // one past either bound takes the place of the longest-idle.
  int maxUnfinishedPerAddress = 8;
  int maxUnfinished = 0;
  std::string devCode;               // fixes every new login code (local play)
  int maxCodeAttempts = 5;           // wrong codes for one mailed code
  int maxFailuresPerConnection = 10;  // wrong codes or credentials before it is closed
  int maxFailuresPerAddress = 30;     // wrong credentials for one account from one address
  std::int64_t lockoutMs = 15 * 60 * 1000;  // ...before the account is refused there this long
  int maxAccountsFailedPerAddress = 10;     // accounts one address failed at within lockoutMs...
  std::int64_t slowLoginGapMs = 30 * 1000;  // ...before its remembered logins wait this long each
  int maxChallenges = 5;              // challenges one client may make...
  std::int64_t challengeWindowMs = 30 * 1000;  // ...within this time
  std::int64_t dropLogIntervalMs = 10 * 1000;  // dropped messages are logged once a client and interval
  int maxMailsPerConnection = 5;
  int maxInvitesPerConnection = 10;
  int maxMailsPerAddress = 5;             // codes and invitations to one address...
  std::int64_t mailWindowMs = 60 * 60 * 1000;  // ...within this time
  size_t maxRelayBytes = protocol::kMaxMessageBytes;  // largest relayed match message
  size_t maxChatBytes = 2000;
  size_t maxListEntries = 1000;
  // Player lists go out at this pace, between relayed moves: a round to thousands of
  // players takes longer rather than costing the relay more.
  std::int64_t listBytesPerSecond = 8 * 1024 * 1024;
};

struct LobbyStats {
  std::uint64_t relayed = 0;
  std::uint64_t dropped = 0;
  std::uint64_t matchesStarted = 0;
  std::uint64_t listsSent = 0;
};

class LobbyServer {
 public:
  using CodeSource = std::function<std::string()>;

  LobbyServer(LobbyTransport& transport, Mailer& mailer, AccountService& accounts, LobbyConfig config = {});

  // `address`: the client's IPv4 address (0: unknown, exempt from the limits per address).
  void onConnected(std::uint64_t client, std::int64_t nowMs, std::uint32_t address = 0);
  void onDisconnected(std::uint64_t client, std::int64_t nowMs);
  void onMessage(std::uint64_t client, const unsigned char* data, size_t length, std::int64_t nowMs);
  // Replica manager traffic (ids below the application range): relayed within a
  // match, opaque to the lobby. The host may send all of it; the joiner only the
  // download and acceptance notices, since it never constructs or serializes.
  void onReplicaMessage(std::uint64_t client, const unsigned char* data, size_t length, std::int64_t nowMs);
  // Timers: challenge expiry, the debounced player list, the accounts' replies.
  void tick(std::int64_t nowMs);

  // Replaces the random six-digit codes (tests).
  void setCodeSource(CodeSource source) { codeSource_ = std::move(source); }
  size_t clientCount() const { return clients_.size(); }
  size_t loggedInCount() const;
  size_t matchCount() const { return matches_.size(); }
  const LobbyStats& stats() const { return stats_; }

  // Six random digits from the kernel's generator.
  static std::string randomCode();

 private:
  enum class Stage { Version, Login, Code, Name, Lobby };

  // How often something happened in a window that opens with the first time.
  struct Quota {
    int count = 0;
    std::int64_t since = 0;
    // Counts once more unless the window already holds `limit`; whether it counted.
    bool take(std::int64_t now, std::int64_t windowMs, int limit);
  };

  // Lines of one kind: at most `perInterval` logged in an interval, the rest counted
  // and summed up once the interval is over.
  struct LogBudget {
    std::int64_t since = 0;
    int logged = 0;
    int unlogged = 0;
    bool allow(std::int64_t now, std::int64_t intervalMs, int perInterval);
    // The count of lines not logged once their interval is over (or `force`), reset.
    int takeUnlogged(std::int64_t now, std::int64_t intervalMs, bool force);
  };

  struct Client {
    std::uint64_t id = 0;
    std::uint32_t address = 0;
    Stage stage = Stage::Version;
    std::int64_t stageSince = 0;
    std::uint64_t arrival = 0;  // connections in the order they came
    std::string email;         // once the login holds
    std::string pendingEmail;  // while a mailed code is awaited
    std::string pendingCode;
    std::uint64_t ticket = 0;  // an account request awaits its reply
    std::string slowEmail;     // a remembered login waiting for its address's turn
    std::string slowCode;
    int codeAttempts = 0;
    int failures = 0;  // wrong codes and credentials on this connection
    int mails = 0;
    int invites = 0;
    std::string name;
    std::uint64_t loginOrder = 0;
    std::uint64_t match = 0;
    Quota challenges;
    LogBudget drops;
  };

  // A target sees one challenge at a time: the others wait in arrival order.
  struct Challenge {
    std::uint64_t from = 0;
    std::uint64_t to = 0;
    std::int64_t expires = 0;
    bool prompted = false;  // the target was asked
  };

  struct Match {
    std::uint64_t id = 0;
    std::uint64_t host = 0;
    std::uint64_t join = 0;
    bool over = false;  // the host reported the result; a rematch may follow
    // The joining side sent something of this game: a result before that ends no game.
    bool joinPlayed = false;
  };

  // Login (LobbyServer.cpp).
  void dispatch(Client& c, const unsigned char* data, size_t length);
  void onVersion(Client& c, const unsigned char* data, size_t length);
  void onLogin(Client& c, const unsigned char* data, size_t length);
  void onLoginEmail(Client& c, const unsigned char* data, size_t length);
  void onLoginCode(Client& c, const unsigned char* data, size_t length);
  void onPlayerName(Client& c, const unsigned char* data, size_t length);
  // Lobby requests whose sender waits for an answer (quick match, challenge, invitation).
  static bool awaitsAnswer(unsigned char id);
  // Repeats the request for what the login awaits now: address, code or name. A player
  // who left a prompt and came back to the lobby screen sees it again.
  void askAgain(Client& c);
  void loggedInAs(Client& c, const std::string& email, const std::string& name);
  // Hands a request to the account service; the client waits for its reply.
  void request(Client& c, AccountRequest::Kind kind, const std::string& email, const std::string& text);
  void takeReplies();
  void onReply(Client& c, const AccountReply& r);
  // Checks remembered credentials now, or when the address's turn comes.
  void checkRemembered(Client& c, const std::string& email, const std::string& code);
  void runSlowLogins();
  void accept(Client& c);
  void setStage(Client& c, Stage stage);
  // Ends a login the account file could not record: the client starts again.
  void refuseUnsaved(Client& c);
  // Counts a mail to the address; false when it has had its share lately.
  bool mailAllowed(const std::string& email);
  // Counts a wrong code or credentials against the connection and its address;
  // true when that closed the connection (`c` is then gone).
  bool noteFailure(Client& c, const std::string& email = "");
  bool accountRefusedFrom(std::uint32_t address, const std::string& email);
  bool addressSlowed(std::uint32_t address);
  // When the address of `c`, or all addresses, hold more connections still logging in
  // than allowed: closes the one idle longest there (the one with the most failures
  // first), but `c`.
  void makeRoom(const Client& c);
  // Keeps the order of the logins up to date with the client's.
  void track(const Client& c);
  // Closes a client and forgets it at once.
  void close(std::uint64_t client);
  void sendList();
  // Sends the latest list to the next clients that have not had it, at the pace allowed.
  void sendListsDue();
  void listChanged();
  // Closes connections that do not announce their version in time or let a mailed
  // code wait too long; logs the dropped messages not yet logged; forgets what is
  // out of date.
  void sweep();

  // Lobby and matches (LobbyMatches.cpp).
  void onLobbyMessage(Client& c, const unsigned char* data, size_t length);
  void onChallenge(Client& c, const unsigned char* data, size_t length);
  void onChallengeAnswer(Client& c, const unsigned char* data, size_t length);
  void onQuickmatch(Client& c);
  void onInvite(Client& c, const unsigned char* data, size_t length);
  void relay(Client& c, const unsigned char* data, size_t length);
  bool relayable(const Client& c, const Match& m, const unsigned char* data, size_t length) const;
  // Asks the target about the first challenge waiting for it, unless it is being asked.
  void promptNext(std::uint64_t target);
  // Removes the challenges that `which` selects; challengers waiting on `refusedTo`
  // hear a refusal, and targets whose prompt went are asked about the next.
  void removeChallenges(const std::function<bool(const Challenge&)>& which, std::uint64_t refusedTo);
  void startMatch(Client& host, Client& join);
  void sendStart(const Match& m);
  // Ends the match because `leaver` left (forfeit) or vanished; tells the partner.
  void endMatch(std::uint64_t matchId, std::uint64_t leaver, bool disconnected);
  // Tells the sender of a chat line over the cap that it was not sent.
  void chatTooLong(Client& c);
  void refuse(std::uint64_t client);  // a down ID_CHALLENGE_ANSWER 0
  void removeClient(std::uint64_t client);
  bool available(const Client& c) const { return c.stage == Stage::Lobby && c.match == 0; }

  template <class M>
  void send(std::uint64_t client, const M& message) {
    RakNet::BitStream bs = protocol::encode(message);
    transport_.send(client, bs.GetData(), bs.GetNumberOfBytesUsed());
  }
  void sendError(Client& c, int error);
  // Counts a message not acted upon; the first of an interval is logged with its reason.
  void drop(Client& c, const unsigned char* data, size_t length, const char* why);
  Client* find(std::uint64_t id);

  LobbyTransport& transport_;
  Mailer& mailer_;
  AccountService& accounts_;
  LobbyConfig config_;
  CodeSource codeSource_;
  std::int64_t now_ = 0;

  std::unordered_map<std::uint64_t, Client> clients_;
  std::unordered_map<std::string, std::uint64_t> byEmail_;  // logged-in clients
  // Slowed addresses: their remembered logins in turn, one each slowLoginGapMs.
  struct SlowLane {
    std::int64_t next = 0;
    std::deque<std::uint64_t> waiting;
  };
  std::map<std::pair<std::uint32_t, std::string>, Quota> failuresFrom_;  // address, account
  std::unordered_map<std::uint32_t, Quota> accountsFailedFrom_;          // by address
  std::unordered_map<std::uint32_t, SlowLane> slowed_;
  UnfinishedLogins unfinished_;
  std::uint64_t nextTicket_ = 1;
  std::uint64_t nextArrival_ = 1;
  bool takingReplies_ = false;
  std::unordered_map<std::string, Quota> mailsTo_;
  LogBudget refusals_;
  std::deque<std::uint64_t> queue_;                          // quick match, first come first
  std::vector<Challenge> challenges_;
  std::map<std::uint64_t, Match> matches_;
  std::uint64_t nextMatch_ = 1;
  std::uint64_t nextLoginOrder_ = 1;
  std::int64_t lastSweep_ = 0;
  bool listDirty_ = false;
  std::int64_t listDue_ = 0;
  std::vector<unsigned char> list_;            // the latest list message...
  std::deque<std::uint64_t> listTo_;           // ...and who has yet to get it
  std::int64_t listPaced_ = 0;
  double listCredit_ = 0;
  LobbyStats stats_;
};
