#include "platform/platform.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace plotvane {

std::string Platform::errorText(FileError error) {
  return std::strerror(error);
}

std::string Platform::joinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

namespace posix_files {

std::string currentDirectory() {
  std::vector<char> buffer(4096);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return {};
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

FileError setCurrentDirectory(const std::string& path) {
  return chdir(path.c_str()) == 0 ? 0 : errno;
}

FileError readFile(const std::string& path, std::string& bytes) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  std::string content;
  char chunk[65536];
  for (;;) {
    const ssize_t got = read(fd, chunk, sizeof chunk);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      close(fd);
      return error;
    }
    content.append(chunk, static_cast<size_t>(got));
  }
  close(fd);
  bytes = std::move(content);
  return 0;
}

FileError removeFile(const std::string& path) {
  return unlink(path.c_str()) == 0 ? 0 : errno;
}

FileError writeNewFile(const std::string& path, const std::string& bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return errno;
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      close(fd);
      return error;
    }
    done += static_cast<size_t>(put);
  }
  if (close(fd) != 0) return errno;
  return 0;
}

}  // namespace posix_files
}  // namespace plotvane
