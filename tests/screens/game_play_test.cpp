// Whole games through the screen: a scripted player that sees what a person sees (the
// bar's buttons, the offers on the board, messages, counters) and acts only by clicks and
// keys where the node tree draws them, plays a skirmish against the computer to its end.
#include <SDL.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "Board.h"
#include "BoardElem.h"
#include "CCLabelBMFont.h"
#include "CCMenuItem.h"
#include "CCPointExtension.h"
#include "CCScrollView.h"
#include "CapturedLog.h"
#include "CardTable.h"
#include "HighlightLayer.h"
#include "game/GameDirector.h"
#include "game_screen_fixture.h"

using namespace cocos2d;
using mvtest::ScriptedPlayer;

namespace gametest {
namespace {

// The scheduler's step while the player waits: a fast clock (thirty times the game's speed
// at sixty frames a second); every step of an effect still runs in order.
constexpr float kStep = 0.5f;

class SkirmishPlayer {
 public:
  SkirmishPlayer(GameController& c, EventDispatcher& hub) : c_(c), hub_(hub) {}

  // One look at the screen and at most one click or key. False while waiting.
  bool step() {
    if (c_.guiMode == GuiMode::GameEnded) return false;
    if (c_.messageShown) {
      if (c_.messageModal) return false;
      if (c_.messageFullscreen) {
        // A click on the board closes it.
        ScriptedPlayer::click(c_.touchLayer->getContentSize().width * 0.5f, 40);
        return true;
      }
      if (ScriptedPlayer::isShown(c_.okbtn)) return ScriptedPlayer::click(c_.okbtn);
      return false;
    }
    if (!settled()) return false;
    Player& me = local();
    if (me.isCasting() || c_.runningEffects() > 0) return false;
    const PlayerState state = me.state();
    // Picks count per phase of a turn (a card's placement or a spell's targets belong to
    // the phase they were chosen in).
    int group = 0;
    switch (state) {
      case PlayerState::CardChoose:
      case PlayerState::PlacementChoose: group = 1; break;
      case PlayerState::BuildChooseSpell:
      case PlayerState::BuildSpellChooseTarget: group = 2; break;
      case PlayerState::CombatChooseSpell:
      case PlayerState::CombatSpellChooseTarget: group = 3; break;
      case PlayerState::RepairChooseSpell:
      case PlayerState::RepairSpellChooseTarget: group = 4; break;
      default: break;
    }
    const int phase = hub_.game().turn() * 10 + group;
    if (phase != phase_) {
      phase_ = phase;
      picks_ = 0;
    }
    if (state == PlayerState::CardChoose) return chooseCard();
    if (isSpellState(state)) return chooseSpell();
    if (state == PlayerState::PlacementChoose || isTargetState(state)) return chooseTarget();
    return false;
  }

  // States whose bars were seen with buttons, for the screenshots.
  std::set<PlayerState> barsSeen;
  bool targetSeen = false;
  bool screenshots = false;
  int clicks = 0, keys = 0, digitTargets = 0, returnKeys = 0;

 private:
  Player& local() { return *hub_.game().localPlayer(); }
  Player& enemy() { return *hub_.game().enemyPlayer(); }

  bool settled() {
    return c_.ourlayer && c_.enemylayer && c_.ourlayer->numberOfRunningActions() == 0 &&
           c_.enemylayer->numberOfRunningActions() == 0;
  }

  // The button of the bar at a slot (top first).
  CCMenuItemImage* barButton(int slot) {
    CCMenuItemImage* found = nullptr;
    const int tag = c_.shownButtonIndices.at(slot);
    GameController::forEachNodeDeep(c_.turnseq->getContainer(), [&](CCNode* n) {
      auto* item = dynamic_cast<CCMenuItemImage*>(n);
      if (item && item != c_.endphasebtn && item->getTag() == tag && !found) found = item;
    });
    return found;
  }

  // Inside the bar's view, where a click reaches it.
  bool inBarView(CCNode* node) {
    if (!ScriptedPlayer::isShown(node)) return false;
    const CCRect r = ScriptedPlayer::windowRect(node);
    return ScriptedPlayer::windowRect(c_.turnseq).containsPoint(ccp(r.getMidX(), r.getMidY()));
  }

  // Clicks the slot's button where it shows, or presses its digit.
  bool pick(int slot) {
    CCMenuItemImage* button = barButton(slot);
    if (button && inBarView(button)) {
      ++clicks;
      return ScriptedPlayer::click(button);
    }
    if (slot > 9) return false;
    ++keys;
    ScriptedPlayer::press(slot == 9 ? SDLK_0 : static_cast<SDL_Keycode>(SDLK_1 + slot));
    return true;
  }

  bool endPhase() {
    if (c_.endphasebtn && inBarView(c_.endphasebtn)) {
      ++clicks;
      return ScriptedPlayer::click(c_.endphasebtn);
    }
    ++keys;
    ++returnKeys;
    ScriptedPlayer::press(SDLK_RETURN);
    return true;
  }

  void noteBar() {
    const PlayerState s = local().state();
    if (!screenshots || c_.shownButtonIndices.empty() || barsSeen.count(s)) return;
    barsSeen.insert(s);
    static const std::map<PlayerState, const char*> kNames = {
        {PlayerState::CardChoose, "skirmish-bar-placement"},
        {PlayerState::BuildChooseSpell, "skirmish-bar-build"},
        {PlayerState::CombatChooseSpell, "skirmish-bar-combat"},
        {PlayerState::RepairChooseSpell, "skirmish-bar-repair"}};
    ScriptedPlayer::screenshot(kNames.at(s));
  }

  bool playable(int card) {
    Player& me = local();
    Board* board = me.board();
    const CardRecord* r = CardTable::getCard(card);
    if (!board || !r || CardTable::isShieldLocked(card, hub_.context())) return false;
    if (hub_.game().turn() == 0 && r->category == CardCategory::Room && card != CardId::Archmage &&
        !board->findArchmage() && board->countFreeBlocks() < 2)
      return false;
    return !me.placementOptions(card).empty();
  }

  bool chooseCard() {
    if (!ScriptedPlayer::isShown(c_.turnseqqui)) return false;
    noteBar();
    // The archmage first (the bar's first button); a few more cards a turn.
    for (int slot = 0; slot < static_cast<int>(c_.shownButtonIndices.size()) && picks_ < 3; ++slot) {
      if (!playable(c_.shownButtonIndices[slot])) continue;
      ++picks_;
      const bool done = pick(slot);
      EXPECT_EQ(local().state(), PlayerState::PlacementChoose) << "a card was refused";
      return done;
    }
    return endPhase();
  }

  bool castable(const GameScreen::StoredCard& entry) {
    Player& me = local();
    const CardRecord* r = CardTable::getCard(entry.first);
    if (!r || !me.canAfford(entry.first)) return false;
    Player* target = me.spellTargetFor(entry.first);
    for (int i = 0; i < r->targetCount; ++i)
      if (!target || !target->board() || Player::targetOptions(*target->board(), entry.first, i, {}).empty())
        return false;
    return true;
  }

  bool chooseSpell() {
    if (!ScriptedPlayer::isShown(c_.turnseqqui)) return false;
    noteBar();
    // Every attack it can afford; one crew or spell in the build and repair phases.
    const int cap = local().state() == PlayerState::CombatChooseSpell ? 6 : 1;
    for (int slot = 0; slot < static_cast<int>(c_.shownButtonIndices.size()) && picks_ < cap; ++slot) {
      const int index = c_.shownButtonIndices[slot];
      if (!castable(c_.spellList.at(index))) continue;
      ++picks_;
      const int mana = local().mana(), dwarves = local().dwarves();
      const PlayerState before = local().state();
      const bool done = pick(slot);
      EXPECT_TRUE(local().state() != before || local().mana() != mana || local().dwarves() != dwarves ||
                  local().isCasting())
          << "a spell was refused";
      return done;
    }
    return endPhase();
  }

  bool chooseTarget() {
    const std::vector<BoardElem*>& options = local().options();
    if (options.empty()) return false;
    if (screenshots && !targetSeen) {
      targetSeen = true;
      ScriptedPlayer::screenshot("target-choice-in-game");
    }
    BoardElem* chosen = options.front();
    HighlightLayer* h = c_.boardView().highlightOf(*chosen);
    if (h && free(ScriptedPlayer::windowRect(h))) {
      ++clicks;
      const CCRect r = ScriptedPlayer::windowRect(h);
      ScriptedPlayer::click(r.getMidX(), r.getMidY());
      return true;
    }
    ++keys;
    ++digitTargets;
    ScriptedPlayer::press(SDLK_1);
    return true;
  }

  // The middle of the rectangle lies on the board, clear of every control over it.
  bool free(const CCRect& r) {
    const CCPoint p = ccp(r.getMidX(), r.getMidY());
    const CCSize win = ScriptedPlayer::windowSize();
    if (p.x < 8 || p.y < 8 || p.x > win.width - 8 || p.y > win.height - 8) return false;
    for (CCNode* over : {static_cast<CCNode*>(c_.chatlog), static_cast<CCNode*>(c_.menubtn),
                         static_cast<CCNode*>(c_.cancelbtn), static_cast<CCNode*>(c_.okbtn)}) {
      if (over && ScriptedPlayer::isShown(over) && ScriptedPlayer::windowRect(over).containsPoint(p)) return false;
    }
    // The locked-card notice's button.
    if (ScriptedPlayer::isShown(c_.notification)) {
      bool onNotice = false;
      GameController::forEachNodeDeep(c_.notification, [&](CCNode* n) {
        if (dynamic_cast<CCMenuItem*>(n) && ScriptedPlayer::windowRect(n).containsPoint(p)) onNotice = true;
      });
      if (onNotice) return false;
    }
    return true;
  }

  GameController& c_;
  EventDispatcher& hub_;
  int phase_ = -1;
  int picks_ = 0;
};

// What the rules tell a player whose choice they refuse.
std::vector<std::string> refusalTexts(EventDispatcher& hub) {
  std::vector<std::string> out;
  for (const char* key : {"NO_VALID_PLACEMENT", "NO_EMPTY_ELEM", "NO_FREE_LIBRARY", "NO_FREE_HOUSING",
                          "MUST_RESERVE_BLOCK", "MUST_PLACE_ARCHMAGE", "NO_VALID_TARGETS", "REQUIRED_MANA",
                          "REQUIRED_DWARVES"})
    out.push_back(hub.context().text().text(key));
  return out;
}

class SkirmishTest : public GameScreenTest, public ::testing::WithParamInterface<unsigned int> {};

TEST_P(SkirmishTest, AScriptedPlayerPlaysASkirmishToItsEndThroughTheScreen) {
  const unsigned int seed = GetParam();
  mvtest::HubTicker::start();
  hub().context().seed(seed);
  std::srand(seed);
  CapturedLog log;
  const int menusBefore = mvtest::gameSceneHost().menuScenes;
  startSkirmish();
  GameController& c = controller();
  SkirmishPlayer player(c, hub());
  player.screenshots = seed == 1;
  // Progress: something the player can see changes at least every minute of game time.
  std::string seen;
  float still = 0, time = 0;
  const float kLimit = 1800.0f;
  while (c.guiMode != GuiMode::GameEnded && time < kLimit) {
    if (!player.step()) ScriptedPlayer::frames(1, kStep);
    time += kStep;
    std::ostringstream now;
    now << game().turn() << "/" << static_cast<int>(local().state()) << "/" << static_cast<int>(enemy().state()) << "/"
        << local().mana() << "/" << local().dwarves() << "/" << c.logRecords.size() << "/" << player.clicks + player.keys
        << "/" << c.runningEffects();
    still = now.str() == seen ? still + kStep : 0;
    seen = now.str();
    ASSERT_LT(still, 60.0f) << "nothing moved for a minute: turn/our state/their state/mana/dwarves/log/acts/effects "
                            << seen;
  }
  ASSERT_EQ(c.guiMode, GuiMode::GameEnded) << "no end after " << time << " s, turn " << game().turn();
  // The end's message with its OK, and its line in the log.
  ScriptedPlayer::runFor(1.0f, kStep);
  EXPECT_TRUE(ScriptedPlayer::isShown(c.okbtn));
  const std::string end = c.messageText;
  EXPECT_FALSE(end.empty());
  EXPECT_EQ(c.logRecords.back().text, end);
  EXPECT_GT(player.clicks, 10);
  // No choice of the player was refused, and nothing went out of step.
  for (const std::string& refusal : refusalTexts(hub()))
    EXPECT_EQ(log.count("GUI::fullscreen message shown: " + refusal), 0) << refusal;
  EXPECT_EQ(log.count("refused while a spell is being cast"), 0);
  EXPECT_EQ(log.count("not on offer"), 0);
  EXPECT_EQ(log.count("out of sync"), 0);
  if (player.screenshots) {
    for (PlayerState s : {PlayerState::CardChoose, PlayerState::CombatChooseSpell})
      EXPECT_TRUE(player.barsSeen.count(s)) << static_cast<int>(s);
    ScriptedPlayer::screenshot("game-over-log");
  }
  // OK leads back to the menu.
  ASSERT_TRUE(ScriptedPlayer::click(c.okbtn));
  EXPECT_EQ(mvtest::gameSceneHost().menuScenes, menusBefore + 1);
  std::printf("seed %u: %s after %d turns, %.0f s of game time, %d clicks and %d keys (%d RETURN, %d digits on the board)\n",
              seed, end.c_str(), game().turn(), time, player.clicks, player.keys, player.returnKeys, player.digitTargets);
}

INSTANTIATE_TEST_SUITE_P(Seeds, SkirmishTest, ::testing::Values(1u, 2u, 3u));

}  // namespace
}  // namespace gametest
