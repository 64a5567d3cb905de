// Shape files of the three header kinds, shape data and the default shape.
#include "speakers/speaker_shape.h"

#include <gtest/gtest.h>

#include "speaker_test_files.h"

namespace tav {
namespace {

using test::append;
using test::putF32;
using test::putU16;
using test::putU32;

// An older project-layout shape file: 102-byte header, layer table, 40-byte
// records with packed entries. Records on layers 0 and 2 are taken; one on
// layer 3 (with a data block) is skipped.
std::vector<std::uint8_t> oldLayoutFile(const std::string& magic) {
  std::vector<std::uint8_t> f(102 + 384, 0);
  test::putText(f, 0, magic);
  auto record = [&](int layer, const std::vector<std::array<float, 3>>& nodes,
                    const std::vector<std::pair<int, int>>& entries, int dataSize, bool more) {
    std::vector<std::uint8_t> r(40 + dataSize + nodes.size() * 12 + entries.size() * 2, 0x5A);
    std::fill(r.begin(), r.begin() + 40, 0);
    putU32(r, 4, more ? 1 : 0);
    putU32(r, 20, 16);
    putU16(r, 32, layer);
    putU16(r, 34, nodes.size());
    putU16(r, 36, entries.size());
    putU16(r, 38, dataSize);
    std::size_t at = 40 + dataSize;
    for (const auto& n : nodes)
      for (float v : n) {
        putF32(r, at, v);
        at += 4;
      }
    for (const auto& e : entries) {
      putU16(r, at, e.first | e.second << 2);
      at += 2;
    }
    append(f, r);
  };
  record(0, {{0, 0, 0}, {1, 0, 0}}, {{0, 0}, {1, 1}}, 0, true);
  record(3, {{9, 9, 9}}, {{0, 0}}, 6, true);
  record(2, {{0, 0, 5}, {0, 5, 5}, {5, 5, 5}}, {{0, 0}, {3, 7}, {1, 1}, {2, 2}}, 0, false);
  return f;
}

TEST(SpeakerShape, OlderProjectLayoutsTakeLayers0To2) {
  for (const std::string magic : {"BRESKA V1.27", "TAVIRON V2.80  "}) {
    ShapeFileResult r = parseShapeFile(oldLayoutFile(magic));
    ASSERT_TRUE(r.shape) << magic;
    ASSERT_EQ(r.shape->nodeCount(), 2u + 3u + 2u);
    EXPECT_EQ(r.shape->nodes[2], (Node{0, 0, 5}));
    const std::vector<IndexEntry> entries = {{0, 0}, {1, 1}, {0, 2}, {3, 7}, {1, 3}, {2, 4}};
    EXPECT_EQ(r.shape->indices, entries);
  }
}

TEST(SpeakerShape, UnknownOrDamagedFilesGiveTheDefaultShapeWithAMessage) {
  std::vector<std::uint8_t> f = oldLayoutFile("BRESKA V2.00");
  ShapeFileResult r = parseShapeFile(f);
  EXPECT_FALSE(r.shape);
  EXPECT_EQ(r.message.text, "Invalid file format !");

  // A node reference beyond its record, and a file cut short.
  f = oldLayoutFile("BRESKA V1.27");
  std::vector<std::uint8_t> badRef = f;
  putU16(badRef, badRef.size() - 2, 2 | 3 << 2);  // node 3 of a 3-node record
  EXPECT_FALSE(parseShapeFile(badRef).shape);
  for (std::size_t cut : {std::size_t(20), std::size_t(500), f.size() - 1})
    EXPECT_FALSE(parseShapeFile(std::span(f).first(cut)).shape) << cut;

  EXPECT_FALSE(readShapeFile("/nonexistent/x.scf").opened);
}

TEST(SpeakerShape, ShapeDataRoundTripAndDefenceAgainstBadCounts) {
  auto shape =
      makeSpeakerShape({{0, 0, 0}, {1, 2, 3}, {4, 5, 6}}, {{0, 0}, {3, 1}, {1, 1}, {2, 2}});
  const std::vector<std::uint8_t> bytes = encodeShapeData(*shape);
  EXPECT_EQ(bytes, test::shapeData(
                       {{{{0, 0, 0}, {1, 2, 3}, {4, 5, 6}}, {{0, 0}, {3, 1}, {1, 1}, {2, 2}}}}));
  auto back = readShapeData(bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->indices, shape->indices);

  std::vector<std::uint8_t> huge = bytes;
  putU32(huge, 36, 0x7FFFFFFF);  // node count
  EXPECT_FALSE(readShapeData(huge));
  EXPECT_FALSE(readShapeData(std::span(bytes).first(bytes.size() - 1)));
  std::vector<std::uint8_t> more = bytes;
  putU32(more, 4, 1);  // claims a further record that is not there
  EXPECT_FALSE(readShapeData(more));
}

TEST(SpeakerShape, DefaultShapeIsTheCabinetWithItsCircle) {
  const ModelObject& d = defaultSpeakerShape();
  ASSERT_EQ(d.nodeCount(), 36u + 8u + 2u);  // the direction nodes: the geometry test
  // Two opposite corners of the box: x -0.15 .. 0.149, y +-0.199, z +-0.299.
  EXPECT_EQ(d.nodes[36], (Node{-0.15f, -0.199f, -0.299f}));
  EXPECT_EQ(d.nodes[42], (Node{0.149f, 0.199f, 0.299f}));
  // The circle is one closed face of 36 entries; then six closed faces.
  EXPECT_EQ(d.indices[35], (IndexEntry{IDX_CLOSE, 35}));
  EXPECT_EQ(faceStarts(d).size(), 7u);
  // Each box face points outwards: its area vector along the face's centre.
  for (std::size_t start : faceStarts(d)) {
    if (start == 0) continue;
    const Vec3d n = faceAreaVector(d, start);
    Vec3d c{};
    int k = 0;
    for (std::size_t e = start; e < d.indices.size(); ++e) {
      if (d.indices[e].code == IDX_MATERIAL) continue;
      c += toVec(d.nodes[d.indices[e].ref]);
      ++k;
      if (d.indices[e].code == IDX_CLOSE) break;
    }
    EXPECT_GT(dot(n, c * (1.0 / k)), 0) << "face at entry " << start;
  }
}

}  // namespace
}  // namespace tav
