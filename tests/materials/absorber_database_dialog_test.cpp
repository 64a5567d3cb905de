// The "Absorber Database" editor as a user works it: browsing, "New" and
// "Edit" with their OK and Cancel, the decimal comma, refused coefficients,
// and the question about saving on the way out.
#include "materials/ui/absorber_database_dialog.h"

#include <gtest/gtest.h>

#include "material_dialog_fixture.h"

namespace tav {
namespace {

using Step = DialogStep;

struct EditorFixture : test::MaterialDialogFixture {
  void loadDatabase(const std::vector<std::pair<std::string, float>>& records) {
    const std::string path = dir.file("MAT.TAB");
    test::writeDatabase(path, records);
    ASSERT_TRUE(loadAbsorberDatabaseFile(db, path).loaded);
  }
  std::vector<std::string> messageTexts() const {
    std::vector<std::string> texts;
    for (const MessageRecord& m : platform.messages()) texts.push_back(m.text);
    return texts;
  }
};

TEST_F(EditorFixture, OpensWithTheFirstRecordSelectedAndShownReadOnly) {
  loadDatabase({{"Concrete", 0.02f}, {"Carpet", 0.3f}});
  db.records[0].alpha = {0.01f, 0.015f, 0.02f, 0.025f, 0.03f, 0.035f, 0.04f};
  platform.scriptDialog(ABSORBER_DB_DIALOG_TITLE,
                        {Step::check([](DialogControls& c) {
                           EXPECT_EQ(c.selection(ADB_LIST), 0);
                           EXPECT_EQ(c.text(ADB_CATEGORY), "Test");
                           // "%1.2f": 0.015f is just below 0.015 and rounds down.
                           EXPECT_EQ(c.text(ADB_ALPHA_FIRST + 1), "0.01");
                           EXPECT_EQ(c.text(ADB_ALPHA_LAST), "0.04");
                           for (int id = ADB_NAME; id <= ADB_ALPHA_LAST; ++id)
                             EXPECT_FALSE(c.enabled(id)) << id;
                           EXPECT_TRUE(c.enabled(ADB_CATEGORY));
                         }),
                         Step::select(ADB_LIST, 1), Step::check([](DialogControls& c) {
                           EXPECT_EQ(c.text(ADB_ALPHA_FIRST + 6), "0.30");
                         }),
                         Step::click(ADB_QUIT)});
  EXPECT_EQ(editAbsorberDatabase(ui, db), 1);
  EXPECT_TRUE(platform.messages().empty()) << "nothing was changed: no question on leaving";
}

TEST_F(EditorFixture, AnEmptyDatabaseHidesEditAndShowsFullAbsorption) {
  const std::string path = dir.file("EMPTY.TAB");
  test::writeBytes(path, test::tabHeader());
  ASSERT_TRUE(loadAbsorberDatabaseFile(db, path).loaded);
  platform.scriptDialog(ABSORBER_DB_DIALOG_TITLE,
                        {Step::check([](DialogControls& c) {
                           EXPECT_FALSE(c.visible(ADB_EDIT_CANCEL));
                           EXPECT_EQ(c.text(ADB_ALPHA_LAST), "1.00");
                         }),
                         // "New" then "Cancel": still nothing to edit.
                         Step::click(ADB_NEW_OK), Step::check([](DialogControls& c) {
                           EXPECT_EQ(c.text(ADB_EDIT_CANCEL), "Cancel");
                           EXPECT_EQ(c.text(ADB_NAME), "New");
                         }),
                         Step::click(ADB_EDIT_CANCEL), Step::check([](DialogControls& c) {
                           EXPECT_FALSE(c.visible(ADB_EDIT_CANCEL));
                         }),
                         Step::close()});
  EXPECT_EQ(editAbsorberDatabase(ui, db), 0);
}

TEST_F(EditorFixture, NewRecordWithDecimalCommasIsStoredAndSavedOnQuit) {
  loadDatabase({{"Concrete", 0.02f}});
  const std::string savedPath = dir.file("SAVED");
  platform.scriptDialog(
      ABSORBER_DB_DIALOG_TITLE,
      {Step::click(ADB_NEW_OK), Step::setText(ADB_NAME, "Seats, occupied"),
       Step::setText(ADB_DESCRIPTION, "Upholstered chairs with audience"),
       Step::setText(ADB_CATEGORY, "Seating"), Step::setText(ADB_ALPHA_FIRST, "0,5"),
       Step::check([](DialogControls& c) { EXPECT_EQ(c.text(ADB_ALPHA_FIRST), "0.5"); }),
       Step::setText(ADB_ALPHA_FIRST + 1, "1"), Step::setText(ADB_ALPHA_FIRST + 2, "0"),
       Step::setText(ADB_ALPHA_FIRST + 3, ",35"), Step::setText(ADB_ALPHA_FIRST + 4, "0.9"),
       Step::setText(ADB_ALPHA_FIRST + 5, "0.85"), Step::setText(ADB_ALPHA_LAST, " .8"),
       Step::click(ADB_NEW_OK), Step::check([](DialogControls& c) {
         EXPECT_EQ(c.itemText(ADB_LIST, 1), "Seats, occupied");
         EXPECT_EQ(c.text(ADB_ALPHA_FIRST + 3), "0.35");
       }),
       Step::click(ADB_QUIT)});
  platform.answerMessage(MessageResult::Ok);
  platform.answerSaveFile(savedPath);
  EXPECT_EQ(editAbsorberDatabase(ui, db), 1);

  const std::array<float, 7> expected = {0.5f, 1.0f, 0.0f, 0.35f, 0.9f, 0.85f, 0.8f};
  ASSERT_EQ(platform.messages().size(), 1u);
  EXPECT_EQ(platform.messages()[0].text, "Database has been modified.Save now ?");
  EXPECT_EQ(platform.messages()[0].caption, "Warning");
  ASSERT_EQ(platform.fileDialogs().size(), 1u);
  EXPECT_EQ(platform.fileDialogs()[0].request.filter, "*.TAB|*.tab|");
  EXPECT_EQ(platform.fileDialogs()[0].request.fileName, dir.file("MAT.TAB"));
  // Saved under the chosen name with ".TAB" appended.
  std::vector<std::uint8_t> bytes = test::tabHeader();
  test::append(bytes,
               test::recordBytes("Concrete", {0.02f, 0.02f, 0.02f, 0.02f, 0.02f, 0.02f, 0.02f},
                                 "Concrete description", "Test"));
  test::append(bytes, test::recordBytes("Seats, occupied", expected,
                                        "Upholstered chairs with audience", "Seating"));
  EXPECT_EQ(test::readBytes(savedPath + ".TAB"), bytes);
  EXPECT_EQ(db.path, savedPath + ".TAB");
}

TEST_F(EditorFixture, CoefficientsOutsideZeroToOneAreRefusedAndNothingIsStored) {
  loadDatabase({{"Glass", 0.1f}});
  platform.scriptDialog(
      ABSORBER_DB_DIALOG_TITLE,
      {Step::click(ADB_EDIT_CANCEL), Step::setText(ADB_NAME, "Glass pane"),
       Step::setText(ADB_ALPHA_FIRST + 2, "1.01"), Step::click(ADB_NEW_OK),
       Step::check([](DialogControls& c) {
         EXPECT_EQ(c.itemText(ADB_LIST, 0), "Glass") << "still editing; nothing stored";
       }),
       Step::setText(ADB_ALPHA_FIRST + 2, "-0,1"), Step::click(ADB_NEW_OK),
       Step::setText(ADB_ALPHA_FIRST + 2, "."), Step::click(ADB_NEW_OK),
       Step::setText(ADB_ALPHA_FIRST + 2, ""), Step::click(ADB_NEW_OK),
       // The field takes four characters: "1.001" is typed as "1.00".
       Step::setText(ADB_ALPHA_FIRST + 2, "1.001"),
       Step::check([](DialogControls& c) { EXPECT_EQ(c.text(ADB_ALPHA_FIRST + 2), "1.00"); }),
       Step::setText(ADB_ALPHA_FIRST + 5, "1"), Step::click(ADB_NEW_OK), Step::close()});
  std::vector<std::string> expected(4, "Valid coefficients only 0...1");
  for (std::size_t i = 0; i < expected.size(); ++i) platform.answerMessage(MessageResult::Ok);
  platform.answerMessage(MessageResult::Cancel);  // do not save
  EXPECT_EQ(editAbsorberDatabase(ui, db), 0);
  expected.push_back(MSG_DATABASE_MODIFIED);
  EXPECT_EQ(messageTexts(), expected);
  EXPECT_TRUE(platform.fileDialogs().empty());
  EXPECT_STREQ(db.records[0].name, "Glass pane");
  EXPECT_EQ(db.records[0].alpha[2], 1.0f);
  EXPECT_EQ(db.records[0].alpha[0], 0.1f);
}

TEST_F(EditorFixture, EditKeepsReservedBytesAndCancelRestoresTheFields) {
  loadDatabase({{"Brick", 0.03f}, {"Wood", 0.15f}});
  db.records[1].reserved103[4] = 0x5A;
  platform.scriptDialog(
      ABSORBER_DB_DIALOG_TITLE,
      {Step::select(ADB_LIST, 1), Step::click(ADB_EDIT_CANCEL), Step::check([](DialogControls& c) {
         EXPECT_FALSE(c.enabled(ADB_LIST));  // no other record while editing
       }),
       Step::setText(ADB_NAME, "Scratch"), Step::setText(ADB_ALPHA_FIRST, "0.99"),
       Step::setText(ADB_CATEGORY, "Scratch category"), Step::click(ADB_EDIT_CANCEL),
       Step::check([](DialogControls& c) {
         EXPECT_EQ(c.text(ADB_NAME), "Wood");
         EXPECT_EQ(c.text(ADB_ALPHA_FIRST), "0.15");
         EXPECT_EQ(c.text(ADB_CATEGORY), "Test");
       }),
       // Edit again, this time for real, with a name longer than 21 characters.
       Step::click(ADB_EDIT_CANCEL), Step::setText(ADB_NAME, "Wood panelling on battens"),
       Step::setText(ADB_ALPHA_FIRST + 6, "0,1"), Step::click(ADB_NEW_OK),
       Step::check(
           [](DialogControls& c) { EXPECT_EQ(c.itemText(ADB_LIST, 1), "Wood panelling on bat"); }),
       // "New" then "Cancel" goes back to the record shown before.
       Step::click(ADB_NEW_OK), Step::setText(ADB_NAME, "Throwaway"), Step::click(ADB_EDIT_CANCEL),
       Step::check([](DialogControls& c) { EXPECT_EQ(c.selection(ADB_LIST), 1); }),
       Step::click(ADB_QUIT)});
  platform.answerMessage(MessageResult::Cancel);
  EXPECT_EQ(editAbsorberDatabase(ui, db), 1);
  EXPECT_STREQ(db.records[1].name, "Wood panelling on bat");
  EXPECT_EQ(db.records[1].alpha[6], 0.1f);
  EXPECT_EQ(db.records[1].alpha[0], 0.15f);
  EXPECT_EQ(db.records[1].reserved103[4], 0x5A);
}

TEST_F(EditorFixture, NamesAreRequiredAndAFullDatabaseTakesNoNewRecord) {
  std::vector<std::pair<std::string, float>> records;
  for (int i = 0; i < 199; ++i) records.emplace_back("M" + std::to_string(i), 0.2f);
  loadDatabase(records);
  platform.scriptDialog(
      ABSORBER_DB_DIALOG_TITLE,
      {Step::click(ADB_NEW_OK), Step::setText(ADB_NAME, ""), Step::click(ADB_NEW_OK),
       Step::setText(ADB_NAME, "Last one"), Step::click(ADB_NEW_OK),
       // The 201st: refused while still browsing.
       Step::click(ADB_NEW_OK), Step::click(ADB_QUIT)});
  platform.answerMessage(MessageResult::Ok);  // the missing name
  platform.answerMessage(MessageResult::Ok);  // the full database
  platform.answerMessage(MessageResult::Cancel);
  editAbsorberDatabase(ui, db);
  EXPECT_EQ(db.count(), 200u);
  EXPECT_EQ(messageTexts(),
            (std::vector<std::string>{MSG_MATERIAL_NAME_MISSING, MSG_ABSORBER_DB_FULL,
                                      MSG_DATABASE_MODIFIED}));
}

}  // namespace
}  // namespace tav
