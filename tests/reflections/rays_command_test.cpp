// "Calculate Rays" and "Load Ray File" as a user runs them: the prompts, the
// progress window, the ray and ETC windows, storing and loading a ray file.
#include "reflections/ui/rays_command.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "model/save_file.h"
#include "reflections/ray_file.h"
#include "reflections/reflection_run.h"
#include "reflections/search_rooms.h"
#include "reflections/ui/etc_plot.h"
#include "reflections/ui/ray_display.h"
#include "shell/command_ids.h"
#include "shell/shell_test_util.h"

namespace tav {
namespace {

struct RaySession : test::ShellSession {
  RaySession() {
    registerReflectionCommands(shell.registry());
    test::addBox(project().objects, {0, 0, 0}, {6, 4, 3});
    test::addOmniSpeaker(project(), {1, 1, 1.5});
    xyView(50.0f);  // the room fits the 800 x 600 view
  }
  std::size_t pathObjects() { return reflectionPaths(project().objects).size(); }
};

TEST(RaysCommand, SearchShowsBothWindowsAndStoresTheFile) {
  RaySession s;
  const std::string file = s.dir.file("room");
  s.platform.pushMenu(CMD_CALCULATE_RAYS);
  s.platform.answerInputLine("2");
  s.clickAt(4.5f, 3.0f);
  std::size_t shown = 0;
  s.platform.scriptWindow(
      RAY_WINDOW_TITLE,
      {WindowStep::check([&](ScriptedChildWindow& w) {
         shown = s.pathObjects();
         EXPECT_EQ(w.buttons().at(RAY_BUTTON_SWITCH).label, "ETC");
       }),
       // One step right selects the first path: only it stays visible.
       WindowStep::scrollBy({ScrollAxis::Horizontal, ScrollAction::LineForward, 0}),
       WindowStep::check([&](ScriptedChildWindow&) {
         const auto paths = reflectionPaths(s.project().objects);
         EXPECT_FALSE(paths[0]->flags & OF_HIDDEN);
         EXPECT_TRUE(paths[1]->flags & OF_HIDDEN);
       }),
       WindowStep::button(RAY_BUTTON_SWITCH), WindowStep::button(ETC_BUTTON_BAND_FIRST + 3),
       WindowStep::check([&](ScriptedChildWindow& w) {
         EXPECT_EQ(w.title(), ETC_WINDOW_TITLE);
         EXPECT_EQ(w.buttons().at(RAY_BUTTON_SWITCH).label, "RAY");
         // Without an audio profile writer the two buttons stay disabled.
         EXPECT_FALSE(w.buttonEnabled(ETC_BUTTON_APF));
         const auto texts = w.canvas().texts();
         EXPECT_NE(std::find(texts.begin(), texts.end(), "1000 Hz"), texts.end());
       }),
       WindowStep::button(RAY_BUTTON_BACK)});
  s.platform.answerMessage(MessageResult::Ok);  // store?
  s.platform.answerSaveFile(file);
  s.platform.answerInputLine("Hall A");
  s.run();

  ASSERT_FALSE(s.platform.inputLines().empty());
  ASSERT_FALSE(s.platform.progress().empty());
  EXPECT_EQ(s.platform.inputLines()[0].prompt, PROMPT_MAX_ORDER);
  EXPECT_EQ(s.platform.inputLines()[0].text, "3");
  EXPECT_EQ(s.platform.progress().front().title, REFLECTION_PROGRESS_TITLE);
  // A box to order 2: 1 + 6 + 30 - (none lost) = 25 paths.
  EXPECT_EQ(shown, 25u);
  EXPECT_EQ(s.pathObjects(), 0u) << "the paths leave the model with the display";

  // Loading the stored file shows the same 25 paths and its description.
  RaySession t;
  t.platform.pushMenu(CMD_LOAD_RAY_FILE);
  t.platform.answerOpenFile(file + ".TRF");
  t.platform.answerMessage(MessageResult::Ok);  // the description
  std::size_t loaded = 0;
  t.platform.scriptWindow(
      RAY_WINDOW_TITLE,
      {WindowStep::check([&](ScriptedChildWindow&) { loaded = t.pathObjects(); })});
  t.run();
  EXPECT_EQ(loaded, 25u);
  ASSERT_EQ(t.platform.messages().size(), 1u);
  EXPECT_EQ(t.platform.messages()[0].text, "Hall A");
  EXPECT_EQ(t.platform.messages()[0].caption, PROMPT_DESCRIPTION);
}

TEST(RaysCommand, CancelledPromptsBadFilesAndNoLoudspeakerEndCleanly) {
  RaySession s;
  s.platform.pushMenu(CMD_CALCULATE_RAYS);
  s.platform.answerInputLine(std::nullopt);
  s.platform.pushMenu(CMD_LOAD_RAY_FILE);
  const std::string bad = s.dir.file("bad.TRF");
  ASSERT_TRUE(saveFileAtomically(bad, std::vector<std::uint8_t>(200, 'x')));
  s.platform.answerOpenFile(bad);
  // Without a loudspeaker there is no prompt.
  s.check([&] { s.project().objects.freeObject(s.project().objects.tail()); });
  s.platform.pushCommand(CMD_CALCULATE_RAYS);
  s.run();
  EXPECT_TRUE(s.platform.progress().empty());
  EXPECT_EQ(s.messages(), (std::vector<std::string>{MSG_NOT_A_RAY_FILE, MSG_NO_SPEAKERS}));
  EXPECT_EQ(s.platform.inputLines().size(), 1u);
  EXPECT_TRUE(s.platform.windows().empty());
}

struct StepCase {
  const char* name;
  int selected, count;
  ScrollAction action;
  int thumb;
  bool rayWindow;
  int expected;
};

class PathStepTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(PathStepTest, StepsAsTheScrollRulesSay) {
  const StepCase& c = GetParam();
  EXPECT_EQ(stepPathSelection(c.selected, c.count, c.action, c.thumb, c.rayWindow), c.expected);
}

using SA = ScrollAction;
INSTANTIATE_TEST_SUITE_P(
    Cases, PathStepTest,
    ::testing::Values(
        StepCase{"RayLineBackToNone", 0, 5, SA::LineBack, 0, true, -1},
        StepCase{"EtcLineBackStopsAtZero", 0, 5, SA::LineBack, 0, false, 0},
        StepCase{"RayPageBackFromNineReachesMinusOne", 9, 50, SA::PageBack, 0, true, -1},
        StepCase{"EtcPageBackFromNineStays", 9, 50, SA::PageBack, 0, false, 9},
        StepCase{"EtcPageBackFromTen", 10, 50, SA::PageBack, 0, false, 0},
        StepCase{"LineForwardStopsAtLast", 4, 5, SA::LineForward, 0, false, 4},
        StepCase{"PageForwardTenLeftGoesLast", 39, 50, SA::PageForward, 0, false, 49},
        StepCase{"PageForwardElevenLeft", 38, 50, SA::PageForward, 0, false, 48},
        StepCase{"ThumbAtEnd", 0, 11, SA::Thumb, 1000, false, 10},
        StepCase{"ThumbWithOnePathSelectsNothingNew", 0, 1, SA::Thumb, 700, false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EtcPlot, ScalesAndTexts) {
  EXPECT_EQ(etcFullScaleMs(0), 100);
  EXPECT_EQ(etcFullScaleMs(100), 100);
  EXPECT_EQ(etcFullScaleMs(100.5), 200);
  EXPECT_EQ(etcFullScaleMs(1000.1), 1500);
  EXPECT_EQ(etcFullScaleMs(12000), 10000);
  auto stats = std::make_unique<ReflectionStats>();
  stats->early[BROADBAND] = 30;
  stats->reverberant[BROADBAND] = 20;
  stats->rt[BROADBAND] = 1.25f;
  // 0.6406 · 1.25 · 100 / 1000 = 0.080 %
  EXPECT_EQ(etcBottomLine(*stats, BROADBAND),
            (std::array<std::string, 3>{"Ld-Lr : 10.0 dB", "RT 60 : 1.2 s", "Alcons : 0.1 %"}));
  stats->reverberant[0] = 60;
  stats->rt[0] = 3;
  EXPECT_EQ(etcBottomLine(*stats, 0)[2], "Alcons : 100.0 %");
}

}  // namespace
}  // namespace tav
