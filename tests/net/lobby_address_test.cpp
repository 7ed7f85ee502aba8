// Players behind one router share an address: what a stranger there does limits the
// stranger, not the neighbours.
#include "LobbyFixture.h"

using namespace protocol;

namespace {

constexpr std::uint32_t kShared = 0x0A000001;  // 10.0.0.1
constexpr std::uint32_t kOther = 0x0A000002;

class SharedAddress : public LobbyFixture {
 protected:
  // Connects from `address` and answers the version; clears the inbox.
  void greet(std::uint64_t c, std::uint32_t address) {
    connect(c, address);
    up(c, ProtocolVersionMsg{{9}});
    take(c);
  }
  void remembered(std::uint64_t c, const std::string& email, const std::string& code) {
    LoginMsg m;
    m.email = email;
    m.code = code;
    up(c, m);
  }
};

TEST_F(SharedAddress, ParkedCodeWaitsMakeRoomForANeighbourAndCannotPileUp) {
  addAccount("neighbour@x.example", "111111", "Neighbour");
  std::uint64_t c = 100;
  for (int i = 0; i < config.maxUnfinishedPerAddress; ++i, ++c) {
    greet(c, kShared);
    LoginEmailMsg e;
    e.text = "parked" + std::to_string(i) + "@x.example";
    up(c, e);  // now waits for its mailed code, ten minutes at most
  }
  greet(1, kShared);
  remembered(1, "neighbour@x.example", "111111");
  EXPECT_EQ(ids(1), std::vector<int>{ID_LOGIN});
  EXPECT_TRUE(transport.closed.count(100));  // the one that waited longest made room

  for (int i = 0; i < 200; ++i, ++c) greet(c, kShared);
  EXPECT_EQ(server->clientCount(), static_cast<size_t>(config.maxUnfinishedPerAddress) + 1);
  EXPECT_FALSE(transport.closed.count(1));
}

// Strangers from many addresses that never log in cannot hold every slot either: past
// the bound for all addresses, each newcomer takes the place of the login idle longest
// (one that failed first), wherever it comes from. Players who logged in do not count.
TEST_F(SharedAddress, AllAddressesTogetherHoldOnlySoManyUnfinishedLogins) {
  config.maxUnfinished = 4;
  makeServer();
  login(1, "Player");
  for (std::uint64_t c = 10; c < 14; ++c) {
    greet(c, kOther + static_cast<std::uint32_t>(c));
    advance(1000);
  }
  LoginEmailMsg e;
  e.text = "reader@x.example";
  up(10, e);  // its login moved on: 11 has now waited longest
  greet(14, kShared);
  EXPECT_EQ(transport.closed, (std::set<std::uint64_t>{11}));
  remembered(13, "nobody@x.example", "999999");  // a failure: first to go
  greet(15, kShared);
  EXPECT_EQ(transport.closed, (std::set<std::uint64_t>{11, 13}));
  for (std::uint64_t c = 16; c < 40; ++c) greet(c, kOther + static_cast<std::uint32_t>(c));
  EXPECT_EQ(server->clientCount(), 1u + 4u);
  EXPECT_FALSE(transport.closed.count(1));
}

TEST_F(SharedAddress, GuessingAtManyAccountsSlowsTheAddressWithoutShuttingOutANeighbour) {
  addAccount("neighbour@x.example", "111111", "Neighbour");
  for (int i = 0; i < config.maxAccountsFailedPerAddress; ++i)
    addAccount("victim" + std::to_string(i) + "@x.example", "111111", "Victim" + std::to_string(i));
  greet(50, kShared);
  for (int i = 0; i < config.maxAccountsFailedPerAddress; ++i)
    remembered(50, "victim" + std::to_string(i) + "@x.example", "999999");
  ASSERT_EQ(ids(50), std::vector<int>(config.maxAccountsFailedPerAddress, ID_LOBBY_ERROR));

  // Now the address's remembered logins go one at a time, the stranger's too.
  greet(51, kShared);
  remembered(51, "victim0@x.example", "999998");
  EXPECT_EQ(ids(51), std::vector<int>{ID_LOBBY_ERROR});
  remembered(51, "victim1@x.example", "999998");  // waits first...
  greet(1, kShared);
  remembered(1, "neighbour@x.example", "111111");  // ...but one that never failed goes first
  EXPECT_TRUE(ids(1).empty());
  greet(2, kOther);  // elsewhere nothing waits
  remembered(2, "victim2@x.example", "111111");
  EXPECT_EQ(ids(2), std::vector<int>{ID_LOGIN});
  advance(config.slowLoginGapMs);
  std::vector<int> got = ids(1);
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got[0], ID_LOGIN);
  EXPECT_TRUE(ids(51).empty());
  advance(config.slowLoginGapMs);
  EXPECT_EQ(ids(51), std::vector<int>{ID_LOBBY_ERROR});
}

}  // namespace
