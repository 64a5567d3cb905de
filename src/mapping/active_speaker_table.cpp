#include "mapping/active_speaker_table.h"

#include <cmath>

#include "model/model_object.h"
#include "model/project.h"
#include "speakers/project_speaker_types.h"

namespace tav {

ActiveSpeakerTable buildActiveSpeakerTable(const Project& project, const ActiveSpeakerRule& rule) {
  ActiveSpeakerTable table;
  for (const ModelObject& object : project.objects) {
    if (rule.selectedOnly && (object.flags & OF_SELECTED) == 0) continue;
    const auto speaker = speakerOf(object);
    if (!speaker || !speaker->isOn()) continue;
    const SpeakerType* type = speakerTypeOf(project, *speaker);
    if (type == nullptr) continue;
    SpeakerFrame frame = makeSpeakerFrame(*speaker, *type);
    frame.bandMask = 0;
    for (int b = 0; b < BAND_COUNT; ++b)
      if (std::fabs(frame.acousticFactor[b]) > rule.bandThreshold)
        frame.bandMask |= std::uint8_t(1u << b);
    if (frame.bandMask == 0) continue;
    table.entries.push_back({&object, *speaker, frame});
  }
  table.bandCounts = countActiveBands(table.entries);
  return table;
}

BandCounts countActiveBands(const std::vector<ActiveSpeaker>& entries) {
  BandCounts counts{};
  for (const ActiveSpeaker& e : entries)
    for (int b = 0; b < BAND_COUNT; ++b)
      if (e.frame.bandMask & (1u << b)) ++counts[b];
  // Bands 250, 500, 1000, 2000 and 4000 Hz decide the broadband button.
  counts[BAND_COUNT] = (counts[1] || counts[2] || counts[3] || counts[4] || counts[5]) ? 1 : 0;
  return counts;
}

}  // namespace tav
