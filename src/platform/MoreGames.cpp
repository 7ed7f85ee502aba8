#include "MoreGames.h"

#include <SDL.h>
#include <sys/utsname.h>

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <random>

#include "CCApplication.h"
#include "Folders.h"
#include "logog/logog.hpp"

namespace {

constexpr std::size_t kQueryBytes = 1024;

}  // namespace

int formatString(char* buffer, std::size_t size, const char* format, ...) {
  if (size == 0 || !buffer) return 0;
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(buffer, size, format, args);
  va_end(args);
  if (n < 0) buffer[0] = '\0';
  return n;
}

MoreGames* MoreGames::sharedMoreGames() {
  static MoreGames* instance = new MoreGames();
  return instance;
}

void MoreGames::setup(const std::string& productCode, const std::string& secretKey) {
  productCode_ = productCode;
  secretKey_ = secretKey;
  std::string path = deviceIdPath_.empty() ? mv::dataFolder() + kDeviceIdFile : deviceIdPath_;
  udid_ = loadOrMakeDeviceId(path);
}

std::string MoreGames::formatQuery(const SystemFacts& facts, const std::string& productCode,
                                   const std::string& udid, const std::string& secretKey) {
  char query[kQueryBytes];
  formatString(query, sizeof query,
               "os=win&osversion=%s&devicetype=%s&product=%s&swidth=%d&sheight=%d&sscale=%f&udid=%s"
               "&secretKey=%s",
               facts.osVersion.c_str(), "PC", productCode.c_str(), facts.screenWidth,
               facts.screenHeight, 1.0, udid.c_str(), secretKey.c_str());
  return query;
}

std::string MoreGames::pageAddress(const std::string& base, const std::string& query) {
  char page[kQueryBytes];
  formatString(page, sizeof page, "%s/moregames?%s", base.c_str(), query.c_str());
  return page;
}

MoreGames::SystemFacts MoreGames::systemFacts() {
  SystemFacts facts;
  int major = 0, minor = 0;
  struct utsname name;
  if (uname(&name) == 0) std::sscanf(name.release, "%d.%d", &major, &minor);
  char version[256];
  formatString(version, sizeof version, "%d.%d", major, minor);
  facts.osVersion = version;
  SDL_DisplayMode mode;
  if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_GetDesktopDisplayMode(0, &mode) == 0) {
    facts.screenWidth = mode.w;
    facts.screenHeight = mode.h;
  }
  return facts;
}

std::string MoreGames::buildQuery() const {
  return formatQuery(systemFacts(), productCode_, udid_, secretKey_);
}

bool MoreGames::openPage() const {
  std::string page = pageAddress(kBaseAddress, buildQuery());
  return opener_ ? opener_(page) : cocos2d::CCApplication::openURL(page);
}

bool MoreGames::isDeviceId(const std::string& text) {
  if (text.size() != 17) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (i % 3 == 2) {
      if (c != ':') return false;
    } else if (!std::isxdigit(static_cast<unsigned char>(c)) || std::islower(static_cast<unsigned char>(c))) {
      return false;
    }
  }
  return true;
}

std::string MoreGames::makeDeviceId() {
  std::random_device random;
  unsigned char bytes[6];
  for (unsigned char& b : bytes) b = static_cast<unsigned char>(random() & 0xFF);
  bytes[0] |= 0x01;
  char text[18];
  formatString(text, sizeof text, "%02X:%02X:%02X:%02X:%02X:%02X", bytes[0], bytes[1], bytes[2],
               bytes[3], bytes[4], bytes[5]);
  return text;
}

std::string MoreGames::loadOrMakeDeviceId(const std::string& path) {
  std::string kept;
  {
    std::ifstream in(path);
    if (in) std::getline(in, kept);
  }
  if (isDeviceId(kept)) return kept;
  if (!kept.empty()) LOGOG_WARN("The device id in %s is not valid; a new one is made", path.c_str());
  std::string made = makeDeviceId();
  std::ofstream out(path, std::ios::trunc);
  out << made << '\n';
  out.flush();
  if (!out) LOGOG_WARN("The device id could not be kept in %s", path.c_str());
  return made;
}
