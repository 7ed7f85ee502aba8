#include "CCFileUtils.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "CCCommon.h"

namespace cocos2d {

namespace {

CCFileUtils* s_sharedFileUtils = nullptr;
std::string& organisationFolder() {
  static std::string name = "cocos2d-x";
  return name;
}
std::string& applicationFolder() {
  static std::string name;
  return name;
}

std::string executablePath() {
  std::vector<char> buffer(4096);
  ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (n <= 0) return std::string();
  return std::string(buffer.data(), static_cast<size_t>(n));
}

std::string folderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return std::string();
  return path.substr(0, slash + 1);
}

std::string withSlash(std::string path) {
  if (!path.empty() && path.back() != '/') path += '/';
  return path;
}

}  // namespace

CCFileUtils* CCFileUtils::sharedFileUtils() {
  if (!s_sharedFileUtils) s_sharedFileUtils = new CCFileUtils();
  return s_sharedFileUtils;
}

void CCFileUtils::purgeFileUtils() {
  delete s_sharedFileUtils;
  s_sharedFileUtils = nullptr;
}

void CCFileUtils::setApplicationFolders(const std::string& organisation,
                                        const std::string& application) {
  organisationFolder() = organisation;
  applicationFolder() = application;
}

CCFileUtils::CCFileUtils() {
  // Data lies beside the executable whatever folder the program was started from.
  std::string exeDir = getExecutableDirectory();
  if (!exeDir.empty() && chdir(exeDir.c_str()) != 0) {
    CCLogWarning("CCFileUtils: cannot change into %s", exeDir.c_str());
  }
  std::vector<char> cwd(4096);
  if (getcwd(cwd.data(), cwd.size())) {
    m_resourceRoot = withSlash(cwd.data());
  } else {
    m_resourceRoot = exeDir;
  }
}

void CCFileUtils::setResourceDirectory(const std::string& root) {
  m_resourceRoot = withSlash(root);
  // Relative names opened without the file utilities find the same files.
  if (!root.empty() && chdir(root.c_str()) != 0)
    CCLogWarning("CCFileUtils: cannot change into %s", root.c_str());
}

const char* CCFileUtils::intern(const std::string& text) {
  return m_interned.insert(text).first->c_str();
}

std::string CCFileUtils::fullPathForFilename(const char* fileName) {
  if (!fileName || !*fileName) return std::string();
  if (fileName[0] == '/') return fileName;
  return m_resourceRoot + fileName;
}

const char* CCFileUtils::fullPathFromRelativePath(const char* relativePath) {
  return intern(fullPathForFilename(relativePath));
}

const char* CCFileUtils::fullPathFromRelativeFile(const char* fileName, const char* relativeFile) {
  if (!fileName) return intern(std::string());
  if (fileName[0] == '/') return intern(fileName);
  std::string base = relativeFile ? folderOf(relativeFile) : std::string();
  if (base.empty() || base[0] != '/') base = fullPathForFilename(base.c_str());
  if (base.empty()) base = m_resourceRoot;
  return intern(base + fileName);
}

bool CCFileUtils::readWholeFile(const std::string& path, std::string& out) {
  out.clear();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  // A folder opens like a file on Linux and claims an absurd length.
  struct stat st;
  bool ok = fstat(fileno(file), &st) == 0;
  if (ok && !S_ISREG(st.st_mode)) {
    CCLogError("%s is not a file (a folder?); not read", path.c_str());
    ok = false;
  }
  if (ok) {
    out.resize(static_cast<size_t>(st.st_size));
    ok = out.empty() || std::fread(&out[0], 1, out.size(), file) == out.size();
  }
  std::fclose(file);
  if (!ok) out.clear();
  return ok;
}

unsigned char* CCFileUtils::getFileData(const char* fileName, const char* mode,
                                        unsigned long* size) {
  if (size) *size = 0;
  if (!fileName || !*fileName) return nullptr;
  (void)mode;  // always read as bytes
  std::string path = fullPathForFilename(fileName);
  std::string bytes;
  if (!readWholeFile(path, bytes)) {
    if (m_popupNotify) CCLogWarning("Get data from file(%s) failed!", path.c_str());
    return nullptr;
  }
  unsigned char* data = new unsigned char[bytes.empty() ? 1 : bytes.size()];
  if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
  if (size) *size = static_cast<unsigned long>(bytes.size());
  return data;
}

bool CCFileUtils::isFileExist(const std::string& path) {
  std::string full = path.empty() || path[0] == '/' ? path : fullPathForFilename(path.c_str());
  struct stat st;
  return !full.empty() && stat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string CCFileUtils::getExecutableDirectory() { return folderOf(executablePath()); }

bool CCFileUtils::createDirectories(const std::string& path, unsigned int mode) {
  if (path.empty()) return false;
  std::string partial;
  size_t pos = 0;
  while (pos != std::string::npos) {
    pos = path.find('/', pos + 1);
    partial = path.substr(0, pos);
    if (!partial.empty()) mkdir(partial.c_str(), static_cast<mode_t>(mode));
  }
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string CCFileUtils::getWriteablePath() {
  // Only absolute folders count: a relative XDG_DATA_HOME is invalid, and a relative HOME
  // would name a different folder after the working directory moved to the executable's.
  std::string base;
  const char* xdg = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  if (xdg && xdg[0] == '/') {
    base = withSlash(xdg);
  } else if (home && home[0] == '/') {
    base = withSlash(home) + ".local/share/";
  } else {
    // No usable home: keep the data beside the executable.
    base = getExecutableDirectory();
  }
  std::string app = applicationFolder();
  if (app.empty()) {
    std::string exe = executablePath();
    app = exe.substr(exe.find_last_of('/') + 1);
    if (app.empty()) app = "app";
  }
  std::string path = base;
  if (!organisationFolder().empty()) path += organisationFolder() + "/";
  path += app + "/";
  // Settings hold the player's login: the folder is the user's alone. A failure is not
  // fatal here (the folder may exist already); later writes report their own.
  if (!createDirectories(path, 0700)) CCLogWarning("Cannot create the data folder %s", path.c_str());
  return path;
}

std::string CCFileUtils::getLogDirectory() {
  std::string path = getWriteablePath() + "log/";
  if (!createDirectories(path, 0700)) CCLogWarning("Cannot create the log folder %s", path.c_str());
  return path;
}

void CCFileUtils::removeFile(const std::string& path) { std::remove(path.c_str()); }

}  // namespace cocos2d
