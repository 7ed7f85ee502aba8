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

NodeBindings::NodeBindings(std::string prefix) : m_prefix(std::move(prefix)) { liveTables().insert(this); }

NodeBindings::~NodeBindings() {
  liveTables().erase(this);
  beginLoad();
  clearRows();
}

void NodeBindings::forEachTable(const std::function<void(const NodeBindings&)>& visit) {
  for (const NodeBindings* table : liveTables()) visit(*table);
}

void NodeBindings::forEachBound(const std::function<void(const std::string&, cocos2d::CCNode*)>& visit) const {
  for (const Member& m : m_members)
    if (m.node) visit(m.name, m.node);
}

void NodeBindings::keepRow() {
  std::vector<cocos2d::CCNode*> row;
  row.reserve(m_members.size());
  for (const Member& m : m_members) {
    if (m.node) m.node->retain();
    row.push_back(m.node);
  }
  m_rows.push_back(std::move(row));
}

void NodeBindings::truncateRows(size_t count) {
  for (size_t r = count; r < m_rows.size(); ++r)
    for (cocos2d::CCNode* node : m_rows[r])
      if (node) node->release();
  if (count < m_rows.size()) m_rows.resize(count);
}

void NodeBindings::dropFirstRow() {
  if (m_rows.empty()) return;
  for (cocos2d::CCNode* node : m_rows.front())
    if (node) node->release();
  m_rows.erase(m_rows.begin());
}

cocos2d::CCNode* NodeBindings::rowNode(size_t row, const std::string& name) const {
  auto found = m_index.find(name);
  if (row >= m_rows.size() || found == m_index.end() || found->second >= m_rows[row].size()) return nullptr;
  return m_rows[row][found->second];
}

void NodeBindings::forEachRowNode(const std::function<void(const std::string&, cocos2d::CCNode*)>& visit) const {
  for (size_t r = 0; r < m_rows.size(); ++r)
    for (size_t i = 0; i < m_rows[r].size() && i < m_members.size(); ++i)
      if (m_rows[r][i]) visit(m_members[i].name + "." + std::to_string(r), m_rows[r][i]);
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
  auto found = m_index.find(member.name);
  if (found != m_index.end()) {
    // Declared again: the later field wins, as a later glue line would.
    m_members[found->second] = std::move(member);
    return;
  }
  m_index[member.name] = m_members.size();
  m_members.push_back(std::move(member));
}

void NodeBindings::beginLoad() {
  for (Member& m : m_members) {
    m.clear();
    if (m.node) m.node->release();
    m.node = nullptr;
  }
}

bool NodeBindings::assign(cocos2d::CCString* name, cocos2d::CCNode* node) {
  return name && assign(std::string(name->getCString()), node);
}

bool NodeBindings::assign(const std::string& name, cocos2d::CCNode* node) {
  auto found = m_index.find(name);
  if (found == m_index.end()) return false;
  Member& m = m_members[found->second];
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
  for (const Member& m : m_members) {
    if (m.node) continue;
    ++missing;
    logOnce(m.name, "member \"" + m.name + "\" (" + m.typeName + ") is missing from the screen");
  }
  return missing;
}

cocos2d::CCNode* NodeBindings::node(const std::string& name) const {
  auto found = m_index.find(name);
  return found == m_index.end() ? nullptr : m_members[found->second].node;
}

std::vector<std::string> NodeBindings::names() const {
  std::vector<std::string> out;
  out.reserve(m_members.size());
  for (const Member& m : m_members) out.push_back(m.name);
  return out;
}

bool NodeBindings::isDeclared(const std::string& name) const { return m_index.count(name) != 0; }

void NodeBindings::logOnce(const std::string& name, const std::string& text) {
  if (!m_logged.insert(name).second) return;
  LOGOG_WARN("%s%s", m_prefix.c_str(), text.c_str());
}

}  // namespace mv
