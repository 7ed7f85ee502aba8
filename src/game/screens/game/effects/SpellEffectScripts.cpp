// The script of each card's effect: what it puts on the board, how the view follows it,
// its sounds, and the steps that set its length. One function a card, found in a table.
#include <cmath>
#include <utility>

#include "Board.h"
#include "BoardElem.h"
#include "BoardView.h"
#include "CCActionInterval.h"
#include "CCArray.h"
#include "CCLayerColor.h"
#include "CCPointExtension.h"
#include "CCSprite.h"
#include "CardTable.h"
#include "EffectActions.h"
#include "ElemDisplay.h"
#include "ResourceNames.h"
#include "SpellEffectSteps.h"
#include "player/AnimateSpellEvent.h"
#include "player/Player.h"

using namespace cocos2d;
using namespace fx;

namespace {

constexpr float kHalfCell = BoardView::kElemSize * 0.5f;

void fireball(EffectSteps& s) {
  for (BoardElem* e : s.targets()) {
    s.focusElement(e, 1.0f);
    CCNode* ball = makeEffectParticles("particles/fireball.plist", mv::hdScale());
    if (!ball) continue;
    ball->setPosition(ccpAdd(s.centre(e), ccp(-1600, 200)));
    s.addNode(ball, s.getPlayerLayer(e->owner()));
    CCFiniteTimeAction* fly = CCMoveTo::create(1.0f, s.centre(e));
    if (s.isLocal(e))
      ball->runAction(sequence({s.sound("sounds/fireball.wav"), delay(0.5f), fly, CCHide::create(), s.stopSounds(),
                                s.sound("sounds/fireball-blast.wav"), particleStep("particles/rocks.plist")}));
    else
      ball->runAction(sequence({delay(0.5f), together(fly, sequence({delay(0.2f), s.sound("sounds/fireball-enemy.wav")})),
                                CCHide::create(), particleStep("particles/rocks-enemy.plist")}));
  }
  s.add(delay(2.0f));
}

// One rat runs for the whole event; a hidden target is shown by a rat slipping into the
// tower, a visible one by a rat scurrying to and fro over it.
void rats(EffectSteps& s) {
  s.add(delay(0.5f));
  CCSprite* rat = frameSprite("rat1.png");
  CCNode* layer = s.getPlayerLayer(s.record().target);
  if (rat && layer) s.addNode(rat, layer);
  for (BoardElem* e : s.targets()) {
    CCFiniteTimeAction* run = animation({"rat1.png", "rat2.png", "rat3.png"}, 3);
    if (!e->isVisibleToLocalPlayer(s.local())) {
      const CCPoint cell = s.targetCentreCell();
      s.focusView(layer, ccpAdd(cell, ccp(kHalfCell, kHalfCell)), 1.0f);
      const CCPoint end = ccp(cell.x + kHalfCell, cell.y);
      if (rat && run) {
        rat->setPosition(ccp(end.x - 200, end.y));
        rat->runAction(sequence({delay(0.5f), together(run, CCMoveTo::create(1.0f, end)), CCHide::create(),
                                 s.sound("sounds/spell-rat.wav")}));
      }
      s.add(delay(2.0f));
    } else {
      s.focusElement(e, 2.0f);
      if (rat && run) {
        rat->setPosition(ccpAdd(s.elemToLayerPoint(e), ccp(0, 10)));
        const float third = 1.0f / 3;
        CCFiniteTimeAction* scurry = sequence(
            {s.sound("sounds/spell-rat.wav"), CCMoveBy::create(third, ccp(64, 0)), CCFlipX::create(true),
             s.sound("sounds/spell-rat.wav"), CCMoveBy::create(third, ccp(-64, 0)), CCFlipX::create(false),
             s.sound("sounds/spell-rat.wav"), CCMoveBy::create(third, ccp(64, 0))});
        rat->runAction(sequence({delay(0.5f), together(run, scurry)}));
      }
    }
  }
  s.add(delay(1.0f));
}

void earthquake(EffectSteps& s) {
  s.focusBoardCentre(2.0f);
  s.add(delay(0.5f));
  // The game node shakes and ends where it started.
  CCNode* shaken = s.shakenNode();
  auto moveGame = [shaken](float dx) -> CCFiniteTimeAction* {
    CCFiniteTimeAction* move = CCMoveBy::create(0.1f, ccp(dx, 0));
    return shaken ? static_cast<CCFiniteTimeAction*>(CCTargetedAction::create(shaken, move)) : delay(0.1f);
  };
  // Dust rises along the shaking ground for as long as it shakes.
  if (CCNode* dust = makeEffectParticles("particles/quake-dust.plist", 1.0f)) {
    dust->setPosition(ccpAdd(s.targetCentreCell(), ccp(kHalfCell, 0)));
    s.addNode(dust, s.getPlayerLayer(s.record().target));
  }
  s.add(moveGame(20));
  s.add(s.sound("sounds/earthquake.wav"));
  s.add(CCRepeat::create(sequence({moveGame(-40), moveGame(40)}), 30));
  s.add(moveGame(-40));
  s.add(moveGame(20));
}

void lightning(EffectSteps& s) {
  for (BoardElem* e : s.targets()) {
    s.focusElement(e, 1.0f);
    CCSprite* bolt = frameSprite("particle-bolt.png");
    if (!bolt) continue;
    bolt->setAnchorPoint(CCPointZero);
    bolt->setVisible(false);
    CCPoint at = s.centre(e);
    // A dome takes the strike one cell higher.
    const BoardElem* above = e->getUpper();
    if (above && above->kind() == ElemKind::Dome) at.y += BoardView::kElemSize;
    bolt->setPosition(at);
    s.addNode(bolt, s.getPlayerLayer(e->owner()));
    bolt->runAction(sequence({delay(0.5f), CCShow::create(), s.sound("sounds/lightning.wav"),
                              particleStep(s.isLocal(e) ? "particles/rocks.plist" : "particles/rocks-enemy.plist"),
                              delay(0.1f), CCHide::create(), delay(0.1f), CCShow::create(), delay(0.1f),
                              CCHide::create(), delay(0.1f), CCShow::create(), delay(0.1f), CCHide::create()}));
  }
  s.add(delay(1.0f));
}

// A red beam from a random top block of the caster's tower to each target.
void ray(EffectSteps& s) {
  const AnimateSpellEvent& record = s.record();
  for (BoardElem* e : s.targets()) {
    CCNode* layer = s.getPlayerLayer(e->owner());
    Board* casterBoard = record.caster ? record.caster->board() : nullptr;
    if (!layer || !casterBoard) continue;
    BoardElem* source = casterBoard->randomTopBlock();
    const int c = Board::getBoardCenter();
    const CCPoint sourceCorner = source ? s.elemToLayerPoint(source) : s.boardToLayerPoint(record.caster, c, c);
    CCNode* casterLayer = s.getPlayerLayer(record.caster);
    const CCPoint from =
        layer->convertToNodeSpace(casterLayer->convertToWorldSpace(ccpAdd(sourceCorner, ccp(kHalfCell, kHalfCell))));
    const CCPoint to = s.centre(e);
    CCLayerColor* beam = CCLayerColor::create(ccc4(255, 0, 0, 255), ccpDistance(from, to), 3);
    if (!beam) continue;
    // Turned about its start: it points from the source to the target.
    beam->ignoreAnchorPointForPosition(false);
    beam->setAnchorPoint(CCPointZero);
    beam->setRotation(static_cast<float>(std::atan2(from.y - to.y, to.x - from.x) * 180.0 / M_PI));
    beam->setPosition(from);
    beam->setScale(0);
    // A glow along the beam, turning and growing with it.
    if (CCLayerColor* glow = CCLayerColor::create(ccc4(255, 96, 48, 96), ccpDistance(from, to), 13)) {
      glow->setPosition(ccp(0, -5));
      beam->addChild(glow, -1);
    }
    s.addNode(beam, layer);
    s.focusElement(e, 2.0f);
    beam->runAction(sequence({delay(0.5f), s.sound("sounds/spell-ray.wav"), CCScaleTo::create(1.5f, 1.0f)}));
  }
  s.add(delay(0.5f));
  s.add(delay(1.5f));
}

void flood(EffectSteps& s) {
  for (BoardElem* e : s.targets()) {
    s.focusElement(e, 2.0f);
    const bool seen = e->isVisibleToLocalPlayer(s.local());
    s.emptyNodeAt(e, sequence({delay(0.5f), s.sound("sounds/broken_pipe.wav"),
                               seen ? particleStep("particles/water_fountain.plist") : nullptr}));
  }
  s.add(delay(2.5f));
}

void rain(EffectSteps& s) {
  s.focusBoardCentre(1.0f);
  if (CCNode* drops = makeEffectParticles("particles/rain.plist", 1.0f)) {
    drops->setPosition(ccpAdd(s.targetCentreCell(), ccp(0, 700)));
    s.addNode(drops, s.getPlayerLayer(s.record().target));
  }
  s.add(s.sound("sounds/rain.wav"));
  s.add(delay(0.5f));
  s.add(delay(2.0f));
  s.add(s.stopSounds());
}

void collapse(EffectSteps& s) {
  for (BoardElem* e : s.targets()) {
    s.focusElement(e, 2.0f);
    CCSprite* rocks = frameSprite("collapse1.png");
    if (!rocks) continue;
    const ElemRgb tint = s.isLocal(e) ? ElemColorOurs : ElemColorEnemy;  // the tower's stone
    rocks->setColor(ccc3(tint.r, tint.g, tint.b));
    rocks->setPosition(s.centre(e));
    rocks->setVisible(e->isVisibleToLocalPlayer(s.local()));
    s.addNode(rocks, s.getPlayerLayer(e->owner()));
    rocks->runAction(sequence({delay(0.5f), s.sound("sounds/earthquake.wav"), delay(0.15f),
                               animation({"collapse1.png", "collapse2.png", "collapse3.png", "collapse4.png"}, 1),
                               delay(2.0f)}));
  }
  s.add(delay(2.65f));
  s.add(s.stopSounds());
}

void fire(EffectSteps& s) {
  for (BoardElem* e : s.targets()) s.focusElement(e, 2.0f);
  s.add(s.sound("sounds/fire_start.wav"));
  s.add(delay(2.5f));
}

void disturbance(EffectSteps& s) {
  for (BoardElem* e : s.targets()) {
    s.focusElement(e, 2.0f);
    s.emptyNodeAt(e, sequence({delay(0.5f), s.sound("sounds/disturbance.wav"),
                               particleStep("particles/disturbance.plist")}));
  }
  s.add(delay(3.5f));
}

void eye(EffectSteps& s) {
  s.add(s.sound("sounds/spell-eye.wav"));
  s.add(delay(1.0f));
}

// Bursts at each door of the block.
void doorBreaker(EffectSteps& s) {
  for (BoardElem* e : s.targets()) {
    s.focusElement(e, 2.0f);
    CCNode* node = s.emptyNodeAt(e, nullptr);
    std::vector<CCPoint> doors;
    switch (e->kind()) {
      case ElemKind::FourBlock:
        doors = {ccp(-32, 0), ccp(32, 0), ccp(0, -32), ccp(0, 32)};
        break;
      case ElemKind::VertBlock:
        doors = {ccp(0, -32), ccp(0, 32)};
        break;
      case ElemKind::HorizBlock:
        doors = {ccp(-32, 0), ccp(32, 0)};
        break;
      default:
        break;
    }
    CCArray* run = CCArray::create();
    run->addObject(delay(0.5f));
    for (const CCPoint& at : doors) {
      CCNode* door = CCNode::create();
      door->setPosition(at);
      node->addChild(door);
      run->addObject(CCTargetedAction::create(door, particleStep("particles/doorbreaker.plist")));
    }
    run->addObject(s.sound("sounds/break_door.wav"));
    node->runAction(CCSequence::createWithArray(run));
  }
  s.add(delay(2.0f));
}

void dynamite(EffectSteps& s) {
  for (BoardElem* e : s.targets()) {
    s.focusElement(e, 2.0f);
    const bool ours = s.isLocal(e);
    s.emptyNodeAt(e, sequence({delay(0.5f), s.sound(ours ? "sounds/bomb.wav" : "sounds/bomb-enemy.wav"),
                               particleStep(ours ? "particles/rocks2.plist" : "particles/rocks2-enemy.plist")}));
  }
  s.add(delay(1.0f));
}

void deratizers(EffectSteps& s) {
  for (BoardElem* e : s.targets()) {
    s.focusElement(e, 2.0f);
    CCSprite* trap = frameSprite("deratizer1.png");
    if (!trap) continue;
    trap->setPosition(s.centre(e));
    s.addNode(trap, s.getPlayerLayer(e->owner()));
    trap->runAction(sequence({delay(0.5f), s.sound("sounds/antirat.wav"), delay(0.15f),
                              animation({"deratizer1.png", "deratizer2.png", "deratizer3.png", "deratizer3.png",
                                         "deratizer3.png", "deratizer3.png"},
                                        4)}));
  }
  s.add(delay(2.5f));
}

// The crews' effects are their sound.
template <const char* Path>
void crewSound(EffectSteps& s) {
  s.add(s.sound(Path));
}
constexpr char kDig[] = "sounds/dig.wav";
constexpr char kRepair[] = "sounds/repair.wav";
constexpr char kFirefighter[] = "sounds/firefighter.wav";
constexpr char kMovers[] = "sounds/movers.wav";
constexpr char kPumpers[] = "sounds/pumpers.wav";

using Script = void (*)(EffectSteps&);
const std::pair<int, Script> kScripts[] = {
    {CardId::Fireball, fireball},
    {CardId::Rats, rats},
    {CardId::Earthquake, earthquake},
    {CardId::Lightning, lightning},
    {CardId::Ray, ray},
    {CardId::Flood, flood},
    {CardId::Rain, rain},
    {CardId::Collapse, collapse},
    {CardId::Fire, fire},
    {CardId::Disturbance, disturbance},
    {CardId::Eye, eye},
    {CardId::DoorBreaker, doorBreaker},
    {CardId::Dynamite, dynamite},
    {CardId::Tunnelers, crewSound<kDig>},
    {CardId::Repairers, crewSound<kRepair>},
    {CardId::Firefighters, crewSound<kFirefighter>},
    {CardId::Movers, crewSound<kMovers>},
    {CardId::Pumpers, crewSound<kPumpers>},
    {CardId::Deratizers, deratizers},
};

}  // namespace

void EffectSteps::appendCardScript() {
  for (const auto& [card, script] : kScripts)
    if (card == record_.card) {
      script(*this);
      return;
    }
}
