// plotvane-cli: batch digitizing and picture preparation on the same core as
// the window.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/headless_platform.h"

namespace plotvane {

inline constexpr int kCliOk = 0;
inline constexpr int kCliFailed = 1;
inline constexpr int kCliUsage = 2;

struct CliSetup {
  // Makes the platform of one job (called on the calling thread, once per
  // job): pictures are read through its readPicture, files written through
  // its replaceFile, and the messages the core shows on it are printed.
  std::function<std::unique_ptr<HeadlessPlatform>()> newPlatform;
  // The number of jobs when --jobs is not given.
  unsigned cores = 1;
  // Standard error is a terminal: a progress line is shown while several
  // pictures are digitized.
  bool progress = false;
};

// Runs the command line (arguments without the program name): the data file
// goes to --output, into --output-dir, or to `out`; messages go to `err`.
// Returns the exit code.
int runCli(const std::vector<std::string>& arguments, const CliSetup& setup, std::ostream& out,
           std::ostream& err);

// The same with every picture done on this one platform, one at a time
// whatever --jobs says (the files written are the same), and no progress
// line.
int runCli(const std::vector<std::string>& arguments, HeadlessPlatform& platform, std::ostream& out,
           std::ostream& err);

std::string cliUsage();

}  // namespace plotvane
