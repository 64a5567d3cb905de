// A folder of its own under the system temporary folder, removed afterwards.
#pragma once

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/bytes.h"

namespace tavtest {

struct TempFolder {
  std::filesystem::path path;
  TempFolder() {
    static std::atomic<int> counter{0};
    path = std::filesystem::temp_directory_path() /
           ("taviron_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
    std::filesystem::create_directories(path);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  std::string file(const std::string& name) const { return (path / name).string(); }
  // Writes a file of the folder; its path.
  std::string write(const std::string& name, const Buf& bytes) const {
    writeBytes(file(name), bytes);
    return file(name);
  }
};

// Points the system temporary folder (TMPDIR) at a folder of the test's own
// while it lives, to see what code leaves there.
struct SystemTempFolder {
  TempFolder folder;
  std::string saved;
  bool hadOld = false;
  SystemTempFolder() {
    if (const char* old = std::getenv("TMPDIR")) {
      hadOld = true;
      saved = old;
    }
    setenv("TMPDIR", folder.path.c_str(), 1);
  }
  ~SystemTempFolder() {
    if (hadOld)
      setenv("TMPDIR", saved.c_str(), 1);
    else
      unsetenv("TMPDIR");
  }
  SystemTempFolder(const SystemTempFolder&) = delete;
  SystemTempFolder& operator=(const SystemTempFolder&) = delete;
  bool empty() const { return std::filesystem::is_empty(folder.path); }
};

}  // namespace tavtest
