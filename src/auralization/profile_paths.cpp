#include "auralization/profile_paths.h"

#include "model/object_list.h"

namespace tav {

std::vector<ProfilePath> profilePathsFrom(const ObjectList& objects) {
  return profilePathsFrom(reflectionPaths(objects));
}

std::vector<ProfilePath> profilePathsFrom(std::span<const ModelObject* const> paths) {
  std::vector<ProfilePath> out;
  for (const ModelObject* object : paths) {
    if (!object) continue;
    const std::optional<PathData> data = readPathData(*object);
    if (!data || object->nodes.size() < 2) continue;
    ProfilePath p;
    p.timeMs = data->time;
    p.energy = data->energy;
    const Node& last = object->nodes[object->nodes.size() - 1];
    const Node& before = object->nodes[object->nodes.size() - 2];
    p.direction = {last.x - before.x, last.y - before.y, last.z - before.z};
    out.push_back(p);
  }
  return out;
}

ProfileStats profileStatsFrom(const ReflectionStats& stats) {
  ProfileStats out;
  out.tMin = stats.tMin;
  out.maxLevelDb = stats.maxLevel;
  for (int b = 0; b < BAND_COUNT; ++b) {
    out.rt[b] = stats.rt[b];
    out.earlyDb[b] = stats.early[b];
    out.reverbDb[b] = stats.reverberant[b];
  }
  return out;
}

}  // namespace tav
