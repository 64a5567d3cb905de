// The project's material table: reuse by exact name, the highest free slot
// first, the capacity, and freeing what no room face uses.
#include "materials/project_materials.h"

#include <gtest/gtest.h>

#include <cstring>

#include "model/project.h"
#include "support/model_builders.h"

namespace tav {
namespace {

AbsorberMaterial material(const char* name, float a) {
  AbsorberMaterial m;
  std::strncpy(m.name, name, sizeof m.name - 1);
  std::strncpy(m.description, "test material", sizeof m.description - 1);
  m.alpha.fill(a);
  return m;
}

// A room object (layer 0) with one square face per material number given.
ModelObject* addFaces(Project& p, std::vector<std::uint16_t> materials,
                      std::uint32_t layer = LAYER_ROOM) {
  auto o = test::makeObject({}, {}, layer, materials.size() > 1 ? SHAPE_SOLID : SHAPE_FACE);
  for (std::size_t f = 0; f < materials.size(); ++f) {
    const double z = static_cast<double>(f);
    test::appendPolygon(*o, {{0, 0, z}, {1, 0, z}, {1, 1, z}, {0, 1, z}}, materials[f]);
  }
  return p.objects.appendObject(std::move(o));
}

void setAllMaterials(ModelObject& o, std::uint16_t m) {
  for (IndexEntry& e : o.indices)
    if (e.code == IDX_MATERIAL) e.ref = m;
}

TEST(ProjectMaterials, ANewProjectStartsWithTheFullyAbsorbingDefault) {
  Project p;
  p.settings.measuredRT.fill(1.5f);
  p.materials.slots.push_back(material("Extra", 0.3f));
  resetProjectMaterials(p);
  ASSERT_EQ(p.materials.count(), 1u);
  EXPECT_STREQ(p.materials.slots[0].description, "Absorber 100%");
  for (float a : p.materials.slots[0].alpha) EXPECT_EQ(a, 1.0f);
  EXPECT_EQ(p.settings.measuredRT[6], 0.0f);
}

TEST(ProjectMaterials, AnExistingNameIsReusedAndKeepsItsCoefficients) {
  Project p;
  EXPECT_EQ(addMaterialToProject(p.materials, material("Concrete", 0.02f)), 1);
  // The database record was edited meanwhile: same name, other values.
  EXPECT_EQ(addMaterialToProject(p.materials, material("Concrete", 0.5f)), 1);
  EXPECT_EQ(p.materials.slots[1].alpha[3], 0.02f);
  // The name is compared exactly: letter case or a space makes another material.
  EXPECT_EQ(addMaterialToProject(p.materials, material("concrete", 0.5f)), 2);
  EXPECT_EQ(addMaterialToProject(p.materials, material("Concrete ", 0.7f)), 3);
  // The default material is found by its name too.
  EXPECT_EQ(addMaterialToProject(p.materials, material("100%", 0.1f)), 0);
  // A record without a name would look like a free slot: refused.
  EXPECT_EQ(addMaterialToProject(p.materials, material("", 0.1f)), -1);
  EXPECT_EQ(p.materials.count(), 4u);
}

TEST(ProjectMaterials, FreedSlotsAreReusedHighestFirst) {
  Project p;
  ModelObject* room = addFaces(p, {0, 0, 0});
  addFaces(p, {0});

  // Everything gets material A, then everything material B: A's slot is
  // freed, and the next new material goes there instead of growing the table.
  const int a = addMaterialToProject(p.materials, material("A", 0.1f));
  setAllMaterials(*room, static_cast<std::uint16_t>(a));
  setAllMaterials(*room->next, static_cast<std::uint16_t>(a));
  releaseUnusedMaterials(p);
  EXPECT_FALSE(p.materials.slots[1].isFree());
  const int b = addMaterialToProject(p.materials, material("B", 0.2f));
  EXPECT_EQ(b, 2);
  setAllMaterials(*room, static_cast<std::uint16_t>(b));
  setAllMaterials(*room->next, static_cast<std::uint16_t>(b));
  releaseUnusedMaterials(p);
  EXPECT_TRUE(p.materials.slots[1].isFree());
  EXPECT_FALSE(p.materials.slots[2].isFree());
  // The freed slot keeps its other bytes: an old reference still reads them.
  EXPECT_EQ(p.materials.slots[1].alpha[0], 0.1f);
  EXPECT_EQ(addMaterialToProject(p.materials, material("C", 0.3f)), 1);
  EXPECT_EQ(p.materials.count(), 3u);

  // With two free slots, the higher one is taken.
  for (const char* name : {"D0", "D1", "D2"})
    addMaterialToProject(p.materials, material(name, 0.4f));
  releaseUnusedMaterials(p);  // frees 1, 3, 4, 5 (only B in slot 2 is used)
  EXPECT_EQ(addMaterialToProject(p.materials, material("E", 0.5f)), 5);
  EXPECT_EQ(addMaterialToProject(p.materials, material("F", 0.5f)), 4);
  // A freed slot's old name no longer matches: "C" is added anew.
  EXPECT_EQ(addMaterialToProject(p.materials, material("C", 0.9f)), 3);
}

TEST(ProjectMaterials, OnlyFacesOfRoomObjectsKeepTheirMaterials) {
  Project p;
  for (const char* name : {"R1", "R2", "Aud", "Aux", "Poly", "Unused"})
    addMaterialToProject(p.materials, material(name, 0.5f));
  ASSERT_EQ(p.materials.count(), 7u);
  addFaces(p, {1});
  addFaces(p, {2, 1});
  addFaces(p, {3}, LAYER_AUDIENCE);
  addFaces(p, {4}, LAYER_AUX);
  ModelObject* poly = addFaces(p, {5});
  poly->shape = SHAPE_POLYLINE;
  // A face referring past the table's end is ignored, not a crash.
  addFaces(p, {250});

  releaseUnusedMaterials(p);
  EXPECT_EQ(p.materials.count(), 7u);  // never lowered
  EXPECT_FALSE(p.materials.slots[2].isFree());
  for (int i = 3; i <= 6; ++i)
    EXPECT_TRUE(p.materials.slots[static_cast<std::size_t>(i)].isFree()) << i;
  // No face uses the default either, but it stays: newly drawn faces refer
  // to slot 0 and must keep reading "100%".
  EXPECT_STREQ(p.materials.slots[0].name, "100%");
}

TEST(ProjectMaterials, TheTableHoldsTwoHundredMaterials) {
  Project p;
  for (int i = 1; i < 200; ++i)
    ASSERT_EQ(addMaterialToProject(p.materials, material(("M" + std::to_string(i)).c_str(), 0.5f)),
              i);
  EXPECT_EQ(addMaterialToProject(p.materials, material("One too many", 0.5f)), -1);
  EXPECT_EQ(p.materials.count(), 200u);
  // A known name is still found, and a freed slot makes room again.
  EXPECT_EQ(addMaterialToProject(p.materials, material("M150", 0.1f)), 150);
  p.materials.slots[17].name[0] = '\0';
  EXPECT_EQ(addMaterialToProject(p.materials, material("One too many", 0.5f)), 17);
}

}  // namespace
}  // namespace tav
