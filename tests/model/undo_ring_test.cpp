#include "model/undo_ring.h"

#include <gtest/gtest.h>

#include <memory>

#include "model/le_io.h"
#include "support/model_builders.h"

namespace tav {
namespace {

using test::makeMarker;
using test::makeObject;
using test::RecordingObserver;

// An editing command as the dispatcher runs it: snapshot first, then the
// change. Each edit adds one object tagged with its number.
void edit(UndoRing& ring, Project& p, std::uint32_t tag) {
  ASSERT_TRUE(ring.saveUndoState(p));
  auto o = makeMarker(SHAPE_FACE, LAYER_ROOM);
  o->colour = tag;
  p.objects.insertAtHead(std::move(o));
}

std::unique_ptr<SpeakerType> speakerType(const char* name, float sensitivity) {
  auto t = std::make_unique<SpeakerType>();
  setFixedString(t->name, name);
  t->sensitivity.fill(sensitivity);
  t->grids[3].at(36, 71) = 200;
  return t;
}

TEST(UndoRing, NineEditsLeaveSevenUndos) {
  Project p;
  UndoRing ring;
  for (std::uint32_t k = 1; k <= 9; ++k) edit(ring, p, k);

  // The first undo stores the present state in the eighth slot, which
  // overwrites the oldest of the remaining ones.
  for (std::size_t expected = 8; expected >= 2; --expected) {
    ASSERT_TRUE(ring.undo(p)) << expected;
    EXPECT_EQ(p.objects.countObjects(), expected);
    EXPECT_EQ(p.objects.head()->colour, expected);
  }
  EXPECT_FALSE(ring.canUndo());
  EXPECT_FALSE(ring.undo(p));

  // Everything undone can be redone, up to the present state.
  for (std::size_t expected = 3; expected <= 9; ++expected) {
    ASSERT_TRUE(ring.redo(p)) << expected;
    EXPECT_EQ(p.objects.countObjects(), expected);
  }
  EXPECT_FALSE(ring.canRedo());
}

TEST(UndoRing, ANewEditAfterUndoDropsTheRedoChainAndClearDropsAll) {
  Project p;
  UndoRing ring;
  for (std::uint32_t k = 1; k <= 3; ++k) edit(ring, p, k);
  ASSERT_TRUE(ring.undo(p));
  ASSERT_TRUE(ring.undo(p));
  edit(ring, p, 10);  // 1 object + the new one
  EXPECT_FALSE(ring.redo(p));

  // Undo goes back to the state the new edit started from, and redo to the
  // new edit, never to the dropped states with three objects.
  ASSERT_TRUE(ring.undo(p));
  EXPECT_EQ(p.objects.countObjects(), 1u);
  ASSERT_TRUE(ring.redo(p));
  EXPECT_EQ(p.objects.countObjects(), 2u);
  EXPECT_EQ(p.objects.head()->colour, 10u);
  EXPECT_FALSE(ring.redo(p));

  ring.clearUndo();
  EXPECT_FALSE(ring.undo(p));
  EXPECT_EQ(p.objects.countObjects(), 2u);
}

TEST(UndoRing, RestoresTypesAndMaterialsWhenTheModelWasEmpty) {
  Project p;
  UndoRing ring;
  p.speakerTypes.push_back(speakerType("BOX12", 97.5f));
  p.materials.slots.resize(3);
  setFixedString(p.materials.slots[2].name, "Carpet");
  p.materials.slots[2].alpha.fill(0.3f);
  const ProjectMaterials materialsBefore = p.materials;
  ASSERT_TRUE(ring.saveUndoState(p));

  p.objects.appendObject(makeMarker(SHAPE_FACE));
  p.speakerTypes.clear();
  p.speakerTypes.push_back(speakerType("OTHER", 80));
  p.speakerTypes.push_back(speakerType("THIRD", 80));
  p.materials.slots.resize(1);

  RecordingObserver seen;
  p.observer = &seen;
  ASSERT_TRUE(ring.undo(p));
  EXPECT_TRUE(p.objects.empty());
  ASSERT_EQ(p.speakerTypes.size(), 1u);
  const SpeakerType& t = *p.speakerTypes[0];
  EXPECT_EQ(fixedString(t.name), "BOX12");
  EXPECT_EQ(t.sensitivity[6], 97.5f);
  EXPECT_EQ(t.grids[3].at(36, 71), 200);
  EXPECT_EQ(p.materials, materialsBefore);
  EXPECT_EQ(seen.all, 1);  // everything redrawn once

  // Redo brings back the state undo saved.
  ASSERT_TRUE(ring.redo(p));
  EXPECT_EQ(p.speakerTypes.size(), 2u);
  EXPECT_EQ(p.materials.count(), 1u);
}

TEST(UndoRing, SpeakerShapesAreRelinkedByOrdinal) {
  Project p;
  UndoRing ring;
  p.objects.appendObject(makeMarker(SHAPE_FACE, LAYER_ROOM));
  auto shapeObject = makeObject({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, 1}},
                                {{IDX_START, 0}, {IDX_MATERIAL, 0}, {IDX_LINE, 1}, {IDX_CLOSE, 2}},
                                LAYER_SPEAKER_SHAPES, SHAPE_SOLID);
  shapeObject->flags = OF_SPEAKER_SHAPE;
  ModelObject* shape = p.objects.appendObject(std::move(shapeObject));

  p.speakerTypes.push_back(speakerType("WITH", 90));
  p.speakerTypes[0]->shape = shape;
  p.speakerTypes.push_back(speakerType("DEFAULT", 90));
  ASSERT_TRUE(ring.saveUndoState(p));

  // The edit puts an object in front, so every ordinal moves.
  p.objects.insertAtHead(makeMarker(SHAPE_FACE, LAYER_AUX));
  ASSERT_TRUE(ring.undo(p));

  ASSERT_EQ(p.objects.countObjects(), 2u);
  ModelObject* restoredShape = p.objects.objectAt(1);
  EXPECT_EQ(p.speakerTypes[0]->shape, restoredShape);
  EXPECT_EQ(restoredShape->nodeCount(), 5u);  // orientation nodes included
  EXPECT_EQ(p.speakerTypes[1]->shape, nullptr);

  // Redo relinks to the shape object at its ordinal in that state.
  ASSERT_TRUE(ring.redo(p));
  EXPECT_EQ(p.speakerTypes[0]->shape, p.objects.objectAt(2));
}

TEST(UndoRing, RestoresObjectsFieldByFieldAndOnlyTheStoredLayers) {
  Project p;
  UndoRing ring;
  auto o = makeObject({{1, 2, 3}}, {{IDX_START, 0}}, LAYER_SPEAKERS, SHAPE_LINE);
  o->data = {9, 8, 7};
  o->flags = OF_SELECTED | OF_MARKED;
  p.objects.appendObject(std::move(o));
  p.layers[5].visible = 1;
  p.layers[20].visible = 1;
  ASSERT_TRUE(ring.saveUndoState(p));

  p.objects.head()->data[0] = 0;
  p.objects.head()->flags = 0;
  p.objects.head()->nodes[0].z = 4;
  p.layers[5].visible = 0;
  setFixedString(p.layers[0].name, "ROOM");
  p.layers[20].visible = 0;
  ASSERT_TRUE(ring.undo(p));

  const ModelObject& back = *p.objects.head();
  EXPECT_EQ(back.data, (std::vector<std::uint8_t>{9, 8, 7}));
  EXPECT_EQ(back.nodes[0], (Node{1, 2, 3}));
  EXPECT_EQ(back.flags, OF_SELECTED | OF_MARKED);
  EXPECT_EQ(p.layers[5].visible, 1);
  EXPECT_EQ(fixedString(p.layers[0].name), "LAYER 1");
  EXPECT_EQ(p.layers[20].visible, 0);  // layers 16..31 are not part of a snapshot
}

// A step around a command enters the ring only when the command changed
// what undo restores; the menu names the step undo or redo takes.
TEST(UndoRing, StepsEnterOnlyWhenTheModelChangedAndCarryTheirNames) {
  Project p;
  UndoRing ring;
  p.objects.appendObject(makeObject({{0, 0, 0}, {1, 0, 0}}, {{IDX_START, 0}, {IDX_LINE, 1}}));
  ASSERT_TRUE(ring.beginStep(p, "Move"));
  EXPECT_FALSE(ring.endStep(p));  // only looked at
  EXPECT_FALSE(ring.canUndo());
  ASSERT_TRUE(ring.beginStep(p, "Reverse"));
  p.objects.head()->indices[1].ref = 0;  // nodes as they were, one entry changed
  EXPECT_TRUE(ring.endStep(p));
  ASSERT_TRUE(ring.beginStep(p, "Delete Face"));
  p.objects.freeAllObjects();
  EXPECT_TRUE(ring.endStep(p));
  EXPECT_EQ(ring.undoName(), "Delete Face");
  EXPECT_EQ(ring.redoName(), "");
  ASSERT_TRUE(ring.undo(p));
  EXPECT_EQ(ring.undoName(), "Reverse");
  EXPECT_EQ(ring.redoName(), "Delete Face");
}

TEST(UndoRing, SnapshotBytesCountsEveryPartInWholeGranules) {
  Project p;  // 16 layers, 4, slot 0 material, 6: 384 + 4 + 256 + 6 = 650
  EXPECT_EQ(UndoRing::snapshotBytes(p), 768u);
  p.objects.appendObject(ObjectList::allocObject(10, 3, 5));  // + 114 = 764
  EXPECT_EQ(UndoRing::snapshotBytes(p), 768u);
  p.objects.appendObject(ObjectList::allocObject(0, 0, 1));  // + 52 = 816
  EXPECT_EQ(UndoRing::snapshotBytes(p), 1024u);
  p.speakerTypes.push_back(std::make_unique<SpeakerType>());  // + 19160 = 19976
  EXPECT_EQ(UndoRing::snapshotBytes(p), 20224u);
  p.materials.slots.clear();  // - 256 = 19720
  EXPECT_EQ(UndoRing::snapshotBytes(p), 19968u);
}

}  // namespace
}  // namespace tav
