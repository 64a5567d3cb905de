// A user's session with the loudspeaker commands: the scripted platform, a
// shell with every command registered, an XY view of 20 pixels per metre
// centred on the origin, and a small database of three types written to the
// session's folder.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "model/le_io.h"
#include "shell/command_set.h"
#include "speakers/placed_speaker.h"
#include "speakers/project_speaker_types.h"
#include "speakers/speaker_database.h"
#include "speakers/speaker_drawing.h"
#include "speakers/speaker_power.h"
#include "speakers/ui/edit_speaker_dialog.h"
#include "speakers/ui/equalizer_dialog.h"
#include "speakers/ui/select_speaker_dialog.h"
#include "speakers/ui/speaker_commands.h"
#include "support/shell_session.h"

namespace tav::speakertest {

using Step = DialogStep;

constexpr double DEG = 3.14159265358979323846 / 180.0;

// Types of the test database, in file order.
inline SpeakerType testType(const std::string& name, float sensitivity, float maxPower,
                            const std::string& description) {
  SpeakerType t;
  setFixedString(t.brand, "GENERIC");
  setFixedString(t.name, name);
  setFixedString(t.description, description);
  for (int b = 0; b < BAND_COUNT; ++b) {
    t.sensitivity[b] = sensitivity;
    t.maxPower[b] = maxPower * float(b + 1);
    t.directivityFactor[b] = 10;
  }
  for (int i = 0; i < 20; ++i) t.tail[i] = static_cast<std::uint8_t>(11 * i + name.size());
  for (DirectivityGrid& g : t.grids) g.codes.fill(DIRECTIVITY_CODE_0DB);
  return t;
}

// Used by the loudspeaker-exchange tests too.
using SessionFolder = tavtest::TempFolder;
inline std::unique_ptr<ModelObject> roomFace(const std::vector<Node>& nodes) {
  return test::makeFace(nodes);
}

struct SpeakerSession : test::ShellSession {
  std::string databasePath;

  SpeakerSession() {
    registerSpeakerCommands(shell.registry());
    installSpeakerHooks(shell.session());
    xyView(20.0f);
    databasePath = dir.file("TEST.TSB");
    std::vector<DatabaseTypeSource> types = {
        {testType("OMNI", 90, 10, "Omnidirectional test source"), nullptr},
        {testType("HORN", 100, 20, "Horn 90 x 40"), nullptr},
        {testType("SUB", 95, 100, "Subwoofer"), nullptr}};
    EXPECT_TRUE(writeSpeakerDatabase(databasePath, types));
  }
  // Objects added here are the model as opened, not unsaved work.
  ModelObject* add(std::unique_ptr<ModelObject> o) { return objects().appendObject(std::move(o)); }

  void loadDatabase() {
    ASSERT_TRUE(tav::loadSpeakerDatabase(shell.session().speakerDatabase, databasePath).loaded);
  }
  // Window selection around a plan point (1 m each way), then Enter.
  void pickAround(double x, double y) {
    clickAt(x - 1, y + 1);
    clickAt(x + 1, y - 1);
    enter();
  }
  // Window selection over the whole view, then Enter.
  void pickAll() {
    platform.pushClick({2, 2});
    platform.pushClick({798, 598});
    enter();
  }

  // The "Select Loudspeaker" answer choosing database entry `i`.
  void chooseType(int i) {
    platform.scriptDialog(SELECT_SPEAKER_DIALOG_TITLE,
                          {Step::select(SSD_LIST, i), Step::click(SSD_OK)});
  }

  std::vector<ModelObject*> speakers() {
    std::vector<ModelObject*> out;
    for (ModelObject& o : project().objects)
      if (isLoudspeakerObject(o)) out.push_back(&o);
    return out;
  }
  // The record of the loudspeaker named so.
  ModelObject* named(const std::string& name) {
    for (ModelObject* o : speakers())
      if (fixedString(speakerOf(*o)->name) == name) return o;
    return nullptr;
  }
  PlacedSpeaker record(const ModelObject* o) { return *speakerOf(*o); }
  std::string typeName(const PlacedSpeaker& s) {
    return fixedString(project().speakerTypes.at(static_cast<std::size_t>(s.typeIndex))->name);
  }
  // Adds a loudspeaker directly (without the dialog) of project type `slot`
  // resolved from the database.
  ModelObject* addDirect(const std::string& type, Vec3d at, const std::string& name = "") {
    PlacedSpeaker s = newPlacedSpeaker(at);
    setFixedString(s.name, name);
    EXPECT_TRUE(resolveSpeakerType(project(), shell.session().speakerDatabase, s, type));
    applyChosenType(s, project().speakerTypes.at(std::size_t(s.typeIndex))->maxPower);
    computeSpeakerPower(s, *project().speakerTypes.at(std::size_t(s.typeIndex)));
    return buildSpeakerDrawing(project(), s, nullptr);
  }
};

// A session with the test database already loaded.
struct LoadedSession : SpeakerSession {
  LoadedSession() { loadDatabase(); }
};

}  // namespace tav::speakertest
