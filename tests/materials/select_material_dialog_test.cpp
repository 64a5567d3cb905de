// "Select Absorber Material": asking for a database first, the present
// material shown and found, single and double clicks, OK and Cancel.
#include "materials/ui/select_material_dialog.h"

#include <gtest/gtest.h>

#include <cstring>

#include "material_dialog_fixture.h"
#include "materials/project_materials.h"
#include "materials/ui/absorber_database_files.h"

namespace tav {
namespace {

using Step = DialogStep;
using test::TempFolder;

struct SelectFixture : test::MaterialDialogFixture {
  ProjectMaterials materials;

  SelectFixture() { resetProjectMaterials(materials); }
  std::string writeDb(const std::vector<std::pair<std::string, float>>& records,
                      const std::string& name = "MAT.TAB") {
    const std::string path = dir.file(name);
    test::writeDatabase(path, records);
    return path;
  }
};

TEST_F(SelectFixture, WithoutADatabaseTheUserIsAskedToLoadOne) {
  // Cancel: nothing is chosen and no file dialog opens.
  platform.answerMessage(MessageResult::Cancel);
  EXPECT_FALSE(selectAbsorberMaterial(ui, db, materials, 0));
  ASSERT_EQ(platform.messages().size(), 1u);
  EXPECT_EQ(platform.messages()[0].text, "Load now ?");
  EXPECT_EQ(platform.messages()[0].caption, "Must load absorber database first");
  EXPECT_TRUE(platform.fileDialogs().empty());

  // OK, but the chosen file holds no record: asked again next time, no dialog.
  const std::string empty = dir.file("EMPTY.TAB");
  test::writeBytes(empty, test::tabHeader());
  platform.answerMessage(MessageResult::Ok);
  platform.answerOpenFile(dir.file("EMPTY"));  // ".TAB" is appended
  EXPECT_FALSE(selectAbsorberMaterial(ui, db, materials, 0, "/usr/share/taviron"));
  ASSERT_EQ(platform.fileDialogs().size(), 1u);
  EXPECT_EQ(platform.fileDialogs()[0].request.folder, "/usr/share/taviron");
  EXPECT_EQ(db.path, empty);
  EXPECT_TRUE(platform.dialogs().empty());

  // OK and a real database: the dialog follows at once.
  writeDb({{"Concrete", 0.02f}, {"Curtain", 0.5f}});
  platform.answerMessage(MessageResult::Ok);
  platform.answerOpenFile(dir.file("MAT.TAB"));
  platform.scriptDialog(SELECT_MATERIAL_DIALOG_TITLE,
                        {Step::select(SAM_LIST, 1), Step::click(SAM_OK)});
  EXPECT_EQ(selectAbsorberMaterial(ui, db, materials, 0), 1);
  // The second open dialog starts in the folder of the first choice.
  EXPECT_EQ(platform.fileDialogs().back().request.folder, dir.path.string());
}

TEST_F(SelectFixture, ThePresentMaterialIsShownAndFoundByItsExactName) {
  ASSERT_TRUE(loadAbsorberDatabaseFile(
                  db, writeDb({{"Plaster", 0.02f}, {"carpet", 0.2f}, {"Carpet", 0.3f}}))
                  .loaded);
  AbsorberMaterial carpet;
  std::strcpy(carpet.name, "Carpet");
  std::strcpy(carpet.description, "Carpet as the project has it");
  carpet.alpha.fill(0.45f);
  const int slot = addMaterialToProject(materials, carpet);

  platform.scriptDialog(SELECT_MATERIAL_DIALOG_TITLE,
                        {Step::check([](DialogControls& c) {
                           EXPECT_EQ(c.selection(SAM_LIST), 2);  // not "carpet"
                           // The project's copy, not the database record.
                           EXPECT_EQ(c.text(SAM_DESCRIPTION), "Carpet as the project has it");
                           EXPECT_EQ(c.text(SAM_ALPHA_LAST), "0.45");
                         }),
                         Step::select(SAM_LIST, 0), Step::check([](DialogControls& c) {
                           EXPECT_EQ(c.text(SAM_ALPHA_FIRST + 3), "0.02");
                         }),
                         Step::click(SAM_OK)});
  EXPECT_EQ(selectAbsorberMaterial(ui, db, materials, slot), 0);

  // The default "100%" is in no database: nothing selected, OK takes record 0.
  platform.scriptDialog(SELECT_MATERIAL_DIALOG_TITLE, {Step::check([](DialogControls& c) {
                                                         EXPECT_EQ(c.selection(SAM_LIST), -1);
                                                         EXPECT_EQ(c.text(SAM_ALPHA_FIRST + 2),
                                                                   "1.00");
                                                       }),
                                                       Step::enter()});
  EXPECT_EQ(selectAbsorberMaterial(ui, db, materials, 0), 0);

  // A double click confirms at once.
  platform.scriptDialog(SELECT_MATERIAL_DIALOG_TITLE, {Step::doubleClick(SAM_LIST, 1)});
  EXPECT_EQ(selectAbsorberMaterial(ui, db, materials, 0), 1);

  // Cancel and the close box choose nothing, whatever was clicked.
  platform.scriptDialog(SELECT_MATERIAL_DIALOG_TITLE,
                        {Step::select(SAM_LIST, 1), Step::click(SAM_CANCEL)});
  EXPECT_FALSE(selectAbsorberMaterial(ui, db, materials, 0));
  platform.scriptDialog(SELECT_MATERIAL_DIALOG_TITLE, {Step::select(SAM_LIST, 1), Step::close()});
  EXPECT_FALSE(selectAbsorberMaterial(ui, db, materials, 0));

  // A slot number past the table shows no present material.
  platform.scriptDialog(
      SELECT_MATERIAL_DIALOG_TITLE,
      {Step::check([](DialogControls& c) { EXPECT_EQ(c.text(SAM_DESCRIPTION), ""); }),
       Step::click(SAM_OK)});
  EXPECT_EQ(selectAbsorberMaterial(ui, db, materials, 250), 0);
}

TEST_F(SelectFixture, ADatabaseOfMoreThanTwoHundredIsCutWithANotice) {
  std::vector<std::pair<std::string, float>> records;
  for (int i = 0; i < 205; ++i) records.emplace_back("M" + std::to_string(i), 0.4f);
  writeDb(records, "BIG.TAB");
  platform.answerOpenFile(dir.file("BIG.TAB"));
  EXPECT_TRUE(loadAbsorberDatabase(ui, db));
  EXPECT_EQ(platform.messages().at(0).text, absorberDatabaseTruncatedMessage(205));

  // A wrong file keeps the database; the folder follows the choice anyway.
  TempFolder other;
  test::writeBytes(other.file("WRONG.TAB"), std::vector<std::uint8_t>(300, 'x'));
  platform.answerOpenFile(other.file("WRONG.TAB"));
  EXPECT_FALSE(loadAbsorberDatabase(ui, db));
  EXPECT_EQ(db.path, dir.file("BIG.TAB"));
  EXPECT_EQ(db.folder, other.path.string());
}

}  // namespace
}  // namespace tav
