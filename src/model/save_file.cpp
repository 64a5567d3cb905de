#include "model/save_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <new>

namespace tav {

namespace {

bool writeAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

mode_t newFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

bool saveFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
  namespace fs = std::filesystem;
  if (path.empty()) return false;
  mode_t mode = newFileMode();
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) return false;
    // Honour write protection of the file being replaced.
    if (::access(path.c_str(), W_OK) != 0) return false;
    mode = st.st_mode & 07777;
  }
  std::string tmpl = path + ".XXXXXX";
  const int fd = ::mkstemp(tmpl.data());
  if (fd < 0) return false;
  bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = std::rename(tmpl.c_str(), path.c_str()) == 0;
  if (!ok) {
    ::unlink(tmpl.c_str());
    return false;
  }
  // Make the rename itself durable.
  fs::path folder = fs::path(path).parent_path();
  if (folder.empty()) folder = ".";
  const int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  char buffer[65536];
  try {
    while (in) {
      in.read(buffer, sizeof buffer);
      bytes.insert(bytes.end(), buffer, buffer + in.gcount());
    }
  } catch (const std::bad_alloc&) {
    return std::nullopt;  // a file larger than memory reads as not opened
  }
  if (in.bad()) return std::nullopt;
  return bytes;
}

bool copyFileAtomically(const std::string& from, const std::string& to) {
  auto bytes = readWholeFile(from);
  if (!bytes) return false;
  return saveFileAtomically(to, *bytes);
}

}  // namespace tav
