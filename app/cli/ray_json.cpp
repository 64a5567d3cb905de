#include "ray_json.h"

#include <charconv>

#include "reflections/reflection_run.h"

namespace tav::cli {

namespace {

nlohmann::ordered_json eight(const BandValues8& v) {
  nlohmann::ordered_json a = nlohmann::ordered_json::array();
  for (float x : v) a.push_back(x);
  return a;
}

}  // namespace

void addStatsJson(nlohmann::ordered_json& out, const ReflectionStats& s) {
  out["tmin"] = s.tMin;
  out["tmax"] = s.tMax;
  out["binWidth"] = s.binWidth;
  out["early"] = eight(s.early);
  out["reverberant"] = eight(s.reverberant);
  out["rt60"] = eight(s.rt);
  out["meanAbsorption"] = eight(s.meanAbsorption);
  out["refTime"] = eight(s.refTime);
  out["refLevel"] = eight(s.refLevel);
  nlohmann::ordered_json a = nlohmann::ordered_json::array();
  for (int b = 0; b <= BROADBAND; ++b) a.push_back(alcons(s, b));
  out["alcons"] = a;
}

nlohmann::ordered_json pathListJson(const ObjectList& objects) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const ModelObject* o : reflectionPaths(objects)) {
    const PathData d = *readPathData(*o);
    nlohmann::ordered_json p;
    p["time"] = d.time;
    p["energy"] = d.energy;
    nlohmann::ordered_json faces = nlohmann::ordered_json::array();
    for (std::size_t i = 1; i + 1 < d.ids.size(); ++i) faces.push_back(d.ids[i]);
    p["faces"] = faces;
    nlohmann::ordered_json points = nlohmann::ordered_json::array();
    for (const Node& n : o->nodes) points.push_back({n.x, n.y, n.z});
    p["points"] = points;
    list.push_back(p);
  }
  return list;
}

bool parsePoint(const std::string& text, Vec3d& out) {
  double v[3];
  const char* p = text.data();
  const char* end = p + text.size();
  for (int i = 0; i < 3; ++i) {
    while (p < end && *p == ' ') ++p;
    if (p < end && *p == '+') ++p;
    const auto r = std::from_chars(p, end, v[i]);
    if (r.ec != std::errc() || !std::isfinite(v[i])) return false;
    p = r.ptr;
    while (p < end && *p == ' ') ++p;
    if (i < 2) {
      if (p == end || *p != ',') return false;
      ++p;
    }
  }
  if (p != end) return false;
  out = {v[0], v[1], v[2]};
  return true;
}

}  // namespace tav::cli
