// plotvane-cli: batch digitizing on the same core as the window.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/headless_platform.h"

namespace plotvane {

inline constexpr int kCliOk = 0;
inline constexpr int kCliFailed = 1;
inline constexpr int kCliUsage = 2;

// Runs the command line (arguments without the program name) on the given
// platform: the picture is read through platform.readPicture, messages the
// core shows are printed to `err`, the data file goes to `--output` or `out`.
// Returns the exit code.
int runCli(const std::vector<std::string>& arguments, HeadlessPlatform& platform, std::ostream& out,
           std::ostream& err);

std::string cliUsage();

}  // namespace plotvane
