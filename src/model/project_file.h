// The project file (".TPR"): reading the current layout (and every version
// from 2.00 on), reading the older 1.27 layout, writing the current layout,
// the naming rules of Save as, and merging the room and AUX objects of another
// project file into the model.
//
// Readers work on the whole file in memory and build a fresh Project; the
// caller swaps it in only on success, so a damaged file never touches the
// model that is open.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/message.h"
#include "model/project.h"

namespace tav {

// Magics: 15 characters and a NUL in a 16-byte field.
inline constexpr const char* PROJECT_MAGIC = "TAVIRON V2.80  ";
inline constexpr const char* PROJECT_MAGIC_V127 = "TAVIRON V1.27  ";
inline constexpr const char* PROJECT_MAGIC_PREFIX = "TAVIRON V";  // first 9 characters
inline constexpr const char* PROJECT_EXTENSION = ".TPR";
inline constexpr const char* PROJECT_BACKUP_SUFFIX = "_old.TPR";

constexpr std::size_t PROJECT_MAGIC_SIZE = 16;
constexpr std::size_t PROJECT_HEADER_SIZE = 102;
constexpr std::size_t OBJECT_RECORD_SIZE = 48;         // current layout
constexpr std::size_t LEGACY_OBJECT_RECORD_SIZE = 40;  // 1.27 layout
constexpr std::size_t NODE_SIZE = 12;
constexpr std::size_t INDEX_ENTRY_SIZE = 4;
constexpr std::size_t LEGACY_INDEX_ENTRY_SIZE = 2;
// Oldest version (x 100) read by the current reader.
constexpr int PROJECT_VERSION_CURRENT_READER = 200;

// Result of reading a project. On failure `error` holds the message for the
// user and `project` is a new, empty project that must not replace the open one.
struct ProjectLoadResult {
  Project project;
  UserMessage error;
  std::string format;                     // the magic without trailing blanks
  int version = 0;                        // version x 100 (280, 127, ...)
  std::size_t resetSpeakerTypes = 0;      // embedded types that failed their check
  std::size_t convertedSpeakerTypes = 0;  // older-layout types widened on reading
  std::size_t droppedEntries = 0;         // index entries naming missing nodes, left out
  bool ok() const { return error.empty(); }
};

// What the user is told after opening or merging a file whose damaged
// index entries were left out; empty when there were none.
UserMessage droppedEntriesMessage(std::size_t droppedEntries);

// Reads a project file of any supported version into a fresh Project named
// after `path`. "Can´t locate file" when it cannot be opened,
// "Invalid file format !" when it is not a complete, consistent project file.
ProjectLoadResult loadProject(const std::string& path);
// The same on bytes already in memory (the project keeps the default name).
ProjectLoadResult readProject(std::span<const std::uint8_t> bytes);

// Version x 100 from the 4 characters after "TAVIRON V" ("2.80" -> 280), or
// -1 when the bytes do not start with "TAVIRON V" or are shorter than the header.
int projectFileVersion(std::span<const std::uint8_t> bytes);

// The complete current-layout file of a project.
std::vector<std::uint8_t> writeProjectBytes(const Project& project);

// The path Save as writes: ".TPR" appended unless the path already ends in
// ".TPR" (any case).
std::string projectSavePath(const std::string& chosen);
// The backup of an existing file: the path without its last 4 characters
// followed by "_old.TPR".
std::string projectBackupPath(const std::string& path);

// Save as: backup copy of an existing file, then the new file written beside
// it and renamed into place. On success the modified mark is cleared and the
// project is named after the written path; on failure the message is
// "Can´t write file -write protection?" and the old file is left intact.
// Returns an empty message on success.
UserMessage saveProjectAs(Project& project, const std::string& chosenPath);

// Merging objects from another project file ("Insert File" to layer 7,
// "Import Room Geometry" to layer 0): the layer-0 and layer-7 objects whose
// flags AND 0xE0 is 0 are read, their material entries set to 0, selected
// (flags 0x08), moved to the target layer (colour 14 on layer 7, else 0) and
// inserted at the head of the list. The target layer is switched on. A file
// older than 2.00 ends quietly with nothing added. A damaged file adds nothing.
struct MergeResult {
  std::size_t added = 0;
  std::size_t droppedEntries = 0;  // as in ProjectLoadResult
  UserMessage error;
  bool ok() const { return error.empty(); }
};
MergeResult mergeProjectObjects(Project& project, const std::string& path,
                                std::uint32_t targetLayer);
MergeResult mergeProjectBytes(Project& project, std::span<const std::uint8_t> bytes,
                              std::uint32_t targetLayer);

// Whether discarding the model needs the user's consent: it is modified and
// holds at least one object.
bool confirmDiscardNeeded(const Project& project);

}  // namespace tav
