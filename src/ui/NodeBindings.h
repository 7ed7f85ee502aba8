// A controller's table of the named nodes it binds from its screen file.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <typeinfo>
#include <vector>

#include "CCNode.h"
#include "CCString.h"

namespace mv {

// Each member is declared once with the field it fills and the type it must have. Loading
// the screen hands every named node to assign(); a name of the wrong type fills nothing and
// is logged, and after the load every declared name the screen lacks is logged, each name
// once for the life of the table, so a relayout does not repeat the lines. Fields hold a
// reference to their node until the next load or the table's end, and are null when the
// screen lacks the node, so code that uses them tests for null.
class NodeBindings {
 public:
  // prefix opens every log line ("GUI::", "MENU::", "LOBBY::").
  explicit NodeBindings(std::string prefix);
  ~NodeBindings();
  NodeBindings(const NodeBindings&) = delete;
  NodeBindings& operator=(const NodeBindings&) = delete;

  // Declares a member: the node named `name` fills *field when it is a T.
  template <class T>
  void declare(const char* name, T** field) {
    Member m;
    m.name = name;
    m.typeName = readableTypeName(typeid(T));
    m.take = [field](cocos2d::CCNode* node) {
      T* typed = dynamic_cast<T*>(node);
      if (node && !typed) return false;
      *field = typed;
      return true;
    };
    m.clear = [field] { *field = nullptr; };
    add(std::move(m));
  }

  // Releases every bound node and empties the fields; call before loading the screen again.
  void beginLoad();
  // From the owner's onAssignCCBMemberVariable: true when the name is declared (bound or,
  // with the wrong type, refused with a log line).
  bool assign(cocos2d::CCString* name, cocos2d::CCNode* node);
  bool assign(const std::string& name, cocos2d::CCNode* node);
  // Logs each declared member the load did not bind; returns how many are missing.
  int endLoad();

  // The node bound under a name, or null.
  cocos2d::CCNode* node(const std::string& name) const;
  // The node bound under a name when it is a T, or null.
  template <class T>
  T* nodeAs(const std::string& name) const {
    return dynamic_cast<T*>(node(name));
  }
  // The declared names, in declaration order.
  std::vector<std::string> names() const;
  bool isDeclared(const std::string& name) const;
  const std::string& prefix() const { return prefix_; }
  // Every bound node with its name, in declaration order.
  void forEachBound(const std::function<void(const std::string&, cocos2d::CCNode*)>& visit) const;

  // Lists whose rows are each loaded from one small file into this table: keepRow() after a
  // row's load keeps its bound nodes as the next row (referenced until clearRows), so the
  // rows stay reachable by name after later loads.
  void keepRow();
  void clearRows() { truncateRows(0); }
  // Forgets the kept rows from `count` on.
  void truncateRows(size_t count);
  // Forgets the first kept row; the others move up by one.
  void dropFirstRow();
  size_t rowCount() const { return rows_.size(); }
  // A kept row's node of that name, or null.
  cocos2d::CCNode* rowNode(size_t row, const std::string& name) const;
  // Every node of every kept row, named "<name>.<row>", row by row.
  void forEachRowNode(const std::function<void(const std::string&, cocos2d::CCNode*)>& visit) const;
  // Every table alive now (for the test report of where bound nodes are drawn).
  static void forEachTable(const std::function<void(const NodeBindings&)>& visit);

 private:
  struct Member {
    std::string name;
    std::string typeName;
    std::function<bool(cocos2d::CCNode*)> take;
    std::function<void()> clear;
    cocos2d::CCNode* node = nullptr;
  };
  static std::string readableTypeName(const std::type_info& type);
  void add(Member member);
  void logOnce(const std::string& name, const std::string& text);

  std::string prefix_;
  std::vector<Member> members_;
  std::map<std::string, size_t> index_;
  std::set<std::string> logged_;
  // Per kept row, its node of each member (in member order; null when unbound).
  std::vector<std::vector<cocos2d::CCNode*>> rows_;
};

}  // namespace mv
