// Material commands in a running shell, as a user works them: choosing the
// database (2801), editing it (2802) and assigning materials face by face
// (2501) through face selection.
#include <gtest/gtest.h>

#include "material_test_support.h"
#include "materials/project_materials.h"
#include "materials/ui/absorber_database_dialog.h"
#include "materials/ui/material_commands.h"
#include "materials/ui/select_material_dialog.h"
#include "model/history_file.h"
#include "model/le_io.h"
#include "platform/keys.h"
#include "shell/shell_test_util.h"

namespace tav {
namespace {

using Step = DialogStep;

struct MaterialSession : test::ShellSession {
  std::string databasePath;
  ModelObject* a = nullptr;
  ModelObject* b = nullptr;
  ModelObject* c = nullptr;

  MaterialSession() {
    registerMaterialCommands(shell.registry());
    installMaterialHooks(shell.session());
    xyView(100.0f);
    // Three unit squares side by side, centres (-1, .5), (.5, .5), (2, .5).
    c = add(test::makeSquare(-1.5f, 0, 1));
    a = add(test::makeSquare(0, 0, 1));
    b = add(test::makeSquare(1.5f, 0, 1));
    databasePath = dir.file("MATERIALS.TAB");
    test::writeDatabase(databasePath, {{"Concrete", 0.02f}, {"Carpet", 0.3f}, {"carpet", 0.4f}});
  }
  void loadDatabase() {
    ASSERT_TRUE(loadAbsorberDatabaseFile(shell.session().absorberDatabase, databasePath).loaded);
  }
  // Menu 2501, the material at `index` chosen, then one click and Enter per
  // face centre, then Escape.
  void assign(int index, std::vector<std::pair<float, float>> faces) {
    platform.scriptDialog(SELECT_MATERIAL_DIALOG_TITLE,
                          {Step::select(SAM_LIST, index), Step::click(SAM_OK)});
    platform.pushMenu(CMD_ASSIGN_MATERIAL);
    for (auto [x, y] : faces) {
      clickAt(x, y);
      platform.pushKey(KEY_RETURN);
    }
    platform.pushKey(KEY_ESCAPE);
  }
  static std::uint16_t materialOf(const ModelObject* o) { return o->indices[1].ref; }
};

// The platform ends the session when its queue runs dry, so each test
// queues the whole session and looks at the state in between with check().
TEST(AssignMaterial, FacesPickedOneByOneGetTheMaterialAndFreedSlotsAreReused) {
  MaterialSession s;
  s.loadDatabase();
  const ProjectMaterials& materials = s.project().materials;

  // Carpet on a and b.
  s.assign(1, {{0.5f, 0.5f}, {2.0f, 0.5f}});
  s.check([&] {
    EXPECT_EQ(MaterialSession::materialOf(s.b), 1);
    EXPECT_EQ(MaterialSession::materialOf(s.c), 0);
    EXPECT_STREQ(materials.slots[1].name, "Carpet");
  });
  // Concrete on both: appended (Carpet's slot was still in use), and after
  // the command Carpet's slot is free.
  s.assign(0, {{0.5f, 0.5f}, {2.0f, 0.5f}});
  s.run();
  EXPECT_EQ(MaterialSession::materialOf(s.a), 2);
  EXPECT_TRUE(materials.slots[1].isFree());
  // Each assignment can be undone: the command takes a snapshot.
  EXPECT_TRUE(s.shell.session().undo.canUndo());
}

TEST(AssignMaterial, ThePromptNamesTheMaterialAndEscapeEndsWithoutChange) {
  MaterialSession s;
  s.loadDatabase();
  s.project().modified = false;
  std::string name;
  s.platform.scriptDialog(SELECT_MATERIAL_DIALOG_TITLE,
                          {Step::select(SAM_LIST, 1), Step::click(SAM_OK)});
  s.platform.pushMenu(CMD_ASSIGN_MATERIAL);
  s.check([&] { name = s.shell.commandName(); });
  s.clickAt(0.5f, 0.5f);
  s.platform.pushKey(KEY_ESCAPE);  // the face was picked but not confirmed
  s.run();
  EXPECT_EQ(name, "Assign Carpet > ");
  EXPECT_EQ(MaterialSession::materialOf(s.a), 0);
  // The material entered the table when chosen, before any face; nothing
  // was modified, so nothing is released.
  EXPECT_FALSE(s.project().modified);
  EXPECT_STREQ(s.project().materials.slots[1].name, "Carpet");
}

// Asking for a database first is the selection dialog's own test.
TEST(AssignMaterial, AFullTableIsReported) {
  MaterialSession s;
  s.loadDatabase();
  ProjectMaterials& materials = s.project().materials;
  while (materials.count() < MAX_MATERIALS) {
    AbsorberMaterial m;
    setFixedString(m.name, "Filler " + std::to_string(materials.count()));
    materials.slots.push_back(m);
  }
  s.assign(1, {{0.5f, 0.5f}});
  s.run();
  ASSERT_EQ(s.platform.messages().size(), 1u);
  EXPECT_EQ(s.platform.messages()[0].text, "Can\u00B4t load absorber");
  EXPECT_EQ(s.platform.messages()[0].caption, "Error : Insufficient memory");
  EXPECT_EQ(MaterialSession::materialOf(s.a), 0);
}

TEST(MaterialDatabaseCommands, SelectingADatabaseIsRememberedAndSurvivesANewProject) {
  MaterialSession s;
  const AbsorberDatabase& db = s.shell.session().absorberDatabase;
  s.platform.answerOpenFile(s.dir.file("MATERIALS"));
  s.platform.pushMenu(CMD_MATERIAL_DATABASE);
  s.check([&] {
    EXPECT_EQ(db.path, s.databasePath);
    // The history file now names it.
    EXPECT_EQ(loadHistory(s.dir.file("HISTORY.TVX")).absorberDatabasePath, s.databasePath);
  });
  // File > New keeps a database that has a file; the editor runs from its
  // menu item and sees it.
  s.platform.answerMessage(MessageResult::Ok);  // discard the unsaved squares
  s.platform.pushMenu(CMD_NEW);
  int listed = -1;
  s.platform.scriptDialog(ABSORBER_DB_DIALOG_TITLE,
                          {Step::check([&](DialogControls& c) { listed = c.itemCount(ADB_LIST); }),
                           Step::click(ADB_QUIT)});
  s.platform.pushMenu(CMD_EDIT_MATERIAL_DATABASE);
  s.run();
  EXPECT_EQ(listed, 3);
  EXPECT_EQ(s.platform.fileDialogs().at(0).request.filter, "*.TAB|*.tab|");

  // A later session starts the open dialog in that database's folder.
  test::ShellSession next;
  registerMaterialCommands(next.shell.registry());
  next.shell.session().history = loadHistory(s.dir.file("HISTORY.TVX"));
  next.platform.answerOpenFile(std::nullopt);
  next.platform.pushMenu(CMD_MATERIAL_DATABASE);
  next.run();
  ASSERT_EQ(next.platform.fileDialogs().size(), 1u);
  EXPECT_EQ(next.platform.fileDialogs()[0].request.folder, s.dir.path.string());
}

}  // namespace
}  // namespace tav
