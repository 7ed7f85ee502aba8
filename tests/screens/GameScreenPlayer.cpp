#include "NodeTree.h"
#include "GameScreenPlayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

#include "Board.h"
#include "BoardElem.h"
#include "CCLabelBMFont.h"
#include "CCMenuItem.h"
#include "CCPointExtension.h"
#include "CCScrollView.h"
#include "CCSprite.h"
#include "CCSpriteFrameCache.h"
#include "CapturedLog.h"
#include "CardTable.h"
#include "EventDispatcher.h"
#include "GameContext.h"
#include "HighlightLayer.h"
#include "TouchLayer.h"
#include "game/GameDirector.h"
#include "game/GameSession.h"
#include "player/Player.h"

using namespace cocos2d;

namespace mvtest {

Player& GameScreenPlayer::local() { return *hub_.game().localPlayer(); }

bool GameScreenPlayer::settled() {
  return c_.camera().ourLayer() && c_.camera().enemyLayer() && c_.camera().ourLayer()->numberOfRunningActions() == 0 &&
         c_.camera().enemyLayer()->numberOfRunningActions() == 0;
}

// The tutorial's panel shows a hint: its arrows say what to do.
bool GameScreenPlayer::hintShown() { return ScriptedPlayer::isShown(c_.bindings().nodeAs<cocos2d::CCLabelBMFont>("tutorialmsg")); }

bool GameScreenPlayer::step() {
  if (c_.guiMode() == GuiMode::GameEnded) return false;
  if (c_.isMessageShown()) {
    if (c_.isMessageModal()) return false;
    if (c_.isMessageFullscreen()) {
      // A click on the board closes it.
      ScriptedPlayer::click(c_.touchLayer()->getContentSize().width * 0.5f, 40);
      return true;
    }
    if (ScriptedPlayer::isShown(c_.bindings().nodeAs<cocos2d::CCMenuItemImage>("okbtn"))) return ScriptedPlayer::click(c_.bindings().nodeAs<cocos2d::CCMenuItemImage>("okbtn"));
    return false;
  }
  if (!settled()) return false;
  Player& me = local();
  if (me.isCasting() || c_.effects().runningEffects() > 0) return false;
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
  const bool choosing = state == PlayerState::CardChoose || isSpellState(state);
  if (choosing && (hintShown() || arrowShown())) return followHint();
  if (state == PlayerState::CardChoose) return chooseCard();
  if (isSpellState(state)) return chooseSpell();
  if (state == PlayerState::PlacementChoose || isTargetState(state)) return chooseTarget();
  return false;
}

bool GameScreenPlayer::playUntil(const std::function<bool()>& done, float limitSeconds) {
  // Progress: something the player can see changes at least every minute of game time.
  std::string seen;
  float still = 0;
  const float end = time_ + limitSeconds;
  while (!done() && c_.guiMode() != GuiMode::GameEnded && time_ < end) {
    if (!step()) ScriptedPlayer::frames(1, kStep);
    time_ += kStep;
    Player* enemy = hub_.game().enemyPlayer();
    std::ostringstream now;
    now << hub_.game().turn() << "/" << static_cast<int>(local().state()) << "/"
        << (enemy ? static_cast<int>(enemy->state()) : -1) << "/" << local().mana() << "/" << local().dwarves()
        << "/" << c_.gameLog().records().size() << "/" << clicks + keys << "/" << c_.effects().runningEffects() << "/"
        << c_.tutorialText();
    still = now.str() == seen ? still + kStep : 0;
    seen = now.str();
    if (still >= 60.0f) {
      ADD_FAILURE() << "nothing moved for a minute: turn/our state/their state/mana/dwarves/log/acts/effects/hint "
                    << seen;
      return false;
    }
  }
  const bool ok = done() || c_.guiMode() == GuiMode::GameEnded;
  if (!ok) ADD_FAILURE() << "not done after " << limitSeconds << " s of game time, turn " << hub_.game().turn();
  return ok;
}

// The button of the bar at a slot (top first).
CCMenuItemImage* GameScreenPlayer::barButton(int slot) {
  CCMenuItemImage* found = nullptr;
  const int tag = c_.bar().shownButtons().at(slot);
  mv::forEachNodeDeep(c_.bar().view()->getContainer(), [&](CCNode* n) {
    auto* item = dynamic_cast<CCMenuItemImage*>(n);
    if (item && item != c_.bindings().nodeAs<cocos2d::CCMenuItemImage>("endphasebtn") && item->getTag() == tag && !found) found = item;
  });
  return found;
}

// The tutorial's arrow beside the slot's button is drawn (the arrow stands in the button's
// row, beside its menu).
bool GameScreenPlayer::arrowAt(int slot) {
  CCMenuItemImage* button = barButton(slot);
  CCNode* row = button && button->getParent() ? button->getParent()->getParent() : nullptr;
  if (!row) return false;
  CCSpriteFrame* arrow = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName("arrow-left.png");
  bool shown = false;
  mv::forEachNodeDeep(row, [&](CCNode* n) {
    auto* sprite = dynamic_cast<CCSprite*>(n);
    if (sprite && arrow && sprite->isFrameDisplayed(arrow) && ScriptedPlayer::isShown(sprite)) shown = true;
  });
  return shown;
}

// An arrow of the tutorial points at a button of the bar or at End Phase.
bool GameScreenPlayer::arrowShown() {
  if (ScriptedPlayer::isShown(c_.bindings().node("arrow_phaseend"))) return true;
  for (int slot = 0; slot < static_cast<int>(c_.bar().shownButtons().size()); ++slot)
    if (arrowAt(slot)) return true;
  return false;
}

// Inside the bar's view, where a click reaches it.
bool GameScreenPlayer::inBarView(CCNode* node) {
  if (!ScriptedPlayer::isShown(node)) return false;
  const CCRect r = ScriptedPlayer::windowRect(node);
  return ScriptedPlayer::windowRect(c_.bar().view()).containsPoint(ccp(r.getMidX(), r.getMidY()));
}

// Clicks the slot's button where it shows, or presses its digit.
bool GameScreenPlayer::pick(int slot) {
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

bool GameScreenPlayer::endPhase() {
  if (c_.bindings().nodeAs<cocos2d::CCMenuItemImage>("endphasebtn") && inBarView(c_.bindings().nodeAs<cocos2d::CCMenuItemImage>("endphasebtn"))) {
    ++clicks;
    return ScriptedPlayer::click(c_.bindings().nodeAs<cocos2d::CCMenuItemImage>("endphasebtn"));
  }
  ++keys;
  ++returnKeys;
  ScriptedPlayer::press(SDLK_RETURN);
  return true;
}

void GameScreenPlayer::noteBar() {
  const PlayerState s = local().state();
  if (!screenshots || c_.bar().shownButtons().empty() || barsSeen.count(s)) return;
  barsSeen.insert(s);
  static const std::map<PlayerState, const char*> kNames = {{PlayerState::CardChoose, "skirmish-bar-placement"},
                                                            {PlayerState::BuildChooseSpell, "skirmish-bar-build"},
                                                            {PlayerState::CombatChooseSpell, "skirmish-bar-combat"},
                                                            {PlayerState::RepairChooseSpell, "skirmish-bar-repair"}};
  ScriptedPlayer::screenshot(kNames.at(s));
}

bool GameScreenPlayer::playable(int card) {
  Player& me = local();
  Board* board = me.board();
  const CardRecord* r = CardTable::getCard(card);
  if (!board || !r || CardTable::isShieldLocked(card, hub_.context())) return false;
  if (hub_.game().turn() == 0 && r->category == CardCategory::Room && card != CardId::Archmage &&
      !board->findArchmage() && board->countFreeBlocks() < 2)
    return false;
  return !me.placementOptions(card).empty();
}

// The hint's arrow: on a button of the bar, or on End Phase. Nothing else is picked while
// the tutorial leads.
bool GameScreenPlayer::followHint() {
  if (!ScriptedPlayer::isShown(c_.bar().layer())) return false;
  noteBar();
  for (int slot = 0; slot < static_cast<int>(c_.bar().shownButtons().size()); ++slot) {
    if (!arrowAt(slot)) continue;
    ++arrowPicks;
    return pick(slot);
  }
  if (ScriptedPlayer::isShown(c_.bindings().node("arrow_phaseend"))) {
    ++arrowEnds;
    return endPhase();
  }
  return false;
}

bool GameScreenPlayer::chooseCard() {
  if (!ScriptedPlayer::isShown(c_.bar().layer())) return false;
  noteBar();
  // The archmage first (the bar's first button); a few more cards a turn.
  for (int slot = 0; slot < static_cast<int>(c_.bar().shownButtons().size()) && picks_ < 3; ++slot) {
    if (!playable(c_.bar().shownButtons()[slot])) continue;
    ++picks_;
    const bool done = pick(slot);
    EXPECT_EQ(local().state(), PlayerState::PlacementChoose) << "a card was refused";
    return done;
  }
  return endPhase();
}

bool GameScreenPlayer::castable(const GameScreen::StoredCard& entry) {
  Player& me = local();
  const CardRecord* r = CardTable::getCard(entry.first);
  if (!r || !me.canAfford(entry.first)) return false;
  Player* target = me.spellTargetFor(entry.first);
  for (int i = 0; i < r->targetCount; ++i)
    if (!target || !target->board() || Player::targetOptions(*target->board(), entry.first, i, {}).empty())
      return false;
  return true;
}

bool GameScreenPlayer::chooseSpell() {
  if (!ScriptedPlayer::isShown(c_.bar().layer())) return false;
  noteBar();
  // Every attack it can afford; one crew or spell in the build and repair phases.
  const int cap = local().state() == PlayerState::CombatChooseSpell ? 6 : 1;
  for (int slot = 0; slot < static_cast<int>(c_.bar().shownButtons().size()) && picks_ < cap; ++slot) {
    const int index = c_.bar().shownButtons()[slot];
    if (!castable(c_.bar().spells().at(index))) continue;
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

bool GameScreenPlayer::chooseTarget() {
  const std::vector<BoardElem*>& options = local().options();
  if (options.empty()) return false;
  if (screenshots && !targetSeen) {
    targetSeen = true;
    ScriptedPlayer::screenshot("target-choice-in-game");
  }
  // The hints ask for crews and spells to be put into a dwelling or a library (a room on
  // the board) where one is offered.
  std::vector<BoardElem*> preferred;
  const CardRecord* card = CardTable::getCard(local().selectedCard());
  if (hintShown() && local().state() == PlayerState::PlacementChoose && card &&
      (card->category == CardCategory::Spell || card->category == CardCategory::Crew)) {
    for (BoardElem* e : options)
      if (e && e->room() != RoomType::None) preferred.push_back(e);
  }
  if (preferred.empty()) preferred = options;
  for (BoardElem* e : preferred) {
    HighlightLayer* h = c_.boardView().highlightOf(*e);
    if (!h || !free(ScriptedPlayer::windowRect(h))) continue;
    ++clicks;
    drags_ = 0;
    const CCRect r = ScriptedPlayer::windowRect(h);
    ScriptedPlayer::click(r.getMidX(), r.getMidY());
    return true;
  }
  // None in reach of the mouse: the board is dragged toward the first, as a person would.
  HighlightLayer* h = c_.boardView().highlightOf(*preferred.front());
  if (!h || drags_ >= 12) {
    ADD_FAILURE() << "no offer on the board can be clicked";
    return false;
  }
  ++drags_;
  const CCSize win = ScriptedPlayer::windowSize();
  const CCRect r = ScriptedPlayer::windowRect(h);
  const float cx = win.width * 0.5f, cy = win.height * 0.5f;
  const float dx = std::max(-cx * 0.8f, std::min(cx * 0.8f, cx - r.getMidX()));
  const float dy = std::max(-cy * 0.8f, std::min(cy * 0.8f, cy - r.getMidY()));
  ScriptedPlayer::drag(cx, cy, cx + dx, cy + dy);
  return true;
}

// The middle of the rectangle lies on the board, clear of every control over it.
bool GameScreenPlayer::free(const CCRect& r) {
  const CCPoint p = ccp(r.getMidX(), r.getMidY());
  const CCSize win = ScriptedPlayer::windowSize();
  if (p.x < 8 || p.y < 8 || p.x > win.width - 8 || p.y > win.height - 8) return false;
  for (CCNode* over : {static_cast<CCNode*>(c_.gameLog().logView()), static_cast<CCNode*>(c_.bindings().nodeAs<cocos2d::CCMenuItemImage>("menubtn")),
                       static_cast<CCNode*>(c_.bindings().nodeAs<cocos2d::CCMenuItemImage>("cancelbtn")), static_cast<CCNode*>(c_.bindings().nodeAs<cocos2d::CCMenuItemImage>("okbtn")),
                       static_cast<CCNode*>(c_.bindings().nodeAs<cocos2d::CCLabelBMFont>("tutorialmsg"))}) {
    if (over && ScriptedPlayer::isShown(over) && ScriptedPlayer::windowRect(over).containsPoint(p)) return false;
  }
  // The locked-card notice's button.
  if (ScriptedPlayer::isShown(c_.bindings().node("notification"))) {
    bool onNotice = false;
    mv::forEachNodeDeep(c_.bindings().node("notification"), [&](CCNode* n) {
      if (dynamic_cast<CCMenuItem*>(n) && ScriptedPlayer::windowRect(n).containsPoint(p)) onNotice = true;
    });
    if (onNotice) return false;
  }
  return true;
}

void GameScreenPlayer::expectNothingRefused(const CapturedLog& log, EventDispatcher& hub) {
  for (const char* key : {"NO_VALID_PLACEMENT", "NO_EMPTY_ELEM", "NO_FREE_LIBRARY", "NO_FREE_HOUSING",
                          "MUST_RESERVE_BLOCK", "MUST_PLACE_ARCHMAGE", "NO_VALID_TARGETS", "REQUIRED_MANA",
                          "REQUIRED_DWARVES"}) {
    const std::string refusal = hub.context().text().text(key);
    EXPECT_EQ(log.count("GUI::fullscreen message shown: " + refusal), 0) << refusal;
  }
  EXPECT_EQ(log.count("refused while a spell is being cast"), 0);
  EXPECT_EQ(log.count("not on offer"), 0);
  EXPECT_EQ(log.count("out of sync"), 0);
}

}  // namespace mvtest
