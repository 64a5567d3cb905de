#include "model/history_file.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "model/le_io.h"
#include "model/project.h"
#include "model/save_file.h"

namespace tav {

namespace {

constexpr std::size_t OFS_UNITS = 0;
constexpr std::size_t OFS_PROJECT_FOLDER = 2048;
constexpr std::size_t OFS_SPEAKER_DATABASE = 2304;
constexpr std::size_t OFS_ABSORBER_DATABASE = 2560;
constexpr std::size_t OFS_FOURTH_PATH = 2816;
constexpr std::size_t OFS_RECENT = 3072;

std::string pathAt(const std::array<std::uint8_t, HISTORY_FILE_SIZE>& image, std::size_t offset) {
  const char* p = reinterpret_cast<const char*>(image.data() + offset);
  const std::size_t n = strnlen(p, HISTORY_PATH_SIZE);
  // A field without its NUL holds no usable path.
  return n < HISTORY_PATH_SIZE ? std::string(p, n) : std::string();
}

void putPath(std::array<std::uint8_t, HISTORY_FILE_SIZE>& image, std::size_t offset,
             const std::string& path) {
  std::uint8_t* field = image.data() + offset;
  std::memset(field, 0, HISTORY_PATH_SIZE);
  if (path.size() < HISTORY_PATH_SIZE && path.find('\0') == std::string::npos)
    std::memcpy(field, path.data(), path.size());
}

}  // namespace

std::size_t History::recentCount() const {
  return static_cast<std::size_t>(
      std::count_if(recent.begin(), recent.end(), [](const std::string& s) { return !s.empty(); }));
}

std::string defaultHistoryPath() {
  namespace fs = std::filesystem;
  fs::path base;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || !home[0]) {
      const passwd* pw = ::getpwuid(::getuid());
      home = pw ? pw->pw_dir : nullptr;
    }
    if (!home || !home[0]) return {};
    base = fs::path(home) / ".config";
  }
  return (base / "taviron" / HISTORY_FILE_NAME).string();
}

History loadHistory(const std::string& path) {
  const auto bytes = readWholeFile(path);
  if (!bytes) return History{};
  return readHistory(*bytes);
}

History readHistory(std::span<const std::uint8_t> bytes) {
  History history;
  if (bytes.size() < HISTORY_FILE_SIZE) return history;
  std::copy_n(bytes.begin(), HISTORY_FILE_SIZE, history.image.begin());
  history.feet = loadU32(history.image.data() + OFS_UNITS) == 1;
  history.projectFolder = pathAt(history.image, OFS_PROJECT_FOLDER);
  history.speakerDatabasePath = pathAt(history.image, OFS_SPEAKER_DATABASE);
  history.absorberDatabasePath = pathAt(history.image, OFS_ABSORBER_DATABASE);
  history.fourthPath = pathAt(history.image, OFS_FOURTH_PATH);
  // Entries are compacted to the front: an empty entry ends the list.
  std::size_t n = 0;
  for (std::size_t i = 0; i < RECENT_PROJECT_COUNT; ++i) {
    std::string entry = pathAt(history.image, OFS_RECENT + i * HISTORY_PATH_SIZE);
    if (!entry.empty()) history.recent[n++] = std::move(entry);
  }
  return history;
}

bool writeHistory(const std::string& path, const History& history) {
  namespace fs = std::filesystem;
  if (path.empty()) return false;
  std::array<std::uint8_t, HISTORY_FILE_SIZE> image = history.image;
  storeU32(image.data() + OFS_UNITS, history.feet ? 1 : 0);
  putPath(image, OFS_PROJECT_FOLDER, history.projectFolder);
  putPath(image, OFS_SPEAKER_DATABASE, history.speakerDatabasePath);
  putPath(image, OFS_ABSORBER_DATABASE, history.absorberDatabasePath);
  // The fourth path is carried as the 256 bytes it was read as, bytes after
  // its NUL included.
  for (std::size_t i = 0; i < RECENT_PROJECT_COUNT; ++i)
    putPath(image, OFS_RECENT + i * HISTORY_PATH_SIZE, history.recent[i]);
  std::error_code ec;
  const fs::path folder = fs::path(path).parent_path();
  if (!folder.empty()) fs::create_directories(folder, ec);
  return saveFileAtomically(path, image);
}

void enterRecentProject(History& history, const std::string& projectName) {
  if (projectName.empty() || projectName == DEFAULT_PROJECT_NAME) return;
  auto& r = history.recent;
  const auto found = std::find(r.begin(), r.end(), projectName);
  // Entries before the found one (or all but the last, when absent) move
  // down by one; the project goes to the front.
  const auto end = found == r.end() ? r.end() - 1 : found;
  std::move_backward(r.begin(), end, end + 1);
  r[0] = projectName;
}

bool updateHistory(History& history, const std::string& projectName, const std::string& path) {
  enterRecentProject(history, projectName);
  return writeHistory(path, history);
}

}  // namespace tav
