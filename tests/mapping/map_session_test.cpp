// Level + Time and the map window in a running shell: the options dialog
// and the run, why a run does not start, Cancel, the window's buttons and
// cells, single points with their limit, the hand-off of a right click, the
// STI export and the map file commands.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>

#include "mapping/map_file.h"
#include "mapping/map_scale.h"
#include "mapping/point_calculation.h"
#include "mapping/point_evaluation.h"
#include "mapping/ui/calculation_options_dialog.h"
#include "mapping/ui/map_window.h"
#include "mapping/ui/mapping_commands.h"
#include "mapping_fixtures.h"
#include "model/save_file.h"
#include "shell/command_ids.h"
#include "shell/shell_test_util.h"

namespace tav {
namespace {

using Step = WindowStep;

bool hasText(const ScriptedCanvas& canvas, const std::string& text) {
  for (const std::string& t : canvas.texts())
    if (t == text) return true;
  return false;
}

std::vector<int> cellColours(const ScriptedCanvas& canvas) {
  std::vector<int> colours;
  for (const DrawCall& c : canvas.callsOf(DrawKind::Polygon))
    if (c.brush.colour >= MAP_COLOUR_LOW && c.brush.colour <= MAP_COLOUR_HIGH)
      colours.push_back(c.brush.colour);
  return colours;
}

struct MapSession : test::ShellSession {
  MapSession() {
    registerMappingCommands(shell.registry());
    project().name = dir.file("hall.TPR");
    xyView(20);
  }
  // A 20 x 12 x 8 m room, seats 2..20 x 1..11 at 1.2 m, two loudspeakers.
  void addHall() {
    maptest::addBox(project().objects, {0, 0, 0}, {20, 12, 8});
    maptest::addAudienceRect(project(), 2, 1, 20, 11, 1.2);
    maptest::addSpeakerObject(project(), maptest::SpeakerSpec{{1, 3, 6}});
    maptest::addSpeakerObject(project(), maptest::SpeakerSpec{{1, 9, 6}});
  }
  // Three points in band 1000 Hz at 79, 71 and 43 dB along y = 0; the
  // bounds of the worked example (42 .. 79 dB).
  void setMap(bool withRoom = false) {
    LevelMap m;
    m.areas.push_back({0, 0, 0, 1, 1.2f, -5, 5, -5, 5, 1.2f});
    m.halfGrid = 0.5f;
    m.bandCounts = {0, 0, 0, 1, 0, 0, 0, 1};
    int i = 0;
    for (double db : {79.0, 71.0, 43.0}) {
      MapPoint p;
      p.x = static_cast<float>(-3 + 3 * i++);
      p.z = 1.2f;
      p.energy.fill(1.0f);
      p.energy[3] = static_cast<float>(std::pow(10.0, db / 10));
      p.t0.fill(10000.0f);
      p.t0[3] = static_cast<float>(20 + i);
      m.points.push_back(p);
    }
    m.bounds = boundsFromPoints(m.points);
    m.bounds.emin[3] = static_cast<float>(std::pow(10.0, 4.2));
    project().levelMap = m;
    project().settings.calculation.band = 3;
    // The menu offers the map with audience areas and loudspeakers.
    maptest::addAudienceRect(project(), -5, -5, 5, 5, 1.2);
    maptest::SpeakerSpec quiet{{0, 0, 90}};
    quiet.factor = 10;
    maptest::addSpeakerObject(project(), quiet);
    if (withRoom) maptest::addBox(project().objects, {-10, -10, 0}, {10, 10, 6});
  }
  PixelPoint pointPixel(std::size_t i) {
    const MapPoint& p = project().levelMap->points[i];
    // The map area is 720 x 580 below a 20-pixel strip: its centre (360, 310).
    return {360 + static_cast<int>(p.x * 20), 310 - static_cast<int>(p.y * 20)};
  }
  void openMap(WindowScript script) {
    platform.scriptWindow(MAP_WINDOW_TITLE, std::move(script));
    platform.pushMenu(CMD_SHOW_LAST_MAP);
  }
};

TEST(MapSession, LevelTimeRunsWithTheOptionsChosenUnlessItCannotStartOrIsCancelled) {
  MapSession s;
  // No loudspeaker at all: not even the dialog.
  s.platform.pushMenu(CMD_LEVEL_TIME);
  // The dialog cancelled: the choices made before stay stored.
  s.check([&] { s.addHall(); });
  s.platform.scriptDialog(CALCULATION_OPTIONS_TITLE,
                          {DialogStep::check([](DialogControls& c) {
                             EXPECT_TRUE(c.checked(COD_OCTAVE));          // phase 2
                             EXPECT_TRUE(c.checked(COD_GRID_FIRST + 2));  // 1 m
                             EXPECT_FALSE(c.checked(COD_SHADING));
                             EXPECT_EQ(c.text(COD_GRID_FIRST), "0.25 m");
                           }),
                           DialogStep::click(COD_SINGLE), DialogStep::click(COD_CANCEL)});
  s.platform.pushMenu(CMD_LEVEL_TIME);
  s.check([&] {
    EXPECT_EQ(s.platform.dialogs().size(), 1u);
    EXPECT_EQ(s.project().settings.calculation.phaseRelation, 3);
    EXPECT_TRUE(s.platform.progress().empty());
  });
  s.platform.scriptDialog(CALCULATION_OPTIONS_TITLE,
                          {DialogStep::click(COD_ENERGY), DialogStep::click(COD_SHADING),
                           DialogStep::click(COD_GRID_FIRST + 1), DialogStep::click(COD_START)});
  s.platform.scriptWindow(MAP_WINDOW_TITLE, {Step::check([](ScriptedChildWindow& w) {
                            EXPECT_TRUE(hasText(w.canvas(), "Ld[dB]"));
                            EXPECT_TRUE(hasText(w.canvas(), "Energy"));
                            EXPECT_TRUE(hasText(w.canvas(), "125 Hz -"));
                          })});
  s.platform.pushMenu(CMD_LEVEL_TIME);
  s.check([&] {
    const CalculationOptions& o = s.project().settings.calculation;
    EXPECT_EQ(o.phaseRelation, 1);
    EXPECT_EQ(o.includeRoom, INCLUDE_SHADING);
    EXPECT_EQ(o.gridIndex, 1);
    ASSERT_TRUE(s.project().levelMap);
    EXPECT_EQ(s.project().levelMap->points.size(), 36u * 20u);
    ASSERT_GE(s.platform.progress().size(), 3u);
    EXPECT_EQ(s.platform.progress().front().title, "Calculation Status :");
    EXPECT_TRUE(s.project().modified);
    // Feet from here: the grid labels in feet, the spacing unchanged.
    s.shell.session().units.feet = true;
    s.platform.cancelProgressAtUpdate(1);
  });
  // Cancelled at the first update: the map held before goes too.
  s.platform.scriptDialog(CALCULATION_OPTIONS_TITLE, {DialogStep::check([](DialogControls& c) {
                                                        EXPECT_EQ(c.text(COD_GRID_FIRST),
                                                                  "    .8 ft.");
                                                      }),
                                                      DialogStep::click(COD_START)});
  s.platform.pushMenu(CMD_LEVEL_TIME);
  s.run();
  EXPECT_FALSE(s.project().levelMap);
  EXPECT_EQ(s.platform.windows().size(), 1u);
  EXPECT_EQ(s.platform.progress().back().kind, ProgressEventKind::Close);
}

TEST(MapSession, WindowShowsTheWorkedScaleAndItsButtons) {
  MapSession s;
  s.setMap();
  s.openMap({Step::check([&](ScriptedChildWindow& w) {
               EXPECT_TRUE(hasText(w.canvas(), "1000 Hz"));
               // Bands nobody serves: no label and no reaction.
               EXPECT_EQ(w.buttons().at(MAP_BUTTON_BAND_FIRST).label, "");
               EXPECT_FALSE(w.buttonEnabled(MAP_BUTTON_BAND_FIRST));
               EXPECT_EQ(w.buttons().at(MAP_BUTTON_BAND_FIRST + 3).label, " 1k");
               EXPECT_TRUE(w.buttons().at(MAP_BUTTON_BAND_FIRST + 3).pressed);
               // Without room faces only "Ld(Z)" and "Time".
               EXPECT_EQ(w.buttons().at(MAP_BUTTON_MODE_FIRST).label, "Ld(Z)");
               EXPECT_EQ(w.buttons().count(MAP_BUTTON_MODE_FIRST + 2), 0u);
               EXPECT_EQ(w.buttons().at(MAP_BUTTON_STEP_FIRST + 3).label, "3 dB");
             }),
             Step::button(MAP_BUTTON_STEP_FIRST + 1), Step::check([&](ScriptedChildWindow& w) {
               EXPECT_EQ(cellColours(w.canvas()), (std::vector<int>{63, 55, 37}));
               EXPECT_EQ(s.project().settings.calculation.scaleStep, 0);
             }),
             Step::button(MAP_BUTTON_MODE_FIRST + 1), Step::check([&](ScriptedChildWindow& w) {
               EXPECT_EQ(s.project().settings.calculation.displayMode, MAP_MODE_TIME);
               EXPECT_EQ(w.buttons().at(MAP_BUTTON_STEP_FIRST + 1).label, "5 ms");
               EXPECT_TRUE(hasText(w.canvas(), "t0[ms]"));
             }),
             Step::button(MAP_BUTTON_CLOSE)});
  s.run();
  EXPECT_EQ(s.platform.windows().size(), 1u);
}

TEST(MapSession, ClickedPointsAreLabelledUpToAHundredAndRightClicksHandThemOn) {
  MapSession s;
  s.setMap();
  s.project().levelMap->singlePoints.assign(99, 2);  // as a file may hold them
  std::vector<std::pair<Vec3d, double>> handed;
  bool running = false;
  s.shell.session().mapping.auralizeAtPoint = [&](CommandContext&, const Vec3d& p, double ldLr) {
    handed.emplace_back(p, ldLr);
  };
  s.shell.session().mapping.auralizationRunning = [&] { return running; };
  // A right click hands the point on unless the previous one still plays;
  // the point is labelled all the same.
  WindowScript script = Step::click(s.pointPixel(2), MouseButton::Right);
  script.push_back(Step::check([&](ScriptedChildWindow&) { running = true; }));
  for (const Step& step :
       Step::click({s.pointPixel(1).x + 6, s.pointPixel(1).y - 6}, MouseButton::Right))
    script.push_back(step);
  script.push_back(Step::check([&](ScriptedChildWindow& w) {
    EXPECT_TRUE(hasText(w.canvas(), "71.00"));
    EXPECT_EQ(w.buttons().at(MAP_BUTTON_CLEAR).label, "CLEAR");
  }));
  // Too far from every point: nothing picked. A hundred points: no more.
  for (const Step& step : Step::click({s.pointPixel(0).x + 12, s.pointPixel(0).y}))
    script.push_back(step);
  for (const Step& step : Step::click(s.pointPixel(0))) script.push_back(step);
  script.push_back(Step::check([&](ScriptedChildWindow&) {
    const std::vector<std::uint16_t>& singles = s.project().levelMap->singlePoints;
    EXPECT_EQ(singles.size(), 100u);
    EXPECT_EQ(singles.back(), 1);
  }));
  script.push_back(Step::button(MAP_BUTTON_CLEAR));
  script.push_back(Step::check([&](ScriptedChildWindow& w) {
    EXPECT_TRUE(s.project().levelMap->singlePoints.empty());
    EXPECT_EQ(w.buttons().count(MAP_BUTTON_CLEAR), 0u);
    EXPECT_FALSE(hasText(w.canvas(), "71.00"));
  }));
  s.openMap(script);
  s.run();
  ASSERT_EQ(handed.size(), 1u);
  EXPECT_EQ(handed[0].first.x, 3.0);
  EXPECT_FLOAT_EQ(static_cast<float>(handed[0].first.z), 1.2f);
  // Ld-Lr over all bands, without a room.
  EXPECT_EQ(handed[0].second,
            ldLrAll(s.project().levelMap->points[2].energy, reverberantEnergy(s.project())));
}

TEST(MapSession, MapFilesWithTheirDescriptionAndTheStiExport) {
  MapSession s;
  s.setMap(true);
  s.project().description = "Stalls";
  s.platform.answerSaveFile(s.dir.file("front"));
  s.platform.answerInputLine("Front seats");
  s.platform.pushMenu(CMD_SAVE_MAP);
  s.check([&] {
    ASSERT_EQ(s.platform.inputLines().size(), 1u);
    EXPECT_EQ(s.platform.inputLines().back().prompt, "Description :");
    EXPECT_EQ(s.platform.inputLines().back().text, "Stalls");
    EXPECT_EQ(s.platform.inputLines().back().maxLength, 79);
    EXPECT_EQ(s.project().description, "Front seats");
    s.project().levelMap.reset();
    s.project().description.clear();
  });
  // Not a map; a map whose description is declined; a map loaded, whose
  // window then exports: the export needs all bands and appends within the
  // same second.
  s.shell.session().mapping.clock = [] { return std::time_t{1700000000}; };
  s.shell.session().mapping.diagnostics = [](std::string_view) {};
  const int exportButton = MAP_BUTTON_MODE_FIRST + 5;
  s.platform.scriptWindow(MAP_WINDOW_TITLE,
                          {Step::button(exportButton), Step::button(MAP_BUTTON_BAND_FIRST + 7),
                           Step::check([&](ScriptedChildWindow& w) {
                             EXPECT_TRUE(hasText(w.canvas(), "STIexp"));
                             EXPECT_EQ(w.buttons().at(exportButton).label, "--> exp");
                           }),
                           Step::button(exportButton)});
  std::ofstream(s.dir.file("notes.TMF")) << "not a map";
  s.platform.answerOpenFile(s.dir.file("notes.TMF"));
  s.platform.answerMessage(MessageResult::Ok);
  s.platform.pushMenu(CMD_LOAD_MAP);
  s.platform.answerOpenFile(s.dir.file("front.TMF"));
  s.platform.answerMessage(MessageResult::Cancel);
  s.platform.pushMenu(CMD_LOAD_MAP);
  s.platform.answerOpenFile(s.dir.file("front.TMF"));
  s.platform.pushMenu(CMD_LOAD_MAP);
  s.run();
  const auto& m = s.platform.messages();
  ASSERT_EQ(m.size(), 6u);
  EXPECT_EQ(m[0].text, "Not a valid map file");
  EXPECT_EQ(m[1].text, "Front seats");
  EXPECT_EQ(m[1].caption, "Description :");
  EXPECT_EQ(m[1].buttons, MessageButtons::OkCancel);
  ASSERT_TRUE(s.project().levelMap);
  EXPECT_EQ(s.project().description, "Front seats");
  EXPECT_EQ(s.platform.windows().size(), 1u);
  EXPECT_EQ(s.platform.fileDialogs()[0].request.filter, "Taviron Map File|*.tmf|");
  EXPECT_EQ(m[3].text, "For the export, set the octave band analysis to average. ");
  EXPECT_EQ(m[3].caption, "Export");
  EXPECT_EQ(m[4].text, MSG_EXPORT_FINISHED);
  std::vector<std::string> files;
  for (const auto& e : std::filesystem::directory_iterator(s.dir.path))
    if (e.path().extension() == ".csv") files.push_back(e.path().string());
  ASSERT_EQ(files.size(), 1u);
  EXPECT_NE(files[0].find("hall.TPR_TV_Exp_2023"), std::string::npos);
  const auto csv = readWholeFile(files[0]);
  ASSERT_TRUE(csv);
  EXPECT_EQ(std::count(csv->begin(), csv->end(), '\n'), 2 * 3 * 7);
}

}  // namespace
}  // namespace tav
