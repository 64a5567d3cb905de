// The ray file (.TRF): a 128-byte header (magic, the user's description, the
// mean free path of the search) and the path objects, each as its 48-byte
// object record followed by its data block, nodes and index entries. The
// last record's next field is 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/message.h"
#include "model/model_object.h"

namespace tav {

class ObjectList;

inline constexpr const char* RAY_FILE_MAGIC = "TAVIRON RAY FILE V1.10";
constexpr std::size_t RAY_FILE_MAGIC_SIZE = 32;
constexpr std::size_t RAY_FILE_DESCRIPTION_SIZE = 80;
constexpr std::size_t RAY_FILE_MEAN_FREE_PATH_AT = 112;
constexpr std::size_t RAY_FILE_HEADER_SIZE = 128;
constexpr std::size_t RAY_FILE_RECORD_SIZE = 48;
inline constexpr const char* RAY_FILE_EXTENSION = ".TRF";

inline constexpr const char* MSG_STORE_RAYS = "Store ray calculation to file ?";
inline constexpr const char* PROMPT_DESCRIPTION = "Description :";
inline constexpr const char* MSG_NOT_A_RAY_FILE = "Not a valid ray file";
inline constexpr const char* RAY_FILE_SAVE_FILTER = "Taviron Ray File|*.trf|";
inline constexpr const char* RAY_FILE_OPEN_FILTER = "*.Taviron Ray File|*.trf|";
inline constexpr const char* RAY_FILE_DEFAULT_NAME = "*.TRF";

// The bytes of a ray file with the path objects of `paths` in their order.
// `description` is UTF-8 (stored in Windows-1252, at most 79 characters).
std::vector<std::uint8_t> encodeRayFile(const std::vector<const ModelObject*>& paths,
                                        std::string_view description, double meanFreePath);

// A chosen name with ".TRF" appended unless it ends so (any case).
std::string rayFileName(std::string_view chosen);

struct RayFileContent {
  bool valid = false;       // the magic matched
  std::string description;  // UTF-8
  double meanFreePath = 0;  // m
  std::vector<std::unique_ptr<ModelObject>> paths;
  // The records ended before a record with next 0 (a truncated file, or a
  // count that does not fit the rest): `paths` holds those read so far.
  bool truncated = false;
  // Records that were not reflection paths (left out).
  std::size_t skipped = 0;
};

// Reads a ray file. Only records that are whole reflection paths (finite
// points, entries naming them) become objects; every count is checked
// against the bytes that remain.
RayFileContent decodeRayFile(std::span<const std::uint8_t> bytes);

}  // namespace tav
