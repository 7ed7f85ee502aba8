#include "plist_reader.hpp"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstdlib>
#include <cstring>

const PNode* PNode::get(const std::string& key) const {
    auto it = dict.find(key);
    return it == dict.end() ? nullptr : it->second.get();
}

double PNode::number() const { return std::atof(text.c_str()); }

namespace {

std::string content(xmlNode* n) {
    xmlChar* c = xmlNodeGetContent(n);
    std::string s = c ? reinterpret_cast<const char*>(c) : "";
    xmlFree(c);
    return s;
}

bool is(xmlNode* n, const char* name) {
    return n->type == XML_ELEMENT_NODE && std::strcmp(reinterpret_cast<const char*>(n->name), name) == 0;
}

std::shared_ptr<PNode> convert(xmlNode* n) {
    auto p = std::make_shared<PNode>();
    if (is(n, "dict")) {
        p->kind = PNode::Dict;
        std::string key;
        for (xmlNode* c = n->children; c; c = c->next) {
            if (c->type != XML_ELEMENT_NODE) continue;
            if (is(c, "key")) {
                key = content(c);
                continue;
            }
            auto v = convert(c);
            if (!v) return nullptr;
            p->dict[key] = v;
        }
    } else if (is(n, "array")) {
        p->kind = PNode::Array;
        for (xmlNode* c = n->children; c; c = c->next)
            if (c->type == XML_ELEMENT_NODE) {
                auto v = convert(c);
                if (!v) return nullptr;
                p->array.push_back(v);
            }
    } else if (is(n, "string")) {
        p->text = content(n);
    } else if (is(n, "integer")) {
        p->kind = PNode::Integer;
        p->text = content(n);
    } else if (is(n, "real")) {
        p->kind = PNode::Real;
        p->text = content(n);
    } else if (is(n, "true") || is(n, "false")) {
        p->kind = PNode::Bool;
        p->text = is(n, "true") ? "1" : "0";
    } else {
        return nullptr;
    }
    return p;
}

}  // namespace

std::shared_ptr<PNode> readPlist(const std::string& path) {
    xmlDoc* doc = xmlReadFile(path.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!doc) return nullptr;
    std::shared_ptr<PNode> result;
    xmlNode* root = xmlDocGetRootElement(doc);
    if (root && is(root, "plist")) {
        for (xmlNode* c = root->children; c; c = c->next)
            if (c->type == XML_ELEMENT_NODE) {
                result = convert(c);
                break;
            }
    }
    xmlFreeDoc(doc);
    return result;
}

std::vector<int> plistInts(const std::string& s) {
    std::vector<int> out;
    const char* p = s.c_str();
    while (*p) {
        if (*p == '-' || (*p >= '0' && *p <= '9')) {
            char* end = nullptr;
            out.push_back(int(std::strtol(p, &end, 10)));
            p = end;
        } else {
            ++p;
        }
    }
    return out;
}
