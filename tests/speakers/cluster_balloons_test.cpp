// Cluster balloons: the sphere points and ring weights, the directivity
// factor of a balloon, the new type of hand-calculable clusters, the
// parallel run against the serial one, Cancel, and the
// one-type database read back by the third layout's reader.
#include "speakers/cluster_balloons.h"

#include <gtest/gtest.h>
#include <tbb/global_control.h>

#include <cmath>
#include <fstream>

#include "model/le_io.h"
#include "model/project.h"
#include "speaker_session_test_support.h"
#include "speakers/speaker_database.h"
#include "speakers/speaker_drawing.h"
#include "speakers/speaker_power.h"
#include "support/near.h"
#include "support/speaker_records.h"

namespace tav {
namespace {

constexpr double DEG = 3.14159265358979323846 / 180.0;

// A project with the omnidirectional type HORN (100 dB, 20 (b + 1) W,
// Q 1) and loudspeakers of it at -9 dB, all selected.
struct Cluster {
  Project project;
  Cluster() {
    project.speakerTypes.push_back(
        std::make_unique<SpeakerType>(speakertest::testType("HORN", 100, 20, "omni")));
  }
  ModelObject* add(Vec3d at, float gain8k = -9.0f, float gain4k = -9.0f) {
    PlacedSpeaker s = newPlacedSpeaker(at);
    applyChosenType(s, project.speakerTypes[0]->maxPower);
    s.eqGain[5] = gain4k;
    s.eqGain[6] = gain8k;
    computeSpeakerPower(s, *project.speakerTypes[0]);
    ModelObject* o = buildSpeakerDrawing(project, s, nullptr);
    o->flags |= OF_SELECTED;
    return o;
  }
  SpeakerType run(std::int16_t includeRoom = 0) {
    const std::optional<SpeakerType> t =
        computeClusterBalloon(project, selectedClusterMembers(project), includeRoom);
    EXPECT_TRUE(t.has_value());
    return t.value_or(SpeakerType{});
  }
};

double band(int b) { return 20.0 * (b + 1) * std::pow(10.0, -0.9); }

TEST(ClusterSphere, RingsFromTheXAxisThenTheTwoAxisPoints) {
  const Vec3d c{1, 2, 3};
  const std::vector<Vec3d> p = clusterSpherePoints(c);
  ASSERT_EQ(p.size(), 2522u);
  const double s5 = 100 * std::sin(5 * DEG), c5 = 100 * std::cos(5 * DEG);
  const std::pair<int, Vec3d> cases[] = {{0, {1 + c5, 2 + s5, 3}},             // ring 1, phi 0
                                         {18, {1 + c5, 2, 3 + s5}},            // ring 1, phi 90
                                         {17 * 72 + 36, {1, 2 - 100, 3}},      // ring 18, phi 180
                                         {34 * 72 + 54, {1 - c5, 2, 3 - s5}},  // ring 35, phi 270
                                         {2520, {101, 2, 3}},
                                         {2521, {-99, 2, 3}}};
  for (const auto& [index, at] : cases) EXPECT_TRUE(tavtest::near(p[index], at, 1e-9)) << index;
  EXPECT_NEAR(clusterRingWeight(0), 0.003805, 1e-6);
  EXPECT_NEAR(clusterRingWeight(17), 0.087156, 1e-6);
  EXPECT_NEAR(clusterRingWeight(18), 0.087156, 1e-6);
  double sum = 0;
  for (int i = 0; i <= 35; ++i) sum += clusterRingWeight(i);
  EXPECT_NEAR(sum, 2.0, 1e-12);
}

TEST(ClusterSphere, DirectivityFactorOfBalloons) {
  DirectivityGrid grid;
  grid.codes.fill(225);
  EXPECT_DOUBLE_EQ(gridDirectivityFactor(grid), 1.0) << "omnidirectional, held at 1.0";
  // -5 dB everywhere but the axis at 0 dB, which counts only in the first
  // ring, with half its weight: acc = (w1 (1 + e) + 2 e (w2 + ... + w35)) / 2,
  // e = 10^-0.5.
  grid.codes.fill(200);
  for (int c = 0; c < 72; ++c) grid.at(0, c) = 225;
  const double e = std::pow(10.0, -0.5), w1 = std::cos(5 * DEG) - std::cos(10 * DEG);
  const double wsum = std::cos(5 * DEG) + 1;
  EXPECT_NEAR(gridDirectivityFactor(grid), wsum / ((w1 * (1 + e) + 2 * e * (wsum - w1)) / 2), 1e-9);
  // Front half (0..90 degrees) at 0 dB, back half at -45 dB:
  // acc = (2 (cos 5 - cos 90) + w18 (1 + e) + 2 e (cos 95 + 1)) / 2 with
  // e = 10^-4.5, Q = (cos 5 + 1) / acc = 1.9198.
  for (int r = 0; r < 37; ++r)
    for (int c = 0; c < 72; ++c) grid.at(r, c) = r <= 18 ? 225 : 0;
  EXPECT_NEAR(gridDirectivityFactor(grid), 1.9198, 1e-4);
}

TEST(ClusterBalloon, TwoLoudspeakersAtOnePlaceGiveTheirSensitivityBack) {
  Cluster k;
  // 8 kHz switched off in one of them, 4 kHz in both.
  k.add({2, -1, 1.5}, -9.0f, -60.0f);
  k.add({2, -1, 1.5}, -60.0f, -50.0f);
  const SpeakerType t = k.run();
  EXPECT_EQ(fixedString(t.brand), "LS ARRAY");
  for (int b = 0; b < 5; ++b) {
    SCOPED_TRACE(b);
    // Two equal arrivals in phase: the Octave Bandwidth sum is
    // 3 x 2 x 0.333 e, plus 1; E = 10^4 (1.998 F 10^-4 air^100 + 1).
    const double w = band(b), f = w * 1e10, air = std::pow(AIR_ATTENUATION[b], 100);
    const double s = 10 * std::log10(1.998 * f + 1e4 / air) - 10 * std::log10(2 * w);
    EXPECT_NEAR(t.sensitivity[b], s, 2e-4);
    EXPECT_NEAR(t.maxPower[b], 2 * w, 1e-4);
    EXPECT_EQ(t.efficiency[b], std::trunc(1000 * std::pow(10.0, (s - 109) / 10)));
    for (std::uint8_t code : t.grids[b].codes) ASSERT_EQ(code, 225);
  }
  // 8 kHz: one loudspeaker left, a single arrival of 3 x 0.333 e.
  const double w = band(6), air = std::pow(AIR_ATTENUATION[6], 100);
  EXPECT_NEAR(t.sensitivity[6], 10 * std::log10(0.999 * w * 1e10 + 1e4 / air) - 10 * std::log10(w),
              2e-4);
  // 4 kHz, driven by neither: flat, Q 1, no power, and only the inactive
  // arrivals (0.001 at 10000 s): E = 10^4 (1 + 3 x 2 x 0.333 x 0.001).
  for (std::uint8_t code : t.grids[5].codes) ASSERT_EQ(code, 225);
  EXPECT_EQ(t.directivityFactor[5], 10);
  EXPECT_EQ(t.maxPower[5], 0.0f);
  EXPECT_NEAR(t.sensitivity[5],
              10 * std::log10(1e4 * (1 + 0.001998) / std::pow(AIR_ATTENUATION[5], 100)), 1e-3);
}

TEST(ClusterBalloon, MembersAimedForwardShowFrontAndBackAndQuietBandsCount) {
  Cluster k;
  // Front half 0 dB, back half -15 dB (code 150); 8 kHz at 14.5 dB / 1 W,
  // so its acoustic factor (about 500) is below a level calculation's 1000.
  SpeakerType& type = *k.project.speakerTypes[0];
  for (DirectivityGrid& g : type.grids)
    for (int r = 0; r < 37; ++r)
      for (int c = 0; c < 72; ++c) g.at(r, c) = r <= 18 ? 225 : 150;
  type.sensitivity[6] = 14.5f;
  const ModelObject* a = k.add({3, 0.5, 2});
  k.add({3, -0.5, 2});
  const SpeakerType t = k.run();
  for (int b = 0; b < 6; ++b) {
    EXPECT_NEAR(t.grids[b].at(36, 0), 150, 1) << b;
    EXPECT_GT(t.directivityFactor[b], 15) << b;
  }
  // 8 kHz takes part: on the axis 1.998 e of it adds to the 1.0 of the sum.
  const double f = speakerOf(*a)->acousticFactor[6], air = std::pow(AIR_ATTENUATION[6], 100);
  ASSERT_LT(f, 1000);
  EXPECT_NEAR(
      t.sensitivity[6],
      10 * std::log10(1e4 * (1 + 1.998 * f * 1e-4 * air) / air) - 10 * std::log10(2 * band(6)),
      2e-4);
}

TEST(ClusterBalloon, ParallelRunEqualsTheSerialOneWithTheRoomIncluded) {
  Cluster k;
  k.add({3, 0.4, 2});
  k.add({3.5, -0.6, 2.5});
  // A floor under the cluster for shading and a reflection.
  k.project.objects.appendObject(
      test::makeFace({{-50, -50, 0}, {50, -50, 0}, {50, 50, 0}, {-50, 50, 0}}));
  const SpeakerType parallel = k.run(3);
  tbb::global_control one(tbb::global_control::max_allowed_parallelism, 1);
  EXPECT_TRUE(parallel == k.run(3));
  EXPECT_FALSE(parallel == k.run(0)) << "the floor's reflection changes the balloon";
}

// The command's session sees the progress reach 97 %; Cancel then still ends it.
TEST(ClusterBalloon, CancelAtTheLastProgressUpdateEndsTheRun) {
  Cluster k;
  k.add({0, 0, 0});
  k.add({1, 0, 0});
  EXPECT_FALSE(computeClusterBalloon(k.project, selectedClusterMembers(k.project), 0,
                                     [](int v) { return v == 97; }));
}

TEST(ClusterBalloon, DatabaseOfOneTypeWithTheMemberDrawingsReadsBack) {
  Cluster k;
  ModelObject* a = k.add({1, 2, 3});
  ModelObject* b = k.add({3, 2, 1});
  const ClusterMembers members = selectedClusterMembers(k.project);
  EXPECT_EQ(members.centre, (Vec3d{2, 2, 2}));
  SpeakerType type = k.run();
  setFixedString(type.description, "Two cabinets");
  std::vector<std::uint8_t> bytes = encodeClusterDatabase(type, members);

  // Byte layout, read here without the engine's reader.
  const std::size_t shapeBytes = [&] {
    std::size_t n = 0;
    for (const ModelObject* o : {b, a})
      n += 48 + (o->nodes.size() - 2) * 12 + o->indices.size() * 4;
    return n;
  }();
  ASSERT_EQ(bytes.size(), 32 + 19160 + shapeBytes);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data())),
            "TAVIRON SPEAKER DATABASE V140");
  EXPECT_EQ(bytes[30] | bytes[31] << 8, 1);
  std::vector<std::uint8_t> record(bytes.begin() + 32, bytes.begin() + 32 + 19160);
  EXPECT_EQ(record[71], 2) << "layout flag, left plain";
  tavtest::testTransform(record, 462, 50, 21, 50);  // the tail first: it holds the key window
  tavtest::testTransform(record, 72, 382, 470, 20);
  EXPECT_EQ(tavtest::get32(record, 196), shapeBytes);
  EXPECT_EQ(record[72], 1) << "cluster mark";
  // Shape records: b (the list head) first, with flags without OF_SELECTED.
  EXPECT_EQ(tavtest::get32(bytes, 32 + 19160 + 24), b->flags & ~OF_SELECTED);

  // The reader of the third layout takes it back: the records chained, b's
  // nodes first, relative to the centre.
  tavtest::TempFolder dir;
  const std::string path = dir.file("CLUSTER.TSB");
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  SpeakerDatabaseIndex index;
  ASSERT_TRUE(loadSpeakerDatabase(index, path).loaded);
  const std::optional<SpeakerType> back = readSpeakerType(index, 0);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->grids, type.grids);
  const std::unique_ptr<ModelObject> shape = readSpeakerShape(index, 0);
  ASSERT_TRUE(shape);
  EXPECT_FLOAT_EQ(shape->nodes.at(b->nodes.size() - 2).z, a->nodes[0].z - 2.0f);
}

}  // namespace
}  // namespace tav
