// Loudspeakers menu in a running shell: choosing the database, placing and
// editing loudspeakers through their dialogs (positions also in feet),
// copying, mirroring, moving, deleting and switching, the 5000-loudspeaker
// limit, and the project saved and opened again.
#include <gmock/gmock.h>

#include <fstream>

#include "model/project_file.h"
#include "speaker_session_test_support.h"
#include "speaker_test_files.h"

namespace tav::speakertest {
namespace {

TEST(SpeakerDatabaseCommand, TheOpenDialogStartsAtTheLastDatabaseAndTheNameGetsItsExtension) {
  SpeakerSession s;
  // Without a database "New" cannot be chosen.
  s.menu(CMD_SPEAKER_NEW);
  // The name without extension: ".TSB" is added.
  s.platform.answerOpenFile(s.dir.file("TEST"));
  s.menu(CMD_SPEAKER_DATABASE);
  // A file of another kind: the message, the index keeps the first database.
  const std::string bad = s.dir.file("BAD.TSB");
  { std::ofstream(bad) << "NOT A LOUDSPEAKER DATABASE AT ALL......"; }
  s.platform.answerOpenFile(bad);
  s.menu(CMD_SPEAKER_DATABASE);
  s.run();

  EXPECT_EQ(s.platform.ignoredMenuChoices(), std::vector<int>{CMD_SPEAKER_NEW});
  const auto& files = s.platform.fileDialogs();
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].request.filter, "*.TSB|*.tsb|");
  EXPECT_EQ(files[0].request.folder, s.dir.path.string());  // the program's folder at first
  EXPECT_EQ(files[1].request.folder, s.dir.path.string() + "/");
  const SpeakerDatabaseIndex& index = s.shell.session().speakerDatabase;
  EXPECT_EQ(index.path, s.databasePath);
  EXPECT_EQ(s.messages(), std::vector<std::string>{"Invalid file format"});
  // The history remembers the file and is written.
  EXPECT_EQ(loadHistory(s.dir.file("HISTORY.TVX")).speakerDatabasePath, bad);
}

TEST(NewLoudspeaker, TheDialogWrapsAnglesTakesCommasAndResolvesTheChosenTypeCancelPlacesNothing) {
  LoadedSession s;
  std::string description;
  s.platform.scriptDialog(SELECT_SPEAKER_DIALOG_TITLE,
                          {Step::select(SSD_LIST, 1), Step::check([&](DialogControls& c) {
                             description = c.text(SSD_DESCRIPTION);
                           }),
                           Step::click(SSD_OK)});
  std::string power, sumDb, sumW;
  s.platform.scriptDialog(
      EDIT_SPEAKER_DIALOG_TITLE,
      {// OK without a type: refused, the dialog stays.
       Step::click(ESD_OK), Step::click(ESD_TYPE_BUTTON), Step::check([&](DialogControls& c) {
         power = c.text(ESD_POWER_FIRST + 3);
         sumDb = c.text(ESD_SUM_DB);
         sumW = c.text(ESD_SUM_W);
       }),
       Step::setText(ESD_NAME, "left"), Step::setText(ESD_GROUP, "front"),
       Step::setText(ESD_X + 1, "2,25"), Step::setText(ESD_X + 2, "1,5"),
       // Beyond 540 degrees: refused, the dialog stays.
       Step::setText(ESD_HORIZONTAL + 2, "-540,5"), Step::click(ESD_OK),
       Step::setText(ESD_HORIZONTAL + 2, "540"), Step::check(ESD_MINUS), Step::click(ESD_OK)});
  s.menu(CMD_SPEAKER_NEW);
  s.check([&] { EXPECT_EQ(s.window().promptText(), "ADD NEW LOUDSPEAKER > Place at :"); });
  s.clickAt(1, 2);
  // Cancel in the dialog, and Escape at "Place at :", place nothing.
  s.platform.scriptDialog(EDIT_SPEAKER_DIALOG_TITLE, {Step::click(ESD_CANCEL)});
  s.menu(CMD_SPEAKER_NEW);
  s.clickAt(5, 5);
  s.menu(CMD_SPEAKER_NEW);
  s.escape();
  s.run();

  EXPECT_EQ(s.messages(), (std::vector<std::string>{"Speaker Type Missing !", "Invalid entry !"}));
  EXPECT_EQ(description, "Horn 90 x 40");
  // HORN: 80 W maximum in band 3, gains -9 dB: 80 * 10^-0.9 = 10.07 W.
  EXPECT_EQ(power, "10.07");
  EXPECT_EQ(sumDb, "-0.55");
  // Sum over 20, 40, ... 140 W times 10^-0.9: 560 * 0.12589 = 70.50 W.
  EXPECT_EQ(sumW, "70.50");

  ASSERT_EQ(s.speakers().size(), 1u);
  const PlacedSpeaker r = s.record(s.speakers()[0]);
  EXPECT_EQ(fixedString(r.group), "FRONT");
  EXPECT_EQ(s.typeName(r), "HORN");
  EXPECT_EQ(r.position, (Node{1, 2.25f, 1.5f}));
  // 540 degrees as the dialog wraps it (its own test): 180 degrees.
  EXPECT_NEAR(r.rotation, 180 * DEG, 1e-6);
  EXPECT_EQ(r.polarity, -1);
}

// A gets SUB, a position in feet and -12.34 dB in the equalizer, which the
// edit shows as -12.3 and OK keeps so; OMNI is no longer used and goes.
// B: a new name and -20 dB in band 0, then Cancel: the name is not taken,
// the equalizer setting stays. Then, as in a project opened without a
// database (its types embedded), B's type button offers the open dialog and
// says what is missing; OK keeps the type.
TEST(EditLoudspeaker, TypeFeetEqualizerCancelAndNoDatabase) {
  LoadedSession s;
  s.addDirect("OMNI", {0, 0, 0}, "A");
  s.addDirect("HORN", {5, 0, 0}, "B");
  s.shell.session().units.feet = true;
  s.chooseType(2);
  s.platform.scriptDialog("Equalizer",
                          {Step::setText(EQD_EDIT_FIRST, "-12.34"), Step::click(EQD_OK)});
  std::string shown, y;
  s.platform.scriptDialog(EDIT_SPEAKER_DIALOG_TITLE,
                          {Step::click(ESD_TYPE_BUTTON), Step::setText(ESD_X, "3.28084"),
                           Step::click(ESD_EQ), Step::check([&](DialogControls& c) {
                             shown = c.text(ESD_GAIN_FIRST);
                             y = c.text(ESD_X + 1);
                           }),
                           Step::click(ESD_OK)});
  s.menu(CMD_SPEAKER_EDIT);
  s.pickAround(0, 0);
  s.platform.scriptDialog("Equalizer", {Step::scroll(EQD_BAR_FIRST, 20), Step::click(EQD_OK)});
  s.platform.scriptDialog(
      EDIT_SPEAKER_DIALOG_TITLE,
      {Step::setText(ESD_NAME, "NEW"), Step::click(ESD_EQ), Step::click(ESD_CANCEL)});
  s.menu(CMD_SPEAKER_EDIT);
  s.pickAround(5, 0);
  s.check([&] { s.shell.session().speakerDatabase = SpeakerDatabaseIndex{}; });
  s.platform.answerOpenFile(std::nullopt);
  s.platform.scriptDialog(EDIT_SPEAKER_DIALOG_TITLE,
                          {Step::click(ESD_TYPE_BUTTON), Step::click(ESD_OK)});
  s.menu(CMD_SPEAKER_EDIT);
  s.pickAround(5, 0);
  s.run();
  EXPECT_EQ(s.messages(), std::vector<std::string>{"Must load speaker database first"});
  EXPECT_EQ(shown, "-12.3");
  EXPECT_EQ(y, "0.000");
  const PlacedSpeaker a = s.record(s.named("A"));
  EXPECT_EQ(s.typeName(a), "SUB");
  EXPECT_FLOAT_EQ(a.eqGain[0], -12.3f);
  EXPECT_NEAR(a.position.x, 1.0, 1e-6);
  EXPECT_EQ(s.project().speakerTypes.size(), 2u);
  EXPECT_EQ(s.typeName(s.record(s.named("B"))), "HORN");
  EXPECT_EQ(s.record(s.named("B")).eqGain[0], -20.0f);
}

// One scene through Switch, Move, Copy, Mirror and Delete: the aim lines (to
// a wall at x = 10) follow switching and moving; each second point of Copy
// makes a copy and a mirror line an image; Delete takes the type no longer
// used (OMNI, the first) and renumbers the others, and Undo brings both back.
TEST(EditingLoudspeakers, SwitchMoveCopyMirrorAndDeleteInOneScene) {
  LoadedSession s;
  s.add(test::makeFace({{10, -5, -5}, {10, 5, -5}, {10, 5, 5}, {10, -5, 5}}));
  s.addDirect("OMNI", {-5, -8, 0}, "C");  // beside the wall: no aim line
  ModelObject* a = s.addDirect("HORN", {0, 0, 0}, "A");
  s.addDirect("HORN", {0, 4, 0}, "B");
  auto aimLines = [&]() -> std::vector<Node> {
    for (const ModelObject& o : s.project().objects)
      if (o.layer == LAYER_AIM_LINES) return o.nodes;
    return {};
  };
  s.menu(CMD_SPEAKER_SWITCH_OFF);
  s.pickAround(0, 4);
  s.check([&] {
    EXPECT_EQ(s.named("B")->colour, SPEAKER_COLOUR_OFF);
    EXPECT_EQ(aimLines().size(), 2u);  // A only
  });
  s.menu(CMD_SPEAKER_SWITCH_ON);
  s.pickAll();
  s.check([&] { EXPECT_EQ(s.named("B")->colour, SPEAKER_COLOUR_ON); });
  s.menu(CMD_SPEAKER_MOVE);
  s.check([&] { EXPECT_EQ(s.window().promptText(), "MOVE LOUDSPEAKERS > Select Objects"); });
  s.pickAround(0, 0);
  s.clickAt(0, 0);
  s.clickAt(2, 1);
  s.check([&] {
    EXPECT_EQ(s.record(a).position, (Node{2, 1, 0}));
    EXPECT_EQ(a->nodes.back(), (Node{2, 1, 1}));
    EXPECT_THAT(aimLines(), ::testing::Contains(Node{10, 1, 0}));
  });
  s.menu(CMD_SPEAKER_COPY);
  s.pickAround(2, 1);
  s.clickAt(0, 0);
  s.clickAt(3, 0);
  s.clickAt(0, -4);
  s.escape();
  // A mirrored across the y axis (x = 0).
  s.menu(CMD_SPEAKER_MIRROR);
  s.pickAround(2, 1);
  s.clickAt(0, 0);
  s.clickAt(0, 5);
  s.check([&] {
    std::vector<Node> copies;  // the copies and images have no name
    for (ModelObject* o : s.speakers())
      if (s.record(o).name[0] == '\0') copies.push_back(s.record(o).position);
    EXPECT_THAT(copies,
                ::testing::UnorderedElementsAre(Node{5, 1, 0}, Node{2, -3, 0}, Node{-2, 1, 0}));
  });
  s.menu(CMD_SPEAKER_DELETE);
  s.pickAround(-5, -8);
  s.check([&] {
    EXPECT_EQ(s.named("C"), nullptr);
    EXPECT_EQ(s.project().speakerTypes.size(), 1u);
    EXPECT_EQ(s.typeName(s.record(a)), "HORN");
  });
  s.menu(CMD_UNDO);
  s.run();
  EXPECT_EQ(s.typeName(s.record(s.named("C"))), "OMNI");
  EXPECT_EQ(s.typeName(s.record(s.named("A"))), "HORN");
}

// The limits themselves are the editing unit test's; here Copy stops at them.
TEST(SpeakerLimits, CopyStopsAt5000AndMirrorIsRefused) {
  LoadedSession s;
  s.addDirect("OMNI", {0, 0, 0}, "A");
  for (int i = 0; i < 4998; ++i)  // 4999 in all
    test::addBareSpeaker(s.project(), newPlacedSpeaker({100.0 + i, 100, 0}));
  // Copy: the first copy makes 5000, the second is refused and ends it.
  s.menu(CMD_SPEAKER_COPY);
  s.pickAround(0, 0);
  s.clickAt(0, 0);
  s.clickAt(3, 0);
  s.clickAt(6, 0);
  s.clickAt(9, 0);  // no longer asked for
  s.check([&] { EXPECT_EQ(s.project().objects.countLoudspeakers(), 5000u); });
  // Back to 4999: a mirror image would make exactly 5000, which is refused.
  s.check([&] { s.project().objects.freeObject(s.project().objects.tail()); });
  s.menu(CMD_SPEAKER_MIRROR);
  s.pickAround(0, 0);
  s.run();
  EXPECT_EQ(s.messages(), (std::vector<std::string>{"Maximum amount of speakers is 5000",
                                                    "Insufficient Memory"}));
  EXPECT_EQ(s.project().objects.countLoudspeakers(), 4999u);
}

}  // namespace
}  // namespace tav::speakertest
