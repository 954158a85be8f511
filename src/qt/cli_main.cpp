// plotvane-cli: the batch command line. The digitizing runs on the core
// through the headless platform; pictures are read with the window's reader,
// on as many threads as --jobs asks for.
#include <unistd.h>

#include <QCoreApplication>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "cli/cli.h"
#include "qt/cli_platform.h"

int main(int argc, char** argv) {
  // Qt's image plugins are found through the application object.
  QCoreApplication application(argc, argv);
  std::vector<std::string> arguments(argv + 1, argv + argc);
  plotvane::CliSetup setup;
  setup.newPlatform = [] { return std::make_unique<plotvane::CliPlatform>(); };
  setup.cores = std::thread::hardware_concurrency();
  setup.progress = isatty(STDERR_FILENO) == 1;
  return plotvane::runCli(arguments, setup, std::cout, std::cerr);
}
