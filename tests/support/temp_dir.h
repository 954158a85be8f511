// A fresh folder under /tmp for one test, made the working directory while
// the test runs and removed afterwards.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace plotvane::testing {

class TempWorkingDir {
 public:
  TempWorkingDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "plotvane-XXXXXX").string();
    path_ = mkdtemp(pattern.data()) ? pattern : std::string();
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(path_);
  }
  ~TempWorkingDir() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempWorkingDir(const TempWorkingDir&) = delete;
  TempWorkingDir& operator=(const TempWorkingDir&) = delete;

  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
  std::filesystem::path previous_;
};

}  // namespace plotvane::testing
