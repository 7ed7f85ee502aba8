#pragma once

// The engine's log functions. They format like printf and send the text into the
// logging library under the group "cocos2d".
namespace cocos2d {

// Longest text one call can log; longer output is cut at kMaxLogLength - 1 bytes.
static const int kMaxLogLength = 16 * 1024;

void CCLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
void CCLogInfo(const char* format, ...) __attribute__((format(printf, 1, 2)));
void CCLogWarning(const char* format, ...) __attribute__((format(printf, 1, 2)));
void CCLogError(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Tells the player something went wrong: logged at error level, written to standard error,
// and shown in a modal box that waits to be closed (when there is a display to show it on).
void CCMessageBox(const char* message, const char* title);

}  // namespace cocos2d
