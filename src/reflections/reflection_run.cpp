#include "reflections/reflection_run.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "materials/reverberation.h"
#include "model/project.h"
#include "reflections/ray_file.h"
#include "reflections/ray_work_file.h"

namespace tav {

int parseMaxOrder(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  long value = 0;
  const char* begin = text.data() + i;
  const char* end = text.data() + text.size();
  if (begin < end && *begin == '+') ++begin;
  const auto r = std::from_chars(begin, end, value);
  if (r.ec == std::errc::result_out_of_range) value = (begin < end && *begin == '-') ? -1 : 1000;
  if (value < MIN_REFLECTION_ORDER) return MIN_REFLECTION_ORDER;
  if (value > MAX_REFLECTION_ORDER) return MAX_REFLECTION_ORDER;
  return static_cast<int>(value);
}

std::string reflectionProgressText(double percent) {
  char buf[32];
  const int whole = static_cast<int>(percent * 100 + 0.5);
  std::snprintf(buf, sizeof buf, "%d.%02d %%", whole / 100, whole % 100);
  return buf;
}

RaySearchRun runRaySearch(Project& project, const RaySearchRequest& request) {
  RaySearchRun run;
  FaceTable table;
  const FaceTableBuild built = buildFaceTable(project, table);
  if (!built.ok()) run.message = built.message;
  sortFacesForReflections(table);
  run.faces = table.size();
  const ActiveSpeakerTable speakers = buildActiveSpeakerTable(project);
  if (speakers.empty()) {
    run.message = {MSG_NO_SPEAKERS, ""};
    return run;
  }
  run.split = splitOrders(table.size(), request.maxOrder);
  if (table.empty()) return run;  // no room: nothing to search
  std::vector<Vec3d> sources;
  for (const ActiveSpeaker& s : speakers.entries) sources.push_back(s.frame.position);

  RayWorkFile work;
  if (!work.create(request.workFolder)) {
    run.message = {MSG_CANT_WRITE_TO_DISK, ""};
    return run;
  }
  run.search = searchPaths(table, sources, request.target, run.split, work, request.options);
  FreePathSums sums = run.search.freePath;
  if (!run.search.cancelled) traceFreePath(table, request.target, sums, request.options);
  run.meanFreePath = meanFreePath(sums);
  if (!work.close() || run.search.sinkFailed) {
    run.message = {MSG_CANT_WRITE_TO_DISK, ""};
    return run;
  }
  if (run.search.paths > 0) {
    const WorkFileRead read = readWorkFile(work.path(), project.objects);
    run.pathsRead = read.paths;
    if (!read.message.empty()) run.message = {read.message, ""};
  }
  return run;
}

RoomDrive roomDrive(const Project& project, const ActiveSpeakerTable& speakers) {
  RoomDrive d;
  d.volume = computeReverberation(project).volume;
  for (const ActiveSpeaker& s : speakers.entries) {
    for (int b = 0; b < BAND_COUNT; ++b) {
      const double q = s.frame.type ? s.frame.type->directivityFactor[b] : 10.0;
      d.power[b] +=
          std::fabs(s.frame.acousticFactor[b] * 4.0 * std::numbers::pi / (q / 10.0 + 1e-6));
    }
  }
  return d;
}

RayResults openRayResults(Project& project, double meanFreePath) {
  RayResults r;
  const FaceTableBuild built = buildFaceTable(project, r.faces);
  if (!built.ok()) r.tableMessage = built.message;
  sortFacesForReflections(r.faces);
  r.speakers = buildActiveSpeakerTable(project);
  r.link = linkPathsToSpeakers(project.objects, r.faces, r.speakers, project.materials,
                               meanFreePath, *r.stats);
  if (r.link.kept == 0) return r;
  sortPathsByTime(project.objects);
  evaluatePaths(project.objects, roomDrive(project, r.speakers), *r.stats);
  return r;
}

double alcons(const ReflectionStats& stats, int band) {
  const int b = std::clamp(band, 0, BROADBAND);
  const double ld = std::pow(10.0, stats.early[b] / 10.0);
  const double ed = ld > 1.0 ? ld : 1.0;
  const double a = 0.6406 * stats.rt[b] * std::pow(10.0, stats.reverberant[b] / 10.0) / ed;
  return a >= 100.0 || !std::isfinite(a) ? 100.0 : a;
}

}  // namespace tav
