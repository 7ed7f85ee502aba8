#include "NodeBindings.h"

#include <cxxabi.h>

#include <cstdlib>

#include "logog/logog.hpp"

namespace mv {

namespace {

std::set<const NodeBindings*>& liveTables() {
  static std::set<const NodeBindings*> tables;
  return tables;
}

}  // namespace

NodeBindings::NodeBindings(std::string prefix) : prefix_(std::move(prefix)) { liveTables().insert(this); }

NodeBindings::~NodeBindings() {
  liveTables().erase(this);
  beginLoad();
  clearRows();
}

void NodeBindings::forEachTable(const std::function<void(const NodeBindings&)>& visit) {
  for (const NodeBindings* table : liveTables()) visit(*table);
}

void NodeBindings::forEachBound(const std::function<void(const std::string&, cocos2d::CCNode*)>& visit) const {
  for (const Member& m : members_)
    if (m.node) visit(m.name, m.node);
}

void NodeBindings::keepRow() {
  std::vector<cocos2d::CCNode*> row;
  row.reserve(members_.size());
  for (const Member& m : members_) {
    if (m.node) m.node->retain();
    row.push_back(m.node);
  }
  rows_.push_back(std::move(row));
}

void NodeBindings::truncateRows(size_t count) {
  for (size_t r = count; r < rows_.size(); ++r)
    for (cocos2d::CCNode* node : rows_[r])
      if (node) node->release();
  if (count < rows_.size()) rows_.resize(count);
}

void NodeBindings::dropFirstRow() {
  if (rows_.empty()) return;
  for (cocos2d::CCNode* node : rows_.front())
    if (node) node->release();
  rows_.erase(rows_.begin());
}

cocos2d::CCNode* NodeBindings::rowNode(size_t row, const std::string& name) const {
  auto found = index_.find(name);
  if (row >= rows_.size() || found == index_.end() || found->second >= rows_[row].size()) return nullptr;
  return rows_[row][found->second];
}

void NodeBindings::forEachRowNode(const std::function<void(const std::string&, cocos2d::CCNode*)>& visit) const {
  for (size_t r = 0; r < rows_.size(); ++r)
    for (size_t i = 0; i < rows_[r].size() && i < members_.size(); ++i)
      if (rows_[r][i]) visit(members_[i].name + "." + std::to_string(r), rows_[r][i]);
}

std::string NodeBindings::readableTypeName(const std::type_info& type) {
  int status = 0;
  char* text = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
  std::string name = status == 0 && text ? text : type.name();
  std::free(text);
  // "cocos2d::CCSprite" reads as "CCSprite" in a log line.
  size_t colon = name.rfind("::");
  return colon == std::string::npos ? name : name.substr(colon + 2);
}

void NodeBindings::add(Member member) {
  auto found = index_.find(member.name);
  if (found != index_.end()) {
    // Declared again: the later field wins, as a later glue line would.
    members_[found->second] = std::move(member);
    return;
  }
  index_[member.name] = members_.size();
  members_.push_back(std::move(member));
}

void NodeBindings::beginLoad() {
  for (Member& m : members_) {
    m.clear();
    if (m.node) m.node->release();
    m.node = nullptr;
  }
}

bool NodeBindings::assign(cocos2d::CCString* name, cocos2d::CCNode* node) {
  return name && assign(std::string(name->getCString()), node);
}

bool NodeBindings::assign(const std::string& name, cocos2d::CCNode* node) {
  auto found = index_.find(name);
  if (found == index_.end()) return false;
  Member& m = members_[found->second];
  if (!node) return true;
  if (!m.take(node)) {
    logOnce(name, "member \"" + name + "\" is not a " + m.typeName + "; it stays unbound");
    return true;
  }
  if (m.node != node) {
    node->retain();
    if (m.node) m.node->release();
    m.node = node;
  }
  return true;
}

int NodeBindings::endLoad() {
  int missing = 0;
  for (const Member& m : members_) {
    if (m.node) continue;
    ++missing;
    logOnce(m.name, "member \"" + m.name + "\" (" + m.typeName + ") is missing from the screen");
  }
  return missing;
}

cocos2d::CCNode* NodeBindings::node(const std::string& name) const {
  auto found = index_.find(name);
  return found == index_.end() ? nullptr : members_[found->second].node;
}

std::vector<std::string> NodeBindings::names() const {
  std::vector<std::string> out;
  out.reserve(members_.size());
  for (const Member& m : members_) out.push_back(m.name);
  return out;
}

bool NodeBindings::isDeclared(const std::string& name) const { return index_.count(name) != 0; }

void NodeBindings::logOnce(const std::string& name, const std::string& text) {
  if (!logged_.insert(name).second) return;
  LOGOG_WARN("%s%s", prefix_.c_str(), text.c_str());
}

}  // namespace mv
