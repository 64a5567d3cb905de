// Project files with an embedded map: the project must read whatever the
// map block holds (a damaged block leaves no calculation result), and a
// project with a map must save and read back with the same map, its block
// written back byte for byte while nothing changed.
#include <cmath>
#include <cstdint>
#include <span>

#include "fuzz/fuzz_support.h"
#include "mapping/map_file.h"
#include "model/project_file.h"

namespace {

using namespace tav;

std::vector<std::uint8_t> seed() {
  Project p;
  auto area = ObjectList::allocObject(0, 4, 5);
  area->shape = SHAPE_FACE;
  area->layer = LAYER_AUDIENCE;
  area->nodes = {{0, 0, 1.2f}, {4, 0, 1.2f}, {4, 3, 1.2f}, {0, 3, 1.2f}};
  area->indices = {{IDX_START, 0}, {IDX_MATERIAL, 0}, {IDX_LINE, 1}, {IDX_LINE, 2}, {IDX_CLOSE, 3}};
  p.objects.appendObject(std::move(area));
  LevelMap m;
  m.areas.push_back({0, 0, 0, 24, 28.8f, 0, 4, 0, 3, 1.2f});
  m.halfGrid = 1;
  m.bandCounts = {1, 1, 1, 1, 1, 1, 1, 1};
  for (int i = 0; i < 6; ++i) {
    MapPoint pt;
    pt.x = 1.0f + 2.0f * static_cast<float>(i % 2);
    pt.y = 0.5f + static_cast<float>(i / 2);
    pt.z = 1.2f;
    pt.energy.fill(std::pow(10.0f, 7.0f - 0.1f * static_cast<float>(i)));
    pt.t0.fill(10.0f + static_cast<float>(i));
    m.points.push_back(pt);
  }
  m.singlePoints = {0, 5};
  m.bounds = boundsFromPoints(m.points);
  p.levelMap = m;
  p.description = "Seed hall";
  return writeProjectBytes(p);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::writeSeedsIfAsked(
      [](const std::filesystem::path& dir) { fuzz::writeFile(dir / "mapped.TPR", seed()); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ProjectLoadResult first = readProject(std::span<const std::uint8_t>(data, size));
  if (!first.ok() || !first.project.levelMap) return 0;
  const std::vector<std::uint8_t> saved = writeProjectBytes(first.project);
  ProjectLoadResult second = readProject(saved);
  fuzz::check(second.ok() && second.project.levelMap.has_value(),
              "a project with a map saves with its map");
  fuzz::check(second.project.description == first.project.description, "the description survives");
  fuzz::check(second.project.levelMap->points.size() == first.project.levelMap->points.size(),
              "saving keeps every map point");
  fuzz::check(writeProjectBytes(second.project) == saved,
              "saving what was read back gives the same file");
  // A changed map is written anew and still reads back.
  Project& p = second.project;
  p.levelMap->singlePoints.clear();
  ProjectLoadResult third = readProject(writeProjectBytes(p));
  fuzz::check(third.ok() && third.project.levelMap && third.project.levelMap->singlePoints.empty(),
              "a changed map is written anew");
  return 0;
}
