// The 32 cards of the game and the weighted draw of a card.
#pragma once

#include <array>
#include <cstdint>
#include <string>

class GameContext;

enum class CardCategory : int32_t {
  Structure = 0,
  Room = 1,
  Spell = 2,
  Crew = 3,
};

// Card ids, equal to the row of the card table.
namespace CardId {
enum : int32_t {
  FourBlock = 0,
  VertBlock = 1,
  HorizBlock = 2,
  Dome = 3,
  Fence = 4,
  Doors = 5,
  Harden = 6,
  Levitron = 7,
  Crystal = 8,
  Library = 9,
  Shield = 10,
  Housing = 11,
  Fireball = 12,
  Rats = 13,
  Earthquake = 14,
  Lightning = 15,
  Ray = 16,
  Flood = 17,
  Rain = 18,
  Collapse = 19,
  Fire = 20,
  Disturbance = 21,
  Eye = 22,
  DoorBreaker = 23,
  Dynamite = 24,
  Tunnelers = 25,
  Repairers = 26,
  Firefighters = 27,
  Movers = 28,
  Pumpers = 29,
  Deratizers = 30,
  Archmage = 31,
  Count = 32,
};
}  // namespace CardId

struct CardRecord {
  int32_t id;
  CardCategory category;
  int32_t manaCost;
  int32_t dwarvesCost;
  int32_t drawWeight;  // 0: never drawn at random
  const char* key;     // language key stem: key + "_NAME", key + "_DESC"
  const char* effectName;
  const char* image;
  bool hostile;         // harms the board it acts on (offered in combat)
  bool castOnOpponent;  // acts on the opponent's board
  int32_t targetCount;  // elements the player picks; 0: the rules pick
  int32_t minTurn;      // first turn in which the card may be dealt

  std::string nameKey() const { return std::string(key) + "_NAME"; }
  std::string descKey() const { return std::string(key) + "_DESC"; }
};

struct CardColor {
  uint8_t r, g, b;
  bool operator==(const CardColor& o) const { return r == o.r && g == o.g && b == o.b; }
};

class CardTable {
 public:
  static constexpr int kCardCount = CardId::Count;
  static constexpr const char* kShieldUnlockedKey = "shield_unlocked";

  static const std::array<CardRecord, kCardCount>& all();
  // The record of card `id`; null (with a log line) for an id outside 0..31.
  // Inline: board scans ask it for every element.
  static const CardRecord* getCard(int id) {
    return id >= 0 && id < kCardCount ? &table_[id] : missingCard(id);
  }
  // A card of the category drawn by weight with the context's generator; null
  // (with a log line) for a category outside 0..3.
  static const CardRecord* drawRandomCard(CardCategory category, GameContext& context);
  static const CardRecord* drawRandomCard(CardCategory category);
  // Sum of every card's weight.
  static int totalWeight();
  // Tint of the card picture: red for harmful spells and crews, green for the
  // friendly ones, white for structures and rooms.
  static CardColor cardColor(int id);
  // SHIELD is locked until the player unlocks it (setting "shield_unlocked").
  static bool isShieldLocked(int id, const GameContext& context);
  static void unlockShield(int id, GameContext& context);

 private:
  static const CardRecord* missingCard(int id);
  static const std::array<CardRecord, kCardCount>& table_;
};
