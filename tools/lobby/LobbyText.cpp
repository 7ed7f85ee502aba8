#include "LobbyText.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/uspoof.h>

#include <algorithm>
#include <iterator>
#include <memory>

namespace lobbytext {

namespace {

std::string trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t\r\n");
  if (a == std::string::npos) return "";
  size_t b = s.find_last_not_of(" \t\r\n");
  return s.substr(a, b - a + 1);
}

constexpr size_t kMaxEmail = 254;
constexpr size_t kMaxNameBytes = 48;
constexpr size_t kMaxNameChars = 20;

// Reads the code point at text[i] and moves i past it; false on anything but the
// shortest encoding of a scalar value.
bool nextCodePoint(const std::string& text, size_t& i, std::uint32_t& cp) {
  auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char c = byte(i);
  if (c < 0x80) {
    cp = c;
    ++i;
    return true;
  }
  size_t n = 0;
  unsigned char low = 0x80, high = 0xBF;  // range of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    if (c == 0xE0) low = 0xA0;   // overlong
    if (c == 0xED) high = 0x9F;  // surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    if (c == 0xF0) low = 0x90;   // overlong
    if (c == 0xF4) high = 0x8F;  // above U+10FFFF
  } else {
    return false;  // a continuation byte, C0, C1 or F5 and up
  }
  if (i + n > text.size() || byte(i + 1) < low || byte(i + 1) > high) return false;
  cp = c & (0xFF >> (n + 1));
  for (size_t k = 1; k < n; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return false;
    cp = (cp << 6) | (byte(i + k) & 0x3F);
  }
  i += n;
  return true;
}

// Unicode's format characters (category Cf), first and last of each run.
constexpr std::uint32_t kFormat[][2] = {
    {0x00AD, 0x00AD},   {0x0600, 0x0605},   {0x061C, 0x061C},   {0x06DD, 0x06DD},   {0x070F, 0x070F},
    {0x0890, 0x0891},   {0x08E2, 0x08E2},   {0x180E, 0x180E},   {0x200B, 0x200F},   {0x202A, 0x202E},
    {0x2060, 0x2064},   {0x2066, 0x206F},   {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD},
    {0x110CD, 0x110CD}, {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
    {0xE0020, 0xE007F},
};

// Characters no name may hold: controls, format characters (direction overrides,
// invisible joiners), line and paragraph separators, noncharacters.
bool forbiddenInName(std::uint32_t cp) {
  if (cp < 0x20 || (cp >= 0x7F && cp <= 0x9F)) return true;
  if (cp == 0x2028 || cp == 0x2029) return true;
  if ((cp >= 0xFDD0 && cp <= 0xFDEF) || (cp & 0xFFFE) == 0xFFFE) return true;
  return std::any_of(std::begin(kFormat), std::end(kFormat),
                     [cp](const std::uint32_t* run) { return cp >= run[0] && cp <= run[1]; });
}

struct SpoofCloser {
  void operator()(USpoofChecker* c) const { uspoof_close(c); }
};

// One checker a thread: the accounts' workers key names too.
USpoofChecker* spoofChecker() {
  thread_local std::unique_ptr<USpoofChecker, SpoofCloser> checker;
  if (!checker) {
    UErrorCode status = U_ZERO_ERROR;
    checker.reset(uspoof_open(&status));
    if (U_FAILURE(status)) checker.reset();
  }
  return checker.get();
}

bool skeleton(const icu::UnicodeString& in, icu::UnicodeString& out) {
  USpoofChecker* checker = spoofChecker();
  if (!checker) return false;
  UErrorCode status = U_ZERO_ERROR;
  uspoof_getSkeletonUnicodeString(checker, 0, in, out, &status);
  return U_SUCCESS(status);
}

std::string composed(const std::string& text) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
  if (U_FAILURE(status)) return "";
  icu::UnicodeString out = nfc->normalize(icu::UnicodeString::fromUTF8(text), status);
  std::string utf8;
  if (U_SUCCESS(status)) out.toUTF8String(utf8);
  return utf8;
}

// The text without its combining marks (accents, dots, rings: every mark, whether it
// takes room of its own or not); `text` decomposed, so no mark hides in a letter.
icu::UnicodeString withoutMarks(const icu::UnicodeString& text) {
  icu::UnicodeString out;
  for (int32_t i = 0; i < text.length();) {
    const UChar32 c = text.char32At(i);
    if (!(U_GET_GC_MASK(c) & U_GC_M_MASK)) out.append(c);
    i += U16_LENGTH(c);
  }
  return out;
}

}  // namespace

std::string nameKey(const std::string& name) {
  // Marks off first, so that a name with a dot or an accent more reads as the name
  // without. Then the skeleton, so that a capital I still reads as a small l; then
  // case and compatibility forms folded (which drops invisible fillers); then the
  // skeleton of that, without the marks its mapping brought in.
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
  const icu::Normalizer2* fold = icu::Normalizer2::getNFKCCasefoldInstance(status);
  if (U_FAILURE(status)) return "";
  icu::UnicodeString bare = withoutMarks(nfd->normalize(icu::UnicodeString::fromUTF8(name), status));
  icu::UnicodeString first, folded, key;
  if (U_FAILURE(status) || !skeleton(bare, first)) return "";
  folded = fold->normalize(first, status);
  if (U_FAILURE(status) || !skeleton(folded, key)) return "";
  std::string utf8;
  withoutMarks(key).toUTF8String(utf8);
  return utf8;
}

std::string lowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool validUtf8(const std::string& text) {
  size_t i = 0;
  std::uint32_t cp = 0;
  while (i < text.size())
    if (!nextCodePoint(text, i, cp)) return false;
  return true;
}

std::string normaliseEmail(const std::string& text) {
  std::string e = lowerAscii(trim(text));
  if (e.empty() || e.size() > kMaxEmail) return "";
  for (unsigned char c : e)
    if (c <= 0x20 || c == 0x7F || c == ',' || c == ';' || c == '<' || c == '>' || c == '"' || c == '\\' ||
        c == '/' || c >= 0x80)
      return "";
  size_t at = e.find('@');
  if (at == 0 || at == std::string::npos || e.find('@', at + 1) != std::string::npos) return "";
  std::string domain = e.substr(at + 1);
  size_t dot = domain.find('.');
  if (domain.empty() || dot == 0 || dot == std::string::npos || domain.back() == '.' ||
      domain.find("..") != std::string::npos)
    return "";
  return e;
}

std::string cleanName(const std::string& text) {
  std::string n = trim(text);
  if (n.empty() || n.size() > kMaxNameBytes || !validUtf8(n)) return "";
  n = composed(n);
  if (n.empty() || n.size() > kMaxNameBytes) return "";
  size_t i = 0, chars = 0;
  std::uint32_t cp = 0;
  while (i < n.size()) {
    if (!nextCodePoint(n, i, cp) || forbiddenInName(cp)) return "";
    ++chars;
  }
  return chars <= kMaxNameChars ? n : "";
}

}  // namespace lobbytext
