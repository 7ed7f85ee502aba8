// The skirmish and sandbox directors, the generated hands, and the choice of
// director by mode id.
#include "game/GameDirector.h"

#include "Board.h"
#include "CardTable.h"
#include "GameContext.h"
#include "game/ComputerPlayer.h"
#include "game/TrialDirectors.h"
#include "game/TutorialDirector.h"
#include "game/TowerLayout.h"
#include "logog/logog.hpp"
#include "player/Player.h"
#include "player/PlayerSession.h"

namespace {

// Redraws of a card dealt too early before the draw is given up (with the
// card table's weights it ends after a few).
constexpr int kRedrawLimit = 1000;

int drawCard(GameContext& ctx, CardCategory category) {
  const CardRecord* card = CardTable::drawRandomCard(category, ctx);
  return card ? card->id : -1;
}

// A draw repeated while the card may not yet be dealt in `turn`.
int drawCardFor(GameContext& ctx, CardCategory category, int turn) {
  for (int tries = 0; tries < kRedrawLimit; ++tries) {
    const CardRecord* card = CardTable::drawRandomCard(category, ctx);
    if (!card) return -1;
    if (card->minTurn <= turn) return card->id;
  }
  LOGOG_ERROR("no card of category %d may be dealt in turn %d", static_cast<int>(category), turn);
  return -1;
}

void push(std::vector<int>& cards, int id) {
  if (id >= 0) cards.push_back(id);
}

// Spell or crew cards on a coin, until the hand holds `extra` more or is full.
void addSpellsAndCrews(GameContext& ctx, std::vector<int>& cards, int extra, int turn) {
  for (int i = 0; i < extra && cards.size() < static_cast<std::size_t>(GameDirector::kMaxHand); ++i) {
    const CardCategory category =
        ctx.rng().next() % 2 == 1 ? CardCategory::Crew : CardCategory::Spell;
    push(cards, drawCardFor(ctx, category, turn));
  }
}

std::vector<int> firstTurnList(GameContext& ctx) {
  Rng& rng = ctx.rng();
  std::vector<int> cards{CardId::Archmage, CardId::FourBlock};
  for (int i = 0; i < 5; ++i) cards.push_back(rng.next() % 3);
  cards.push_back(CardId::Crystal);
  cards.push_back(CardId::Housing);
  push(cards, drawCard(ctx, CardCategory::Room));
  const int tunnelers = rng.next() % 3 + 1;
  for (int i = 0; i < tunnelers; ++i) cards.push_back(CardId::Tunnelers);
  for (int i = 0; i < 2; ++i) push(cards, drawCardFor(ctx, CardCategory::Crew, 0));
  return cards;
}

}  // namespace

// ---- Normal ----------------------------------------------------------------

std::vector<int> GameDirector_Normal::normalCardList(const Player& player, int turn) {
  GameContext& ctx = player.context();
  if (turn <= 0) return firstTurnList(ctx);
  std::vector<int> cards;
  cards.push_back(ctx.rng().next() % 3);
  push(cards, drawCard(ctx, CardCategory::Structure));
  push(cards, drawCard(ctx, CardCategory::Room));
  push(cards, drawCard(ctx, CardCategory::Crew));
  addSpellsAndCrews(ctx, cards, turn - 1, turn);
  return cards;
}

std::vector<int> GameDirector_Normal::getCardList(const Player& player, int turn) {
  return normalCardList(player, turn);
}

void GameDirector_Normal::setupPlayer(Player& player) {
  TowerLayout t(player);
  t.block(0, 0, ElemKind::FourBlock);
}

bool GameDirector_Normal::hasLost(const Player& player) {
  const Board* board = player.board();
  const BoardElem* archmage = board ? board->findArchmage() : nullptr;
  return !archmage || archmage->waterLevel() >= BoardElem::kWorkingWaterLimit;
}

void GameDirector_Normal::updateAI(Player& player) {
  if (!player.isLocal()) aiStep(player);
}

// ---- Sandbox ---------------------------------------------------------------

std::vector<int> GameDirector_Sandbox::getCardList(const Player& player, int turn) {
  GameContext& ctx = player.context();
  if (turn <= 0) return firstTurnList(ctx);
  std::vector<int> cards;
  push(cards, drawCard(ctx, CardCategory::Structure));
  push(cards, drawCard(ctx, CardCategory::Structure));
  push(cards, drawCard(ctx, CardCategory::Room));
  addSpellsAndCrews(ctx, cards, turn, turn);
  return cards;
}

void GameDirector_Sandbox::setupPlayer(Player& player) {
  player.setMana(1000);
  player.setDwarves(1000);
  if (!player.isLocal()) return;
  TowerLayout t(player);
  for (int dy = 0; dy <= 4; ++dy) t.block(0, dy, ElemKind::FourBlock);
  t.card(0, 3, CardId::Archmage);
  t.card(0, 3, CardId::Doors);
  t.card(0, 4, CardId::Crystal);
  t.block(0, -1, ElemKind::FourBlock);
  t.block(1, 2, ElemKind::FourBlock);
  t.block(2, 2, ElemKind::FourBlock);
  t.block(2, 3, ElemKind::FourBlock);
  t.block(2, 4, ElemKind::Dome);
}

// ---- By mode id ------------------------------------------------------------

std::unique_ptr<GameDirector> GameDirector::create(const std::string& modeId) {
  if (modeId == "skirmish") return std::make_unique<GameDirector_Normal>();
  if (modeId == "tutorial") return std::make_unique<GameDirector_Tutorial>();
  if (modeId == "sandbox") return std::make_unique<GameDirector_Sandbox>();
  if (modeId == "water_trial") return std::make_unique<GameDirector_WaterTrial>();
  if (modeId == "fire_trial1") return std::make_unique<GameDirector_FireTrial1>();
  if (modeId == "fire_trial2") return std::make_unique<GameDirector_FireTrial2>();
  if (modeId == "fire_trial3") return std::make_unique<GameDirector_FireTrial3>();
  if (modeId == "fire_trial4") return std::make_unique<GameDirector_FireTrial4>();
  if (modeId == "dynamite_trial1") return std::make_unique<GameDirector_DynamiteTrial1>();
  LOGOG_ERROR("unknown game mode '%s'", modeId.c_str());
  return nullptr;
}
