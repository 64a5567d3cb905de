// Listening at a map point: the order of the quick search, the paths and
// statistics it hands to the real-time profile, and the command as the map
// window's right click runs it.
#include "auralization/point_listening.h"

#include <gtest/gtest.h>

#include <cmath>

#include "auralization/ui/auralization_commands.h"
#include "auralization/ui/point_listening_command.h"
#include "reflections/reflection_paths.h"
#include "reflections/search_rooms.h"
#include "shell/shell_test_util.h"
#include "support/near.h"
#include "support/temp_folder.h"
#include "support/wave_bytes.h"

namespace tav {
namespace {

struct OrderCase {
  const char* name;
  std::size_t faces, speakers;
  int order;
};

class ListeningOrder : public testing::TestWithParam<OrderCase> {};

TEST_P(ListeningOrder, FollowsTenOverTheLogOfFacesTimesSpeakers) {
  const OrderCase c = GetParam();
  EXPECT_EQ(pointListeningOrder(c.faces, c.speakers), c.order);
}

// 10 / ln 28 = 3.0011, 10 / ln 29 = 2.9697, 10 / ln 148 = 2.0012,
// 10 / ln 149 = 1.9986, 10 / ln 30000 = 0.9706.
INSTANTIATE_TEST_SUITE_P(Cases, ListeningOrder,
                         testing::Values(OrderCase{"one_face_one_speaker_log_zero", 1, 1, 3},
                                         OrderCase{"product_28", 7, 4, 3},
                                         OrderCase{"product_29", 29, 1, 2},
                                         OrderCase{"product_148", 37, 4, 2},
                                         OrderCase{"product_149", 149, 1, 1},
                                         OrderCase{"quotient_below_one", 3000, 10, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

// A 10 x 7 x 3 box (six faces, order 3) with one loudspeaker.
struct ListeningRoom {
  Project project;
  Vec3d speaker{2, 3, 1.5};
  Vec3d point{7, 4, 1.2};
  ListeningRoom() {
    test::addShoebox(project.objects, {10, 7, 3});
    test::addOmniSpeaker(project, speaker);
  }
};

TEST(PointListening, ImageSourcesToOrderThreeWithTheMapsRatio) {
  ListeningRoom room;
  const std::size_t objects = room.project.objects.countObjects();
  const PointListening l = searchAtPoint(room.project, room.point, 6.0);
  // Images of a box up to order 3: 1 + 6 + 18 + 38.
  ASSERT_EQ(l.paths.size(), 63u);
  // The direct path comes first: 5.1078 m at 343 m/s.
  const double direct = std::sqrt(25.0 + 1.0 + 0.09);
  EXPECT_NEAR(l.paths[0].timeMs, 1000.0 * direct / 343.0, 1e-3);
  const auto& d = l.paths[0].direction;
  EXPECT_TRUE(tavtest::near(Vec3d{d[0], d[1], d[2]}, {5.0, 1.0, -0.3}, 1e-5));
  for (int b = 0; b < BAND_COUNT; ++b)
    EXPECT_FLOAT_EQ(l.stats.reverbDb[b], l.stats.earlyDb[b] - 6.0f) << b;
  // The paths served only the profile.
  EXPECT_EQ(room.project.objects.countObjects(), objects);
  EXPECT_TRUE(reflectionPaths(room.project.objects).empty());
}

TEST(PointListening, NothingIsSearchedWithoutFacesOrLoudspeakers) {
  Project noSpeaker;
  test::addShoebox(noSpeaker.objects, {10, 7, 3});
  Project noRoom;
  test::addOmniSpeaker(noRoom, {2, 3, 1.5});
  for (Project* p : {&noSpeaker, &noRoom})
    EXPECT_TRUE(searchAtPoint(*p, {7, 4, 1.2}, 6.0).paths.empty());
}

struct ListeningSession : test::ShellSession {
  // The temporary profile goes to a folder of the test's own.
  tavtest::SystemTempFolder tmp;
  ListeningSession() {
    test::addShoebox(project().objects, {10, 7, 3});
    test::addOmniSpeaker(project(), {2, 3, 1.5});
    const std::string in = dir.file("in.wav");
    std::vector<std::int16_t> samples(5000, 1000);
    tavtest::writeBytes(in, tavtest::monoWave(22050, samples));
    shell.session().auralization.inputPath = in;
  }
};

TEST(AuralizeAtPoint, SearchesThenPlaysTheTemporaryProfileInRealTime) {
  ListeningSession s;
  // As the map window's right click calls it.
  installAuralizationHooks(s.shell.session());
  MappingSession& map = s.shell.session().mapping;
  s.check([&] { map.auralizeAtPoint(s.shell, {7, 4, 1.2}, 6.0); });
  s.run();
  // 5000 samples fill two buffers of 4410, then 20 of tail.
  EXPECT_EQ(s.platform.nullAudio().record().buffers.size(), 22u);
  EXPECT_EQ(s.platform.progress().front().title, "Calculating Reflections");
  EXPECT_FALSE(s.shell.session().auralization.busy);
}

TEST(AuralizeAtPoint, IgnoredWhileAnAuralizationRunsAndStoppedByCancel) {
  ListeningSession s;
  s.shell.session().auralization.busy = true;
  installAuralizationHooks(s.shell.session());
  EXPECT_TRUE(s.shell.session().mapping.auralizationRunning());
  s.check([&] { auralizeAtPoint(s.shell, {7, 4, 1.2}, 6.0); });
  s.check([&] { s.shell.session().auralization.busy = false; });
  s.platform.cancelProgressAtUpdate(1);
  s.check([&] { auralizeAtPoint(s.shell, {7, 4, 1.2}, 6.0); });
  s.run();
  EXPECT_TRUE(s.platform.nullAudio().record().buffers.empty());
  int opens = 0;
  for (const auto& p : s.platform.progress()) opens += p.kind == ProgressEventKind::Open;
  EXPECT_EQ(opens, 1);
}

}  // namespace
}  // namespace tav
