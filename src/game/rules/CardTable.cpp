#include "CardTable.h"

#include "GameContext.h"
#include "logog/logog.hpp"

namespace {

using C = CardCategory;

constexpr std::array<CardRecord, CardTable::kCardCount> kCards = {{
    {0, C::Structure, 0, 0, 12, "4BLOCK", "", "tower-4block.png", false, false, 0, 0},
    {1, C::Structure, 0, 0, 14, "VERTBLOCK", "", "tower-vblock.png", false, false, 0, 0},
    {2, C::Structure, 0, 0, 16, "HORIZBLOCK", "", "tower-hblock.png", false, false, 0, 0},
    {3, C::Structure, 0, 0, 10, "DOME", "", "dome.png", false, false, 0, 0},
    {4, C::Structure, 0, 0, 5, "FENCE", "", "fence-card.png", false, false, 0, 0},
    {5, C::Structure, 0, 0, 10, "DOORS", "", "doors-4block.png", false, false, 0, 0},
    {6, C::Structure, 0, 0, 5, "HARDEN", "", "hardened-4block.png", false, false, 0, 0},
    {7, C::Structure, 0, 0, 3, "LEVITRON", "levitron", "levitron.png", false, false, 0, 0},
    {8, C::Room, 0, 0, 25, "CRYSTAL", "", "crystal.png", false, false, 0, 0},
    {9, C::Room, 0, 0, 20, "LIBRARY", "", "library.png", false, false, 0, 0},
    {10, C::Room, 0, 0, 7, "SHIELD", "", "shield.png", false, false, 0, 0},
    {11, C::Room, 0, 0, 15, "HOUSING", "", "tavern.png", false, false, 0, 0},
    {12, C::Spell, 7, 0, 10, "FIREBALL", "", "spell-fireball.png", true, true, 0, 2},
    {13, C::Spell, 5, 0, 20, "RATS", "", "spell-rat.png", true, true, 0, 1},
    {14, C::Spell, 12, 0, 5, "EARTHQUAKE", "earthquake", "spell-earthquake.png", true, true, 0, 3},
    {15, C::Spell, 3, 0, 25, "LIGHTNING", "", "spell-bolt.png", true, true, 0, 0},
    {16, C::Spell, 10, 0, 16, "RAY", "", "spell-ray.png", true, true, 1, 3},
    {17, C::Spell, 8, 0, 15, "FLOOD", "flood", "spell-broken_pipe.png", true, true, 1, 5},
    {18, C::Spell, 3, 0, 15, "RAIN", "", "spell-flood.png", true, true, 0, 1},
    {19, C::Spell, 18, 0, 15, "COLLAPSE", "collapse", "spell-falling_rocks.png", true, true, 1, 6},
    {20, C::Spell, 10, 0, 15, "FIRE", "fire", "spell-fire.png", true, true, 0, 6},
    {21, C::Spell, 20, 0, 15, "DISTURBANCE", "disturbance", "spell-disturbance.png", true, true, 0, 8},
    {22, C::Spell, 5, 0, 15, "EYE", "", "spell-eye.png", false, true, 1, 1},
    {23, C::Spell, 6, 0, 8, "DOORBREAKER", "doorbreaker", "spell-doorbreaker.png", true, true, 1, 4},
    {24, C::Crew, 0, 1, 30, "DYNAMITE", "", "spell-boom.png", true, true, 0, 1},
    {25, C::Crew, 0, 0, 15, "DTUNNELERS", "", "spell-dig.png", false, false, 1, 0},
    {26, C::Crew, 0, 2, 15, "DREPAIRERS", "", "spell-repair.png", false, false, 1, 0},
    {27, C::Crew, 0, 3, 15, "DFIREFIGHTERS", "", "spell-fire_fighter.png", false, false, 1, 0},
    {28, C::Crew, 0, 2, 15, "DMOVERS", "", "spell-move.png", false, false, 2, 0},
    {29, C::Crew, 0, 2, 15, "DPUMPERS", "", "spell-pump.png", false, false, 1, 0},
    {30, C::Crew, 0, 3, 12, "DDERATIZERS", "", "spell-antirat.png", false, false, 1, 0},
    {31, C::Room, 0, 0, 0, "ARCHMAGE", "", "archmage.png", false, false, 0, 0},
}};

constexpr int sumWeights() {
  int total = 0;
  for (const CardRecord& card : kCards) total += card.drawWeight;
  return total;
}

constexpr int kTotalWeight = sumWeights();

constexpr bool idsMatchRows() {
  for (int i = 0; i < CardTable::kCardCount; ++i)
    if (kCards[i].id != i) return false;
  return true;
}
static_assert(idsMatchRows(), "a card's id is its row");

constexpr bool categoryHasWeight(CardCategory category) {
  for (const CardRecord& card : kCards)
    if (card.category == category && card.drawWeight > 0) return true;
  return false;
}
// Otherwise a draw of that category could never end.
static_assert(categoryHasWeight(C::Structure) && categoryHasWeight(C::Room) &&
                  categoryHasWeight(C::Spell) && categoryHasWeight(C::Crew),
              "every category must be drawable");

}  // namespace

const std::array<CardRecord, CardTable::kCardCount>& CardTable::all() { return kCards; }

const std::array<CardRecord, CardTable::kCardCount>& CardTable::table_ = kCards;

const CardRecord* CardTable::missingCard(int id) {
  LOGOG_ERROR("no card with id %d", id);
  return nullptr;
}

int CardTable::totalWeight() { return kTotalWeight; }

const CardRecord* CardTable::drawRandomCard(CardCategory category) {
  return drawRandomCard(category, GameContext::defaultContext());
}

const CardRecord* CardTable::drawRandomCard(CardCategory category, GameContext& context) {
  const int cat = static_cast<int>(category);
  if (cat < 0 || cat > static_cast<int>(CardCategory::Crew)) {
    LOGOG_ERROR("cannot draw a card of unknown category %d", cat);
    return nullptr;
  }
  // Draw over the whole table and redraw until the category fits: the draw is
  // by weight within the category.
  for (;;) {
    const int r = context.rng().next() % kTotalWeight;
    const CardRecord* drawn = &kCards[0];
    int running = 0;
    for (const CardRecord& card : kCards) {
      running += card.drawWeight;
      if (running > r) {
        drawn = &card;
        break;
      }
    }
    if (drawn->category == category) return drawn;
  }
}

CardColor CardTable::cardColor(int id) {
  const CardRecord* card = getCard(id);
  if (!card) return {255, 255, 255};
  if (card->category == CardCategory::Spell || card->category == CardCategory::Crew) {
    if (card->hostile || card->castOnOpponent) return {193, 0, 0};
    return {0, 193, 0};
  }
  return {255, 255, 255};
}

bool CardTable::isShieldLocked(int id, const GameContext& context) {
  return id == CardId::Shield && !context.settings().getBool(kShieldUnlockedKey, false);
}

void CardTable::unlockShield(int id, GameContext& context) {
  if (id != CardId::Shield) return;
  context.settings().setBool(kShieldUnlockedKey, true);
  context.settings().flush();
}
