#pragma once

#include "ccMacros.h"

NS_CC_BEGIN

typedef enum {
  kLanguageEnglish = 0,
  kLanguageChinese,
  kLanguageFrench,
  kLanguageItalian,
  kLanguageGerman,
  kLanguageSpanish,
  kLanguageRussian,
  kLanguageKorean,
  kLanguageJapanese,
  kLanguageHungarian,
  kLanguagePortuguese,
  kLanguageArabic,
} ccLanguageType;

typedef enum {
  kTargetWindows,
  kTargetLinux,
  kTargetMacOS,
  kTargetAndroid,
  kTargetIphone,
  kTargetIpad,
} TargetPlatform;

// What the application delegate provides.
class CCApplicationProtocol {
 public:
  virtual ~CCApplicationProtocol() {}
  // Sets up the first scene; false ends the program before the first frame.
  virtual bool applicationDidFinishLaunching() = 0;
  // The window was minimised or lost activation.
  virtual void applicationDidEnterBackground() = 0;
  // The window came back.
  virtual void applicationWillEnterForeground() = 0;
  // Termination step, run once after the frame loop ended.
  virtual void shutdownApplication() {}
  virtual void setAnimationInterval(double interval) = 0;
  virtual ccLanguageType getCurrentLanguage() = 0;
  virtual TargetPlatform getTargetPlatform() = 0;
  // Fits the design resolution to the window after a change of the frame size.
  virtual void selectDesignResolution() {}
};

NS_CC_END
