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

  MenuController* controller() const { return m_controller; }
  cocos2d::CCNode* content() const { return m_content; }
  bool introPending() const { return m_introPending; }

 private:
  MenuScene() = default;
  CREATE_FUNC(MenuScene)
  // The content no longer fits the window (its size changed while the scene was away).
  bool contentOutOfSize() const;
  // What shows when the menu's file cannot be loaded: a plain message.
  cocos2d::CCNode* missingMenuNotice() const;

  bool m_introPending = true;
  cocos2d::CCNode* m_content = nullptr;
  MenuController* m_controller = nullptr;
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

  MenuController* m_controller = nullptr;  // owns the screen this layer is part of
};
