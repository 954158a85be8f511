// Whole files as bytes, for tests that check what was written.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace plotvane::testing {

inline std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

inline void writeAll(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace plotvane::testing
