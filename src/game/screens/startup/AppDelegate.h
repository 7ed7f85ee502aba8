// The game's application object: start-up, going to the background and back, the
// design resolution, and the termination step.
#pragma once

#include "CCApplication.h"

class AppDelegate : public cocos2d::CCApplication {
 public:
  AppDelegate();
  ~AppDelegate() override;

  bool applicationDidFinishLaunching() override;
  void applicationDidEnterBackground() override;
  void applicationWillEnterForeground() override;
  // Run by main after the frame loop ended.
  void shutdownApplication() override;
  // The design resolution follows the frame: one design unit is one pixel.
  void selectDesignResolution() override;
  // The cross-promotion page.
  void openMoreGames() override;
  void setMoreGamesScreenSize() override;

  // Applies the "music" setting (absent means on) to the music volume.
  static void applyMusicSetting();
  // The music volume the "music" setting asks for.
  static float musicVolumeFor(bool musicOn) { return musicOn ? 1.0f : 0.0f; }

 protected:
  // The cross-promotion object is ready before the first screen.
  void launchWillStart() override;
};
