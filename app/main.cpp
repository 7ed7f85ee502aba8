// The program's entry: logging first, then the application object, the full-screen
// window, the system language and the frame loop; the termination step at the end.
#include "AppDelegate.h"
#include "CCEGLView.h"
#include "CCFileUtils.h"
#include "Folders.h"
#include "LogMgr.h"
#include "SystemLanguage.h"
#include "WindowLimits.h"

using namespace cocos2d;

// Sanitizer builds: the system's D-Bus library (which SDL's video start-up talks to)
// keeps allocations for the life of the process; they are not ours to report.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

int main(int, char**) {
  LogMgr::initLogog();
  CCFileUtils::setApplicationFolders(mv::kOrganisationFolder, mv::kApplicationFolder);
  CCEGLView::setWindowTitle("Mirrowvale");
  CCEGLView::setWindowIconFile("icon.png");
  CCEGLView::setMinimumWindowSize(mv::kMinWindowWidth, mv::kMinWindowHeight);
  AppDelegate app;
  CCEGLView* view = CCEGLView::sharedOpenGLView();
  if (!view) {
    // The view told the player why; this start's log file keeps it with all before it.
    LOGOG_CRITICAL("No window could be opened");
    LogMgr::instance().init();
    app.shutdownApplication();
    return 1;
  }
  CCEGLView::setFullScreen(true);
  CCSize desktop = view->getDesktopSize();
  view->setFrameSize(desktop.width, desktop.height);
  view->goFullScreen(static_cast<int>(desktop.width), static_cast<int>(desktop.height));
  app.setLanguageCode(mv::systemLanguage());
  int code = app.run();
  app.shutdownApplication();
  return code;
}
