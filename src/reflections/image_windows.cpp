#include "reflections/image_windows.h"

#include <algorithm>
#include <cmath>

namespace tav {

namespace {

double comp(const Vec3d& v, int a) { return a == 0 ? v.x : (a == 1 ? v.y : v.z); }
void setComp(Vec3d& v, int a, double x) { (a == 0 ? v.x : (a == 1 ? v.y : v.z)) = x; }

// Nodes of a face (start entry to close entry), lifted onto its plane along
// the projection axis, so that their projection is the one pointInFace uses.
std::vector<Vec3d> liftedNodes(const FaceRecord& f) {
  std::vector<Vec3d> out;
  const ModelObject* o = f.ownerObject;
  if (!o) return out;
  const int k = std::clamp(f.projAxis, 0, 2);
  const Vec3d n = f.normal();
  const double nk = comp(n, k);
  for (std::size_t i = f.startEntry; i < o->indices.size(); ++i) {
    const IndexEntry& e = o->indices[i];
    if (e.code == IDX_MATERIAL) continue;
    if (e.code == IDX_START && i != f.startEntry) break;
    if (e.ref < o->nodes.size()) {
      Vec3d p = toVec(o->nodes[e.ref]);
      if (nk != 0) setComp(p, k, comp(p, k) - (dot(n, p) + f.planeD) / nk);
      out.push_back(p);
    }
    if (e.code == IDX_CLOSE) break;
  }
  return out;
}

// Monotone-chain hull in the two projected coordinates.
std::vector<Vec3d> hull2d(std::vector<Vec3d> p, int a1, int a2) {
  std::sort(p.begin(), p.end(), [&](const Vec3d& x, const Vec3d& y) {
    return comp(x, a1) != comp(y, a1) ? comp(x, a1) < comp(y, a1) : comp(x, a2) < comp(y, a2);
  });
  auto turn = [&](const Vec3d& o, const Vec3d& a, const Vec3d& b) {
    return (comp(a, a1) - comp(o, a1)) * (comp(b, a2) - comp(o, a2)) -
           (comp(a, a2) - comp(o, a2)) * (comp(b, a1) - comp(o, a1));
  };
  std::vector<Vec3d> h(2 * p.size() + 1);
  std::size_t k = 0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    while (k >= 2 && turn(h[k - 2], h[k - 1], p[i]) <= 0) --k;
    h[k++] = p[i];
  }
  for (std::size_t i = p.size() - 1, t = k + 1; i-- > 0;) {
    while (k >= t && turn(h[k - 2], h[k - 1], p[i]) <= 0) --k;
    h[k++] = p[i];
  }
  h.resize(k > 1 ? k - 1 : k);
  return h;
}

}  // namespace

FaceHulls::FaceHulls(const FaceTable& table) : hulls_(table.size()) {
  double scale = 0;
  for (std::size_t i = 0; i < table.size(); ++i) {
    const FaceRecord& f = table[i];
    for (float b : f.bounds)
      if (std::isfinite(b)) scale = std::max(scale, double{std::fabs(b)});
    const auto [a1, a2] = projectedAxes(std::clamp(f.projAxis, 0, 2));
    std::vector<Vec3d> nodes = liftedNodes(f);
    bool finite = !nodes.empty();
    for (const Vec3d& p : nodes)
      finite = finite && std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
    if (!finite) continue;
    const std::vector<Vec3d> h = hull2d(std::move(nodes), a1, a2);
    if (h.size() < 3 || h.size() > static_cast<std::size_t>(ImageWindow::CAPACITY)) continue;
    ImageWindow& w = hulls_[i];
    w.bounded = true;
    w.count = static_cast<int>(h.size());
    std::copy(h.begin(), h.end(), w.v.begin());
  }
  // Far above the rounding of a plane intersection at this extent, far below
  // any geometric feature of a room.
  margin_ = 1e-6 * (1.0 + scale);
}

int beamHalfSpaces(const FaceRecord& face, const Vec3d& apex, const ImageWindow& window,
                   double margin, std::array<HalfSpace, ImageWindow::CAPACITY + 1>& out) {
  const Vec3d n = face.normal();
  const double nl = length(n);
  if (!(nl > 0)) return 0;
  int count = 0;
  // Beyond the face: the front side, where the source and the room are.
  out[count++] = {n * (1.0 / nl), dot(n, face.p0()) / nl};
  if (!window.bounded || window.count < 3) return count;
  const double apexDistance = std::fabs(dot(n, apex) + face.planeD) / nl;
  if (!(apexDistance > 1e3 * margin)) return count;

  Vec3d centre;
  for (int i = 0; i < window.count; ++i) centre += window.v[i];
  centre = centre * (1.0 / window.count);
  HalfSpace sides[ImageWindow::CAPACITY];
  int m = 0;
  double orientation = 0;
  for (int i = 0; i < window.count; ++i) {
    const Vec3d& a = window.v[i];
    const Vec3d& b = window.v[(i + 1) % window.count];
    const Vec3d s = cross(a - apex, b - apex);
    const double sl = length(s);
    // An edge too short to orient its side is left out: a wider beam.
    if (!(sl > 1e-12 * dot(a - apex, a - apex))) continue;
    sides[m] = {s * (1.0 / sl), 0};
    orientation += dot(sides[m].n, centre - apex);
    ++m;
  }
  if (orientation == 0 || !std::isfinite(orientation)) return count;
  const double sign = orientation > 0 ? 1.0 : -1.0;
  for (int i = 0; i < m; ++i) {
    const Vec3d u = sides[i].n * sign;
    out[count++] = {u, dot(u, apex)};
  }
  return count;
}

void copyWindow(const ImageWindow& from, ImageWindow& to) {
  to.bounded = from.bounded;
  to.count = from.count;
  std::copy(from.v.begin(), from.v.begin() + from.count, to.v.begin());
}

bool clipWindow(const ImageWindow& hull, const HalfSpace* cuts, int count, double margin,
                ImageWindow& out) {
  if (!hull.bounded) {
    copyWindow(hull, out);
    return true;
  }
  Vec3d bufA[ImageWindow::CAPACITY], bufB[ImageWindow::CAPACITY];
  double side[ImageWindow::CAPACITY];
  Vec3d* a = bufA;
  Vec3d* b = bufB;
  int n = hull.count;
  std::copy(hull.v.begin(), hull.v.begin() + n, a);
  for (int c = 0; c < count; ++c) {
    const HalfSpace& h = cuts[c];
    int inside = 0;
    for (int i = 0; i < n; ++i) {
      side[i] = dot(h.n, a[i]) - h.c + margin;
      inside += side[i] >= 0;
    }
    if (inside == n) continue;
    if (inside == 0) return false;
    int m = 0;
    for (int i = 0; i < n; ++i) {
      const int j = i + 1 == n ? 0 : i + 1;
      const double dp = side[i], dq = side[j];
      if (dp >= 0) {
        if (m == ImageWindow::CAPACITY) return copyWindow(hull, out), true;  // overflow: whole face
        b[m++] = a[i];
      }
      if ((dp >= 0) != (dq >= 0)) {
        if (m == ImageWindow::CAPACITY) return copyWindow(hull, out), true;
        b[m++] = a[i] + (a[j] - a[i]) * (dp / (dp - dq));
      }
    }
    n = m;
    std::swap(a, b);
  }
  if (n < 3) return false;
  out.bounded = true;
  out.count = n;
  std::copy(a, a + n, out.v.begin());
  return true;
}

}  // namespace tav
