// What the windowed process tests read the game's screens by: the texts of its English
// language file, the report's names of captioned buttons, and where screenshots go.
#pragma once

#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <regex>
#include <string>

namespace mvtest {

// A text of the game's English language file.
inline std::string english(const std::string& key) {
  static const std::map<std::string, std::string> texts = [] {
    std::map<std::string, std::string> out;
    std::ifstream in(std::string(MV_DATA_DIR) + "language/english.lng");
    const std::regex entry("<string key=\"([^\"]+)\">(.*)</string>");
    std::string line;
    std::smatch m;
    while (std::getline(in, line))
      if (std::regex_search(line, m, entry)) {
        std::string text = std::regex_replace(m[2].str(), std::regex("&amp;"), "&");
        out[m[1].str()] = std::regex_replace(text, std::regex("&lt;"), "<");
      }
    return out;
  }();
  auto it = texts.find(key);
  return it == texts.end() ? key : it->second;
}

// The report's name of the shown button captioned with the text of `key`.
inline std::string button(const std::string& key) {
  std::string name = english(key);
  std::replace(name.begin(), name.end(), ' ', '_');
  return "BUTTON::" + name;
}
inline std::string onlineButton() { return button("MENU_ONLINE"); }

inline std::string screenshotPath(const std::string& name) {
  const std::string dir = MV_SCREENSHOT_DIR;
  mkdir(dir.c_str(), 0755);
  return dir + "/" + name + ".png";
}

}  // namespace mvtest
