#include "speakers/speaker_listing.h"

#include <algorithm>
#include <cmath>

#include "model/le_io.h"
#include "model/number_text.h"
#include "model/project.h"
#include "model/units.h"
#include "reflections/face_table.h"
#include "speakers/project_speaker_types.h"
#include "speakers/speaker_aim_points.h"
#include "speakers/speaker_database.h"
#include "speakers/speaker_drawing.h"
#include "speakers/speaker_editing.h"
#include "speakers/speaker_power.h"

namespace tav {

std::vector<ModelObject*> sortedLoudspeakers(Project& project) {
  std::vector<std::pair<Node, ModelObject*>> found;
  for (ModelObject& o : project.objects)
    if (const std::optional<PlacedSpeaker> s = speakerOf(o)) found.push_back({s->position, &o});
  std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
    if (a.first.x != b.first.x) return a.first.x < b.first.x;
    if (a.first.y != b.first.y) return a.first.y < b.first.y;
    return a.first.z < b.first.z;
  });
  std::vector<ModelObject*> out;
  out.reserve(found.size());
  for (const auto& f : found) out.push_back(f.second);
  return out;
}

std::string speakerListingLine(std::size_t number, std::string_view typeName, const Node& position,
                               bool feet) {
  std::string line = std::to_string(number);
  if (line.size() < 3) line.insert(0, 3 - line.size(), '0');
  line += '\t';
  line += typeName;
  line += '\t';
  const double p[3] = {position.x, position.y, position.z};
  for (int i = 0; i < 3; ++i) {
    if (feet) {
      line += formatFixed(p[i] * FEET_PER_METRE, 1, 2) + ',';
    } else {
      if (i > 0) line += ',';
      line += formatFixed(p[i], 1, 1);
    }
  }
  return line;
}

BandPowers listedElectricalPower(const PlacedSpeaker& speaker) {
  BandPowers w{};
  if (speaker.isOn())
    for (int b = 0; b < BAND_COUNT; ++b) w[b] = speaker.electricalPower[b];
  return w;
}

BandPowers speakerAcousticPower(const PlacedSpeaker& speaker, const SpeakerType& type) {
  BandPowers p{};
  if (!speaker.isOn()) return p;
  for (int b = 0; b < BAND_COUNT; ++b)
    p[b] = REFERENCE_INTENSITY * std::fabs(speaker.acousticFactor[b] * FOUR_PI /
                                           (type.directivityFactor[b] / 10.0 + 1e-6));
  return p;
}

SpeakerTotals speakerTotals(const Project& project, std::span<ModelObject* const> speakers) {
  SpeakerTotals t;
  for (const ModelObject* o : speakers) {
    const std::optional<PlacedSpeaker> s = speakerOf(*o);
    if (!s || !s->isOn()) continue;
    const BandPowers w = listedElectricalPower(*s);
    BandPowers a{};
    if (const SpeakerType* type = speakerTypeOf(project, *s)) a = speakerAcousticPower(*s, *type);
    for (int b = 0; b < BAND_COUNT; ++b) {
      t.electrical[b] += w[b];
      t.acoustic[b] += a[b];
    }
  }
  return t;
}

void refreshSpeakerPowers(Project& project, std::span<ModelObject* const> speakers) {
  for (ModelObject* o : speakers) {
    std::optional<PlacedSpeaker> s = speakerOf(*o);
    if (!s) continue;
    if (const SpeakerType* type = speakerTypeOf(project, *s)) {
      computeSpeakerPower(*s, *type);
      storeSpeaker(*o, *s);
    }
  }
}

bool changeSpeakerType(Project& project, const SpeakerDatabaseIndex& index, ModelObject& object,
                       const std::string& typeName, UserMessage* message) {
  std::optional<PlacedSpeaker> s = speakerOf(object);
  if (!s) return false;
  UserMessage m;
  if (!resolveSpeakerType(project, index, *s, typeName, &m)) return false;
  if (message && !m.empty()) *message = m;
  const SpeakerType& type = *project.speakerTypes[static_cast<std::size_t>(s->typeIndex)];
  applyChosenType(*s, type.maxPower);
  computeSpeakerPower(*s, type);
  buildSpeakerDrawing(project, *s, &object);
  return true;
}

SpeakerSummary buildSpeakerSummary(Project& project, std::span<ModelObject* const> speakers,
                                   bool feet) {
  SpeakerSummary summary;
  FaceTable table;
  buildFaceTable(project, table);
  const Units units{feet};
  auto display = [&](const Vec3d& v) {
    return Vec3d{units.lengthToDisplay(v.x), units.lengthToDisplay(v.y),
                 units.lengthToDisplay(v.z)};
  };
  for (const ModelObject* o : speakers) {
    const std::optional<PlacedSpeaker> s = speakerOf(*o);
    if (!s) continue;
    SpeakerSummaryRow row;
    row.number = summary.rows.size() + 1;
    if (const SpeakerType* type = speakerTypeOf(project, *s)) {
      row.brand = fixedString(type->brand);
      row.type = fixedString(type->name);
    }
    row.name = fixedString(s->name);
    row.position = display(s->pos());
    row.horizontal = radiansToDialogDegrees(s->horizontal);
    row.vertical = radiansToDialogDegrees(s->vertical);
    row.rotation = radiansToDialogDegrees(s->rotation);
    row.delay = s->delay;
    if (const std::optional<Vec3d> aim = speakerAimPoint(table, *s)) row.aim = display(*aim);
    row.power = listedElectricalPower(*s);
    summary.rows.push_back(std::move(row));
  }
  summary.totals = speakerTotals(project, speakers);
  return summary;
}

}  // namespace tav
