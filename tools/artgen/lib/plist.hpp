// Writes Apple property lists (XML) the way the engine's sprite and particle
// loaders read them, with stable formatting.
#pragma once

#include <string>
#include <vector>

namespace art {

class PlistWriter {
public:
    PlistWriter();
    void beginDict(const std::string& key = "");
    void endDict();
    void key(const std::string& k);
    void string(const std::string& k, const std::string& v);
    void integer(const std::string& k, long long v);
    void real(const std::string& k, double v);
    void boolean(const std::string& k, bool v);
    // Closes the document and returns its text.
    std::string finish();

private:
    void indent();
    std::string out_;
    int depth_ = 0;
};

std::string xmlEscape(const std::string& s);
// Shortest fixed notation of v with up to four decimals ("1", "0.25", "-3.5").
std::string formatReal(double v);
std::string base64(const std::string& bytes);
// gzip with a zero time stamp, so equal input gives equal bytes.
bool gzipBytes(const std::string& in, std::string& out);

}  // namespace art
