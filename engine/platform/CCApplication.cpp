#include "CCApplication.h"

#include <SDL.h>

#include <ctime>

#include "CCCommon.h"
#include "CCDirector.h"
#include "CCEGLView.h"

NS_CC_BEGIN

namespace {

CCApplication* s_sharedApplication = nullptr;

// Where the social network keeps its pages: followed by a page's name.
const char* const kSocialPageBase = "https://social.example/";

// Longest single sleep while waiting for the next frame; short enough to keep
// input responsive, long enough not to spin.
const uint64_t kMaxSleepNanos = 2000000;

}  // namespace

CCApplication::CCApplication() {
  if (s_sharedApplication) CCLogWarning("CCApplication: a second application object was made");
  s_sharedApplication = this;
  setAnimationInterval(m_animationInterval);
}

CCApplication::~CCApplication() {
  if (s_sharedApplication == this) s_sharedApplication = nullptr;
}

CCApplication* CCApplication::sharedApplication() { return s_sharedApplication; }

void CCApplication::setAnimationInterval(double interval) {
  m_animationInterval = interval;
  m_intervalTicks = static_cast<uint64_t>(interval * static_cast<double>(SDL_GetPerformanceFrequency()));
}

ccLanguageType CCApplication::getCurrentLanguage() {
  const std::string& c = m_languageCode;
  if (c == "zh") return kLanguageChinese;
  if (c == "fr") return kLanguageFrench;
  if (c == "it") return kLanguageItalian;
  if (c == "de") return kLanguageGerman;
  if (c == "es") return kLanguageSpanish;
  if (c == "ru") return kLanguageRussian;
  if (c == "ko") return kLanguageKorean;
  if (c == "ja") return kLanguageJapanese;
  if (c == "hu") return kLanguageHungarian;
  if (c == "pt") return kLanguagePortuguese;
  if (c == "ar") return kLanguageArabic;
  return kLanguageEnglish;
}

void CCApplication::quit() { m_quitRequested = true; }

void CCApplication::openURL(const std::string& url) {
  // Only web addresses go to the browser; anything else could start a local program.
  bool web = url.compare(0, 7, "http://") == 0 || url.compare(0, 8, "https://") == 0;
  for (char c : url) web = web && static_cast<unsigned char>(c) >= 0x20 && c != 0x7f;
  if (!web) {
    CCLogWarning("openURL: refused \"%s\"", url.c_str());
    return;
  }
  if (SDL_OpenURL(url.c_str()) != 0) CCLogWarning("cannot open %s: %s", url.c_str(), SDL_GetError());
}

void CCApplication::openSocialPage(const std::string& pageName, const std::string& /*pageId*/) {
  openURL(kSocialPageBase + pageName);
}

bool CCApplication::step() {
  CCEGLView* view = CCDirector::sharedDirector()->getOpenGLView();
  if (view) view->pollEvents();
  if (m_quitRequested) return false;
  uint64_t now = SDL_GetPerformanceCounter();
  // Measured from the start of the last frame: a late frame is not made up.
  if (now - m_lastFrameTicks > m_intervalTicks) {
    m_lastFrameTicks = now;
    CCDirector::sharedDirector()->mainLoop();
    return true;
  }
  uint64_t waitTicks = m_intervalTicks - (now - m_lastFrameTicks);
  uint64_t freq = SDL_GetPerformanceFrequency();
  uint64_t nanos = waitTicks * 1000000000ull / (freq ? freq : 1);
  if (nanos > kMaxSleepNanos) nanos = kMaxSleepNanos;
  struct timespec ts = {0, static_cast<long>(nanos)};
  nanosleep(&ts, nullptr);
  return false;
}

int CCApplication::run() {
  m_lastFrameTicks = SDL_GetPerformanceCounter();
  launchWillStart();
  if (!applicationDidFinishLaunching()) return 0;
  CCEGLView* view = CCDirector::sharedDirector()->getOpenGLView();
  if (view) {
    view->centerWindow();
    view->showWindow();
  }
  // The loop lives while the window does; closing it ends the director, which
  // ends the view on its next frame.
  while (!m_quitRequested && CCDirector::sharedDirector()->getOpenGLView()) {
    step();
  }
  return 0;
}

NS_CC_END
