#include "logog/logog.hpp"

#include <algorithm>
#include <atomic>
#include <cstdio>

namespace logog {
namespace detail {

// The registry of targets and the lock that serialises output.
struct Registry {
  std::mutex mutex;
  std::vector<Target*> targets;
  bool initialized = false;
};

Registry& registry() {
  static Registry* r = new Registry;  // never destroyed: call sites may log during exit
  return *r;
}

std::atomic<LOGOG_LEVEL_TYPE>& defaultLevel() {
  static std::atomic<LOGOG_LEVEL_TYPE> level{LOGOG_LEVEL_ALL};
  return level;
}

}  // namespace detail

const char* LevelName(LOGOG_LEVEL_TYPE level) {
  if (level <= LOGOG_LEVEL_NONE) return "none";
  if (level <= LOGOG_LEVEL_EMERGENCY) return "emergency";
  if (level <= LOGOG_LEVEL_ALERT) return "alert";
  if (level <= LOGOG_LEVEL_CRITICAL) return "critical";
  if (level <= LOGOG_LEVEL_ERROR) return "error";
  if (level <= LOGOG_LEVEL_WARN3) return "warning";
  if (level <= LOGOG_LEVEL_INFO) return "info";
  if (level <= LOGOG_LEVEL_DEBUG) return "debug";
  return "all";
}

static std::string formatTail(const Topic& topic) {
  std::string out = LevelName(topic.level);
  out += ": {";
  out += topic.group ? topic.group : "";
  out += "} [";
  out += topic.category ? topic.category : "";
  out += "] ";
  out += topic.message;
  out += '\n';
  return out;
}

std::string FormatterGCC::Format(const Topic& topic) {
  return std::string(topic.file ? topic.file : "") + ":" + std::to_string(topic.line) + ": " +
         formatTail(topic);
}

std::string FormatterMSVC::Format(const Topic& topic) {
  return std::string(topic.file ? topic.file : "") + "(" + std::to_string(topic.line) + ") : " +
         formatTail(topic);
}

Target::Target() {
  auto& r = detail::registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  r.targets.push_back(this);
}

Target::~Target() { Detach(); }

void Target::Detach() {
  auto& r = detail::registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  r.targets.erase(std::remove(r.targets.begin(), r.targets.end(), this), r.targets.end());
}

void Target::Receive(const Topic& topic) {
  static FormatterGCC fallback;
  Formatter& f = formatter_ ? *formatter_ : fallback;
  Output(f.Format(topic));
}

void Target::Write(const std::string& line) {
  auto& r = detail::registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  Output(line);
}

Message::Message(LOGOG_LEVEL_TYPE level, const char* file, int line, const char* group,
                 const char* category)
    : level_(level), file_(file), line_(line), group_(group), category_(category) {}

void Message::Transmit(const char* format, ...) {
  va_list args;
  va_start(args, format);
  TransmitV(format, args);
  va_end(args);
}

void Message::TransmitV(const char* format, va_list args) {
  if (!format) format = "";
  char stackBuf[1024];
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(stackBuf, sizeof stackBuf, format, copy);
  va_end(copy);
  if (n < 0) {
    TransmitText("(unformattable log message)");
    return;
  }
  if (static_cast<size_t>(n) < sizeof stackBuf) {
    TransmitText(std::string(stackBuf, static_cast<size_t>(n)));
    return;
  }
  std::string big(static_cast<size_t>(n) + 1, '\0');
  std::vsnprintf(&big[0], big.size(), format, args);
  big.resize(static_cast<size_t>(n));
  TransmitText(big);
}

void Message::TransmitText(const std::string& text) {
  if (level_ > GetDefaultLevel()) return;
  auto& r = detail::registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  if (!r.initialized) return;
  Topic topic;
  topic.level = level_;
  topic.file = file_;
  topic.line = line_;
  topic.group = group_;
  topic.category = category_;
  topic.message = text;
  for (Target* t : r.targets) t->Receive(topic);
}

void Initialize() {
  auto& r = detail::registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  r.initialized = true;
}

void Shutdown() {
  auto& r = detail::registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  r.initialized = false;
}

bool IsInitialized() {
  auto& r = detail::registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  return r.initialized;
}

void SetDefaultLevel(LOGOG_LEVEL_TYPE level) { detail::defaultLevel() = level; }
LOGOG_LEVEL_TYPE GetDefaultLevel() { return detail::defaultLevel(); }

std::u16string Utf8ToUtf16(const std::string& text) {
  std::u16string out;
  out.reserve(text.size());
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  size_t i = 0, n = text.size();
  while (i < n) {
    unsigned c = s[i];
    unsigned cp;
    size_t len;
    if (c < 0x80) { cp = c; len = 1; }
    else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; len = 2; }
    else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; len = 3; }
    else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; len = 4; }
    else { out.push_back(0xFFFD); ++i; continue; }
    if (i + len > n) { out.push_back(0xFFFD); ++i; continue; }
    bool ok = true;
    for (size_t k = 1; k < len; ++k) {
      if ((s[i + k] & 0xC0) != 0x80) { ok = false; break; }
      cp = (cp << 6) | (s[i + k] & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are malformed.
    static const unsigned minimum[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (!ok || cp < minimum[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += len;
  }
  return out;
}

}  // namespace logog
