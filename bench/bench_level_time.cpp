// The Level + Time calculation on generated halls of about 200, 2 000 and
// 10 000 faces with 1, 24 and 100 loudspeakers and 10 000 to 64 000 receiver
// points, with and without shading and first reflection. One line a case:
//
//   level_time faces=F speakers=S points=P shading=0|1 reflection=0|1
//     plain_pps=... one_thread_pps=... all_threads_pps=... speedup=... identical=yes|no
//
// plain_pps is the plain loop's rate (single thread, on the first points
// for as long as a few seconds allow); one_thread_pps and all_threads_pps
// are the face hierarchy's rates on the whole map with one thread and with
// all; speedup = one_thread_pps / plain_pps. `identical` compares the whole
// map of the optimised runs with the plain loop's (computed with all
// threads, the plain loop after each reflecting face's own test, which
// gives the same arrivals), and the points the plain loop's rate was
// measured on with the plain loop itself.
#include <tbb/global_control.h>
#include <tbb/task_arena.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "mapping/active_speaker_table.h"
#include "mapping/audience_grid.h"
#include "mapping/level_time.h"
#include "model/le_io.h"
#include "model/number_text.h"
#include "model/project.h"
#include "reflections/face_bvh.h"
#include "reflections/face_table.h"
#include "speakers/placed_speaker.h"

namespace tav {
namespace {

// The plain loop's rate is measured for at most this long.
constexpr double PLAIN_SECONDS = 3.0;

void addPolygon(ModelObject& o, const std::vector<Vec3d>& v, std::uint16_t material) {
  const auto base = static_cast<std::uint16_t>(o.nodes.size());
  for (const Vec3d& p : v) o.nodes.push_back(toNode(p));
  o.indices.push_back({IDX_START, base});
  o.indices.push_back({IDX_MATERIAL, material});
  for (std::size_t i = 1; i < v.size(); ++i)
    o.indices.push_back(
        {i + 1 == v.size() ? IDX_CLOSE : IDX_LINE, static_cast<std::uint16_t>(base + i)});
}

// Room faces go into objects of at most 2000 faces.
struct FaceSink {
  ObjectList& list;
  std::unique_ptr<ModelObject> current;
  int count = 0;
  void add(const std::vector<Vec3d>& v, std::uint16_t material) {
    if (!current || current->indices.size() > 2000 * 6) flush();
    addPolygon(*current, v, material);
    ++count;
  }
  void flush() {
    if (current && !current->indices.empty()) list.appendObject(std::move(current));
    current = std::make_unique<ModelObject>();
    current->layer = LAYER_ROOM;
    current->shape = SHAPE_SOLID;
  }
};

// The rectangle a + s u + t v split into nu x nv panels (front side u x v).
void panels(FaceSink& sink, Vec3d a, Vec3d u, Vec3d v, int nu, int nv, std::uint16_t material) {
  for (int i = 0; i < nu; ++i)
    for (int j = 0; j < nv; ++j) {
      const Vec3d p = a + u * (double(i) / nu) + v * (double(j) / nv);
      const Vec3d du = u * (1.0 / nu), dv = v * (1.0 / nv);
      sink.add({p, p + du, p + du + dv, p + dv}, material);
    }
}

// A closed box facing outwards.
void block(FaceSink& sink, Vec3d lo, Vec3d hi, std::uint16_t material) {
  const Vec3d dx{hi.x - lo.x, 0, 0}, dy{0, hi.y - lo.y, 0}, dz{0, 0, hi.z - lo.z};
  panels(sink, lo, dz, dy, 1, 1, material);
  panels(sink, lo + dx, dy, dz, 1, 1, material);
  panels(sink, lo, dx, dz, 1, 1, material);
  panels(sink, lo + dy, dz, dx, 1, 1, material);
  panels(sink, lo, dy, dx, 1, 1, material);
  panels(sink, lo + dz, dx, dy, 1, 1, material);
}

void addArea(Project& project, double x0, double y0, double x1, double y1, double z) {
  auto o = std::make_unique<ModelObject>();
  o->layer = LAYER_AUDIENCE;
  o->shape = SHAPE_FACE;
  addPolygon(*o, {{x0, y0, z}, {x1, y0, z}, {x1, y1, z}, {x0, y1, z}}, 0);
  project.objects.appendObject(std::move(o));
}

// A hall L x W x H with its stage at x = 0: walls, floor and ceiling in
// panels (the panel count sets the number of faces), a balcony over the
// back with its own audience area, pillars under the balcony's front, and
// loudspeakers with a balloon narrowing towards the back, spread over the
// stage end and aimed into the hall.
std::unique_ptr<Project> makeHall(int faces, int speakers) {
  auto project = std::make_unique<Project>();
  for (float a : {0.05f, 0.3f, 0.6f}) {
    AbsorberMaterial m;
    m.alpha.fill(a);
    project->materials.slots.push_back(m);
  }
  const double L = 40, W = 24, H = 14, balconyX = 28, balconyZ = 5;
  FaceSink sink{project->objects};
  sink.flush();
  // Pillars and the balcony: 7 boxes and 3 faces.
  for (int i = 0; i < 6; ++i)
    block(sink, {balconyX - 0.5, 2 + 4.0 * i, 0}, {balconyX, 2.6 + 4.0 * i, balconyZ}, 1);
  panels(sink, {balconyX, 0, balconyZ}, {0, W, 0}, {L - balconyX, 0, 0}, 1, 1, 2);
  panels(sink, {balconyX, 0, balconyZ}, {L - balconyX, 0, 0}, {0, W, 0}, 1, 1, 2);
  panels(sink, {balconyX, 0, balconyZ}, {0, 0, 1.1}, {0, W, 0}, 1, 1, 1);
  // The shell: six surfaces in n x n panels each, looking into the hall.
  const int n = std::max(1, static_cast<int>(std::lround(std::sqrt((faces - sink.count) / 6.0))));
  panels(sink, {0, 0, 0}, {0, W, 0}, {L, 0, 0}, n, n, 0);  // floor
  panels(sink, {0, 0, H}, {L, 0, 0}, {0, W, 0}, n, n, 2);  // ceiling
  panels(sink, {0, 0, 0}, {0, 0, H}, {0, W, 0}, n, n, 2);  // stage wall
  panels(sink, {L, 0, 0}, {0, W, 0}, {0, 0, H}, n, n, 1);  // back wall
  panels(sink, {0, 0, 0}, {L, 0, 0}, {0, 0, H}, n, n, 0);  // side y = 0
  panels(sink, {0, W, 0}, {0, 0, H}, {L, 0, 0}, n, n, 0);  // side y = W
  sink.flush();

  addArea(*project, 6, 1, balconyX - 1, W - 1, 1.2);
  addArea(*project, balconyX + 0.5, 1, L - 1, W - 1, balconyZ + 1.2);

  auto type = std::make_unique<SpeakerType>(resetSpeakerType());
  setFixedString(type->name, "BENCH");
  for (DirectivityGrid& g : type->grids)
    for (int r = 0; r < DIRECTIVITY_ROWS; ++r)
      for (int c = 0; c < DIRECTIVITY_COLUMNS; ++c)
        g.at(r, c) = static_cast<std::uint8_t>(225 - 3 * r);
  project->speakerTypes.push_back(std::move(type));
  for (int i = 0; i < speakers; ++i) {
    const double t = speakers > 1 ? double(i) / (speakers - 1) : 0.5;
    PlacedSpeaker s = newPlacedSpeaker({1.5 + (i % 3), 2 + t * (W - 4), 7 + (i % 4)});
    s.horizontal = static_cast<float>((t - 0.5) * 0.8);
    s.vertical = -0.25f;
    s.delay = static_cast<float>(i % 5);
    s.acousticFactor.fill(1e9f);
    auto o = std::make_unique<ModelObject>();
    o->layer = LAYER_SPEAKERS;
    o->shape = SHAPE_SOLID;
    storeSpeaker(*o, s);
    project->objects.appendObject(std::move(o));
  }
  return project;
}

double seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The points' energies and first arrivals, computed with the given search
// and number of threads.
std::vector<MapPoint> runMap(const PointCalculation& calc, const std::vector<MapPoint>& points,
                             int threads, double& elapsed) {
  tbb::global_control limit(tbb::global_control::max_allowed_parallelism,
                            static_cast<std::size_t>(threads));
  std::vector<MapPoint> out = points;
  const auto t0 = std::chrono::steady_clock::now();
  computeMapPoints(calc, out);
  elapsed = seconds(t0);
  return out;
}

void runCase(int faces, int speakers, int points, bool shading, bool reflection) {
  std::unique_ptr<Project> project = makeHall(faces, speakers);
  const ActiveSpeakerTable table = buildActiveSpeakerTable(*project);
  const AudienceAreaTable areas = buildAudienceAreaTable(project->objects);
  std::vector<MapPoint> grid;
  layGrid(areas, std::sqrt(audienceSurface(project->objects) / points), grid);
  FaceTable faceTable;
  buildFaceTable(*project, faceTable);
  const FaceBvh hierarchy(faceTable);
  const auto room = static_cast<std::int16_t>((shading ? INCLUDE_SHADING : 0) |
                                              (reflection ? INCLUDE_REFLECTION : 0));
  auto prepare = [&](FaceSearch search) {
    return preparePointCalculation(table, &faceTable, &hierarchy, project->materials, room,
                                   PhaseRelation::OctaveBandwidth, search);
  };
  const PointCalculation plain = prepare(FaceSearch::Plain);
  const PointCalculation filtered = prepare(FaceSearch::PlainFiltered);
  const PointCalculation fast = prepare(FaceSearch::Hierarchy);

  // The plain loop, one thread, on the first points.
  std::vector<MapPoint> sample;
  {
    PointScratch scratch;
    const auto t0 = std::chrono::steady_clock::now();
    for (const MapPoint& p : grid) {
      computePoint(plain, {p.x, p.y, p.z}, scratch);
      MapPoint q = p;
      for (int b = 0; b < BAND_COUNT; ++b) {
        q.energy[b] = scratch.lists[b].sum;
        q.t0[b] = scratch.lists[b].t0;
      }
      sample.push_back(q);
      if (seconds(t0) > PLAIN_SECONDS) break;
    }
    const double plainPps = static_cast<double>(sample.size()) / seconds(t0);
    const int all = tbb::this_task_arena::max_concurrency();
    double oneTime = 0, allTime = 0, referenceTime = 0;
    const std::vector<MapPoint> one = runMap(fast, grid, 1, oneTime);
    const std::vector<MapPoint> many = runMap(fast, grid, all, allTime);
    const std::vector<MapPoint> reference = runMap(filtered, grid, all, referenceTime);
    bool identical = one == reference && many == reference;
    for (std::size_t i = 0; i < sample.size() && identical; ++i) {
      PointScratch s;
      computePoint(fast, {grid[i].x, grid[i].y, grid[i].z}, s);
      for (int b = 0; b < BAND_COUNT; ++b)
        identical =
            identical && s.lists[b].sum == sample[i].energy[b] && s.lists[b].t0 == sample[i].t0[b];
    }
    const double onePps = grid.size() / oneTime, allPps = grid.size() / allTime;
    const std::string line =
        "level_time faces=" + std::to_string(faceTable.size()) +
        " speakers=" + std::to_string(table.size()) + " points=" + std::to_string(grid.size()) +
        " shading=" + (shading ? "1" : "0") + " reflection=" + (reflection ? "1" : "0") +
        " plain_pps=" + formatFixed(plainPps, 1) + " one_thread_pps=" + formatFixed(onePps, 1) +
        " all_threads_pps=" + formatFixed(allPps, 1) +
        " speedup=" + formatFixed(onePps / plainPps, 1) +
        " identical=" + (identical ? "yes" : "no");
    std::puts(line.c_str());
    std::fflush(stdout);
  }
}

}  // namespace
}  // namespace tav

int main() {
  struct Case {
    int faces, speakers, points;
    bool reflection;  // also the cases with first reflections
  };
  // The plain loop over 10 000 faces for a hundred loudspeakers' reflections
  // would take hours to check: those cases run without reflections, and
  // with reflections for 1 and 24 loudspeakers.
  const Case cases[] = {{200, 1, 64000, true},    {200, 24, 64000, true},
                        {2000, 24, 20000, true},  {10000, 1, 10000, true},
                        {10000, 24, 10000, true}, {10000, 100, 10000, false}};
  for (const Case& c : cases)
    for (int shading = 0; shading < 2; ++shading)
      for (int reflection = 0; reflection < (c.reflection ? 2 : 1); ++reflection)
        tav::runCase(c.faces, c.speakers, c.points, shading != 0, reflection != 0);
  return 0;
}
