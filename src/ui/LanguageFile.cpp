#include "LanguageFile.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstring>

namespace {

const char* const kRoot = "Mirrowvale";

struct XmlDoc {
  xmlDocPtr doc = nullptr;
  explicit XmlDoc(const char* path) {
    doc = xmlReadFile(path, nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  }
  ~XmlDoc() {
    if (doc) xmlFreeDoc(doc);
  }
};

bool attribute(xmlNodePtr node, const char* name, std::string& out) {
  xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
  if (!value) return false;
  out = reinterpret_cast<const char*>(value);
  xmlFree(value);
  return true;
}

bool isNamed(xmlNodePtr node, const char* name) {
  return node && node->type == XML_ELEMENT_NODE &&
         std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

// Checks the root and reads the six header fields; 0, -2 or -3 as load reports them.
int readHeader(xmlDocPtr doc, const char* expectedVersion, LanguageInfo& info) {
  xmlNodePtr root = xmlDocGetRootElement(doc);
  if (!isNamed(root, kRoot)) return -2;
  std::string version;
  if (!attribute(root, "program_version", version)) return -2;
  if (version != expectedVersion) return -3;
  if (!attribute(root, "language_id", info.language_id) ||
      !attribute(root, "language_code", info.language_code) ||
      !attribute(root, "language_name", info.language_name) ||
      !attribute(root, "language_enname", info.language_enname) ||
      !attribute(root, "language_version", info.language_version) ||
      !attribute(root, "language_translators", info.language_translators))
    return -2;
  return 0;
}

}  // namespace

LanguageFile& LanguageFile::instance() {
  static LanguageFile table;
  return table;
}

void LanguageFile::clear() {
  table_.clear();
  language_id.clear();
  language_code.clear();
  language_name.clear();
  language_enname.clear();
  language_version.clear();
  language_translators.clear();
  loaded_ = false;
}

int LanguageFile::load(const char* fileName, const char* expectedVersion) {
  if (!fileName || !*fileName || !expectedVersion || !*expectedVersion) return -4;
  if (loaded_) clear();
  XmlDoc xml(fileName);
  if (!xml.doc) return -1;
  LanguageInfo header;
  int rc = readHeader(xml.doc, expectedVersion, header);
  if (rc != 0) return rc;
  for (xmlNodePtr node = xmlDocGetRootElement(xml.doc)->children; node; node = node->next) {
    if (!isNamed(node, "string")) continue;
    std::string key;
    if (!attribute(node, "key", key)) continue;
    // An element without text is no text: the key keeps any earlier text, or shows itself.
    xmlChar* content = xmlNodeGetContent(node);
    if (content && content[0] != '\0') table_[key] = reinterpret_cast<const char*>(content);
    if (content) xmlFree(content);
  }
  language_id = header.language_id;
  language_code = header.language_code;
  language_name = header.language_name;
  language_enname = header.language_enname;
  language_version = header.language_version;
  language_translators = header.language_translators;
  loaded_ = true;
  return 0;
}

const char* LanguageFile::getString(const char* key) const {
  if (!key) return key;
  auto it = table_.find(key);
  return it == table_.end() ? key : it->second.c_str();
}

std::vector<LanguageInfo>& LanguageFile::listLanguages(const std::string& /*folder*/,
                                                       const char* expectedVersion) {
  languages_.clear();
  // The game's two files, beside the executable (the working folder once the file
  // utilities are in use).
  for (const char* path : {"language/english.lng", "language/russian.lng"}) {
    LanguageInfo info;
    info.path = path;
    if (readLanguageHeader(expectedVersion, info)) languages_.push_back(info);
  }
  return languages_;
}

bool readLanguageHeader(const char* expectedVersion, LanguageInfo& info) {
  if (!expectedVersion || !*expectedVersion || info.path.empty()) return false;
  XmlDoc xml(info.path.c_str());
  if (!xml.doc) return false;
  return readHeader(xml.doc, expectedVersion, info) == 0;
}

const char* localizedText(const char* key) { return LanguageFile::instance().getString(key); }
