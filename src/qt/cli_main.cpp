// plotvane-cli: the batch command line. The digitizing runs on the core
// through the headless platform; pictures are read with the window's reader.
#include <QCoreApplication>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "qt/cli_platform.h"

int main(int argc, char** argv) {
  // Qt's image plugins are found through the application object.
  QCoreApplication application(argc, argv);
  std::vector<std::string> arguments(argv + 1, argv + argc);
  plotvane::CliPlatform platform;
  return plotvane::runCli(arguments, platform, std::cout, std::cerr);
}
