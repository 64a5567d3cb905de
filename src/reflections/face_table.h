// The flat table of room faces every acoustic calculation works on, and the
// two geometric tests on it: where a line meets a face's plane, and whether a
// point of that plane lies inside the face.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/message.h"
#include "model/model_object.h"
#include "model/vec3.h"

namespace tav {

class ObjectList;
class Project;

// The table holds at most this many faces (16000, not 16384).
constexpr std::size_t MAX_ROOM_FACES = 16000;
// Faces whose area vector is shorter than this (area below 0.005 m²) are
// left out: they neither reflect nor block.
constexpr double MIN_FACE_AREA_VECTOR = 0.01;
// A normal component below this magnitude has sign 0 in `normalSigns`.
constexpr double NORMAL_SIGN_THRESHOLD = 0.01;

inline constexpr const char* MSG_TOO_MANY_ROOM_FACES = "Too many room faces";

// Values of one 2-bit field of `normalSigns`.
constexpr std::uint32_t NSIGN_ZERO = 0;
constexpr std::uint32_t NSIGN_POSITIVE = 1;
constexpr std::uint32_t NSIGN_NEGATIVE = 3;
// Bits 0-5 hold the three fields (x, y, z); bits 6-15 are always clear.
constexpr std::uint32_t NSIGN_MASK = 0x3F;

struct FaceRecord {
  // Position of the face's IDX_START entry in the owner's index array (the
  // entry after it, IDX_MATERIAL, holds the material number). A position
  // rather than a pointer: the owner's arrays may move when they grow.
  std::uint32_t startEntry = 0;
  ModelObject* ownerObject = nullptr;
  std::array<float, 3> firstNode{};   // p0, metres
  std::array<float, 3> areaVector{};  // twice the area times the unit normal ("normal")
  float planeD = 0;                   // normal · X + planeD = 0 on the plane
  float halfNormSq = 0;               // |normal|² / 2
  std::array<float, 6> bounds{};      // xmin, xmax, ymin, ymax, zmin, zmax
  std::int32_t projAxis = 0;          // axis of the largest |normal| component, first wins
  std::uint32_t normalSigns = 0;      // 2-bit signs of x (bits 0-1), y (2-3), z (4-5)

  Vec3d normal() const { return {areaVector[0], areaVector[1], areaVector[2]}; }
  Vec3d p0() const { return {firstNode[0], firstNode[1], firstNode[2]}; }
  float boundsMin(int axis) const { return bounds[2 * axis]; }
  float boundsMax(int axis) const { return bounds[2 * axis + 1]; }
  // -1, 0 or +1: the sign field of the normal along an axis (0..2).
  int normalSign(int axis) const;
  // Negates all three sign fields (after the face was inverted in the model).
  void negateNormalSigns();
  // The face's material number, 0 when the face carries no material entry.
  std::uint16_t materialNumber() const;
};

// Encodes the three sign fields of a normal.
std::uint32_t encodeNormalSigns(const Vec3d& normal);

struct FaceTable {
  std::vector<FaceRecord> records;

  std::size_t size() const { return records.size(); }
  bool empty() const { return records.empty(); }
  const FaceRecord& operator[](std::size_t i) const { return records[i]; }
  FaceRecord& operator[](std::size_t i) { return records[i]; }
};

// Result of building the table: the number of faces and, when the room has
// more faces than the table holds, "Too many room faces" (the count is then 0).
struct FaceTableBuild {
  std::size_t count = 0;
  UserMessage message;
  bool ok() const { return message.empty(); }
};

// Fills the table with every closed face of the layer-0 objects with faces,
// in list order. A material number not below `materialCount` is reset to 0 in
// the model.
FaceTableBuild buildFaceTable(ObjectList& objects, std::size_t materialCount, FaceTable& table);
FaceTableBuild buildFaceTable(Project& project, FaceTable& table);

// Order of the reflection calculation: larger faces first, then ascending by
// the bounding box's minimum z, minimum y, minimum x. Faces equal in all four
// keys keep their build order, so the result is reproducible.
void sortFacesForReflections(FaceTable& table);
// Order of the room check: ascending by the bounding-box minimum along an
// axis (0..2), ties in their present order.
void sortFacesByMinimum(FaceTable& table, int axis);

// Where the line O + s·D meets the face's plane, and whether that point lies
// inside the face. No point when |D| < 0.001 or the line runs parallel to the
// plane. The point may lie behind O; callers decide.
struct FacePlaneHit {
  Vec3d point;
  bool inside = false;
};
std::optional<FacePlaneHit> intersectFacePlane(const FaceRecord& face, const Vec3d& origin,
                                               const Vec3d& direction);
// The point of intersectFacePlane without the inside test (for callers that
// reject a point by its distance before the costlier polygon walk).
std::optional<Vec3d> facePlanePoint(const FaceRecord& face, const Vec3d& origin,
                                    const Vec3d& direction);

// Whether a point of the face's plane lies inside the face: a closed
// bounding-box test on the two projected axes, then the crossing count of the
// polygon projected along `projAxis`.
bool pointInFace(const FaceRecord& face, const Vec3d& point);

// The two axes the inside test projects onto, (first, second) in the order the
// crossing count uses them: (y, z) for axis 0, (x, z) for 1, (x, y) for 2.
constexpr std::array<int, 2> projectedAxes(int projAxis) {
  return projAxis == 0 ? std::array<int, 2>{1, 2}
                       : (projAxis == 1 ? std::array<int, 2>{0, 2} : std::array<int, 2>{0, 1});
}

}  // namespace tav
