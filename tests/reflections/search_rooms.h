// Rooms of the reflection-search tests and a sink that keeps the records.
#pragma once

#include <vector>

#include "model/project.h"
#include "reflections/path_record.h"
#include "reflections/path_search.h"
#include "reflections/room_builders.h"
#include "speakers/placed_speaker.h"
#include "speakers/speaker_type.h"

namespace tav::test {

struct MemorySink : PathSink {
  std::vector<std::uint8_t> bytes;
  bool records(std::span<const std::uint8_t> b) override {
    bytes.insert(bytes.end(), b.begin(), b.end());
    return true;
  }
};

inline std::vector<PathRecord> parseRecords(std::span<const std::uint8_t> bytes) {
  std::vector<PathRecord> out;
  LeReader in(bytes);
  while (auto r = readPathRecord(in)) out.push_back(*r);
  return out;
}

// The closed shoebox [0, size] facing inwards.
inline void addShoebox(ObjectList& list, const Vec3d& size) { addBox(list, {0, 0, 0}, size); }

// An L-shaped room of 8 faces: the floor plan (0,0) (8,0) (8,4) (4,4) (4,7)
// (0,7) extruded 3 m, faces facing inwards.
inline void addLRoom(ObjectList& list) {
  const std::vector<std::array<double, 2>> plan = {{0, 0}, {8, 0}, {8, 4}, {4, 4}, {4, 7}, {0, 7}};
  const double h = 3;
  std::vector<Vec3d> floor, ceiling;
  for (const auto& p : plan) floor.push_back({p[0], p[1], 0});
  for (auto it = plan.rbegin(); it != plan.rend(); ++it) ceiling.push_back({(*it)[0], (*it)[1], h});
  addFace(list, floor);  // counter-clockwise from above: faces up
  addFace(list, ceiling);
  for (std::size_t i = 0; i < plan.size(); ++i) {
    const auto& a = plan[i];
    const auto& b = plan[(i + 1) % plan.size()];
    // Walls run with the plan, so their fronts face the inside.
    addFace(list, {{a[0], a[1], 0}, {a[0], a[1], h}, {b[0], b[1], h}, {b[0], b[1], 0}});
  }
}

// A 12 x 8 x 4 box with an inner wall of two faces back to back at x = 6,
// from y = 0 to y = 5, full height.
inline void addInnerWallRoom(ObjectList& list) {
  addShoebox(list, {12, 8, 4});
  addFace(list, {{6, 0, 0}, {6, 5, 0}, {6, 5, 4}, {6, 0, 4}});  // faces +x
  addFace(list, {{6, 0, 0}, {6, 0, 4}, {6, 5, 4}, {6, 5, 0}});  // faces -x
}

// A switched-on omnidirectional loudspeaker of acoustic factor `factor` in
// every band (the project's first type, added when missing).
inline ModelObject* addOmniSpeaker(Project& p, const Vec3d& at, double factor = 1e6,
                                   float delay = 0) {
  if (p.speakerTypes.empty())
    p.speakerTypes.push_back(std::make_unique<SpeakerType>(resetSpeakerType()));
  PlacedSpeaker s = newPlacedSpeaker(at);
  s.typeIndex = 0;
  s.delay = delay;
  s.acousticFactor.fill(static_cast<float>(factor));
  auto o = ObjectList::allocObject(0, 0, 0);
  o->layer = LAYER_SPEAKERS;
  storeSpeaker(*o, s);
  return p.objects.appendObject(std::move(o));
}

}  // namespace tav::test
