#include <cctype>
#include <cstring>
#include <string>

#include "mapping/map_file.h"
#include "model/project_file.h"
#include "model/project_file_sections.h"
#include "model/save_file.h"

namespace tav {

namespace project_file {

bool readCurrentLayout(std::span<const std::uint8_t> bytes, Project& project,
                       SpeakerTypeStats& stats) {
  LeReader rd(bytes);
  if (!rd.skip(PROJECT_HEADER_SIZE)) return false;
  if (!readLayerTable(rd, project.layers)) return false;
  std::vector<ReadRecord> records;
  if (!readObjectRecords(
          rd, RecordLayout::Current, [](const RecordHead&) { return true; }, records,
          stats.droppedEntries))
    return false;
  takeObjects(records, RecordLayout::Current, project);
  if (!readSpeakerTypes(rd, project, stats)) return false;
  if (!readMaterials(rd, project.materials)) return false;

  // The map block: everything that follows, when it reads as a map. A block
  // that does not leaves the project without a calculation result.
  const auto rest = bytes.subspan(rd.position());
  MapFileRead map = readMapBytes(rest);
  if (map.ok()) {
    project.levelMap = std::move(map.map);
    project.description = std::move(map.description);
    project.storedMapBlock.assign(rest.begin(), rest.end());
  }

  readHeaderSettings(bytes.first(PROJECT_HEADER_SIZE), project.settings, true);
  finishLoadedProject(project);
  return true;
}

}  // namespace project_file

int projectFileVersion(std::span<const std::uint8_t> bytes) {
  const std::size_t prefix = std::strlen(PROJECT_MAGIC_PREFIX);
  if (bytes.size() < PROJECT_HEADER_SIZE ||
      std::memcmp(bytes.data(), PROJECT_MAGIC_PREFIX, prefix) != 0)
    return -1;
  // The 4 characters after the prefix as a decimal number ("2.80"), times 100.
  const char* v = reinterpret_cast<const char*>(bytes.data() + prefix);
  std::size_t i = 0;
  while (i < 4 && v[i] == ' ') ++i;
  int whole = 0;
  for (; i < 4 && std::isdigit(static_cast<unsigned char>(v[i])); ++i)
    whole = whole * 10 + (v[i] - '0');
  int hundredths = 0;
  if (i < 4 && v[i] == '.') {
    ++i;
    int scale = 10;
    for (; i < 4 && scale > 0 && std::isdigit(static_cast<unsigned char>(v[i])); ++i, scale /= 10)
      hundredths += (v[i] - '0') * scale;
  }
  return whole * 100 + hundredths;
}

ProjectLoadResult readProject(std::span<const std::uint8_t> bytes) {
  ProjectLoadResult result;
  const int version = projectFileVersion(bytes);
  if (version < 0) {
    result.error.text = MSG_INVALID_FILE_FORMAT;
    return result;
  }
  Project project;
  project_file::SpeakerTypeStats stats;
  const bool ok = version < PROJECT_VERSION_CURRENT_READER
                      ? project_file::readLegacyLayout(bytes, project, stats)
                      : project_file::readCurrentLayout(bytes, project, stats);
  if (!ok) {
    result.error.text = MSG_INVALID_FILE_FORMAT;
    return result;
  }
  std::string format(reinterpret_cast<const char*>(bytes.data()), PROJECT_MAGIC_SIZE);
  format = format.substr(0, format.find('\0'));
  while (!format.empty() && format.back() == ' ') format.pop_back();
  result.format = format;
  result.version = version;
  result.resetSpeakerTypes = stats.reset;
  result.convertedSpeakerTypes = stats.converted;
  result.droppedEntries = stats.droppedEntries;
  result.project = std::move(project);
  return result;
}

UserMessage droppedEntriesMessage(std::size_t droppedEntries) {
  if (droppedEntries == 0) return {};
  const std::string count = std::to_string(droppedEntries);
  const std::string what =
      droppedEntries == 1 ? " damaged index entry was" : " damaged index entries were";
  return {count + what +
              " left out: they named nodes their objects do not have. The file on disk stays as "
              "it is until the project is saved.",
          "Warning"};
}

ProjectLoadResult loadProject(const std::string& path) {
  const auto bytes = readWholeFile(path);
  if (!bytes) {
    ProjectLoadResult result;
    result.error.text = MSG_CANT_LOCATE_FILE;
    return result;
  }
  ProjectLoadResult result = readProject(*bytes);
  if (result.ok()) result.project.name = path;
  return result;
}

}  // namespace tav
