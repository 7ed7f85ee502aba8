// The store over a running sandbox game: its categories, its rows, the locked shield, the
// try-out of each kind of card, and its message layer.
#include <memory>

#include "CCScene.h"
#include "CCScrollView.h"
#include "CCSpriteFrameCache.h"
#include "CCSprite.h"
#include "CardTable.h"
#include "GameContext.h"
#include "GameController.h"
#include "MainScene.h"
#include "ScreensFixture.h"
#include "StoreController.h"
#include "game/GameDirector.h"
#include "game/GameSession.h"
#include "player/Player.h"

using namespace cocos2d;
using mvtest::ScriptedPlayer;

namespace {

class StoreTest : public mvtest::ScreensTest {
 protected:
  void SetUp() override {
    ScreensTest::SetUp();
    if (IsSkipped()) return;
    loadGameData();
    hub().context().setSettings(&settings);
    ASSERT_TRUE(hub().startSingleGame("sandbox"));  // as the menu's store button starts it
    store = StoreController::create(hub());
    store->retain();
    store->setShieldNotification([this] { ++notices; });
    show();
  }
  void TearDown() override {
    if (store) store->release();
    hub().game().clearGame(false);
    hub().context().setSettings(nullptr);
    productStates.clear();
    ScreensTest::TearDown();
  }
  // The store as a player sees it: in the game screen's store layer, in place of the
  // selection bar, over the sandbox's board and beside its menu button.
  void show() {
    MainScene* scene = MainScene::scene();
    ScriptedPlayer::show(scene);
    GameController* game = scene->gameController();
    ASSERT_NE(nullptr, game);
    CCNode* root = store->loadScreen();
    ASSERT_NE(nullptr, root);
    CCNode* storeLayer = game->bindings().node("storelayer");
    storeLayer->removeAllChildrenWithCleanup(true);
    storeLayer->addChild(root);
    game->setStoreShown(true);
    game->showGameBoard();
    ScriptedPlayer::frames(1);
  }
  CCNode* node(const char* name) const { return store->bindings().node(name); }
  const StoreController::ProductRow* row(int cardId) const {
    for (const auto& r : store->rows())
      if (r.cardId == cardId) return &r;
    return nullptr;
  }
  // Scrolls the list until the row is at its top.
  const StoreController::ProductRow* shownRow(int cardId) const {
    const StoreController::ProductRow* r = row(cardId);
    if (!r) return nullptr;
    auto* list = static_cast<extension::CCScrollView*>(node("productlist"));
    float top = r->row->getPositionY() + r->row->getContentSize().height;
    list->setContentOffset(CCPoint(0, list->getViewSize().height - top), false);
    ScriptedPlayer::frames(1);
    return r;
  }
  bool toggledOn(const char* name) const { return static_cast<CCMenuItemImage*>(node(name))->on; }

  MemorySettings settings;
  StoreController* store = nullptr;
  int notices = 0;
};

TEST_F(StoreTest, EveryMemberOfTheStoreAndOfItsRowsIsBoundWithItsType) {
  for (const std::string& name : store->bindings().names()) EXPECT_NE(nullptr, node(name.c_str())) << name;
  for (const std::string& name : store->rowBindings().names())
    EXPECT_NE(nullptr, store->rowBindings().node(name)) << name;
  EXPECT_EQ("spells", store->category());
  EXPECT_TRUE(toggledOn("spellsbtn"));
}

struct Category {
  const char* button;
  const char* name;
  std::vector<CardCategory> kinds;
};

void PrintTo(const Category& c, std::ostream* os) { *os << c.name; }

class StoreCategoryTest : public StoreTest, public ::testing::WithParamInterface<Category> {};

TEST_P(StoreCategoryTest, ListsItsCardsInOrderWithOneCategoryOn) {
  const Category& c = GetParam();
  ASSERT_TRUE(ScriptedPlayer::click(store->bindings(), c.button));
  EXPECT_EQ(c.name, store->category());
  for (const char* button : {"spellsbtn", "dwarvesbtn", "roomsbtn"})
    EXPECT_EQ(std::string(button) == c.button, toggledOn(button)) << button;
  std::vector<int> expected;
  for (const CardRecord& card : CardTable::all())
    for (CardCategory kind : c.kinds)
      if (card.category == kind) expected.push_back(card.id);
  std::vector<int> listed;
  for (const auto& r : store->rows()) listed.push_back(r.cardId);
  EXPECT_EQ(expected, listed);
  // Each row: the card's name, picture and colour; rows stacked top-down from the top.
  float lastY = 1e9f;
  for (const auto& r : store->rows()) {
    const CardRecord* card = CardTable::getCard(r.cardId);
    EXPECT_NE(nullptr, mvtest::buttonCaptioned(localizedText("STORE_TRY"), r.row));
    EXPECT_LT(r.row->getPositionY(), lastY);
    lastY = r.row->getPositionY();
    CCSprite* icon = r.icon;
    ASSERT_NE(nullptr, icon);
    EXPECT_EQ(r.product, icon->getParent());
    EXPECT_TRUE(icon->isFrameDisplayed(CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(card->image)))
        << card->key;
    CardColor colour = CardTable::cardColor(r.cardId);
    EXPECT_EQ(colour.r, icon->getColor().r);
    EXPECT_EQ(colour.b, icon->getColor().b);
  }
  ASSERT_FALSE(store->rows().empty());
  EXPECT_TRUE(ScriptedPlayer::isShown(store->rows().front().tryButton)) << "the list starts at its top";
  ScriptedPlayer::runFor(1.0f);  // the view settles on our tower
  ScriptedPlayer::screenshot(std::string("store-") + c.name + "-1024x768");
}

INSTANTIATE_TEST_SUITE_P(
    Categories, StoreCategoryTest,
    ::testing::Values(Category{"spellsbtn", "spells", {CardCategory::Spell}},
                      Category{"roomsbtn", "rooms", {CardCategory::Structure, CardCategory::Room}},
                      Category{"dwarvesbtn", "dwarves", {CardCategory::Crew}}),
    [](const ::testing::TestParamInfo<Category>& info) { return std::string(info.param.name); });

TEST_F(StoreTest, TheLockedShieldIsFreeAndOpensTheNoticeUntilItIsUnlocked) {
  ScriptedPlayer::click(store->bindings(), "roomsbtn");
  const StoreController::ProductRow* shield = row(CardId::Shield);
  ASSERT_NE(nullptr, shield);
  EXPECT_STREQ(localizedText("FREE"), shield->price->getString());
  EXPECT_TRUE(shield->buy->isVisible());
  for (const auto& r : store->rows()) {
    if (r.cardId != CardId::Shield) {
      EXPECT_FALSE(r.buy->isVisible()) << r.cardId;
    }
  }
  // The shield's picture and its "get" button open the notice; another card does nothing.
  ScriptedPlayer::click(shownRow(CardId::Crystal)->product);
  EXPECT_EQ(0, notices);
  ScriptedPlayer::click(shownRow(CardId::Shield)->product);
  EXPECT_EQ(1, notices);
  ScriptedPlayer::click(shield->buy);
  EXPECT_EQ(2, notices);
  // Its try asks for the unlock too: the shield is not placed while it is locked.
  ScriptedPlayer::click(shield->tryButton);
  EXPECT_EQ(3, notices);
  EXPECT_NE(PlayerState::PlacementChoose, hub().game().localPlayer()->state());

  CardTable::unlockShield(CardId::Shield, hub().context());
  store->refreshProducts();
  shield = shownRow(CardId::Shield);
  ASSERT_NE(nullptr, shield);
  EXPECT_FALSE(shield->buy->isVisible());
  EXPECT_STREQ(localizedText("STORE_INCLUDED"), shield->price->getString());
  ScriptedPlayer::click(shield->product);
  EXPECT_EQ(4, notices) << "the notice is the game screen's business once the shield is in";
  ScriptedPlayer::click(shield->tryButton);
  EXPECT_EQ(PlayerState::PlacementChoose, hub().game().localPlayer()->state());
}

struct TryOut {
  const char* name;
  const char* category;
  int cardId;
};

void PrintTo(const TryOut& t, std::ostream* os) { *os << t.name; }

class StoreTryTest : public StoreTest, public ::testing::WithParamInterface<TryOut> {};

TEST_P(StoreTryTest, MakesTheSameChoiceAsAPickInTheGame) {
  const TryOut& t = GetParam();
  ScriptedPlayer::click(store->bindings(), t.category);
  const StoreController::ProductRow* r = shownRow(t.cardId);
  ASSERT_NE(nullptr, r);
  Player* local = hub().game().localPlayer();
  ASSERT_NE(nullptr, local);
  ASSERT_TRUE(ScriptedPlayer::click(r->tryButton));
  const CardRecord* card = CardTable::getCard(t.cardId);
  if (card->category == CardCategory::Structure || card->category == CardCategory::Room) {
    EXPECT_EQ(t.cardId, local->selectedCard());
    EXPECT_EQ(PlayerState::PlacementChoose, local->state());
  } else {
    EXPECT_EQ(t.cardId, local->selectedSpell().first);
    EXPECT_EQ(1, local->selectedSpell().second);
    EXPECT_EQ(local, local->targetPlayer());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cards, StoreTryTest,
    ::testing::Values(TryOut{"Room", "roomsbtn", CardId::Crystal}, TryOut{"Spell", "spellsbtn", CardId::Eye},
                      TryOut{"HostileSpell", "spellsbtn", CardId::Fireball},
                      TryOut{"Crew", "dwarvesbtn", CardId::Repairers}),
    [](const ::testing::TestParamInfo<TryOut>& info) { return std::string(info.param.name); });

TEST_F(StoreTest, TheStoreMessageStaysHiddenAndItsOkLeavesItSo) {
  EXPECT_FALSE(ScriptedPlayer::isShown(node("storemessagelayer")));
  EXPECT_FALSE(ScriptedPlayer::isShown(node("storeblocker")));
  store->onStoreMessageOk(nullptr);
  store->hideStoreMessage();
  EXPECT_FALSE(node("storemessagelayer")->isVisible());
  EXPECT_FALSE(node("storeblocker")->isVisible());
}

TEST_F(StoreTest, ALaterBuildStartsOnSpellsAgainAndFitsAWiderWindow) {
  ScriptedPlayer::click(store->bindings(), "dwarvesbtn");
  ScriptedPlayer::resizeWindow(1920, 1080);
  show();
  EXPECT_EQ("spells", store->category());
  EXPECT_TRUE(toggledOn("spellsbtn"));
  EXPECT_FALSE(toggledOn("dwarvesbtn"));
  ScriptedPlayer::click(store->bindings(), "roomsbtn");
  ScriptedPlayer::runFor(1.0f);  // the view settles on our tower
  ScriptedPlayer::screenshot("store-rooms-1920x1080");
  ScriptedPlayer::resizeWindow(1024, 768);
}

}  // namespace
