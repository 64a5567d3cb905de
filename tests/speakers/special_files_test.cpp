// Loudspeaker databases and shape files are read only from regular files:
// opening a FIFO for reading waits for a writer, so a database or shape
// path that names one must be turned away at once, not open (a regression
// here blocks the test until ctest's timeout ends it).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "model/project.h"
#include "speaker_test_files.h"
#include "speakers/speaker_database.h"
#include "speakers/speaker_shape.h"

namespace tav {
namespace {

TEST(SpecialFiles, FifoAndFolderPathsAreNotOpened) {
  test::SpeakerTempDir dir;
  ASSERT_EQ(::mkfifo(dir.file("PIPE.TSB").c_str(), 0600), 0);
  SpeakerDatabaseIndex index;
  DatabaseLoadResult r = loadSpeakerDatabase(index, dir.file("PIPE.TSB"));
  EXPECT_FALSE(r.opened);
  EXPECT_FALSE(index.loaded());

  ASSERT_TRUE(std::filesystem::create_directory(dir.file("FOLDER.TSB")));
  r = loadSpeakerDatabase(index, dir.file("FOLDER.TSB"));
  EXPECT_FALSE(r.opened);
  EXPECT_FALSE(index.loaded());

  ASSERT_EQ(::mkfifo(dir.file("PIPE.scf").c_str(), 0600), 0);
  const ShapeFileResult shape = readShapeFile(dir.file("PIPE.scf"));
  EXPECT_FALSE(shape.opened);
  EXPECT_EQ(shape.shape, nullptr);

  // A layout-1 database whose type "PIPE" has a FIFO for its shape file:
  // the type is listed and copied with the default shape, no message.
  std::vector<std::uint8_t> db = test::databaseHeader("TAVIRON SPEAKER DATABASE V1.1");
  test::append(db, test::plainOldRecord("PIPE"));
  r = loadSpeakerDatabase(index, dir.write("OLD.TSB", db));
  ASSERT_TRUE(r.loaded);
  ASSERT_EQ(index.count(), 1u);
  UserMessage message;
  EXPECT_EQ(readSpeakerShape(index, 0, &message), nullptr);
  EXPECT_TRUE(message.empty());
  Project project;
  ASSERT_TRUE(copyTypeIntoProject(project, index, 0, "pipe", &message));
  EXPECT_EQ(project.speakerTypes[0]->shape, nullptr);
}

}  // namespace
}  // namespace tav
