// The history file: units, the last folders and the four most recent
// projects, kept between sessions in the user's configuration folder.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace tav {

constexpr std::size_t HISTORY_FILE_SIZE = 4096;
constexpr std::size_t HISTORY_PATH_SIZE = 256;  // char[256], NUL-terminated
constexpr std::size_t RECENT_PROJECT_COUNT = 4;
inline constexpr const char* HISTORY_FILE_NAME = "HISTORY.TVX";

struct History {
  bool feet = false;                 // "1 Unit = 1 &ft"; metres otherwise
  std::string projectFolder;         // where Open, Save as, import and export start
  std::string speakerDatabasePath;   // last loudspeaker database
  std::string absorberDatabasePath;  // last absorber database
  std::string fourthPath;            // as read; written back from `image`, unchanged
  std::array<std::string, RECENT_PROJECT_COUNT> recent;  // most recent first, empties last
  // The whole file as read, so that reserved bytes are written back unchanged.
  std::array<std::uint8_t, HISTORY_FILE_SIZE> image{};

  // Number of non-empty recent entries.
  std::size_t recentCount() const;
};

// $XDG_CONFIG_HOME/taviron/HISTORY.TVX, or ~/.config/taviron/HISTORY.TVX.
std::string defaultHistoryPath();

// Reads the history; a missing or short file gives the defaults (metres, no
// folders, no recent projects).
History loadHistory(const std::string& path);
// The same on the file's bytes.
History readHistory(std::span<const std::uint8_t> bytes);

// Writes the 4096 bytes (creating the folder). False when the file cannot be
// written; callers carry on silently. Paths that do not fit their 256-byte
// field are stored empty rather than cut.
bool writeHistory(const std::string& path, const History& history);

// Enters a project path at the head of the recent list: an entry already
// present moves to the front, otherwise the oldest entry drops off.
// "PROJECT1.TPR" (a project never saved) is not entered.
void enterRecentProject(History& history, const std::string& projectName);

// After Open, Save as and a recent-file item: enter the project and write.
bool updateHistory(History& history, const std::string& projectName, const std::string& path);

}  // namespace tav
