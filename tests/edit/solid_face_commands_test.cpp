// Extrude, Rotate, Dismantle and Assemble Solid, the face commands, groups
// and audience areas on room faces, driven as a user drives them.
#include <gtest/gtest.h>

#include <cmath>

#include "edit/edit_limits.h"
#include "edit/figures.h"
#include "edit_session.h"
#include "materials/project_materials.h"

namespace tav::edittest {
namespace {

TEST(ExtrudeCommand, SquareBecomesABoxAndTheLimitStopsTheRest) {
  EditSession s;
  ModelObject* sq = s.add(square(0, 0, 4));
  // 2 × 2701 nodes are too many for an extrusion.
  auto big = std::make_unique<ModelObject>();
  big->shape = SHAPE_POLYLINE;
  for (std::uint32_t i = 0; i < 2701; ++i) {
    big->nodes.push_back({10.0f + float(i) / 1000.0f, 0, 0});
    big->indices.push_back({i == 0 ? IDX_START : IDX_LINE, std::uint16_t(i)});
  }
  ModelObject* line = s.add(std::move(big));
  s.menu(2307);
  s.check([&] { EXPECT_EQ(s.prompt(), "EXTRUDE >Select Objects"); });
  s.clickAt(0, 2);
  s.clickAt(11, 0);
  s.enter();
  s.clickAt(0, 0);
  s.typePoint(false, 0, 0, 3);  // 3 m up from the base point
  s.run();
  EXPECT_EQ(s.messages(), std::vector<std::string>{"Object too big for extrusion"});
  ASSERT_EQ(s.objects().countObjects(), 2u);
  const ModelObject& box = *s.objects().head();
  EXPECT_NE(&box, sq);
  EXPECT_EQ(box.shape, SHAPE_SOLID);
  EXPECT_EQ(box.nodeCount(), 8u);
  EXPECT_EQ(countClosedFaces(box), 6u);
  EXPECT_NEAR(signedVolume(box), 48.0, 1e-4);
  EXPECT_EQ(box.next, line);  // the extruded one stays, the big one is untouched
  EXPECT_EQ(line->nodeCount(), 2701u);
  EXPECT_EQ(line->shape, SHAPE_POLYLINE);
}

// A 1 × 1 square standing in the XZ plane from x = 1 to 2.
std::unique_ptr<ModelObject> profile() {
  return face({{1, 0, 0}, {2, 0, 0}, {2, 0, 1}, {1, 0, 1}});
}

void rotateProfile(EditSession& s, const char* angle, const char* segments) {
  s.menu(2308);
  s.clickAt(1.5, 0);
  s.enter();
  s.clickAt(0, 0);
  s.platform.answerInputLine(std::string(angle));
  s.platform.answerInputLine(std::string(segments));
}

TEST(RotateCommand, TypedThreeSixtyAgainstThreeSixtyPointZero) {
  {
    EditSession s;
    s.add(profile());
    rotateProfile(s, "360", "36");
    s.run();
    ASSERT_EQ(s.platform.inputLines().size(), 2u);
    EXPECT_EQ(s.platform.inputLines()[0].prompt, "Rotation angle [deg] :");
    EXPECT_EQ(s.platform.inputLines()[0].text, "360");
    EXPECT_EQ(s.platform.inputLines()[1].prompt, "Amount of segments :");
    EXPECT_EQ(s.platform.inputLines()[1].text, " 36");
    ASSERT_EQ(s.objects().countObjects(), 1u);
    const ModelObject& ring = *s.objects().head();
    EXPECT_EQ(ring.shape, SHAPE_SOLID);
    EXPECT_EQ(ring.nodeCount(), 144u);
    EXPECT_EQ(countClosedFaces(ring), 144u);
    EXPECT_GT(signedVolume(ring), 0.0);
  }
  {
    EditSession s;
    s.add(profile());
    rotateProfile(s, "360.0", "36");
    s.run();
    ASSERT_EQ(s.objects().countObjects(), 1u);
    EXPECT_EQ(s.objects().head()->nodeCount(), 144u);
    EXPECT_EQ(countClosedFaces(*s.objects().head()), 146u);
  }
}

TEST(RotateCommand, TooManySegmentsAndNoSegments) {
  EditSession s;
  ModelObject* p = s.add(profile());
  rotateProfile(s, "90", "2000");
  rotateProfile(s, "90", "0");
  s.run();
  EXPECT_EQ(s.messages(),
            (std::vector<std::string>{"Object too big or too many segments", MSG_INVALID_ENTRY}));
  EXPECT_EQ(s.objects().head(), p);
  EXPECT_EQ(p->shape, SHAPE_FACE);
}

TEST(SolidCommands, AssembleTwoSquaresThenDismantle) {
  EditSession s;
  s.add(square(0, 0, 1));
  s.add(square(1, 0, 1));
  s.menu(2310);
  s.clickAt(-1, 2);  // nothing there: a window from here ...
  s.clickAt(3, -1);  // ... to the lower right, touching
  s.enter();
  s.check([&] {
    ASSERT_EQ(s.objects().countObjects(), 1u);
    ModelObject* solid = s.objects().head();
    EXPECT_EQ(solid->shape, SHAPE_SOLID);
    EXPECT_EQ(solid->nodeCount(), 6u);
    EXPECT_EQ(solid->colour, 0u);
    EXPECT_EQ(countClosedFaces(*solid), 2u);
  });
  s.menu(2309);
  s.check([&] { EXPECT_EQ(s.prompt(), "DISMANTLE SOLID > Select Objects"); });
  s.clickAt(0, 0.5);
  s.enter();
  s.run();
  ASSERT_EQ(s.objects().countObjects(), 2u);
  for (const ModelObject& o : s.objects()) {
    EXPECT_EQ(o.shape, SHAPE_FACE);
    EXPECT_EQ(o.nodeCount(), 4u);
    EXPECT_FALSE(o.isSelected());
  }
}

TEST(SplitFaceCommand, MessagesForZeroAndOneCrossingAndTheSplit) {
  EditSession s;
  ModelObject* sq = s.add(square(0, 0, 4));
  auto split = [&](double x1, double y1, double x2, double y2) {
    s.menu(2313);
    s.clickAt(2, 2);
    s.enter();
    s.clickAt(x1, y1);
    s.clickAt(x2, y2);
  };
  split(5, -1, 5, 5);
  split(1, 1, 1, 5);
  s.check([&] { EXPECT_EQ(countClosedFaces(*sq), 1u); });
  split(1, -1, 1, 5);
  s.run();
  EXPECT_EQ(s.messages(),
            (std::vector<std::string>{"No intersection found, operation cancelled",
                                      "Only 1 intersection found, operation cancelled"}));
  const auto figures = figuresOf(*sq);
  ASSERT_EQ(figures.size(), 2u);
  auto points = [&](const Figure& f) {
    std::vector<Node> out;
    for (auto v : f.vertices) out.push_back(sq->nodes[v]);
    return out;
  };
  EXPECT_EQ(points(figures[0]), (std::vector<Node>{{0, 0, 0}, {1, 0, 0}, {1, 4, 0}, {0, 4, 0}}));
  EXPECT_EQ(points(figures[1]), (std::vector<Node>{{1, 0, 0}, {4, 0, 0}, {4, 4, 0}, {1, 4, 0}}));
  EXPECT_EQ(sq->shape, SHAPE_SOLID);
  EXPECT_EQ(sq->nodeCount(), 6u);
}

TEST(SplitFaceCommand, ALineCrossingMoreThanTwiceIsRefused) {
  EditSession s;
  // A U open to +y, crossed four times by the line y = 2.
  ModelObject* u = s.add(face(
      {{0, 0, 0}, {3, 0, 0}, {3, 3, 0}, {2, 3, 0}, {2, 1, 0}, {1, 1, 0}, {1, 3, 0}, {0, 3, 0}}));
  const auto entries = u->indices;
  s.menu(2313);
  s.clickAt(0.5, 0.5);
  s.enter();
  s.clickAt(-1, 2);
  s.clickAt(4, 2);
  s.run();
  EXPECT_EQ(s.messages(),
            std::vector<std::string>{"More than 2 intersections found, operation cancelled"});
  EXPECT_EQ(u->indices, entries);
}

TEST(SplitFaceCommand, NotInThe3DView) {
  EditSession s(VIEW_3D);
  s.add(square(0, 0, 4));
  s.menu(2313);
  s.run();
  EXPECT_EQ(s.messages(), std::vector<std::string>{"Can\u00B4t calculate intersection in 3D-view"});
}

TEST(FaceCommands, InsertNodesInvertTwiceAndDeleteFace) {
  EditSession s;
  ModelObject* sq = s.add(square(0, 0, 4));
  s.menu(2312);
  s.clickAt(0, 2);
  s.enter();
  s.clickAt(2, -1);
  s.clickAt(2, 5);
  std::vector<IndexEntry> entries;
  s.check([&] {
    // Compaction numbers the nodes in entry order.
    EXPECT_EQ(sq->nodeCount(), 6u);
    EXPECT_EQ(sq->nodes[1], (Node{2, 0, 0}));
    EXPECT_EQ(sq->nodes[4], (Node{2, 4, 0}));
    entries = sq->indices;
  });
  s.menu(2314);
  s.clickAt(1, 1);
  s.enter();
  s.check([&] {
    EXPECT_NE(sq->indices, entries);
    EXPECT_LT(faceAreaVector(*sq, 0).z, 0.0);
  });
  s.menu(2314);
  s.clickAt(1, 1);
  s.enter();
  // Deleting the only face deletes the object and frees its material.
  AbsorberMaterial glass{};
  std::snprintf(glass.name, sizeof glass.name, "%s", "Glass");
  const int slot = addMaterialToProject(s.project().materials, glass);
  ASSERT_GT(slot, 0);
  ModelObject* other = s.add(square(10, 0, 2));
  s.check([&] {
    EXPECT_EQ(sq->indices, entries);
    sq->indices[1].ref = static_cast<std::uint16_t>(slot);
  });
  s.menu(2315);
  s.check([&] { EXPECT_EQ(s.prompt(), "DELETE FACE > Select Face"); });
  s.clickAt(1, 1);
  s.enter();
  s.run();
  EXPECT_EQ(s.objects().countObjects(), 1u);
  EXPECT_EQ(s.objects().head(), other);
  EXPECT_TRUE(s.project().materials.slots[slot].isFree());
}

TEST(GroupCommands, GroupOfThreeAtTheHeadAndSplitAgain) {
  EditSession s;
  ModelObject* a = s.add(square(0, 0, 1));
  ModelObject* b = s.add(square(2, 0, 1));
  ModelObject* c = s.add(square(4, 0, 1));
  ModelObject* d = s.add(square(6, 0, 1));
  s.command(2319);
  s.check([&] { EXPECT_EQ(s.prompt(), "BUILD GROUP > Select Objects"); });
  s.clickAt(4, 0.5);
  s.clickAt(0, 0.5);
  s.clickAt(6, 0.5);
  s.enter();
  s.check([&] {
    ASSERT_EQ(s.objects().countObjects(), 6u);
    EXPECT_EQ(s.objects().objectAt(0)->shape, SHAPE_GROUP_BEGIN);
    EXPECT_EQ(s.objects().objectAt(1), a);
    EXPECT_EQ(s.objects().objectAt(2), c);
    EXPECT_EQ(s.objects().objectAt(3), d);
    EXPECT_EQ(s.objects().objectAt(4)->shape, SHAPE_GROUP_END);
    EXPECT_EQ(s.objects().objectAt(5), b);
  });

  // Picking one member takes the group; splitting removes the markers only.
  s.command(2320);
  s.clickAt(6, 0.5);
  s.enter();
  s.run();
  ASSERT_EQ(s.objects().countObjects(), 4u);
  EXPECT_EQ(s.objects().objectAt(0), a);
  EXPECT_EQ(s.objects().objectAt(3), b);
}

TEST(BuildOntopRoomFaces, AudienceAreaRaisedOverASlopedFloor) {
  EditSession s;
  // A 10 × 20 m floor rising 5 m towards +y.
  ModelObject* floor = s.add(face({{0, 0, 0}, {10, 0, 0}, {10, 20, 5}, {0, 20, 5}}));
  floor->indices[1].ref = 3;
  s.platform.answerInputLine(std::string("1,2"));
  s.menu(2601);
  s.check([&] { EXPECT_EQ(s.prompt(), "AUDIENCE AREAS ONTOP ROOM FACES  > Select Face"); });
  s.clickAt(5, 10);
  s.enter();  // confirms the face
  s.enter();  // no further face: the command ends
  s.run();
  ASSERT_EQ(s.platform.inputLines().size(), 1u);
  EXPECT_EQ(s.platform.inputLines()[0].prompt, "Height above room-face ( 0.0 .. 10.0 )");
  EXPECT_EQ(s.platform.inputLines()[0].maxLength, 21);
  ASSERT_EQ(s.objects().countObjects(), 2u);
  const ModelObject& area = *s.objects().head();
  EXPECT_EQ(area.layer, LAYER_AUDIENCE);
  EXPECT_EQ(area.colour, 21u);
  EXPECT_EQ(area.indices[1], (IndexEntry{IDX_MATERIAL, 0}));
  ASSERT_EQ(area.nodeCount(), 4u);
  for (std::size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(area.nodes[k].x, floor->nodes[k].x);
    EXPECT_EQ(area.nodes[k].y, floor->nodes[k].y);
    EXPECT_FLOAT_EQ(area.nodes[k].z, floor->nodes[k].z + 1.2f);
  }
  EXPECT_TRUE(s.project().modified);
}

TEST(BuildOntopRoomFaces, HeightsOutsideTheRangeOrNotNumbersAndFeet) {
  EditSession s;
  s.add(square(0, 0, 4));
  const std::string refused = "Invalid entry !";
  for (const char* text : {"10.5", "two"}) {
    s.platform.answerInputLine(std::string(text));
    s.menu(2601);
  }
  s.platform.answerInputLine(std::nullopt);  // cancelled
  s.menu(2601);
  s.check([&] {
    EXPECT_EQ(s.messages(), (std::vector<std::string>{refused, refused}));
    EXPECT_EQ(s.objects().countObjects(), 1u);
    s.shell.session().units.feet = true;
  });
  s.platform.answerInputLine(std::string("4"));
  s.menu(2601);
  s.clickAt(2, 2);
  s.enter();
  s.enter();
  s.run();
  ASSERT_EQ(s.objects().countObjects(), 2u);
  EXPECT_NEAR(s.objects().head()->nodes[0].z, 1.219, 5e-4);
}

}  // namespace
}  // namespace tav::edittest
