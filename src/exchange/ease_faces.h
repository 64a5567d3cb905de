// Room faces in the text formats of the EASE acoustics program: the 2.x
// format (ten coordinate lines a face, "0" lines filling a shorter face)
// and the keyed 3.x format ("Material" ... "End" around each face).
//
// A face's node order in these files is the reverse of the model's: every
// face is inverted on the way in and (on a copy) on the way out.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/message.h"
#include "model/model_object.h"

namespace tav {

class ObjectList;

inline constexpr const char* EASE_FACES_V2_IMPORT_FILTER = "EASE-Export|*.exp|";
inline constexpr const char* EASE_FACES_V2_EXPORT_FILTER = "EASE-Import|*.imp|";
inline constexpr const char* EASE_FACES_V3_IMPORT_FILTER = "EASE-Export|*.xfc|";
inline constexpr const char* EASE_FACES_V3_EXPORT_FILTER = "EASE-Import|*.xfc|";
inline constexpr const char* EASE_FACES_V3_EXTENSION = ".xfc";
inline constexpr const char* MSG_EASE3_HEADER_MISSING = "EASE3 Header missing !";
inline constexpr const char* MSG_EASE2_FACE_TOO_LARGE =
    "Discovered face(s) containing > 10 nodes, no export-file generated";

// Lines a face takes in a 2.x file; its tenth node also ends it on reading.
constexpr std::size_t EASE2_FACE_LINES = 10;
// A face needs three nodes; one of more nodes than an object may hold
// (with its u16 node numbers) cannot be stored either.
constexpr std::size_t EASE_FACE_MIN_NODES = 3;

struct EaseFaceImport {
  // New room faces (layer 0, colour 0, flags 0, material 0), in reading order.
  std::vector<std::unique_ptr<ModelObject>> faces;
  bool headerMissing = false;    // 3.x: no "LengthUnit" line before the end
  std::size_t skippedLines = 0;  // lines inside a face that are not three numbers
  std::size_t droppedFaces = 0;  // faces of fewer than 3 or more than MAX_OBJECT_NODES nodes
};

EaseFaceImport readEaseFacesV2(std::string_view text);
EaseFaceImport readEaseFacesV3(std::string_view text);

// The message after an import that skipped lines or left faces out; empty
// when everything was taken.
UserMessage easeFaceImportReport(const EaseFaceImport& import);

// Puts the imported faces in front of the first object of the list, the
// last one read first. Returns how many were added.
std::size_t insertImportedFaces(ObjectList& objects, EaseFaceImport& import);

// The objects an export writes: those of shape SHAPE_FACE or SHAPE_SOLID.
bool isEaseFaceObject(const ModelObject& object);

struct EaseFaceExport {
  std::string text;
  std::size_t faces = 0;
  bool tooLarge = false;  // 2.x: a face needs more than ten lines; nothing to write
};

// The file of the given objects (those that are not faces or solids are
// passed over), in the given order.
EaseFaceExport writeEaseFacesV2(std::span<const ModelObject* const> objects);
EaseFaceExport writeEaseFacesV3(std::span<const ModelObject* const> objects);

}  // namespace tav
