#include "CCCommon.h"

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
  CCLogError("%s: %s", title ? title : "", message ? message : "");
}

}  // namespace cocos2d
