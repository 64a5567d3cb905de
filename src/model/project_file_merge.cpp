// Merging the room and AUX objects of another project file into the model.
#include "model/project_file.h"
#include "model/project_file_sections.h"
#include "model/save_file.h"

namespace tav {

namespace {

// Records merged: room and AUX objects that are not hidden or inert.
constexpr std::uint32_t MERGE_EXCLUDED_FLAGS = 0xE0;
constexpr std::uint32_t AUX_MERGE_COLOUR = 14;

}  // namespace

MergeResult mergeProjectBytes(Project& project, std::span<const std::uint8_t> bytes,
                              std::uint32_t targetLayer) {
  using namespace project_file;
  MergeResult result;
  const int version = projectFileVersion(bytes);
  if (version < 0) {
    result.error.text = MSG_INVALID_FILE_FORMAT;
    return result;
  }
  if (version < PROJECT_VERSION_CURRENT_READER) return result;  // older files: quietly nothing
  if (targetLayer >= static_cast<std::uint32_t>(LAYER_COUNT)) return result;

  LeReader rd(bytes);
  rd.skip(PROJECT_HEADER_SIZE);
  rd.skip(STORED_LAYER_COUNT * LAYER_RECORD_SIZE);
  std::vector<ReadRecord> records;
  const auto wanted = [](const RecordHead& h) {
    return (h.layer == LAYER_ROOM || h.layer == LAYER_AUX) && (h.flags & MERGE_EXCLUDED_FLAGS) == 0;
  };
  if (rd.failed() ||
      !readObjectRecords(rd, RecordLayout::Current, wanted, records, result.droppedEntries)) {
    result.error.text = MSG_INVALID_FILE_FORMAT;
    return result;
  }
  for (ReadRecord& r : records) {
    if (!r.object) continue;
    ModelObject& o = *r.object;
    for (IndexEntry& e : o.indices)
      if (e.code == IDX_MATERIAL) e.ref = 0;
    o.flags = OF_SELECTED;
    o.layer = targetLayer;
    o.colour = targetLayer == LAYER_AUX ? AUX_MERGE_COLOUR : 0;
    project.objects.insertAtHead(std::move(r.object));
    ++result.added;
  }
  project.layers[targetLayer].visible = 1;
  if (result.added > 0) project.modified = true;
  project.notifyAll();
  return result;
}

MergeResult mergeProjectObjects(Project& project, const std::string& path,
                                std::uint32_t targetLayer) {
  const auto bytes = readWholeFile(path);
  if (!bytes) {
    MergeResult result;
    result.error.text = MSG_CANT_LOCATE_FILE;
    return result;
  }
  return mergeProjectBytes(project, *bytes, targetLayer);
}

}  // namespace tav
