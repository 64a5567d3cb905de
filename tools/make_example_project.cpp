// Writes the example project: a small hall with a raised stage, its room
// faces turned into the room and given common finishes, one audience area
// at ear height in front of the stage, and a loudspeaker system taken from
// the example loudspeaker database (a left/right pair of horns at the stage
// edge, a cardioid subwoofer on the stage and a delayed fill over the rear
// seats), their types embedded in the project, and the Level + Time map of
// that system over the audience.
//
// Usage: make_example_project OUT.TPR [SPEAKERS.TSB]
// (the database defaults to speakers.TSB beside OUT.TPR)
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "mapping/level_time.h"
#include "materials/absorber_material.h"
#include "model/le_io.h"
#include "model/project.h"
#include "model/project_file.h"
#include "speakers/project_speaker_types.h"
#include "speakers/speaker_aim_points.h"
#include "speakers/speaker_aiming.h"
#include "speakers/speaker_database.h"
#include "speakers/speaker_drawing.h"
#include "speakers/speaker_power.h"

using namespace tav;

namespace {

struct Finish {
  const char* name;
  const char* description;
  const char* category;
  std::array<float, 7> alpha;  // 125 .. 8000 Hz
};

// Octave-band absorption coefficients of common finishes.
const Finish FINISHES[] = {
    {"Concrete floor",
     "Smooth concrete, sealed or painted",
     "Floors",
     {0.01f, 0.01f, 0.02f, 0.02f, 0.02f, 0.02f, 0.02f}},
    {"Plaster on masonry",
     "Gypsum plaster, smooth finish, on brick or block",
     "Walls",
     {0.01f, 0.02f, 0.02f, 0.03f, 0.04f, 0.05f, 0.05f}},
    {"Wood stage floor",
     "Timber boards on joists with air space",
     "Floors",
     {0.15f, 0.11f, 0.10f, 0.07f, 0.06f, 0.07f, 0.07f}},
    {"Mineral fibre tiles",
     "Suspended mineral-fibre ceiling tiles, 15 mm, 200 mm plenum",
     "Ceilings",
     {0.45f, 0.55f, 0.60f, 0.90f, 0.86f, 0.75f, 0.70f}},
    {"Heavy curtain",
     "Velour 0.6 kg/m2, draped to half area, 100 mm from wall",
     "Walls",
     {0.14f, 0.35f, 0.55f, 0.72f, 0.70f, 0.65f, 0.60f}},
};
enum FinishIndex { CONCRETE = 1, PLASTER, WOOD_STAGE, CEILING_TILES, CURTAIN };

using Polygon = std::vector<Vec3d>;

// One layer-0 object holding the given faces, each with its material.
void addSolid(Project& project, std::uint32_t layer, std::uint32_t colour,
              const std::vector<std::pair<Polygon, std::uint16_t>>& faces) {
  std::size_t nodeCount = 0, entryCount = 0;
  for (const auto& [polygon, material] : faces) {
    nodeCount += polygon.size();
    entryCount += polygon.size() + 1;
  }
  auto object = ObjectList::allocObject(0, nodeCount, entryCount);
  std::size_t node = 0, entry = 0;
  for (const auto& [polygon, material] : faces) {
    for (std::size_t i = 0; i < polygon.size(); ++i) {
      object->nodes[node] = toNode(polygon[i]);
      std::uint16_t code = i == 0 ? IDX_START : (i + 1 == polygon.size() ? IDX_CLOSE : IDX_LINE);
      object->indices[entry++] = {code, static_cast<std::uint16_t>(node)};
      if (i == 0) object->indices[entry++] = {IDX_MATERIAL, material};
      ++node;
    }
  }
  object->shape = faces.size() > 1 ? SHAPE_SOLID : SHAPE_FACE;
  object->layer = layer;
  object->colour = colour;
  compactObject(*object);
  project.objects.appendObject(std::move(object));
}

// Splits the rectangle spanned by corner a and the edge vectors u and v into
// nu x nv panels; vertex order a, a+u, a+u+v, a+v (front side: u x v).
std::vector<Polygon> panels(Vec3d a, Vec3d u, Vec3d v, int nu, int nv) {
  std::vector<Polygon> out;
  for (int i = 0; i < nu; ++i)
    for (int j = 0; j < nv; ++j) {
      Vec3d p = a + u * (double(i) / nu) + v * (double(j) / nv);
      Vec3d du = u * (1.0 / nu), dv = v * (1.0 / nv);
      out.push_back({p, p + du, p + du + dv, p + dv});
    }
  return out;
}

std::vector<std::pair<Polygon, std::uint16_t>> withMaterial(const std::vector<Polygon>& polys,
                                                            std::uint16_t material) {
  std::vector<std::pair<Polygon, std::uint16_t>> out;
  for (const auto& p : polys) out.emplace_back(p, material);
  return out;
}

// One loudspeaker placed as a user places it: the type resolved by name
// (copied from the database into the project the first time), the gains of a
// fresh choice, the main axis aimed at `target`, then power and drawing.
struct Placement {
  const char* type;
  const char* name;
  const char* group;
  Vec3d position;
  Vec3d target;
};

bool placeSpeaker(Project& project, const SpeakerDatabaseIndex& index, const Placement& p) {
  PlacedSpeaker s = newPlacedSpeaker(p.position);
  setFixedString(s.name, p.name);
  setFixedString(s.group, p.group);
  UserMessage message;
  if (!resolveSpeakerType(project, index, s, p.type, &message)) {
    std::fprintf(stderr, "%s: %s\n", p.type, message.text.c_str());
    return false;
  }
  const SpeakerType& type = *project.speakerTypes[static_cast<std::size_t>(s.typeIndex)];
  applyChosenType(s, type.maxPower);
  aimAtTarget(s, p.target);
  computeSpeakerPower(s, type);
  return buildSpeakerDrawing(project, s, nullptr) != nullptr;
}

std::string defaultDatabasePath(const std::string& out) {
  const std::size_t slash = out.find_last_of('/');
  return (slash == std::string::npos ? std::string() : out.substr(0, slash + 1)) + "speakers.TSB";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: %s OUT.TPR [SPEAKERS.TSB]\n", argv[0]);
    return 1;
  }
  Project project;
  newProject(project);

  for (const Finish& f : FINISHES) {
    AbsorberMaterial m;
    setFixedString(m.name, f.name);
    setFixedString(m.description, f.description);
    setFixedString(m.category, f.category);
    m.alpha = f.alpha;
    project.materials.slots.push_back(m);
  }

  // The hall: x 0..24 m (stage end at x = 0), y -7..7 m, z 0..9 m. The stage
  // occupies x 0..5 m at 1 m height. Every face looks into the room.
  const double L = 24, W = 7, H = 9, S = 5, SH = 1;

  // Floor of the audience part and the stage top, facing up (+z).
  addSolid(project, LAYER_ROOM, 0,
           withMaterial(panels({S, -W, 0}, {L - S, 0, 0}, {0, 2 * W, 0}, 2, 2), CONCRETE));
  {
    auto stage = withMaterial(panels({0, -W, SH}, {S, 0, 0}, {0, 2 * W, 0}, 1, 2), WOOD_STAGE);
    // Stage front riser at x = 5, facing the audience (+x).
    for (auto& p : panels({S, -W, 0}, {0, 2 * W, 0}, {0, 0, SH}, 2, 1))
      stage.emplace_back(p, WOOD_STAGE);
    addSolid(project, LAYER_ROOM, 0, stage);
  }
  // Ceiling facing down (-z).
  addSolid(project, LAYER_ROOM, 0,
           withMaterial(panels({0, -W, H}, {0, 2 * W, 0}, {L, 0, 0}, 2, 3), CEILING_TILES));
  // Back wall behind the stage (x = 0, facing +x), curtained, from the stage top up.
  addSolid(project, LAYER_ROOM, 0,
           withMaterial(panels({0, -W, SH}, {0, 2 * W, 0}, {0, 0, H - SH}, 2, 1), CURTAIN));
  // Rear wall (x = L, facing -x).
  addSolid(project, LAYER_ROOM, 0,
           withMaterial(panels({L, -W, 0}, {0, 0, H}, {0, 2 * W, 0}, 1, 2), PLASTER));
  // Side walls: the right wall (y = -W, facing +y) and the left wall (y = +W,
  // facing -y), each in panels above the stage and the audience floor.
  {
    std::vector<std::pair<Polygon, std::uint16_t>> walls;
    for (double y : {-W, W}) {
      bool right = y < 0;
      auto add = [&](Vec3d a, Vec3d u, Vec3d v, int nu, int nv) {
        // The front side must look into the room: +y on the right wall
        // (z x x), -y on the left wall (x x z).
        auto ps = right ? panels(a, v, u, nv, nu) : panels(a, u, v, nu, nv);
        for (auto& p : ps) walls.emplace_back(p, PLASTER);
      };
      add({0, y, SH}, {S, 0, 0}, {0, 0, H - SH}, 1, 1);  // beside the stage
      add({S, y, 0}, {L - S, 0, 0}, {0, 0, H}, 3, 1);    // beside the audience
      // Stage side below the stage top, x 0..5, z 0..1 is inside the stage
      // block, so the wall there starts at the stage top.
    }
    addSolid(project, LAYER_ROOM, 0, walls);
  }

  // Audience area at ear height over the floor in front of the stage,
  // facing up.
  addSolid(project, LAYER_AUDIENCE, 21,
           withMaterial(panels({7, -5.5, 1.2}, {15, 0, 0}, {0, 11, 0}, 1, 1), 0));

  // Loudspeakers. The main pair hangs at the stage edge, 6 m up, aimed at
  // the middle of the audience; the subwoofer stands on the stage front (its reference point is the
  // cabinet's centre); the
  // fill hangs under the ceiling two thirds down the hall, aimed at the rear
  // seats, and is delayed so that its sound arrives there together with the
  // main pair's.
  {
    const std::string databasePath = argc == 3 ? argv[2] : defaultDatabasePath(argv[1]);
    SpeakerDatabaseIndex index;
    const DatabaseLoadResult loaded = loadSpeakerDatabase(index, databasePath);
    if (!loaded.loaded) {
      std::fprintf(stderr, "%s: not a loudspeaker database\n", databasePath.c_str());
      return 2;
    }
    const Vec3d rearSeats{20, 0, 1.2};
    const Placement placements[] = {
        {"CD9040", "MAIN L", "MAINS", {4.8, 5.5, 6}, {14.5, 2.5, 1.2}},
        {"CD9040", "MAIN R", "MAINS", {4.8, -5.5, 6}, {14.5, -2.5, 1.2}},
        {"SUBCARD", "SUB", "MAINS", {4.4, 0, SH + 0.4}, {14.5, 0, SH + 0.4}},
        {"CD6040", "FILL", "DELAY", {15, 0, 8.4}, rearSeats},
    };
    for (const Placement& p : placements)
      if (!placeSpeaker(project, index, p)) return 2;
    // Delay of the fill: its direct sound reaches the rear seats together
    // with that of the nearer main loudspeaker.
    for (ModelObject& o : project.objects) {
      auto s = speakerOf(o);
      if (!s || fixedString(s->name) != "FILL") continue;
      const Vec3d positions[] = {Vec3d{4.8, 5.5, 6}, s->pos()};
      s->delay = static_cast<float>(alignmentDelays(positions, rearSeats)[1]);
      storeSpeaker(o, *s);
    }
    rebuildAimPoints(project, project.layers[LAYER_AIM_LINES].visible != 0);
  }

  // Title block.
  const char* rows[8][2] = {{"Project", "Example hall"},
                            {"Client", "Taviron examples"},
                            {"Drawn", "make_example_project"},
                            {"Scale", "1:200"},
                            {"Date", "2026-12-06"},
                            {"Sheet", "1"},
                            {"Revision", "A"},
                            {"Units", "m"}};
  for (int i = 0; i < 8; ++i) {
    setFixedString(project.printHeader.rows[i].label, rows[i][0]);
    setFixedString(project.printHeader.rows[i].value, rows[i][1]);
  }
  setFixedString(project.printHeader.freeLines[0], "Hall 24 x 14 x 9 m with raised stage");

  project.settings.view = VIEW_XY;
  project.settings.gridSize = 1.0f;
  project.settings.measuredRT = {1.9f, 1.8f, 1.6f, 1.5f, 1.4f, 1.2f, 1.0f};

  // Level + Time with the hall: 0.25 m grid, three frequencies per band,
  // the room shading the direct sound and adding first reflections. The
  // result is stored with the project, so the map window opens at once.
  CalculationOptions& options = project.settings.calculation;
  options.gridIndex = 0;
  options.phaseRelation = 2;
  options.includeRoom = INCLUDE_SHADING | INCLUDE_REFLECTION;
  options.band = 7;
  LevelTimeRun run = prepareLevelTime(project, options);
  if (run.status != LevelTimeStatus::Ready) {
    std::fprintf(stderr, "Level + Time: %s\n", run.message.text.c_str());
    return 2;
  }
  computeLevelTime(run, project);
  installLevelMap(project, levelMapOf(std::move(run)));
  project.description = "Example hall, main system with delayed fill";

  UserMessage error = saveProjectAs(project, argv[1]);
  if (!error.empty()) {
    std::fprintf(stderr, "%s\n", error.text.c_str());
    return 2;
  }
  return 0;
}
