// The in-game screen's panels at the window sizes a player uses, the smallest the game allows
// among them: the locked-card notice holds its texts inside its frame, the log shows whole
// lines under its title with the newest in sight, and each phase's bar shows every button
// and its end-phase button in its view.
#include <string>
#include <vector>

#include "CCEditBox.h"
#include "CCLabelBMFont.h"
#include "CCMenuItem.h"
#include "CCScale9Sprite.h"
#include "CCScrollView.h"
#include "CCSprite.h"
#include "CardTable.h"
#include "WindowLimits.h"
#include "game_screen_fixture.h"

using namespace cocos2d;
using namespace cocos2d::extension;
using mvtest::ScriptedPlayer;

namespace gametest {
namespace {

struct WindowSize {
  int width, height;
};

std::string sizeName(const WindowSize& s) { return std::to_string(s.width) + "x" + std::to_string(s.height); }

// a lies inside b, with at least `margin` pixels to spare on every side.
::testing::AssertionResult inside(const CCRect& a, const CCRect& b, float margin = 0) {
  if (a.getMinX() >= b.getMinX() + margin && a.getMaxX() <= b.getMaxX() - margin && a.getMinY() >= b.getMinY() + margin &&
      a.getMaxY() <= b.getMaxY() - margin)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "(" << a.getMinX() << ", " << a.getMinY() << ")-(" << a.getMaxX() << ", "
                                       << a.getMaxY() << ") is not inside (" << b.getMinX() << ", " << b.getMinY()
                                       << ")-(" << b.getMaxX() << ", " << b.getMaxY() << ") by " << margin;
}

bool overlap(const CCRect& a, const CCRect& b) { return a.intersectsRect(b) && !a.equals(CCRectZero); }

class LayoutTest : public GameScreenTest, public ::testing::WithParamInterface<WindowSize> {
 protected:
  void SetUp() override {
    GameScreenTest::SetUp();
    if (IsSkipped()) return;
    ScriptedPlayer::resizeWindow(GetParam().width, GetParam().height);
    startSkirmish();
  }
  void TearDown() override {
    GameScreenTest::TearDown();
    ScriptedPlayer::resizeWindow(kWidth, kHeight);
  }
  std::string text(const char* key) { return hub().context().text().text(key); }
  // Every line of the log as drawn.
  std::vector<CCLabelBMFont*> logLabels() {
    std::vector<CCLabelBMFont*> out;
    for (CCNode* n : ScriptedPlayer::findAll([](CCNode* n) { return dynamic_cast<CCLabelBMFont*>(n) != nullptr; },
                                             controller().gameLog().logView()->getContainer()))
      out.push_back(static_cast<CCLabelBMFont*>(n));
    return out;
  }
};

TEST_P(LayoutTest, TheNoticesTextsStayInsideItsFrameClearOfTheLog) {
  GameController& c = controller();
  ASSERT_TRUE(ScriptedPlayer::isShown(c.bindings().node("notification")));
  CCScale9Sprite* frame = ScriptedPlayer::findType<CCScale9Sprite>(c.bindings().node("notification"));
  ASSERT_NE(frame, nullptr);
  const CCRect panel = ScriptedPlayer::windowRect(frame);
  const CCSize win = ScriptedPlayer::windowSize();
  EXPECT_TRUE(inside(panel, CCRect(0, 0, win.width, win.height), 4));
  for (const char* part : {"notification_name", "notification_desc", "notification_sprite"})
    EXPECT_TRUE(inside(ScriptedPlayer::windowRect(c.bindings().node(part)), panel, 8)) << part;
  // The whole panel answers a click, and it covers nothing of the log.
  EXPECT_TRUE(inside(panel, ScriptedPlayer::windowRect(ScriptedPlayer::findType<CCMenuItem>(c.bindings().node("notification"))), -1));
  EXPECT_FALSE(overlap(panel, ScriptedPlayer::windowRect(c.gameLog().logView())));
  EXPECT_FALSE(overlap(panel, ScriptedPlayer::windowRect(c.bar().view())));
}

TEST_P(LayoutTest, TheLogShowsWholeLinesUnderItsTitleAndTheNewestInSight) {
  GameController& c = controller();
  const CCRect view = ScriptedPlayer::windowRect(c.gameLog().logView());
  CCNode* title = ScriptedPlayer::find(
      [&](CCNode* n) {
        auto* l = dynamic_cast<CCLabelBMFont*>(n);
        return l && l->getString() == text("GAME_LOG");
      },
      c.guiNode());
  ASSERT_NE(title, nullptr);
  EXPECT_LE(ScriptedPlayer::windowRect(title).getMaxY(), view.getMinY());
  // A chat line and its answer, under a long log of turns and a line long enough to wrap.
  for (int turn = 2; turn < 30; ++turn)
    c.addLogLine("", turn == 17 ? "A line long enough to run over the width of the log and on to the next line"
                                : "Turn " + std::to_string(turn),
                 {103, 91, 80});
  c.gameLog().editBox()->setText("Well met, neighbour!");
  c.gameLog().editBoxReturn(c.gameLog().editBox());
  ScriptedPlayer::frames(1);
  ScriptedPlayer::screenshot(GetParam().width == kWidth ? "game-log-chat" : "game-log-chat-" + sizeName(GetParam()));
  const std::vector<CCLabelBMFont*> lines = logLabels();
  ASSERT_EQ(lines.size(), c.gameLog().records().size());
  EXPECT_TRUE(inside(ScriptedPlayer::windowRect(lines.back()), view)) << "the newest line";
  // Each line in sight is there whole: none is cut by the title's edge of the view.
  int whole = 0;
  for (CCLabelBMFont* line : lines) {
    const CCRect r = ScriptedPlayer::windowRect(line);
    if (!overlap(r, view) || r.getMaxY() <= view.getMinY() + 0.5f) continue;
    EXPECT_TRUE(inside(r, view, -0.5f)) << line->getString();
    ++whole;
  }
  EXPECT_GE(whole, 4);
}

TEST_P(LayoutTest, EachPhasesBarShowsItsButtonsAndEndPhaseInItsView) {
  GameController& c = controller();
  using Spells = std::vector<GameScreen::StoredCard>;
  const struct {
    PlayerState state;
    const char* name;
    Spells spells;  // a spell bar's entries
  } phases[] = {
      {PlayerState::CardChoose, "placement", {}},
      {PlayerState::BuildChooseSpell, "build", Spells{{CardId::Tunnelers, 0}, {CardId::Tunnelers, 1}, {CardId::Movers, 0}, {CardId::Eye, 0}}},
      {PlayerState::CombatChooseSpell, "combat",
       Spells{{CardId::Fireball, 0}, {CardId::Fireball, 1}, {CardId::Fireball, 2}, {CardId::Lightning, 0},
              {CardId::Rats, 0}, {CardId::Earthquake, 0}, {CardId::Ray, 0}, {CardId::Dynamite, 0}}},
      {PlayerState::RepairChooseSpell, "repair",
       Spells{{CardId::Repairers, 0}, {CardId::Firefighters, 0}, {CardId::Pumpers, 0}, {CardId::Deratizers, 0}}}};
  const CCRect view = ScriptedPlayer::windowRect(c.bar().view());
  const CCRect counters = ScriptedPlayer::windowRect(c.bindings().nodeAs<cocos2d::CCLabelBMFont>("manacounter"));
  EXPECT_GE(view.getMinY(), counters.getMaxY());
  // However long the hand, the bar scrolls inside a view of fixed width that leaves our
  // tower, at the centre of the view where the game starts, in sight.
  EXPECT_LT(view.getMaxX(), c.camera().ourLayer()->convertToWorldSpace(c.camera().ourTowerPoint()).x);
  for (const auto& phase : phases) {
    SCOPED_TRACE(phase.name);
    // A fixed hand: the dealt one varies, and a longer bar than its view scrolls.
    if (phase.state == PlayerState::CardChoose)
      c.bar().setCards({CardId::Archmage, CardId::FourBlock, CardId::FourBlock, CardId::VertBlock, CardId::Crystal,
                        CardId::Library, CardId::Housing, CardId::Tunnelers});
    else
      c.bar().setSpells(phase.spells);
    c.bar().show(static_cast<int>(phase.state));
    ScriptedPlayer::frames(1);
    ASSERT_FALSE(c.bar().shownButtons().empty());
    std::vector<CCNode*> buttons = ScriptedPlayer::findAll(
        [](CCNode* n) { return dynamic_cast<CCMenuItemImage*>(n) != nullptr; }, c.bar().view()->getContainer());
    EXPECT_EQ(buttons.size(), c.bar().shownButtons().size() + 1);
    for (CCNode* b : buttons) EXPECT_TRUE(inside(ScriptedPlayer::windowRect(b), view));
    EXPECT_TRUE(ScriptedPlayer::isShown(c.bindings().nodeAs<cocos2d::CCMenuItemImage>("endphasebtn")));
    if (GetParam().width == kWidth) ScriptedPlayer::screenshot(std::string("bar-") + phase.name);
  }
}

INSTANTIATE_TEST_SUITE_P(Windows, LayoutTest,
                         ::testing::Values(WindowSize{mv::kMinWindowWidth, mv::kMinWindowHeight}, WindowSize{1024, 768},
                                           WindowSize{1280, 800}, WindowSize{1920, 1080}),
                         [](const ::testing::TestParamInfo<WindowSize>& info) { return "W" + sizeName(info.param); });

}  // namespace
}  // namespace gametest
