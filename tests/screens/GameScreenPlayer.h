// A player at the in-game screen who sees what a person sees (the bar's buttons and the
// tutorial's arrows, the offers on the board, messages, counters) and acts only by clicks
// and keys where the node tree draws them. It plays any mode: a few cards and every
// affordable attack a turn in a regular game; in the tutorial it follows the hints, picking
// the button an arrow points at, ending the phase where the arrow says so, and putting
// crews and spells into their rooms as the hints ask.
#pragma once

#include <functional>
#include <set>
#include <string>

#include "GameController.h"
#include "ScriptedPlayer.h"

class BoardElem;
class CapturedLog;
class EventDispatcher;
class Player;
enum class PlayerState : int32_t;

namespace cocos2d {
class CCMenuItemImage;
class CCRect;
}  // namespace cocos2d

namespace mvtest {

class GameScreenPlayer {
 public:
  // The scheduler's step while the player waits: a fast clock (thirty times the game's speed
  // at sixty frames a second); every step of an effect still runs in order.
  static constexpr float kStep = 0.5f;

  GameScreenPlayer(GameController& c, EventDispatcher& hub) : c_(c), hub_(hub) {}

  // One look at the screen and at most one click or key. False while waiting.
  bool step();
  // Steps (or runs a frame of kStep while waiting) until done() holds or the game ends.
  // Fails the test when nothing a player can see moved for a minute of game time or when
  // limitSeconds of game time passed; returns whether done() or the end came in time.
  bool playUntil(const std::function<bool()>& done, float limitSeconds);
  float gameTime() const { return time_; }
  // No choice of the player was refused (the rules' refusals, the hub's), and nothing went
  // out of step, by the log captured over the play.
  static void expectNothingRefused(const CapturedLog& log, EventDispatcher& hub);

  // States whose bars were seen with buttons, for the screenshots.
  std::set<PlayerState> barsSeen;
  bool targetSeen = false;
  bool screenshots = false;
  int clicks = 0, keys = 0, returnKeys = 0;
  // Picks made on a tutorial arrow, and phases ended on its arrow.
  int arrowPicks = 0, arrowEnds = 0;

 private:
  Player& local();
  bool settled();
  bool hintShown();
  cocos2d::CCMenuItemImage* barButton(int slot);
  bool arrowAt(int slot);
  bool arrowShown();
  bool inBarView(cocos2d::CCNode* node);
  bool pick(int slot);
  bool endPhase();
  void noteBar();
  bool playable(int card);
  bool castable(const GameScreen::StoredCard& entry);
  bool followHint();
  bool chooseCard();
  bool chooseSpell();
  bool chooseTarget();
  bool free(const cocos2d::CCRect& r);

  GameController& c_;
  EventDispatcher& hub_;
  int phase_ = -1;
  int picks_ = 0;
  float time_ = 0;
  int drags_ = 0;
};

}  // namespace mvtest
