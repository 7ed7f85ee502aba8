// The trials' start towers, fixed hands and turn limits.
#include "game/TrialDirectors.h"

#include <initializer_list>

#include "CardTable.h"
#include "GameContext.h"
#include "game/TowerLayout.h"
#include "player/Player.h"
#include "player/PlayerSession.h"

namespace {

using Hand = std::vector<int>;

// Fixed hands by turn: each row covers turns first..last.
struct HandRow {
  int first;
  int last;
  Hand cards;
};

// The row's hand for `turn`; the generated hand for turns no row covers
// (from `generatedFrom` on), and an empty hand for the others.
Hand handFor(const Player& player, int turn, std::initializer_list<HandRow> rows, int generatedFrom) {
  for (const HandRow& row : rows)
    if (turn >= row.first && turn <= row.last) return row.cards;
  if (turn >= generatedFrom) return GameDirector_Normal::normalCardList(player, turn);
  return Hand();
}

constexpr int kAfterScript = 11;  // the fixed hands cover turns 0 to 10

// The enemy's tower of the water and first fire trials.
void smallArchmageTower(TowerLayout& t) {
  for (int dy = 0; dy <= 2; ++dy) t.block(0, dy, ElemKind::FourBlock);
  t.card(0, 2, CardId::Archmage);
}

// A column of vertical blocks from the ground row up, `height` high.
void verticalColumn(TowerLayout& t, int height) {
  for (int dy = 0; dy < height; ++dy) t.block(0, dy, ElemKind::VertBlock);
}

const Hand kFireTrialFirstHand{CardId::Archmage, CardId::Housing, CardId::Doors,
                               CardId::Firefighters};

Hand fireTrial1To3Enemy(const Player& player, int turn) {
  return handFor(player, turn,
                 {{0, 0, {31, 8, 0, 0, 0, 0, 0, 20}},
                  {1, 4, {20}},
                  {5, 8, {20, 20}},
                  {9, 10, {20, 20, 20}}},
                 kAfterScript);
}

// The local hands of the second and third fire trials (the fourth differs in turn 1).
Hand fireTrial2Local(const Player& player, int turn, const Hand& turnOne) {
  return handFor(player, turn,
                 {{0, 0, kFireTrialFirstHand},
                  {1, 1, turnOne},
                  {2, 3, {1, 28, 27, 26, 11}},
                  {4, 4, {1, 28, 6, 27, 26, 11}},
                  {5, 5, {1, 28, 27, 5, 26, 11}},
                  {6, 7, {1, 11, 28, 27, 26}},
                  {8, 8, {1, 11, 6, 28, 27, 26}},
                  {9, 9, {1, 11, 28, 27, 26, 5}},
                  {10, 10, {1, 11, 28, 27, 26}}},
                 kAfterScript);
}

}  // namespace

bool GameDirector_Trial::hasLost(const Player& player) {
  if (player.isLocal()) return GameDirector_Normal::hasLost(player);
  return player.context().session().turn() >= enemyTurnLimit_;
}

// ---- Water trial ------------------------------------------------------------

std::vector<int> GameDirector_WaterTrial::getCardList(const Player& player, int turn) {
  if (player.isLocal())
    return handFor(player, turn,
                   {{0, 0, {11, 25, 25, 5, 5, 5, 5, 5, 5}},
                    {1, 1, {11, 25, 25}},
                    {2, 2, {25, 11}},
                    {3, 10, {11, 25}}},
                   kAfterScript);
  return handFor(player, turn, {{0, 0, {31, 8, 0, 0, 0, 0, 0, 18}}, {1, 10, {23}}}, kAfterScript);
}

void GameDirector_WaterTrial::setupPlayer(Player& player) {
  TowerLayout t(player);
  if (player.isLocal()) {
    for (int dy = -1; dy >= -5; --dy) t.block(0, dy, ElemKind::FourBlock);
    t.card(0, -5, CardId::Archmage);
  } else {
    player.setMana(150);
    smallArchmageTower(t);
  }
}

// ---- Fire trials -------------------------------------------------------------

std::vector<int> GameDirector_FireTrial1::getCardList(const Player& player, int turn) {
  if (!player.isLocal()) return fireTrial1To3Enemy(player, turn);
  return handFor(player, turn,
                 {{0, 0, kFireTrialFirstHand},
                  {1, 4, {1, 28, 27, 26, 11}},
                  {5, 5, {1, 28, 27, 5, 26, 11}},
                  {6, 8, {1, 11, 28, 27, 26}},
                  {9, 9, {1, 11, 28, 27, 26, 5}},
                  {10, 10, {1, 11, 28, 27, 26}}},
                 kAfterScript);
}

void GameDirector_FireTrial1::setupPlayer(Player& player) {
  TowerLayout t(player);
  if (player.isLocal()) {
    verticalColumn(t, 3);
    t.block(0, 2, ElemKind::FourBlock);
  } else {
    player.setMana(150);
    smallArchmageTower(t);
  }
}

std::vector<int> GameDirector_FireTrial2::getCardList(const Player& player, int turn) {
  if (!player.isLocal()) return fireTrial1To3Enemy(player, turn);
  return fireTrial2Local(player, turn, {1, 6, 28, 27, 26, 11});
}

void GameDirector_FireTrial2::setupPlayer(Player& player) {
  TowerLayout t(player);
  if (player.isLocal()) {
    verticalColumn(t, 4);
    t.card(0, 0, CardId::Crystal);
    t.block(0, 2, ElemKind::FourBlock);
  } else {
    player.setMana(150);
    smallArchmageTower(t);
  }
}

std::vector<int> GameDirector_FireTrial3::getCardList(const Player& player, int turn) {
  if (!player.isLocal()) return fireTrial1To3Enemy(player, turn);
  return fireTrial2Local(player, turn, {1, 6, 28, 27, 26, 11});
}

void GameDirector_FireTrial3::setupPlayer(Player& player) {
  // Both players stand in the same tower; the enemy has mana to burn it with.
  TowerLayout t(player);
  verticalColumn(t, 8);
  for (int dy : {0, 3, 6}) t.card(0, dy, CardId::Crystal);
  if (!player.isLocal()) player.setMana(200);
}

std::vector<int> GameDirector_FireTrial4::getCardList(const Player& player, int turn) {
  if (player.isLocal()) return fireTrial2Local(player, turn, {7, 1, 6, 28, 27, 26, 11});
  return handFor(player, turn,
                 {{0, 0, {31, 8, 0, 0, 0, 0, 0, 20}},
                  {1, 1, {20}},
                  {2, 8, {20, 20}},
                  {9, 10, {20, 20, 20}}},
                 kAfterScript);
}

void GameDirector_FireTrial4::setupPlayer(Player& player) {
  TowerLayout t(player);
  verticalColumn(t, 9);
  for (int dy = 0; dy <= 6; ++dy) t.card(0, dy, CardId::Crystal);
  if (!player.isLocal()) player.setMana(300);
}

// ---- Dynamite trial -----------------------------------------------------------

std::vector<int> GameDirector_DynamiteTrial1::getCardList(const Player& player, int turn) {
  constexpr int kGeneratedFrom = 21;
  if (!player.isLocal()) return handFor(player, turn, {}, kGeneratedFrom);
  return handFor(player, turn,
                 {{2, 7, {27}},
                  {8, 8, {2, 11, 28, 26}},
                  {9, 9, {2, 11, 28, 26, 4}},
                  {10, 10, {2, 11, 28, 26}}},
                 kGeneratedFrom);
}

void GameDirector_DynamiteTrial1::setupPlayer(Player& player) {
  TowerLayout t(player);
  if (player.isLocal()) {
    for (int dx = -3; dx <= 3; ++dx) {
      for (int dy = 0; dy <= 6; ++dy) {
        t.block(dx, dy, ElemKind::FourBlock);
        t.card(dx, dy, CardId::Crystal);
      }
    }
    t.block(3, 3, ElemKind::FourBlock);
    t.card(3, 3, CardId::Archmage);
    t.ignite(-3, 6);
    player.setDwarves(15);
  } else {
    player.setDwarves(150);
    smallArchmageTower(t);
    t.block(0, -5, ElemKind::FourBlock);
    t.card(0, -5, CardId::Housing);
  }
}
