// The building blocks of a card's effect (inside the effect player): the effect's step
// list and what its cards' scripts share, and small action helpers.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "CCGeometry.h"

namespace cocos2d {
class CCAnimate;
class CCArray;
class CCFiniteTimeAction;
class CCNode;
class CCSprite;
}  // namespace cocos2d

struct AnimateSpellEvent;
class BoardElem;
class EffectStage;
class Player;
class SpellEffectPlayer;

namespace fx {

constexpr float kFrameSeconds = 0.1f;

cocos2d::CCFiniteTimeAction* delay(float seconds);
// A sequence of the actions (null ones left out; one action stands for itself).
cocos2d::CCFiniteTimeAction* sequence(std::initializer_list<cocos2d::CCFiniteTimeAction*> actions);
cocos2d::CCFiniteTimeAction* together(cocos2d::CCFiniteTimeAction* a, cocos2d::CCFiniteTimeAction* b);
// An animation of sprite frames, 0.1 s each; null (logged) when a frame is missing.
cocos2d::CCAnimate* animation(std::initializer_list<const char*> frames, unsigned int loops);
// A sprite of a frame; null (logged) when the frame is missing.
cocos2d::CCSprite* frameSprite(const char* name);
cocos2d::CCFiniteTimeAction* particleStep(const std::string& path);

}  // namespace fx

// One card's effect as it is built: the step list that sets its length, and the places,
// nodes and sounds its script uses.
class EffectSteps {
 public:
  EffectSteps(SpellEffectPlayer& player, const AnimateSpellEvent& record, cocos2d::CCArray* steps);

  // Appends the script of the record's card (structures and rooms have none).
  void appendCardScript();

  const AnimateSpellEvent& record() const { return record_; }
  // The record's targets that exist.
  const std::vector<BoardElem*>& targets() const { return targets_; }
  const Player* local() const { return local_; }
  bool isLocal(const BoardElem* e) const;
  // The corner of cell (x, y) of the owner's board in its layer.
  cocos2d::CCPoint boardToLayerPoint(const Player* owner, int x, int y) const;
  // An element's cell corner and centre in its layer.
  cocos2d::CCPoint elemToLayerPoint(BoardElem* e) const;
  cocos2d::CCPoint centre(BoardElem* e) const;
  // The target player's centre cell (its corner) in its layer.
  cocos2d::CCPoint targetCentreCell() const;
  cocos2d::CCNode* getPlayerLayer(const Player* owner) const;
  cocos2d::CCNode* shakenNode() const;

  // Appends a step to the effect's list (null: nothing).
  void add(cocos2d::CCFiniteTimeAction* step);
  // Puts a node over the board for the effect's time.
  void addNode(cocos2d::CCNode* node, cocos2d::CCNode* layer);
  // An empty node at the element's centre, running the actions.
  cocos2d::CCNode* emptyNodeAt(BoardElem* e, cocos2d::CCFiniteTimeAction* actions);
  void focusView(cocos2d::CCNode* layer, const cocos2d::CCPoint& point, float scale);
  void focusElement(BoardElem* e, float scale);
  // The view on the target player's centre cell.
  void focusBoardCentre(float scale);
  cocos2d::CCFiniteTimeAction* sound(const std::string& path);
  cocos2d::CCFiniteTimeAction* stopSounds();

 private:
  SpellEffectPlayer& player_;
  EffectStage& stage_;
  const AnimateSpellEvent& record_;
  cocos2d::CCArray* steps_;
  std::vector<BoardElem*> targets_;
  const Player* local_;
};
