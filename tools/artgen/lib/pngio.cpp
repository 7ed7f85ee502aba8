#include "pngio.hpp"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace art {

namespace {

void pngWrite(png_structp png, png_bytep data, png_size_t len) {
    auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + len);
}

void pngFlush(png_structp) {}

}  // namespace

bool encodePng(const Canvas& c, std::vector<unsigned char>& out) {
    out.clear();
    if (c.width() <= 0 || c.height() <= 0) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    std::vector<png_bytep> rows(size_t(c.height()));
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, pngWrite, pngFlush);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, png_uint_32(c.width()), png_uint_32(c.height()), 8, PNG_COLOR_TYPE_RGBA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const unsigned char* base = reinterpret_cast<const unsigned char*>(c.pixels().data());
    for (int y = 0; y < c.height(); ++y)
        rows[size_t(y)] = const_cast<png_bytep>(base + size_t(y) * size_t(c.width()) * 4);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool writePng(const Canvas& c, const std::string& path) {
    std::vector<unsigned char> bytes;
    if (!encodePng(c, bytes)) return false;
    return writeFile(path, std::string(bytes.begin(), bytes.end()));
}

bool readPng(const std::string& path, Canvas& out) {
    png_image img;
    std::memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&img, path.c_str())) return false;
    // A picture larger than any the tools make or read is refused before its pixels
    // are given memory.
    if (img.width > 16384 || img.height > 16384 || uint64_t(img.width) * img.height > (uint64_t(1) << 26)) {
        png_image_free(&img);
        return false;
    }
    img.format = PNG_FORMAT_RGBA;
    Canvas c(int(img.width), int(img.height));
    if (!png_image_finish_read(&img, nullptr, c.pixels().data(), 0, nullptr)) {
        png_image_free(&img);
        return false;
    }
    out = std::move(c);
    return true;
}

bool readFile(const std::string& path, std::string& out) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return false;
    std::stringstream ss;
    ss << f.rdbuf();
    out = ss.str();
    return true;
}

bool writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    if (!f) return false;
    f.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(f);
}

bool makeDirs(const std::string& path) {
    std::string cur;
    std::stringstream ss(path);
    std::string part;
    if (!path.empty() && path[0] == '/') cur = "/";
    while (std::getline(ss, part, '/')) {
        if (part.empty()) continue;
        cur += part + "/";
        if (mkdir(cur.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    return true;
}

}  // namespace art
