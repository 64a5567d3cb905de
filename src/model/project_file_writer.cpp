#include <algorithm>
#include <filesystem>

#include "mapping/map_file.h"
#include "model/file_extension.h"
#include "model/le_io.h"
#include "model/project_file.h"
#include "model/save_file.h"
#include "speakers/record_scrambling.h"

namespace tav {

namespace {

void writeHeader(LeWriter& w, const ProjectSettings& s) {
  w.fixedText(PROJECT_MAGIC, PROJECT_MAGIC_SIZE);
  w.i8(s.rtMethod);
  w.zeros(3);
  w.i16(s.view);
  w.f32(s.cursorSnap);
  w.u16(s.cursorSnapOn ? 1 : 0);
  w.f32(s.nodeSnapWidth);
  w.u16(s.nodeSnapOn ? 1 : 0);
  for (float rt : s.measuredRT) w.f32(rt);
  w.f32(s.gridSize);
  w.zeros(24);
  const CalculationOptions& c = s.calculation;
  for (std::int16_t v :
       {c.displayMode, c.scaleStep, c.gridIndex, c.band, c.phaseRelation, c.includeRoom})
    w.i16(v);
}

void writeLayers(LeWriter& w, const LayerTable& layers) {
  for (int i = 0; i < STORED_LAYER_COUNT; ++i) {
    w.chars(layers[i].name);
    w.i16(layers[i].visible);
  }
}

// One object record: pointer fields 0, next 1 unless it is the last record.
// Loudspeaker shapes are stored without their two orientation nodes.
void writeObject(LeWriter& w, const ModelObject& o, bool last) {
  std::size_t nodeCount = o.nodes.size();
  if (o.layer == LAYER_SPEAKER_SHAPES) nodeCount = nodeCount >= 2 ? nodeCount - 2 : 0;
  w.u32(0);
  w.u32(last ? 0 : 1);
  w.u32(0);
  w.u32(0);
  w.u32(0);
  w.u32(o.shape);
  w.u32(o.flags);
  w.u32(o.colour);
  w.u32(o.layer);
  w.u32(static_cast<std::uint32_t>(nodeCount));
  w.u32(o.indexCount());
  w.u32(o.dataSize());
  w.bytes(o.data.data(), o.data.size());
  for (std::size_t i = 0; i < nodeCount; ++i) {
    w.f32(o.nodes[i].x);
    w.f32(o.nodes[i].y);
    w.f32(o.nodes[i].z);
  }
  for (const IndexEntry& e : o.indices) {
    w.u16(e.code);
    w.u16(e.ref);
  }
}

void writePrintHeaderObject(LeWriter& w, const PrintHeader& header) {
  ModelObject pseudo;
  pseudo.shape = SHAPE_PRINT_HEADER;
  pseudo.flags = OF_PRINT_HEADER;
  pseudo.data.resize(PRINT_HEADER_SIZE);
  encodePrintHeader(
      header, std::span<std::uint8_t, PRINT_HEADER_SIZE>(pseudo.data.data(), PRINT_HEADER_SIZE));
  writeObject(w, pseudo, true);
}

}  // namespace

std::vector<std::uint8_t> writeProjectBytes(const Project& project) {
  LeWriter w;
  writeHeader(w, project.settings);
  writeLayers(w, project.layers);

  for (const ModelObject& o : project.objects) writeObject(w, o, false);
  writePrintHeaderObject(w, project.printHeader);

  // Types: the shape as the ordinal of its object (-1 for the default
  // shape), protected on a copy of the record.
  const std::size_t typeCount = std::min(project.speakerTypes.size(), MAX_PROJECT_SPEAKER_TYPES);
  w.i16(static_cast<std::int16_t>(typeCount));
  std::vector<std::uint8_t> record(SPEAKER_TYPE_SIZE);
  const std::span<std::uint8_t, SPEAKER_TYPE_SIZE> recordSpan(record.data(), SPEAKER_TYPE_SIZE);
  for (std::size_t i = 0; i < typeCount; ++i) {
    SpeakerType type = project.speakerTypes[i] ? *project.speakerTypes[i] : resetSpeakerType();
    const long ordinal = type.shape ? project.objects.ordinalOf(type.shape) : -1;
    type.shapeReference = static_cast<std::int32_t>(ordinal);
    // Types in memory have the current layout; the reader sizes the record
    // by this byte, so no other value may be written.
    type.layoutFlag = SPEAKER_LAYOUT_CURRENT;
    encodeSpeakerType(type, recordSpan);
    scrambleSpeakerRecord(recordSpan);
    w.bytes(record.data(), record.size());
  }

  const std::size_t materialCount = std::min(project.materials.slots.size(), MAX_MATERIALS);
  w.i16(static_cast<std::int16_t>(materialCount));
  std::array<std::uint8_t, ABSORBER_MATERIAL_SIZE> material;
  for (std::size_t i = 0; i < materialCount; ++i) {
    encodeAbsorberMaterial(project.materials.slots[i], material);
    w.bytes(material.data(), material.size());
  }

  if (project.levelMap)
    writeMapBlock(w, *project.levelMap, project.description, project.storedMapBlock);
  return std::move(w.buffer());
}

std::string projectSavePath(const std::string& chosen) {
  return withFileExtension(chosen, PROJECT_EXTENSION);
}

std::string projectBackupPath(const std::string& path) {
  const std::size_t keep = path.size() >= 4 ? path.size() - 4 : 0;
  return path.substr(0, keep) + PROJECT_BACKUP_SUFFIX;
}

UserMessage saveProjectAs(Project& project, const std::string& chosenPath) {
  const UserMessage failure{MSG_CANT_WRITE_FILE, {}};
  const std::string path = projectSavePath(chosenPath);
  std::error_code ec;
  if (std::filesystem::exists(path, ec)) {
    if (!copyFileAtomically(path, projectBackupPath(path))) return failure;
  }
  const std::vector<std::uint8_t> bytes = writeProjectBytes(project);
  if (!saveFileAtomically(path, bytes)) return failure;
  project.modified = false;
  project.name = path;
  return {};
}

bool confirmDiscardNeeded(const Project& project) {
  return project.modified && !project.objects.empty();
}

}  // namespace tav
