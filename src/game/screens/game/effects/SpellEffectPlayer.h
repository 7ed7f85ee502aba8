// The game screen's player of spell effects and board animations: each card's effect
// built from engine actions on the elements it acts on, with one step list on its own
// clock that sets the effect's length and ends with the completion; the collapse, the
// explosion and the rubble; and the game's sounds: the one-shot building sounds, the fire
// loops and the effects' own sounds. It reaches the board only through its stage.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "CCGeometry.h"
#include "ports/SpellEffects.h"

namespace cocos2d {
class CCAction;
class CCArray;
class CCFiniteTimeAction;
class CCNode;
}  // namespace cocos2d

class BoardElem;
class BoardView;
class EffectSounds;
class EffectSteps;
class Player;

// What an effect needs of the screen it plays on: the board's nodes, where a cell lies,
// the view brought to a point, and the nodes the shake and the fall act on.
class EffectStage {
 public:
  virtual ~EffectStage() = default;
  virtual BoardView& boardView() = 0;
  virtual const Player* viewLocalPlayer() = 0;
  // The board layer of the owner's side.
  virtual cocos2d::CCNode* getPlayerLayer(const Player* owner) = 0;
  // The layer position of cell (x, y) of the owner's board (its corner).
  virtual cocos2d::CCPoint boardToLayerPoint(const Player* owner, int x, int y) = 0;
  // The view moves (animated) so the layer's point is at the window's centre at `scale`.
  virtual void focusView(cocos2d::CCNode* layer, const cocos2d::CCPoint& point, float scale) = 0;
  // The node an earthquake shakes, and the water a collapsed block falls into (or null).
  virtual cocos2d::CCNode* shakenNode() = 0;
  virtual cocos2d::CCNode* waterNode() = 0;
};

class SpellEffectPlayer : public SpellEffects {
 public:
  // Effect nodes lie this high in a board layer.
  static constexpr int kEffectZ = 200;

  explicit SpellEffectPlayer(EffectStage& stage);
  ~SpellEffectPlayer() override;
  SpellEffectPlayer(const SpellEffectPlayer&) = delete;
  SpellEffectPlayer& operator=(const SpellEffectPlayer&) = delete;

  // Plays the effect of the record's card on the board; `done` is called once at its end,
  // also when the screen is rebuilt meanwhile.
  void showSpellEffect(const AnimateSpellEvent& record, Player& caller, SpellCompletion done) override;
  void collapseElement(BoardElem& elem);
  void showExplosion(BoardElem& elem);
  void playRubbleSound(BoardElem& elem);

  // ---- Sounds of the game's events (each only for the local player's side) -------------
  void playEventSound(bool ofLocalPlayer, const char* path);
  // Burning blocks per hundred: the side's fire loop follows its level.
  void updateFireSound(bool ofLocalPlayer, int fireLevel);
  // Both fire loops stop (the scene is left); the last levels stay.
  void stopFireSounds();
  bool fireSoundPlaying(bool ofLocalPlayer) const;

  // ---- The screen's life ---------------------------------------------------------------
  // A new screen: what effects put over the old one goes with it, the clock moves to
  // `root`; the effects themselves go on.
  void moveToScreen(cocos2d::CCNode* root);
  // The screen is entered again: effects whose steps a replacement of the scene dropped
  // run the rest of their time.
  void resumeEffects();
  // Effects of a game that is over: stopped, their completions dropped.
  void dropStaleEffects();
  // Removes (with clean-up) and forgets every node the effects put on the board.
  void removeEffectNodes();
  // Stops every sound the effects started and forgets them.
  void stopEffectSounds();

  // Effects whose completion has not run yet.
  std::size_t runningEffects() const { return runningEffects_.size(); }
  std::size_t effectNodeCount() const;
  const std::vector<unsigned int>& playingEffects() const;

 private:
  friend class EffectSteps;
  struct RunningEffect {
    int id = 0;
    SpellCompletion done;
    cocos2d::CCAction* steps = nullptr;  // retained; runs on clock_
  };
  void addEffectNode(cocos2d::CCNode* node, cocos2d::CCNode* parent, int z);
  cocos2d::CCFiniteTimeAction* soundStep(const std::string& path);
  cocos2d::CCFiniteTimeAction* stopSoundsStep();
  void startSteps(RunningEffect& effect, cocos2d::CCArray* steps);
  void finishEffect(int id);
  void stopAllEffects();

  EffectStage& stage_;
  std::shared_ptr<EffectSounds> sounds_;
  std::vector<RunningEffect> runningEffects_;
  // Runs the effects' step lists (retained; moved into every new screen, so an effect goes
  // on through a rebuild of the screen).
  cocos2d::CCNode* clock_ = nullptr;
  // Temporary nodes over the board; retained.
  cocos2d::CCArray* nodes_ = nullptr;
  int serial_ = 0;
  unsigned int fireSoundOurs_ = static_cast<unsigned int>(-1);
  unsigned int fireSoundEnemy_ = static_cast<unsigned int>(-1);
  int fireLevelOurs_ = -1;
  int fireLevelEnemy_ = -1;
};
