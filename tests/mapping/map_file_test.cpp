// The map file against bytes built here by hand: the layout, the 0.1 dB and
// 1 ms rounding, the 16-bit saturation of a band nothing reached, damaged
// files, and the map block of a project written back byte for byte.
#include "mapping/map_file.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/project_bytes_builder.h"
#include "model/project_file.h"

namespace tav {
namespace {

using tavtest::Buf;
using tavtest::Bytes;

// Two points on one raked area; band 8000 Hz reached by nothing at the
// first point (t0 10 000 000 ms), the second point's 125 Hz below 1.0.
LevelMap sampleMap() {
  LevelMap m;
  m.areas.push_back({7, -12, 0, 48, 144, 0, 4, 0, 6, 4});
  m.phaseRelation = 3;
  m.halfGrid = 0.25f;
  m.bandCounts = {1, 1, 1, 1, 1, 1, 0, 1};
  MapPoint a;
  a.x = 0.25f;
  a.y = 0.75f;
  a.z = 3.0625f;
  a.energy = {static_cast<float>(std::pow(10.0, 7.127)), 1e6f, 2e6f, 3e6f, 4e6f, 5e6f, 1.001f};
  a.t0 = {29.154f, 29.9f, 30.0f, 31.5f, 32.0f, 33.0f, 1e7f};
  MapPoint b = a;
  b.x = 0.75f;
  b.energy[0] = 0.5f;
  b.t0[0] = 10000.0f;
  m.points = {a, b};
  m.singlePoints = {1};
  m.bounds = boundsFromPoints(m.points);
  return m;
}

// The same map, byte by byte as the layout defines it.
Buf sampleBytes(const MapBounds& bounds) {
  Buf header(128, 0);
  tavtest::putText(header, 0, "TAVIRON MAP FILE V2.80");
  tavtest::putText(header, 32, "Hall");
  Bytes out;
  out.raw(header).i16(1).i16(3).f32(0.25f);
  for (std::uint16_t c : {1, 1, 1, 1, 1, 1, 0, 1}) out.u16(c);
  out.u32(7);
  for (float f : {-12.0f, 0.0f, 48.0f, 144.0f, 0.0f, 4.0f, 0.0f, 6.0f, 4.0f}) out.f32(f);
  out.u32(2);
  for (const BandFloats* v : {&bounds.emin, &bounds.emax, &bounds.tmin})
    for (float f : *v) out.f32(f);
  for (int b = 0; b < 6; ++b) out.f32(bounds.tmax[b]);
  std::uint32_t last;
  std::memcpy(&last, &bounds.tmax[6], 4);
  out.u16(static_cast<std::uint16_t>(last & 0xFFFF));
  // 71.27 dB is stored as 712; 1.001 as 0; 29.154 ms as 29; 1e7 ms as 32767.
  const std::int16_t levels[2][7] = {{712, 600, 630, 647, 660, 669, 0},
                                     {0, 600, 630, 647, 660, 669, 0}};
  const std::int16_t times[2][7] = {{29, 29, 30, 31, 32, 33, 32767},
                                    {10000, 29, 30, 31, 32, 33, 32767}};
  for (int p = 0; p < 2; ++p) {
    out.f32(p == 0 ? 0.25f : 0.75f).f32(0.75f).f32(3.0625f);
    for (std::int16_t l : levels[p]) out.i16(l);
    for (std::int16_t t : times[p]) out.i16(t);
    out.u16(0);
  }
  out.u32(1).u16(1);
  return out.b;
}

TEST(MapFile, WrittenBytesFollowTheLayout) {
  const LevelMap map = sampleMap();
  const Buf bytes = mapFileBytes(map, "Hall");
  EXPECT_EQ(bytes, sampleBytes(map.bounds));
  // The bounds: Emax and the times only where the band was reached.
  EXPECT_FLOAT_EQ(map.bounds.emin[0], 0.5f);
  EXPECT_FLOAT_EQ(map.bounds.emax[6], 1.001f);
  EXPECT_EQ(map.bounds.tmax[6], 0.0f);
}

TEST(MapFile, ReadingKeepsTenthsOfADecibelAndWholeMilliseconds) {
  const MapFileRead read = readMapBytes(mapFileBytes(sampleMap(), "Hall"));
  ASSERT_TRUE(read.ok()) << read.error.text;
  EXPECT_EQ(read.description, "Hall");
  const LevelMap& m = read.map;
  ASSERT_EQ(m.points.size(), 2u);
  EXPECT_NEAR(10 * std::log10(m.points[0].energy[0]), 71.2, 1e-5);
  EXPECT_EQ(m.points[0].t0[0], 29.0f);
  EXPECT_EQ(m.points[0].t0[6], 32767.0f);
  EXPECT_EQ(m.points[1].energy[0], 1.0f);
  EXPECT_EQ(m.singlePoints, (std::vector<std::uint16_t>{1}));
  // Bounds come from the points: the saturated 8000 Hz times take no part.
  EXPECT_EQ(m.bounds.tmax[0], 29.0f);
  EXPECT_EQ(m.bounds.tmax[6], 0.0f);
  EXPECT_EQ(m.bounds.tmin[6], 10000.0f);
  // Writing what was read gives the same levels again (no 0.1 dB loss).
  const Buf again = mapFileBytes(m, "Hall");
  EXPECT_EQ(readMapBytes(again).map, m);
  // Every stored level survives a read and a write.
  for (int l = 0; l < 3800; ++l) {
    const float e = static_cast<float>(std::pow(10.0, l / 100.0));
    ASSERT_EQ(storedLevel(e), l) << l;
  }
}

struct DamageCase {
  const char* name;
  std::size_t cutAt;    // the bytes kept (0: all)
  std::size_t patchAt;  // a 16-bit value written at this offset (0: none)
  std::uint16_t patch;
  const char* error;  // nothing when the map still reads
  std::size_t singles;
};

// Offsets in the sample: area count 128, area table 152, map header 192,
// points 306 (area index at +40), single points 390.
const DamageCase DAMAGE_CASES[] = {
    {"intact", 0, 0, 0, nullptr, 1},
    {"short_header", 127, 0, 0, "Not a valid map file", 0},
    {"wrong_magic", 0, 8, 0x5858, "Not a valid map file", 0},
    {"cut_in_area_table", 170, 0, 0, "Error reading data", 0},
    {"cut_in_points", 370, 0, 0, "Error reading data", 0},
    {"negative_area_count", 0, 128, 0xFFFF, "Error reading data", 0},
    {"area_index_out_of_range", 0, 306 + 40, 1, "Error reading data", 0},
    {"point_count_past_the_end", 0, 194, 0x0100, "Error reading data", 0},
    {"no_single_points", 390, 0, 0, nullptr, 0},
    {"single_points_cut", 394, 0, 0, nullptr, 0},
    {"single_point_out_of_range", 0, 394, 2, nullptr, 0},
    {"too_many_single_points", 0, 390, 101, nullptr, 0},
    // A negative level (not written by the program) reads as 1.0.
    {"negative_level", 0, 306 + 12, 0xFF00, nullptr, 1},
};

class DamagedMapFile : public testing::TestWithParam<DamageCase> {};

TEST_P(DamagedMapFile, ReadsOrSaysWhy) {
  const DamageCase& c = GetParam();
  Buf bytes = mapFileBytes(sampleMap(), "Hall");
  ASSERT_EQ(bytes.size(), 396u);
  if (c.patchAt) tavtest::put16(bytes, c.patchAt, c.patch);
  if (c.cutAt) bytes.resize(c.cutAt);
  const MapFileRead read = readMapBytes(bytes);
  EXPECT_EQ(read.error.text, c.error ? c.error : "");
  if (!c.error) {
    EXPECT_EQ(read.map.points.size(), 2u);
    EXPECT_EQ(read.map.singlePoints.size(), c.singles);
    for (const MapPoint& p : read.map.points)
      for (float e : p.energy) EXPECT_GE(e, 1.0f);
  }
}

INSTANTIATE_TEST_SUITE_P(MapFile, DamagedMapFile, testing::ValuesIn(DAMAGE_CASES),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MapFile, ProjectWritesItsMapBlockBackUntilTheMapChanges) {
  Project project;
  project.levelMap = sampleMap();
  project.description = "Hall";
  Buf base = writeProjectBytes(project);
  // A block as another program may have left it: bytes after the
  // description's NUL and an object reference that means nothing here.
  const std::size_t mapAt = base.size() - 396;
  base[mapAt + 100] = 0x55;
  ProjectLoadResult loaded = readProject(base);
  ASSERT_TRUE(loaded.ok());
  Project& p = loaded.project;
  ASSERT_TRUE(p.hasCalculationResult());
  const Buf same = writeProjectBytes(p);
  ASSERT_EQ(same.size(), base.size());
  EXPECT_TRUE(std::equal(same.begin() + static_cast<long>(mapAt), same.end(),
                         base.begin() + static_cast<long>(mapAt)));
  // A new description, or a labelled point, writes the block anew.
  p.description = "Hall 2";
  Buf rewritten = writeProjectBytes(p);
  EXPECT_EQ(rewritten[mapAt + 100], 0);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&rewritten[mapAt + 32])), "Hall 2");
  p.description = "Hall";
  p.levelMap->singlePoints.push_back(0);
  rewritten = writeProjectBytes(p);
  EXPECT_EQ(rewritten.size(), base.size() + 2);
  EXPECT_EQ(readProject(rewritten).project.levelMap->singlePoints,
            (std::vector<std::uint16_t>{1, 0}));
}

}  // namespace
}  // namespace tav
