// Loudspeaker shapes: ".scf" files under each of their headers and the shape
// data behind database records. Whatever the bytes, a shape that is made
// only refers to its own nodes and survives being written and read again.
#include <cstdint>
#include <span>

#include "fuzz/fuzz_support.h"
#include "model/le_io.h"
#include "speakers/speaker_shape.h"

namespace {

using namespace tav;

const std::vector<Node> TRIANGLE = {{0, 0, 0}, {0.2f, 0, 0}, {0, 0.2f, 0}};

void checkShape(const ModelObject& shape) {
  fuzz::check(isUsableShape(shape), "a shape holds its direction nodes");
  fuzz::check(shape.nodes.size() <= MAX_OBJECT_NODES, "a shape fits the node limit");
  for (const IndexEntry& e : shape.indices)
    fuzz::check(e.code == IDX_MATERIAL || e.ref < shape.nodes.size(),
                "entries refer to the shape's own nodes");
  const auto again = readShapeData(encodeShapeData(shape));
  fuzz::check(again && again->nodes.size() == shape.nodes.size() &&
                  again->indices.size() == shape.indices.size(),
              "a shape written as shape data reads back whole");
}

std::vector<std::uint8_t> shapeFileSeed() {
  LeWriter w;
  w.fixedText(SHAPE_MAGIC, SHAPE_FILE_HEADER_SIZE);
  w.zeros(SHAPE_LAYER_TABLE_SIZE);
  w.u16(3);  // nodes
  w.u16(3);  // entries
  w.zeros(10);
  w.u32(0);  // next: the last record
  for (const Node& n : TRIANGLE) {
    w.f32(n.x);
    w.f32(n.y);
    w.f32(n.z);
  }
  for (std::uint16_t k = 0; k < 3; ++k) {
    w.u16(k == 0 ? IDX_START : k == 1 ? IDX_LINE : IDX_CLOSE);
    w.u16(k);
  }
  return std::move(w.buffer());
}

std::vector<std::uint8_t> oldProjectSeed() {
  LeWriter w;
  w.fixedText(SHAPE_MAGIC_OLD_PROJECT, SHAPE_FILE_HEADER_SIZE);
  w.zeros(SHAPE_OLD_PROJECT_HEADER_SIZE - SHAPE_FILE_HEADER_SIZE + SHAPE_LAYER_TABLE_SIZE);
  w.u32(0);  // prev
  w.u32(0);  // next
  w.zeros(12);
  w.u32(SHAPE_FACE);
  w.u32(0);
  w.u32(0);
  w.u16(0);  // layer
  w.u16(3);  // nodes
  w.u16(3);  // entries
  w.u16(2);  // data
  w.u16(0);
  for (const Node& n : TRIANGLE) {
    w.f32(n.x);
    w.f32(n.y);
    w.f32(n.z);
  }
  for (std::uint16_t k = 0; k < 3; ++k)
    w.u16(static_cast<std::uint16_t>((k == 0   ? IDX_START
                                      : k == 1 ? IDX_LINE
                                               : IDX_CLOSE) |
                                     k << 2));
  return std::move(w.buffer());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::writeSeedsIfAsked([](const std::filesystem::path& dir) {
    fuzz::writeFile(dir / "breska.scf", shapeFileSeed());
    fuzz::writeFile(dir / "old_project.scf", oldProjectSeed());
    const auto shape = makeSpeakerShape(
        TRIANGLE, {{IDX_START, 0}, {IDX_MATERIAL, 1}, {IDX_LINE, 1}, {IDX_CLOSE, 2}});
    fuzz::writeFile(dir / "shape_data.bin", encodeShapeData(*shape));
    fuzz::writeFile(dir / "default_shape.bin", encodeShapeData(defaultSpeakerShape()));
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const ShapeFileResult file = parseShapeFile(bytes);
  fuzz::check(file.shape || !file.message.empty(), "a file without a shape is reported");
  if (file.shape) checkShape(*file.shape);
  if (const auto shape = readShapeData(bytes)) checkShape(*shape);
  return 0;
}
