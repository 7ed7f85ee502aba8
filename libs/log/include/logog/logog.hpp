// A compact logging library: levels, groups, categories, printf-style messages,
// targets (console, file) and formatters. One static Message object per call site.
#pragma once

#include <cstdarg>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace logog {

using LOGOG_LEVEL_TYPE = int;

enum : LOGOG_LEVEL_TYPE {
  LOGOG_LEVEL_NONE = 0,
  LOGOG_LEVEL_EMERGENCY = 8,
  LOGOG_LEVEL_ALERT = 16,
  LOGOG_LEVEL_CRITICAL = 24,
  LOGOG_LEVEL_ERROR = 32,
  LOGOG_LEVEL_WARN = 40,
  LOGOG_LEVEL_WARN1 = 48,
  LOGOG_LEVEL_WARN2 = 56,
  LOGOG_LEVEL_WARN3 = 64,
  LOGOG_LEVEL_INFO = 72,
  LOGOG_LEVEL_DEBUG = 80,
  LOGOG_LEVEL_ALL = 88,
};

// Name of a level as the formatters print it ("error", "warning", ...).
const char* LevelName(LOGOG_LEVEL_TYPE level);

// One formatted message on its way to the targets.
struct Topic {
  LOGOG_LEVEL_TYPE level = LOGOG_LEVEL_NONE;
  const char* file = "";
  int line = 0;
  const char* group = "";
  const char* category = "";
  std::string message;  // UTF-8
};

class Formatter {
 public:
  virtual ~Formatter() = default;
  virtual std::string Format(const Topic& topic) = 0;
};

// "file:line: level: {group} [category] message\n"
class FormatterGCC : public Formatter {
 public:
  std::string Format(const Topic& topic) override;
};

// "file(line) : level: {group} [category] message\n"
class FormatterMSVC : public Formatter {
 public:
  std::string Format(const Topic& topic) override;
};

// A destination of messages. Targets register themselves with the library on
// construction and leave it on destruction.
class Target {
 public:
  Target();
  virtual ~Target();
  Target(const Target&) = delete;
  Target& operator=(const Target&) = delete;

  void SetFormatter(Formatter& formatter) { formatter_ = &formatter; }
  Formatter* GetFormatter() const { return formatter_; }

  // Called with the library's lock held.
  void Receive(const Topic& topic);
  // Hands a line formatted earlier (by another target) to this one, under the library's lock.
  void Write(const std::string& line);

 protected:
  // One formatted line, ending in a newline.
  virtual void Output(const std::string& line) = 0;
  // Takes the target out of the library's list, so no thread hands it another line.
  // A target's destructor calls it first: its members and its Output are gone
  // before the base destructor runs.
  void Detach();

 private:
  Formatter* formatter_ = nullptr;
};

// Writes to standard output.
class Cout : public Target {
 public:
  ~Cout() override { Detach(); }

 protected:
  void Output(const std::string& line) override;
};

// Writes to standard error.
class Cerr : public Target {
 public:
  ~Cerr() override { Detach(); }

 protected:
  void Output(const std::string& line) override;
};

// Appends to a file as UTF-16 (little endian, with a byte-order mark on a new file).
// A file that cannot be opened leaves the target silent; IsOpen tells.
class LogFile : public Target {
 public:
  explicit LogFile(const char* path);
  ~LogFile() override;
  bool IsOpen() const { return file_ != nullptr; }

 protected:
  void Output(const std::string& line) override;

 private:
  std::FILE* file_ = nullptr;
};

// Collects formatted lines in memory; handy for tests and in-game consoles.
class StringTarget : public Target {
 public:
  ~StringTarget() override { Detach(); }
  std::vector<std::string> Lines() const;
  void Clear();

 protected:
  void Output(const std::string& line) override;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
};

// A call site's message: level, source position, group and category fixed at
// first use, formatted anew on every Transmit.
class Message {
 public:
  Message(LOGOG_LEVEL_TYPE level, const char* file, int line, const char* group,
          const char* category);
  void Transmit(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void TransmitV(const char* format, va_list args);
  void TransmitText(const std::string& text);

 private:
  LOGOG_LEVEL_TYPE level_;
  const char* file_;
  int line_;
  const char* group_;
  const char* category_;
};

// Starts and stops the library. Messages sent outside Initialize/Shutdown reach no target.
void Initialize();
void Shutdown();
bool IsInitialized();

// Messages above this level are dropped (default: all).
void SetDefaultLevel(LOGOG_LEVEL_TYPE level);
LOGOG_LEVEL_TYPE GetDefaultLevel();

// UTF-8 to UTF-16LE; malformed sequences become U+FFFD.
std::u16string Utf8ToUtf16(const std::string& text);

}  // namespace logog

#ifndef LOGOG_GROUP
#define LOGOG_GROUP ""
#endif
#ifndef LOGOG_CATEGORY
#define LOGOG_CATEGORY ""
#endif

#define LOGOG_INITIALIZE() ::logog::Initialize()
#define LOGOG_SHUTDOWN() ::logog::Shutdown()

#define LOGOG_LEVEL_GROUP_CATEGORY_MESSAGE(level, group, category, ...)                    \
  do {                                                                                      \
    if ((level) <= ::logog::GetDefaultLevel()) {                                            \
      static ::logog::Message logog_call_site_((level), __FILE__, __LINE__, (group),        \
                                               (category));                                 \
      logog_call_site_.Transmit(__VA_ARGS__);                                               \
    }                                                                                       \
  } while (0)

#define LOGOG_EMERGENCY(...) \
  LOGOG_LEVEL_GROUP_CATEGORY_MESSAGE(::logog::LOGOG_LEVEL_EMERGENCY, LOGOG_GROUP, LOGOG_CATEGORY, __VA_ARGS__)
#define LOGOG_ALERT(...) \
  LOGOG_LEVEL_GROUP_CATEGORY_MESSAGE(::logog::LOGOG_LEVEL_ALERT, LOGOG_GROUP, LOGOG_CATEGORY, __VA_ARGS__)
#define LOGOG_CRITICAL(...) \
  LOGOG_LEVEL_GROUP_CATEGORY_MESSAGE(::logog::LOGOG_LEVEL_CRITICAL, LOGOG_GROUP, LOGOG_CATEGORY, __VA_ARGS__)
#define LOGOG_ERROR(...) \
  LOGOG_LEVEL_GROUP_CATEGORY_MESSAGE(::logog::LOGOG_LEVEL_ERROR, LOGOG_GROUP, LOGOG_CATEGORY, __VA_ARGS__)
#define LOGOG_WARN(...) \
  LOGOG_LEVEL_GROUP_CATEGORY_MESSAGE(::logog::LOGOG_LEVEL_WARN, LOGOG_GROUP, LOGOG_CATEGORY, __VA_ARGS__)
#define LOGOG_INFO(...) \
  LOGOG_LEVEL_GROUP_CATEGORY_MESSAGE(::logog::LOGOG_LEVEL_INFO, LOGOG_GROUP, LOGOG_CATEGORY, __VA_ARGS__)
#define LOGOG_DEBUG(...) \
  LOGOG_LEVEL_GROUP_CATEGORY_MESSAGE(::logog::LOGOG_LEVEL_DEBUG, LOGOG_GROUP, LOGOG_CATEGORY, __VA_ARGS__)
