#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "model/file_extension.h"
#include "model/project_file.h"
#include "model/save_file.h"
#include "project_bytes_builder.h"
#include "support/model_builders.h"
#include "support/temp_folder.h"

namespace tav {
namespace {

namespace fs = std::filesystem;
using tavtest::Buf;

class ProjectSaveTest : public ::testing::Test {
 protected:
  std::string path(const std::string& name) const { return folder_.file(name); }
  static Buf fileBytes(const std::string& p) { return readWholeFile(p).value_or(Buf{}); }
  static void writeFile(const std::string& p, const Buf& b) { tavtest::writeBytes(p, b); }
  tavtest::TempFolder folder_;
  const std::filesystem::path& dir_ = folder_.path;
};

void addFace(Project& p, double z) { test::addFace(p.objects, {{0, 0, z}, {1, 0, z}, {1, 1, z}}); }

TEST(FileExtension, AppendedUnlessTheNameEndsInItInAnyCase) {
  const std::pair<const char*, const char*> cases[] = {
      {"/a/room", "/a/room.TAP"},
      {"/a/room.TAP", "/a/room.TAP"},
      {"/a/room.tAp", "/a/room.tAp"},
      {"/a/room.TAPE", "/a/room.TAPE.TAP"},
      {"/a/room.TA", "/a/room.TA.TAP"},
      {"TAP", "TAP.TAP"},
      {".TAP", ".TAP"},
      {"", ".TAP"},
  };
  for (const auto& [chosen, name] : cases) EXPECT_EQ(withFileExtension(chosen, ".TAP"), name);
}

TEST(ProjectSavePaths, ExtensionAndBackupNames) {
  EXPECT_EQ(projectSavePath("/a/room.tpr"), "/a/room.tpr");
  EXPECT_EQ(projectSavePath("/a/room"), "/a/room.TPR");
  EXPECT_EQ(projectBackupPath("/a/room.TPR"), "/a/room_old.TPR");
  EXPECT_EQ(projectBackupPath("/a/room.tpr"), "/a/room_old.TPR");
}

TEST_F(ProjectSaveTest, SaveAsNamesTheFileAndKeepsABackup) {
  Project p;
  addFace(p, 0);
  p.modified = true;
  ASSERT_TRUE(saveProjectAs(p, path("room")).empty());
  EXPECT_FALSE(fs::exists(path("room_old.TPR")));
  EXPECT_EQ(p.name, path("room.TPR"));
  EXPECT_FALSE(p.modified);
  const Buf first = fileBytes(path("room.TPR"));
  EXPECT_EQ(first, writeProjectBytes(p));

  addFace(p, 3);
  ASSERT_TRUE(saveProjectAs(p, path("room")).empty());
  EXPECT_EQ(fileBytes(path("room_old.TPR")), first);
  const ProjectLoadResult r = loadProject(path("room.TPR"));
  EXPECT_EQ(r.project.objects.countObjects(), 2u);
  // No temporary files are left beside the project.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);
}

TEST_F(ProjectSaveTest, FailedSaveLeavesTheOldFileAndTheMarks) {
  Project p;
  addFace(p, 0);
  p.modified = true;
  // No such folder.
  UserMessage m = saveProjectAs(p, path("missing/room"));
  EXPECT_EQ(m.text, "Can\u00B4t write file -write protection?");
  EXPECT_TRUE(p.modified);
  EXPECT_EQ(p.name, "PROJECT1.TPR");

  // The backup cannot be made (a folder is in its place): the old file stays.
  const Buf old = {1, 2, 3};
  writeFile(path("hall.TPR"), old);
  fs::create_directory(path("hall_old.TPR"));
  m = saveProjectAs(p, path("hall.TPR"));
  EXPECT_EQ(m.text, "Can\u00B4t write file -write protection?");
  EXPECT_EQ(fileBytes(path("hall.TPR")), old);
  EXPECT_TRUE(p.modified);
}

TEST_F(ProjectSaveTest, MergeTakesRoomAndAuxObjectsOnly) {
  tavtest::Bytes out;
  tavtest::putHeader(out, {});
  tavtest::putLayers(out, {0});
  tavtest::TObject room = tavtest::squareFace(0, 7);
  room.colour = 3;
  room.flags = 0x01;
  tavtest::TObject aux = tavtest::squareFace(1, 2);
  aux.layer = 7;
  tavtest::TObject hidden = tavtest::squareFace(2, 0);
  hidden.flags = 0x80;
  tavtest::TObject audience = tavtest::squareFace(3, 0);
  audience.layer = 1;
  tavtest::TObject speaker;
  speaker.layer = 2;
  speaker.data = tavtest::speakerData(true);
  for (const auto& o : {room, aux, hidden, audience, speaker}) tavtest::putObject(out, o, false);
  tavtest::putObject(out, tavtest::printHeaderObject(tavtest::printHeaderBlock("m")), true);
  out.i16(0).i16(0);
  writeFile(path("merge.TPR"), out.b);

  Project p;
  addFace(p, 9);
  const ModelObject* existing = p.objects.head();
  const MergeResult r = mergeProjectObjects(p, path("merge.TPR"), LAYER_AUX);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.added, 2u);
  // Each inserted at the head: the last one read comes first.
  const ModelObject* a = p.objects.objectAt(0);
  const ModelObject* b = p.objects.objectAt(1);
  EXPECT_EQ(a->nodes[0].z, 1.0f);
  EXPECT_EQ(b->nodes[0].z, 0.0f);
  EXPECT_EQ(p.objects.objectAt(2), existing);
  for (const ModelObject* o : {a, b}) {
    EXPECT_EQ(o->layer, LAYER_AUX);
    EXPECT_EQ(o->flags, OF_SELECTED);
    EXPECT_EQ(o->colour, 14u);
    EXPECT_EQ(o->indices[1].ref, 0);  // the material
  }
  EXPECT_EQ(p.layers[LAYER_AUX].visible, 1);
  EXPECT_TRUE(p.modified);

  // A damaged file adds nothing; an older file ends quietly.
  Buf damaged = out.b;
  damaged.resize(damaged.size() - 800);
  writeFile(path("damaged.TPR"), damaged);
  Project d;
  const MergeResult bad = mergeProjectObjects(d, path("damaged.TPR"), LAYER_AUX);
  EXPECT_EQ(bad.error.text, "Invalid file format !");
  EXPECT_TRUE(d.objects.empty());

  Buf older = out.b;
  std::memcpy(older.data(), "TAVIRON V1.27  ", 15);
  writeFile(path("older.TPR"), older);
  const MergeResult quiet = mergeProjectObjects(d, path("older.TPR"), LAYER_AUX);
  EXPECT_TRUE(quiet.ok());
  EXPECT_EQ(quiet.added, 0u);

  EXPECT_EQ(mergeProjectObjects(d, path("none.TPR"), LAYER_AUX).error.text,
            "Can\u00B4t locate file");
}

TEST(ProjectDiscard, NeedsConsentOnlyForModifiedNonEmptyModels) {
  Project p;
  EXPECT_FALSE(confirmDiscardNeeded(p));
  p.modified = true;
  EXPECT_FALSE(confirmDiscardNeeded(p));  // nothing to lose
  addFace(p, 0);
  EXPECT_TRUE(confirmDiscardNeeded(p));
  p.modified = false;
  EXPECT_FALSE(confirmDiscardNeeded(p));
}

}  // namespace
}  // namespace tav
