// Split Face, Insert Nodes and Delete Face.
#include "edit/face_edit.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "edit/edit_geometry.h"
#include "edit/edit_limits.h"
#include "edit/figures.h"

namespace tav {

std::optional<Vec3d> edgeCrossing(Vec3d a, Vec3d b, Vec3d p1, Vec3d p2, int viewMode) {
  const ViewAxes ax = viewAxes(viewMode);
  const double ah = component(a, ax.h), av = component(a, ax.v);
  const double eh = component(b, ax.h) - ah, ev = component(b, ax.v) - av;
  const double ph = component(p1, ax.h), pv = component(p1, ax.v);
  const double lh = component(p2, ax.h) - ph, lv = component(p2, ax.v) - pv;
  const double denom = eh * lv - ev * lh;
  if (std::fabs(denom) < 1e-12) return std::nullopt;
  // A + t E = P1 + s L
  const double qh = ph - ah, qv = pv - av;
  const double t = (qh * lv - qv * lh) / denom;
  const double s = (qh * ev - qv * eh) / denom;
  if (t < 0.0 || t >= 1.0 || s < 0.0 || s > 1.0) return std::nullopt;
  const double xh = ah + t * eh, xv = av + t * ev;
  // Parameter along the edge from the in-plane axis it spans more.
  const double u = std::fabs(eh) >= std::fabs(ev) ? (xh - ah) / eh : (xv - av) / ev;
  Vec3d x = a + u * (b - a);
  setComponent(x, ax.h, xh);
  setComponent(x, ax.v, xv);
  return x;
}

namespace {

const Figure* figureAt(const std::vector<Figure>& figures, std::size_t startEntry) {
  for (const Figure& f : figures)
    if (f.firstEntry == startEntry) return &f;
  return nullptr;
}

}  // namespace

SplitOutcome splitFace(ModelObject& object, std::size_t startEntry, Vec3d p1, Vec3d p2,
                       int viewMode) {
  const std::vector<Figure> figures = figuresOf(object);
  const Figure* face = figureAt(figures, startEntry);
  if (face == nullptr || !face->closed || startEntry >= object.indices.size() ||
      object.indices[startEntry].code != IDX_START || face->vertices.size() < 2)
    return SplitOutcome::NotAFace;

  struct Crossing {
    std::size_t edge;
    Vec3d at;
  };
  std::vector<Crossing> crossings;
  const std::vector<std::uint32_t>& v = face->vertices;
  const std::size_t k = v.size();
  for (std::size_t i = 0; i < k; ++i) {
    const Vec3d a = toVec(object.nodes[v[i]]), b = toVec(object.nodes[v[(i + 1) % k]]);
    if (auto x = edgeCrossing(a, b, p1, p2, viewMode)) crossings.push_back({i, *x});
  }
  if (crossings.empty()) return SplitOutcome::NoIntersection;
  if (crossings.size() == 1) return SplitOutcome::OneIntersection;
  if (crossings.size() > 2) return SplitOutcome::TooManyIntersections;
  if (object.nodes.size() + 2 > EDIT_MAX_NODES || object.indices.size() + 6 > EDIT_MAX_ENTRIES)
    return SplitOutcome::TooBig;

  const auto n1 = static_cast<std::uint32_t>(object.nodes.size());
  const auto n2 = n1 + 1;
  object.nodes.push_back(toNode(crossings[0].at));
  object.nodes.push_back(toNode(crossings[1].at));
  const std::size_t i = crossings[0].edge, j = crossings[1].edge;

  std::vector<std::uint32_t> first(v.begin(), v.begin() + static_cast<long>(i) + 1);
  first.push_back(n1);
  first.push_back(n2);
  for (std::size_t m = j + 1; m < k; ++m) first.push_back(v[m]);
  std::vector<std::uint32_t> second{n1};
  for (std::size_t m = i + 1; m <= j; ++m) second.push_back(v[m]);
  second.push_back(n2);

  std::vector<IndexEntry> replacement;
  appendFace(replacement, first, 0);
  appendFace(replacement, second, 0);
  auto& e = object.indices;
  e.erase(e.begin() + static_cast<long>(face->firstEntry),
          e.begin() + static_cast<long>(face->endEntry));
  e.insert(e.begin() + static_cast<long>(face->firstEntry), replacement.begin(), replacement.end());
  object.shape = shapeFromClosedFaces(countClosedFaces(object));
  compactObject(object);
  return SplitOutcome::Split;
}

InsertNodesResult insertNodes(ModelObject& object, Vec3d p1, Vec3d p2, int viewMode) {
  InsertNodesResult result;
  std::vector<Node> nodes = object.nodes;
  std::vector<IndexEntry> out;
  auto addNode = [&](Vec3d at) {
    nodes.push_back(toNode(at));
    ++result.inserted;
    return static_cast<std::uint16_t>(nodes.size() - 1);
  };
  const auto& e = object.indices;
  bool haveStart = false, havePrevious = false;
  std::uint16_t start = 0, previous = 0;
  for (std::size_t i = 0; i < e.size(); ++i) {
    const IndexEntry entry = e[i];
    const bool node = entry.code != IDX_MATERIAL && entry.ref < object.nodes.size();
    if (entry.code == IDX_START) {
      haveStart = node;
      havePrevious = node;
      start = previous = entry.ref;
      out.push_back(entry);
      continue;
    }
    if ((entry.code == IDX_LINE || entry.code == IDX_CLOSE) && node && havePrevious) {
      if (auto x = edgeCrossing(toVec(object.nodes[previous]), toVec(object.nodes[entry.ref]), p1,
                                p2, viewMode))
        out.push_back({IDX_LINE, addNode(*x)});
    }
    if (entry.code == IDX_CLOSE && node && haveStart) {
      // The closing edge runs from this node back to the start.
      if (auto x = edgeCrossing(toVec(object.nodes[entry.ref]), toVec(object.nodes[start]), p1, p2,
                                viewMode)) {
        out.push_back({IDX_LINE, entry.ref});
        out.push_back({IDX_CLOSE, addNode(*x)});
      } else {
        out.push_back(entry);
      }
      haveStart = havePrevious = false;
      continue;
    }
    out.push_back(entry);
    if (node && entry.code == IDX_LINE) {
      previous = entry.ref;
      havePrevious = true;
    }
  }
  if (result.inserted == 0) return result;
  if (nodes.size() > EDIT_MAX_NODES || out.size() > EDIT_MAX_ENTRIES) {
    result.tooBig = true;
    result.inserted = 0;
    return result;
  }
  object.nodes = std::move(nodes);
  object.indices = std::move(out);
  // A text keeps one node per entry: compaction would drop its dots.
  if (object.shape != SHAPE_TEXT) compactObject(object);
  return result;
}

DeleteFaceOutcome deleteFace(ModelObject& object, std::size_t startEntry) {
  const std::vector<Figure> figures = figuresOf(object);
  const Figure* face = figureAt(figures, startEntry);
  if (face == nullptr || !face->closed || object.indices[startEntry].code != IDX_START)
    return DeleteFaceOutcome::NotAFace;
  auto& e = object.indices;
  e.erase(e.begin() + static_cast<long>(face->firstEntry),
          e.begin() + static_cast<long>(face->endEntry));
  if (e.empty()) {
    object.nodes.clear();
    return DeleteFaceOutcome::ObjectEmpty;
  }
  dropUnusedNodes(object, ASSEMBLE_SHARE_DISTANCE_SQUARED);
  object.shape = shapeFromClosedFaces(countClosedFaces(object));
  compactObject(object);
  return DeleteFaceOutcome::Removed;
}

}  // namespace tav
