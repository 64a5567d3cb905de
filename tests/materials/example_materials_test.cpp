// The shipped absorber database: complete records with coefficients in
// range, and the example hall takes its materials from it unchanged.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "materials/absorber_database.h"
#include "model/le_io.h"
#include "model/project_file.h"

namespace tav {
namespace {

const std::string EXAMPLES = std::string(TAVIRON_SOURCE_DIR) + "/data/examples/";

const AbsorberMaterial* byName(const AbsorberDatabase& db, const char* name) {
  for (const AbsorberMaterial& m : db.records)
    if (std::strcmp(m.name, name) == 0) return &m;
  return nullptr;
}

TEST(ExampleMaterials, TheDatabaseHoldsCompletePlausibleRecords) {
  AbsorberDatabase db;
  const AbsorberDatabaseLoad load = loadAbsorberDatabaseFile(db, EXAMPLES + "materials.TAB");
  ASSERT_TRUE(load.loaded) << load.message.text;
  EXPECT_GE(db.count(), 30u);
  std::set<std::string> names;
  for (const AbsorberMaterial& m : db.records) {
    const std::string name = fixedString(m.name);
    EXPECT_TRUE(names.insert(name).second) << "duplicate " << name;
    EXPECT_FALSE(name.empty());
    EXPECT_LE(name.size(), 21u) << name;  // what the editor can keep
    EXPECT_FALSE(fixedString(m.description).empty()) << name;
    EXPECT_FALSE(fixedString(m.category).empty()) << name;
    for (float a : m.alpha) {
      EXPECT_GE(a, 0.0f) << name;
      EXPECT_LE(a, 1.0f) << name;
    }
    for (std::uint8_t b : m.reserved228) EXPECT_EQ(b, 0) << name;
  }
}

TEST(ExampleMaterials, TheExampleHallUsesRecordsOfTheDatabase) {
  AbsorberDatabase db;
  ASSERT_TRUE(loadAbsorberDatabaseFile(db, EXAMPLES + "materials.TAB").loaded);
  const ProjectLoadResult example = loadProject(EXAMPLES + "example.TPR");
  ASSERT_TRUE(example.ok()) << example.error.text;
  const ProjectMaterials& materials = example.project.materials;
  ASSERT_GE(materials.count(), 4u);
  EXPECT_STREQ(materials.slots[0].name, "100%");
  std::set<std::uint16_t> used;
  for (const ModelObject& o : example.project.objects)
    if (o.layer == LAYER_ROOM)
      for (const IndexEntry& e : o.indices)
        if (e.code == IDX_MATERIAL) used.insert(e.ref);
  for (std::size_t i = 1; i < materials.count(); ++i) {
    const AbsorberMaterial& slot = materials.slots[i];
    const AbsorberMaterial* record = byName(db, slot.name);
    ASSERT_NE(record, nullptr) << slot.name;
    EXPECT_EQ(slot.alpha, record->alpha) << slot.name;
    EXPECT_STREQ(slot.description, record->description);
    EXPECT_STREQ(slot.category, record->category);
    EXPECT_TRUE(used.count(static_cast<std::uint16_t>(i))) << slot.name << " is on no face";
  }
}

}  // namespace
}  // namespace tav
