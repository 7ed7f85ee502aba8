// Spell effects and board animations in the game window: every card's effect plays on the
// board and calls back exactly once, after its time; effects share their nodes; nothing is
// left behind; a rebuild, the end of the game or leaving the screen does not lose or
// repeat a completion.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <set>

#include "NodeTree.h"
#include "CCActionInterval.h"
#include "CCParticleSystemQuad.h"
#include "CCScene.h"
#include "CapturedLog.h"
#include "CardTable.h"
#include "EffectActions.h"
#include "ElemNodes.h"
#include "GameAudio.h"
#include "game_screen_fixture.h"

using namespace cocos2d;
using mvtest::ScriptedPlayer;

namespace gametest {
namespace {

int countNodes(CCNode* node) {
  int n = 0;
  mv::forEachNodeDeep(node, [&](CCNode*) { ++n; });
  return n;
}

class EffectTest : public GameScreenTest {
 protected:
  void SetUp() override {
    GameScreenTest::SetUp();
    if (IsSkipped()) return;
    setGameAudio(&audio);
    startSkirmish();
  }
  void TearDown() override {
    // The sounds this test's effects left in the playing list go with its recorder.
    if (!IsSkipped()) controller().effects().stopEffectSounds();
    setGameAudio(nullptr);
    GameScreenTest::TearDown();
  }

  // A block of the player's tower above ground.
  BoardElem* blockOf(Player& p) {
    BoardElem* e = p.board()->cellAt(20, 20);
    EXPECT_TRUE(e && e->isBlock());
    return e;
  }
  // The record of a card cast by `caster` on one element of `target`'s tower.
  AnimateSpellEvent record(int card, Player& caster, Player& target, BoardElem* elem) {
    AnimateSpellEvent r;
    r.caster = &caster;
    r.target = &target;
    r.card = card;
    r.power = 1;
    if (elem) r.targets = {elem};
    return r;
  }
  // Shows the effect; the counter counts its completions.
  void show(const AnimateSpellEvent& r, int& calls) {
    controller().showSpellEffect(r, *r.caster, SpellCompletion(game().gameToken(), [&calls] { ++calls; }));
  }
  // Runs frames of dt until the counter moves; returns the game time it took (negative
  // when it did not move within `limit`).
  float timeUntil(const int& calls, int from, float limit, float dt = 0.05f) {
    float t = 0;
    while (calls == from && t <= limit) {
      ScriptedPlayer::frames(1, dt);
      t += dt;
    }
    return calls == from ? -1.0f : t;
  }

  RecordingAudio audio;
};

// ---- Every card ---------------------------------------------------------------------------

struct CardEffect {
  int card;
  float seconds;      // the effect's length (-1: by the rats' rule)
  const char* sound;  // the first file it plays (empty: none)
};

TEST_F(EffectTest, EveryCardsEffectPlaysAndCallsBackOnceAfterItsTime) {
  const std::vector<CardEffect> table = {
      {CardId::FourBlock, 0, ""},          {CardId::VertBlock, 0, ""},
      {CardId::HorizBlock, 0, ""},         {CardId::Dome, 0, ""},
      {CardId::Fence, 0, ""},              {CardId::Doors, 0, ""},
      {CardId::Harden, 0, ""},             {CardId::Levitron, 0, ""},
      {CardId::Crystal, 0, ""},            {CardId::Library, 0, ""},
      {CardId::Shield, 0, ""},             {CardId::Housing, 0, ""},
      {CardId::Fireball, 2.0f, "sounds/fireball-enemy.wav"},
      {CardId::Rats, -1, "sounds/spell-rat.wav"},
      {CardId::Earthquake, 6.8f, "sounds/earthquake.wav"},
      {CardId::Lightning, 1.0f, "sounds/lightning.wav"},
      {CardId::Ray, 2.0f, "sounds/spell-ray.wav"},
      {CardId::Flood, 2.5f, "sounds/broken_pipe.wav"},
      {CardId::Rain, 2.5f, "sounds/rain.wav"},
      {CardId::Collapse, 2.65f, "sounds/earthquake.wav"},
      {CardId::Fire, 2.5f, "sounds/fire_start.wav"},
      {CardId::Disturbance, 3.5f, "sounds/disturbance.wav"},
      {CardId::Eye, 1.0f, "sounds/spell-eye.wav"},
      {CardId::DoorBreaker, 2.0f, "sounds/break_door.wav"},
      {CardId::Dynamite, 1.0f, "sounds/bomb-enemy.wav"},
      {CardId::Tunnelers, 0, "sounds/dig.wav"},
      {CardId::Repairers, 0, "sounds/repair.wav"},
      {CardId::Firefighters, 0, "sounds/firefighter.wav"},
      {CardId::Movers, 0, "sounds/movers.wav"},
      {CardId::Pumpers, 0, "sounds/pumpers.wav"},
      {CardId::Deratizers, 2.5f, "sounds/antirat.wav"},
      {CardId::Archmage, 0, ""},
  };
  ASSERT_EQ(table.size(), 32u);
  const int nodesBefore = countNodes(ScriptedPlayer::runningScene());
  for (const CardEffect& c : table) {
    SCOPED_TRACE(CardTable::getCard(c.card)->key);
    const bool onEnemy = CardTable::getCard(c.card)->castOnOpponent;
    Player& target = onEnemy ? enemy() : local();
    BoardElem* elem = blockOf(target);
    if (c.card == CardId::DoorBreaker) elem->setDoors(true);
    audio.clear();
    int calls = 0;
    show(record(c.card, local(), target, elem), calls);
    float seconds = c.seconds;
    if (seconds < 0) seconds = elem->isVisibleToLocalPlayer(&local()) ? 1.5f : 3.5f;
    // Something of it is on the screen while it plays (the effects with a look).
    if (seconds >= 1.0f && c.card != CardId::Eye && c.card != CardId::Fire && c.card != CardId::Earthquake) {
      ScriptedPlayer::frames(1, 0.05f);
      EXPECT_GT(controller().effects().effectNodeCount(), 0u);
    }
    const float took = timeUntil(calls, 0, seconds + 1.0f);
    EXPECT_GE(took, seconds - 0.051f);
    EXPECT_LE(took, seconds + 0.11f);
    if (*c.sound) {
      ASSERT_FALSE(audio.played().empty());
      EXPECT_EQ(audio.played().front(), c.sound);
    } else {
      EXPECT_TRUE(audio.played().empty());
    }
    // Once only, and nothing of it stays.
    ScriptedPlayer::runFor(1.0f, 0.1f);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(controller().effects().effectNodeCount(), 0u);
    EXPECT_EQ(controller().effects().runningEffects(), 0u);
  }
  EXPECT_EQ(countNodes(ScriptedPlayer::runningScene()), nodesBefore);
}

TEST_F(EffectTest, ASpellASheildSparedEndsWithTheReflectorsSound) {
  AnimateSpellEvent r = record(CardId::Eye, local(), enemy(), blockOf(enemy()));
  r.spared = r.targets;
  int calls = 0;
  show(r, calls);
  timeUntil(calls, 0, 2.0f);
  EXPECT_EQ(audio.played(), (std::vector<std::string>{"sounds/spell-eye.wav", "sounds/reflector.wav"}));
}

TEST_F(EffectTest, OurFireballStopsItsFlightSoundAndBurstsWithItsBlast) {
  int calls = 0;
  show(record(CardId::Fireball, enemy(), local(), blockOf(local())), calls);
  timeUntil(calls, 0, 3.0f);
  EXPECT_EQ(audio.played(), (std::vector<std::string>{"sounds/fireball.wav", "sounds/fireball-blast.wav"}));
  // The flight's sound was stopped when it hit.
  ASSERT_FALSE(audio.stopped().empty());
  unsigned int flight = 0;
  for (const RecordingAudio::Call& c : audio.calls())
    if (c.what == "play" && c.path == "sounds/fireball.wav") flight = c.id;
  EXPECT_EQ(audio.stopped().front(), flight);
}

TEST_F(EffectTest, AnEventWithoutTargetsStillRunsItsFixedSteps) {
  int calls = 0;
  show(record(CardId::Fireball, local(), enemy(), nullptr), calls);
  const float took = timeUntil(calls, 0, 3.0f);
  EXPECT_NEAR(took, 2.0f, 0.11f);
}

// ---- Effects together, and their ends ------------------------------------------------------

TEST_F(EffectTest, TwoEffectsAtOnceShareTheirNodesAndEachCallsBackOnce) {
  int fireball = 0, bolt = 0;
  show(record(CardId::Fireball, local(), enemy(), blockOf(enemy())), fireball);
  show(record(CardId::Lightning, local(), enemy(), enemy().board()->cellAt(20, 21)), bolt);
  ScriptedPlayer::frames(1, 0.05f);
  EXPECT_EQ(controller().effects().effectNodeCount(), 2u);
  // The shorter one ends first and takes the other's nodes with it.
  EXPECT_NEAR(timeUntil(bolt, 0, 2.0f), 1.0f, 0.11f);
  EXPECT_EQ(controller().effects().effectNodeCount(), 0u);
  EXPECT_EQ(fireball, 0);
  timeUntil(fireball, 0, 2.0f);
  ScriptedPlayer::runFor(1.0f, 0.1f);
  EXPECT_EQ(fireball, 1);
  EXPECT_EQ(bolt, 1);
}

TEST_F(EffectTest, TheEarthquakeShakesTheGameNodeAndLeavesItWhereItStarted) {
  CCNode* world = controller().gameNode();
  const CCPoint start = world->getPosition();
  int calls = 0;
  show(record(CardId::Earthquake, local(), enemy(), enemy().board()->cellAt(20, 20)), calls);
  ScriptedPlayer::runFor(1.0f, 0.05f);
  EXPECT_FALSE(world->getPosition().equals(start));
  timeUntil(calls, 0, 7.0f, 0.25f);  // a coarse clock too
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(world->getPosition().equals(start)) << world->getPositionX() << " " << start.x;
}

TEST_F(EffectTest, ACompletionRunsOnceThroughARebuildOfTheScreen) {
  int calls = 0;
  show(record(CardId::Fireball, local(), enemy(), blockOf(enemy())), calls);
  ScriptedPlayer::runFor(0.8f, 0.05f);
  ScriptedPlayer::resizeWindow(1024, 768);
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(controller().effects().effectNodeCount(), 0u);  // its look went with the old screen
  const float rest = timeUntil(calls, 0, 3.0f);
  EXPECT_NEAR(rest, 1.2f, 0.15f);
  ScriptedPlayer::runFor(2.0f, 0.1f);
  EXPECT_EQ(calls, 1);
  ScriptedPlayer::resizeWindow(kWidth, kHeight);
}

TEST_F(EffectTest, LeavingTheScreenPausesAnEffectAndComingBackEndsItOnce) {
  int calls = 0;
  show(record(CardId::Lightning, local(), enemy(), blockOf(enemy())), calls);
  ScriptedPlayer::runFor(0.5f, 0.05f);
  ScriptedPlayer::show(CCScene::create());
  ScriptedPlayer::runFor(2.0f, 0.1f);
  EXPECT_EQ(calls, 0);
  ScriptedPlayer::show(MainScene::scene());
  timeUntil(calls, 0, 2.0f);
  ScriptedPlayer::runFor(1.0f, 0.1f);
  EXPECT_EQ(calls, 1);
}

TEST_F(EffectTest, AnEffectOfAGameThatEndedIsDroppedAndTheNextGameStartsClean) {
  int calls = 0;
  show(record(CardId::Disturbance, local(), enemy(), blockOf(enemy())), calls);
  ScriptedPlayer::runFor(0.6f, 0.05f);
  CapturedLog log;
  game().clearGame(false);
  ScriptedPlayer::runFor(4.0f, 0.1f);
  EXPECT_EQ(calls, 0);
  EXPECT_TRUE(log.has("dropped"));
  EXPECT_EQ(controller().effects().runningEffects(), 0u);
  // An effect still playing when the next game starts is stopped, its completion dropped.
  startSkirmish();
  show(record(CardId::Earthquake, local(), enemy(), nullptr), calls);
  ScriptedPlayer::runFor(0.3f, 0.05f);
  game().clearGame(false);
  startSkirmish();
  EXPECT_EQ(controller().effects().runningEffects(), 0u);
  ScriptedPlayer::runFor(8.0f, 0.25f);
  EXPECT_EQ(calls, 0);
}

// ---- Nothing is left behind ----------------------------------------------------------------

TEST_F(EffectTest, AThousandEffectsLeaveTheNodeCountWhereItWas) {
  // Effects and explosions whose bursts are not kept among the effect nodes; each burst ends
  // by itself and goes.
  const int kinds[] = {CardId::Fireball, CardId::Lightning, CardId::Flood, CardId::Disturbance,
                       CardId::DoorBreaker, CardId::Dynamite, CardId::Rain, CardId::Collapse,
                       CardId::Rats, CardId::Deratizers};
  local().board()->cellAt(20, 20)->setDoors(true);
  enemy().board()->cellAt(20, 20)->setDoors(true);
  ScriptedPlayer::runFor(0.5f, 0.1f);
  const int before = countNodes(ScriptedPlayer::runningScene());
  int calls = 0, shown = 0;
  for (int round = 0; round < 10; ++round) {
    for (int i = 0; i < 100; ++i, ++shown) {
      const int card = kinds[i % 10];
      Player& target = (i / 10) % 2 ? local() : enemy();
      show(record(card, (i / 10) % 2 ? enemy() : local(), target, blockOf(target)), calls);
      if (i % 25 == 0) controller().showExplosion(*blockOf(target));
    }
    ScriptedPlayer::runUntil([&] { return calls == shown; }, 10.0f, 0.2f);
  }
  EXPECT_EQ(calls, 1000);
  // The last bursts die out.
  ScriptedPlayer::runFor(4.0f, 0.2f);
  EXPECT_EQ(controller().effects().effectNodeCount(), 0u);
  EXPECT_EQ(countNodes(ScriptedPlayer::runningScene()), before);
}

TEST_F(EffectTest, AMissingParticleOrSoundFileIsLoggedAndPlayGoesOn) {
  setGameAudio(nullptr);  // the engine's audio, which reads the files
  CapturedLog log;
  auto sounds = std::make_shared<EffectSounds>();
  CCNode* node = CCNode::create();
  controller().camera().ourLayer()->addChild(node);
  int after = 0;
  node->runAction(CCSequence::create(ParticleAction::create("particles/no-such-burst.plist", 0.5f),
                                     EffectSoundAction::create(sounds, "sounds/no-such-sound.wav"),
                                     CallAction::create([&after] { ++after; }), nullptr));
  ScriptedPlayer::frames(2, 0.05f);
  EXPECT_EQ(after, 1);
  EXPECT_TRUE(log.has("no-such-burst.plist"));
  EXPECT_TRUE(log.has("no-such-sound.wav"));
  EXPECT_EQ(node->getParent()->getChildrenCount(), controller().camera().ourLayer()->getChildrenCount());
  node->removeFromParentAndCleanup(true);
  setGameAudio(&audio);
}

// ---- Board animations ------------------------------------------------------------------------

TEST_F(EffectTest, ACollapsingBlockFallsIntoTheWaterWithASplashAndGoes) {
  BoardElem* e = local().board()->cellAt(20, 20);
  ElemNodes* nodes = controller().boardView().nodesOf(*e);
  ASSERT_NE(nodes, nullptr);
  CCNode* root = nodes->root();
  root->retain();
  controller().collapseElement(*e);
  EXPECT_EQ(controller().boardView().nodesOf(*e), nullptr);
  EXPECT_EQ(root->getParent(), controller().camera().ourLayer());
  EXPECT_EQ(root->getZOrder(), SpellEffectPlayer::kEffectZ);
  const float startY = root->getPositionY();
  ScriptedPlayer::runFor(0.6f, 0.05f);
  EXPECT_LT(root->getPositionY(), startY);
  ScriptedPlayer::runUntil([&] { return root->getParent() == nullptr; }, 8.0f, 0.1f);
  EXPECT_EQ(root->getParent(), nullptr);
  root->release();
  const std::vector<std::string> played = audio.played();
  ASSERT_EQ(played.size(), 1u);
  EXPECT_TRUE(played[0] == "sounds/SplashSlow.wav" || played[0] == "sounds/SplashFast.wav" ||
              played[0] == "sounds/SplashSmall.wav")
      << played[0];
  // An element without a node to fall is only logged.
  CapturedLog log;
  controller().collapseElement(*e);
  EXPECT_TRUE(log.has("layer is null when collapsing element"));
}

TEST_F(EffectTest, AnExplosionBurstsOverTheElementForASecond) {
  controller().showExplosion(*blockOf(enemy()));
  ASSERT_EQ(controller().effects().effectNodeCount(), 1u);
  ScriptedPlayer::frames(1, 0.05f);
  EXPECT_EQ(audio.played(), std::vector<std::string>{"sounds/bomb-enemy.wav"});
  EXPECT_NE(ScriptedPlayer::findType<CCParticleSystemQuad>(controller().camera().enemyLayer()), nullptr);
  ScriptedPlayer::runFor(1.1f, 0.05f);
  EXPECT_EQ(controller().effects().effectNodeCount(), 0u);
  controller().showExplosion(*blockOf(local()));
  ScriptedPlayer::frames(1, 0.05f);
  EXPECT_EQ(audio.played().back(), "sounds/bomb.wav");
}

// ---- Each effect seen frame by frame --------------------------------------------------------

// What a player sees of an effect: a strip of frames around its target is written, and the
// frame at its height differs from the same view without it where it acts.
struct EffectLook {
  const char* name;
  int card;       // a card's effect; kCollapse and kExplosion the board's own animations
  bool onEnemy;   // the target's tower
  int x, y;       // the target cell
  float focus;    // the view's scale while it plays
  float height;   // seconds after the start: the effect at its height
  float length;   // seconds the strip covers
  int changed = 1500;  // pixels at least that its height changes around the target
  float box = 320;     // the side of the window square around the target where it acts
};
constexpr int kCollapse = -1, kExplosion = -2;

void PrintTo(const EffectLook& e, std::ostream* os) { *os << e.name; }

class EffectLookTest : public EffectTest, public ::testing::WithParamInterface<EffectLook> {
 protected:
  // A small tower with its rooms in sight on both sides, for the effects to act on.
  void buildTowers() {
    const struct {
      int x, y;
      ElemKind kind;
      RoomType room;
    } tower[] = {{19, 20, ElemKind::FourBlock, RoomType::Crystal},
                 {21, 20, ElemKind::FourBlock, RoomType::Housing},
                 {20, 21, ElemKind::FourBlock, RoomType::Library}};
    for (Player* p : {&local(), &enemy()}) {
      for (const auto& t : tower) {
        BoardElem* e = p->board()->cellAt(t.x, t.y);
        ASSERT_NE(e, nullptr);
        e->setKind(t.kind);
        e->setRoom(t.room);
        e->setRoomPower(1);
      }
      for (int x = 19; x <= 21; ++x)
        for (int y = 20; y <= 21; ++y) {
          p->board()->cellAt(x, y)->setRevealed(true);
          p->board()->cellAt(x, y)->refresh();
        }
    }
    controller().updateEnemyTowerLabel();
  }
  // How many pixels of the window square around `centre` differ clearly between the frames.
  static int changedAround(const mvtest::Frame& a, const mvtest::Frame& b, const CCRect& box) {
    int changed = 0;
    for (int y = static_cast<int>(box.getMinY()); y < static_cast<int>(box.getMaxY()); ++y)
      for (int x = static_cast<int>(box.getMinX()); x < static_cast<int>(box.getMaxX()); ++x) {
        const mvtest::Rgb p = a.at(x, y), q = b.at(x, y);
        if (std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b) > 60) ++changed;
      }
    return changed;
  }
  // A square of the window (origin top left) around a point of the scene, inside the window.
  static CCRect boxAround(const CCPoint& scenePoint, float size) {
    const CCPoint at = ScriptedPlayer::toWindow(scenePoint);
    const CCSize win = ScriptedPlayer::windowSize();
    const float x = std::max(0.0f, std::min(win.width - size, at.x - size * 0.5f));
    const float y = std::max(0.0f, std::min(win.height - size, at.y - size * 0.5f));
    return CCRect(x, y, std::min(size, win.width), std::min(size, win.height));
  }
};

TEST_P(EffectLookTest, ShowsItsSubjectAtItsHeight) {
  const EffectLook& look = GetParam();
  buildTowers();
  Player& target = look.onEnemy ? enemy() : local();
  BoardElem* elem = target.board()->cellAt(look.x, look.y);
  ASSERT_NE(elem, nullptr);
  if (look.card == CardId::DoorBreaker) elem->setDoors(true);
  // The view settles where the effect puts it; that is the board without the effect.
  controller().camera().focusElement(elem, look.focus);
  ScriptedPlayer::runFor(1.0f, 0.05f);
  CCNode* layer = controller().getPlayerLayer(&target);
  const CCPoint centre = layer->convertToWorldSpace(controller().boardView().elemCentre(*elem));
  const mvtest::Frame without = ScriptedPlayer::grab();
  const CCRect box = boxAround(centre, look.box);

  int calls = 0;
  std::srand(7);  // the collapse's fall and turn
  if (look.card == kCollapse) {
    controller().collapseElement(*elem);
  } else if (look.card == kExplosion) {
    controller().showExplosion(*elem);
  } else {
    show(record(look.card, local(), target, elem), calls);
  }
  std::vector<mvtest::Frame> strip;
  mvtest::Frame peak;
  constexpr int kStripFrames = 8;
  const float step = look.length / kStripFrames;
  float t = 0;
  for (int i = 0; i < kStripFrames; ++i) {
    const float next = step * (i + 1);
    if (t < look.height && look.height <= next) {
      ScriptedPlayer::runFor(look.height - t, 0.025f);
      t = look.height;
      peak = ScriptedPlayer::grab();
    }
    ScriptedPlayer::runFor(next - t, 0.025f);
    t = next;
    strip.push_back(ScriptedPlayer::grab());
  }
  ASSERT_GT(peak.width, 0);
  const int changed = changedAround(without, peak, box);
  EXPECT_GE(changed, look.changed) << "the effect barely shows where it acts";
  const CCSize win = ScriptedPlayer::windowSize();
  ScriptedPlayer::writeStrip(std::string("effect-") + look.name, {peak}, CCRect(0, 0, win.width, win.height));
  ScriptedPlayer::writeStrip(std::string("effect-") + look.name + "-strip", strip, boxAround(centre, 360));
  // It ends, and nothing of it stays.
  if (look.card >= 0) {
    EXPECT_TRUE(ScriptedPlayer::runUntil([&] { return calls == 1; }, 8.0f, 0.1f));
  }
  ScriptedPlayer::runFor(1.5f, 0.1f);
  EXPECT_EQ(controller().effects().effectNodeCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Effects, EffectLookTest,
    ::testing::Values(EffectLook{"fireball", CardId::Fireball, true, 20, 20, 1.0f, 1.45f, 2.0f},
                      EffectLook{"rats", CardId::Rats, true, 20, 21, 2.0f, 1.0f, 1.6f, 600},  // one rat
                      EffectLook{"earthquake", CardId::Earthquake, true, 20, 20, 2.0f, 1.0f, 2.0f},
                      EffectLook{"lightning", CardId::Lightning, true, 20, 21, 1.0f, 0.55f, 1.0f},
                      // The ray reaches its target as it ends: its path is where it acts.
                      EffectLook{"ray", CardId::Ray, true, 20, 21, 2.0f, 1.95f, 2.0f, 1500, 640},
                      EffectLook{"flood", CardId::Flood, true, 19, 20, 2.0f, 1.2f, 2.4f},
                      EffectLook{"rain", CardId::Rain, true, 20, 20, 1.0f, 1.5f, 2.4f},
                      EffectLook{"collapse", CardId::Collapse, true, 21, 20, 2.0f, 1.0f, 2.6f},
                      EffectLook{"disturbance", CardId::Disturbance, true, 20, 20, 2.0f, 1.2f, 3.2f},
                      EffectLook{"doorbreaker", CardId::DoorBreaker, true, 20, 20, 2.0f, 0.8f, 2.0f},
                      EffectLook{"dynamite", CardId::Dynamite, true, 20, 20, 2.0f, 0.7f, 1.0f},
                      EffectLook{"deratizers", CardId::Deratizers, false, 21, 20, 2.0f, 1.0f, 2.4f},
                      EffectLook{"collapse-fall", kCollapse, false, 20, 21, 1.0f, 1.0f, 2.4f},
                      EffectLook{"explosion", kExplosion, false, 20, 20, 1.0f, 0.3f, 1.0f}),
    [](const ::testing::TestParamInfo<EffectLook>& info) {
      std::string name = info.param.name;
      for (char& c : name)
        if (c == '-') c = '_';
      return name;
    });

}  // namespace
}  // namespace gametest
