// The shipped absorber database: complete records with coefficients in
// range.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "materials/absorber_database.h"
#include "model/le_io.h"

namespace tav {
namespace {

const std::string EXAMPLES = std::string(TAVIRON_SOURCE_DIR) + "/data/examples/";

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

}  // namespace
}  // namespace tav
