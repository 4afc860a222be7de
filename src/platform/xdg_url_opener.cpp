#include "platform/xdg_url_opener.h"

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace orva::platform {

bool XdgUrlOpener::Open(const std::string& url) {
  // The address goes as one argument vector entry: no shell ever sees it.
  std::string program = "xdg-open";
  char* argv[] = {program.data(), const_cast<char*>(url.c_str()), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ) != 0) return false;
  // xdg-open hands the address to the browser and returns; reap it so no zombie stays.
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace orva::platform
