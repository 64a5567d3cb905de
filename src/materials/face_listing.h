// The data of the face listing and the room faces summary: one row per room
// face (in the reflection calculation's order) with its area, material,
// bounds and absorption, and the totals per material and for the room.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "reflections/face_table.h"

namespace tav {

struct ProjectMaterials;

struct FaceListingRow {
  std::size_t number = 0;              // 1-based position in the listing
  std::size_t tableIndex = 0;          // the face's record in the (sorted) face table
  double area = 0;                     // m², or ft² in feet
  double share = 0;                    // % of the total area
  std::uint16_t material = 0;          // material slot used (an out-of-range number counts as 0)
  std::string materialName;            // Windows-1252, as stored in the material record
  std::array<double, 6> bounds{};      // xmin, xmax, ymin, ymax, zmin, zmax (m or ft)
  std::array<double, 7> absorption{};  // area × α per band (Sabines in the area unit)
};

struct MaterialTotals {
  std::uint16_t material = 0;
  std::size_t faces = 0;
  double area = 0;
  double share = 0;  // % of the total area
  std::array<double, 7> absorption{};
};

struct FaceListing {
  bool feet = false;
  std::vector<FaceListingRow> rows;
  double totalArea = 0;
  std::array<double, 7> totalAbsorption{};

  // Area and absorption sums over the faces using a material slot.
  MaterialTotals materialTotals(std::uint16_t material) const;
};

// A line of the listing's list box (UTF-8): "%03d\t" of the number,
// "%7.1f\t" of the area, then the material name.
std::string faceListingLine(const FaceListingRow& row);

// The marker of the selected face: from the mean of its nodes to the point
// 2√2 m away against the direction of its area vector.
constexpr double FACE_MARKER_LENGTH = 2.8284271247461903;
std::array<Vec3d, 2> faceMarkerLine(const FaceRecord& face);

// The material slot a face counts with: its number, or 0 when that is not
// below the table's count.
std::uint16_t effectiveMaterial(std::uint16_t number, const ProjectMaterials& materials);

// Rows for the faces of `table` in its present order (sort it with
// sortFacesForReflections first for the listing's order). In feet, areas and
// Sabines are in ft² and bounds in ft.
FaceListing buildFaceListing(const FaceTable& table, const ProjectMaterials& materials,
                             bool feet = false);

}  // namespace tav
