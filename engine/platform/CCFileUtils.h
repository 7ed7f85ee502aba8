#pragma once

#include <string>
#include <unordered_set>

namespace cocos2d {

// Where the program finds its data and where it may write.
// Data is looked up beside the executable: on first use the working directory
// becomes the executable's folder, and that folder is the resource root. The working
// directory follows the resource root wherever it is set.
class CCFileUtils {
 public:
  static CCFileUtils* sharedFileUtils();
  static void purgeFileUtils();

  // Organisation and application folder names of the per-user data folder
  // ("<data home>/<organisation>/<application>/"). Set them before the first use.
  static void setApplicationFolders(const std::string& organisation,
                                    const std::string& application);

  // Absolute paths are returned unchanged; others are taken from the resource root.
  std::string fullPathForFilename(const char* fileName);
  // The same as a C string that stays valid for the life of the program.
  const char* fullPathFromRelativePath(const char* relativePath);
  // fileName in the folder of relativeFile (a plist's texture, a font's atlas).
  const char* fullPathFromRelativeFile(const char* fileName, const char* relativeFile);

  // The whole file, allocated with new[] (the caller deletes it), or null with *size 0.
  // A folder or any other entry that is no regular file is refused with a log line.
  unsigned char* getFileData(const char* fileName, const char* mode, unsigned long* size);
  // The whole file at a path used as it stands; false when it cannot be opened or read, and
  // for a folder or other entry that is no regular file (logged).
  static bool readWholeFile(const std::string& path, std::string& out);
  bool isFileExist(const std::string& path);

  const std::string& getResourceDirectory() const { return m_resourceRoot; }
  void setResourceDirectory(const std::string& root);

  // "<folder of the executable>/"
  std::string getExecutableDirectory();
  // The per-user data folder "<data home>/<organisation>/<application>/", created private
  // (0700) when missing. The data home is $XDG_DATA_HOME, else $HOME/.local/share, each
  // only when absolute, else the executable's folder. The one place that decides it.
  std::string getWriteablePath();
  // "log/" inside the data folder, created when missing.
  std::string getLogDirectory();
  // Deletes a file; a failure is ignored.
  void removeFile(const std::string& path);

  void setPopupNotify(bool notify) { m_popupNotify = notify; }
  bool isPopupNotify() const { return m_popupNotify; }

  // mkdir -p with the mode for new folders; true when the folder exists afterwards.
  static bool createDirectories(const std::string& path, unsigned int mode = 0755);

 private:
  CCFileUtils();
  const char* intern(const std::string& text);

  std::string m_resourceRoot;
  std::unordered_set<std::string> m_interned;
  bool m_popupNotify = true;
};

}  // namespace cocos2d
