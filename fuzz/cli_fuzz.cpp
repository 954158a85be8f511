// plotvane-cli's argument handling called as a function: the input is the
// argument list, one argument per NUL-separated part. The picture is a small
// chart on the headless platform, and no file is written: every run ends in
// an exit code and, unless it succeeded, a message.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace {

// The headless platform with its file writes kept in memory.
class FuzzPlatform : public plotvane::HeadlessPlatform {
 public:
  plotvane::FileError replaceFile(const std::string&, const std::string& bytes) override {
    written += bytes.size();
    return 0;
  }
  plotvane::FileError appendFile(const std::string&, const std::string& bytes) override {
    written += bytes.size();
    return 0;
  }
  std::size_t written = 0;
};

plotvane::PixelArray chart() {
  plotvane::PixelArray picture(48, 32, 0xFFFFFF);
  for (int x = 0; x < 48; ++x) {
    picture.set(x, 4 + x / 2, 0);
    for (int y = 5 + x / 2; y < 32; ++y) picture.set(x, y, 0xDCDCDC);
  }
  return picture;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> arguments(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0)
      arguments.emplace_back();
    else
      arguments.back() += static_cast<char>(data[i]);
  }
  if (arguments.size() > 64) return -1;  // not a command line anyone types
  FuzzPlatform platform;
  platform.setPicture("chart.bmp", chart());
  std::ostringstream out, err;
  const int code = plotvane::runCli(arguments, platform, out, err);
  if (code != plotvane::kCliOk && code != plotvane::kCliFailed && code != plotvane::kCliUsage)
    std::abort();
  if (code != plotvane::kCliOk && err.str().empty()) std::abort();
  return 0;
}
