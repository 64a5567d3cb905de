// The EASE commands of the File menu in a running shell: files chosen in
// the dialogs, faces in front of the model with an undo step, the selection
// exported, a too large face leaving an existing file alone, and imported
// loudspeakers whose type the user chooses when the database lacks it.
#include <gtest/gtest.h>

#include "exchange/ease_faces.h"
#include "exchange/ease_speakers.h"
#include "exchange/ui/ease_commands.h"
#include "model/save_file.h"
#include "shell/command_ids.h"
#include "speakers/speaker_session_test_support.h"
#include "support/bytes.h"

namespace tav {
namespace {

using speakertest::SpeakerSession;
using Step = DialogStep;

struct EaseSession : SpeakerSession {
  EaseSession() { registerExchangeCommands(shell.registry()); }
  std::string write(const std::string& name, const std::string& text) {
    tavtest::writeBytes(dir.file(name), tavtest::Buf(text.begin(), text.end()));
    return dir.file(name);
  }
  std::string read(const std::string& path) {
    const tavtest::Buf b = tavtest::readBytes(path);
    return std::string(b.begin(), b.end());
  }
  std::size_t count() { return project().objects.countObjects(); }
};

TEST(EaseCommands, FaceImportPutsFacesFirstTellsOfSkippedLinesAndCanBeUndone) {
  EaseSession s;
  s.add(speakertest::roomFace({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}));
  const std::string path =
      s.write("ROOM.exp", "2,0,0\n2,1,0\nnot a node\n2,1,1\n0\n3,0,0\n3,1,0\n3,1,1\n0\n");
  s.platform.answerOpenFile(path);
  s.menu(CMD_IMPORT_FACES_EASE2);
  s.check([&] { EXPECT_EQ(s.count(), 3u); });
  s.menu(CMD_UNDO);
  s.run();
  EXPECT_EQ(s.count(), 1u);
  ASSERT_EQ(s.platform.fileDialogs().size(), 1u);
  EXPECT_EQ(s.platform.fileDialogs()[0].request.filter, "EASE-Export|*.exp|");
  EXPECT_EQ(s.platform.fileDialogs()[0].request.title, "Import Room Faces from EASE2.x");
  EXPECT_EQ(s.messages(), (std::vector<std::string>{
                              "1 line inside faces did not hold three numbers and were skipped."}));
}

TEST(EaseCommands, FaceExportWritesTheSelectedFacesAndEndsWithNothingSelected) {
  EaseSession s;
  s.add(speakertest::roomFace({{0, 0, 0}, {2, 0, 0}, {2, 1, 0}}));
  const std::string path = s.dir.file("OUT");
  s.platform.answerSaveFile(path);
  s.menu(CMD_EXPORT_FACES_EASE3);
  s.pickAll();
  s.run();
  // The text itself is the writer's test; here the extension and the selection.
  EXPECT_NE(s.read(path + ".xfc").find("\n2.000000,1.000000,0.000000\n"), std::string::npos);
  EXPECT_FALSE(s.project().objects.head()->isSelected());
}

TEST(EaseCommands, Ease2ExportOfAnElevenNodeFaceLeavesTheOldFileAsItWas) {
  EaseSession s;
  std::vector<Node> eleven;
  for (int i = 0; i < 11; ++i) eleven.push_back({float(i), float(i % 3), 0});
  s.add(speakertest::roomFace(eleven));
  const std::string path = s.write("OLD.imp", "previous export\n");
  s.platform.answerSaveFile(path);
  s.menu(CMD_EXPORT_FACES_EASE2);
  s.pickAll();
  s.run();
  EXPECT_EQ(s.read(path), "previous export\n");
  EXPECT_EQ(s.messages(),
            (std::vector<std::string>{
                "Discovered face(s) containing > 10 nodes, no export-file generated"}));
}

TEST(EaseCommands, SpeakerImportWithoutDatabaseAsksFirst) {
  EaseSession s;
  s.platform.answerMessage(MessageResult::Cancel);
  s.menu(CMD_IMPORT_SPEAKERS_EASE2);
  s.run();
  ASSERT_EQ(s.platform.messages().size(), 1u);
  EXPECT_EQ(s.platform.messages()[0].text,
            "A speaker database must have been loaded first.Load now ?");
  EXPECT_EQ(s.platform.messages()[0].buttons, MessageButtons::OkCancel);
  EXPECT_TRUE(s.platform.fileDialogs().empty());
}

TEST(EaseCommands, SpeakerImportAsksForTheTypesTheDatabaseLacks) {
  EaseSession s;
  s.loadDatabase();
  const std::string file =
      "\"Filetype\",\"Loudspeakers\"\n\"Format\",3.0\n\"LengthUnit\",\"m\"\n"
      "\"Label\",\"S1\"\n\"Position\",1.00,2.00,3.00\n\"Speaker\",\"SUB\"\n"
      "\"Label\",\"S2\"\n\"Position\",4.00,5.00,6.00\n\"Speaker\",\"GONE\"\n"
      "\"Label\",\"S3\"\n\"Position\",7.00,8.00,9.00\n\"Speaker\",\"LOST\"\n";
  s.platform.answerOpenFile(s.write("SPK.xld", file));
  // GONE: the user chooses HORN; LOST: the user cancels.
  s.chooseType(1);
  s.platform.scriptDialog(
      EDIT_SPEAKER_DIALOG_TITLE,
      {Step::check([](DialogControls& c) { EXPECT_EQ(c.text(ESD_GROUP), "GONE"); }),
       Step::click(ESD_TYPE_BUTTON), Step::click(ESD_OK)});
  s.platform.scriptDialog(EDIT_SPEAKER_DIALOG_TITLE, {Step::click(ESD_CANCEL)});
  s.menu(CMD_IMPORT_SPEAKERS_EASE3);
  s.run();
  const std::vector<ModelObject*> speakers = s.speakers();
  ASSERT_EQ(speakers.size(), 2u);
  // Each new drawing goes to the head: HORN (4, 5, 6) first, SUB second.
  const PlacedSpeaker horn = s.record(speakers[0]);
  EXPECT_EQ(s.typeName(horn), "HORN");
  EXPECT_EQ(horn.position, (Node{4, 5, 6}));
  EXPECT_FLOAT_EQ(horn.eqGain[0], -9.0f) << "the dialog's type choice sets the gains";
  const PlacedSpeaker sub = s.record(speakers[1]);
  EXPECT_EQ(s.typeName(sub), "SUB");
  EXPECT_FLOAT_EQ(sub.eqGain[0], -100.0f) << "no power in the file: the band is off";
  EXPECT_TRUE(s.messages().empty());
}

TEST(EaseCommands, SpeakerExportNeedsALoudspeakerAndWritesEveryOne) {
  EaseSession s;
  s.loadDatabase();
  s.menu(CMD_EXPORT_SPEAKERS_EASE2);  // nothing to export: no dialog
  s.check([&] {
    EXPECT_TRUE(s.platform.fileDialogs().empty());
    s.addDirect("HORN", {1, 2, 3});
    s.addDirect("SUB", {-1, 0, 0});
  });
  const std::string path = s.dir.file("SPK.xld");
  s.platform.answerSaveFile(path);
  s.menu(CMD_EXPORT_SPEAKERS_EASE3);
  s.run();
  EXPECT_EQ(s.read(path), writeEaseSpeakersV3(s.project()));
}

}  // namespace
}  // namespace tav
