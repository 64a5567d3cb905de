#include "materials/face_listing.h"

#include <cstdio>
#include <cstring>

#include "materials/absorber_material.h"
#include "model/number_text.h"
#include "model/text_encoding.h"
#include "model/units.h"

namespace tav {

std::uint16_t effectiveMaterial(std::uint16_t number, const ProjectMaterials& materials) {
  return number < materials.count() ? number : 0;
}

std::string faceListingLine(const FaceListingRow& row) {
  return formatNumbers("%03d\t%7.1f\t", {static_cast<double>(row.number), row.area}) +
         cp1252ToUtf8(row.materialName);
}

std::array<Vec3d, 2> faceMarkerLine(const FaceRecord& face) {
  Vec3d sum;
  int count = 0;
  if (const ModelObject* o = face.ownerObject) {
    for (std::size_t i = face.startEntry; i < o->indices.size(); ++i) {
      const IndexEntry& e = o->indices[i];
      if (e.code == IDX_MATERIAL) continue;
      if (e.code == IDX_START && i != face.startEntry) break;
      if (e.ref < o->nodes.size()) {
        sum += toVec(o->nodes[e.ref]);
        ++count;
      }
      if (e.code == IDX_CLOSE) break;
    }
  }
  const Vec3d centre = count > 0 ? sum * (1.0 / count) : face.p0();
  const Vec3d n = face.normal();
  const double len = length(n);
  const Vec3d end = len > 0 ? centre - n * (FACE_MARKER_LENGTH / len) : centre;
  return {centre, end};
}

MaterialTotals FaceListing::materialTotals(std::uint16_t material) const {
  MaterialTotals t;
  t.material = material;
  for (const FaceListingRow& row : rows) {
    if (row.material != material) continue;
    ++t.faces;
    t.area += row.area;
    for (std::size_t b = 0; b < t.absorption.size(); ++b) t.absorption[b] += row.absorption[b];
  }
  t.share = totalArea > 0 ? 100.0 * t.area / totalArea : 0;
  return t;
}

FaceListing buildFaceListing(const FaceTable& table, const ProjectMaterials& materials, bool feet) {
  FaceListing listing;
  listing.feet = feet;
  listing.rows.reserve(table.size());
  const double areaFactor = feet ? SQFT_PER_SQM : 1.0;
  const double lengthFactor = feet ? FEET_PER_METRE : 1.0;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const FaceRecord& f = table[i];
    FaceListingRow row;
    row.number = i + 1;
    row.tableIndex = i;
    row.area = length(f.normal()) / 2 * areaFactor;
    row.material = effectiveMaterial(f.materialNumber(), materials);
    if (row.material < materials.count()) {
      const AbsorberMaterial& m = materials.slots[row.material];
      row.materialName.assign(m.name, strnlen(m.name, sizeof m.name));
      for (std::size_t b = 0; b < row.absorption.size(); ++b)
        row.absorption[b] = row.area * m.alpha[b];
    }
    for (std::size_t k = 0; k < row.bounds.size(); ++k) row.bounds[k] = f.bounds[k] * lengthFactor;
    listing.totalArea += row.area;
    for (std::size_t b = 0; b < row.absorption.size(); ++b)
      listing.totalAbsorption[b] += row.absorption[b];
    listing.rows.push_back(std::move(row));
  }
  for (FaceListingRow& row : listing.rows)
    row.share = listing.totalArea > 0 ? 100.0 * row.area / listing.totalArea : 0;
  return listing;
}

}  // namespace tav
