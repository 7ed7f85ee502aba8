// The node classes a screen file may name and the properties each takes, with their types.
// The reader and the screen compiler check names against this one table.
#pragma once

#include <string>
#include <vector>

namespace cocos2d {
namespace extension {

struct CCBPropertySpec {
  const char* name;
  int type;  // CCBPropType
};

struct CCBClassSpec {
  const char* name;
  const char* base;  // class whose properties this one also takes; null for CCNode
  bool loadable;     // false for bases that only lend their properties
  std::vector<CCBPropertySpec> properties;
};

// The loadable class of that name, or null.
const CCBClassSpec* ccbFindClass(const std::string& className);
// The type of a property of a class (its own or inherited); -1 when the class does not take it.
int ccbPropertyType(const std::string& className, const std::string& propertyName);
// Every loadable class name, in registration order.
std::vector<std::string> ccbClassNames();

}  // namespace extension
}  // namespace cocos2d
