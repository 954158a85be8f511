// The command line's arguments: what plotvane-cli was asked to do, checked
// before any picture is read.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "cli/prepare.h"

namespace plotvane {

enum class CliCommand { Digitize, Prepare, Help, Version };

struct CliOptions {
  CliCommand command = CliCommand::Help;
  std::vector<std::string> pictures;  // in the order given
  int type = 0;
  // XS, YT, XE, YB in picture pixels, or L, T, R, B as shares of the width
  // and height; at most one of the two.
  std::optional<std::array<double, 4>> rect, rectFraction;
  std::optional<std::array<std::string, 2>> x, y;  // the scale fields' texts
  std::optional<std::string> division, pitch;
  std::string filter = "1";
  char delimiter = ',';
  std::optional<std::string> output, outputDir, savePicture;
  std::optional<int> jobs;
  std::vector<PrepareStep> steps;  // in the order given
};

struct UsageError {
  std::string text;
};

inline constexpr int kMaxJobs = 256;

// UsageError, naming the option and its accepted form, for anything the
// command cannot run with.
CliOptions parseCliArguments(const std::vector<std::string>& arguments);

// The data file's name in --output-dir for a picture: its name without the
// folder and the last extension, then ".csv" (comma) or ".txt". Empty when
// the path names no file.
std::string dataFileName(const std::string& picture, char delimiter);

std::string cliUsage();

}  // namespace plotvane
