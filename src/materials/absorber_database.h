// The absorber database: the materials of a ".TAB" file held in memory for
// the whole program run, the file's layout, and reading and writing it.
//
// File layout: a 32-byte header (the 30 characters of ABSORBER_DB_MAGIC and
// two NULs), then 256-byte AbsorberMaterial records in list order. There is
// no count: N = (size - 32) / 256, a trailing partial record is ignored.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "materials/absorber_material.h"
#include "model/message.h"

namespace tav {

inline constexpr const char* ABSORBER_DB_MAGIC = "TAVIRON ABSORBER DATABASE V1.1";
constexpr std::size_t ABSORBER_DB_HEADER_SIZE = 32;
// Records the database holds at most (the same bound as the project table).
constexpr std::size_t MAX_DATABASE_MATERIALS = MAX_MATERIALS;

inline constexpr const char* MSG_ABSORBER_DB_INVALID_FORMAT = "Invalid file format";
inline constexpr const char* MSG_ABSORBER_DB_FULL =
    "The absorber database is full: it can hold at most 200 materials.";
// Shown when a file holds more records than the database can hold.
std::string absorberDatabaseTruncatedMessage(std::size_t recordsInFile);

struct AbsorberDatabase {
  std::vector<AbsorberMaterial> records;  // list order, at most MAX_DATABASE_MATERIALS
  std::string path;                       // the file it was loaded from; empty: no database loaded
  std::string folder;  // folder of the last database opened (start of the open dialog)

  bool loaded() const { return !path.empty(); }
  std::size_t count() const { return records.size(); }
  bool full() const { return records.size() >= MAX_DATABASE_MATERIALS; }
  // Index of the record named exactly so (case counts), or -1.
  int find(const AbsorberMaterial& material) const;
};

// A new project clears the database only when no database file is set.
void resetAbsorberDatabaseForNewProject(AbsorberDatabase& database);

// The chosen path with ".TAB" appended unless its last four characters are
// ".TAB" in any case.
std::string absorberDatabasePath(const std::string& chosen);
// Folder part of a path ("" when it has none), without a trailing '/'.
std::string folderOfPath(const std::string& path);

struct AbsorberDatabaseLoad {
  bool opened = false;  // false: the file could not be opened for reading
  bool loaded = false;  // a valid header: the database now holds the file's records
  std::size_t recordsInFile = 0;
  UserMessage message;  // cannot open, wrong header, or more records than fit
};

// Reads the database at `path` as given (the caller appends ".TAB"). The
// file is opened for reading only, so a database on a read-only medium
// loads. On any failure the database is left as it was.
AbsorberDatabaseLoad loadAbsorberDatabaseFile(AbsorberDatabase& database, const std::string& path);

// The whole file image of a list of records.
std::vector<std::uint8_t> encodeAbsorberDatabase(const std::vector<AbsorberMaterial>& records);

// Writes the database to `path` through a temporary file that replaces the
// old one only when complete. False (old file untouched) on failure. On
// success the path becomes the database's path and its folder the folder.
bool saveAbsorberDatabaseFile(AbsorberDatabase& database, const std::string& path);

}  // namespace tav
