// Fails when a source of the headless areas (the rules, the hub) includes a header
// of the window, graphics, transport or engine layers: SDL, OpenGL (GL, GLEW, EGL),
// ENet, the network library (raknet/) or the engine (cocos2d/, or any header found
// under the engine folders). Those areas are built without such include paths, but
// the system include folder holds SDL, GL and ENet, so a stray include would still
// compile there. Comments and literals are not includes.
//
//   headless_includes --engine DIR... --areas DIR...
// Exit status 0 when clean, 1 with one line per stray include, 2 on bad use.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool isSource(const fs::path& p) {
  const std::string ext = p.extension().string();
  return ext == ".cpp" || ext == ".cc" || ext == ".h" || ext == ".hpp";
}

// The text with every comment replaced by a space and every literal's contents
// kept (an include's "name" is a literal); line breaks stay where they were.
std::string withoutComments(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  enum { Code, Line, Block, Quote, Tick } state = Code;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    switch (state) {
      case Code:
        if (c == '/' && next == '/') {
          state = Line;
          ++i;
        } else if (c == '/' && next == '*') {
          state = Block;
          out += ' ';
          ++i;
        } else {
          if (c == '"') state = Quote;
          if (c == '\'') state = Tick;
          out += c;
        }
        break;
      case Line:
        if (c == '\n') {
          state = Code;
          out += c;
        }
        break;
      case Block:
        if (c == '*' && next == '/') {
          state = Code;
          ++i;
        } else if (c == '\n') {
          out += c;
        }
        break;
      case Quote:
      case Tick:
        out += c;
        if (c == '\\' && next != '\0') {
          out += next;
          ++i;
        } else if ((state == Quote && c == '"') || (state == Tick && c == '\'') || c == '\n') {
          state = Code;
        }
        break;
    }
  }
  return out;
}

// Why `header` is not for the headless areas ("" when it may be included).
std::string forbidden(const std::string& header, const std::set<std::string>& engineHeaders) {
  const std::string name = fs::path(header).filename().string();
  static const std::regex sdl("^SDL2?/.*|^SDL([_.].*)?$");
  static const std::regex gl("^(GL|GLES[0-9]*|EGL|KHR)/.*");
  static const std::regex glName("^(glew.*|gl[uxe]?\\.h)$");
  if (std::regex_match(header, sdl) || std::regex_match(name, sdl)) return "SDL";
  if (std::regex_match(header, gl) || std::regex_match(name, glName)) return "OpenGL";
  if (header.rfind("enet/", 0) == 0 || name == "enet.h") return "ENet";
  if (header.rfind("raknet/", 0) == 0) return "network library";
  if (header.rfind("cocos2d", 0) == 0 || engineHeaders.count(name)) return "engine";
  return "";
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<fs::path> engine, areas;
  std::vector<fs::path>* into = nullptr;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--engine") into = &engine;
    else if (arg == "--areas") into = &areas;
    else if (into) into->push_back(arg);
    else {
      std::fprintf(stderr, "usage: headless_includes --engine DIR... --areas DIR...\n");
      return 2;
    }
  }
  if (areas.empty()) {
    std::fprintf(stderr, "headless_includes: no areas given\n");
    return 2;
  }

  std::set<std::string> engineHeaders;
  for (const fs::path& dir : engine)
    for (const auto& e : fs::recursive_directory_iterator(dir))
      if (e.is_regular_file() && isSource(e.path()) && e.path().extension() != ".cpp")
        engineHeaders.insert(e.path().filename().string());

  static const std::regex include("^[ \\t]*#[ \\t]*include[ \\t]*[<\"]([^>\"]+)[>\"]");
  int files = 0, strays = 0;
  for (const fs::path& area : areas) {
    if (!fs::is_directory(area)) {
      std::fprintf(stderr, "headless_includes: %s is no folder\n", area.c_str());
      return 2;
    }
    for (const auto& e : fs::recursive_directory_iterator(area)) {
      if (!e.is_regular_file() || !isSource(e.path())) continue;
      ++files;
      std::ifstream in(e.path(), std::ios::binary);
      std::stringstream text;
      text << in.rdbuf();
      std::istringstream lines(withoutComments(text.str()));
      std::string line;
      for (int number = 1; std::getline(lines, line); ++number) {
        std::smatch m;
        if (!std::regex_search(line, m, include)) continue;
        const std::string header = m[1];
        // A header of the areas themselves (beside the source or under an area) is theirs.
        bool own = fs::exists(e.path().parent_path() / header);
        for (const fs::path& a : areas) own = own || fs::exists(a / header);
        if (own) continue;
        const std::string why = forbidden(header, engineHeaders);
        if (why.empty()) continue;
        std::printf("%s:%d: includes %s (%s)\n", e.path().c_str(), number, header.c_str(), why.c_str());
        ++strays;
      }
    }
  }
  if (files == 0) {
    std::fprintf(stderr, "headless_includes: no sources found\n");
    return 2;
  }
  std::printf("headless_includes: %d files, %d stray includes\n", files, strays);
  return strays ? 1 : 0;
}
