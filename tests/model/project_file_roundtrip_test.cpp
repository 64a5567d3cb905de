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
  tavtest::Bytes head;
  head.zeros(20).u32(33).u32(0xE0).zeros(16).u32(742);  // the last record, 742 data bytes
  EXPECT_TRUE(std::equal(head.b.begin(), head.b.end(), bytes.begin() + rec));
  EXPECT_EQ(bytes.size(), rec + 48 + 742 + 2 + 2 + 256 * p.materials.count());

  const ProjectLoadResult r = readProject(bytes);
  ASSERT_TRUE(r.ok());
  EXPECT_TRUE(r.project.objects.empty());
  EXPECT_TRUE(r.project.printHeader == p.printHeader);
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
