#include <gtest/gtest.h>

#include "model/project_file.h"
#include "project_bytes_builder.h"

namespace tav {
namespace {

using tavtest::Buf;

std::vector<const ModelObject*> objectsOf(const Project& p) {
  std::vector<const ModelObject*> v;
  for (const ModelObject& o : p.objects) v.push_back(&o);
  return v;
}

std::vector<std::uint32_t> coloursOf(const Project& p) {
  std::vector<std::uint32_t> v;
  for (const ModelObject& o : p.objects) v.push_back(o.colour);
  return v;
}

void expectSameGeometry(const ModelObject& o, const tavtest::TObject& t) {
  std::vector<Node> nodes;
  for (const auto& n : t.nodes) nodes.push_back({n[0], n[1], n[2]});
  std::vector<IndexEntry> entries;
  for (const auto& [code, ref] : t.entries) entries.push_back({code, ref});
  ASSERT_GE(o.nodes.size(), nodes.size());
  EXPECT_EQ(std::vector<Node>(o.nodes.begin(), o.nodes.begin() + nodes.size()), nodes);
  EXPECT_EQ(o.indices, entries);
  EXPECT_EQ(o.data, t.data);
  EXPECT_EQ(o.shape, t.shape);
}

TEST(ProjectFileRead, CurrentLayoutBuiltByHand) {
  const tavtest::SampleFile file = tavtest::sampleV280(false);
  const ProjectLoadResult r = readProject(file.bytes);
  ASSERT_TRUE(r.ok()) << r.error.text;
  EXPECT_EQ(r.format, "TAVIRON V2.80");
  EXPECT_EQ(r.version, 280);
  const Project& p = r.project;

  // Settings from the header.
  EXPECT_EQ(p.settings.rtMethod, RT_FITZROY);
  EXPECT_EQ(p.settings.view, VIEW_YZ);
  EXPECT_FLOAT_EQ(p.settings.cursorSnap, 0.25f);
  EXPECT_FLOAT_EQ(p.settings.nodeSnapWidth, 12.0f);
  EXPECT_FLOAT_EQ(p.settings.measuredRT[6], 0.75f);
  EXPECT_FLOAT_EQ(p.settings.gridSize, 2.5f);
  const CalculationOptions expectedOptions{3, -1, 4, 5, 1, 3};
  EXPECT_EQ(p.settings.calculation, expectedOptions);

  // Layers: as stored, then 3, 4, 6 and 8 switched off; 16..31 default.
  EXPECT_STREQ(p.layers[0].name, "LAYER 1");
  EXPECT_EQ(p.layers[5].visible, 1);
  EXPECT_EQ(p.layers[4].visible, 0);
  EXPECT_EQ(p.layers[9].visible, 0);

  // Objects in file order, the pseudo-object gone, colours set by layer.
  const auto objects = objectsOf(p);
  ASSERT_EQ(objects.size(), file.objects.size());
  for (std::size_t i = 0; i < objects.size(); ++i) {
    SCOPED_TRACE(i);
    expectSameGeometry(*objects[i], file.objects[i]);
    EXPECT_EQ(objects[i]->layer, file.objects[i].layer);
  }
  // Room (stored 5), audience (3), loudspeaker on (27) and off (12), the
  // shape, the aim line (22), aux and text keep theirs.
  EXPECT_EQ(coloursOf(p), (std::vector<std::uint32_t>{0, 21, 12, 0, 9, 0, 14, 33}));
  EXPECT_EQ(objects[0]->flags, 0x01u);
  EXPECT_EQ(objects[5]->flags, 0x80u);  // aim line: hidden
  // The shape carries its two orientation nodes in memory.
  ASSERT_EQ(objects[4]->nodeCount(), 10u);
  EXPECT_EQ(objects[4]->nodes[8], (Node{1, 0, 0}));
  EXPECT_EQ(objects[4]->nodes[9], (Node{0, 0, 1}));

  // Print header from the pseudo-object.
  Buf expectedHeader = tavtest::printHeaderBlock("Hall");
  EXPECT_EQ(p.printHeader.carried[1], expectedHeader[1]);
  EXPECT_STREQ(p.printHeader.rows[0].value, "Hall");
  EXPECT_STREQ(p.printHeader.rows[7].value, "1:100");
  EXPECT_STREQ(p.printHeader.freeLines[3], "last free line");

  // Types: unscrambled, shapes resolved by ordinal.
  ASSERT_EQ(p.speakerTypes.size(), 2u);
  EXPECT_EQ(r.resetSpeakerTypes, 0u);
  EXPECT_STREQ(p.speakerTypes[0]->description, "Test cabinet T1");
  EXPECT_EQ(p.speakerTypes[0]->shape, objects[4]);
  EXPECT_EQ(p.speakerTypes[1]->shape, nullptr);
  const Buf plainT2 = tavtest::plainSpeakerRecord("T2", -1, 2);
  EXPECT_EQ(p.speakerTypes[1]->grids[5].at(20, 30), plainT2[512 + 2664 * 5 + 20 * 72 + 30]);

  // Materials and the map block.
  ASSERT_EQ(p.materials.count(), 2u);
  EXPECT_STREQ(p.materials.slots[1].name, "Concrete");
  EXPECT_FLOAT_EQ(p.materials.slots[1].alpha[6], 0.08f);
  EXPECT_EQ(p.storedMapBlock, tavtest::mapBlock());
  ASSERT_TRUE(p.hasCalculationResult());
  EXPECT_EQ(p.levelMap->points.size(), 2u);
  EXPECT_EQ(p.description, "Main hall");
  EXPECT_FALSE(p.modified);
}

TEST(ProjectFileRead, ShapeOrdinalsThatDoNotNameAShapeGiveTheDefaultShape) {
  // Ordinal 8 is the removed pseudo-object, 99 is past the end, 0 is a room
  // face (not a loudspeaker shape), -7 is negative.
  for (std::int32_t ordinal : {8, 99, 0, -7}) {
    tavtest::SampleFile file = tavtest::sampleV280(true);
    Buf t1 = tavtest::testScramble(tavtest::plainSpeakerRecord("T1", ordinal, 1));
    std::copy(t1.begin(), t1.end(), file.bytes.begin() + file.typesAt + 2);
    const ProjectLoadResult r = readProject(file.bytes);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.project.speakerTypes[0]->shape, nullptr) << ordinal;
  }
}

TEST(ProjectFileRead, Version200IsReadWrongMagicsAreInvalid) {
  tavtest::THeader v200;
  v200.magic = "TAVIRON V2.00  ";
  const ProjectLoadResult r200 = readProject(tavtest::sampleV280(true, v200).bytes);
  ASSERT_TRUE(r200.ok());
  EXPECT_EQ(r200.version, 200);
  EXPECT_EQ(r200.project.speakerTypes.size(), 2u);

  for (const char* magic : {"TAVIRON V1.50  ", "TAVIRON V1.27x ", "TAVIRON V1.2   ",
                            "TAVIRXN V2.80  ", "taviron V2.80  ", "TAVIRON Vx.yz  "}) {
    tavtest::THeader h;
    h.magic = magic;
    const ProjectLoadResult r = readProject(tavtest::sampleV280(true, h).bytes);
    EXPECT_EQ(r.error.text, "Invalid file format !") << magic;
    EXPECT_TRUE(r.project.objects.empty());
  }
  EXPECT_EQ(readProject({}).error.text, "Invalid file format !");
}

TEST(ProjectFileRead, MapBlockNeedsItsMagicAndAWholeHeader) {
  tavtest::SampleFile file = tavtest::sampleV280(true);
  Buf shortMap(file.bytes.begin(), file.bytes.begin() + file.mapAt + 127);
  ProjectLoadResult r = readProject(shortMap);
  ASSERT_TRUE(r.ok());
  EXPECT_FALSE(r.project.hasCalculationResult());

  file.bytes[file.mapAt + 8] = 'X';  // "TAVIRON XAP..."
  r = readProject(file.bytes);
  ASSERT_TRUE(r.ok());
  EXPECT_FALSE(r.project.hasCalculationResult());
  EXPECT_TRUE(r.project.storedMapBlock.empty());
}

TEST(ProjectFileRead, LegacyLayoutBuiltByHand) {
  tavtest::Bytes out;
  tavtest::THeader h;
  h.magic = "TAVIRON V1.27  ";
  h.grid = 7.5f;  // not taken from this layout
  tavtest::putHeader(out, h);
  tavtest::putLayers(out, {0, 1, 2, 3});
  std::vector<tavtest::TObject> objects = tavtest::sampleObjects(false);
  objects[4].entries.push_back({1, 7});  // an edge to the last stored node
  for (const auto& o : objects) tavtest::putLegacyObject(out, o, false);
  tavtest::putLegacyObject(out, tavtest::printHeaderObject(tavtest::printHeaderBlock("Old")), true);
  out.i16(1);
  out.raw(tavtest::oldSpeakerRecord("OLD1", 4));
  out.i16(1);
  out.raw(tavtest::materialRecord("100%", 1.0f));

  const ProjectLoadResult r = readProject(out.b);
  ASSERT_TRUE(r.ok()) << r.error.text;
  EXPECT_EQ(r.format, "TAVIRON V1.27");
  const Project& p = r.project;
  const auto list = objectsOf(p);
  ASSERT_EQ(list.size(), objects.size());
  for (std::size_t i = 0; i < list.size(); ++i) {
    SCOPED_TRACE(i);
    expectSameGeometry(*list[i], objects[i]);
  }
  // Layer 2 keeps its stored colour in this layout.
  EXPECT_EQ(coloursOf(p), (std::vector<std::uint32_t>{0, 21, 27, 12, 9, 0, 14, 33}));
  EXPECT_EQ(list[4]->nodeCount(), 10u);
  EXPECT_EQ(list[5]->flags, 0x80u);
  EXPECT_FLOAT_EQ(p.settings.gridSize, ProjectSettings{}.gridSize);
  EXPECT_EQ(p.settings.view, VIEW_YZ);
  EXPECT_STREQ(p.printHeader.rows[0].value, "Old");
  EXPECT_EQ(p.layers[3].visible, 0);

  // The older embedded type, widened (the conversion is the record's own
  // test), not checked, linked to its shape.
  ASSERT_EQ(p.speakerTypes.size(), 1u);
  EXPECT_EQ(r.convertedSpeakerTypes, 1u);
  EXPECT_EQ(p.speakerTypes[0]->shape, list[4]);
  EXPECT_EQ(p.materials.count(), 1u);
}

TEST(ProjectFileRead, OlderTypeInCurrentFileIsConvertedAndSavedAsCurrent) {
  tavtest::SampleFile file = tavtest::sampleV280(true);
  Buf bytes(file.bytes.begin(), file.bytes.begin() + file.typesAt);
  tavtest::Bytes tail;
  tail.i16(1).raw(tavtest::oldSpeakerRecord("OLD2", -1)).i16(0);
  bytes.insert(bytes.end(), tail.b.begin(), tail.b.end());
  ProjectLoadResult r = readProject(bytes);
  ASSERT_TRUE(r.ok()) << r.error.text;
  ASSERT_EQ(r.project.speakerTypes.size(), 1u);
  EXPECT_EQ(r.project.speakerTypes[0]->layoutFlag, 2);

  // Written back it is a protected current record that passes its check.
  const ProjectLoadResult again = readProject(writeProjectBytes(r.project));
  ASSERT_TRUE(again.ok());
  EXPECT_EQ(again.convertedSpeakerTypes, 0u);
  EXPECT_EQ(again.resetSpeakerTypes, 0u);
  SpeakerType saved = *again.project.speakerTypes[0];
  saved.checksum = saved.tailCheck = 0;  // filled by the save
  EXPECT_NE(again.project.speakerTypes[0]->checksum, 0u);
  EXPECT_TRUE(saved == *r.project.speakerTypes[0]);
}

TEST(ProjectFileRead, DamagedTypeBecomesTheResetType) {
  tavtest::SampleFile file = tavtest::sampleV280(true);
  file.bytes[file.typesAt + 2 + 19160 + 600] ^= 0x01;  // inside T2's grids
  const ProjectLoadResult r = readProject(file.bytes);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.resetSpeakerTypes, 1u);
  EXPECT_TRUE(*r.project.speakerTypes[1] == resetSpeakerType());
  EXPECT_EQ(r.project.speakerTypes[1]->shape, nullptr);
}

}  // namespace
}  // namespace tav
