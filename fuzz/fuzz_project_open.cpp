// What opening a project does with the objects it read: the face table and
// its orders, reverberation by every method, the face listing, loudspeaker
// records, powers and aim points, and compaction. A file that loads must not
// make any of them go wrong.
#include <cstdint>
#include <span>

#include "fuzz/fuzz_support.h"
#include "materials/face_listing.h"
#include "materials/reverberation.h"
#include "model/le_io.h"
#include "model/project_file.h"
#include "model/undo_ring.h"
#include "reflections/face_table.h"
#include "speakers/placed_speaker.h"
#include "speakers/project_speaker_types.h"
#include "speakers/speaker_aim_points.h"
#include "speakers/speaker_drawing.h"

using namespace tav;

namespace {

// A 10 x 8 x 5 box room with two materials, one loudspeaker of an embedded
// type aimed into it.
std::vector<std::uint8_t> roomSeed() {
  Project p;
  resetProjectMaterials(p.materials);
  AbsorberMaterial wood;
  setFixedString(wood.name, "Wood");
  wood.alpha.fill(0.1f);
  p.materials.slots.push_back(wood);
  auto room = ObjectList::allocObject(0, 8, 0);
  room->shape = SHAPE_SOLID;
  const float x = 10, y = 8, z = 5;
  room->nodes = {{0, 0, 0}, {x, 0, 0}, {x, y, 0}, {0, y, 0},
                 {0, 0, z}, {x, 0, z}, {x, y, z}, {0, y, z}};
  const int faces[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                           {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
  for (int f = 0; f < 6; ++f) {
    room->indices.push_back({IDX_START, static_cast<std::uint16_t>(faces[f][0])});
    room->indices.push_back({IDX_MATERIAL, static_cast<std::uint16_t>(f % 2)});
    room->indices.push_back({IDX_LINE, static_cast<std::uint16_t>(faces[f][1])});
    room->indices.push_back({IDX_LINE, static_cast<std::uint16_t>(faces[f][2])});
    room->indices.push_back({IDX_CLOSE, static_cast<std::uint16_t>(faces[f][3])});
  }
  p.objects.appendObject(std::move(room));
  auto type = std::make_unique<SpeakerType>(resetSpeakerType());
  setFixedString(type->name, "BOX");
  type->maxPower.fill(100.0f);
  p.speakerTypes.push_back(std::move(type));
  PlacedSpeaker s = newPlacedSpeaker({1, 4, 2});
  setFixedString(s.name, "S1");
  s.vertical = -0.2f;
  buildSpeakerDrawing(p, s, nullptr);
  return writeProjectBytes(p);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::writeSeedsIfAsked(
      [](const std::filesystem::path& dir) { fuzz::writeFile(dir / "room.TPR", roomSeed()); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ProjectLoadResult loaded = readProject(std::span<const std::uint8_t>(data, size));
  if (!loaded.ok()) return 0;
  Project& project = loaded.project;
  // The state as read is kept in the undo ring before anything changes it.
  const std::vector<std::uint8_t> asRead = writeProjectBytes(project);
  UndoRing undo;
  fuzz::check(undo.saveUndoState(project), "a loaded project fits the undo ring");

  FaceTable table;
  const FaceTableBuild build = buildFaceTable(project, table);
  fuzz::check(build.count == table.size(), "the face count is the table's size");
  for (int method = 0; method < 4; ++method)
    (void)computeReverberation(project, static_cast<ReverbMethod>(method));
  sortFacesForReflections(table);
  (void)buildFaceListing(table, project.materials, true);
  for (int axis = 0; axis < 3; ++axis) sortFacesByMinimum(table, axis);

  for (const ModelObject& o : project.objects) {
    if (!isLoudspeakerObject(o)) continue;
    if (const auto speaker = speakerOf(o)) {
      (void)speakerTypeOf(project, *speaker);
      (void)speakerAimPoint(table, *speaker);
      (void)anglesFromDirectionNodes(o, *speaker);
    }
  }
  recomputeSpeakerPowers(project);
  rebuildAimPoints(project, true);
  // Drawing and editing compact room, audience and AUX objects (never
  // loudspeaker drawings or shapes, whose last nodes are direction nodes).
  for (ModelObject& o : project.objects)
    if (o.layer == LAYER_ROOM || o.layer == LAYER_AUDIENCE || o.layer == LAYER_AUX)
      compactObject(o);
  purgeUnusedTypes(project);
  fuzz::check(readProject(writeProjectBytes(project)).ok(), "the project still saves");
  fuzz::check(undo.undo(project) && writeProjectBytes(project) == asRead,
              "undo brings back the project as read");
  return 0;
}
