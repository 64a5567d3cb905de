// Absorber databases (.TAB): any file loads as records or is refused with a
// message, leaving the database as it was; loaded records save and load back.
#include <cstdint>
#include <span>

#include "fuzz/fuzz_support.h"
#include "materials/absorber_database.h"
#include "model/le_io.h"

namespace {

using namespace tav;

std::vector<std::uint8_t> seedDatabase() {
  std::vector<AbsorberMaterial> records(3);
  setFixedString(records[0].name, "Concrete");
  setFixedString(records[1].name, "Carpet");
  setFixedString(records[2].name, "Audience");
  return encodeAbsorberDatabase(records);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::writeSeedsIfAsked(
      [](const std::filesystem::path& dir) { fuzz::writeFile(dir / "seed.TAB", seedDatabase()); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz::scratch().file("input.TAB").string();
  fuzz::writeFile(path, std::span<const std::uint8_t>(data, size));

  AbsorberDatabase db;
  db.records.resize(1);
  setFixedString(db.records[0].name, "Before");
  const AbsorberDatabaseLoad r = loadAbsorberDatabaseFile(db, path);
  fuzz::check(r.opened, "a written file opens");
  if (!r.loaded) {
    fuzz::check(db.records.size() == 1 && !db.loaded(), "a refused file leaves the database");
    return 0;
  }
  fuzz::check(db.count() <= MAX_DATABASE_MATERIALS, "at most 200 materials");
  for (const AbsorberMaterial& m : db.records) {
    fuzz::check(db.find(m) >= 0, "every loaded record is found by its name");
    (void)fixedString(m.name);
  }
  const std::string copy = fuzz::scratch().file("copy.TAB").string();
  fuzz::check(saveAbsorberDatabaseFile(db, copy), "a loaded database saves");
  AbsorberDatabase back;
  fuzz::check(loadAbsorberDatabaseFile(back, copy).loaded && back.count() == db.count(),
              "a saved database loads back with every record");
  return 0;
}
