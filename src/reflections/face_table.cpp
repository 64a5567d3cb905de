#include "reflections/face_table.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "model/object_list.h"
#include "model/project.h"

namespace tav {

namespace {

double component(const Vec3d& v, int axis) { return axis == 0 ? v.x : (axis == 1 ? v.y : v.z); }
double component(const Node& n, int axis) { return axis == 0 ? n.x : (axis == 1 ? n.y : n.z); }

std::uint32_t signField(double c) {
  if (std::fabs(c) < NORMAL_SIGN_THRESHOLD) return NSIGN_ZERO;
  return c > 0 ? NSIGN_POSITIVE : NSIGN_NEGATIVE;
}

// First node of the figure starting at `start` (the start entry's own node,
// or the first valid node after it when that reference is damaged).
bool figureFirstNode(const ModelObject& o, std::size_t start, Node& out) {
  for (std::size_t i = start; i < o.indices.size(); ++i) {
    const IndexEntry& e = o.indices[i];
    if (e.code == IDX_MATERIAL) continue;
    if (e.code == IDX_START && i != start) return false;
    if (e.ref < o.nodes.size()) {
      out = o.nodes[e.ref];
      return true;
    }
    if (e.code == IDX_CLOSE) return false;
  }
  return false;
}

std::array<float, 6> figureBounds(const ModelObject& o, std::size_t start) {
  std::array<float, 6> b{1e30f, -1e30f, 1e30f, -1e30f, 1e30f, -1e30f};
  for (std::size_t i = start; i < o.indices.size(); ++i) {
    const IndexEntry& e = o.indices[i];
    if (e.code == IDX_MATERIAL) continue;
    if (e.code == IDX_START && i != start) break;
    if (e.ref < o.nodes.size()) {
      const Node& n = o.nodes[e.ref];
      const float c[3] = {n.x, n.y, n.z};
      for (int a = 0; a < 3; ++a) {
        b[2 * a] = std::min(b[2 * a], c[a]);
        b[2 * a + 1] = std::max(b[2 * a + 1], c[a]);
      }
    }
    if (e.code == IDX_CLOSE) break;
  }
  return b;
}

}  // namespace

int FaceRecord::normalSign(int axis) const {
  switch ((normalSigns >> (2 * axis)) & 3u) {
    case NSIGN_POSITIVE:
      return 1;
    case NSIGN_NEGATIVE:
      return -1;
    default:
      return 0;
  }
}

void FaceRecord::negateNormalSigns() {
  std::uint32_t out = 0;
  for (int a = 0; a < 3; ++a) {
    const int s = -normalSign(a);
    const std::uint32_t field = s > 0 ? NSIGN_POSITIVE : (s < 0 ? NSIGN_NEGATIVE : NSIGN_ZERO);
    out |= field << (2 * a);
  }
  normalSigns = out;
}

std::uint16_t FaceRecord::materialNumber() const {
  if (!ownerObject) return 0;
  const std::size_t m = std::size_t{startEntry} + 1;
  if (m < ownerObject->indices.size() && ownerObject->indices[m].code == IDX_MATERIAL)
    return ownerObject->indices[m].ref;
  return 0;
}

std::uint32_t encodeNormalSigns(const Vec3d& normal) {
  return signField(normal.x) | (signField(normal.y) << 2) | (signField(normal.z) << 4);
}

FaceTableBuild buildFaceTable(ObjectList& objects, std::size_t materialCount, FaceTable& table) {
  table.records.clear();
  for (ModelObject& o : objects) {
    if (o.layer != LAYER_ROOM || !o.hasFaces()) continue;
    for (std::size_t start : faceStarts(o)) {
      const Vec3d n = faceAreaVector(o, start);
      if (!(length(n) >= MIN_FACE_AREA_VECTOR)) continue;
      if (table.records.size() >= MAX_ROOM_FACES) {
        table.records.clear();
        return {0, {MSG_TOO_MANY_ROOM_FACES, ""}};
      }
      // A face referring to a deleted material falls back to material 0.
      if (start + 1 < o.indices.size() && o.indices[start + 1].code == IDX_MATERIAL &&
          o.indices[start + 1].ref >= materialCount)
        o.indices[start + 1].ref = 0;

      FaceRecord r;
      r.ownerObject = &o;
      r.startEntry = static_cast<std::uint32_t>(start);
      r.areaVector = {static_cast<float>(n.x), static_cast<float>(n.y), static_cast<float>(n.z)};
      const Vec3d nf = r.normal();  // the stored (f32) normal defines the plane
      r.halfNormSq = static_cast<float>(dot(nf, nf) * 0.5);
      r.bounds = figureBounds(o, start);
      Node p0{};
      figureFirstNode(o, start, p0);
      r.firstNode = {p0.x, p0.y, p0.z};
      r.planeD = static_cast<float>(-dot(nf, r.p0()));
      int axis = 0;
      if (std::fabs(r.areaVector[1]) > std::fabs(r.areaVector[axis])) axis = 1;
      if (std::fabs(r.areaVector[2]) > std::fabs(r.areaVector[axis])) axis = 2;
      r.projAxis = axis;
      r.normalSigns = encodeNormalSigns(nf);
      table.records.push_back(r);
    }
  }
  return {table.records.size(), {}};
}

FaceTableBuild buildFaceTable(Project& project, FaceTable& table) {
  return buildFaceTable(project.objects, project.materials.count(), table);
}

void sortFacesForReflections(FaceTable& table) {
  std::stable_sort(table.records.begin(), table.records.end(),
                   [](const FaceRecord& a, const FaceRecord& b) {
                     if (a.halfNormSq != b.halfNormSq) return a.halfNormSq > b.halfNormSq;
                     if (a.bounds[4] != b.bounds[4]) return a.bounds[4] < b.bounds[4];
                     if (a.bounds[2] != b.bounds[2]) return a.bounds[2] < b.bounds[2];
                     return a.bounds[0] < b.bounds[0];
                   });
}

void sortFacesByMinimum(FaceTable& table, int axis) {
  const int k = 2 * std::clamp(axis, 0, 2);
  std::stable_sort(
      table.records.begin(), table.records.end(),
      [k](const FaceRecord& a, const FaceRecord& b) { return a.bounds[k] < b.bounds[k]; });
}

std::optional<Vec3d> facePlanePoint(const FaceRecord& face, const Vec3d& origin,
                                    const Vec3d& direction) {
  const double len = length(direction);
  if (!(len >= 0.001)) return std::nullopt;
  const Vec3d u = direction * (1.0 / len);
  const Vec3d n = face.normal();
  const double denom = dot(n, u);
  // A line parallel to the plane never meets it (the division would give
  // an infinite or undefined point).
  if (denom == 0) return std::nullopt;
  const double t = (dot(n, origin) + face.planeD) / denom;
  const Vec3d q = origin - u * t;
  if (!std::isfinite(q.x) || !std::isfinite(q.y) || !std::isfinite(q.z)) return std::nullopt;
  return q;
}

std::optional<FacePlaneHit> intersectFacePlane(const FaceRecord& face, const Vec3d& origin,
                                               const Vec3d& direction) {
  const auto q = facePlanePoint(face, origin, direction);
  if (!q) return std::nullopt;
  return FacePlaneHit{*q, pointInFace(face, *q)};
}

bool pointInFace(const FaceRecord& face, const Vec3d& point) {
  const auto [a1, a2] = projectedAxes(face.projAxis);
  const double p1 = component(point, a1);
  const double p2 = component(point, a2);
  if (!(p1 >= face.boundsMin(a1) && p1 <= face.boundsMax(a1) && p2 >= face.boundsMin(a2) &&
        p2 <= face.boundsMax(a2)))
    return false;
  const ModelObject* o = face.ownerObject;
  if (!o || face.startEntry >= o->indices.size()) return false;

  // Each edge is taken with its lower end (in the second coordinate) first,
  // so the count does not depend on the direction the polygon runs: inverting
  // a face never changes which points are inside it.
  int crossings = 0;
  auto edge = [&](double fa, double sa, double fb, double sb) {
    if (!((sa < p2 && sb > p2) || (sa > p2 && sb < p2))) return;
    if (sa > sb) {
      std::swap(fa, fb);
      std::swap(sa, sb);
    }
    const double cross = fa == fb ? fa : fa + (p2 - sa) * (fb - fa) / (sb - sa);
    if (p1 < cross) ++crossings;
  };

  bool have = false;
  double f0 = 0, s0 = 0, fp = 0, sp = 0;
  const std::size_t start = face.startEntry;
  for (std::size_t i = start; i < o->indices.size(); ++i) {
    const IndexEntry& e = o->indices[i];
    if (e.code == IDX_MATERIAL) continue;
    if (e.code == IDX_START && i != start) return false;  // figure never closed
    if (e.ref < o->nodes.size()) {
      const Node& n = o->nodes[e.ref];
      const double fn = component(n, a1), sn = component(n, a2);
      if (have) {
        edge(fp, sp, fn, sn);
      } else {
        f0 = fn;
        s0 = sn;
      }
      fp = fn;
      sp = sn;
      have = true;
    }
    if (e.code == IDX_CLOSE) break;
  }
  if (have) edge(fp, sp, f0, s0);
  return (crossings & 1) != 0;
}

}  // namespace tav
