// The RT60 window in a running shell: what it draws for a 10 m box, the
// method buttons and the project's method, measured values and a band
// without absorption.
#include "materials/ui/rt60_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "materials/ui/acoustics_commands.h"
#include "shell/shell_test_util.h"
#include "speakers/ui/equalizer_dialog.h"
#include "support/model_builders.h"

namespace tav {
namespace {

using Step = WindowStep;

bool hasText(const ScriptedCanvas& canvas, const std::string& text) {
  const std::vector<std::string> texts = canvas.texts();
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

bool hasTextStarting(const ScriptedCanvas& canvas, const std::string& prefix) {
  for (const std::string& t : canvas.texts())
    if (t.rfind(prefix, 0) == 0) return true;
  return false;
}

// The polyline drawn in a colour (the curves), or nothing.
std::vector<PixelPoint> curve(const ScriptedCanvas& canvas, int colour) {
  for (const DrawCall& c : canvas.callsOf(DrawKind::Polyline))
    if (c.pen == colour) return c.points;
  return {};
}

// A shell with the RT60 commands and a closed 10 m box whose faces point
// inwards, all with material slot 1 (coefficients `alpha`).
struct Rt60Session : test::ShellSession {
  explicit Rt60Session(std::array<float, 7> alpha = test::uniformAlpha(0.1f),
                       test::BoxOptions options = {}) {
    registerAcousticsCommands(shell.registry());
    project().materials.slots.push_back(test::makeMaterial("Tenth", alpha));
    options.materials.fill(1);
    test::addBox(project().objects, {0, 0, 0}, {10, 10, 10}, options);
    project().modified = false;
  }
  void openWindow(int command, WindowScript script) {
    platform.scriptWindow(RT60_WINDOW_TITLE, std::move(script));
    platform.pushMenu(command);
  }
};

TEST(Rt60Window, TenMetreBoxShowsItsTableScaleCurvesAndLines) {
  Rt60Session s;
  // A stored calculation carries the project description.
  s.project().description = "Main hall";
  s.openWindow(
      CMD_RT60_SABINE,
      {Step::check([](ScriptedChildWindow& w) {
         const ScriptedCanvas& c = w.canvas();
         ASSERT_EQ(c.width(), 800);
         for (const char* t : {"RT60 >Sabine<", "inc. air absorbtion", "8000 Hz", "2.68 s",
                               " 60.0 Sa", "a = 33.3%", "V total : 1000.0 cbm", "Main hall"})
           EXPECT_TRUE(hasText(c, t)) << t;
         // 2.68 s is the top: the scale ends at 3 s.
         EXPECT_FALSE(hasText(c, "4 s"));
         // The second labels stand right of the frame (752), clear of its
         // lines, and inside the window; "1 s" at 284 - 84 = 200.
         int labels = 0;
         for (const DrawCall& t : c.callsOf(DrawKind::Text)) {
           if (t.text.size() != 3 || t.text.substr(1) != " s") continue;
           ++labels;
           EXPECT_GE(t.points[0].x, 753) << t.text;
           EXPECT_LE(t.points[0].x + 3 * 7, 800) << t.text;
           if (t.text == "1 s") {
             EXPECT_EQ(t.points[0].y, 200 - 7);
           }
         }
         EXPECT_EQ(labels, 4);
         EXPECT_FALSE(hasTextStarting(c, "Total Area Error"));
         // Frame 48..752 x 32..284, 84 pixels a second.
         const auto noAir = curve(c, RT60_COLOUR_NO_AIR);
         ASSERT_EQ(noAir.size(), 7u);
         EXPECT_EQ(noAir[6], (PixelPoint{752, 59}));              // 2.683 s
         EXPECT_EQ(curve(c, RT60_COLOUR_WITH_AIR).at(6).y, 216);  // 0.805 s
         // Buttons: a column of five at the left.
         EXPECT_EQ(w.buttons().at(RT60_BUTTON_MEASUREMENT).rect, (PixelRect{0, 128, 32, 32}));
       }),
       Step::button(RT60_BUTTON_CLOSE)});
  s.run();
  // Sabine was already the project's method: nothing changed.
  EXPECT_FALSE(s.project().modified);
}

TEST(Rt60Window, MethodButtonsSwitchTheMethodOfTheWindowAndTheProject) {
  Rt60Session s;
  s.openWindow(CMD_RT60_SABINE,
               {Step::button(RT60_BUTTON_EYRING), Step::check([&](ScriptedChildWindow& w) {
                  EXPECT_TRUE(hasText(w.canvas(), "RT60 >Eyring<"));
                  EXPECT_TRUE(s.project().modified);
                }),
                Step::button(RT60_BUTTON_FITZROY), Step::check([&](ScriptedChildWindow& w) {
                  EXPECT_TRUE(hasText(w.canvas(), "RT60 >Fitzroy<"));
                }),
                Step::button(RT60_BUTTON_SABINE), Step::button(RT60_BUTTON_PRINT),
                Step::button(RT60_BUTTON_COPY), Step::close()});
  // 5011 opens with Eyring at once.
  s.openWindow(CMD_RT60_EYRING, {Step::check([](ScriptedChildWindow& w) {
                 EXPECT_TRUE(hasText(w.canvas(), "RT60 >Eyring<"));
               })});
  s.run();
  EXPECT_EQ(s.project().settings.rtMethod, RT_EYRING);
  // PRINT draws the picture again for the printer; COPY puts it on the clipboard.
  ASSERT_EQ(s.platform.prints().size(), 1u);
  EXPECT_TRUE(hasText(s.platform.prints()[0].pages.at(0), "RT60 >Sabine<"));
  EXPECT_EQ(s.platform.clipboard().at(0).width, 800);
}

// The menu item and the M button both ask for the measured values; Cancel
// leaves the method as it was.
TEST(Rt60Window, MeasuredValuesComeFromTheDialogAndImpossibleOnesAreReported) {
  Rt60Session s;
  s.platform.scriptDialog(
      "RT 60", {DialogStep::setText(EQD_EDIT_FIRST, "3"), DialogStep::click(EQD_CANCEL)});
  s.platform.pushMenu(CMD_RT60_MEASURED);
  s.check([&] { EXPECT_TRUE(s.platform.windows().empty()); });
  // 0.05 s at 125 Hz absorbs the whole surface; 2 s at 8 kHz leaves less
  // absorption (80.5) than the air takes (4mV = 140): impossible.
  DialogScript values = {DialogStep::setText(EQD_EDIT_FIRST, "0.05")};
  for (int b = 1; b < 6; ++b) values.push_back(DialogStep::setText(EQD_EDIT_FIRST + b, "1"));
  values.push_back(DialogStep::setText(EQD_EDIT_FIRST + 6, "2"));
  values.push_back(DialogStep::click(EQD_OK));
  s.platform.scriptDialog("RT 60", {DialogStep::click(EQD_CANCEL)});
  s.platform.scriptDialog("RT 60", values);
  s.openWindow(CMD_RT60_SABINE,
               {Step::button(RT60_BUTTON_MEASUREMENT), Step::check([&](ScriptedChildWindow&) {
                  EXPECT_EQ(s.project().settings.rtMethod, RT_SABINE);
                }),
                Step::button(RT60_BUTTON_MEASUREMENT), Step::check([&](ScriptedChildWindow& w) {
                  EXPECT_TRUE(hasText(w.canvas(), "RT60 >Measurement<"));
                  EXPECT_TRUE(hasText(w.canvas(), "a = 100.0%"));
                })});
  s.run();
  ASSERT_EQ(s.platform.messages().size(), 1u);
  EXPECT_EQ(s.platform.messages()[0].text, "Impossible input values");
  EXPECT_EQ(s.platform.messages()[0].caption, "Please correct");
  EXPECT_EQ(s.project().settings.rtMethod, RT_MEASUREMENT);
  EXPECT_FLOAT_EQ(s.project().settings.measuredRT[6], 2.0f);
}

TEST(Rt60Window, FeetUnitsAndTheAreaErrorOfAMissingFloor) {
  test::BoxOptions open;
  open.missing = {test::FLOOR};
  Rt60Session s(test::uniformAlpha(0.1f), open);
  s.shell.session().units.feet = true;
  s.openWindow(CMD_RT60_SABINE, {Step::check([](ScriptedChildWindow& w) {
                 EXPECT_TRUE(hasText(w.canvas(), "V total : 35314.7 cu.ft"));
                 EXPECT_TRUE(hasText(w.canvas(), "Total Area Error : 1076.39 ft\u00B2"));
               })});
  s.run();
}

TEST(Rt60Window, ABandWithoutAbsorptionKeepsAFiniteScale) {
  Rt60Session s({0.0f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f, 0.1f});
  s.openWindow(CMD_RT60_SABINE, {Step::check([](ScriptedChildWindow& w) {
                 const ScriptedCanvas& c = w.canvas();
                 EXPECT_TRUE(hasText(c, RT60_INFINITE_LABEL));
                 EXPECT_TRUE(hasText(c, "20 s"));
                 // The band stands at the top of the frame,
                 // the others at 2.683 s of 20 (252 px).
                 const auto noAir = curve(c, RT60_COLOUR_NO_AIR);
                 ASSERT_EQ(noAir.size(), 7u);
                 EXPECT_EQ(noAir[0].y, 32);
                 EXPECT_EQ(noAir[1].y, 284 - 34);
               })});
  s.run();
}

}  // namespace
}  // namespace tav
