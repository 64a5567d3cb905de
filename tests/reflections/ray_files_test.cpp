// The ray file and the work file: layouts against bytes built here, the
// reader on damaged input, and the work file's buffer and lifetime.
#include <gtest/gtest.h>

#include <regex>

#include "model/object_list.h"
#include "reflections/ray_file.h"
#include "reflections/ray_work_file.h"
#include "reflections/reflection_paths.h"
#include "support/bytes.h"
#include "support/temp_folder.h"

namespace tav {
namespace {

using tavtest::Bytes;

std::unique_ptr<ModelObject> onePath() {
  PathRecord r;
  r.entries = {{PATH_ID_SOURCE, {1, 2, 3}}, {7, {4, 5, 6}}, {PATH_ID_TARGET, {7, 8, 9}}};
  auto o = makeReflectionPath(r);
  writePathTimeAndEnergy(*o, 12.5f, {2, 3, 4, 5, 6, 7, 8});
  return o;
}

TEST(RayFile, OnePathFileHasTheDescribedBytes) {
  const auto path = onePath();
  const auto bytes = encodeRayFile({path.get()}, "Stage", 4.5);
  Bytes want;
  want.text("TAVIRON RAY FILE V1.10", 32);
  want.text("Stage", 80);
  const double mfp = 4.5;
  std::uint64_t bits;
  std::memcpy(&bits, &mfp, 8);
  want.u32(std::uint32_t(bits));
  want.u32(std::uint32_t(bits >> 32));
  want.zeros(8);
  // The object record: pointers 0, next 0 (last path), shape 1, flags 0,
  // colour 22, layer 5, 3 nodes, 3 entries, 68 data bytes.
  for (std::uint32_t v : {0u, 0u, 0u, 0u, 0u, 1u, 0u, 22u, 5u, 3u, 3u, 68u}) want.u32(v);
  want.f32(12.5f);
  for (float e : {2, 3, 4, 5, 6, 7, 8}) want.f32(e);
  want.zeros(28);
  want.u16(1);
  for (std::uint16_t id : {0xFFFE, 7, 0xFFFF}) want.u16(id);
  for (float c : {1, 2, 3, 4, 5, 6, 7, 8, 9}) want.f32(c);
  for (std::uint16_t e : {0, 0, 1, 1, 1, 2}) want.u16(e);
  EXPECT_EQ(bytes, want.b);

  const RayFileContent back = decodeRayFile(bytes);
  ASSERT_TRUE(back.valid);
  EXPECT_EQ(back.description, "Stage");
  EXPECT_EQ(back.meanFreePath, 4.5);
  ASSERT_EQ(back.paths.size(), 1u);
  EXPECT_EQ(back.paths[0]->data, path->data);
  EXPECT_EQ(back.paths[0]->nodes, path->nodes);
}

TEST(RayFile, DamagedFilesEndWithThePathsReadSoFar) {
  const auto a = onePath(), b = onePath();
  const auto bytes = encodeRayFile({a.get(), b.get()}, "", 1);
  // Cut inside the second record: the first path stays.
  const auto cut = decodeRayFile(std::span(bytes).first(bytes.size() - 10));
  EXPECT_TRUE(cut.valid);
  EXPECT_TRUE(cut.truncated);
  EXPECT_EQ(cut.paths.size(), 1u);
  // A count larger than the file ends the reading before allocating it.
  auto huge = bytes;
  huge[128 + 36] = 0xFF;
  huge[128 + 39] = 0x7F;
  const auto h = decodeRayFile(huge);
  EXPECT_TRUE(h.truncated);
  EXPECT_TRUE(h.paths.empty());
  // Another magic, or a file shorter than its header.
  auto other = bytes;
  other[8] = 'X';
  EXPECT_FALSE(decodeRayFile(other).valid);
  EXPECT_FALSE(decodeRayFile(std::span(bytes).first(100)).valid);
  // The header alone: a file of no path, whole.
  const auto empty = decodeRayFile(std::span(bytes).first(RAY_FILE_HEADER_SIZE));
  EXPECT_TRUE(empty.valid);
  EXPECT_FALSE(empty.truncated);
  // A record that is no path (a room face) is left out.
  auto face = bytes;
  face[128 + 32] = 0;  // layer 0
  const auto f = decodeRayFile(face);
  EXPECT_EQ(f.paths.size(), 1u);
  EXPECT_EQ(f.skipped, 1u);
  // So is a path whose first point is not a number (record 48 + data 68).
  auto nan = bytes;
  nan[128 + 48 + 68 + 2] = 0xC0;
  nan[128 + 48 + 68 + 3] = 0x7F;
  EXPECT_EQ(decodeRayFile(nan).skipped, 1u);
}

TEST(RayWorkFile, BufferFlushesBeforeARecordWouldNotFitAndTheFileGoes) {
  tavtest::TempFolder dir;
  std::filesystem::path name;
  {
    RayWorkFile f;
    ASSERT_TRUE(f.create(dir.path));
    name = f.path();
    EXPECT_TRUE(std::regex_match(name.filename().string(), std::regex("RF[0-9]+\\.TMP")));
    // Records of 3 reflections take 84 bytes: 761 fit into 64000 (63924).
    std::vector<std::uint8_t> records;
    std::vector<PathEntry> e(5);
    for (int i = 0; i < 762; ++i) appendPathRecord(records, {1, 2, 3}, e);
    ASSERT_TRUE(f.records(records));
    EXPECT_EQ(f.written(), 761u * 84u);
    ASSERT_TRUE(f.endOfSpeaker());
    EXPECT_EQ(f.written(), 762u * 84u);
    ASSERT_TRUE(f.close());
    ObjectList list;
    const WorkFileRead r = readWorkFile(name, list);
    EXPECT_EQ(r.paths, 762u);
    EXPECT_FALSE(std::filesystem::exists(name)) << "reading deletes it";
    RayWorkFile g;
    ASSERT_TRUE(g.create(dir.path));
    name = g.path();
  }
  EXPECT_FALSE(std::filesystem::exists(name)) << "the object takes its file along";
}

TEST(RayWorkFile, RecordsComeBackLastFirstUpToADamagedOne) {
  std::vector<std::uint8_t> bytes;
  std::vector<PathEntry> two(2), three(3);
  two[0].id = three[0].id = PATH_ID_SOURCE;
  three[1] = {5, {1, 1, 1}};
  appendPathRecord(bytes, {0, 0, 0}, two);
  appendPathRecord(bytes, {0, 0, 0}, three);
  bytes.insert(bytes.end(), {0x5C, 0x00, 0x01});  // 92 reflections: more than a path holds
  ObjectList list;
  const WorkFileRead r = readWorkRecords(bytes, list);
  EXPECT_EQ(r.paths, 2u);
  EXPECT_TRUE(r.damaged);
  ASSERT_EQ(list.countObjects(), 2u);
  EXPECT_EQ(readPathData(*list.head())->reflections, 1u);
}

}  // namespace
}  // namespace tav
