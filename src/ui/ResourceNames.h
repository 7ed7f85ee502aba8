// Resource-name builders and scale factors for the standard and high-definition sets.
#pragma once

#include <string>

namespace mv {

// Whether the high-definition resource set is in use (it is not).
constexpr bool isHD = false;

// Scale of sprites drawn from the standard set at the size of the HD set.
float hdScale();
float resourceScale(float unused = 0.f);
// The screen reader's scale of absolute positions and sizes.
float layoutScale(bool force);

// name + "-hd" (when forced or HD) + ".plist"; the name carries no extension.
std::string plistFileName(const std::string& name, bool force);
// The name unchanged, or its stem (up to the first full stop) + "-hd.png".
std::string imageFileName(const std::string& name, bool force);
// "fonts/" + the name (or its stem + "-hd.fnt" in HD).
std::string fontFileName(const std::string& name);
// "ccbi/" + name + ".ccbi" (the variant suffix is empty).
std::string ccbiFileName(const std::string& name, bool variant);

}  // namespace mv
