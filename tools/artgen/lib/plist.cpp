#include "plist.hpp"

#include <zlib.h>

#include <cmath>
#include <cstdio>

namespace art {

PlistWriter::PlistWriter() {
    out_ =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
        "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
        "<plist version=\"1.0\">\n";
}

void PlistWriter::indent() { out_.append(size_t(depth_) * 4, ' '); }

void PlistWriter::key(const std::string& k) {
    indent();
    out_ += "<key>" + xmlEscape(k) + "</key>\n";
}

void PlistWriter::beginDict(const std::string& k) {
    if (!k.empty()) key(k);
    indent();
    out_ += "<dict>\n";
    ++depth_;
}

void PlistWriter::endDict() {
    --depth_;
    indent();
    out_ += "</dict>\n";
}

void PlistWriter::string(const std::string& k, const std::string& v) {
    key(k);
    indent();
    out_ += "<string>" + xmlEscape(v) + "</string>\n";
}

void PlistWriter::integer(const std::string& k, long long v) {
    key(k);
    indent();
    out_ += "<integer>" + std::to_string(v) + "</integer>\n";
}

void PlistWriter::real(const std::string& k, double v) {
    key(k);
    indent();
    out_ += "<real>" + formatReal(v) + "</real>\n";
}

void PlistWriter::boolean(const std::string& k, bool v) {
    key(k);
    indent();
    out_ += v ? "<true/>\n" : "<false/>\n";
}

std::string PlistWriter::finish() { return out_ + "</plist>\n"; }

std::string xmlEscape(const std::string& s) {
    std::string r;
    for (char c : s) {
        switch (c) {
        case '&': r += "&amp;"; break;
        case '<': r += "&lt;"; break;
        case '>': r += "&gt;"; break;
        case '"': r += "&quot;"; break;
        default: r += c;
        }
    }
    return r;
}

std::string formatReal(double v) {
    long long scaled = std::llround(v * 10000.0);
    if (scaled == 0) return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s%lld.%04lld", scaled < 0 ? "-" : "", std::llabs(scaled) / 10000,
                  std::llabs(scaled) % 10000);
    std::string s = buf;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s;
}

std::string base64(const std::string& bytes) {
    static const char* tbl = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string r;
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        unsigned v = (unsigned char)bytes[i] << 16 | (unsigned char)bytes[i + 1] << 8 | (unsigned char)bytes[i + 2];
        r += tbl[v >> 18 & 63];
        r += tbl[v >> 12 & 63];
        r += tbl[v >> 6 & 63];
        r += tbl[v & 63];
    }
    if (i < bytes.size()) {
        unsigned v = (unsigned char)bytes[i] << 16;
        if (i + 1 < bytes.size()) v |= (unsigned char)bytes[i + 1] << 8;
        r += tbl[v >> 18 & 63];
        r += tbl[v >> 12 & 63];
        r += i + 1 < bytes.size() ? tbl[v >> 6 & 63] : '=';
        r += '=';
    }
    return r;
}

bool gzipBytes(const std::string& in, std::string& out) {
    z_stream zs{};
    // 15 + 16: gzip wrapper; zlib writes a zero time stamp unless given a header.
    if (deflateInit2(&zs, 9, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) return false;
    out.resize(deflateBound(&zs, uLong(in.size())) + 32);
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    zs.avail_in = uInt(in.size());
    zs.next_out = reinterpret_cast<Bytef*>(&out[0]);
    zs.avail_out = uInt(out.size());
    int rc = deflate(&zs, Z_FINISH);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return rc == Z_STREAM_END;
}

}  // namespace art
