#include "project_json.h"

#include <map>

#include "model/le_io.h"
#include "model/text_encoding.h"
#include "speaker_info.h"

namespace tav::cli {

namespace {

// Text of a fixed record field as UTF-8.
template <std::size_t N>
std::string jsonText(const char (&field)[N]) {
  return cp1252ToUtf8(fixedString(field));
}

}  // namespace

nlohmann::ordered_json projectInfoJson(const ProjectLoadResult& loaded) {
  using json = nlohmann::ordered_json;
  const Project& project = loaded.project;

  std::map<std::uint32_t, std::size_t> byLayer;
  for (const ModelObject& o : project.objects) ++byLayer[o.layer];
  json objectsByLayer = json::object();
  for (auto [layer, count] : byLayer) objectsByLayer[std::to_string(layer)] = count;

  const ProjectSettings& s = project.settings;
  const CalculationOptions& c = s.calculation;
  json settings = {
      {"view", s.view},
      {"rtMethod", s.rtMethod},
      {"cursorSnap", s.cursorSnap},
      {"nodeSnapWidth", s.nodeSnapWidth},
      {"measuredRT", s.measuredRT},
      {"gridSize", s.gridSize},
      {"calculationOptions",
       {{"displayMode", c.displayMode},
        {"scaleStep", c.scaleStep},
        {"gridIndex", c.gridIndex},
        {"band", c.band},
        {"phaseRelation", c.phaseRelation},
        {"includeRoom", c.includeRoom}}},
  };

  json rows = json::array();
  for (const PrintHeader::Row& row : project.printHeader.rows)
    rows.push_back({{"label", jsonText(row.label)}, {"value", jsonText(row.value)}});
  json freeLines = json::array();
  for (const auto& line : project.printHeader.freeLines) freeLines.push_back(jsonText(line));

  return {
      {"format", loaded.format},
      {"droppedEntries", loaded.droppedEntries},
      {"objectCount", project.objects.countObjects()},
      {"objectsByLayer", objectsByLayer},
      {"faceCount", countRoomFaces(project)},
      {"materialCount", project.materials.count()},
      {"speakerTypeCount", project.speakerTypes.size()},
      {"speakerCount", project.objects.countLoudspeakers()},
      {"speakers", json::parse(placedSpeakersInfo(project).dump())},
      {"hasMap", project.hasCalculationResult()},
      {"mapPoints", project.levelMap ? project.levelMap->points.size() : 0},
      {"description", cp1252ToUtf8(project.description)},
      {"settings", settings},
      {"printHeader", {{"rows", rows}, {"freeLines", freeLines}}},
  };
}

}  // namespace tav::cli
