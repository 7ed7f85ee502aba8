// The main menu's scene, made once and kept, and the input layer that lets a click, a touch
// or ESC end the title intro.
#pragma once

#include "CCLayer.h"
#include "RotatableScene.h"

class MenuController;

class MenuScene : public mv::RotatableScene {
 public:
  static constexpr const char* kWindSound = "sounds/wind.mp3";
  static constexpr const char* kMenuMusic = "music/menu.mp3";

  // The one menu scene, made on first use.
  static MenuScene* scene();

  ~MenuScene() override;
  bool init() override;
  void relayout() override;
  void onEnter() override;
  void onEnterTransitionDidFinish() override;

  MenuController* controller() const { return controller_; }
  cocos2d::CCNode* content() const { return content_; }
  bool introPending() const { return introPending_; }

 private:
  MenuScene() = default;
  CREATE_FUNC(MenuScene)
  // The content no longer fits the window (its size changed while the scene was away).
  bool contentOutOfSize() const;
  // What shows when the menu's file cannot be loaded: a plain message.
  cocos2d::CCNode* missingMenuNotice() const;

  bool introPending_ = true;
  cocos2d::CCNode* content_ = nullptr;
  MenuController* controller_ = nullptr;
};

// Takes touches while the intro runs and ends it at their release; ESC ends it too, and
// hides the scenario list.
class MenuTouchLayer : public cocos2d::CCLayer {
 public:
  static MenuTouchLayer* create(MenuController* controller);

  bool ccTouchesBegan(cocos2d::CCSet* touches, int activeTouches, cocos2d::CCEvent* event) override;
  void ccTouchesEnded(cocos2d::CCSet* touches, int activeTouches, cocos2d::CCEvent* event) override;
  void keyDown(cocos2d::CCKeyboardEvent* event, cocos2d::CCEvent* pEvent) override;

 private:
  bool initWithController(MenuController* controller);

  MenuController* controller_ = nullptr;  // owns the screen this layer is part of
};
