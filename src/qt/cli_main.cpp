// plotvane-cli: the batch command line. The digitizing runs on the core
// through the headless platform; pictures are read with the window's reader,
// on as many threads as --jobs asks for.
#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cerrno>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "cli/cli.h"
#include "qt/cli_platform.h"

namespace {

// A standard stream the caller closed is held on /dev/null, so that no file
// the program opens takes its number and gets the output. Standard output
// is held read-only: writing there fails and is reported.
void holdClosedStandardStreams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int held = open("/dev/null", fd == 2 ? O_WRONLY : O_RDONLY);
    if (held >= 0 && held != fd) {
      dup2(held, fd);
      close(held);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  holdClosedStandardStreams();
  // Qt's image plugins are found through the application object.
  QCoreApplication application(argc, argv);
  std::vector<std::string> arguments(argv + 1, argv + argc);
  plotvane::CliSetup setup;
  setup.newPlatform = [] { return std::make_unique<plotvane::CliPlatform>(); };
  setup.cores = std::thread::hardware_concurrency();
  setup.progress = isatty(STDERR_FILENO) == 1;
  return plotvane::runCli(arguments, setup, std::cout, std::cerr);
}
