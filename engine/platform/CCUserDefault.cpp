#include "CCUserDefault.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "CCFileUtils.h"
#include "CCNumbers.h"

NS_CC_BEGIN

namespace {

const char* kRootName = "userDefaultRoot";
CCUserDefault* s_shared = nullptr;
std::string s_filePath;

// Keys become element names, so they must be valid XML names.
bool validKey(const char* key) {
  if (!key || !*key) return false;
  return xmlValidateNCName(reinterpret_cast<const xmlChar*>(key), 0) == 0;
}

}  // namespace

CCUserDefault::CCUserDefault() { load(); }

CCUserDefault* CCUserDefault::sharedUserDefault() {
  if (!s_shared) {
    getXMLFilePath();
    s_shared = new CCUserDefault();
  }
  return s_shared;
}

void CCUserDefault::purgeSharedUserDefault() {
  delete s_shared;
  s_shared = nullptr;
  s_filePath.clear();
}

const std::string& CCUserDefault::getXMLFilePath() {
  if (s_filePath.empty())
    s_filePath = CCFileUtils::sharedFileUtils()->getWriteablePath() + "UserDefault.xml";
  return s_filePath;
}

bool CCUserDefault::isXMLFileExist() {
  struct stat st;
  return stat(getXMLFilePath().c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void CCUserDefault::load() {
  m_values.clear();
  const std::string& path = getXMLFilePath();
  if (!isXMLFileExist()) {
    struct stat st;
    if (stat(path.c_str(), &st) == 0)
      CCLOGERROR("CCUserDefault: %s is not a file; starting with empty settings", path.c_str());
    return;
  }
  xmlDocPtr doc = xmlReadFile(path.c_str(), nullptr,
                              XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  xmlNodePtr root = doc ? xmlDocGetRootElement(doc) : nullptr;
  if (!root || xmlStrcmp(root->name, reinterpret_cast<const xmlChar*>(kRootName)) != 0) {
    CCLOGERROR("CCUserDefault: %s is not a settings file; starting with empty settings",
               path.c_str());
    if (doc) xmlFreeDoc(doc);
    return;
  }
  for (xmlNodePtr n = root->children; n; n = n->next) {
    if (n->type != XML_ELEMENT_NODE) continue;
    xmlChar* text = xmlNodeGetContent(n);
    m_values[reinterpret_cast<const char*>(n->name)] =
        text ? reinterpret_cast<const char*>(text) : "";
    if (text) xmlFree(text);
  }
  xmlFreeDoc(doc);
}

const std::string* CCUserDefault::find(const char* pKey) const {
  if (!pKey) return nullptr;
  auto it = m_values.find(pKey);
  return it == m_values.end() ? nullptr : &it->second;
}

void CCUserDefault::set(const char* pKey, const std::string& value) {
  if (!validKey(pKey)) {
    CCLOGERROR("CCUserDefault: invalid key \"%s\"", pKey ? pKey : "(null)");
    return;
  }
  m_values[pKey] = value;
  flush();
}

bool CCUserDefault::getBoolForKey(const char* pKey, bool defaultValue) {
  const std::string* v = find(pKey);
  if (!v) return defaultValue;
  return *v == "true";
}

int CCUserDefault::getIntegerForKey(const char* pKey, int defaultValue) {
  const std::string* v = find(pKey);
  return v ? static_cast<int>(ccTextToInteger(v->c_str(), INT_MIN, INT_MAX)) : defaultValue;
}

float CCUserDefault::getFloatForKey(const char* pKey, float defaultValue) {
  const std::string* v = find(pKey);
  return v ? static_cast<float>(std::atof(v->c_str())) : defaultValue;
}

double CCUserDefault::getDoubleForKey(const char* pKey, double defaultValue) {
  const std::string* v = find(pKey);
  return v ? std::atof(v->c_str()) : defaultValue;
}

std::string CCUserDefault::getStringForKey(const char* pKey, const std::string& defaultValue) {
  const std::string* v = find(pKey);
  return v ? *v : defaultValue;
}

void CCUserDefault::setBoolForKey(const char* pKey, bool value) {
  set(pKey, value ? "true" : "false");
}

void CCUserDefault::setIntegerForKey(const char* pKey, int value) {
  set(pKey, std::to_string(value));
}

void CCUserDefault::setFloatForKey(const char* pKey, float value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.9g", value);
  set(pKey, buf);
}

void CCUserDefault::setDoubleForKey(const char* pKey, double value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.17g", value);
  set(pKey, buf);
}

void CCUserDefault::setStringForKey(const char* pKey, const std::string& value) {
  set(pKey, value);
}

void CCUserDefault::flush() {
  xmlDocPtr doc = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
  xmlNodePtr root = xmlNewNode(nullptr, reinterpret_cast<const xmlChar*>(kRootName));
  xmlDocSetRootElement(doc, root);
  for (const auto& kv : m_values) {
    // xmlNewTextChild escapes the text.
    xmlNewTextChild(root, nullptr, reinterpret_cast<const xmlChar*>(kv.first.c_str()),
                    reinterpret_cast<const xmlChar*>(kv.second.c_str()));
  }
  // Written beside the file first and renamed, so a crash mid-write keeps the old settings.
  // The file holds the remembered login: it is its owner's alone (0600).
  const std::string& path = getXMLFilePath();
  std::string temp = path + ".tmp";
  xmlChar* text = nullptr;
  int size = 0;
  xmlDocDumpFormatMemoryEnc(doc, &text, &size, "utf-8", 1);
  bool written = false;
  int fd = text ? open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600) : -1;
  if (fd >= 0) {
    written = fchmod(fd, 0600) == 0;
    for (int done = 0; written && done < size;) {
      ssize_t n = write(fd, text + done, static_cast<size_t>(size - done));
      if (n < 0 && errno == EINTR) continue;
      written = n > 0;
      if (written) done += static_cast<int>(n);
    }
    written = close(fd) == 0 && written;
  }
  if (text) xmlFree(text);
  if (!written || std::rename(temp.c_str(), path.c_str()) != 0) {
    CCLOGERROR("CCUserDefault: cannot write %s", path.c_str());
    std::remove(temp.c_str());
  }
  xmlFreeDoc(doc);
}

NS_CC_END
