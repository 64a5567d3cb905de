#include "model/project_file_sections.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "model/project_file.h"
#include "speakers/record_scrambling.h"

namespace tav::project_file {

namespace {

// The switched-on bit of a PlacedSpeaker data block (i16 at offset 22).
constexpr std::size_t SPEAKER_STATE_OFFSET = 22;
constexpr std::uint32_t PALETTE_SIZE = 64;
// Where an older embedded type receives the conversion mark.
constexpr std::size_t EMBEDDED_CONVERSION_MARK_AT = 200;
constexpr std::size_t SPEAKER_LAYOUT_FLAG_AT = 71;
constexpr std::size_t SPEAKER_SHAPE_REFERENCE_AT = 196;

bool isFinite(float v) { return std::isfinite(v); }

}  // namespace

bool readRecordHead(LeReader& rd, RecordLayout layout, RecordHead& head) {
  if (layout == RecordLayout::Current) {
    if (!rd.has(OBJECT_RECORD_SIZE)) return rd.fail(), false;
    rd.skip(4);  // prev
    head.next = rd.u32();
    rd.skip(12);  // data, nodes, indices
    head.shape = rd.u32();
    head.flags = rd.u32();
    head.colour = rd.u32();
    head.layer = rd.u32();
    head.nodeCount = rd.u32();
    head.indexCount = rd.u32();
    head.dataSize = rd.u32();
  } else {
    if (!rd.has(LEGACY_OBJECT_RECORD_SIZE)) return rd.fail(), false;
    rd.skip(4);
    head.next = rd.u32();
    rd.skip(12);
    head.shape = rd.u32();
    head.flags = rd.u32();
    head.colour = rd.u32();
    head.layer = rd.u16();
    head.nodeCount = rd.u16();
    head.indexCount = rd.u16();
    head.dataSize = rd.u16();
  }
  // A layer outside the 32 would index past the layer table everywhere.
  if (head.layer >= static_cast<std::uint32_t>(LAYER_COUNT)) return rd.fail(), false;
  const std::uint64_t entrySize =
      layout == RecordLayout::Current ? INDEX_ENTRY_SIZE : LEGACY_INDEX_ENTRY_SIZE;
  const std::uint64_t body = std::uint64_t{head.dataSize} +
                             std::uint64_t{head.nodeCount} * NODE_SIZE +
                             std::uint64_t{head.indexCount} * entrySize;
  if (body > rd.remaining()) return rd.fail(), false;
  return true;
}

bool readRecordBody(LeReader& rd, RecordLayout layout, const RecordHead& head, bool keep,
                    std::unique_ptr<ModelObject>& object, std::size_t& droppedEntries) {
  const std::size_t entrySize =
      layout == RecordLayout::Current ? INDEX_ENTRY_SIZE : LEGACY_INDEX_ENTRY_SIZE;
  const std::size_t body = std::size_t{head.dataSize} + std::size_t{head.nodeCount} * NODE_SIZE +
                           std::size_t{head.indexCount} * entrySize;
  const bool shapeObject = head.layer == LAYER_SPEAKER_SHAPES;
  if (keep)
    object = ObjectList::allocObject(head.dataSize, head.nodeCount + (shapeObject ? 2u : 0u),
                                     head.indexCount);
  if (!object) return rd.skip(body);

  if (head.dataSize > 0) rd.bytes(object->data.data(), head.dataSize);
  for (std::uint32_t i = 0; i < head.nodeCount; ++i) {
    Node& n = object->nodes[i];
    n.x = rd.f32();
    n.y = rd.f32();
    n.z = rd.f32();
  }
  std::size_t kept = 0;
  for (std::uint32_t i = 0; i < head.indexCount; ++i) {
    IndexEntry e;
    if (layout == RecordLayout::Current) {
      e.code = rd.u16();
      e.ref = rd.u16();
    } else {
      const std::uint16_t packed = rd.u16();
      e.code = packed & 3u;
      e.ref = static_cast<std::uint16_t>(packed >> 2);
    }
    if (e.code != IDX_MATERIAL && e.ref >= head.nodeCount) {
      ++droppedEntries;
      continue;
    }
    object->indices[kept++] = e;
  }
  object->indices.resize(kept);
  if (shapeObject) {
    object->nodes[head.nodeCount] = Node{1, 0, 0};
    object->nodes[head.nodeCount + 1] = Node{0, 0, 1};
  }
  object->shape = head.shape;
  object->flags = head.flags;
  object->colour = head.colour;
  object->layer = head.layer;
  return rd.ok();
}

void readHeaderSettings(std::span<const std::uint8_t> header, ProjectSettings& s,
                        bool withGridSize) {
  if (header.size() < PROJECT_HEADER_SIZE) return;
  const std::uint8_t* h = header.data();
  const auto rtMethod = static_cast<std::int8_t>(h[16]);
  if (rtMethod >= RT_SABINE && rtMethod <= RT_MEASUREMENT) s.rtMethod = rtMethod;
  const auto view = static_cast<std::int16_t>(loadU16(h + 20));
  if (view >= VIEW_XY && view <= VIEW_PERSPECTIVE) s.view = view;
  const float cursorSnap = loadF32(h + 22);
  if (isFinite(cursorSnap) && cursorSnap >= 0) s.cursorSnap = cursorSnap;
  const float nodeSnap = loadF32(h + 28);
  if (isFinite(nodeSnap)) s.nodeSnapWidth = std::clamp(nodeSnap, 1.0f, 100.0f);
  for (int b = 0; b < 7; ++b) {
    const float rt = loadF32(h + 34 + 4 * b);
    s.measuredRT[b] = isFinite(rt) ? rt : 0.0f;
  }
  if (withGridSize) {
    const float grid = loadF32(h + 62);
    if (isFinite(grid) && grid > 0) s.gridSize = grid;
  }
  CalculationOptions& c = s.calculation;
  const std::uint8_t* o = h + 90;
  c.displayMode = static_cast<std::int16_t>(loadU16(o));
  c.scaleStep = static_cast<std::int16_t>(loadU16(o + 2));
  c.gridIndex = static_cast<std::int16_t>(loadU16(o + 4));
  c.band = static_cast<std::int16_t>(loadU16(o + 6));
  c.phaseRelation = static_cast<std::int16_t>(loadU16(o + 8));
  c.includeRoom = static_cast<std::int16_t>(loadU16(o + 10));
}

bool readLayerTable(LeReader& rd, LayerTable& layers) {
  if (!rd.has(STORED_LAYER_COUNT * LAYER_RECORD_SIZE)) return rd.fail(), false;
  for (int i = 0; i < STORED_LAYER_COUNT; ++i) {
    rd.chars(layers[i].name);
    layers[i].name[sizeof layers[i].name - 1] = '\0';
    layers[i].visible = rd.i16();
  }
  return rd.ok();
}

void applyLoadedColour(ModelObject& object, std::uint32_t storedColour, RecordLayout layout) {
  switch (object.layer) {
    case LAYER_ROOM:
      object.colour = 0;
      break;
    case LAYER_AUDIENCE:
      object.colour = 21;
      break;
    case LAYER_SPEAKERS:
      if (layout == RecordLayout::Legacy) {
        object.colour = storedColour;
      } else {
        const bool on = object.data.size() >= SPEAKER_STATE_OFFSET + 2 &&
                        (loadU16(object.data.data() + SPEAKER_STATE_OFFSET) & 1u) != 0;
        object.colour = on ? 12 : 0;
      }
      break;
    case LAYER_AIM_LINES:
      object.flags = OF_HIDDEN;
      object.colour = 0;
      break;
    default:
      object.colour = storedColour;
      break;
  }
  // Colours index a 64-entry palette.
  if (object.colour >= PALETTE_SIZE)
    object.colour = defaultLayerColour(object.layer) % PALETTE_SIZE;
}

bool readSpeakerTypes(LeReader& rd, Project& project, SpeakerTypeStats& stats) {
  const std::int16_t count = rd.i16();
  if (rd.failed() || count < 0 || static_cast<std::size_t>(count) > MAX_PROJECT_SPEAKER_TYPES)
    return rd.fail(), false;
  if (std::uint64_t{static_cast<std::uint16_t>(count)} * OLD_SPEAKER_TYPE_SIZE > rd.remaining())
    return rd.fail(), false;

  ProjectSpeakerTypes types;
  std::vector<std::uint8_t> record(SPEAKER_TYPE_SIZE);
  const std::span<std::uint8_t, SPEAKER_TYPE_SIZE> recordSpan(record.data(), SPEAKER_TYPE_SIZE);
  for (int i = 0; i < count; ++i) {
    const std::size_t start = rd.position();
    if (!rd.has(SPEAKER_LAYOUT_FLAG_AT + 1)) return rd.fail(), false;
    rd.skip(SPEAKER_LAYOUT_FLAG_AT);
    const std::uint8_t layoutFlag = rd.u8();
    rd.seek(start);

    auto type = std::make_unique<SpeakerType>();
    if (layoutFlag == SPEAKER_LAYOUT_CURRENT) {
      const auto stored = rd.view(SPEAKER_TYPE_SIZE);
      if (rd.failed()) return false;
      std::copy(stored.begin(), stored.end(), record.begin());
      if (unscrambleSpeakerRecord(recordSpan)) {
        *type = decodeSpeakerType(recordSpan);
      } else {
        *type = resetSpeakerType();
        ++stats.reset;
      }
    } else {
      // Older records are stored plain and carry no checksum: converted, not checked.
      const auto stored = rd.view(OLD_SPEAKER_TYPE_SIZE);
      if (rd.failed()) return false;
      const auto converted = convertOldSpeakerRecord(stored, EMBEDDED_CONVERSION_MARK_AT);
      if (converted.size() != SPEAKER_TYPE_SIZE) return rd.fail(), false;
      *type = decodeSpeakerType(
          std::span<const std::uint8_t, SPEAKER_TYPE_SIZE>(converted.data(), SPEAKER_TYPE_SIZE));
      ++stats.converted;
    }
    static_assert(SPEAKER_SHAPE_REFERENCE_AT < OLD_SPEAKER_HEAD_SIZE);
    // Shape by ordinal; only a loudspeaker-shape object may serve as a shape
    // (anything else would be drawn, and later freed, as one).
    type->shape = nullptr;
    if (type->shapeReference >= 0) {
      ModelObject* shape = project.objects.objectAt(type->shapeReference);
      if (shape && shape->layer == LAYER_SPEAKER_SHAPES) type->shape = shape;
    }
    types.push_back(std::move(type));
  }
  project.speakerTypes = std::move(types);
  return rd.ok();
}

bool readMaterials(LeReader& rd, ProjectMaterials& materials) {
  const std::int16_t count = rd.i16();
  if (rd.failed() || count < 0 || static_cast<std::size_t>(count) > MAX_MATERIALS)
    return rd.fail(), false;
  if (std::uint64_t{static_cast<std::uint16_t>(count)} * ABSORBER_MATERIAL_SIZE > rd.remaining())
    return rd.fail(), false;
  std::vector<AbsorberMaterial> slots;
  slots.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const auto bytes = rd.view(ABSORBER_MATERIAL_SIZE);
    if (rd.failed()) return false;
    slots.push_back(decodeAbsorberMaterial(std::span<const std::uint8_t, ABSORBER_MATERIAL_SIZE>(
        bytes.data(), ABSORBER_MATERIAL_SIZE)));
  }
  materials.slots = std::move(slots);
  return true;
}

void takeObjects(std::vector<ReadRecord>& records, RecordLayout layout, Project& project) {
  if (!records.empty() && records.back().head.shape == SHAPE_PRINT_HEADER) {
    ReadRecord pseudo = std::move(records.back());
    records.pop_back();
    if (pseudo.object) {
      std::array<std::uint8_t, PRINT_HEADER_SIZE> block{};
      std::copy_n(pseudo.object->data.begin(),
                  std::min(pseudo.object->data.size(), PRINT_HEADER_SIZE), block.begin());
      project.printHeader = decodePrintHeader(block);
    }
  }
  for (ReadRecord& r : records) {
    if (!r.object) continue;
    applyLoadedColour(*r.object, r.head.colour, layout);
    project.objects.appendObject(std::move(r.object));
  }
}

void finishLoadedProject(Project& project) {
  for (int layer : {3, 4, 6, 8}) project.layers[layer].visible = 0;
  project.modified = false;
}

}  // namespace tav::project_file
