// Helpers shared by the fuzz targets: seed corpora written by the targets
// themselves, and a scratch folder for readers that take a path.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

namespace tav::fuzz {

inline void writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// With TAVIRON_FUZZ_SEEDS set to a folder, the target writes its seed inputs
// there through `write` and exits instead of fuzzing. Called from
// LLVMFuzzerInitialize.
template <typename Write>
void writeSeedsIfAsked(Write write) {
  const char* dir = std::getenv("TAVIRON_FUZZ_SEEDS");
  if (!dir || !dir[0]) return;
  std::filesystem::create_directories(dir);
  write(std::filesystem::path(dir));
  std::exit(0);
}

// A folder of this process (in memory when /dev/shm exists), removed on a
// normal exit; inputs for path-only readers are written into it.
class ScratchDir {
 public:
  ScratchDir() {
    namespace fs = std::filesystem;
    const fs::path base =
        fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    path_ = base / ("taviron-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  std::filesystem::path file(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

inline ScratchDir& scratch() {
  static ScratchDir dir;
  return dir;
}

// Crashes on a broken invariant, so that libFuzzer keeps the input.
inline void check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

}  // namespace tav::fuzz
