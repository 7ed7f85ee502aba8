#pragma once

#include <cstdint>
#include <string>

#include "CCApplicationProtocol.h"

NS_CC_BEGIN

// The application object and its frame loop. One per process: the program
// constructs its delegate (a subclass) and calls run().
class CCApplication : public CCApplicationProtocol {
 public:
  CCApplication();
  virtual ~CCApplication();

  static CCApplication* sharedApplication();

  // Runs launchWillStart, applicationDidFinishLaunching and then the frame loop until
  // the window is gone or quit() was called. Returns the exit code.
  int run();
  // Ends the frame loop at its next turn, without ending the director.
  void quit();
  bool isQuitRequested() const { return m_quitRequested; }

  void setAnimationInterval(double interval) override;
  double getAnimationInterval() const { return m_animationInterval; }
  ccLanguageType getCurrentLanguage() override;
  TargetPlatform getTargetPlatform() override { return kTargetLinux; }

  // The system language as its ISO 639 code ("en"); set by the program at start.
  void setLanguageCode(const std::string& code) { m_languageCode = code; }
  const std::string& getLanguageCode() const { return m_languageCode; }

  // The mouse is inside the window (kept for the cursor node of the director).
  void setCursorInside(bool inside) { m_cursorInside = inside; }
  bool isCursorInside() const { return m_cursorInside; }

  // Opens a web page (http or https only) in the desktop's browser (xdg-open). False, with
  // a log line, when the address is refused or no browser could be started.
  static bool openURL(const std::string& url);
  // True for addresses that may go to the browser: http:// and https:// with a host part,
  // without control characters.
  static bool isWebAddress(const std::string& url);
  // A page of the social network: its base address followed by the page name (the
  // page id is not needed by the browser).
  static std::string socialPageAddress(const std::string& pageName);
  virtual void openSocialPage(const std::string& pageName, const std::string& pageId);
  // The cross-promotion page; the program's delegate provides it.
  virtual void openMoreGames() {}
  virtual void setMoreGamesScreenSize() {}

  // One turn of the frame loop: drains window events, then runs a frame when strictly
  // more than one interval has passed since the last one; otherwise it waits a little
  // (never past the next frame's time) and draws nothing. Returns true when a frame ran.
  bool step();

 protected:
  // Runs before applicationDidFinishLaunching (objects the first screen relies on).
  virtual void launchWillStart() {}

 private:
  double m_animationInterval = 1.0 / 60.0;
  uint64_t m_intervalTicks = 0;
  uint64_t m_lastFrameTicks = 0;
  bool m_quitRequested = false;
  bool m_cursorInside = false;
  std::string m_languageCode;
};

NS_CC_END
