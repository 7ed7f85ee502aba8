#include "SystemLanguage.h"

#include <SDL.h>
#include <cctype>
#include <cstdlib>

namespace mv {

std::string languageOfLocale(const std::string& locale) {
  std::string code;
  for (char c : locale) {
    if (!std::isalpha(static_cast<unsigned char>(c))) break;
    code.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  }
  if (code.size() < 2 || code.size() > 3 || code == "c" || code == "posix") return std::string();
  return code;
}

std::string systemLanguage() {
  if (SDL_Locale* locales = SDL_GetPreferredLocales()) {
    std::string code = locales[0].language ? languageOfLocale(locales[0].language) : std::string();
    SDL_free(locales);
    if (!code.empty()) return code;
  }
  for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(var);
    if (!value || !*value) continue;
    std::string code = languageOfLocale(value);
    if (!code.empty()) return code;
  }
  return "en";
}

}  // namespace mv
