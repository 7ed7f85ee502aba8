// What an element shows, layer by layer, for every rule of the display: table tests
// on real boards of a game against the computer.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Board.h"
#include "BoardElem.h"
#include "ElemDisplay.h"
#include "GameContext.h"
#include "game/GameDirector.h"
#include "game/GameSession.h"
#include "player/Player.h"

namespace {

class ElemDisplayTest : public ::testing::Test {
 public:
  ElemDisplayTest() { ctx.game().newGame(false, GameDirector::create("skirmish")); }

  Player* local() { return ctx.game().localPlayer(); }
  Player* enemy() { return ctx.game().enemyPlayer(); }
  // (dx, dy) from the centre of the player's board.
  BoardElem* at(Player* p, int dx, int dy) { return p->board()->cellAtCentred(dx, dy); }
  BoardElem* block(Player* p, int dx, int dy, ElemKind kind) {
    BoardElem* e = at(p, dx, dy);
    e->setKind(kind);
    return e;
  }
  ElemLook look(const BoardElem* e) { return describeElem(*e, local()); }

  GameContext ctx{7};
};

// One rule: the element it arranges, the layer, and what the layer must show. An
// expectation left empty is not looked at.
struct Rule {
  const char* name;
  std::function<BoardElem*(ElemDisplayTest&)> arrange;
  ElemLayer layer;
  std::optional<bool> visible;
  std::optional<std::string> image;
  std::optional<ElemRgb> tint;
  std::optional<float> scaleY;
  std::optional<bool> smoke;
};

std::vector<Rule> rules() {
  using T = ElemDisplayTest;
  auto ours = [](ElemKind k) {
    return [k](T& t) { return t.block(t.local(), -6, 2, k); };
  };
  auto theirs = [](ElemKind k) {
    return [k](T& t) { return t.block(t.enemy(), -6, 2, k); };
  };
  auto with = [](std::function<BoardElem*(T&)> base, std::function<void(BoardElem*)> change) {
    return [base, change](T& t) {
      BoardElem* e = base(t);
      change(e);
      return e;
    };
  };
  const auto four = ours(ElemKind::FourBlock);
  const auto enemyFour = theirs(ElemKind::FourBlock);
  auto revealed = [](BoardElem* e) { e->setRevealed(true); };
  auto library = [](int stored, int power) {
    return [stored, power](BoardElem* e) {
      e->setRoom(RoomType::Library);
      e->setRoomPower(power);
      e->setStoredCards(std::vector<BoardElem::StoredCard>(stored, {10, 1}));
    };
  };
  auto crystal = [](BoardElem* e) {
    e->setRoom(RoomType::Crystal);
    e->setRoomPower(3);
  };
  auto stack = [](int dx, std::vector<ElemKind> bottomUp, bool enemySide = false) {
    return [dx, bottomUp, enemySide](T& t) {
      T& r = t;
      Player* p = enemySide ? r.enemy() : r.local();
      for (size_t i = 0; i < bottomUp.size(); ++i) r.block(p, dx, static_cast<int>(i) + 1, bottomUp[i]);
      return r.at(p, dx, 1);
    };
  };
  auto underground = [](ElemKind k, bool enemySide) {
    return [k, enemySide](T& t) {
      T& r = t;
      return r.block(enemySide ? r.enemy() : r.local(), -2, -3, k);
    };
  };
  const ElemRgb ours3 = ElemColorOurs, enemy3 = ElemColorEnemy;
  using V = ElemRgb;
  const std::optional<std::string> none;
  return {
      // Flags seen by everybody.
      {"levitron shows on an unseen enemy block", with(enemyFour, [](BoardElem* e) { e->setLevitron(true); }),
       ElemLayer::Levitron, true},
      {"fire shows on an unseen enemy block", with(enemyFour, [](BoardElem* e) { e->setBurning(true); }),
       ElemLayer::Fire, true},
      {"no fire without burning", four, ElemLayer::Fire, false, none, std::nullopt, std::nullopt, false},
      {"smoke rises from a burning block", with(four, [](BoardElem* e) { e->setBurning(true); }), ElemLayer::Fire,
       true, none, std::nullopt, std::nullopt, true},
      {"smoke rises from a burning block under another",
       [](T& t) {
         T& r = t;
         r.block(r.local(), -6, 3, ElemKind::VertBlock);
         BoardElem* e = r.block(r.local(), -6, 2, ElemKind::FourBlock);
         e->setBurning(true);
         return e;
       },
       ElemLayer::Fire, true, none, std::nullopt, std::nullopt, true},
      {"smoke rises from an unseen enemy block", with(enemyFour, [](BoardElem* e) { e->setBurning(true); }),
       ElemLayer::Fire, true, none, std::nullopt, std::nullopt, true},
      {"fence shows", with(enemyFour, [](BoardElem* e) { e->setFence(true); }), ElemLayer::Fence, true},
      {"damage shows", with(enemyFour, [](BoardElem* e) { e->setDamaged(true); }), ElemLayer::Damaged, true},
      {"rat traps show", with(four, [](BoardElem* e) { e->setDeratized(true); }), ElemLayer::Deratized, true},
      // Flags only where seen.
      {"hardening shows on ours", with(four, [](BoardElem* e) { e->setHardened(true); }), ElemLayer::Hardened, true},
      {"hardening hides on an unseen enemy block", with(enemyFour, [](BoardElem* e) { e->setHardened(true); }),
       ElemLayer::Hardened, false},
      {"hardening shows on a revealed enemy block",
       with(enemyFour, [=](BoardElem* e) { e->setHardened(true); revealed(e); }), ElemLayer::Hardened, true},
      {"doors of a four-block", with(four, [](BoardElem* e) { e->setDoors(true); }), ElemLayer::Doors, true,
       std::string("doors-4block.png")},
      {"doors of a vertical block", with(ours(ElemKind::VertBlock), [](BoardElem* e) { e->setDoors(true); }),
       ElemLayer::Doors, true, std::string("doors-Vblock.png")},
      {"doors of a horizontal block", with(ours(ElemKind::HorizBlock), [](BoardElem* e) { e->setDoors(true); }),
       ElemLayer::Doors, true, std::string("doors-Hblock.png")},
      {"unseen doors hide", with(enemyFour, [](BoardElem* e) { e->setDoors(true); }), ElemLayer::Doors, false},
      // Water.
      {"water at half height", with(four, [](BoardElem* e) { e->setWaterLevel(0.5f); }), ElemLayer::Flood, true,
       none, std::nullopt, 0.5f},
      {"water above a cell is cut to one", with(four, [](BoardElem* e) { e->setWaterLevel(1.7f); }),
       ElemLayer::Flood, true, none, std::nullopt, 1.0f},
      {"unseen water hides", with(enemyFour, [](BoardElem* e) { e->setWaterLevel(0.5f); }), ElemLayer::Flood,
       false},
      // Room power and fill: our own rooms only.
      {"crystal power shows", with(four, crystal), ElemLayer::RoomPower, true},
      {"a crystal has no fill", with(four, crystal), ElemLayer::RoomFill, false},
      {"library fill", with(four, library(2, 4)), ElemLayer::RoomFill, true, none, std::nullopt, 0.5f},
      {"library fill back", with(four, library(2, 4)), ElemLayer::RoomFillBack, true},
      {"fill of a room of no power is empty", with(four, library(2, 0)), ElemLayer::RoomFill, true, none,
       std::nullopt, 0.0f},
      {"fill is whole percent", with(four, library(1, 3)), ElemLayer::RoomFill, true, none, std::nullopt, 0.33f},
      {"a shield shows no power", with(four, [](BoardElem* e) { e->setRoom(RoomType::Shield); }),
       ElemLayer::RoomPower, false},
      {"the enemy's crystal shows no power", with(enemyFour, [=](BoardElem* e) { crystal(e); revealed(e); }),
       ElemLayer::RoomPower, false},
      // Ladders.
      {"ladder up between two vertical blocks", stack(-8, {ElemKind::VertBlock, ElemKind::VertBlock}),
       ElemLayer::LadderTop, true},
      {"no ladder up to a horizontal block", stack(-8, {ElemKind::FourBlock, ElemKind::HorizBlock}),
       ElemLayer::LadderTop, false},
      {"no ladder down to the air", stack(-8, {ElemKind::FourBlock}), ElemLayer::LadderBottom, false},
      {"no ladder in an unseen enemy tower", stack(-8, {ElemKind::VertBlock, ElemKind::VertBlock}, true),
       ElemLayer::LadderTop, false},
      {"ladder right between a four-block and a horizontal one",
       [](T& t) {
         T& r = t;
         r.block(r.local(), -5, 2, ElemKind::HorizBlock);
         return r.block(r.local(), -6, 2, ElemKind::FourBlock);
       },
       ElemLayer::LadderRight, true},
      {"no ladder left from a vertical block",
       [](T& t) {
         T& r = t;
         r.block(r.local(), -7, 2, ElemKind::FourBlock);
         return r.block(r.local(), -6, 2, ElemKind::VertBlock);
       },
       ElemLayer::LadderLeft, false},
      // Tints.
      {"our facade", four, ElemLayer::Exterior, std::nullopt, none, ours3},
      {"the enemy's facade", enemyFour, ElemLayer::Exterior, std::nullopt, none, enemy3},
      {"our cave's lining", underground(ElemKind::Cave, false), ElemLayer::Mask, std::nullopt, none, ours3},
      {"the earth around a cave", underground(ElemKind::Cave, true), ElemLayer::Exterior, std::nullopt, none,
       V(ElemColorExteriorEmpty)},
      {"the enemy cave's lining", underground(ElemKind::Cave, true), ElemLayer::Mask, std::nullopt, none, enemy3},
      {"an underground block's facade", underground(ElemKind::FourBlock, true), ElemLayer::Exterior,
       std::nullopt, std::string("tower-lower_block.png"), enemy3},
      {"the enemy dome's mask", theirs(ElemKind::Dome), ElemLayer::Mask, std::nullopt, none, enemy3},
      // Block and room images.
      {"our four-block's inside", four, ElemLayer::Block, true, std::string("tower-4block.png")},
      {"our vertical block's inside", ours(ElemKind::VertBlock), ElemLayer::Block, true,
       std::string("tower-vblock.png")},
      {"an unseen block's inside hides", enemyFour, ElemLayer::Block, false},
      {"no room", four, ElemLayer::Room, false},
      {"our archmage", with(four, [](BoardElem* e) { e->setRoom(RoomType::Archmage); }), ElemLayer::Room, true,
       std::string("archmage.png")},
      {"a dwelling is a tavern", with(four, [](BoardElem* e) { e->setRoom(RoomType::Housing); }),
       ElemLayer::Room, true, std::string("tavern.png")},
      {"an unseen enemy library hides", with(enemyFour, library(1, 2)), ElemLayer::Room, false,
       std::string("library.png")},
      {"a revealed enemy library shows", with(enemyFour, [=](BoardElem* e) { library(1, 2)(e); revealed(e); }),
       ElemLayer::Room, true},
  };
}

class ElemDisplayRuleTest : public ElemDisplayTest, public ::testing::WithParamInterface<Rule> {};

TEST_P(ElemDisplayRuleTest, LayerShowsWhatTheRuleSays) {
  const Rule& rule = GetParam();
  BoardElem* e = rule.arrange(*this);
  ASSERT_NE(e, nullptr);
  const LayerLook l = look(e)[rule.layer];
  if (rule.visible) {
    ASSERT_TRUE(l.visible.has_value()) << elemLayerName(rule.layer);
    EXPECT_EQ(*l.visible, *rule.visible);
  }
  if (rule.image) {
    ASSERT_TRUE(l.image.has_value());
    EXPECT_EQ(*l.image, *rule.image);
  }
  if (rule.tint) {
    ASSERT_TRUE(l.tint.has_value());
    EXPECT_TRUE(*l.tint == *rule.tint) << int(l.tint->r) << "," << int(l.tint->g) << "," << int(l.tint->b);
  }
  if (rule.scaleY) {
    ASSERT_TRUE(l.scaleY.has_value());
    EXPECT_FLOAT_EQ(*l.scaleY, *rule.scaleY);
  }
  if (rule.smoke) EXPECT_EQ(look(e).smoke, *rule.smoke);
}

INSTANTIATE_TEST_SUITE_P(Rules, ElemDisplayRuleTest, ::testing::ValuesIn(rules()),
                         [](const ::testing::TestParamInfo<Rule>& info) {
                           std::string n;
                           for (const char* c = info.param.name; *c; ++c)
                             n += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                           return n;
                         });

// The facade of a vertical block counts the blocks standing on it; underground, the
// lower block's facade whatever stands above; damage adds "-dmg".
struct Facade {
  int blocksAbove;
  bool damaged;
  bool underground;
  const char* image;
};

class FacadeTest : public ElemDisplayTest, public ::testing::WithParamInterface<Facade> {};

TEST_P(FacadeTest, VerticalBlockFacadeFollowsTheBlocksAbove) {
  const Facade& f = GetParam();
  const int dx = -3, base = f.underground ? -4 : 3;
  BoardElem* e = block(local(), dx, base, ElemKind::VertBlock);
  for (int i = 1; i <= f.blocksAbove; ++i) block(local(), dx, base + i, ElemKind::VertBlock);
  e->setDamaged(f.damaged);
  EXPECT_EQ(exteriorImageFor(*e), f.image);
  EXPECT_EQ(*look(e)[ElemLayer::Exterior].image, f.image);
}

INSTANTIATE_TEST_SUITE_P(
    Facades, FacadeTest,
    ::testing::Values(Facade{0, false, false, "tower-3floor.png"}, Facade{1, false, false, "tower-2floor.png"},
                      Facade{2, false, false, "tower-1floor.png"}, Facade{2, true, false, "tower-1floor-dmg.png"},
                      Facade{3, false, false, "tower-lower_block.png"},
                      Facade{6, false, false, "tower-lower_block.png"},
                      Facade{2, true, true, "tower-lower_block-dmg.png"}));

TEST_F(ElemDisplayTest, OtherBlockKindsHaveTheirOwnFacades) {
  EXPECT_EQ(exteriorImageFor(*block(local(), 5, 2, ElemKind::FourBlock)), "tower-lower_block.png");
  BoardElem* h = block(local(), 6, 2, ElemKind::HorizBlock);
  h->setDamaged(true);
  EXPECT_EQ(exteriorImageFor(*h), "tower-h_block-dmg.png");
  EXPECT_EQ(exteriorImageFor(*block(local(), 7, 2, ElemKind::Dome)), "");
}

TEST_F(ElemDisplayTest, AnUnrevealedEnemyUndergroundLibraryShowsNeitherBlockNorRoom) {
  BoardElem* e = block(enemy(), -1, -2, ElemKind::FourBlock);
  e->setRoom(RoomType::Library);
  const ElemLook l = look(e);
  EXPECT_FALSE(*l[ElemLayer::Block].visible);
  EXPECT_FALSE(*l[ElemLayer::Room].visible);
  EXPECT_FALSE(*l[ElemLayer::RoomPower].visible);
  EXPECT_FALSE(*l[ElemLayer::RoomFill].visible);
}

TEST_F(ElemDisplayTest, ADomeOnlyTintsItsMask) {
  BoardElem* e = block(local(), 4, 6, ElemKind::Dome);
  e->setBurning(true);
  const ElemLook l = look(e);
  EXPECT_EQ(l.layout, ElemLayout::Dome);
  for (int i = 0; i < kElemLayerCount; ++i) {
    const LayerLook& layer = l.layers[i];
    if (static_cast<ElemLayer>(i) == ElemLayer::Mask) {
      EXPECT_TRUE(*layer.tint == ElemColorOurs);
      continue;
    }
    EXPECT_FALSE(layer.visible || layer.image || layer.tint || layer.scaleY) << elemLayerName(static_cast<ElemLayer>(i));
  }
  EXPECT_FALSE(l.smoke);
}

TEST_F(ElemDisplayTest, RoomPowerTextAndSmokeFollowTheElement) {
  BoardElem* e = block(local(), -6, 2, ElemKind::FourBlock);
  e->setRoom(RoomType::Crystal);
  e->setRoomPower(7);
  EXPECT_FALSE(look(e).smoke);
  e->setBurning(true);
  const ElemLook l = look(e);
  EXPECT_EQ(l.roomPowerText, "7");
  EXPECT_TRUE(l.smoke);
}

TEST_F(ElemDisplayTest, LayoutsByKind) {
  EXPECT_EQ(describeElem(*at(local(), -9, 9), local()).layout, ElemLayout::None);
  EXPECT_EQ(look(block(local(), -2, -2, ElemKind::Cave)).layout, ElemLayout::Cave);
  EXPECT_EQ(look(block(local(), -9, 2, ElemKind::HorizBlock)).layout, ElemLayout::LowerBlock);
  EXPECT_STREQ(layoutFile(ElemLayout::Cave), "ccbi/rooms/tower-cave.ccbi");
  EXPECT_STREQ(layoutFile(ElemLayout::LowerBlock), "ccbi/rooms/tower-lower-block.ccbi");
  EXPECT_STREQ(layoutFile(ElemLayout::Dome), "ccbi/rooms/dome.ccbi");
  for (int i = 0; i < kElemLayerCount; ++i)
    EXPECT_EQ(elemLayerByName(elemLayerName(static_cast<ElemLayer>(i))), static_cast<ElemLayer>(i));
  EXPECT_EQ(elemLayerByName("sky"), ElemLayer::Count);
}

}  // namespace
