// The scene of the in-game screen: made once, on first use, and kept for the rest of the
// run. It owns the screen's controller, builds the screen from its layouts and builds it
// again whenever the window's size changes, plays a random music track when it comes on
// screen and stops the looping fire sounds when it leaves.
#pragma once

#include "RotatableScene.h"
#include "ScreenFlow.h"

class GameController;
class StoreController;

class MainScene : public mv::RotatableScene {
 public:
  // The scene, made (and its screen built) on first use.
  static MainScene* scene();
  // The scene when it has been made; null before.
  static MainScene* existing();
  // The scene's controller becomes the screen the event hub shows the game on, and its
  // board view the hub's board view.
  static void makeControllerCurrent();
  // The two above, as the game flow takes the in-game screen.
  static ScreenFlow::GameScreenLink flowLink();
  // One of the tracks music1 to music13, looping.
  static void playRandomMusic();

  GameController* gameController() const { return gameController_; }
  StoreController* storeController() const { return storeController_; }
  cocos2d::CCNode* screenNode() const { return screenNode_; }

  // A new screen node in place of the old; the boards' nodes move over to it.
  void setScreenNode(cocos2d::CCNode* node);

  ~MainScene() override;
  bool init() override;
  void relayout() override;
  void onEnter() override;
  void onEnterTransitionDidFinish() override;
  void onExit() override;

  static constexpr int kScreenZ = 10;

 private:
  MainScene() = default;
  CREATE_FUNC(MainScene)

  cocos2d::CCNode* screenNode_ = nullptr;
  GameController* gameController_ = nullptr;
  StoreController* storeController_ = nullptr;
};
