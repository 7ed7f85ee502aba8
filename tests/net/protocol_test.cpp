#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "protocol/Messages.h"

using namespace protocol;
using Bytes = std::vector<unsigned char>;

namespace {

template <class M>
Bytes bytes(const M& m) {
  RakNet::BitStream bs = encode(m);
  return Bytes(bs.GetData(), bs.GetData() + bs.GetNumberOfBytesUsed());
}

// One sample of every record, with values that exercise each field.
auto samples() {
  SelectedBoardElemMsg elem;
  elem.elem = 0x0102030405060708ull;
  SelectedSpellMsg spell;
  spell.spell = 12;
  spell.value = -3;
  SelectedCardMsg card;
  card.value = 31;
  AnimateSpellMsg anim;
  anim.caster = 5;
  anim.target = kNoObject;
  anim.card = 7;
  anim.power = 2;
  anim.targets = {1, kNoObject, 3};
  anim.spared = {9};
  anim.reflected = 1;
  anim.active = 0;
  StartGameMsg start;
  start.role = kRoleHost;
  start.opponentName = "Grete";
  GameResultMsg result;
  result.code = kResultOpponentForfeitJoin;
  CardListMsg cards;
  cards.cards = {1, 2, 30};
  BlockExplodedMsg exploded;
  exploded.elem = 77;
  BlockCollapsedMsg collapsed;
  collapsed.elem = kNoObject;
  DoorDestroyedMsg door;
  door.elem = 1;
  ChatMsg chat;
  chat.text = "50% more %d \xC3\xA9";
  ProtocolVersionMsg version;
  version.value = kProtocolVersion;
  LoginEmailMsg email;
  email.text = "a@b.example";
  LoginCodeMsg code;
  code.text = "123456";
  LobbyErrorMsg error;
  error.error = kErrorEmailRequired;
  LoginMsg login;
  login.email = "a@b.example";
  login.code = "654321";
  PlayerNameMsg name;
  name.text = "Ulf";
  PlayerListMsg list;
  list.onlineCount = 3;
  list.players = {{11, "A"}, {12, ""}};
  InviteFriendMsg invite;
  invite.text = "friend@x.example";
  ChallengeMsg challenge;
  challenge.guid = 0xFEDCBA9876543210ull;
  ChallengeReceivedMsg challenged;
  challenged.text = "Bo";
  ChallengeAnswerMsg answer;
  answer.value = 1;
  return std::make_tuple(elem, spell, FinishedSelectingSpellsMsg{}, card, FinishedSelectingCardsMsg{},
                         ClickedBoardMsg{}, CancelMsg{}, anim, FinishedAnimatingMsg{}, start, result, cards,
                         TurnBeginMsg{}, exploded, collapsed, door, chat, version, email, LoginEmailRequestMsg{},
                         code, CodeRequestMsg{}, error, login, LoginAcceptedMsg{}, QuickmatchMsg{}, RematchMsg{},
                         name, NameRequestMsg{}, list, CancelMatchmakingMsg{}, invite, challenge, challenged,
                         answer, LeaveGameMsg{});
}

template <class F>
void forEachSample(F&& f) {
  auto all = samples();
  std::apply([&](auto&... m) { (f(m), ...); }, all);
}

TEST(Protocol, ByteLayouts) {
  ProtocolVersionMsg version;
  version.value = 9;
  EXPECT_EQ(bytes(version), (Bytes{0xE7, 0, 0, 0, 9}));

  SelectedBoardElemMsg elem;
  elem.elem = kNoObject;
  EXPECT_EQ(bytes(elem), (Bytes{0x84, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));

  StartGameMsg start;
  start.role = kRoleJoin;
  start.opponentName = "Al";
  EXPECT_EQ(bytes(start), (Bytes{0x8D, 0, 0, 0, 0, 0, 2, 'A', 'l'}));

  CardListMsg cards;
  cards.cards = {3, -1};
  EXPECT_EQ(bytes(cards), (Bytes{0x90, 0, 0, 0, 2, 0, 0, 0, 3, 0xFF, 0xFF, 0xFF, 0xFF}));

  PlayerListMsg list;
  list.onlineCount = 5;
  list.players = {{0x0102030405060708ull, "Z"}};
  EXPECT_EQ(bytes(list), (Bytes{0xEF, 0, 0, 0, 5, 0, 0, 0, 1, 1, 2, 3, 4, 5, 6, 7, 8, 0, 1, 'Z'}));

  LoginMsg login;
  login.email = "e";
  login.code = "12";
  EXPECT_EQ(bytes(login), (Bytes{0xEB, 0, 1, 'e', 0, 2, '1', '2'}));

  EXPECT_EQ(bytes(FinishedAnimatingMsg{}), (Bytes{0x8C}));
}

TEST(Protocol, EveryMessageRoundTrips) {
  forEachSample([](const auto& m) {
    using M = std::decay_t<decltype(m)>;
    Bytes b = bytes(m);
    M back;
    ASSERT_TRUE(decode(b.data(), b.size(), back)) << messageName(M::kId);
    EXPECT_EQ(bytes(back), b) << messageName(M::kId);
  });
}

TEST(Protocol, TruncatedLongerOrMislabelledMessagesFail) {
  forEachSample([](const auto& m) {
    using M = std::decay_t<decltype(m)>;
    Bytes b = bytes(m);
    M out = m;
    for (size_t n = 0; n < b.size(); ++n)
      EXPECT_FALSE(decode(b.data(), n, out)) << messageName(M::kId) << " cut to " << n;
    Bytes longer = b;
    longer.push_back(0);
    EXPECT_FALSE(decode(longer.data(), longer.size(), out)) << messageName(M::kId);
    Bytes other = b;
    other[0] = static_cast<unsigned char>(other[0] ^ 0x01);
    EXPECT_FALSE(decode(other.data(), other.size(), out)) << messageName(M::kId);
    EXPECT_EQ(bytes(out), b) << "a failed decode changed the record";
  });
}

TEST(Protocol, CountsAndValuesAreChecked) {
  // A count of -1 or 0 is an empty list, as the old clients wrote it.
  Bytes emptyList{0xEF, 0, 0, 0, 2, 0xFF, 0xFF, 0xFF, 0xFF};
  PlayerListMsg list;
  ASSERT_TRUE(decode(emptyList.data(), emptyList.size(), list));
  EXPECT_TRUE(list.players.empty());
  EXPECT_EQ(list.onlineCount, 2);

  // A count the bytes cannot hold.
  Bytes huge{0x90, 0x7F, 0xFF, 0xFF, 0xFF, 0, 0, 0, 1};
  CardListMsg cards;
  EXPECT_FALSE(decode(huge.data(), huge.size(), cards));
  Bytes hugeAnim{0x8B, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1,
                 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 1};
  AnimateSpellMsg anim;
  EXPECT_FALSE(decode(hugeAnim.data(), hugeAnim.size(), anim));

  // Values outside their range.
  StartGameMsg start;
  Bytes role2{0x8D, 0, 0, 0, 2, 0, 0};
  EXPECT_FALSE(decode(role2.data(), role2.size(), start));
  LobbyErrorMsg error;
  Bytes error4{0xEA, 0, 0, 0, 4};
  EXPECT_FALSE(decode(error4.data(), error4.size(), error));
  GameResultMsg result;
  Bytes result7{0x8E, 0, 0, 0, 7};
  EXPECT_FALSE(decode(result7.data(), result7.size(), result));
  Bytes resultNeg{0x8E, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_FALSE(decode(resultNeg.data(), resultNeg.size(), result));
  EXPECT_FALSE(decode<ChatMsg>(nullptr, 0, *std::make_unique<ChatMsg>()));
}

// Random bytes and mutations of valid messages through every decoder: nothing may
// crash or read out of bounds (the sanitizers watch), and whatever decodes must
// encode to a message that decodes again (a negative count comes back as 0).
TEST(Protocol, DecodersSurviveFuzzing) {
  std::mt19937 rng(1234);
  std::vector<Bytes> seeds;
  forEachSample([&](const auto& m) { seeds.push_back(bytes(m)); });
  int accepted = 0;
  for (int round = 0; round < 20000; ++round) {
    Bytes b;
    if (round % 2 == 0) {
      b = seeds[rng() % seeds.size()];
      int edits = 1 + rng() % 4;
      for (int e = 0; e < edits && !b.empty(); ++e) {
        switch (rng() % 4) {
          case 0: b[rng() % b.size()] = static_cast<unsigned char>(rng()); break;
          case 1: b.resize(rng() % b.size()); break;
          case 2: b.push_back(static_cast<unsigned char>(rng())); break;
          case 3: if (b.size() > 1) b[1 + rng() % (b.size() - 1)] = 0xFF; break;
        }
      }
    } else {
      b.resize(rng() % 64);
      for (auto& x : b) x = static_cast<unsigned char>(rng());
      if (!b.empty()) b[0] = static_cast<unsigned char>(0x84 + rng() % 0x75);
    }
    forEachSample([&](const auto& m) {
      using M = std::decay_t<decltype(m)>;
      M out;
      if (decode(b.data(), b.size(), out)) {
        ++accepted;
        Bytes again = bytes(out);
        M twice;
        EXPECT_TRUE(decode(again.data(), again.size(), twice)) << messageName(M::kId);
      }
    });
  }
  EXPECT_GT(accepted, 0);
}

TEST(Protocol, NamesKnownIdsOnly) {
  EXPECT_STREQ(messageName(ID_CHAT), "ID_CHAT");
  EXPECT_EQ(messageName(0x8F), nullptr);
  EXPECT_EQ(messageName(0x10), nullptr);
}

}  // namespace
