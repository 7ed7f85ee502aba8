// Every decoder of the lobby and match protocol. A message that decodes is encoded again;
// the encoding decodes and encodes to the same bytes.
#include <cstring>

#include "FuzzSupport.h"
#include "protocol/Messages.h"

using namespace protocol;

namespace {

template <class M>
void roundTrip(const uint8_t* data, size_t size) {
  M message;
  if (!decode(data, size, message)) return;
  RakNet::BitStream once = encode(message);
  M back;
  MVFUZZ_CHECK(decode(once.GetData(), once.GetNumberOfBytesUsed(), back));
  RakNet::BitStream twice = encode(back);
  MVFUZZ_CHECK(once.GetNumberOfBitsUsed() == twice.GetNumberOfBitsUsed());
  MVFUZZ_CHECK(std::memcmp(once.GetData(), twice.GetData(), once.GetNumberOfBytesUsed()) == 0);
}

template <class... M>
void all(const uint8_t* data, size_t size) {
  (roundTrip<M>(data, size), ...);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  all<SelectedBoardElemMsg, SelectedSpellMsg, FinishedSelectingSpellsMsg, SelectedCardMsg,
      FinishedSelectingCardsMsg, ClickedBoardMsg, CancelMsg, AnimateSpellMsg, FinishedAnimatingMsg,
      StartGameMsg, GameResultMsg, CardListMsg, TurnBeginMsg, BlockExplodedMsg, BlockCollapsedMsg,
      DoorDestroyedMsg, ChatMsg, ProtocolVersionMsg, LoginEmailMsg, LoginEmailRequestMsg,
      LoginCodeMsg, CodeRequestMsg, LobbyErrorMsg, LoginMsg, LoginAcceptedMsg, QuickmatchMsg,
      RematchMsg, PlayerNameMsg, NameRequestMsg, PlayerListMsg, CancelMatchmakingMsg,
      InviteFriendMsg, ChallengeMsg, ChallengeReceivedMsg, ChallengeAnswerMsg, LeaveGameMsg>(data, size);
  return 0;
}
