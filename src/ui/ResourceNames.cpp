#include "ResourceNames.h"

namespace mv {

namespace {

// The name up to its first full stop, skipping full stops at its start.
std::string stem(const std::string& name) {
  size_t begin = name.find_first_not_of('.');
  if (begin == std::string::npos) return std::string();
  size_t end = name.find('.', begin);
  return name.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

}  // namespace

float hdScale() { return isHD ? 1.0f : 0.5f; }
float resourceScale(float) { return 1.0f; }
float layoutScale(bool force) { return (force || isHD) ? 1.0f : 0.5f; }

std::string plistFileName(const std::string& name, bool force) {
  return name + ((force || isHD) ? "-hd" : "") + ".plist";
}

std::string imageFileName(const std::string& name, bool force) {
  if (!force && !isHD) return name;
  std::string s = stem(name);
  // A name that is only full stops has no stem to build on.
  return s.empty() ? name : s + "-hd.png";
}

std::string fontFileName(const std::string& name) {
  if (!isHD) return "fonts/" + name;
  std::string s = stem(name);
  return "fonts/" + (s.empty() ? name : s + "-hd.fnt");
}

std::string ccbiFileName(const std::string& name, bool /*variant: its suffix is empty*/) {
  return "ccbi/" + name + ".ccbi";
}

}  // namespace mv
