// Delete, Move, Copy, Mirror, Turn, Scale and Move Nodes as a user runs
// them: selection by clicks, base and offset points, Escape.
#include <gtest/gtest.h>

#include "edit/edit_geometry.h"
#include "edit_session.h"
#include "materials/project_materials.h"
#include "support/edit_objects.h"
#include "support/near.h"

namespace tav::edittest {
namespace {

TEST(MoveCommand, EscapeLeavesEverythingWhereItWasAndAPointMoves) {
  EditSession s;
  ModelObject* sq = s.add(makeSquare(0, 0, 4));
  ModelObject* other = s.add(makeSquare(10, 0, 2));
  const std::vector<Node> before = sq->nodes;
  s.menu(CMD_ROOM_MOVE);
  s.check([&] { EXPECT_EQ(s.prompt(), "MOVE > Select Objects"); });
  s.clickAt(0, 2);  // the left edge
  s.enter();
  s.check([&] { EXPECT_EQ(s.prompt(), "MOVE > Basepoint :"); });
  s.clickAt(0, 0);
  s.check([&] { EXPECT_EQ(s.prompt(), "MOVE > Offset-point :"); });
  // The objects are dragged along, then Escape.
  s.platform.pushMouseMove(s.shell.pixelOf({5, 5, 0}));
  s.platform.pushMouseMove(s.shell.pixelOf({7, 7, 0}));
  s.escape();
  s.check([&] {
    EXPECT_EQ(sq->nodes, before);
    EXPECT_FALSE(s.project().modified);
  });
  s.menu(CMD_ROOM_MOVE);
  s.clickAt(0, 2);
  s.enter();
  s.clickAt(0, 0);
  s.clickAt(-3, 1.5);
  s.run();
  EXPECT_EQ(sq->nodes[2], (Node{1, 5.5f, 0}));
  EXPECT_EQ(other->nodes[0], (Node{10, 0, 0}));
  EXPECT_FALSE(sq->isSelected());
  EXPECT_TRUE(s.project().modified);
}

TEST(CopyCommand, CopiesAtTheHeadAndEscapeDeletesThem) {
  EditSession s;
  ModelObject* sq = s.add(makeSquare(0, 0, 2));
  sq->flags = 0;
  s.menu(CMD_ROOM_COPY);
  s.clickAt(0, 1);
  s.enter();
  s.clickAt(0, 0);
  s.escape();
  s.check([&] { EXPECT_EQ(s.objects().countObjects(), 1u); });
  s.menu(CMD_ROOM_COPY);
  s.clickAt(0, 1);
  s.enter();
  s.clickAt(0, 0);
  s.clickAt(5, 0);
  s.run();
  ASSERT_EQ(s.objects().countObjects(), 2u);
  const ModelObject& copy = *s.objects().head();
  EXPECT_NE(&copy, sq);
  EXPECT_EQ(copy.nodes[0], (Node{5, 0, 0}));
  EXPECT_EQ(copy.flags, OF_CREATED);  // selected while dragged, deselected at the end
  EXPECT_EQ(sq->nodes[0], (Node{0, 0, 0}));
}

TEST(CopyCommand, MoreThanAMegabyteIsRefused) {
  EditSession s;
  // 70 000 nodes and entries on a 1 m line: 48 + 12 n + 4 n bytes > 1 MiB.
  s.add(test::longPolyline(70000, 0, 1.0f / 70000));
  s.menu(CMD_ROOM_COPY);
  s.clickAt(0.5, 0);
  s.enter();
  s.run();
  EXPECT_EQ(s.messages(), std::vector<std::string>{"ERROR : Insufficient memory"});
  EXPECT_EQ(s.objects().countObjects(), 1u);
}

TEST(MirrorCommand, CopiesAreReflectedAndKeepTheirFrontSide) {
  EditSession s;
  ModelObject* sq = s.add(makeSquare(1, 0, 2, 3));
  const Vec3d front = faceAreaVector(*sq, 0);
  s.menu(CMD_ROOM_MIRROR);
  s.clickAt(1, 1);
  s.enter();
  s.check([&] { EXPECT_EQ(s.prompt(), "MIRROR > Basepoint :"); });
  s.clickAt(0, 0);
  s.clickAt(0, 5);  // the y axis
  // Escape after the base point deletes the copies.
  s.menu(CMD_ROOM_MIRROR);
  s.clickAt(1, 1);
  s.enter();
  s.clickAt(0, 0);
  s.escape();
  s.run();
  ASSERT_EQ(s.objects().countObjects(), 2u);
  const ModelObject& m = *s.objects().head();
  EXPECT_EQ(m.flags, OF_CREATED);
  EXPECT_EQ(m.nodes[0], (Node{-1, 0, 3}));
  // A reflection turns the face over; inverting it turns it back.
  EXPECT_NEAR(faceAreaVector(m, 0).z, front.z, 1e-9);
  EXPECT_EQ(sq->nodes[0], (Node{1, 0, 3}));  // the source stays
}

TEST(TurnAndScaleCommands, AngleAndFactorsAboutTheBasePoint) {
  EditSession s;
  ModelObject* o = s.add(makeFace({{1, 0, 0}, {2, 0, 0}, {2, 1, 0}}));
  ModelObject* p = s.add(makeFace({{3, 5, 7}, {3, 6, 7}, {4, 6, 7}}));
  s.menu(CMD_ROOM_TURN);
  s.clickAt(1.5, 0);
  s.enter();
  s.clickAt(0, 0);
  s.platform.answerInputLine("90");
  s.menu(CMD_ROOM_SCALE);
  s.clickAt(3, 5.5);
  s.enter();
  s.clickAt(1, 0);
  // The factors take a decimal comma as well as a point.
  s.platform.scriptDialog("Factors X,Y,Z :",
                          {DialogStep::check([&](DialogControls& c) {
                             EXPECT_EQ(s.prompt(), "SCALE > Factors X,Y,Z :");
                             EXPECT_EQ(c.text(POINT_FIELD_X), "1");
                           }),
                           DialogStep::setText(POINT_FIELD_X, "2"),
                           DialogStep::setText(POINT_FIELD_Y, "0,5"), DialogStep::click(DLG_OK)});
  s.run();
  ASSERT_EQ(s.platform.inputLines().size(), 1u);
  EXPECT_EQ(s.platform.inputLines()[0].prompt, "Angle [deg] : ");
  EXPECT_EQ(s.platform.inputLines()[0].text, "0");
  EXPECT_TRUE(tavtest::near(o->nodes[2], {-1, 2, 0}));
  EXPECT_EQ(p->nodes[2], (Node{7, 3, 7}));
}

TEST(DeleteCommand, RemovesTheSelectionAndFreesUnusedMaterials) {
  EditSession s;
  const int slot = addMaterialToProject(s.project().materials,
                                        test::makeMaterial("Wood", test::uniformAlpha(0)));
  ASSERT_GT(slot, 0);
  ModelObject* a = s.add(makeSquare(0, 0, 2));
  a->indices[1].ref = static_cast<std::uint16_t>(slot);
  s.add(makeSquare(5, 0, 2));
  s.menu(CMD_ROOM_DELETE);
  s.check([&] { EXPECT_EQ(s.prompt(), "DELETE > Select Objects"); });
  s.clickAt(0, 1);
  s.enter();
  s.run();
  ASSERT_EQ(s.objects().countObjects(), 1u);
  EXPECT_EQ(s.objects().head()->nodes[0], (Node{5, 0, 0}));
  EXPECT_EQ(s.project().materials.slots[slot].name[0], '\0');
}

TEST(MoveNodesCommand, PickedNodeFollowsAndMarkersReturnToTheirState) {
  EditSession s;
  ModelObject* sq = s.add(makeSquare(0, 0, 4));
  ModelObject* other = s.add(makeSquare(0, 0, 4, 0, LAYER_AUX));
  // Escape after the nodes were dragged puts them back.
  s.menu(CMD_ROOM_MOVE_NODES);
  s.clickAt(4, 4);
  s.enter();
  s.clickAt(4, 4);
  s.platform.pushMouseMove(s.shell.pixelOf({9, 9, 0}));
  s.escape();
  s.check([&] {
    EXPECT_EQ(sq->nodes[2], (Node{4, 4, 0}));
    EXPECT_FALSE(s.shell.view().nodeMarkers);
  });
  s.menu(CMD_ROOM_MOVE_NODES);
  s.check([&] { EXPECT_TRUE(s.shell.view().nodeMarkers); });
  s.clickAt(4, 4);
  s.enter();
  s.clickAt(4, 4);
  s.clickAt(6, 5);
  s.run();
  EXPECT_EQ(sq->nodes[2], (Node{6, 5, 0}));
  EXPECT_EQ(sq->nodes[1], (Node{4, 0, 0}));
  EXPECT_EQ(other->nodes[2], (Node{4, 4, 0}));  // another layer
  EXPECT_FALSE(s.shell.view().nodeMarkers);
  EXPECT_TRUE(s.shell.nodeList().empty());
}

}  // namespace
}  // namespace tav::edittest
