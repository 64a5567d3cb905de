// Damaged project files: every fault of the layout gives "Invalid file
// format !" and an empty project, never a crash, a hang or a huge allocation.
// An index entry naming a node its object does not have is left out, and the
// rest of the file is read.
#include <gtest/gtest.h>

#include "model/project_file.h"
#include "project_bytes_builder.h"

namespace tav {
namespace {

using tavtest::Buf;

void expectInvalid(const Buf& bytes, const std::string& what) {
  const ProjectLoadResult r = readProject(bytes);
  EXPECT_EQ(r.error.text, "Invalid file format !") << what;
  EXPECT_TRUE(r.project.objects.empty()) << what;
  EXPECT_TRUE(r.project.speakerTypes.empty()) << what;
}

// The file reads, with `dropped` index entries left out of object `ordinal`,
// which keeps `entries` entries.
void expectDropped(const Buf& bytes, std::size_t dropped, long ordinal, std::size_t entries,
                   const std::string& what) {
  const ProjectLoadResult r = readProject(bytes);
  ASSERT_TRUE(r.ok()) << what;
  EXPECT_EQ(r.droppedEntries, dropped) << what;
  const ModelObject* o = r.project.objects.objectAt(ordinal);
  ASSERT_NE(o, nullptr) << what;
  EXPECT_EQ(o->indices.size(), entries) << what;
  for (const IndexEntry& e : o->indices)
    if (e.code != IDX_MATERIAL) EXPECT_LT(e.ref, o->nodes.size()) << what;
}

TEST(ProjectFileCorrupt, TruncatedAnywhereBeforeTheMapIsInvalid) {
  const tavtest::SampleFile file = tavtest::sampleV280(true);
  ASSERT_TRUE(readProject(file.bytes).ok());
  std::vector<std::size_t> cuts;
  // Every cut through header, layers and objects, then a sieve through the
  // types and materials, and the section boundaries.
  for (std::size_t n = 0; n < file.typesAt + 4; ++n) cuts.push_back(n);
  for (std::size_t n = file.typesAt; n < file.mapAt; n += 331) cuts.push_back(n);
  for (std::size_t n : {file.typesAt + 2 + 19159, file.typesAt + 2 + 19160, file.materialsAt,
                        file.materialsAt + 1, file.materialsAt + 2, file.mapAt - 1})
    cuts.push_back(n);
  for (std::size_t n : cuts)
    expectInvalid(Buf(file.bytes.begin(), file.bytes.begin() + n), "cut " + std::to_string(n));
  // A cut inside the map block leaves a complete project (the reader's test).
}

TEST(ProjectFileCorrupt, AbsurdCountsAndReferences) {
  const tavtest::SampleFile file = tavtest::sampleV280(true);
  const std::size_t first = file.objectsAt;  // room face: 4 nodes, 5 entries
  // The sample with the 32-bit field at `at` (16-bit for patched16) set to v.
  auto patched = [&](std::size_t at, std::uint32_t v, bool wide = true) {
    Buf b = file.bytes;
    wide ? tavtest::put32(b, at, v) : tavtest::put16(b, at, static_cast<std::uint16_t>(v));
    return b;
  };
  auto patched16 = [&](std::size_t at, std::uint16_t v) { return patched(at, v, false); };
  expectInvalid(patched(first + 36, 0x7FFFFFFF), "node count");
  expectInvalid(patched(first + 36, 0xFFFFFFFF), "node count max");
  expectInvalid(patched(first + 40, 0x40000000), "entry count");
  expectInvalid(patched(first + 44, 0xFFFFFFF0), "data size");
  expectInvalid(patched(first + 32, 40), "layer 40");
  // A node reference at the node count (the entry after the material one):
  // that entry alone is left out.
  const std::size_t entries = first + 48 + 4 * 12;
  expectDropped(patched16(entries + 2 * 4 + 2, 4), 1, 0, 4, "node ref");
  expectDropped(patched16(entries + 2 * 4 + 2, 0xFFFF), 1, 0, 4, "node ref 65535");
  // A material entry may carry any number.
  EXPECT_TRUE(readProject(patched16(entries + 1 * 4 + 2, 999)).ok());
  // Fewer nodes than the entries use.
  expectInvalid(patched(first + 36, 3), "node count too small");
  // A next field that never ends the list runs into the end of the file.
  expectInvalid(patched(file.typesAt - 742 - 48 + 4, 1), "no last record");

  expectInvalid(patched16(file.typesAt, 3), "type count beyond the file");
  expectInvalid(patched16(file.typesAt, 501), "type count over 500");
  expectInvalid(patched16(file.typesAt, 0xFFFF), "type count negative");
  expectInvalid(patched16(file.materialsAt, 201), "material count over 200");
  expectInvalid(patched16(file.materialsAt, 200), "material count beyond the file");
  expectInvalid(patched16(file.materialsAt, 0x8000), "material count negative");

  // A layer-3 shape whose stored count (without the orientation nodes) is
  // exceeded by a reference.
  const std::size_t shapeAt = [&] {
    std::size_t at = first;
    for (int i = 0; i < 4; ++i) {
      const auto& o = file.objects[i];
      at += 48 + o.data.size() + 12 * o.nodes.size() + 4 * o.entries.size();
    }
    return at;
  }();
  ASSERT_EQ(tavtest::get32(file.bytes, shapeAt + 32), 3u);
  expectDropped(patched16(shapeAt + 48 + 8 * 12 + 2, 8), 1, 4, file.objects[4].entries.size() - 1,
                "shape ref to an orientation node");
}

TEST(ProjectFileCorrupt, LegacyReferencesAreChecked) {
  Buf file = tavtest::sampleV127();
  const std::size_t first = 102 + 384;
  // Room face: 4 nodes; entry 2 packed as (ref << 2) | code.
  tavtest::put16(file, first + 40 + 48 + 2 * 2, (4 << 2) | 1);
  expectDropped(file, 1, 0, 4, "legacy node ref");
}

TEST(ProjectFileCorrupt, MissingFileCannotBeLocated) {
  const ProjectLoadResult r = loadProject("/nonexistent/folder/none.TPR");
  EXPECT_EQ(r.error.text, "Can\u00B4t locate file");
  EXPECT_EQ(loadProject("/").error.text, "Can\u00B4t locate file");  // a folder
}

}  // namespace
}  // namespace tav
