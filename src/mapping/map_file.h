// The map file (".TMF") and the map block inside the project file: a
// 128-byte header with the magic and the description, then the map body
// (areas, the map header cut to 114 bytes, the points with levels in 0.1 dB
// and times in whole milliseconds, and the single points). Little-endian,
// field by field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "mapping/level_map.h"
#include "model/le_io.h"
#include "model/message.h"

namespace tav {

inline constexpr const char* MAP_FILE_MAGIC = "TAVIRON MAP FILE V2.80";
inline constexpr const char* MAP_FILE_EXTENSION = ".TMF";
constexpr std::size_t MAP_FILE_HEADER_SIZE = 128;
constexpr std::size_t MAP_DESCRIPTION_OFFSET = 32;
constexpr std::size_t MAP_DESCRIPTION_MAX = 79;  // characters, a NUL follows
constexpr std::size_t MAP_AREA_ENTRY_SIZE = 40;
constexpr std::size_t MAP_STORED_HEADER_SIZE = 114;  // the map header without tmax's last 2 bytes
constexpr std::size_t MAP_POINT_RECORD_SIZE = 42;
// A first arrival beyond the 16-bit field is stored as this (ms).
constexpr std::int16_t MAP_STORED_TIME_MAX = 32767;

inline constexpr const char* MSG_NOT_A_MAP_FILE = "Not a valid map file";
inline constexpr const char* MSG_ERROR_READING_DATA = "Error reading data";
inline constexpr const char* MSG_CANT_WRITE_MAP = "Can\u00B4t write file to disk";

// The level field of a band energy: 100 log10(E) truncated toward zero
// (0.1 dB steps), E below 1.0 taken as 1.0. Reading 10^(L/100) and writing
// again gives L back.
std::int16_t storedLevel(float energy);
// The time field: the first arrival in whole milliseconds (toward zero),
// saturated at +-32767.
std::int16_t storedTime(float t0Ms);

// Appends the 128-byte header (magic, description of at most 79 bytes in
// Windows-1252) and the body.
void writeMapBody(LeWriter& out, const LevelMap& map, std::string_view description);
std::vector<std::uint8_t> mapFileBytes(const LevelMap& map, std::string_view description);

// The description of a map header, or nothing when the bytes do not start
// with a whole header carrying the magic.
std::optional<std::string> readMapHeader(std::span<const std::uint8_t> bytes);

// Reads the body that follows the 128-byte header. False (and `map` not to
// be used) when a part is short or a count or reference does not fit; the
// single points are optional and left out when damaged. The bounds are
// recomputed from the points; `stored` receives the bounds as the file
// holds them (the 8000 Hz tmax from its first two bytes only).
bool readMapBody(LeReader& in, LevelMap& map, MapBounds* stored = nullptr);

// A whole map file or project map block: header and body.
struct MapFileRead {
  UserMessage error;  // "Not a valid map file" or "Error reading data"
  std::string description;
  LevelMap map;
  MapBounds storedBounds;  // as the file holds them
  bool ok() const { return error.empty(); }
};
MapFileRead readMapBytes(std::span<const std::uint8_t> bytes);

// The map block of a project file: the stored bytes while they still read
// as this map and description, else the map written anew.
void writeMapBlock(LeWriter& out, const LevelMap& map, std::string_view description,
                   std::span<const std::uint8_t> stored);

// The path a map is saved to: ".TMF" appended unless the name ends in it
// (any case).
std::string mapSavePath(const std::string& chosen);

// Writes a map file through a temporary file beside it; the message is
// empty on success.
UserMessage saveMapFile(const std::string& path, const LevelMap& map, std::string_view description);

// The description as it goes into a header: at most 79 bytes.
std::string mapDescriptionField(std::string_view description);

}  // namespace tav
