// Reader of the older 1.27 layout: 40-byte object records with 16-bit
// counts, index entries packed into 2 bytes, no map block.
#include <cstring>

#include "model/project_file.h"
#include "model/project_file_sections.h"

namespace tav::project_file {

bool readLegacyLayout(std::span<const std::uint8_t> bytes, Project& project,
                      SpeakerTypeStats& stats) {
  // Only exactly this magic, its NUL included, is read by this reader.
  if (bytes.size() < PROJECT_HEADER_SIZE ||
      std::memcmp(bytes.data(), PROJECT_MAGIC_V127, PROJECT_MAGIC_SIZE) != 0)
    return false;
  LeReader rd(bytes);
  rd.skip(PROJECT_HEADER_SIZE);
  if (!readLayerTable(rd, project.layers)) return false;
  std::vector<ReadRecord> records;
  if (!readObjectRecords(
          rd, RecordLayout::Legacy, [](const RecordHead&) { return true; }, records,
          stats.droppedEntries))
    return false;
  takeObjects(records, RecordLayout::Legacy, project);
  if (!readSpeakerTypes(rd, project, stats)) return false;
  if (!readMaterials(rd, project.materials)) return false;
  // The grid size of this layout is not taken.
  readHeaderSettings(bytes.first(PROJECT_HEADER_SIZE), project.settings, false);
  finishLoadedProject(project);
  return true;
}

}  // namespace tav::project_file
