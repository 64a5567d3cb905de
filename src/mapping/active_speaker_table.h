// The loudspeakers a calculation works with: every switched-on loudspeaker
// object with at least one active band, in object-list order, each with its
// prepared frame (angles, band mask, acoustic factors, type link). Built once
// before a run, never per point; the level map, the reflection search and the
// cluster balloons share it.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "mapping/level_map.h"
#include "model/octave_bands.h"
#include "speakers/directivity.h"
#include "speakers/placed_speaker.h"

namespace tav {

struct ModelObject;
class Project;

struct ActiveSpeaker {
  const ModelObject* object = nullptr;  // the loudspeaker object in the project's list
  PlacedSpeaker speaker;
  SpeakerFrame frame;  // frame.type points into the project's speaker types
};

struct ActiveSpeakerTable {
  std::vector<ActiveSpeaker> entries;
  BandCounts bandCounts{};

  std::size_t size() const { return entries.size(); }
  bool empty() const { return entries.empty(); }
  const ActiveSpeaker& operator[](std::size_t i) const { return entries[i]; }
};

struct ActiveSpeakerRule {
  // A band is active when |F_b| exceeds this (the cluster balloons use 1.0).
  double bandThreshold = ACTIVE_BAND_FACTOR;
  // Only loudspeakers carrying OF_SELECTED (the cluster balloons).
  bool selectedOnly = false;
};

// Builds the table from the project's objects. Loudspeakers whose type index
// does not name a project type are left out. The table's frames point into
// `project.speakerTypes`; rebuild it after the types change.
ActiveSpeakerTable buildActiveSpeakerTable(const Project& project,
                                           const ActiveSpeakerRule& rule = {});

// The counts of a finished table (also used when a table is filtered).
BandCounts countActiveBands(const std::vector<ActiveSpeaker>& entries);

}  // namespace tav
