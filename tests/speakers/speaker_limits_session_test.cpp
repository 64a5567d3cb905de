// The 5000-loudspeaker limit of New, Copy and Mirror, the dialog templates,
// and positions shown and typed in feet.
#include "speaker_session_test_support.h"

namespace tav::speakertest {
namespace {

// Loudspeaker objects without a drawing, to fill the project up.
void addBareSpeakers(SpeakerSession& s, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    auto o = ObjectList::allocObject(PLACED_SPEAKER_SIZE, 0, 0);
    o->layer = LAYER_SPEAKERS;
    storeSpeaker(*o, newPlacedSpeaker({100.0 + double(i), 100, 0}));
    s.project().objects.appendObject(std::move(o));
  }
}

TEST(SpeakerLimits, NewCopyAndMirrorStopAt5000) {
  LoadedSession s;
  s.addDirect("OMNI", {0, 0, 0}, "A");
  addBareSpeakers(s, 4998);  // 4999 in all
  // Copy: the first copy makes 5000, the second is refused and ends it.
  s.menu(CMD_SPEAKER_COPY);
  s.pickAround(0, 0);
  s.clickAt(0, 0);
  s.clickAt(3, 0);
  s.clickAt(6, 0);
  s.clickAt(9, 0);  // no longer asked for
  s.check([&] {
    EXPECT_EQ(s.project().objects.countLoudspeakers(), 5000u);
    ASSERT_EQ(s.messages().size(), 1u);
    EXPECT_EQ(s.platform.messages()[0].text, "Maximum amount of speakers is 5000");
    EXPECT_EQ(s.platform.messages()[0].caption, "Sorry!");
  });
  // New at 5000: refused before the point is asked.
  s.menu(CMD_SPEAKER_NEW);
  s.check([&] {
    EXPECT_EQ(s.messages().size(), 2u);
    // Back to 4999: a mirror image would make exactly 5000, which is refused.
    s.project().objects.freeObject(s.project().objects.tail());
  });
  s.menu(CMD_SPEAKER_MIRROR);
  s.pickAround(0, 0);
  s.run();
  EXPECT_EQ(s.messages(), (std::vector<std::string>{"Maximum amount of speakers is 5000",
                                                    "Maximum amount of speakers is 5000",
                                                    "Insufficient Memory"}));
  EXPECT_EQ(s.project().objects.countLoudspeakers(), 4999u);
}

TEST(SpeakerDialogs, TemplatesAreWellFormed) {
  for (const DialogTemplate& t :
       {editSpeakerDialogTemplate(), selectSpeakerDialogTemplate(), equalizerDialogTemplate()})
    EXPECT_EQ(checkDialogTemplate(t), "") << t.title;
}

TEST(EditLoudspeaker, PositionsAreShownAndReadInFeet) {
  LoadedSession s;
  s.addDirect("OMNI", {0, 0, 0}, "A");
  s.shell.session().units.feet = true;
  std::string x;
  s.platform.scriptDialog(
      EDIT_SPEAKER_DIALOG_TITLE,
      {Step::setText(ESD_X, "3.28084"),
       Step::check([&](DialogControls& c) { x = c.text(ESD_X + 1); }), Step::click(ESD_OK)});
  s.menu(CMD_SPEAKER_EDIT);
  s.pickAround(0, 0);
  s.run();
  EXPECT_EQ(x, "0.000");
  const PlacedSpeaker r = s.record(s.named("A"));
  EXPECT_NEAR(r.position.x, 1.0, 1e-6);
}

}  // namespace
}  // namespace tav::speakertest
