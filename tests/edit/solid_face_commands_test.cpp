// Extrude, Rotate, Dismantle and Assemble Solid, the face commands, groups
// and audience areas on room faces, driven as a user drives them.
#include <gtest/gtest.h>

#include <cmath>

#include "edit/edit_limits.h"
#include "edit/figures.h"
#include "edit_session.h"
#include "materials/project_materials.h"
#include "support/edit_objects.h"

namespace tav::edittest {
namespace {

TEST(ExtrudeCommand, SquareBecomesABoxAndTheLimitStopsTheRest) {
  EditSession s;
  s.add(makeSquare(0, 0, 4));
  // 2 × 2701 nodes are too many for an extrusion.
  ModelObject* line = s.add(test::longPolyline(2701, 10, 0.001f));
  s.menu(CMD_ROOM_EXTRUDE);
  s.check([&] { EXPECT_EQ(s.prompt(), "EXTRUDE >Select Objects"); });
  s.clickAt(0, 2);
  s.clickAt(11, 0);
  s.enter();
  s.clickAt(0, 0);
  s.typePoint(0, 0, 3, false);  // 3 m up from the base point
  s.run();
  EXPECT_EQ(s.messages(), std::vector<std::string>{"Object too big for extrusion"});
  ASSERT_EQ(s.objects().countObjects(), 2u);
  EXPECT_NEAR(signedVolume(*s.objects().head()), 48.0, 1e-4);
  EXPECT_EQ(s.objects().head()->next, line);  // the big one is untouched
}

// A 1 × 1 square standing in the XZ plane from x = 1 to 2.
std::unique_ptr<ModelObject> profile() {
  return makeFace({{1, 0, 0}, {2, 0, 0}, {2, 0, 1}, {1, 0, 1}});
}

void rotateProfile(EditSession& s, const char* angle, const char* segments) {
  s.menu(CMD_ROOM_ROTATE);
  s.clickAt(1.5, 0);
  s.enter();
  s.clickAt(0, 0);
  s.platform.answerInputLine(std::string(angle));
  s.platform.answerInputLine(std::string(segments));
}

TEST(RotateCommand, TypedThreeSixtyAgainstThreeSixtyPointZero) {
  // "360" typed is a full turn (a ring without end faces), "360.0" is not.
  for (auto [angle, faces] : {std::pair{"360", 144u}, std::pair{"360.0", 146u}}) {
    EditSession s;
    s.add(profile());
    rotateProfile(s, angle, "36");
    s.run();
    ASSERT_EQ(s.platform.inputLines().size(), 2u);
    EXPECT_EQ(s.platform.inputLines()[0].prompt, "Rotation angle [deg] :");
    EXPECT_EQ(s.platform.inputLines()[1].prompt, "Amount of segments :");
    ASSERT_EQ(s.objects().countObjects(), 1u);
    EXPECT_EQ(countClosedFaces(*s.objects().head()), faces) << angle;
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
  s.add(makeSquare(0, 0, 1));
  s.add(makeSquare(1, 0, 1));
  s.menu(CMD_ROOM_ASSEMBLE_SOLID);
  s.clickAt(-1, 2);  // nothing there: a window from here ...
  s.clickAt(3, -1);  // ... to the lower right, touching
  s.enter();
  s.check([&] { EXPECT_EQ(s.objects().countObjects(), 1u); });
  s.menu(CMD_ROOM_DISMANTLE_SOLID);
  s.check([&] { EXPECT_EQ(s.prompt(), "DISMANTLE SOLID > Select Objects"); });
  s.clickAt(0, 0.5);
  s.enter();
  s.run();
  ASSERT_EQ(s.objects().countObjects(), 2u);
  for (const ModelObject& o : s.objects()) EXPECT_FALSE(o.isSelected());
}

TEST(SplitFaceCommand, MessagesForZeroOneAndMoreCrossingsAndTheSplit) {
  EditSession s;
  ModelObject* sq = s.add(makeSquare(10, 0, 4));
  // A U open to +y beside it, crossed four times by the line y = 2.
  ModelObject* u = s.add(makeFace(
      {{0, 0, 0}, {3, 0, 0}, {3, 3, 0}, {2, 3, 0}, {2, 1, 0}, {1, 1, 0}, {1, 3, 0}, {0, 3, 0}}));
  const auto entries = u->indices;
  auto split = [&](Vec3d pick, double x1, double y1, double x2, double y2) {
    s.menu(CMD_ROOM_SPLIT_FACE);
    s.clickAt(pick.x, pick.y);
    s.enter();
    s.clickAt(x1, y1);
    s.clickAt(x2, y2);
  };
  split({12, 2, 0}, 15, -1, 15, 5);
  split({12, 2, 0}, 11, 1, 11, 5);
  split({0.5, 0.5, 0}, -1, 2, 4, 2);
  split({12, 2, 0}, 11, -1, 11, 5);
  s.run();
  EXPECT_EQ(s.messages(),
            (std::vector<std::string>{"No intersection found, operation cancelled",
                                      "Only 1 intersection found, operation cancelled",
                                      "More than 2 intersections found, operation cancelled"}));
  EXPECT_EQ(countClosedFaces(*sq), 2u);
  EXPECT_EQ(u->indices, entries);
}

TEST(SplitFaceCommand, NotInThe3DView) {
  EditSession s(VIEW_3D);
  s.add(makeSquare(0, 0, 4));
  s.menu(CMD_ROOM_SPLIT_FACE);
  s.run();
  EXPECT_EQ(s.messages(), std::vector<std::string>{"Can\u00B4t calculate intersection in 3D-view"});
}

TEST(FaceCommands, InsertNodesAndDeleteFace) {
  EditSession s;
  ModelObject* sq = s.add(makeSquare(0, 0, 4));
  s.menu(CMD_ROOM_INSERT_NODES);
  s.clickAt(0, 2);
  s.enter();
  s.clickAt(2, -1);
  s.clickAt(2, 5);
  // Deleting the only face deletes the object and frees its material.
  const int slot = addMaterialToProject(s.project().materials,
                                        test::makeMaterial("Glass", test::uniformAlpha(0)));
  ASSERT_GT(slot, 0);
  ModelObject* other = s.add(makeSquare(10, 0, 2));
  s.check([&] {
    EXPECT_EQ(sq->nodeCount(), 6u);
    sq->indices[1].ref = static_cast<std::uint16_t>(slot);
  });
  s.menu(CMD_ROOM_DELETE_FACE);
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
  // Where the markers go is the grouping's own test.
  for (float x : {0.0f, 2.0f, 4.0f, 6.0f}) s.add(makeSquare(x, 0, 1));
  s.command(CMD_ROOM_BUILD_GROUP);
  s.check([&] { EXPECT_EQ(s.prompt(), "BUILD GROUP > Select Objects"); });
  s.clickAt(4, 0.5);
  s.clickAt(0, 0.5);
  s.clickAt(6, 0.5);
  s.enter();
  s.check([&] { EXPECT_EQ(s.objects().countObjects(), 6u); });

  // Picking one member takes the group; splitting removes the markers only.
  s.command(CMD_ROOM_SPLIT_GROUP);
  s.clickAt(6, 0.5);
  s.enter();
  s.run();
  EXPECT_EQ(s.objects().countObjects(), 4u);
}

TEST(BuildOntopRoomFaces, HeightPromptRefusedHeightAndFeet) {
  EditSession s;
  // A 10 × 20 m floor rising 5 m towards +y.
  ModelObject* floor = s.add(makeFace({{0, 0, 0}, {10, 0, 0}, {10, 20, 5}, {0, 20, 5}}));
  // Which heights are refused is the height parser's test.
  s.platform.answerInputLine(std::string("10.5"));
  s.menu(CMD_BUILD_ONTOP_FACES);
  s.platform.answerInputLine(std::nullopt);  // cancelled
  s.menu(CMD_BUILD_ONTOP_FACES);
  s.platform.answerInputLine(std::string("1,2"));
  s.menu(CMD_BUILD_ONTOP_FACES);
  s.check([&] { EXPECT_EQ(s.prompt(), "AUDIENCE AREAS ONTOP ROOM FACES  > Select Face"); });
  s.clickAt(5, 10);
  s.enter();  // confirms the face
  s.enter();  // no further face: the command ends
  s.check([&] {
    EXPECT_EQ(s.messages(), std::vector<std::string>{"Invalid entry !"});
    ASSERT_EQ(s.objects().countObjects(), 2u);
    EXPECT_FLOAT_EQ(s.objects().head()->nodes.at(2).z, floor->nodes[2].z + 1.2f);
    EXPECT_TRUE(s.project().modified);
    s.shell.session().units.feet = true;
  });
  s.platform.answerInputLine(std::string("4"));
  s.menu(CMD_BUILD_ONTOP_FACES);
  s.clickAt(5, 1);
  s.enter();
  s.enter();
  s.run();
  ASSERT_EQ(s.platform.inputLines().size(), 4u);
  EXPECT_EQ(s.platform.inputLines()[0].prompt, "Height above room-face ( 0.0 .. 10.0 )");
  EXPECT_EQ(s.platform.inputLines()[0].maxLength, 21);
  ASSERT_EQ(s.objects().countObjects(), 3u);
  EXPECT_NEAR(s.objects().head()->nodes[0].z, 1.219, 5e-4);
}

}  // namespace
}  // namespace tav::edittest
