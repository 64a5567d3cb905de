// The room check: dense axis-parallel scan lines through the room find holes
// in its shell (lines crossing an odd number of faces) and faces whose front
// side points out of the room, which are inverted in the model.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/message.h"
#include "model/model_object.h"
#include "reflections/face_table.h"

namespace tav {

class Project;
class FaceBvh;

// Reports the share of the work done (0..100 %); returns true to cancel.
using Progress = std::function<bool(double percent)>;

constexpr double ROOM_SCAN_SPACING = 0.1;     // metres between scan lines
constexpr double ROOM_SCAN_CELL_AREA = 0.01;  // m² each scan line stands for
constexpr double ROOM_SCAN_BIAS = 0.001;      // hit offset along the normal's sign
constexpr double ROOM_SCAN_LEAD = 1000.0;     // lines start this far before the room
constexpr std::size_t MAX_ROOM_ERROR_POINTS = 5460;
// More scan lines than this (about 3 hours of scanning) are not attempted.
constexpr double MAX_ROOM_SCAN_LINES = 1e10;
// Below this error percentage the holes count as a tolerable inaccuracy.
constexpr double ROOM_ERROR_TOLERANCE = 0.5;

inline constexpr const char* MSG_NO_ROOM_BOUNDARIES = "No room boundaries to process";
inline constexpr const char* MSG_ROOM_TOO_LARGE = "Room too large for the room check";
inline constexpr const char* MSG_NO_ERRORS_FOUND = "No errors found";
inline constexpr const char* MSG_FACES_AUTO_INVERTED = "Faces auto-inverted ";
inline constexpr const char* MSG_ROOM_ERROR_PREFIX = "Fehler = ";
inline constexpr const char* MSG_ROOM_ERROR_SUFFIX = "-Error";
inline constexpr const char* CAPTION_ROOM_OK = "Rock \u00B4n\u00B4 Roll !";
inline constexpr const char* CAPTION_MISSING_FACES = "Missing faces !";
inline constexpr const char* ROOM_SCAN_PROGRESS_TITLE = "Scan Mode :";

// The progress line of the check: "%1.2f " followed by "%".
std::string roomScanProgressText(double percent);

// One crossing of a scan line with a face: the face's position in the table
// and the coordinate along the scan axis, biased by ROOM_SCAN_BIAS times the
// face's normal sign along that axis.
struct RoomScanHit {
  std::uint32_t face = 0;
  float coordinate = 0;
};

// The faces a scan line along `axis` (0..2) through (u, v) on the other two
// axes (ascending axis order), starting at `start` on the scan axis, crosses:
// in ascending order of the biased coordinate, coincident ones in table order.
// Faces with normal sign 0 along the axis are never hit. With a hierarchy
// (built from `table`) only its candidates are tested; without, every face.
void scanAxis(const FaceTable& table, const FaceBvh* bvh, int axis, double u, double v,
              double start, std::vector<RoomScanHit>& hits);

// Counters of one scan (x, y or z).
struct RoomScanCounts {
  std::int64_t lines = 0;          // scan lines shot
  std::int64_t linesWithHits = 0;  // lines that crossed at least one face
  std::int64_t leakingLines = 0;   // lines with an odd number of crossings
  std::int64_t totalHits = 0;
};

enum class RoomCheckStatus {
  Completed,     // the scans ran; `message` holds the result
  NoBoundaries,  // fewer than 2 faces: "No room boundaries to process"
  Cancelled,     // cancelled through the progress callback: no result message
  TooLarge,      // extents beyond any room (damaged coordinates): MSG_ROOM_TOO_LARGE
};

struct RoomCheckResult {
  RoomCheckStatus status = RoomCheckStatus::Completed;
  UserMessage tableMessage;               // from building the face table ("Too many room faces")
  UserMessage message;                    // result text and caption (empty when cancelled)
  std::array<RoomScanCounts, 3> scans{};  // x, y, z
  double scannedArea = 0;                 // m², over the three scans
  double errorArea = 0;                   // m² of leaking lines
  std::int64_t inverted = 0;
  bool flagYZ = false;  // x scan leaked or hit nothing
  bool flagXZ = false;  // y scan
  bool flagXY = false;  // z scan
  // 100 · error area / scanned area + 1e-6 when a flag is set and any line
  // hit a face; absent otherwise.
  std::optional<double> errorPercent;
  // Where leaking lines meet their first face: the error markers, at most
  // MAX_ROOM_ERROR_POINTS (the first ones found), and how many there were.
  std::vector<Node> errorPoints;
  std::int64_t errorLines = 0;

  bool anyFlag() const { return flagYZ || flagXZ || flagXY; }
  // Flags as the plane labels "XY", "XZ", "YZ" (in this order).
  std::vector<std::string> flagLabels() const;
};

struct RoomCheckCallbacks {
  Progress progress;
  // The view the check shows while scanning (VIEW_YZ for x, VIEW_XZ for y,
  // VIEW_XY for z; it stays at VIEW_XY).
  std::function<void(std::int16_t view)> viewChanged;
  // Called for each leaking line's point as it is found (every one, also
  // past MAX_ROOM_ERROR_POINTS), so a view can mark it at once.
  std::function<void(const Node& point)> errorFound;
};

// Runs the check on the project's room faces. Faces facing out of the room
// are inverted in the model (the project is marked modified). Scan lines run
// in parallel; the result does not depend on the number of threads.
RoomCheckResult runRoomCheck(Project& project, const RoomCheckCallbacks& callbacks = {});

// Reverses the vertex order of the face starting at `startEntry`, keeping its
// start vertex and its material: the node numbers from the entry after the
// material entry to the closing entry are reversed in place. Returns false
// (nothing changed) when the figure is not a closed face.
bool reverseFaceOrder(ModelObject& object, std::size_t startEntry);

}  // namespace tav
