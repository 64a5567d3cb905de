// Loudspeaker databases of the three layouts, built byte by byte, read
// through the index, and types copied into a project; FIFOs and folders
// turned away, and the layout byte of a copied type.
#include "speakers/speaker_database.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>

#include "model/le_io.h"
#include "model/project.h"
#include "model/project_file.h"
#include "speaker_test_files.h"
#include "speakers/project_speaker_types.h"
#include "speakers/speaker_shape.h"

namespace tav {
namespace {

using test::append;
using test::databaseHeader;
using test::plainOldRecord;
using test::plainRecord;
using test::scrambled;
using test::SpeakerTempDir;

// A BRESKA shape file: two records of a triangle and a quad.
std::vector<std::uint8_t> breskaShapeFile() {
  std::vector<std::uint8_t> f(32 + 384, 0);
  test::putText(f, 0, "BRESKA 1.0     ");
  auto record = [&](const std::vector<std::array<float, 3>>& nodes,
                    const std::vector<std::pair<int, int>>& entries, bool more) {
    std::vector<std::uint8_t> r(18 + nodes.size() * 12 + entries.size() * 4, 0);
    test::putU16(r, 0, nodes.size());
    test::putU16(r, 2, entries.size());
    test::putU32(r, 14, more ? 0x1234 : 0);
    std::size_t at = 18;
    for (const auto& n : nodes)
      for (float v : n) test::putF32(r, (at += 4) - 4, v);
    for (const auto& e : entries) {
      test::putU16(r, at, e.first);
      test::putU16(r, at + 2, e.second);
      at += 4;
    }
    append(f, r);
  };
  record({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 0}, {3, 0}, {1, 1}, {2, 2}}, true);
  record({{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}}, {{0, 0}, {1, 1}, {1, 2}, {2, 3}}, false);
  return f;
}

TEST(SpeakerDatabase, Layout1ListsNamesAndConvertsTypesIntoTheProject) {
  SpeakerTempDir dir;
  std::vector<std::uint8_t> file = databaseHeader("TAVIRON SPEAKER DATABASE V1.1");
  append(file, plainOldRecord("OLDA"));
  append(file, plainOldRecord("OLDB"));
  file.resize(file.size() + 1000, 0);  // a partial third record is no record
  dir.write("old.TSB", file);
  dir.write("OLDA.scf", breskaShapeFile());

  SpeakerDatabaseIndex index;
  ASSERT_TRUE(loadSpeakerDatabase(index, dir.file("old")).loaded);  // ".TSB" appended
  ASSERT_EQ(index.count(), 2u);
  EXPECT_EQ(index.entries[1].name, "OLDB");
  EXPECT_EQ(index.entries[1].recordOffset, 32 + 18344);
  EXPECT_EQ(index.find("olda"), 0);

  // The dialog's head of a plain record stays as read.
  ASSERT_TRUE(selectDatabaseEntry(index, 1));
  EXPECT_EQ(fixedString(speakerTypeFromHead(index.currentHead).description), "Old OLDB");

  Project project;
  ASSERT_TRUE(copyTypeIntoProject(project, index, 0, "oldb"));
  ASSERT_TRUE(copyTypeIntoProject(project, index, 1, "OLDA"));
  const SpeakerType& b = *project.speakerTypes[0];
  // Widened by the record conversion (its own test) with its mark at 470.
  EXPECT_FLOAT_EQ(b.sensitivity[4], 85.0f);
  EXPECT_EQ(b.grids[6].at(0, 0), 160);
  EXPECT_EQ(b.grids[6].at(36, 71), 160 + 35);
  EXPECT_EQ(std::memcmp(b.tail.data() + 8, "TAVIRON V2.80  ", 16), 0);

  // OLDB has no shape file: default shape. OLDA's shape file gives one
  // object of 3 + 4 nodes (plus the direction nodes) with renumbered entries.
  EXPECT_EQ(&shapeOf(b), &defaultSpeakerShape());
  const ModelObject* shape = project.speakerTypes[1]->shape;
  ASSERT_NE(shape, nullptr);
  EXPECT_EQ(shape->layer, LAYER_SPEAKER_SHAPES);
  ASSERT_EQ(shape->nodeCount(), 9u);
  EXPECT_EQ(shape->nodes[8], (Node{0, 0, 1}));
  const std::vector<IndexEntry> entries = {{0, 0}, {3, 0}, {1, 1}, {2, 2},
                                           {0, 3}, {1, 4}, {1, 5}, {2, 6}};
  EXPECT_EQ(shape->indices, entries);
}

TEST(SpeakerDatabase, Layout2SkipsARecordThatFailsItsCheck) {
  SpeakerTempDir dir;
  std::vector<std::uint8_t> file = databaseHeader("TAVIRON SPEAKER DATABASE V130");
  append(file, scrambled(plainRecord("FIRST")));
  std::vector<std::uint8_t> bad = scrambled(plainRecord("BROKEN"));
  bad[9000] ^= 0x40;  // one grid byte damaged
  append(file, bad);
  append(file, scrambled(plainRecord("THIRD", 150)));
  std::vector<std::uint8_t> tailDamaged = scrambled(plainRecord("FOURTH"));
  tailDamaged[500] ^= 1;  // the tail no longer matches its check
  append(file, tailDamaged);
  append(file, scrambled(plainRecord("FIFTH")));
  const std::string path = dir.write("db.tsb", file);

  SpeakerDatabaseIndex index;
  ASSERT_TRUE(loadSpeakerDatabase(index, path).loaded);
  EXPECT_EQ(index.path, path) << "lower-case .tsb is kept";
  ASSERT_EQ(index.count(), 3u);
  EXPECT_EQ(index.entries[1].name, "THIRD");
  EXPECT_EQ(index.entries[1].recordOffset, 32 + 2 * 19160);
  EXPECT_EQ(index.entries[2].recordOffset, 32 + 4 * 19160);

  auto third = readSpeakerType(index, 1);
  ASSERT_TRUE(third);
  EXPECT_EQ(third->grids[6].at(20, 33), 156);

  // The file changes under the index: a damaged record is refused on copying.
  std::vector<std::uint8_t> changed = file;
  changed[32 + 2 * 19160 + 600] ^= 0xFF;
  dir.write("db.tsb", changed);
  Project project;
  EXPECT_FALSE(copyTypeIntoProject(project, index, 0, "THIRD"));
}

TEST(SpeakerDatabase, Layout3FindsShapeDataBehindItsRecords) {
  SpeakerTempDir dir;
  const std::vector<std::uint8_t> shape =
      test::shapeData({{{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 0}, {3, 0}, {1, 1}, {2, 2}}},
                       {{{0, 0, 2}, {1, 0, 2}}, {{0, 1}, {1, 0}}}});
  std::vector<std::uint8_t> withShape = plainRecord("HORN");
  test::putU32(withShape, 196, shape.size());

  std::vector<std::uint8_t> file = databaseHeader("TAVIRON SPEAKER DATABASE V140", 4);
  append(file, scrambled(withShape));
  append(file, shape);
  append(file, scrambled(plainRecord("PLAIN")));
  // The header promises records that are not there.
  const std::string path = dir.write("v3.TSB", file);

  SpeakerDatabaseIndex index;
  ASSERT_TRUE(loadSpeakerDatabase(index, path).loaded);
  ASSERT_EQ(index.count(), 2u);
  EXPECT_EQ(index.entries[0].shapeOffset, 32 + 19160);
  EXPECT_EQ(index.entries[1].name, "PLAIN");
  EXPECT_EQ(index.entries[1].recordOffset, std::int64_t(32 + 19160 + shape.size()));

  Project project;
  ASSERT_TRUE(copyTypeIntoProject(project, index, 0, "HORN"));
  ASSERT_TRUE(copyTypeIntoProject(project, index, 1, "PLAIN"));
  const ModelObject* s = project.speakerTypes[0]->shape;
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(s->nodeCount(), 3u + 2u + 2u);
  EXPECT_EQ(s->nodes[4], (Node{1, 0, 2}));
  const std::vector<IndexEntry> entries = {{0, 0}, {3, 0}, {1, 1}, {2, 2}, {0, 4}, {1, 3}};
  EXPECT_EQ(s->indices, entries);
  EXPECT_EQ(project.speakerTypes[1]->shape, nullptr) << "no shape data: default shape";
}

TEST(SpeakerDatabase, UnknownHeaderMissingFileAndTooManyTypes) {
  SpeakerTempDir dir;
  SpeakerDatabaseIndex index;
  std::vector<std::uint8_t> good = databaseHeader("TAVIRON SPEAKER DATABASE V130");
  append(good, scrambled(plainRecord("KEEP")));
  ASSERT_TRUE(loadSpeakerDatabase(index, dir.write("good.TSB", good)).loaded);

  DatabaseLoadResult r = loadSpeakerDatabase(
      index, dir.write("bad.TSB", databaseHeader("TAVIRON SPEAKER DATABASE V150")));
  EXPECT_FALSE(r.loaded);
  EXPECT_EQ(r.message.text, "Invalid file format");
  EXPECT_EQ(index.path, dir.file("good.TSB")) << "the index keeps the previous database";

  r = loadSpeakerDatabase(index, dir.file("absent.TSB"));
  EXPECT_TRUE(r.message.empty()) << "a file that cannot be opened ends silently";

  // 513 plain records, one with a name that runs over its field.
  std::vector<std::uint8_t> many = databaseHeader("TAVIRON SPEAKER DATABASE V1.1");
  std::vector<std::uint8_t> record = plainOldRecord("XXXXXXXX");
  for (int i = 0; i < 514; ++i) {
    const std::string name = i == 3 ? "NINECHARS" : "T" + std::to_string(i);
    std::fill(record.begin() + 21, record.begin() + 30, 0);
    test::putText(record, 21, name);
    append(many, record);
  }
  r = loadSpeakerDatabase(index, dir.write("many.TSB", many));
  ASSERT_TRUE(r.loaded);
  EXPECT_EQ(r.message.text, MSG_DB_TOO_MANY_TYPES);
  ASSERT_EQ(index.count(), 512u);
  EXPECT_EQ(index.entries[3].name, "T4") << "the unterminated name is not listed";
  EXPECT_EQ(index.entries[3].recordOffset, 32 + 4 * 18344);
  EXPECT_EQ(index.entries[511].name, "T512");
}

TEST(SpeakerDatabase, ResolvingTypesByNameAndTheProjectLimit) {
  SpeakerTempDir dir;
  std::vector<std::uint8_t> file = databaseHeader("TAVIRON SPEAKER DATABASE V130");
  append(file, scrambled(plainRecord("ALPHA")));
  append(file, scrambled(plainRecord("BETA")));
  append(file, scrambled(plainRecord("DELTA")));
  SpeakerDatabaseIndex index;
  Project project;
  PlacedSpeaker s = newPlacedSpeaker({0, 0, 0});
  UserMessage message;

  EXPECT_FALSE(resolveSpeakerType(project, index, s, "ALPHA", &message)) << "no database loaded";
  EXPECT_EQ(message.text, "Loudspeaker not available in database");

  ASSERT_TRUE(loadSpeakerDatabase(index, dir.write("db.TSB", file)).loaded);
  ASSERT_TRUE(resolveSpeakerType(project, index, s, "BETA"));
  EXPECT_EQ(s.typeIndex, 0);
  ASSERT_TRUE(resolveSpeakerType(project, index, s, "ALPHA"));
  EXPECT_EQ(s.typeIndex, 1);
  ASSERT_TRUE(resolveSpeakerType(project, index, s, "BETA"));
  EXPECT_EQ(project.speakerTypes.size(), 2u) << "found in the project, not copied again";

  s.typeIndex = 1;
  EXPECT_FALSE(resolveSpeakerType(project, index, s, "GAMMA"));
  EXPECT_EQ(s.typeIndex, 1);

  while (project.speakerTypes.size() < MAX_PROJECT_SPEAKER_TYPES)
    project.speakerTypes.push_back(std::make_unique<SpeakerType>(resetSpeakerType()));
  message = {};
  EXPECT_FALSE(resolveSpeakerType(project, index, s, "DELTA", &message));
  EXPECT_EQ(message.text, MSG_TOO_MANY_PROJECT_TYPES);
  EXPECT_TRUE(resolveSpeakerType(project, index, s, "ALPHA")) << "present types still resolve";
  EXPECT_EQ(project.speakerTypes.size(), 500u);
}

TEST(SpeakerDatabase, PurgeRemovesUnusedTypesWithTheirShapesAndRenumbers) {
  Project project;
  std::vector<ModelObject*> shapes;
  for (const char* name : {"A", "B", "C", "D"}) {
    auto t = std::make_unique<SpeakerType>(resetSpeakerType());
    setFixedString(t->name, name);
    t->shape = project.objects.appendObject(makeSpeakerShape({{0, 0, 0}}, {{0, 0}}));
    shapes.push_back(t->shape);
    project.speakerTypes.push_back(std::move(t));
  }
  project.speakerTypes[3]->shape = nullptr;  // D uses the default shape
  project.objects.freeObject(shapes[3]);
  ModelObject* usesC = test::addBareSpeaker(project, newPlacedSpeaker({2, 0, 0}), 2);
  test::addBareSpeaker(project, newPlacedSpeaker({0, 0, 0}), 0);

  EXPECT_EQ(purgeUnusedTypes(project), 2u);
  ASSERT_EQ(project.speakerTypes.size(), 2u);
  EXPECT_EQ(fixedString(project.speakerTypes[0]->name), "A");
  EXPECT_EQ(fixedString(project.speakerTypes[1]->name), "C");
  EXPECT_EQ(speakerOf(*usesC)->typeIndex, 1);
  EXPECT_FALSE(project.objects.contains(shapes[1])) << "B's shape went with it";
  EXPECT_EQ(project.objects.countObjects(), 2u + 2u);
}

// Loudspeaker databases and shape files are read only from regular files:
// opening a FIFO for reading waits for a writer, so a database or shape
// path that names one must be turned away at once, not open (a regression
// here blocks the test until ctest's timeout ends it).
TEST(SpecialFiles, FifoAndFolderPathsAreNotOpened) {
  test::SpeakerTempDir dir;
  ASSERT_EQ(::mkfifo(dir.file("PIPE.TSB").c_str(), 0600), 0);
  SpeakerDatabaseIndex index;
  EXPECT_FALSE(loadSpeakerDatabase(index, dir.file("PIPE.TSB")).opened);
  ASSERT_TRUE(std::filesystem::create_directory(dir.file("FOLDER.TSB")));
  EXPECT_FALSE(loadSpeakerDatabase(index, dir.file("FOLDER.TSB")).opened);
  ASSERT_EQ(::mkfifo(dir.file("PIPE.scf").c_str(), 0600), 0);
  EXPECT_FALSE(readShapeFile(dir.file("PIPE.scf")).opened);
}

// Regression: a database record whose layout byte (offset 71, outside the
// record check) is not 2 still has 37 rows per band. Copied into a project it
// must be written as a current-layout record, or the saved project cannot be
// read again. The database is the fuzzing finding that showed it.
TEST(SpeakerLayoutByte, TypesCopiedIntoAProjectComeBackFromItsFile) {
  SpeakerDatabaseIndex index;
  ASSERT_TRUE(
      loadSpeakerDatabase(index, TAVIRON_TEST_DATA_DIR "/speaker-type-layout-byte.TSB").loaded);
  ASSERT_GT(index.count(), 0u);
  Project project;
  for (std::size_t i = 0; i < index.count(); ++i)
    ASSERT_TRUE(copyTypeIntoProject(project, index, i, index.entries[i].name)) << i;
  for (const auto& type : project.speakerTypes) EXPECT_EQ(type->layoutFlag, 2);

  const std::vector<std::uint8_t> bytes = writeProjectBytes(project);
  const ProjectLoadResult back = readProject(bytes);
  ASSERT_TRUE(back.ok()) << back.error.text;
  EXPECT_EQ(back.resetSpeakerTypes, 0u);
  ASSERT_EQ(back.project.speakerTypes.size(), index.count());
  for (std::size_t i = 0; i < index.count(); ++i)
    EXPECT_EQ(back.project.speakerTypes[i]->grids, project.speakerTypes[i]->grids) << i;
}

TEST(SpeakerLayoutByte, TheWriterNeverWritesAnotherLayoutByte) {
  // Whatever a type in memory carries, its record in the file says 2. In a
  // project without objects the first type record follows the header (102),
  // the layers (16 x 24), the print-header record (48 + 742) and the type
  // count (2).
  Project project;
  auto type = std::make_unique<SpeakerType>(resetSpeakerType());
  type->layoutFlag = 7;
  project.speakerTypes.push_back(std::move(type));
  const std::vector<std::uint8_t> bytes = writeProjectBytes(project);
  constexpr std::size_t RECORD_AT = 102 + 384 + 48 + 742 + 2;
  ASSERT_GE(bytes.size(), RECORD_AT + 19160u);
  EXPECT_EQ(bytes[RECORD_AT - 2], 1);  // the type count
  EXPECT_EQ(bytes[RECORD_AT + 71], 2);
  EXPECT_TRUE(readProject(bytes).ok());
}

}  // namespace
}  // namespace tav
