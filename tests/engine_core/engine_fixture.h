#pragma once

#include <gtest/gtest.h>

#include "CCActionManager.h"
#include "CCAutoreleasePool.h"
#include "CCKeyboardDispatcher.h"
#include "CCKeypadDispatcher.h"
#include "CCMouseDispatcher.h"
#include "CCScheduler.h"
#include "CCTouchDispatcher.h"

// Fresh input dispatchers for every test; the autorelease pool drains after each test,
// as the director does after each frame.
class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto* touch = new cocos2d::CCTouchDispatcher();
    touch->init();
    cocos2d::CCTouchDispatcher::setSharedDispatcher(touch);
    touch->release();
    auto* mouse = new cocos2d::CCMouseDispatcher();
    mouse->init();
    cocos2d::CCMouseDispatcher::setSharedDispatcher(mouse);
    mouse->release();
    auto* keyboard = new cocos2d::CCKeyboardDispatcher();
    cocos2d::CCKeyboardDispatcher::setSharedDispatcher(keyboard);
    keyboard->release();
    auto* keypad = new cocos2d::CCKeypadDispatcher();
    cocos2d::CCKeypadDispatcher::setSharedDispatcher(keypad);
    keypad->release();
  }
  void TearDown() override { cocos2d::CCPoolManager::sharedPoolManager()->pop(); }

  // One frame of the shared scheduler (which also runs the shared action manager).
  static void tick(float dt) {
    cocos2d::CCActionManager::sharedManager();
    cocos2d::CCScheduler::sharedScheduler()->update(dt);
  }
};
