// The lobby's scene: made once and kept, it holds the lobby screen's controller (the event
// hub's lobby screen from the scene's making on) and lays the screen out anew each time it
// is entered.
#pragma once

#include "RotatableScene.h"

class LobbyController;

class LobbyScene : public mv::RotatableScene {
 public:
  // The one lobby scene, made on first use.
  static LobbyScene* scene();

  ~LobbyScene() override;
  bool init() override;
  void relayout() override;
  void onEnterTransitionDidFinish() override;
  // The text box lets the keys go: another screen takes them now.
  void onExit() override;

  LobbyController* controller() const { return controller_; }
  cocos2d::CCNode* screen() const { return screen_; }

 private:
  LobbyScene() = default;
  CREATE_FUNC(LobbyScene)

  cocos2d::CCNode* screen_ = nullptr;
  LobbyController* controller_ = nullptr;
};
