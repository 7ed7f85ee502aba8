#include "fnt.hpp"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace art {

namespace {

// Splits "key=value key2="quoted value"" into a map.
std::map<std::string, std::string> fields(const std::string& line, std::string& tag) {
    std::map<std::string, std::string> m;
    size_t i = 0, n = line.size();
    while (i < n && line[i] != ' ') ++i;
    tag = line.substr(0, i);
    while (i < n) {
        while (i < n && line[i] == ' ') ++i;
        size_t k = i;
        while (i < n && line[i] != '=' && line[i] != ' ') ++i;
        std::string key = line.substr(k, i - k);
        std::string val;
        if (i < n && line[i] == '=') {
            ++i;
            if (i < n && line[i] == '"') {
                size_t e = line.find('"', i + 1);
                if (e == std::string::npos) e = n;
                val = line.substr(i + 1, e - i - 1);
                i = e + 1;
            } else {
                size_t v = i;
                while (i < n && line[i] != ' ') ++i;
                val = line.substr(v, i - v);
            }
        }
        if (!key.empty()) m[key] = val;
    }
    return m;
}

bool toInt(const std::map<std::string, std::string>& m, const char* key, int& out) {
    auto it = m.find(key);
    if (it == m.end()) return false;
    char* end = nullptr;
    long v = std::strtol(it->second.c_str(), &end, 10);
    if (end == it->second.c_str() || *end) return false;
    out = int(v);
    return true;
}

}  // namespace

bool parseFnt(const std::string& text, FntFile& out, std::string* error) {
    out = FntFile();
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    bool sawCommon = false;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string tag;
        auto f = fields(line, tag);
        auto bad = [&](const char* what) {
            if (error) *error = "line " + std::to_string(lineNo) + ": " + what;
            return false;
        };
        if (tag == "info") {
            out.face = f["face"];
            toInt(f, "size", out.size);
        } else if (tag == "common") {
            if (!toInt(f, "lineHeight", out.lineHeight) || !toInt(f, "base", out.base) ||
                !toInt(f, "scaleW", out.scaleW) || !toInt(f, "scaleH", out.scaleH))
                return bad("incomplete common line");
            toInt(f, "pages", out.pages);
            sawCommon = true;
        } else if (tag == "page") {
            int id = 0;
            if (!toInt(f, "id", id) || id < 0 || id > 64 || f["file"].empty()) return bad("bad page line");
            if (out.pageFiles.size() <= size_t(id)) out.pageFiles.resize(size_t(id) + 1);
            out.pageFiles[size_t(id)] = f["file"];
        } else if (tag == "char") {
            FntChar c;
            int id = 0;
            if (!toInt(f, "id", id) || id < 0 || !toInt(f, "x", c.x) || !toInt(f, "y", c.y) ||
                !toInt(f, "width", c.width) || !toInt(f, "height", c.height) || !toInt(f, "xoffset", c.xoffset) ||
                !toInt(f, "yoffset", c.yoffset) || !toInt(f, "xadvance", c.xadvance))
                return bad("bad char line");
            toInt(f, "page", c.page);
            c.id = uint32_t(id);
            out.chars[c.id] = c;
        } else if (tag == "kerning") {
            ++out.kerningCount;
            int first = 0, second = 0, amount = 0;
            if (toInt(f, "first", first) && toInt(f, "second", second) && toInt(f, "amount", amount) && first >= 0 &&
                second >= 0)
                out.kerning[{uint32_t(first), uint32_t(second)}] = amount;
        }
    }
    if (!sawCommon) {
        if (error) *error = "no common line";
        return false;
    }
    if (out.pageFiles.empty()) {
        if (error) *error = "no page";
        return false;
    }
    return true;
}

bool loadFnt(const std::string& path, FntFile& out, std::string* error) {
    std::ifstream f(path, std::ios::binary);
    if (!f) {
        if (error) *error = "cannot read " + path;
        return false;
    }
    std::stringstream ss;
    ss << f.rdbuf();
    return parseFnt(ss.str(), out, error);
}

std::vector<uint32_t> decodeUtf8(const std::string& s) {
    std::vector<uint32_t> r;
    size_t i = 0, n = s.size();
    while (i < n) {
        unsigned char c = (unsigned char)s[i];
        int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (len == 0 || i + size_t(len) > n) {
            r.push_back(0xFFFD);
            ++i;
            continue;
        }
        uint32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
        bool ok = true;
        for (int k = 1; k < len; ++k) {
            unsigned char d = (unsigned char)s[i + size_t(k)];
            if ((d >> 6) != 2) ok = false;
            cp = cp << 6 | (d & 0x3F);
        }
        if (!ok) {
            r.push_back(0xFFFD);
            ++i;
            continue;
        }
        r.push_back(cp);
        i += size_t(len);
    }
    return r;
}

std::set<uint32_t> missingChars(const FntFile& font, const std::string& utf8Text) {
    std::set<uint32_t> missing;
    for (uint32_t cp : decodeUtf8(utf8Text)) {
        if (cp == '\n' || cp == '\r' || cp == '\t') continue;
        if (!font.chars.count(cp)) missing.insert(cp);
    }
    return missing;
}

}  // namespace art
