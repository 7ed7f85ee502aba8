// The language table: every text the player reads, looked up by key from an XML
// language file (root "Mirrowvale", "string" children with a "key" attribute).
#pragma once

#include <map>
#include <string>
#include <vector>

struct LanguageInfo {
  std::string path;
  std::string language_id;
  std::string language_code;
  std::string language_name;
  std::string language_enname;
  std::string language_version;
  std::string language_translators;
};

class LanguageFile {
 public:
  static LanguageFile& instance();

  // 0 loaded; -1 not XML (missing or malformed); -2 wrong root or a header attribute
  // missing; -3 program version differs; -4 null or empty argument (table untouched).
  int load(const char* fileName, const char* expectedVersion);

  // The text of the key, else the very pointer passed. Valid until the next load.
  const char* getString(const char* key) const;

  // Reads the headers of the game's language files, "language/english.lng" then
  // "language/russian.lng" (relative to the working folder, whatever folder is given), and
  // lists those that are valid for the expected version.
  std::vector<LanguageInfo>& listLanguages(const std::string& folder, const char* expectedVersion);

  bool isLoaded() const { return loaded_; }
  size_t size() const { return table_.size(); }
  const std::map<std::string, std::string>& table() const { return table_; }

  std::string language_id;
  std::string language_code;
  std::string language_name;
  std::string language_enname;
  std::string language_version;
  std::string language_translators;

 private:
  void clear();

  std::map<std::string, std::string> table_;
  bool loaded_ = false;
  std::vector<LanguageInfo> languages_;
};

// Reads a language file's header into info (whose path is set). False on any failure.
bool readLanguageHeader(const char* expectedVersion, LanguageInfo& info);

// The process-wide table's text for a key (the key itself when it has none).
const char* localizedText(const char* key);
