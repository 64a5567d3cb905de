// Room faces in EASE 2.x and 3.x files: reading written-out files and writing
// against text built here, each turning the faces round.
#include "exchange/ease_faces.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/ease_text.h"
#include "model/object_list.h"
#include "support/model_builders.h"

namespace tav {
namespace {

// A line "x,y,z" the way "%f,%f,%f" writes it.
std::string xyz(int x, int y, int z) {
  return std::to_string(x) + ".000000," + std::to_string(y) + ".000000," + std::to_string(z) +
         ".000000\n";
}

// The nodes of a face in drawing order (start, then each entry after the
// material entry).
std::vector<Node> outline(const ModelObject& o) {
  std::vector<Node> out;
  for (const IndexEntry& e : o.indices)
    if (e.code != IDX_MATERIAL) out.push_back(o.nodes.at(e.ref));
  return out;
}

using Nodes = std::vector<Node>;

// A face object over the nodes in this drawing order.
std::unique_ptr<ModelObject> face(const Nodes& nodes, std::uint32_t shape = SHAPE_FACE) {
  auto o = test::makeFace(nodes);
  o->shape = shape;
  return o;
}

TEST(EaseFacesRead, V2FaceIsTheRoomFaceOfItsNodesTurnedRound) {
  const EaseFaceImport r = readEaseFacesV2(xyz(0, 0, 0) + xyz(4, 0, 0) + xyz(4, 3, 0) +
                                           xyz(0, 3, 0) + "0\n0\n0\n0\n0\n0\n");
  ASSERT_EQ(r.faces.size(), 1u);
  const ModelObject& f = *r.faces[0];
  EXPECT_EQ(f.shape, SHAPE_FACE);
  EXPECT_EQ(f.layer, LAYER_ROOM);
  EXPECT_EQ(f.nodes, Nodes({{0, 0, 0}, {4, 0, 0}, {4, 3, 0}, {0, 3, 0}}));
  // The start node stays; the others are reversed; codes stay where they are.
  const std::vector<IndexEntry> expected = {
      {IDX_START, 0}, {IDX_MATERIAL, 0}, {IDX_LINE, 3}, {IDX_LINE, 2}, {IDX_CLOSE, 1}};
  EXPECT_EQ(f.indices, expected);
}

struct V2Case {
  const char* name;
  std::string text;
  std::vector<std::size_t> faceSizes;
  std::size_t skipped, dropped;
};

std::string tenNodes(int z) {
  std::string s;
  for (int i = 0; i < 10; ++i) s += xyz(i, i * i, z);
  return s;
}

TEST(EaseFacesRead, V2FacesEndAtTheirZeroLinesOrTheirTenthNode) {
  const std::vector<V2Case> cases = {
      // The tenth node ends the face; the next line starts the next one.
      {"ten nodes without zero",
       tenNodes(1) + xyz(0, 0, 2) + xyz(1, 0, 2) + xyz(1, 1, 2) + "0\n",
       {10, 3},
       0,
       0},
      {"repeated zeros make no empty faces",
       "0\n0\n" + xyz(0, 0, 0) + xyz(1, 0, 0) + xyz(1, 1, 0) + "0\n0\n0\n" + xyz(5, 0, 0) +
           xyz(6, 0, 0) + xyz(6, 1, 0) + "0\n",
       {3, 3},
       0,
       0},
      {"carriage returns", "1,0,0\r\n2,0,0\r\n2,2,0\r\n0\r\n", {3}, 0, 0},
      {"unreadable lines skipped and counted",
       xyz(0, 0, 0) + "1.0;2.0;3.0\n" + xyz(1, 0, 0) + "\n  \n" + xyz(1, 1, 0) + "0.5\n0\n",
       {3},
       2,
       0},
      {"fewer than three nodes left out",
       xyz(0, 0, 0) + xyz(1, 0, 0) + "0\n" + xyz(9, 9, 9) + "0\n",
       {},
       0,
       2},
      {"coordinates beyond a float skipped",
       xyz(0, 0, 0) + "1e39,0,0\n" + xyz(1, 0, 0) + xyz(1, 1, 0) + "0\n",
       {3},
       1,
       0},
      {"last face without its zeros kept", xyz(0, 0, 0) + xyz(1, 0, 0) + xyz(1, 1, 0), {3}, 0, 0},
  };
  for (const V2Case& c : cases) {
    SCOPED_TRACE(c.name);
    const EaseFaceImport r = readEaseFacesV2(c.text);
    std::vector<std::size_t> sizes;
    for (const auto& f : r.faces) {
      sizes.push_back(f->nodes.size());
      EXPECT_EQ(f->indices.size(), f->nodes.size() + 1);
      EXPECT_EQ(f->indices.back().code, IDX_CLOSE);
    }
    EXPECT_EQ(sizes, c.faceSizes);
    EXPECT_EQ(r.skippedLines, c.skipped);
    EXPECT_EQ(r.droppedFaces, c.dropped);
  }
}

const std::string V3_HEADER = "\"Filetype\",\"Faces\"\n\"Format\",3,0\n\"LengthUnit\",\"m\"\n";

TEST(EaseFacesRead, V3FacesBetweenMaterialAndEndWithCommentsAndUnreadableLines) {
  const std::string text = "; exported\n" + V3_HEADER + "stray line before a face\n" +
                           "\"Material\",\"Wood\"\n" + xyz(0, 0, 0) + "; a comment\n" +
                           xyz(0, 2, 0) + "not a node\n" + xyz(0, 2, 3) + "\"End\"\n" +
                           "\"Material\",\"Absorber\"\n" + xyz(1, 1, 1) + xyz(2, 1, 1) +
                           xyz(2, 2, 1) + xyz(1, 2, 1) + "\"End\"\n";
  const EaseFaceImport r = readEaseFacesV3(text);
  EXPECT_FALSE(r.headerMissing);
  ASSERT_EQ(r.faces.size(), 2u);
  EXPECT_EQ(outline(*r.faces[0]), Nodes({{0, 0, 0}, {0, 2, 3}, {0, 2, 0}}));
  EXPECT_EQ(r.faces[1]->nodes.size(), 4u);
  EXPECT_EQ(r.skippedLines, 1u);
  EXPECT_EQ(easeFaceImportReport(r).text,
            "1 line inside faces did not hold three numbers and were skipped.");
}

TEST(EaseFacesRead, V3WithoutLengthUnitHasNoHeader) {
  const EaseFaceImport r =
      readEaseFacesV3("\"Filetype\",\"Faces\"\n\"Material\",\"A\"\n" + xyz(0, 0, 0) + xyz(1, 0, 0) +
                      xyz(1, 1, 0) + "\"End\"\n");
  EXPECT_TRUE(r.headerMissing);
  EXPECT_TRUE(r.faces.empty());
}

TEST(EaseFacesRead, V3FaceLargerThanTheClassicBufferKeepsEveryNode) {
  std::string text = V3_HEADER + "\"Material\",\"Absorber\"\n";
  for (int i = 0; i < 400; ++i) text += xyz(i, i % 7, 0);
  const EaseFaceImport r = readEaseFacesV3(text + "\"End\"\n");
  ASSERT_EQ(r.faces.size(), 1u);
  EXPECT_EQ(r.faces[0]->nodes.size(), 400u);
  EXPECT_EQ(r.faces[0]->indices[2].ref, 399);
}

TEST(EaseFacesRead, FacesGoInFrontOfTheModelLastReadFirst) {
  ObjectList list;
  ModelObject* old = list.appendObject(face(Nodes({{9, 9, 9}, {8, 9, 9}, {8, 8, 9}})));
  EaseFaceImport r = readEaseFacesV2(xyz(1, 0, 0) + xyz(1, 1, 0) + xyz(1, 1, 1) + "0\n" +
                                     xyz(2, 0, 0) + xyz(2, 1, 0) + xyz(2, 1, 1) + "0\n");
  EXPECT_EQ(insertImportedFaces(list, r), 2u);
  std::vector<float> firstX;
  for (const ModelObject& o : list) firstX.push_back(o.nodes[0].x);
  EXPECT_EQ(firstX, (std::vector<float>{2, 1, 9}));
  EXPECT_EQ(list.tail(), old);
}

TEST(EaseFacesWrite, V2FillsEachFaceToTenLinesAndLeavesPolylinesOut) {
  auto square = face(Nodes({{0, 0, 0}, {4, 0, 0}, {4, 3, 0}, {0, 3, 0}}));
  auto polyline = face(Nodes({{7, 7, 7}, {8, 8, 8}, {9, 9, 9}}), SHAPE_POLYLINE);
  std::vector<Node> ten;
  for (int i = 0; i < 10; ++i) ten.push_back({float(i), 0, 5});
  auto decagon = face(ten, SHAPE_SOLID);
  const std::vector<const ModelObject*> objects = {square.get(), polyline.get(), decagon.get()};
  const EaseFaceExport e = writeEaseFacesV2(objects);
  ASSERT_FALSE(e.tooLarge);
  EXPECT_EQ(e.faces, 2u);
  std::string expected =
      xyz(0, 0, 0) + xyz(0, 3, 0) + xyz(4, 3, 0) + xyz(4, 0, 0) + "0\n0\n0\n0\n0\n0\n";
  expected += xyz(0, 0, 5);
  for (int i = 9; i >= 1; --i) expected += xyz(i, 0, 5);
  EXPECT_EQ(e.text, expected);
}

TEST(EaseFacesWrite, V2RefusesAFaceOfElevenNodes) {
  std::vector<Node> eleven;
  for (int i = 0; i < 11; ++i) eleven.push_back({float(i), float(i % 2), 0});
  auto big = face(eleven);
  auto small = face(Nodes({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}));
  const std::vector<const ModelObject*> objects = {small.get(), big.get()};
  EXPECT_TRUE(writeEaseFacesV2(objects).tooLarge);
}

TEST(EaseFacesWrite, V3WritesHeaderMaterialNodesAndEnd) {
  auto triangle = face(Nodes({{0, 0, 0}, {2, 0, 0}, {2, 1, 0}}));
  const std::vector<const ModelObject*> objects = {triangle.get()};
  const EaseFaceExport e = writeEaseFacesV3(objects);
  EXPECT_EQ(e.text, V3_HEADER + "\"Material\",\"Absorber\"\n" + xyz(0, 0, 0) + xyz(2, 1, 0) +
                        xyz(2, 0, 0) + "\"End\"\n");
  EXPECT_EQ(withEaseExtension("room", ".xfc"), "room.xfc");
  EXPECT_EQ(withEaseExtension("room.XFC", ".xfc"), "room.XFC");
}

}  // namespace
}  // namespace tav
