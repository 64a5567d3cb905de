#include "speaker_info.h"

#include "model/le_io.h"
#include "model/text_encoding.h"
#include "speakers/placed_speaker.h"
#include "speakers/project_speaker_types.h"
#include "speakers/speaker_database.h"

namespace tav::cli {

namespace {
constexpr double DEG_PER_RAD = 57.29577951308232;

template <std::size_t N>
std::string text(const char (&field)[N]) {
  return cp1252ToUtf8(fixedString(field));
}
}  // namespace

nlohmann::json speakerDatabaseInfo(const std::string& path) {
  SpeakerDatabaseIndex index;
  const DatabaseLoadResult loaded = loadSpeakerDatabase(index, path);
  if (!loaded.opened) return {{"error", MSG_CANT_LOCATE_FILE}};
  if (!loaded.loaded) return {{"error", loaded.message.text}};
  nlohmann::json types = nlohmann::json::array();
  for (std::size_t i = 0; i < index.count(); ++i) {
    auto type = readSpeakerType(index, i);
    if (!type) continue;
    types.push_back({{"name", text(type->name)},
                     {"brand", text(type->brand)},
                     {"description", text(type->description)},
                     {"sensitivity", type->sensitivity},
                     {"maxPower", type->maxPower},
                     {"hasShape", index.entries[i].shapeOffset != 0}});
  }
  return {{"path", index.path},
          {"layout", static_cast<int>(index.layout)},
          {"truncated", index.truncated},
          {"types", types}};
}

nlohmann::json placedSpeakersInfo(const tav::Project& project) {
  nlohmann::json list = nlohmann::json::array();
  for (const ModelObject& o : project.objects) {
    auto s = speakerOf(o);
    if (!s) continue;
    const SpeakerType* type = speakerTypeOf(project, *s);
    list.push_back({{"type", type ? text(type->name) : std::string()},
                    {"name", text(s->name)},
                    {"group", text(s->group)},
                    {"position", {s->position.x, s->position.y, s->position.z}},
                    {"angles",
                     {{"horizontal", s->horizontal * DEG_PER_RAD},
                      {"vertical", s->vertical * DEG_PER_RAD},
                      {"rotation", s->rotation * DEG_PER_RAD}}},
                    {"switchedOn", s->isOn()},
                    {"polarity", s->polarity < 0 ? -1 : 1},
                    {"delay", s->delay}});
  }
  return list;
}

}  // namespace tav::cli
