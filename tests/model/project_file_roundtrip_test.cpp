#include <gtest/gtest.h>

#include <cstring>

#include "mapping/map_file.h"
#include "model/le_io.h"
#include "model/project_file.h"
#include "project_bytes_builder.h"
#include "speakers/record_scrambling.h"

namespace tav {
namespace {

using tavtest::Buf;

ModelObject* addObject(Project& p, std::uint32_t layer, std::uint32_t shape, std::uint32_t flags,
                       std::uint32_t colour, std::vector<Node> nodes,
                       std::vector<IndexEntry> entries, std::vector<std::uint8_t> data = {}) {
  auto o = ObjectList::allocObject(0, 0, 0);
  o->layer = layer;
  o->shape = shape;
  o->flags = flags;
  o->colour = colour;
  o->nodes = std::move(nodes);
  o->indices = std::move(entries);
  o->data = std::move(data);
  return p.objects.appendObject(std::move(o));
}

// A project with objects on every kind of layer, as the reader would leave
// them (canonical colours), and everything else the file carries.
void fillProject(Project& p) {
  addObject(p, 0, SHAPE_SOLID, 0, 0, {{0, 0, 0}, {4, 0, 0}, {4, 3, 0}, {0, 3, 0}, {0, 0, 2}},
            {{0, 0}, {3, 1}, {1, 1}, {1, 2}, {2, 3}, {0, 0}, {3, 0}, {1, 1}, {2, 4}});
  addObject(p, 1, SHAPE_FACE, 0, 21, {{1, 1, 0.5f}, {2, 1, 0.5f}, {2, 2, 0.5f}},
            {{0, 0}, {3, 0}, {1, 1}, {2, 2}});
  Buf on = tavtest::speakerData(true);
  addObject(p, 2, SHAPE_LINE, 0, 12, {{1, 2, 3}}, {{0, 0}}, on);
  ModelObject* shape = addObject(p, 3, SHAPE_SOLID, OF_SPEAKER_SHAPE, 0,
                                 {{0, 0, 0}, {0.2f, 0, 0}, {0.2f, 0.3f, 0}, {1, 0, 0}, {0, 0, 1}},
                                 {{0, 0}, {3, 0}, {1, 1}, {2, 2}});
  addObject(p, 4, SHAPE_LINE, OF_HIDDEN, 0, {{1, 2, 3}, {5, 5, 1}}, {{0, 0}, {1, 1}});
  addObject(p, 7, SHAPE_TEXT, OF_CREATED, 40, {{0, 0, 0}, {1, 0, 0}}, {{0, 0}, {2, 1}});
  addObject(p, 12, SHAPE_GROUP_BEGIN, 0, 3, {}, {});
  addObject(p, 12, SHAPE_GROUP_END, 0, 3, {}, {});

  p.settings.rtMethod = RT_MEASUREMENT;
  p.settings.view = VIEW_XZ;
  p.settings.cursorSnap = 0.125f;
  p.settings.nodeSnapWidth = 33;
  p.settings.measuredRT = {2.1f, 2.0f, 1.9f, 1.8f, 1.7f, 1.6f, 1.5f};
  p.settings.gridSize = 0.5f;
  p.settings.calculation = {2, 3, -1, 6, 3, 1};
  setFixedString(p.layers[5].name, "RIGGING");
  p.layers[5].visible = 1;
  p.printHeader.carried[0] = 0x77;
  setFixedString(p.printHeader.rows[2].label, "Client");
  setFixedString(p.printHeader.rows[2].value, "City Hall");
  setFixedString(p.printHeader.freeLines[1], "second line");

  auto withShape = std::make_unique<SpeakerType>(
      decodeSpeakerType(std::span<const std::uint8_t, SPEAKER_TYPE_SIZE>(
          tavtest::plainSpeakerRecord("WS", 0, 5).data(), SPEAKER_TYPE_SIZE)));
  withShape->shape = shape;
  withShape->shapeReference = static_cast<std::int32_t>(p.objects.ordinalOf(shape));
  p.speakerTypes.push_back(std::move(withShape));
  auto plain = std::make_unique<SpeakerType>(resetSpeakerType());
  setFixedString(plain->name, "DEF");
  plain->shapeReference = -1;
  p.speakerTypes.push_back(std::move(plain));

  AbsorberMaterial m;
  setFixedString(m.name, "Carpet");
  m.alpha = {0.05f, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f};
  m.reserved228[3] = 9;
  p.materials.slots.push_back(m);
  const MapFileRead map = readMapBytes(tavtest::mapBlock());
  ASSERT_TRUE(map.ok());
  p.levelMap = map.map;
  p.description = map.description;
}

void expectSameProject(const Project& a, const Project& b) {
  ASSERT_EQ(a.objects.countObjects(), b.objects.countObjects());
  auto ia = a.objects.begin();
  auto ib = b.objects.begin();
  for (; ia != a.objects.end(); ++ia, ++ib) {
    SCOPED_TRACE(a.objects.ordinalOf(&*ia));
    EXPECT_EQ(ia->shape, ib->shape);
    EXPECT_EQ(ia->flags, ib->flags);
    EXPECT_EQ(ia->colour, ib->colour);
    EXPECT_EQ(ia->layer, ib->layer);
    EXPECT_EQ(ia->nodes, ib->nodes);
    EXPECT_EQ(ia->indices, ib->indices);
    EXPECT_EQ(ia->data, ib->data);
  }
  for (int i = 0; i < STORED_LAYER_COUNT; ++i) {
    if (i == 3 || i == 4 || i == 6 || i == 8) continue;  // switched off by loading
    EXPECT_EQ(a.layers[i], b.layers[i]) << "layer " << i;
  }
  EXPECT_EQ(a.settings, b.settings);
  EXPECT_TRUE(a.printHeader == b.printHeader);
  ASSERT_EQ(a.speakerTypes.size(), b.speakerTypes.size());
  for (std::size_t i = 0; i < a.speakerTypes.size(); ++i) {
    const SpeakerType& ta = *a.speakerTypes[i];
    const SpeakerType& tb = *b.speakerTypes[i];
    SpeakerType ca = ta, cb = tb;  // the check words are renewed by every save
    ca.checksum = cb.checksum = 0;
    ca.tailCheck = cb.tailCheck = 0;
    EXPECT_TRUE(ca == cb) << "type " << i;
    EXPECT_EQ(ta.shape ? a.objects.ordinalOf(ta.shape) : -1,
              tb.shape ? b.objects.ordinalOf(tb.shape) : -1);
  }
  EXPECT_TRUE(a.materials == b.materials);
  EXPECT_EQ(a.levelMap, b.levelMap);
  EXPECT_EQ(a.description, b.description);
}

TEST(ProjectFileRoundTrip, EveryFieldSurvivesWriteAndRead) {
  Project p;
  fillProject(p);
  const ProjectLoadResult r = readProject(writeProjectBytes(p));
  ASSERT_TRUE(r.ok()) << r.error.text;
  expectSameProject(p, r.project);
  // Shape with its orientation nodes: same count in memory as before saving.
  const ModelObject* shape = r.project.objects.objectAt(3);
  EXPECT_EQ(shape->nodeCount(), 5u);
  EXPECT_EQ(r.project.speakerTypes[0]->shape, shape);
  EXPECT_EQ(r.project.speakerTypes[1]->shape, nullptr);
}

TEST(ProjectFileRoundTrip, WriterStoresTheLayoutByteForByte) {
  Project p;
  fillProject(p);
  const Buf bytes = writeProjectBytes(p);
  // Header.
  EXPECT_EQ(std::memcmp(bytes.data(), "TAVIRON V2.80  \0", 16), 0);
  EXPECT_EQ(bytes[16], 3);
  EXPECT_EQ(bytes[20], 2);
  EXPECT_EQ(tavtest::get32(bytes, 22), 0x3E000000u);  // 0.125f
  EXPECT_EQ(bytes[26], 1);                            // coordinate snap on
  EXPECT_EQ(tavtest::get32(bytes, 62), 0x3F000000u);  // 0.5f
  EXPECT_EQ(bytes[90], 2);
  EXPECT_EQ(bytes[94], 0xFF);  // grid index -1
  // Layer 5 record.
  EXPECT_EQ(std::memcmp(bytes.data() + 102 + 5 * 24, "RIGGING", 8), 0);
  EXPECT_EQ(bytes[102 + 5 * 24 + 22], 1);
  // First object record: pointers 0, next 1.
  const std::size_t first = 102 + 384;
  for (std::size_t at : {0u, 8u, 12u, 16u}) EXPECT_EQ(tavtest::get32(bytes, first + at), 0u);
  EXPECT_EQ(tavtest::get32(bytes, first + 4), 1u);
  EXPECT_EQ(tavtest::get32(bytes, first + 20), SHAPE_SOLID);
  EXPECT_EQ(tavtest::get32(bytes, first + 36), 5u);
  EXPECT_EQ(tavtest::get32(bytes, first + 40), 9u);
  // The shape record stores 3 of its 5 nodes.
  std::size_t at = first;
  for (int i = 0; i < 3; ++i) {
    at += 48 + tavtest::get32(bytes, at + 44) + 12 * tavtest::get32(bytes, at + 36) +
          4 * tavtest::get32(bytes, at + 40);
  }
  EXPECT_EQ(tavtest::get32(bytes, at + 32), 3u);
  EXPECT_EQ(tavtest::get32(bytes, at + 36), 3u);
  // The type with a shape carries its ordinal 3; the other -1.
  ASSERT_EQ(p.materials.count(), 2u);
  const std::size_t materialsAt = bytes.size() - tavtest::mapBlock().size() - 2 - 2 * 256;
  const std::size_t typesAt = materialsAt - 2 * 19160;
  EXPECT_EQ(bytes[typesAt - 2], 2);
  Buf t(bytes.begin() + typesAt, bytes.begin() + typesAt + 19160);
  ASSERT_TRUE(unscrambleSpeakerRecord(
      std::span<std::uint8_t, SPEAKER_TYPE_SIZE>(t.data(), SPEAKER_TYPE_SIZE)));
  EXPECT_EQ(tavtest::get32(t, 196), 3u);
  EXPECT_EQ(std::memcmp(t.data() + 21, "WS", 3), 0);
  Buf u(bytes.begin() + typesAt + 19160, bytes.begin() + materialsAt);
  ASSERT_TRUE(unscrambleSpeakerRecord(
      std::span<std::uint8_t, SPEAKER_TYPE_SIZE>(u.data(), SPEAKER_TYPE_SIZE)));
  EXPECT_EQ(tavtest::get32(u, 196), 0xFFFFFFFFu);
  // Materials and map at the end.
  EXPECT_EQ(bytes[materialsAt], 2);
  EXPECT_EQ(std::memcmp(bytes.data() + materialsAt + 2, "100%", 5), 0);
  EXPECT_EQ(std::memcmp(bytes.data() + materialsAt + 2 + 256, "Carpet", 7), 0);
  EXPECT_EQ(bytes[materialsAt + 2 + 256 + 228 + 3], 9);
  // The map written anew from the parsed map gives the same bytes.
  const Buf map = tavtest::mapBlock();
  ASSERT_GE(bytes.size(), map.size());
  EXPECT_TRUE(std::equal(bytes.end() - static_cast<long>(map.size()), bytes.end(), map.begin()));
}

TEST(ProjectFileRoundTrip, CanonicalFileConvertsToTheSameBytes) {
  const tavtest::SampleFile file = tavtest::sampleV280(true);
  const ProjectLoadResult r = readProject(file.bytes);
  ASSERT_TRUE(r.ok()) << r.error.text;
  const Buf written = writeProjectBytes(r.project);
  ASSERT_EQ(written.size(), file.bytes.size());
  for (std::size_t i = 0; i < written.size(); ++i)
    ASSERT_EQ(written[i], file.bytes[i]) << "offset " << i;

  // A file with stray pointer fields and raw colours converts to the same
  // canonical file.
  const ProjectLoadResult raw = readProject(tavtest::sampleV280(false).bytes);
  ASSERT_TRUE(raw.ok());
  EXPECT_EQ(writeProjectBytes(raw.project), file.bytes);
}

TEST(ProjectFileRoundTrip, EmptyModelKeepsItsPrintHeader) {
  Project p;
  setFixedString(p.printHeader.rows[0].label, "Title");
  setFixedString(p.printHeader.rows[0].value, "Empty room");
  p.printHeader.carried[161] = 0x42;
  const Buf bytes = writeProjectBytes(p);
  // One record: the pseudo-object, last, shape 33, flags 0xE0, 742 bytes.
  const std::size_t rec = 102 + 384;
  EXPECT_EQ(tavtest::get32(bytes, rec + 4), 0u);
  EXPECT_EQ(tavtest::get32(bytes, rec + 20), 33u);
  EXPECT_EQ(tavtest::get32(bytes, rec + 24), 0xE0u);
  EXPECT_EQ(tavtest::get32(bytes, rec + 36), 0u);
  EXPECT_EQ(tavtest::get32(bytes, rec + 40), 0u);
  EXPECT_EQ(tavtest::get32(bytes, rec + 44), 742u);
  EXPECT_EQ(bytes.size(), rec + 48 + 742 + 2 + 2 + 256 * p.materials.count());

  const ProjectLoadResult r = readProject(bytes);
  ASSERT_TRUE(r.ok());
  EXPECT_TRUE(r.project.objects.empty());
  EXPECT_TRUE(r.project.printHeader == p.printHeader);
  EXPECT_STREQ(r.project.printHeader.rows[0].value, "Empty room");
  EXPECT_TRUE(r.project.materials == p.materials);
}

TEST(ProjectFileRoundTrip, ScrambledTypePassesAfterWriteAndRead) {
  Project p;
  auto t = std::make_unique<SpeakerType>(resetSpeakerType());
  setFixedString(t->name, "KEEP");
  t->sensitivity.fill(97.5f);
  t->tail[10] = 0x33;  // part of the record key
  p.speakerTypes.push_back(std::move(t));
  const Buf bytes = writeProjectBytes(p);
  ProjectLoadResult r = readProject(bytes);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.resetSpeakerTypes, 0u);
  EXPECT_STREQ(r.project.speakerTypes[0]->name, "KEEP");
  EXPECT_FLOAT_EQ(r.project.speakerTypes[0]->sensitivity[3], 97.5f);

  // One flipped byte inside the stored record makes it the reset type.
  const std::size_t typeAt = 102 + 384 + 48 + 742 + 2;
  for (std::size_t offset : {std::size_t{25}, std::size_t{470}, std::size_t{19000}}) {
    Buf damaged = bytes;
    damaged[typeAt + offset] ^= 0x80;
    r = readProject(damaged);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.resetSpeakerTypes, 1u) << offset;
    EXPECT_TRUE(*r.project.speakerTypes[0] == resetSpeakerType()) << offset;
  }
}

}  // namespace
}  // namespace tav
