// Pieces shared by the project-file readers (current and 1.27 layouts) and
// by the merge of objects from another project: the header settings, the
// layer table, object records, embedded speaker types and materials. Every
// count and size is checked against the bytes that remain before anything is
// allocated; a failed check marks the reader failed.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "model/le_io.h"
#include "model/project.h"

namespace tav::project_file {

enum class RecordLayout { Current, Legacy };

// The fields of a stored object record that matter (pointer fields dropped).
struct RecordHead {
  std::uint32_t next = 0;
  std::uint32_t shape = 0;
  std::uint32_t flags = 0;
  std::uint32_t colour = 0;
  std::uint32_t layer = 0;
  std::uint32_t nodeCount = 0;  // as stored (layer 3 without its two orientation nodes)
  std::uint32_t indexCount = 0;
  std::uint32_t dataSize = 0;
};

// An object record as read: its head and the object, or null when the
// record was skipped (not wanted, or memory could not be had).
struct ReadRecord {
  RecordHead head;
  std::unique_ptr<ModelObject> object;
};

// Reads object records up to and including the one whose next is 0. Records
// for which `wanted` returns false are skipped by their size. Layer-3 objects
// get their two orientation nodes appended. An index entry naming a node at or
// beyond the stored node count is dropped (drawing would ignore it, every
// other routine would read past the nodes) and counted in `droppedEntries`.
// False (reader failed) on any fault of the layout.
template <typename Wanted>
bool readObjectRecords(LeReader& rd, RecordLayout layout, Wanted wanted,
                       std::vector<ReadRecord>& out, std::size_t& droppedEntries);

bool readRecordHead(LeReader& rd, RecordLayout layout, RecordHead& head);
// Reads (or skips) the data block, nodes and entries behind a record head.
bool readRecordBody(LeReader& rd, RecordLayout layout, const RecordHead& head, bool keep,
                    std::unique_ptr<ModelObject>& object, std::size_t& droppedEntries);

template <typename Wanted>
bool readObjectRecords(LeReader& rd, RecordLayout layout, Wanted wanted,
                       std::vector<ReadRecord>& out, std::size_t& droppedEntries) {
  for (;;) {
    ReadRecord record;
    if (!readRecordHead(rd, layout, record.head)) return false;
    if (!readRecordBody(rd, layout, record.head, wanted(record.head), record.object,
                        droppedEntries))
      return false;
    const bool last = record.head.next == 0;
    out.push_back(std::move(record));
    if (last) return true;
  }
}

// Header settings (the header is the first 102 bytes of the file). Values
// outside their range keep the project's current ones.
void readHeaderSettings(std::span<const std::uint8_t> header, ProjectSettings& settings,
                        bool withGridSize);

// Layers 0..15 from 16 stored records.
bool readLayerTable(LeReader& rd, LayerTable& layers);

// Colour and flags a loaded object gets from its layer.
void applyLoadedColour(ModelObject& object, std::uint32_t storedColour, RecordLayout layout);

struct SpeakerTypeStats {
  std::size_t reset = 0;
  std::size_t converted = 0;
  std::size_t droppedEntries = 0;  // index entries naming missing nodes
};
// The i16 count and the protected records; shape ordinals are resolved
// against the project's object list, which must be complete.
bool readSpeakerTypes(LeReader& rd, Project& project, SpeakerTypeStats& stats);

// The i16 count and the 256-byte material records.
bool readMaterials(LeReader& rd, ProjectMaterials& materials);

// Moves records into the project's list, colours set by layer; a final
// print-header pseudo-object becomes the project's print header instead.
void takeObjects(std::vector<ReadRecord>& records, RecordLayout layout, Project& project);

// The two readers, on the whole file. On success the project holds
// everything the file held (and finishLoadedProject has run).
bool readCurrentLayout(std::span<const std::uint8_t> bytes, Project& project,
                       SpeakerTypeStats& stats);
bool readLegacyLayout(std::span<const std::uint8_t> bytes, Project& project,
                      SpeakerTypeStats& stats);

// After loading: layers 3, 4, 6 and 8 are switched off.
void finishLoadedProject(Project& project);

}  // namespace tav::project_file
