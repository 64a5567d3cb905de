#include "model/layers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "model/le_io.h"
#include "model/project.h"
#include "support/model_builders.h"

namespace tav {
namespace {

using test::makeMarker;
using test::makeObject;
using test::RecordingObserver;

TEST(Layers, DefaultTableNamesAndSwitches) {
  const LayerTable layers = defaultLayers();
  for (int n = 0; n < LAYER_COUNT; ++n) {
    EXPECT_EQ(fixedString(layers[n].name), "LAYER " + std::to_string(n + 1)) << n;
    EXPECT_EQ(layers[n].visible, n <= 2 ? 1 : 0) << n;
  }
  // The name is NUL-padded to the full width ("LAYER 32" takes 8 bytes).
  for (std::size_t k = 8; k < sizeof layers[31].name; ++k) EXPECT_EQ(layers[31].name[k], '\0');
  EXPECT_EQ(std::memcmp(layers[9].name, "LAYER 10\0", 9), 0);
}

TEST(Layers, CommandRangesChooseLayerColourAndSnapLayer) {
  struct Case {
    int command;
    bool chooses;
    std::uint32_t layer, colour;
    bool snaps;
  };
  const Case cases[] = {
      {999, false, 0, 0, false}, {1000, true, 2, 27, true},  {1999, true, 2, 27, true},
      {2000, true, 0, 0, true},  {3000, true, 1, 21, false}, {3999, true, 1, 21, false},
      {4000, true, 7, 14, true}, {4999, true, 7, 14, true},  {5000, false, 0, 0, false},
  };
  for (const Case& c : cases) {
    const auto chosen = layerForCommand(c.command);
    ASSERT_EQ(chosen.has_value(), c.chooses) << c.command;
    if (!chosen) continue;
    EXPECT_EQ(chosen->layer, c.layer) << c.command;
    EXPECT_EQ(chosen->colour, c.colour) << c.command;
    EXPECT_EQ(chosen->setsNodeSnapLayer, c.snaps) << c.command;
  }
}

TEST(ProjectLayers, AudienceCommandsKeepTheNodeSnapLayerOthersChangeNothing) {
  // Which layer and colour a number chooses is the table above.
  Project p;
  applyCommandLayer(p, 4001);
  applyCommandLayer(p, 3002);
  EXPECT_EQ(p.currentLayer, LAYER_AUDIENCE);
  EXPECT_EQ(p.currentColour, 21u);
  EXPECT_EQ(p.nodeSnapLayer, LAYER_AUX);
  applyCommandLayer(p, 5001);
  EXPECT_EQ(p.currentLayer, LAYER_AUDIENCE);
  EXPECT_EQ(p.nodeSnapLayer, LAYER_AUX);
}

TEST(ProjectLayers, ChoosingAHiddenLayerShowsItAndItsObjects) {
  Project p;
  RecordingObserver seen;
  p.observer = &seen;
  ASSERT_EQ(p.layers[LAYER_AUX].visible, 0);
  ModelObject* aux =
      p.objects.appendObject(makeMarker(SHAPE_FACE, LAYER_AUX, OF_HIDDEN | OF_SELECTED));
  p.objects.appendObject(makeMarker(SHAPE_FACE, LAYER_AUX, 0));
  ModelObject* room = p.objects.appendObject(makeMarker(SHAPE_FACE, LAYER_ROOM, OF_HIDDEN));

  applyCommandLayer(p, 4100);
  EXPECT_EQ(p.layers[LAYER_AUX].visible, 1);
  EXPECT_EQ(aux->flags, OF_SELECTED);
  EXPECT_EQ(room->flags, OF_HIDDEN);  // other layers are left alone
  EXPECT_EQ(seen.changed, (std::vector<const ModelObject*>{aux}));

  // On a layer that is already on, hidden objects stay hidden.
  ModelObject* speaker = p.objects.appendObject(makeMarker(SHAPE_SOLID, LAYER_SPEAKERS, OF_HIDDEN));
  seen.changed.clear();
  applyCommandLayer(p, 1001);
  EXPECT_EQ(speaker->flags, OF_HIDDEN);
  EXPECT_TRUE(seen.changed.empty());
}

TEST(ProjectLayers, SyncLayerVisibilityHidesOffLayersAndKeepsShapesHidden) {
  Project p;
  RecordingObserver seen;
  p.observer = &seen;
  p.layers[LAYER_SPEAKER_SHAPES].visible = 1;
  ModelObject* room = p.objects.appendObject(makeMarker(SHAPE_FACE, LAYER_ROOM, OF_HIDDEN));
  ModelObject* shape =
      p.objects.appendObject(makeMarker(SHAPE_SOLID, LAYER_SPEAKER_SHAPES, OF_SPEAKER_SHAPE));
  ModelObject* aux = p.objects.appendObject(makeMarker(SHAPE_FACE, LAYER_AUX, OF_SELECTED));
  ModelObject* stray = p.objects.appendObject(makeMarker(SHAPE_FACE, 40, 0));

  syncLayerVisibility(p);
  EXPECT_EQ(room->flags, 0u);
  EXPECT_EQ(shape->flags, OF_SPEAKER_SHAPE);  // layer 3 on, yet still hidden
  EXPECT_EQ(aux->flags, OF_SELECTED | OF_HIDDEN);
  EXPECT_EQ(stray->flags, OF_HIDDEN);  // no such layer: treated as off
  EXPECT_EQ(seen.all, 1);
}

TEST(ProjectState, NewProjectResetsTheModelButKeepsTheObserver) {
  Project p;
  RecordingObserver seen;
  p.observer = &seen;
  p.objects.appendObject(makeMarker(SHAPE_FACE));
  p.speakerTypes.push_back(std::make_unique<SpeakerType>());
  p.materials.slots.resize(4);
  p.layers[5].visible = 1;
  p.settings.gridSize = 3;
  p.name = "/tmp/hall.TPR";
  p.levelMap.emplace();

  newProject(p);
  EXPECT_TRUE(p.objects.empty());
  EXPECT_TRUE(p.speakerTypes.empty());
  ASSERT_EQ(p.materials.count(), 1u);
  EXPECT_EQ(fixedString(p.materials.slots[0].name), "100%");
  EXPECT_EQ(p.layers, defaultLayers());
  EXPECT_EQ(p.settings, ProjectSettings{});
  EXPECT_EQ(p.name, "PROJECT1.TPR");
  EXPECT_FALSE(p.hasCalculationResult());
  EXPECT_EQ(seen.all, 1);  // the observer is kept and told
}

TEST(ProjectState, CountRoomFacesCountsFiguresOfRoomFaceObjects) {
  Project p;
  constexpr std::uint16_t S = IDX_START, L = IDX_LINE, C = IDX_CLOSE, M = IDX_MATERIAL;
  const std::vector<Node> tri = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  const std::vector<IndexEntry> one = {{S, 0}, {M, 0}, {L, 1}, {C, 2}};
  const std::vector<IndexEntry> two = {{S, 0}, {M, 0}, {L, 1}, {C, 2},
                                       {S, 2}, {M, 0}, {L, 1}, {C, 0}};
  EXPECT_EQ(countRoomFaces(p), 0u);
  p.objects.appendObject(makeObject(tri, two, LAYER_ROOM, SHAPE_SOLID));
  p.objects.appendObject(makeObject(tri, one, LAYER_ROOM, SHAPE_FACE));
  p.objects.appendObject(makeObject(tri, one, LAYER_ROOM, SHAPE_POLYLINE));  // not a face object
  p.objects.appendObject(makeObject(tri, one, LAYER_AUX, SHAPE_FACE));       // not the room
  p.objects.appendObject(makeObject(tri, two, LAYER_AUDIENCE, SHAPE_SOLID));
  EXPECT_EQ(countRoomFaces(p), 3u);
}

}  // namespace
}  // namespace tav
