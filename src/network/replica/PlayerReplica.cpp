// "Player" on the wire.
//   construction: bit (this is the sender's local player), int list of cards
//   state: int32 mana, int32 dwarves; for the sender's local player only: spell
//     queue, cards, int32 selected card, element lists of chosen targets and of
//     options, int-pair list of spell options, the selected spell as one 64-bit
//     value (high half power, low half card); last int32 state.
#include "PlayerReplica.h"

#include <cstdint>

#include "CardTable.h"
#include "GameContext.h"
#include "GameReplicas.h"
#include "game/GameSession.h"
#include "logog/logog.hpp"
#include "player/Player.h"
#include "raknet/RakString.h"

namespace {

bool validCard(int id) { return CardTable::getCard(id) != nullptr; }
bool validPower(int power) { return power >= 0 && power <= GameReplicas::kMaxPower; }

bool validCards(const std::vector<int>& cards) {
  for (int c : cards)
    if (!validCard(c)) return false;
  return true;
}

bool validStoredCards(const std::vector<Player::StoredCard>& cards) {
  for (const auto& c : cards)
    if (!validCard(c.first) || !validPower(c.second)) return false;
  return true;
}

// Everything a "Player" update carries, read and checked before the player sees any.
struct PlayerUpdate {
  int32_t mana = 0;
  int32_t dwarves = 0;
  bool full = false;
  std::deque<AnimateSpellEvent> queue;
  std::vector<int> cards;
  int32_t selectedCard = Player::kNone;
  std::vector<BoardElem*> chosenTargets;
  std::vector<BoardElem*> options;
  std::vector<Player::StoredCard> spellOptions;
  Player::StoredCard selectedSpell{Player::kNone, 0};
  int32_t state = 0;

  bool read(RakNet::BitStream& in, const GameReplicas& replicas) {
    if (!in.Read(mana) || !in.Read(dwarves)) return false;
    if (full) {
      uint64_t spell = 0;
      if (!replicas.readSpellQueue(in, queue) || !GameReplicas::readIntVector(in, cards) ||
          !in.Read(selectedCard) || !replicas.readReplicaVector(in, chosenTargets) ||
          !replicas.readReplicaVector(in, options) || !GameReplicas::readIntPairVector(in, spellOptions) ||
          !in.Read(spell))
        return false;
      selectedSpell = {static_cast<int32_t>(static_cast<uint32_t>(spell)), static_cast<int32_t>(spell >> 32)};
    }
    return in.Read(state) && in.GetNumberOfUnreadBits() == 0;
  }

  const char* invalid() const {
    if (!isPlayerState(state)) return "state";
    if (!full) return nullptr;
    if (!validCards(cards)) return "cards";
    if (selectedCard != Player::kNone && !validCard(selectedCard)) return "selected card";
    if (!validStoredCards(spellOptions)) return "spell options";
    if ((selectedSpell.first != Player::kNone && !validCard(selectedSpell.first)) || !validPower(selectedSpell.second))
      return "selected spell";
    for (const AnimateSpellEvent& e : queue)
      if (!validCard(e.card) || !validPower(e.power)) return "spell queue";
    return nullptr;
  }
};

}  // namespace

void PlayerReplica::WriteAllocationID(RakNet::Connection_RM3*, RakNet::BitStream* out) const {
  out->Write(RakNet::RakString("Player"));
}

void PlayerReplica::SerializeConstruction(RakNet::BitStream* out, RakNet::Connection_RM3*) {
  out->Write(player_ && player_->isLocal());
  GameReplicas::writeIntVector(*out, player_ ? player_->cards() : std::vector<int>());
}

bool PlayerReplica::DeserializeConstruction(RakNet::BitStream* in, RakNet::Connection_RM3*) {
  bool sendersOwn = false;
  std::vector<int> cards;
  if (!in->Read(sendersOwn) || !GameReplicas::readIntVector(*in, cards) || !validCards(cards)) {
    LOGOG_WARN("refused a player construction: short or with unknown cards");
    return false;
  }
  if (!unadopted_) {
    LOGOG_WARN("refused a player construction: the player is constructed already");
    return false;
  }
  unadopted_->setCards(std::move(cards));
  // The sender's own player is this machine's opponent. The game takes it over,
  // or refuses it (outside a match on this joining side, or a second one for a side).
  if (!owner_.context().game().adoptPlayer(std::move(unadopted_), !sendersOwn)) {
    owner_.remove(this);
    player_ = nullptr;
    return false;
  }
  return true;
}

RakNet::RM3SerializationResult PlayerReplica::Serialize(RakNet::SerializeParameters* sp) {
  if (!player_) return RakNet::RM3SR_DO_NOT_SERIALIZE;
  RakNet::BitStream& out = sp->outputBitstream[0];
  const Player& p = *player_;
  out.Write(static_cast<int32_t>(p.mana()));
  out.Write(static_cast<int32_t>(p.dwarves()));
  if (p.isLocal()) {
    owner_.writeSpellQueue(out, p.spellQueue());
    GameReplicas::writeIntVector(out, p.cards());
    out.Write(static_cast<int32_t>(p.selectedCard()));
    owner_.writeReplicaVector(out, p.chosenTargets());
    owner_.writeReplicaVector(out, p.options());
    GameReplicas::writeIntPairVector(out, p.spellOptions());
    const Player::StoredCard spell = p.selectedSpell();
    out.Write(static_cast<uint64_t>(static_cast<uint32_t>(spell.second)) << 32 |
              static_cast<uint32_t>(spell.first));
  }
  out.Write(static_cast<int32_t>(p.state()));
  return RakNet::RM3SR_SERIALIZED_UNIQUELY;
}

void PlayerReplica::Deserialize(RakNet::DeserializeParameters* dp) {
  if (!player_) return;
  Player& p = *player_;
  PlayerUpdate u;
  // Only the sender's local player carries the full block: this machine's opponent.
  u.full = !p.isLocal();
  if (!u.read(dp->serializationBitstream[0], owner_)) {
    LOGOG_WARN("refused a player update of %s: it does not match its format", p.displayName());
    return;
  }
  if (const char* bad = u.invalid()) {
    LOGOG_WARN("refused a player update of %s: %s out of range", p.displayName(), bad);
    return;
  }
  p.setMana(u.mana);
  p.setDwarves(u.dwarves);
  if (u.full) {
    p.mutableSpellQueue() = std::move(u.queue);
    p.setCards(std::move(u.cards));
    p.setSelectedCard(u.selectedCard);
    p.setChosenTargets(std::move(u.chosenTargets));
    p.setOptions(std::move(u.options));
    p.setSpellOptions(std::move(u.spellOptions));
    p.setSelectedSpell(u.selectedSpell);
  }
  const PlayerState state = static_cast<PlayerState>(u.state);
  // The hub follows the host's word on this machine's own player (its automatic steps).
  if (p.isLocal()) p.setHostWord(state, u.mana, u.dwarves);
  if (state == p.state()) return;
  // This machine makes its own player's choices once it has its first state.
  if (p.isLocal() && p.state() != PlayerState::Invalid) return;
  LOGOG_INFO("remote state change received");
  p.setState(state);
}

PlayerReplica::PlayerReplica(GameReplicas& owner, Player& player)
    : ModelReplica(owner, false), player_(&player) {
  owner_.add(this);
}

PlayerReplica::PlayerReplica(GameReplicas& owner, std::unique_ptr<Player> copy)
    : ModelReplica(owner, true), player_(copy.get()), unadopted_(std::move(copy)) {
  owner_.add(this);
}

PlayerReplica::~PlayerReplica() {
  if (player_) owner_.remove(this);
}

void PlayerReplica::release() {
  if (!player_) return;
  if (!remote_) {
    forget();  // the game frees its own players
    return;
  }
  owner_.remove(this);
  Player* p = player_;
  player_ = nullptr;
  if (unadopted_) {
    unadopted_.reset();  // it never joined the game
    return;
  }
  owner_.releasePlayer(*p);
}

void PlayerReplica::forget() {
  if (!player_) return;
  owner_.remove(this);
  Player* p = player_;
  player_ = nullptr;
  owner_.forgetPlayer(p);
  unadopted_.reset();
}
