#include "CCPlistParser.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstring>

#include "CCArray.h"
#include "CCFileUtils.h"
#include "CCDictionary.h"
#include "CCString.h"

NS_CC_BEGIN

static CCFilePathResolver s_resolver = 0;

void ccSetFilePathResolver(CCFilePathResolver resolver) { s_resolver = resolver; }

std::string ccResolveFilePath(const char* pszFileName) {
  if (!pszFileName) return std::string();
  if (s_resolver) return s_resolver(pszFileName);
  return CCFileUtils::sharedFileUtils()->fullPathForFilename(pszFileName);
}

bool ccReadWholeFile(const char* pszFileName, std::string& out) {
  if (!pszFileName || !*pszFileName) {
    CCLOGERROR("cannot read a file without a name");
    return false;
  }
  std::string path = ccResolveFilePath(pszFileName);
  if (!CCFileUtils::readWholeFile(path, out)) {
    CCLOGERROR("cannot read file %s", path.c_str());
    return false;
  }
  return true;
}

namespace {

bool isNamed(xmlNodePtr node, const char* name) {
  return node->type == XML_ELEMENT_NODE && xmlStrcmp(node->name, (const xmlChar*)name) == 0;
}

std::string textOf(xmlNodePtr node) {
  xmlChar* s = xmlNodeGetContent(node);
  std::string r = s ? (const char*)s : "";
  if (s) xmlFree(s);
  return r;
}

std::string trimmed(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return std::string();
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

struct Reader {
  const char* name;
  bool failed = false;

  void fail(xmlNodePtr node, const char* what) {
    if (!failed) {
      CCLOGERROR("plist %s, line %d: %s", name, node ? (int)xmlGetLineNo(node) : 0, what);
    }
    failed = true;
  }

  // Returns a retained object, or null after fail().
  CCObject* value(xmlNodePtr node, int depth) {
    if (depth > 256) {
      fail(node, "nesting too deep");
      return 0;
    }
    if (isNamed(node, "dict")) return dict(node, depth);
    if (isNamed(node, "array")) return array(node, depth);
    if (isNamed(node, "string") || isNamed(node, "date")) return new CCString(textOf(node));
    if (isNamed(node, "integer") || isNamed(node, "real")) return new CCString(trimmed(textOf(node)));
    if (isNamed(node, "data")) {
      // Base64 text with the line breaks taken out; the reader of the key decodes it.
      std::string t = textOf(node), d;
      for (char ch : t) {
        if (ch != ' ' && ch != '\t' && ch != '\r' && ch != '\n') d += ch;
      }
      return new CCString(d);
    }
    if (isNamed(node, "true")) return new CCString("1");
    if (isNamed(node, "false")) return new CCString("0");
    fail(node, "unknown value element");
    return 0;
  }

  CCObject* dict(xmlNodePtr node, int depth) {
    CCDictionary* d = new CCDictionary();
    std::string key;
    bool haveKey = false;
    for (xmlNodePtr c = node->children; c && !failed; c = c->next) {
      if (c->type != XML_ELEMENT_NODE) continue;
      if (isNamed(c, "key")) {
        if (haveKey) {
          fail(c, "key without a value");
          break;
        }
        key = textOf(c);
        haveKey = true;
        continue;
      }
      if (!haveKey) {
        fail(c, "value without a key");
        break;
      }
      CCObject* v = value(c, depth + 1);
      if (!v) break;
      d->setObject(v, key);
      v->release();
      haveKey = false;
    }
    if (!failed && haveKey) fail(node, "key without a value");
    if (failed) {
      d->release();
      return 0;
    }
    return d;
  }

  CCObject* array(xmlNodePtr node, int depth) {
    CCArray* a = new CCArray();
    for (xmlNodePtr c = node->children; c && !failed; c = c->next) {
      if (c->type != XML_ELEMENT_NODE) continue;
      CCObject* v = value(c, depth + 1);
      if (!v) break;
      a->addObject(v);
      v->release();
    }
    if (failed) {
      a->release();
      return 0;
    }
    return a;
  }
};

void silentXmlError(void*, const char*, ...) {}

}  // namespace

CCObject* CCPlistParser::parse(const char* data, unsigned int length, const char* name) {
  if (!data || length == 0) {
    CCLOGERROR("plist %s is empty", name ? name : "");
    return 0;
  }
  xmlSetGenericErrorFunc(0, silentXmlError);
  xmlDocPtr doc = xmlReadMemory(data, (int)length, name, 0, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  if (!doc) {
    CCLOGERROR("plist %s is not well-formed XML", name ? name : "");
    return 0;
  }
  Reader r;
  r.name = name ? name : "";
  CCObject* result = 0;
  xmlNodePtr root = xmlDocGetRootElement(doc);
  if (!root || !isNamed(root, "plist")) {
    r.fail(root, "root element is not <plist>");
  } else {
    xmlNodePtr top = 0;
    for (xmlNodePtr c = root->children; c; c = c->next) {
      if (c->type == XML_ELEMENT_NODE) {
        top = c;
        break;
      }
    }
    if (!top) r.fail(root, "no value inside <plist>");
    else result = r.value(top, 0);
  }
  xmlFreeDoc(doc);
  return result;
}

CCDictionary* CCPlistParser::dictionaryWithData(const char* data, unsigned int length, const char* name) {
  CCObject* o = parse(data, length, name);
  CCDictionary* d = dynamic_cast<CCDictionary*>(o);
  if (o && !d) {
    CCLOGERROR("plist %s does not hold a dictionary", name ? name : "");
    o->release();
  }
  return d;
}

CCArray* CCPlistParser::arrayWithData(const char* data, unsigned int length, const char* name) {
  CCObject* o = parse(data, length, name);
  CCArray* a = dynamic_cast<CCArray*>(o);
  if (o && !a) {
    CCLOGERROR("plist %s does not hold an array", name ? name : "");
    o->release();
  }
  return a;
}

CCDictionary* CCPlistParser::dictionaryWithContentsOfFile(const char* pFileName) {
  std::string data;
  if (!ccReadWholeFile(pFileName, data)) return 0;
  return dictionaryWithData(data.data(), (unsigned int)data.size(), pFileName);
}

CCArray* CCPlistParser::arrayWithContentsOfFile(const char* pFileName) {
  std::string data;
  if (!ccReadWholeFile(pFileName, data)) return 0;
  return arrayWithData(data.data(), (unsigned int)data.size(), pFileName);
}

NS_CC_END
