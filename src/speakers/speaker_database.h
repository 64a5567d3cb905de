// Loudspeaker databases (".TSB") in their three layouts: the index of the
// loaded database, reading a type's head, record and shape, copying a type
// into the project, and writing a database of the third layout.
//
// The database file is never kept open: each read opens, seeks, reads and
// closes it, so the index stays valid while the file is replaced.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/message.h"
#include "model/model_object.h"
#include "speakers/speaker_type.h"

namespace tav {

class Project;

inline constexpr const char* SPEAKER_DB_MAGIC_1 = "TAVIRON SPEAKER DATABASE V1.1";
inline constexpr const char* SPEAKER_DB_MAGIC_2 = "TAVIRON SPEAKER DATABASE V130";
inline constexpr const char* SPEAKER_DB_MAGIC_3 = "TAVIRON SPEAKER DATABASE V140";
constexpr std::size_t SPEAKER_DB_HEADER_SIZE = 32;
constexpr std::size_t SPEAKER_DB_MAGIC_SIZE = 30;
constexpr std::size_t MAX_DATABASE_TYPES = 512;

inline constexpr const char* MSG_DB_INVALID_FORMAT = "Invalid file format";
inline constexpr const char* MSG_SPEAKER_NOT_AVAILABLE = "Loudspeaker not available in database";
inline constexpr const char* MSG_MUST_LOAD_DATABASE = "Must load speaker database first";
inline constexpr const char* MSG_DB_TOO_MANY_TYPES =
    "The database holds more than 512 loudspeaker types; only the first 512 are listed.";
inline constexpr const char* MSG_TOO_MANY_PROJECT_TYPES =
    "A project can hold at most 500 loudspeaker types; remove unused types first.";

enum class SpeakerDatabaseLayout { None = 0, Plain = 1, Protected = 2, WithShapes = 3 };

struct SpeakerDatabaseEntry {
  std::string name;  // as listed (at most 8 characters)
  std::int64_t recordOffset = 0;
  std::int64_t shapeOffset = 0;  // layout 3 only; 0 = no shape data
  std::int32_t shapeSize = 0;    // layout 3: bytes of shape data
};

struct SpeakerDatabaseIndex {
  std::string path;  // empty: no database loaded
  SpeakerDatabaseLayout layout = SpeakerDatabaseLayout::None;
  std::vector<SpeakerDatabaseEntry> entries;  // file order, at most 512
  bool truncated = false;                     // the file holds more listable types

  // State of the "Select Loudspeaker" dialog that persists between calls:
  // the current selection and the head of the type shown last.
  int selection = 0;
  std::array<std::uint8_t, SPEAKER_HEAD_SIZE> currentHead{};

  bool loaded() const { return !path.empty(); }
  std::size_t count() const { return entries.size(); }
  std::string directory() const;  // folder of the database, with a trailing '/'
  // Index of the type named so, letters compared without case; -1 if none.
  int find(const std::string& name) const;
};

// The chosen path with ".TSB" appended unless it already ends so (any case).
std::string speakerDatabasePath(const std::string& chosen);

struct DatabaseLoadResult {
  bool opened = false;  // false: the file could not be opened (silently ignored)
  bool loaded = false;  // a known header: the index now lists this database
  UserMessage message;  // unknown header, or a listing cut at 512 types
  std::string directory;
};

// Lists the database at `path` (".TSB" appended when missing). An unknown
// header leaves the index as it was.
DatabaseLoadResult loadSpeakerDatabase(SpeakerDatabaseIndex& index, const std::string& path);

// The first 512 bytes of a listed type with the head unscrambling applied
// (plain records stay as read). Nullopt when the file or record is short.
std::optional<std::array<std::uint8_t, SPEAKER_HEAD_SIZE>> readSpeakerHead(
    const SpeakerDatabaseIndex& index, std::size_t i);
// Fields of a head (the grids stay zero).
SpeakerType speakerTypeFromHead(const std::array<std::uint8_t, SPEAKER_HEAD_SIZE>& head);
// Opening "Select Loudspeaker": a preselection that is non-zero and below
// the count becomes the current selection; a current selection at or beyond
// the count becomes 0. Returns the current selection.
int applyPreselection(SpeakerDatabaseIndex& index, int preselection);
// The dialog's selection changed: reads that type's head into currentHead.
bool selectDatabaseEntry(SpeakerDatabaseIndex& index, int i);

// A listed type as a current-layout record: protected records pass the
// record check, plain ones are converted (row 36 = row 35, layout flag 2,
// mark at 470). Nullopt on a failed check or a short file.
std::optional<SpeakerType> readSpeakerType(const SpeakerDatabaseIndex& index, std::size_t i);

// The shape of a listed type: its shape data (layout 3) or its ".scf" file
// in the database folder (layouts 1 and 2). Null means the default shape;
// `message` receives the complaint about a shape file of unknown format.
std::unique_ptr<ModelObject> readSpeakerShape(const SpeakerDatabaseIndex& index, std::size_t i,
                                              UserMessage* message = nullptr);

// Copies the type named `name` (letters without case) into the project's
// table at `slot` (at most the table's size: a slot equal to the size
// appends) with its shape linked at the tail of the object list.
bool copyTypeIntoProject(Project& project, const SpeakerDatabaseIndex& index, std::size_t slot,
                         const std::string& name, UserMessage* shapeMessage = nullptr);

// A database of the third layout. Each type is scrambled with its record
// key (bytes 470..489 of the record) and followed by its shape data.
struct DatabaseTypeSource {
  SpeakerType type;
  const ModelObject* shape = nullptr;  // null: no shape data
  // Shape data already encoded (written instead of `shape` when not empty).
  std::vector<std::uint8_t> shapeData;
};
std::vector<std::uint8_t> encodeSpeakerDatabase(const std::vector<DatabaseTypeSource>& types);
bool writeSpeakerDatabase(const std::string& path, const std::vector<DatabaseTypeSource>& types);

}  // namespace tav
