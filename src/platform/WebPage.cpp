#include "WebPage.h"

#include <sys/wait.h>
#include <unistd.h>

#include "logog/logog.hpp"

namespace mv {

bool isWebAddress(const std::string& url) {
  auto startsWith = [&](const char* prefix) {
    return url.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
  };
  if (!startsWith("http://") && !startsWith("https://")) return false;
  for (unsigned char c : url)
    if (c < 0x20 || c == 0x7F) return false;
  return url.size() > 8;
}

bool openWebPage(const std::string& url) {
  if (!isWebAddress(url)) {
    LOGOG_WARN("Refusing to open a web page that is not an http(s) address: %s", url.c_str());
    return false;
  }
  // The browser is started from a grandchild so that it is never left as our zombie.
  pid_t child = fork();
  if (child < 0) {
    LOGOG_ERROR("Cannot start the browser for %s", url.c_str());
    return false;
  }
  if (child == 0) {
    pid_t grandchild = fork();
    if (grandchild == 0) {
      char program[] = "xdg-open";
      char* argv[] = {program, const_cast<char*>(url.c_str()), nullptr};
      execvp(program, argv);
      _exit(127);
    }
    _exit(grandchild < 0 ? 1 : 0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    LOGOG_ERROR("Cannot start the browser for %s", url.c_str());
    return false;
  }
  return true;
}

}  // namespace mv
