#include "speakers/project_speaker_types.h"

#include <algorithm>
#include <vector>

#include "model/le_io.h"
#include "model/project.h"
#include "speakers/speaker_power.h"
#include "speakers/speaker_shape.h"

namespace tav {

const SpeakerType* speakerTypeOf(const Project& project, const PlacedSpeaker& speaker) {
  if (speaker.typeIndex < 0 ||
      static_cast<std::size_t>(speaker.typeIndex) >= project.speakerTypes.size())
    return nullptr;
  return project.speakerTypes[speaker.typeIndex].get();
}

const ModelObject& shapeOf(const SpeakerType& type) {
  if (type.shape && isUsableShape(*type.shape)) return *type.shape;
  return defaultSpeakerShape();
}

bool resolveSpeakerType(Project& project, const SpeakerDatabaseIndex& index, PlacedSpeaker& speaker,
                        const std::string& name, UserMessage* message) {
  for (std::size_t i = 0; i < project.speakerTypes.size(); ++i) {
    const SpeakerType* t = project.speakerTypes[i].get();
    if (t && fixedString(t->name) == name) {
      speaker.typeIndex = static_cast<std::int16_t>(i);
      return true;
    }
  }
  const std::size_t slot = project.speakerTypes.size();
  if (slot >= MAX_PROJECT_SPEAKER_TYPES) {
    if (message) *message = {MSG_TOO_MANY_PROJECT_TYPES, ""};
    return false;
  }
  UserMessage shapeMessage;
  if (!copyTypeIntoProject(project, index, slot, name, &shapeMessage)) {
    if (message) *message = {MSG_SPEAKER_NOT_AVAILABLE, ""};
    return false;
  }
  speaker.typeIndex = static_cast<std::int16_t>(slot);
  if (message && !shapeMessage.empty()) *message = shapeMessage;
  return true;
}

std::array<std::uint8_t, SPEAKER_HEAD_SIZE> speakerHeadOf(const SpeakerType& type) {
  std::vector<std::uint8_t> record(SPEAKER_TYPE_SIZE);
  encodeSpeakerType(type,
                    std::span<std::uint8_t, SPEAKER_TYPE_SIZE>(record.data(), SPEAKER_TYPE_SIZE));
  std::array<std::uint8_t, SPEAKER_HEAD_SIZE> head;
  std::copy_n(record.begin(), SPEAKER_HEAD_SIZE, head.begin());
  return head;
}

std::size_t recomputeSpeakerPowers(Project& project) {
  std::size_t updated = 0;
  for (ModelObject& o : project.objects) {
    auto s = speakerOf(o);
    if (!s) continue;
    const SpeakerType* type = speakerTypeOf(project, *s);
    if (!type) continue;
    computeSpeakerPower(*s, *type);
    storeSpeaker(o, *s);
    ++updated;
  }
  return updated;
}

std::size_t purgeUnusedTypes(Project& project) {
  const std::size_t n = project.speakerTypes.size();
  std::vector<bool> used(n, false);
  for (const ModelObject& o : project.objects)
    if (auto s = speakerOf(o); s && s->typeIndex >= 0 && std::size_t(s->typeIndex) < n)
      used[s->typeIndex] = true;

  std::vector<std::int16_t> newIndex(n, -1);
  ProjectSpeakerTypes kept;
  std::size_t removed = 0;
  for (std::size_t i = 0; i < n; ++i) {
    std::unique_ptr<SpeakerType>& t = project.speakerTypes[i];
    if (used[i]) {
      newIndex[i] = static_cast<std::int16_t>(kept.size());
      kept.push_back(std::move(t));
      continue;
    }
    ++removed;
    if (t && t->shape && project.objects.contains(t->shape)) project.objects.freeObject(t->shape);
  }
  project.speakerTypes = std::move(kept);
  if (removed > 0) {
    for (ModelObject& o : project.objects) {
      auto s = speakerOf(o);
      if (!s || s->typeIndex < 0 || std::size_t(s->typeIndex) >= n) continue;
      s->typeIndex = newIndex[s->typeIndex];
      storeSpeaker(o, *s);
    }
  }
  // Types whose shape object has gone fall back on the default shape.
  for (auto& t : project.speakerTypes)
    if (t && t->shape && !project.objects.contains(t->shape)) t->shape = nullptr;
  return removed;
}

}  // namespace tav
