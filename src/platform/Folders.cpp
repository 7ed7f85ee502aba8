#include "Folders.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#include "logog/logog.hpp"

namespace mv {

namespace {

std::string withSlash(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

bool isFolder(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string executableFolder() {
  char buf[4096];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return std::string();
  std::string path(buf, static_cast<size_t>(n));
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return std::string();
  return path.substr(0, slash + 1);
}

bool makeFolders(const std::string& path, unsigned mode) {
  if (path.empty()) return false;
  std::string partial;
  size_t pos = 0;
  while (pos != std::string::npos) {
    size_t next = path.find('/', pos + 1);
    partial = path.substr(0, next);
    pos = next;
    if (partial.empty() || partial == "/" || isFolder(partial)) continue;
    if (::mkdir(partial.c_str(), static_cast<mode_t>(mode)) != 0 && errno != EEXIST) return false;
  }
  return isFolder(path);
}

std::string dataFolder() {
  std::string base;
  const char* xdg = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  // A relative XDG_DATA_HOME is invalid and is ignored.
  if (xdg && xdg[0] == '/') base = xdg;
  else if (home && home[0] != '\0') base = std::string(home) + "/.local/share";
  else return executableFolder();
  std::string folder = withSlash(base) + "Brindlecor/Mirrowvale/";
  // A failure is not fatal (the folder may exist already); later writes report their own.
  if (!makeFolders(folder, 0700)) LOGOG_WARN("Cannot create the data folder %s", folder.c_str());
  return folder;
}

std::string logFolder() {
  std::string folder = dataFolder() + "log/";
  if (!makeFolders(folder, 0700)) LOGOG_WARN("Cannot create the log folder %s", folder.c_str());
  return folder;
}

void removeFile(const std::string& path) { std::remove(path.c_str()); }

}  // namespace mv
