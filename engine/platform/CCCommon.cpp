#include "CCCommon.h"

#include <SDL.h>

#include <cstdarg>
#include <cstdio>

#include "logog/logog.hpp"

namespace cocos2d {

namespace {

// Formats into a fixed buffer; output that does not fit is cut and stays terminated.
void formatInto(char (&buffer)[kMaxLogLength], const char* format, va_list args) {
  int n = std::vsnprintf(buffer, sizeof(buffer), format ? format : "", args);
  if (n < 0) buffer[0] = '\0';
  buffer[kMaxLogLength - 1] = '\0';
}

}  // namespace

#define MV_CCLOG_BODY(LEVEL)                                                                 \
  char buffer[kMaxLogLength];                                                                \
  va_list args;                                                                              \
  va_start(args, format);                                                                    \
  formatInto(buffer, format, args);                                                          \
  va_end(args);                                                                              \
  if ((LEVEL) <= ::logog::GetDefaultLevel()) {                                               \
    static ::logog::Message site((LEVEL), __FILE__, __LINE__, LOGOG_GROUP, LOGOG_CATEGORY); \
    site.TransmitText(buffer);                                                               \
  }

void CCLog(const char* format, ...) { MV_CCLOG_BODY(::logog::LOGOG_LEVEL_INFO) }
void CCLogInfo(const char* format, ...) { MV_CCLOG_BODY(::logog::LOGOG_LEVEL_INFO) }
void CCLogWarning(const char* format, ...) { MV_CCLOG_BODY(::logog::LOGOG_LEVEL_WARN) }
void CCLogError(const char* format, ...) { MV_CCLOG_BODY(::logog::LOGOG_LEVEL_ERROR) }

void CCMessageBox(const char* message, const char* title) {
  const char* text = message ? message : "";
  const char* caption = title ? title : "";
  CCLogError("%s: %s", caption, text);
  // Also where a player who started us from a terminal sees it, before any log is set up.
  std::fprintf(stderr, "%s: %s\n", caption, text);
  std::fflush(stderr);
  // Waits for the player to close it; without a display it fails at once.
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, nullptr) != 0)
    CCLogWarning("The message box could not be shown: %s", SDL_GetError());
}

}  // namespace cocos2d
