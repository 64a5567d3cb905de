// Receiver points: the audience-area table, the grid size chosen from the
// surface, and the grid laid over the areas.
#include "mapping/audience_grid.h"

#include <gtest/gtest.h>

#include "mapping_fixtures.h"
#include "support/near.h"

namespace tav {
namespace {

TEST(AudienceGrid, TableHoldsNonVerticalAreasByHeightWithTheirPlanes) {
  Project project;
  // A raked area rising 1 m over 4 m in x, a flat one higher up, a wall
  // (vertical, left out) and a room face (layer 0, left out).
  maptest::addFace(project.objects, {{0, 0, 3}, {4, 0, 4}, {4, 6, 4}, {0, 6, 3}}, 0,
                   LAYER_AUDIENCE);
  maptest::addAudienceRect(project, 10, 0, 12, 3, 2);
  maptest::addFace(project.objects, {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}}, 0,
                   LAYER_AUDIENCE);
  maptest::addAudienceRect(project, 0, 0, 1, 1, 0)->layer = LAYER_ROOM;
  const AudienceAreaTable t = buildAudienceAreaTable(project.objects);
  ASSERT_EQ(t.size(), 2u);
  // Sorted by zmax: the flat area (2 m) before the raked one (4 m).
  EXPECT_EQ(t.entries[0].zmax, 2.0f);
  const AudienceAreaEntry& raked = t.entries[1];
  EXPECT_EQ(raked.reference, 0u);
  // Area vector (not halved) of the 4 x 6 face rising 1 m: (-12, 0, 48).
  EXPECT_FLOAT_EQ(raked.nx, -12);
  EXPECT_FLOAT_EQ(raked.nz, 48);
  // d = n · Pmin with Pmin = (0, 0, 3), the first node of smallest x.
  EXPECT_FLOAT_EQ(raked.d, 144);
  EXPECT_DOUBLE_EQ(raked.planeZ(2, 1), 3.5);
  EXPECT_DOUBLE_EQ(audienceSurface(project.objects), 24.0 + 6.0);
  // An area drawn the other way round faces down and is taken all the same.
  ObjectList down;
  maptest::addFace(down, {{0, 0, 1}, {0, 3, 1}, {2, 3, 1}, {2, 0, 1}}, 0, LAYER_AUDIENCE);
  EXPECT_EQ(buildAudienceAreaTable(down).size(), 1u);
}

struct GridSizeCase {
  const char* name;
  double surface;
  std::int16_t index;
  std::optional<double> spacing;
  std::int16_t indexAfter;
};

class GridSizeChoice : public testing::TestWithParam<GridSizeCase> {};

TEST_P(GridSizeChoice, SpacingAndIndexWrittenBack) {
  const GridSizeCase& c = GetParam();
  std::int16_t index = c.index;
  const auto spacing = chooseGridSize(c.surface, index);
  ASSERT_EQ(spacing.has_value(), c.spacing.has_value());
  if (spacing) {
    EXPECT_NEAR(*spacing, *c.spacing, 1e-9);
  }
  EXPECT_EQ(index, c.indexAfter);
}

INSTANTIATE_TEST_SUITE_P(
    AudienceGrid, GridSizeChoice,
    testing::Values(
        // 10 000 / 0.25² = 160 000 points: coarsened to 0.5 m (40 000).
        GridSizeCase{"quarter_metre_coarsened", 10000, 0, 0.5, 1},
        // 4000 / 0.25² = 64 000 exactly is not below the limit.
        GridSizeCase{"exactly_the_limit", 4000, 0, 0.5, 1},
        GridSizeCase{"just_below_the_limit", 3999.9, 0, 0.25, 0},
        GridSizeCase{"too_fine_even_at_fifty", 50.0 * 50 * 64000, 5, std::nullopt, 5},
        GridSizeCase{"largest_fits", 50.0 * 50 * 63999, 7, 50.0, 7},
        // sqrt(6400 / 64000) / 0.95
        GridSizeCase{"minimum", 6400, GRID_MINIMUM, 0.33287133264930313, GRID_MINIMUM},
        GridSizeCase{"minimum_without_surface", 0, GRID_MINIMUM, 0.25, GRID_MINIMUM}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AudienceGrid, GridFillsEachAreaInsideItsFirstFaceOnItsPlane) {
  Project project;
  // An L-shaped raked area: 6 x 4 with the quarter x > 3, y > 2 cut away,
  // rising 0.5 m per metre in y.
  maptest::addFace(project.objects,
                   {{0, 0, 1}, {6, 0, 1}, {6, 2, 2}, {3, 2, 2}, {3, 4, 3}, {0, 4, 3}}, 0,
                   LAYER_AUDIENCE);
  const AudienceAreaTable t = buildAudienceAreaTable(project.objects);
  std::vector<MapPoint> points;
  EXPECT_EQ(layGrid(t, 1.0, points), 6u * 4u - 3u * 2u);
  auto at = [](const MapPoint& p) { return Vec3d{p.x, p.y, p.z}; };
  EXPECT_TRUE(tavtest::near(at(points.front()), {0.5, 0.5, 1.25}));
  // Rows by y, columns by x; the cut-away corner has no points.
  EXPECT_TRUE(tavtest::near(at(points[6]), {0.5, 1.5, 1.75}));
  EXPECT_TRUE(tavtest::near(at(points.back()), {2.5, 3.5, 2.75}));
  // A spacing of 0 lays nothing (and does not loop for ever).
  EXPECT_EQ(layGrid(t, 0, points), points.size());
  // A column closer than 1 cm to the far edge is left out: x = 1.5 in an
  // area ending at 1.505.
  Project narrow;
  maptest::addAudienceRect(narrow, 0, 0, 1.505, 1, 0);
  std::vector<MapPoint> column;
  EXPECT_EQ(layGrid(buildAudienceAreaTable(narrow.objects), 1.0, column), 1u);
}

TEST(AudienceGrid, GridStopsAtSixtyFourThousandPoints) {
  Project project;
  maptest::addAudienceRect(project, 0, 0, 300, 300, 0);
  maptest::addAudienceRect(project, 0, 0, 10, 10, 5);
  const AudienceAreaTable t = buildAudienceAreaTable(project.objects);
  std::vector<MapPoint> points;
  EXPECT_EQ(layGrid(t, 1.0, points), MAX_MAP_POINTS);
  EXPECT_EQ(points.back().area, 0);
}

}  // namespace
}  // namespace tav
