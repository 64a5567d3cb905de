// A folder of its own under the system temporary folder, removed afterwards.
#pragma once

#include <unistd.h>

#include <atomic>
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

}  // namespace tavtest
