#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "model/model_object.h"
#include "support/model_builders.h"

namespace tav {
namespace {

using test::makeObject;
using E = IndexEntry;
using Entries = std::vector<IndexEntry>;

constexpr std::uint16_t S = IDX_START, L = IDX_LINE, C = IDX_CLOSE, M = IDX_MATERIAL;

TEST(Compaction, NodesWithinOneMillimetreMerge) {
  // Two triangles sharing an edge whose copies lie 0.5 mm apart, and a third
  // vertex 2 mm from the shared one.
  auto o = makeObject({{0, 0, 0},
                       {1, 0, 0},
                       {0, 1, 0},
                       {1.0005f, 0, 0},  // 0.5 mm from node 1
                       {1, 1, 0},
                       {0, 1.0f, 0.0005f},  // 0.5 mm from node 2
                       {0, 1.002f, 0}},     // 2 mm from node 2
                      {{S, 0}, {M, 4}, {L, 1}, {C, 2}, {S, 3}, {M, 5}, {L, 4}, {L, 5}, {C, 6}},
                      LAYER_ROOM, SHAPE_SOLID);
  ASSERT_TRUE(compactObject(*o));
  // New list in order of first use: 0, 1, 2, then 4 and 6; 3 and 5 merged.
  // The first of a merged pair stays.
  EXPECT_EQ(o->nodes,
            (std::vector<Node>{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, {0, 1.002f, 0}}));
  EXPECT_EQ(o->indices,
            (Entries{{S, 0}, {M, 4}, {L, 1}, {C, 2}, {S, 1}, {M, 5}, {L, 3}, {L, 2}, {C, 4}}));
}

// One object's entries before and after compaction.
struct CleanupCase {
  const char* name;
  std::vector<Node> nodes;
  Entries entries, want;
  std::size_t wantNodes;
};

void PrintTo(const CleanupCase& c, std::ostream* os) { *os << c.name; }

class EntryCleanup : public ::testing::TestWithParam<CleanupCase> {};

TEST_P(EntryCleanup, LeavesAWellFormedProgram) {
  const CleanupCase& c = GetParam();
  auto o = makeObject(c.nodes, c.entries);
  ASSERT_TRUE(compactObject(*o));
  EXPECT_EQ(o->indices, c.want);
  EXPECT_EQ(o->nodeCount(), c.wantNodes);
}

const std::vector<Node> TRIANGLE = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}};
const std::vector<Node> MOVED_PEN = {{5, 5, 0}, {0, 0, 0}, {1, 0, 0}, {1, 1, 0}};

INSTANTIATE_TEST_SUITE_P(
    Compaction, EntryCleanup,
    ::testing::Values(
        // Square a, b, c, d and a again (0.3 mm off): the preceding edge closes.
        CleanupCase{"LastVertexOnTheFirstCloses",
                    {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}, {0.0003f, 0, 0}},
                    {{S, 0}, {M, 7}, {L, 1}, {L, 2}, {L, 3}, {C, 4}},
                    {{S, 0}, {M, 7}, {L, 1}, {L, 2}, {C, 3}},
                    4},
        // a, a (back onto the start), b, b (zero length), c, c (closing on
        // the previous vertex).
        CleanupCase{"RepeatedVerticesVanish",
                    TRIANGLE,
                    {{S, 0}, {M, 1}, {L, 0}, {L, 1}, {L, 1}, {L, 2}, {C, 2}},
                    {{S, 0}, {M, 1}, {L, 1}, {C, 2}},
                    3},
        // The first entry is kept; material numbers take no part in merging.
        CleanupCase{"MaterialEntriesStayOnlyBehindAStart",
                    TRIANGLE,
                    {{M, 9}, {S, 0}, {M, 2}, {M, 3}, {L, 1}, {M, 4}, {C, 2}},
                    {{M, 9}, {S, 0}, {M, 2}, {L, 1}, {C, 2}},
                    3},
        // The pen moved to a, then to b: the figure starts at b.
        CleanupCase{"ClosingOnTheStartAfterCollapsedStarts",
                    MOVED_PEN,
                    {{S, 0}, {S, 1}, {M, 0}, {L, 2}, {L, 3}, {C, 1}},
                    {{S, 1}, {M, 0}, {L, 2}, {C, 3}},
                    4},
        // The material entry must not become a close (its number would be
        // read as a node).
        CleanupCase{"EveryVertexOnOnePoint",
                    {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
                    {{S, 0}, {M, 5}, {L, 1}, {C, 2}},
                    {{S, 0}, {M, 5}, {C, 0}},
                    1},
        CleanupCase{"BadNodeNumbersAndUnknownCodesAreDropped",
                    TRIANGLE,
                    {{S, 0}, {M, 0}, {L, 1}, {L, 40}, {7, 2}, {L, 2}, {C, 65535}},
                    {{S, 0}, {M, 0}, {L, 1}, {L, 2}},
                    3},
        CleanupCase{"NoEntriesKeepNoNodes", {{0, 0, 0}, {1, 1, 1}}, {}, {}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Compaction, MergingMatchesAnInOrderSearchOfTheNewList) {
  // Points on a 0.6 mm lattice around the origin: neighbours along an axis
  // (0.6 mm) and across a face (0.85 mm) merge, across a cube (1.04 mm) they
  // do not. Plus points too far out to be filed, and NaN.
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> step(-20, 20);
  std::vector<Node> nodes;
  for (int k = 0; k < 4000; ++k)
    nodes.push_back({step(random) * 0.0006f, step(random) * 0.0006f, step(random) * 0.0006f});
  nodes.push_back({3e9f, 0, 0});
  nodes.push_back({3e9f, 0, 0});
  nodes.push_back({std::nanf(""), 0, 0});
  nodes.push_back({std::nanf(""), 0, 0});

  // The rule itself: the first node of the new list within 1 mm, else a new one.
  std::vector<Node> want;
  std::vector<std::uint16_t> wantRefs;
  for (const Node& p : nodes) {
    std::size_t found = want.size();
    for (std::size_t k = 0; k < want.size(); ++k) {
      const double dx = double(want[k].x) - p.x, dy = double(want[k].y) - p.y,
                   dz = double(want[k].z) - p.z;
      if (dx * dx + dy * dy + dz * dz < 1e-6) {
        found = k;
        break;
      }
    }
    if (found == want.size()) want.push_back(p);
    wantRefs.push_back(static_cast<std::uint16_t>(found));
  }

  // Start + material pairs: cleanup keeps every one of them.
  Entries entries;
  for (std::uint16_t k = 0; k < nodes.size(); ++k) {
    entries.push_back({S, k});
    entries.push_back({M, 0});
  }
  auto o = makeObject(nodes, entries, LAYER_AUX, SHAPE_POLYLINE);
  ASSERT_TRUE(compactObject(*o));
  ASSERT_EQ(o->nodeCount(), want.size());
  for (std::size_t k = 0; k < want.size(); ++k)
    EXPECT_EQ(std::memcmp(&o->nodes[k], &want[k], sizeof(Node)), 0) << k;  // NaN-safe
  ASSERT_EQ(o->indexCount(), entries.size());
  for (std::size_t k = 0; k < nodes.size(); ++k) EXPECT_EQ(o->indices[2 * k].ref, wantRefs[k]) << k;
  // The lattice makes both outcomes common.
  EXPECT_GT(want.size(), 1000u);
  EXPECT_LT(want.size(), 3500u);
}

TEST(Compaction, ObjectsBeyondTheScratchBufferAreLeftUnchanged) {
  // At the node limit (entries use only a few nodes, which keeps this quick).
  std::vector<Node> nodes(MAX_OBJECT_NODES);
  for (std::size_t k = 0; k < nodes.size(); ++k) nodes[k] = {static_cast<float>(k), 0, 0};
  auto atLimit = makeObject(nodes, {{S, 0}, {L, 21844}});
  ASSERT_TRUE(compactObject(*atLimit));
  EXPECT_EQ(atLimit->nodeCount(), 2u);

  nodes.push_back({0, 0, 0});
  auto tooMany = makeObject(nodes, {{S, 0}, {L, 1}, {L, 1}});
  EXPECT_FALSE(compactObject(*tooMany));
  EXPECT_EQ(tooMany->indexCount(), 3u);

  Entries entries(MAX_OBJECT_ENTRIES + 1, E{L, 1});
  entries[0] = {S, 0};
  auto tooLong = makeObject({{0, 0, 0}, {1, 0, 0}}, entries);
  EXPECT_FALSE(compactObject(*tooLong));
  EXPECT_EQ(tooLong->indexCount(), MAX_OBJECT_ENTRIES + 1);

  entries.pop_back();  // exactly at the entry limit
  auto longest = makeObject({{0, 0, 0}, {1, 0, 0}}, entries);
  ASSERT_TRUE(compactObject(*longest));
  EXPECT_EQ(longest->indices, (Entries{{S, 0}, {L, 1}}));
}

}  // namespace
}  // namespace tav
