#include "CCApplication.h"

#include <SDL.h>

#include <fcntl.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

#include "CCCommon.h"
#include "CCDirector.h"
#include "CCEGLView.h"

NS_CC_BEGIN

namespace {

CCApplication* s_sharedApplication = nullptr;

// Where the social network keeps its pages: followed by a page's name.
const char* const kSocialPageBase = "https://social.example/";

// Runs program with one argument from a grandchild, so that it is never left as our zombie
// and we never wait for it. True once the program itself runs; false when it could not be
// started, with the reason in *error (0 when the reason is unknown).
bool startDetached(const char* program, const std::string& argument, int* error) {
  *error = 0;
  // The grandchild reports a failed exec through this pipe; a successful exec closes it.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) {
    *error = errno;
    return false;
  }
  pid_t child = fork();
  if (child < 0) {
    *error = errno;
    close(report[0]);
    close(report[1]);
    return false;
  }
  if (child == 0) {
    close(report[0]);
    pid_t grandchild = fork();
    if (grandchild == 0) {
      char* argv[] = {const_cast<char*>(program), const_cast<char*>(argument.c_str()), nullptr};
      execvp(program, argv);
      int failure = errno;
      ssize_t written = write(report[1], &failure, sizeof failure);
      (void)written;
      _exit(127);
    }
    _exit(grandchild < 0 ? 1 : 0);
  }
  close(report[1]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int failure = 0;
  ssize_t n;
  do {
    n = read(report[0], &failure, sizeof failure);
  } while (n < 0 && errno == EINTR);
  close(report[0]);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
  if (n == static_cast<ssize_t>(sizeof failure)) {
    *error = failure;
    return false;
  }
  return true;
}

// Waiting for the next frame: the loop sleeps, at most this long at a time so that window
// events are taken promptly, until the frame is this close; from then on it only yields.
// A sleep may end later than asked (timer slack, a busy machine); a yield returns at once,
// so the frame starts on time.
const uint64_t kMaxSleepNanos = 2000000;
const uint64_t kYieldOnlyNanos = 1000000;

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

bool CCApplication::isWebAddress(const std::string& url) {
  auto startsWith = [&](const char* prefix) {
    return url.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
  };
  if (!startsWith("http://") && !startsWith("https://")) return false;
  for (unsigned char c : url)
    if (c < 0x20 || c == 0x7F) return false;
  return url.size() > 8;
}

bool CCApplication::openURL(const std::string& url) {
  // Only web addresses go to the browser; anything else could start a local program.
  if (!isWebAddress(url)) {
    CCLogWarning("openURL: refused \"%s\"", url.c_str());
    return false;
  }
  int error = 0;
  if (!startDetached("xdg-open", url, &error)) {
    CCLogError("Cannot open %s: no browser could be started (xdg-open: %s)", url.c_str(),
               error ? std::strerror(error) : "did not start");
    return false;
  }
  return true;
}

std::string CCApplication::socialPageAddress(const std::string& pageName) { return kSocialPageBase + pageName; }

void CCApplication::openSocialPage(const std::string& pageName, const std::string& /*pageId*/) {
  openURL(socialPageAddress(pageName));
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
  const uint64_t waitTicks = m_intervalTicks - (now - m_lastFrameTicks);
  const uint64_t freq = SDL_GetPerformanceFrequency();
  const uint64_t waitNanos = waitTicks * 1000000000ull / (freq ? freq : 1);
  if (waitNanos <= kYieldOnlyNanos) {
    sched_yield();
    return false;
  }
  const uint64_t nanos = std::min(waitNanos - kYieldOnlyNanos, kMaxSleepNanos);
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
