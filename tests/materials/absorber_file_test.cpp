// The .TAB file: header check, record count from the file size, the record
// layout, the 200-record capacity and saving that never harms the old file
// before the new one is complete.
#include <gtest/gtest.h>

#include "material_test_support.h"
#include "materials/absorber_database.h"
#include "model/message.h"

namespace tav {
namespace {

using test::append;
using test::readBytes;
using test::recordBytes;
using test::tabHeader;
using test::TempFolder;
using test::writeBytes;

TEST(AbsorberFile, CountComesFromTheSizeAndAPartialRecordIsIgnored) {
  TempFolder dir;
  AbsorberDatabase db;

  // Header only: an empty database that is nevertheless loaded.
  const std::string empty = dir.file("EMPTY.TAB");
  writeBytes(empty, tabHeader());
  AbsorberDatabaseLoad load = loadAbsorberDatabaseFile(db, empty);
  EXPECT_TRUE(load.loaded);
  EXPECT_EQ(db.count(), 0u);

  // 32 + 3 x 256 + 100 bytes: three records, the 100 bytes are ignored; the
  // reserved bytes (0xA5) are carried as they stand.
  std::vector<std::uint8_t> bytes = tabHeader();
  append(bytes, recordBytes("Concrete", {0.01f, 0.01f, 0.02f, 0.02f, 0.02f, 0.03f, 0.04f},
                            "Poured, unpainted", "Floors", 0xA5));
  append(bytes, recordBytes("Plaster", {0.013f, 0.015f, 0.02f, 0.03f, 0.04f, 0.05f, 0.05f},
                            "Gypsum on brick", "Walls"));
  append(bytes, recordBytes("Curtain 21_chars_name",
                            {0.14f, 0.35f, 0.55f, 0.72f, 0.7f, 0.65f, 0.6f}, "Velour", "Walls"));
  bytes.insert(bytes.end(), 100, 0x7E);
  const std::string three = dir.file("THREE.TAB");
  writeBytes(three, bytes);
  load = loadAbsorberDatabaseFile(db, three);
  EXPECT_EQ(load.recordsInFile, 3u);
  ASSERT_EQ(db.count(), 3u);
  EXPECT_STREQ(db.records[0].category, "Floors");
  EXPECT_FLOAT_EQ(db.records[0].alpha[6], 0.04f);
  EXPECT_STREQ(db.records[2].name, "Curtain 21_chars_name");

  // Writing it back gives exactly the records' bytes (without the tail).
  const std::string copy = dir.file("COPY.TAB");
  ASSERT_TRUE(saveAbsorberDatabaseFile(db, copy));
  EXPECT_EQ(readBytes(copy), std::vector<std::uint8_t>(bytes.begin(), bytes.end() - 100));
  EXPECT_EQ(db.folder, dir.path.string());
}

TEST(AbsorberFile, WrongHeadersAndMissingFilesLeaveTheDatabaseAsItWas) {
  TempFolder dir;
  const std::string good = dir.file("GOOD.TAB");
  test::writeDatabase(good, {{"Glass", 0.1f}});
  AbsorberDatabase db;
  ASSERT_TRUE(loadAbsorberDatabaseFile(db, good).loaded);

  auto expectUnchanged = [&](const AbsorberDatabaseLoad& load, const char* message) {
    EXPECT_FALSE(load.loaded);
    EXPECT_EQ(load.message.text, message);
    EXPECT_EQ(db.path, good);
    EXPECT_EQ(db.count(), 1u);
  };

  // Another kind of file; a magic without its NUL (the header is compared
  // as a text); less than a header.
  std::vector<std::uint8_t> speaker = tavtest::Bytes().text("TAVIRON SPEAKER DATABASE V1.1", 288).b;
  std::vector<std::uint8_t> longer = tabHeader();
  longer[30] = 'X';
  append(longer, recordBytes("A", {}));
  std::vector<std::uint8_t> shortHeader = tabHeader();
  shortHeader.pop_back();
  for (const auto& bytes : {speaker, longer, shortHeader})
    expectUnchanged(loadAbsorberDatabaseFile(db, dir.write("BAD.TAB", bytes)),
                    "Invalid file format");

  // Nothing there, or a folder: reported, not ignored.
  expectUnchanged(loadAbsorberDatabaseFile(db, dir.file("NONE.TAB")), "Can\u00B4t locate file");
  expectUnchanged(loadAbsorberDatabaseFile(db, dir.path.string()), MSG_CANT_LOCATE_FILE);
}

TEST(AbsorberFile, MoreThanTwoHundredRecordsLoadTheFirstTwoHundredAndSaySo) {
  TempFolder dir;
  std::vector<std::pair<std::string, float>> records;
  for (int i = 0; i < 203; ++i) records.emplace_back("M" + std::to_string(i), 0.5f);
  const std::string path = dir.file("BIG.TAB");
  test::writeDatabase(path, records);

  AbsorberDatabase db;
  const AbsorberDatabaseLoad load = loadAbsorberDatabaseFile(db, path);
  EXPECT_EQ(load.recordsInFile, 203u);
  ASSERT_EQ(db.count(), 200u);
  EXPECT_STREQ(db.records[199].name, "M199");
  EXPECT_NE(load.message.text.find("203"), std::string::npos) << load.message.text;
  EXPECT_NE(load.message.text.find("first 200"), std::string::npos) << load.message.text;

  // Exactly 200 is no news.
  records.resize(200);
  test::writeDatabase(path, records);
  EXPECT_TRUE(loadAbsorberDatabaseFile(db, path).message.empty());
}

TEST(AbsorberFile, SavingReplacesTheOldFileOnlyWhenTheNewOneIsComplete) {
  TempFolder dir;
  const std::string path = dir.file("ROOM.TAB");
  test::writeDatabase(path, {{"Old", 0.2f}});
  const std::vector<std::uint8_t> oldBytes = readBytes(path);
  // A second name for the old file's contents: writing in place would
  // change what it shows; a new file renamed over the name does not.
  const std::string alias = dir.file("ALIAS.TAB");
  std::filesystem::create_hard_link(path, alias);

  AbsorberDatabase db;
  ASSERT_TRUE(loadAbsorberDatabaseFile(db, path).loaded);
  db.records[0].alpha.fill(0.25f);
  AbsorberMaterial second;
  std::strcpy(second.name, "New");
  second.alpha.fill(0.75f);
  db.records.push_back(second);
  ASSERT_TRUE(saveAbsorberDatabaseFile(db, path));

  EXPECT_EQ(readBytes(alias), oldBytes);
  std::vector<std::uint8_t> expected = tabHeader();
  append(expected, recordBytes("Old", {0.25f, 0.25f, 0.25f, 0.25f, 0.25f, 0.25f, 0.25f},
                               "Old description", "Test"));
  append(expected, recordBytes("New", {0.75f, 0.75f, 0.75f, 0.75f, 0.75f, 0.75f, 0.75f}));
  EXPECT_EQ(readBytes(path), expected);
  // No temporary file is left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 2);

  // A save that cannot be done reports failure.
  EXPECT_FALSE(saveAbsorberDatabaseFile(db, dir.file("NO_SUCH_FOLDER/X.TAB")));
  EXPECT_EQ(db.path, path);
}

TEST(AbsorberFile, TheExtensionIsAppendedUnlessPresentInAnyCase) {
  EXPECT_EQ(absorberDatabasePath("/d/room"), "/d/room.TAB");
  EXPECT_EQ(absorberDatabasePath("/d/room.tAb"), "/d/room.tAb");
  EXPECT_EQ(folderOfPath("/d/e/room.TAB"), "/d/e");
  EXPECT_EQ(folderOfPath("/room.TAB"), "/");
  EXPECT_EQ(folderOfPath("room.TAB"), "");
}

TEST(AbsorberFile, ANewProjectClearsOnlyADatabaseWithoutAFile) {
  AbsorberDatabase db;
  db.records.resize(2);
  resetAbsorberDatabaseForNewProject(db);
  EXPECT_EQ(db.count(), 0u);
  db.records.resize(2);
  db.path = "/d/room.TAB";
  resetAbsorberDatabaseForNewProject(db);
  EXPECT_EQ(db.count(), 2u);
}

}  // namespace
}  // namespace tav
