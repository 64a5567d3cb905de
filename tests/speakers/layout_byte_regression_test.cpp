// Regression: a database record whose layout byte (offset 71, outside the
// record check) is not 2 still has 37 rows per band. Copied into a project it
// must be written as a current-layout record, or the saved project cannot be
// read again. The database is the fuzzing finding that showed it.
#include <gtest/gtest.h>

#include "model/project_file.h"
#include "speakers/speaker_database.h"

namespace tav {
namespace {

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
  EXPECT_EQ(back.convertedSpeakerTypes, 0u);
  EXPECT_EQ(back.resetSpeakerTypes, 0u);
  ASSERT_EQ(back.project.speakerTypes.size(), index.count());
  for (std::size_t i = 0; i < index.count(); ++i) {
    EXPECT_EQ(std::string(back.project.speakerTypes[i]->name), index.entries[i].name) << i;
    EXPECT_EQ(back.project.speakerTypes[i]->grids, project.speakerTypes[i]->grids) << i;
  }
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
