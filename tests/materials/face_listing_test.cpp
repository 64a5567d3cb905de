// The face listing's rows and totals.
#include "materials/face_listing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "model/object_list.h"
#include "support/model_builders.h"
#include "support/near.h"

namespace tav {
namespace {

using test::makeMaterial;

ProjectMaterials twoMaterials() {
  ProjectMaterials m;
  m.slots = {makeMaterial("Absorber 100%", test::uniformAlpha(1.0f)),
             makeMaterial("Wood", {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f})};
  return m;
}

TEST(FaceListing, RowsInReflectionOrderWithAreasMaterialsAndTotals) {
  ObjectList list;
  test::BoxOptions opt;
  opt.materials = {1, 1, 0, 0, 1, 1};
  test::addBox(list, {0, 0, 0}, {10, 6, 3}, opt);
  const ProjectMaterials mats = twoMaterials();
  FaceTable t;
  ASSERT_EQ(buildFaceTable(list, mats.count(), t).count, 6u);
  sortFacesForReflections(t);
  const FaceListing l = buildFaceListing(t, mats);
  ASSERT_EQ(l.rows.size(), 6u);

  // Floor and ceiling (60 m²) first, the lower one first; then the y walls
  // (30 m²), then the x walls (18 m²).
  const double areas[6] = {60, 60, 30, 30, 18, 18};
  for (std::size_t i = 0; i < 6; ++i) EXPECT_NEAR(l.rows[i].area, areas[i], 1e-9) << i;
  EXPECT_EQ(l.rows[1].bounds, (std::array<double, 6>{0, 10, 0, 6, 3, 3}));
  EXPECT_EQ(l.rows[2].materialName, "Absorber 100%");
  EXPECT_NEAR(l.rows[0].absorption[6], 60 * 0.7, 1e-5);
  EXPECT_NEAR(l.rows[2].absorption[0], 30.0, 1e-9);
  EXPECT_NEAR(l.rows[0].share, 100.0 * 60 / 216, 1e-9);

  EXPECT_NEAR(l.totalArea, 216.0, 1e-9);
  // 125 Hz: 60 (y walls, alpha 1) + 156 * 0.1.
  EXPECT_NEAR(l.totalAbsorption[0], 60.0 + 15.6, 1e-5);
  const MaterialTotals wood = l.materialTotals(1);
  EXPECT_EQ(wood.faces, 4u);
  EXPECT_NEAR(wood.absorption[2], 156.0 * 0.3, 1e-4);
  EXPECT_NEAR(wood.share, 100.0 * 156 / 216, 1e-9);
  EXPECT_EQ(l.materialTotals(5).faces, 0u);
}

TEST(FaceListing, ListLineAndFaceMarker) {
  ObjectList list;
  ProjectMaterials mats = twoMaterials();
  std::strcpy(mats.slots[1].name, "Holz \xB2");  // Windows-1252 superscript two
  test::addFace(list, {{2, 2, 1}, {6, 2, 1}, {6, 5, 1}, {2, 5, 1}}, 1);
  FaceTable t;
  ASSERT_EQ(buildFaceTable(list, mats.count(), t).count, 1u);
  const FaceListing l = buildFaceListing(t, mats);
  EXPECT_EQ(faceListingLine(l.rows[0]), "001\t   12.0\tHolz \u00B2");
  // Facing up (+z): the marker runs from the centre 2.83 m down.
  const auto marker = faceMarkerLine(t[0]);
  EXPECT_EQ(marker[0], (Vec3d{4, 3.5, 1}));
  EXPECT_TRUE(tavtest::near(marker[1], {4, 3.5, 1 - 2 * std::sqrt(2.0)}, 1e-12));
}

TEST(FaceListing, FeetConvertAreasSabinesAndBounds) {
  ObjectList list;
  test::addFace(list, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, 1);
  const ProjectMaterials mats = twoMaterials();
  FaceTable t;
  ASSERT_EQ(buildFaceTable(list, mats.count(), t).count, 1u);
  const FaceListing l = buildFaceListing(t, mats, true);
  ASSERT_EQ(l.rows.size(), 1u);
  EXPECT_NEAR(l.rows[0].absorption[1], 10.76391 * 0.2, 1e-6);
  EXPECT_NEAR(l.rows[0].bounds[1], 3.28084, 1e-9);
  EXPECT_NEAR(l.totalArea, 10.76391, 1e-9);
}

TEST(FaceListing, OutOfRangeMaterialIsListedAsSlotZero) {
  ObjectList list;
  ModelObject* o = test::addFace(list, {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}}, 1);
  const ProjectMaterials mats = twoMaterials();
  FaceTable t;
  ASSERT_EQ(buildFaceTable(list, mats.count(), t).count, 1u);
  o->indices[1].ref = 2;  // the table shrank after the build: the first number past it
  const FaceListing l = buildFaceListing(t, mats);
  EXPECT_EQ(l.rows[0].material, 0);
  EXPECT_EQ(l.rows[0].materialName, "Absorber 100%");
  EXPECT_NEAR(l.totalAbsorption[3], 4.0, 1e-9);

  // No materials at all: no name, no absorption.
  const FaceListing bare = buildFaceListing(t, ProjectMaterials{});
  EXPECT_EQ(bare.rows[0].materialName, "");
  EXPECT_EQ(bare.totalAbsorption[3], 0.0);
}

}  // namespace
}  // namespace tav
