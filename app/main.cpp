// The program's entry: logging first, then the application object, the full-screen
// window, the system language and the frame loop; the termination step at the end.
#include "AppDelegate.h"
#include "CCEGLView.h"
#include "CCFileUtils.h"
#include "LogMgr.h"
#include "SystemLanguage.h"

using namespace cocos2d;

int main(int, char**) {
  LogMgr::initLogog();
  CCFileUtils::setApplicationFolders("Brindlecor", "Mirrowvale");
  CCEGLView::setWindowTitle("Mirrowvale");
  AppDelegate app;
  CCEGLView* view = CCEGLView::sharedOpenGLView();
  if (!view) {
    LOGOG_CRITICAL("No window could be opened");
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
