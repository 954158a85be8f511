#include "platform/platform.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <limits>
#include <string_view>
#include <vector>

namespace plotvane {

namespace {

// strerror_r is the GNU one (the text) or the POSIX one (0 and the text in
// the buffer), depending on the C library's feature settings.
[[maybe_unused]] std::string reentrantErrorText(const char* text, const char*) {
  return text;
}
[[maybe_unused]] std::string reentrantErrorText(int result, const char* buffer) {
  return result == 0 ? buffer : "Unknown error";
}

}  // namespace

// strerror may share one buffer between threads; its reentrant form does not.
std::string Platform::errorText(FileError error) {
  if (error == kNotRegularFile) return "Not a regular file";
  char buffer[256] = "";
  return reentrantErrorText(strerror_r(error, buffer, sizeof buffer), buffer);
}

std::string Platform::joinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

LocalTime Platform::systemLocalTime() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  localtime_r(&now, &parts);
  return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
          parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

std::vector<std::string> Platform::userVolumes(const std::vector<std::string>& mountPoints) {
  std::vector<std::string> volumes;
  for (std::string point : mountPoints) {
    while (point.size() > 1 && point.back() == '/') point.pop_back();
    for (const std::string_view base : {"/media", "/mnt", "/run/media"}) {
      if (point.compare(0, base.size(), base) == 0 &&
          (point.size() == base.size() || point[base.size()] == '/')) {
        volumes.push_back(point);
        break;
      }
    }
  }
  std::sort(volumes.begin(), volumes.end());
  volumes.erase(std::unique(volumes.begin(), volumes.end()), volumes.end());
  volumes.insert(volumes.begin(), "/");
  return volumes;
}

PictureLimits PictureLimits::forThisMachine() {
  PictureLimits limits;
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  if (pages > 0 && pageSize > 0) {
    const std::uint64_t quarter =
        static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize) / 4;
    if (quarter < limits.maxBytes) limits.maxBytes = quarter;
  }
  limits.maxLoadBytes = 2 * limits.maxBytes;
  return limits;
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

namespace {

// What stat says of a path, as readFile and the writers refuse it.
FileError kindError(const struct stat& info) {
  if (S_ISREG(info.st_mode)) return 0;
  return S_ISDIR(info.st_mode) ? EISDIR : kNotRegularFile;
}

}  // namespace

FileError regularFileCheck(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return errno;
  return kindError(info);
}

FileError readFile(const std::string& path, std::size_t maxBytes, std::string& bytes,
                   bool wholeOnly, const std::function<void()>& afterOpen) {
  // Looked at before the open: opening a pipe waits for a writer.
  if (const FileError error = regularFileCheck(path)) return error;
  // Something else may have taken the name meanwhile: opened without
  // waiting, and looked at once more.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return errno;
  struct stat info;
  FileError error = fstat(fd, &info) != 0 ? errno : kindError(info);
  const auto length = static_cast<std::uint64_t>(info.st_size);
  if (!error && wholeOnly && length > maxBytes) error = EFBIG;
  if (error) {
    close(fd);
    return error;
  }
  if (afterOpen) afterOpen();
  // Read up to the end the file has when read: it may have grown or shrunk
  // since it was looked at.
  std::string content;
  content.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(length, maxBytes)));
  char chunk[65536];
  while (content.size() < maxBytes) {
    const std::size_t wanted = std::min(sizeof chunk, maxBytes - content.size());
    const ssize_t got = read(fd, chunk, wanted);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      error = errno;
      break;
    }
    content.append(chunk, static_cast<std::size_t>(got));
  }
  // A file that grew past the bound while it was read is still too long.
  if (!error && wholeOnly && content.size() == maxBytes) {
    char extra;
    if (read(fd, &extra, 1) > 0) error = EFBIG;
  }
  close(fd);
  if (error) return error;
  bytes = std::move(content);
  return 0;
}

FileError readFile(const std::string& path, std::string& bytes) {
  return readFile(path, std::numeric_limits<std::size_t>::max(), bytes, true);
}

FileError listFolder(const std::string& path, std::vector<FolderEntry>& entries) {
  DIR* folder = opendir(path.c_str());
  if (!folder) return errno;
  std::vector<FolderEntry> found;
  FileError error = 0;
  for (;;) {
    errno = 0;
    const dirent* item = readdir(folder);
    if (!item) {
      error = errno;
      break;
    }
    const std::string name = item->d_name;
    if (name == "." || name == "..") continue;
    struct stat info;
    // A name that went away or a link to nothing is simply not listed.
    if (fstatat(dirfd(folder), name.c_str(), &info, 0) != 0) continue;
    if (!S_ISDIR(info.st_mode) && !S_ISREG(info.st_mode)) continue;
    found.push_back({name, S_ISDIR(info.st_mode), name.front() == '.'});
  }
  closedir(folder);
  if (error) return error;
  entries = std::move(found);
  return 0;
}

FileError makeFolders(const std::string& path) {
  if (path.empty()) return ENOENT;
  std::size_t end = 0;
  while (end != std::string::npos) {
    end = path.find('/', end + 1);
    const std::string folder = path.substr(0, end);
    if (folder.empty() || folder.back() == '/') continue;
    if (mkdir(folder.c_str(), 0777) == 0) continue;
    const int error = errno;
    struct stat info;
    if (stat(folder.c_str(), &info) != 0) return error;
    if (!S_ISDIR(info.st_mode)) return ENOTDIR;
  }
  return 0;
}

namespace {

FileError ask(const FileFaults& faults, FileStep step) {
  return faults ? faults(step) : 0;
}

FileError writeAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (put == 0) return EIO;
    done += static_cast<std::size_t>(put);
  }
  return 0;
}

// Flushes to the disk before a rename makes the new contents the file's, so
// a crash cannot leave an empty file in place of the old one. File systems
// that cannot flush answer EINVAL; nothing is lost by going on there.
FileError flush(int fd) {
  if (fsync(fd) == 0 || errno == EINVAL) return 0;
  return errno;
}

// The folder part of a path with its trailing separator, "" for a bare name.
std::string folderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file a path finally names once symbolic links are followed. It need
// not exist: a link may point at a file still to be made.
FileError followLinks(const std::string& path, std::string& target) {
  std::string current = path;
  for (int depth = 0; depth < 40; ++depth) {
    struct stat info;
    if (lstat(current.c_str(), &info) != 0) {
      if (errno != ENOENT) return errno;
      target = current;
      return 0;
    }
    if (!S_ISLNK(info.st_mode)) {
      target = current;
      return 0;
    }
    std::vector<char> buffer(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1);
    for (;;) {
      const ssize_t length = readlink(current.c_str(), buffer.data(), buffer.size());
      if (length < 0) return errno;
      if (static_cast<std::size_t>(length) < buffer.size()) {
        buffer.resize(static_cast<std::size_t>(length));
        break;
      }
      buffer.resize(buffer.size() * 2);
    }
    const std::string link(buffer.begin(), buffer.end());
    if (link.empty()) return ENOENT;
    current = link.front() == '/' ? link : folderOf(current) + link;
  }
  return ELOOP;
}

// Creates a file of a name no other file has, in the target's folder (so the
// rename stays within one file system).
int createTemporaryBeside(const std::string& target, mode_t mode, std::string& name) {
  // Files may be replaced on several threads at once (the command line's jobs).
  static std::atomic<unsigned> serial = 0;
  const std::string folder = folderOf(target);
  std::string base = target.substr(folder.size());
  if (base.size() > 200) base.resize(200);  // room for the suffix within NAME_MAX
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = folder + "." + base + "." + std::to_string(getpid()) + "-" + std::to_string(++serial) +
           ".tmp";
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

}  // namespace

FileError fileExists(const std::string& path, bool& exists) {
  struct stat info;
  if (stat(path.c_str(), &info) == 0) {
    exists = !S_ISDIR(info.st_mode);
    return 0;
  }
  if (errno != ENOENT) return errno;
  exists = false;
  return 0;
}

FileError replaceFile(const std::string& path, const std::string& bytes, const FileFaults& faults) {
  if (path.empty()) return ENOENT;
  std::string target;
  if (const FileError error = followLinks(path, target)) return error;
  struct stat old;
  const bool existed = stat(target.c_str(), &old) == 0;
  if (!existed && errno != ENOENT) return errno;
  // A device or a pipe cannot be swapped for a regular file.
  if (existed) {
    if (const FileError error = kindError(old)) return error;
  }
  if (const FileError error = ask(faults, FileStep::Create)) return error;
  // The rename needs no right to write the old file, but a file its owner
  // protected from writing must not be replaced behind that protection.
  if (existed && faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return errno;

  std::string temporary;
  // A new file gets the usual mode less the umask; a replaced one its old mode.
  const int fd = createTemporaryBeside(target, existed ? 0600 : 0666, temporary);
  if (fd < 0) return errno;
  FileError error = 0;
  if (existed) {
    // Only a privileged user may give a file to another owner; the old
    // owner is kept where that is allowed.
    if (old.st_uid != geteuid() || old.st_gid != getegid()) {
      [[maybe_unused]] const int ignored = fchown(fd, old.st_uid, old.st_gid);
    }
    if (fchmod(fd, old.st_mode & 07777) != 0) error = errno;
  }
  if (!error) error = ask(faults, FileStep::Write);
  if (!error) error = writeAll(fd, bytes);
  if (!error) error = flush(fd);
  FileError closeError = ask(faults, FileStep::Close);
  if (close(fd) != 0 && !closeError) closeError = errno;
  if (!error) error = closeError;
  if (!error) error = ask(faults, FileStep::Rename);
  if (!error && rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  if (error) unlink(temporary.c_str());
  return error;
}

FileError appendFile(const std::string& path, const std::string& bytes, const FileFaults& faults) {
  if (const FileError error = ask(faults, FileStep::Create)) return error;
  // Looked at before the open: opening a pipe for writing waits for a
  // reader. Then opened without waiting and looked at once more.
  const FileError kind = regularFileCheck(path);
  if (kind == ENOENT) return replaceFile(path, bytes, faults);
  if (kind) return kind;
  const int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return replaceFile(path, bytes, faults);
    return errno;
  }
  struct stat old;
  FileError error = fstat(fd, &old) != 0 ? errno : kindError(old);
  if (error) {
    close(fd);
    return error;
  }
  error = ask(faults, FileStep::Write);
  if (!error) error = writeAll(fd, bytes);
  if (!error) error = flush(fd);
  // Part of the bytes may have reached the file: cut it back.
  if (error) {
    [[maybe_unused]] const int ignored = ftruncate(fd, old.st_size);
  }
  FileError closeError = ask(faults, FileStep::Close);
  if (close(fd) != 0 && !closeError) closeError = errno;
  if (!error && closeError) {
    error = closeError;
    [[maybe_unused]] const int ignored = truncate(path.c_str(), old.st_size);
  }
  return error;
}

}  // namespace posix_files
}  // namespace plotvane
