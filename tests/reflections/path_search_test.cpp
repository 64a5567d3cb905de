// The reflection search: the order split, the ray tables, the path counts of
// a shoebox, and the fast search (hierarchy, windows, threads) against the
// plain one.
#include "reflections/path_search.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "model/object_list.h"
#include "reflections/face_table.h"
#include "reflections/search_rooms.h"

namespace tav {
namespace {

struct SplitCase {
  const char* name;
  std::size_t faces;
  int order;
  int imageOrder, rayStart, maxOrder;
};

class OrderSplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(OrderSplitTest, SplitsAsTheGrowthLimitSays) {
  const SplitCase& c = GetParam();
  const OrderSplit s = splitOrders(c.faces, c.order);
  EXPECT_EQ(s.maxOrder, c.maxOrder);
  EXPECT_EQ(s.imageOrder, c.imageOrder);
  EXPECT_EQ(s.rayStart, c.rayStart);
}

INSTANTIATE_TEST_SUITE_P(Cases, OrderSplitTest,
                         ::testing::Values(SplitCase{"OrderOneNoRays", 40, 1, 1, 0, 1},
                                           SplitCase{"OrderTwoImagesOnly", 2000, 2, 2, 2, 2},
                                           // 39^6 = 3.5e9 stays, 39^7 = 1.4e11 goes to rays.
                                           SplitCase{"FortyFacesSwitchAtSeven", 40, 10, 6, 7, 10},
                                           SplitCase{"ZeroClampedToOne", 6, 0, 1, 0, 1},
                                           // 5^14 = 6.1e9 stays, 5^15 = 3.1e10 goes to rays.
                                           SplitCase{"NinetyNineClampedToForty", 6, 99, 14, 15, 40},
                                           // 1999^3 = 7.988e9 is just below the limit.
                                           SplitCase{"HallOfTwoThousandAtThree", 2000, 3, 3, 3, 3},
                                           SplitCase{"HallOfTwoThousandAndTwoAtThree", 2002, 3, 2,
                                                     3, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RayDirections, TablesGiveTheSearchAndFreePathRays) {
  const auto all = rayDirections();
  EXPECT_EQ(all.size(), SEARCH_RAY_COUNT);
  EXPECT_EQ(rayDirections(16, 16).size(), FREE_PATH_RAY_COUNT);
  for (const Vec3d& d : all) ASSERT_NEAR(length(d), 1000.0, 1e-3);
  // Ring 100 lies in the y-z plane; ring 1 needs 63 steps of 7 (1/sin 0.9°
  // = 63.66, truncated).
  EXPECT_NEAR(all.front().x, 1000 * std::cos(2 * 3.14159265358979 / 400), 1e-3);
}

// The faces of a list (one material) in reflection order.
FaceTable reflectionTable(ObjectList& list) {
  FaceTable t;
  buildFaceTable(list, 1, t);
  sortFacesForReflections(t);
  return t;
}

std::vector<std::uint8_t> search(const FaceTable& t, const std::vector<Vec3d>& sources,
                                 const Vec3d& target, const OrderSplit& split, bool plain,
                                 std::size_t* paths = nullptr) {
  test::MemorySink sink;
  SearchOptions options;
  options.plain = plain;
  const SearchOutcome out = searchPaths(t, sources, target, split, sink, options);
  if (paths) *paths = out.paths;
  return sink.bytes;
}

// Mirrors the source in the faces of a path in turn: the path's length is
// the distance of that image from the target.
Vec3d imageOf(const FaceTable& t, Vec3d s, const PathRecord& r) {
  for (std::size_t i = 1; i + 1 < r.entries.size(); ++i) {
    const FaceRecord& f = t[static_cast<std::size_t>(r.entries[i].id)];
    s = s + f.normal() * (dot(f.p0() - s, f.normal()) / f.halfNormSq);
  }
  return s;
}

TEST(SearchPaths, ShoeboxHasEveryImageUpToTheOrder) {
  ObjectList list;
  test::addShoebox(list, {10.67, 7.5, 3.5});
  const FaceTable t = reflectionTable(list);
  ASSERT_EQ(t.size(), 6u);
  const Vec3d source{2.3, 1.7, 1.2}, target{7.9, 5.1, 1.6};
  for (const auto& [order, expected] :
       std::vector<std::pair<int, std::size_t>>{{2, 25}, {4, 129}, {6, 377}, {8, 833}}) {
    test::MemorySink sink;
    const SearchOutcome out =
        searchPaths(t, std::vector<Vec3d>{source}, target, splitOrders(t.size(), order), sink);
    EXPECT_EQ(out.paths, expected) << "order " << order;
    const auto records = test::parseRecords(sink.bytes);
    EXPECT_EQ(records.size(), expected);
    for (const PathRecord& r : records) {
      double len = 0;
      for (std::size_t i = 1; i < r.entries.size(); ++i)
        len += length(toVec(r.entries[i].point) - toVec(r.entries[i - 1].point));
      ASSERT_NEAR(len, length(imageOf(t, source, r) - target), 1e-3);
    }
  }
}

TEST(SearchPaths, PathOverASharedEdgeIsFoundOnce) {
  // The floor in two halves meeting at x = 5, where the first-order floor
  // reflection lands exactly on their common edge.
  ObjectList whole, split;
  test::addShoebox(whole, {10, 6, 3});
  test::BoxOptions noFloor;
  noFloor.missing = {test::FLOOR};
  test::addBox(split, {0, 0, 0}, {10, 6, 3}, noFloor);
  test::addFace(split, {{0, 0, 0}, {5, 0, 0}, {5, 6, 0}, {0, 6, 0}});
  test::addFace(split, {{5, 0, 0}, {10, 0, 0}, {10, 6, 0}, {5, 6, 0}});
  const std::vector<Vec3d> src{{3, 2, 1.5}};
  const Vec3d target{7, 2, 1.5};
  for (ObjectList* l : {&whole, &split}) {
    const FaceTable t = reflectionTable(*l);
    std::size_t paths = 0;
    search(t, src, target, splitOrders(t.size(), 1), false, &paths);
    EXPECT_EQ(paths, 7u) << t.size() << " faces";
  }
}

TEST(SearchPaths, AWallBetweenSourceAndTargetBlocksTheDirectPath) {
  // The inner wall at x = 6 (y 0..5) stands between (3, 2, 1.5) and
  // (9.5, 2, 1.5). It blocks the direct path (parallel to x, so the crossing
  // lies ahead on x alone) and the reflections off the
  // floor, the ceiling, the walls y = 0, x = 0 and x = 12; only the y = 8
  // wall's reflection passes beyond its end at y = 5.
  ObjectList list;
  test::addInnerWallRoom(list);
  const FaceTable t = reflectionTable(list);
  test::MemorySink sink;
  searchPaths(t, std::vector<Vec3d>{{3, 2, 1.5}}, {9.5, 2, 1.5}, splitOrders(t.size(), 1), sink);
  const auto paths = test::parseRecords(sink.bytes);
  ASSERT_EQ(paths.size(), 1u);
  EXPECT_EQ(paths[0].reflections(), 1u);
  EXPECT_NEAR(paths[0].entries[1].point[1], 8.0f, 1e-5);
}

// The fast search writes exactly the bytes of the plain one, for sources and
// targets inside the box [0, size] that holds the room.
void expectSameAsPlain(ObjectList& list, const Vec3d& size, int order, int targets, unsigned seed) {
  const FaceTable t = reflectionTable(list);
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> u(0.02, 0.98);
  auto point = [&] { return Vec3d{u(rng) * size.x, u(rng) * size.y, u(rng) * size.z}; };
  std::size_t total = 0;
  for (int i = 0; i < targets; ++i) {
    const std::vector<Vec3d> sources{point(), point()};
    const Vec3d target = point();
    std::size_t paths = 0;
    const auto plain = search(t, sources, target, splitOrders(t.size(), order), true, &paths);
    const auto fast = search(t, sources, target, splitOrders(t.size(), order), false);
    ASSERT_EQ(fast, plain) << "target " << i;
    total += paths;
  }
  EXPECT_GT(total, static_cast<std::size_t>(targets) * 4);
}

TEST(SearchPaths, LRoomAndInnerWallRoomMatchThePlainSearch) {
  ObjectList lRoom, innerWall;
  test::addLRoom(lRoom);
  test::addInnerWallRoom(innerWall);
  expectSameAsPlain(lRoom, {8, 7, 3}, 5, 40, 11);
  expectSameAsPlain(innerWall, {12, 8, 4}, 4, 40, 12);
}

TEST(SearchPaths, RaysMatchThePlainSearchAndFindTheImagePaths) {
  // Images to order 1, rays from order 2: the rays find second-order paths
  // of the shoebox, each one an image-source path.
  ObjectList list;
  test::addShoebox(list, {10.67, 7.5, 3.5});
  const FaceTable t = reflectionTable(list);
  OrderSplit split{2, 1, 2};
  const std::vector<Vec3d> src{{2.3, 1.7, 1.2}};
  const Vec3d target{7.9, 5.1, 1.6};
  const auto fast = search(t, src, target, split, false);
  EXPECT_EQ(fast, search(t, src, target, split, true));
  test::MemorySink exact;
  searchPaths(t, src, target, splitOrders(t.size(), 2), exact);
  std::set<std::vector<std::int16_t>> imagePaths;
  for (const PathRecord& r : test::parseRecords(exact.bytes)) {
    std::vector<std::int16_t> ids;
    for (const PathEntry& e : r.entries) ids.push_back(e.id);
    imagePaths.insert(ids);
  }
  std::size_t second = 0;
  for (const PathRecord& r : test::parseRecords(fast)) {
    if (r.reflections() < 2) continue;
    ++second;
    EXPECT_EQ(r.reflections(), 2u);
    std::vector<std::int16_t> ids;
    for (const PathEntry& e : r.entries) ids.push_back(e.id);
    EXPECT_TRUE(imagePaths.count(ids));
  }
  EXPECT_GT(second, 3u);
}

}  // namespace
}  // namespace tav
