#pragma once

#include <string>

namespace mv {

// The user's preferred language as a two-letter ISO 639 code ("en", "ru", ...): the first
// of the desktop's preferred locales, else LC_ALL / LC_MESSAGES / LANG, else "en".
std::string systemLanguage();

// The language part of a locale name: "ru_RU.UTF-8" -> "ru"; "C" and "POSIX" -> "".
std::string languageOfLocale(const std::string& locale);

}  // namespace mv
