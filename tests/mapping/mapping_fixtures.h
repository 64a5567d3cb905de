// Builders for the level-calculation tests: omnidirectional loudspeakers
// with a chosen acoustic factor, projects with loudspeaker objects, audience
// areas and rooms, and a random hall.
#pragma once

#include <array>
#include <memory>
#include <random>
#include <vector>

#include "mapping/active_speaker_table.h"
#include "model/le_io.h"
#include "model/project.h"
#include "reflections/room_builders.h"
#include "speakers/placed_speaker.h"
#include "speakers/speaker_type.h"

namespace tav::maptest {

using test::addBox;
using test::addFace;
using test::makeMaterial;
using test::uniformAlpha;

// An omnidirectional 0 dB type with Q = 1 in every band.
inline SpeakerType omniType(const char* name = "OMNI") {
  SpeakerType t = resetSpeakerType();
  setFixedString(t.name, name);
  t.directivityFactor.fill(10);
  return t;
}

struct SpeakerSpec {
  Vec3d position;
  double factor = 1e9;        // acoustic factor F of every listed band
  std::uint8_t bands = 0x7F;  // bands with that factor; the others get 0
  double delay = 0;           // ms
  int polarity = 1;
  double horizontal = 0;  // rad
};

inline PlacedSpeaker placedSpeaker(const SpeakerSpec& spec) {
  PlacedSpeaker s = newPlacedSpeaker(spec.position);
  for (int b = 0; b < BAND_COUNT; ++b)
    s.acousticFactor[b] = (spec.bands >> b) & 1 ? static_cast<float>(spec.factor) : 0.0f;
  s.delay = static_cast<float>(spec.delay);
  s.polarity = static_cast<std::int16_t>(spec.polarity);
  s.horizontal = static_cast<float>(spec.horizontal);
  return s;
}

// A speaker table made directly, without a project; `type` must outlive it.
inline ActiveSpeakerTable speakerTable(const SpeakerType& type,
                                       const std::vector<SpeakerSpec>& specs) {
  ActiveSpeakerTable table;
  for (const SpeakerSpec& spec : specs) {
    const PlacedSpeaker s = placedSpeaker(spec);
    table.entries.push_back({nullptr, s, makeSpeakerFrame(s, type)});
  }
  table.bandCounts = countActiveBands(table.entries);
  return table;
}

// A loudspeaker object of the project's type 0 (added when missing).
inline ModelObject* addSpeakerObject(Project& project, const SpeakerSpec& spec) {
  if (project.speakerTypes.empty())
    project.speakerTypes.push_back(std::make_unique<SpeakerType>(omniType()));
  auto o = std::make_unique<ModelObject>();
  o->layer = LAYER_SPEAKERS;
  o->shape = SHAPE_SOLID;
  storeSpeaker(*o, placedSpeaker(spec));
  return project.objects.appendObject(std::move(o));
}

// A horizontal rectangular audience area at height z (front side up).
inline ModelObject* addAudienceRect(Project& project, double x0, double y0, double x1, double y1,
                                    double z) {
  return addFace(project.objects, {{x0, y0, z}, {x1, y0, z}, {x1, y1, z}, {x0, y1, z}}, 0,
                 LAYER_AUDIENCE);
}

// A hall with different extents on its three axes, its walls split into
// panels, an audience area over the floor, a balcony slab, and loudspeakers
// scattered under the ceiling; the materials and positions come from `seed`.
inline void addRandomHall(Project& project, unsigned seed, int speakers = 3) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  project.materials.slots.push_back(makeMaterial("A", uniformAlpha(0.2f)));
  project.materials.slots.push_back(makeMaterial("B", {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f}));
  const Vec3d lo{0, 0, 0}, hi{23, 14, 9};
  test::BoxOptions box;
  for (auto& m : box.materials) m = static_cast<std::uint16_t>(1 + (random() % 2));
  addBox(project.objects, lo, hi, box);
  // Pillars and a balcony slab between the loudspeakers and the seats.
  for (int i = 0; i < 4; ++i) {
    const double x = 6 + 12 * unit(random), y = 2 + 10 * unit(random);
    addBox(project.objects, {x, y, 0}, {x + 0.5, y + 0.7, 6});
  }
  addFace(project.objects, {{15, 0, 4}, {15, 14, 4}, {23, 14, 4}, {23, 0, 4}}, 1);
  addAudienceRect(project, 4, 1, 22, 13, 1.2);
  addAudienceRect(project, 16, 1, 22.5, 13, 5.2);
  for (int i = 0; i < speakers; ++i) {
    SpeakerSpec s;
    s.position = {1 + 3 * unit(random), 1 + 12 * unit(random), 6 + 2.5 * unit(random)};
    s.factor = 1e8 * (1 + 9 * unit(random));
    s.bands = static_cast<std::uint8_t>(i == 1 ? 0x03 : 0x7F);
    s.delay = 10 * unit(random);
    s.polarity = i == 2 ? -1 : 1;
    s.horizontal = unit(random) - 0.5;
    addSpeakerObject(project, s);
  }
}

}  // namespace tav::maptest
