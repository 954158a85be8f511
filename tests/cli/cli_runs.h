// What the command line tests share: a small chart for every graph type and
// runs of plotvane-cli on the headless platform with their output and exit
// code.
#pragma once

#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "platform/headless_platform.h"

namespace plotvane::testing {

// A line falling from the top left to the bottom right, a light filled area
// under it and a few dots above it.
inline PixelArray chart(int width = 120, int height = 80) {
  PixelArray picture(width, height, 0xFFFFFF);
  for (int x = 0; x < width; ++x) {
    const int y = height / 8 + x * (height * 3 / 4) / width;
    picture.set(x, y, 0);
    for (int below = y + 1; below < height; ++below) picture.set(x, below, rgbValue(220, 220, 220));
  }
  for (int dot = 0; dot < 5; ++dot) picture.set(width * 2 / 3 + dot * 6, height * 3 / 20 + dot, 0);
  return picture;
}

struct CliRun {
  int code = -1;
  std::string out, err;
};

// Runs plotvane-cli on the platform or setup given.
template <typename Platform>
CliRun runWith(Platform& platform, const std::vector<std::string>& arguments) {
  std::ostringstream out, err;
  const int code = runCli(arguments, platform, out, err);
  return {code, out.str(), err.str()};
}

// Runs with one platform per job, each knowing these pictures by name.
class CliPictures {
 public:
  void add(const std::string& path, PixelArray picture) { pictures_[path] = std::move(picture); }

  CliRun run(const std::vector<std::string>& arguments, bool progress = false) const {
    CliSetup setup;
    setup.newPlatform = [this] {
      auto platform = std::make_unique<HeadlessPlatform>();
      for (const auto& [path, picture] : pictures_) platform->setPicture(path, picture);
      return platform;
    };
    setup.cores = 3;
    setup.progress = progress;
    return runWith(setup, arguments);
  }

 private:
  std::map<std::string, PixelArray> pictures_;
};

}  // namespace plotvane::testing
