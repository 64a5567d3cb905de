#include "speakers/speaker_shape.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "model/le_io.h"

namespace tav {

namespace {

// Shape files larger than this are not shapes.
constexpr std::size_t MAX_SHAPE_FILE_SIZE = 16u << 20;
// Largest node count a shape may reach (entries address nodes with 16 bits,
// and the object must fit the compaction limits with its two extra nodes).
constexpr std::size_t MAX_SHAPE_NODES = MAX_OBJECT_NODES - 2;

// Collects records into one shape, renumbering each record's nodes after
// the nodes read before it.
class ShapeBuilder {
 public:
  bool addRecord(std::vector<Node> nodes, std::vector<IndexEntry> entries) {
    const std::size_t base = nodes_.size();
    if (base + nodes.size() > MAX_SHAPE_NODES) return false;
    if (entries_.size() + entries.size() > MAX_OBJECT_ENTRIES) return false;
    for (IndexEntry e : entries) {
      if (e.code > IDX_MATERIAL) continue;  // not a drawing step: dropped
      if (e.code != IDX_MATERIAL) {
        // A node of another record would draw garbage: the shape is damaged.
        if (e.ref >= nodes.size()) return false;
        e.ref = static_cast<std::uint16_t>(e.ref + base);
      }
      entries_.push_back(e);
    }
    nodes_.insert(nodes_.end(), nodes.begin(), nodes.end());
    return true;
  }
  void addData(std::span<const std::uint8_t> data) {
    data_.insert(data_.end(), data.begin(), data.end());
  }
  bool empty() const { return nodes_.empty(); }
  std::unique_ptr<ModelObject> finish() {
    return makeSpeakerShape(std::move(nodes_), std::move(entries_), std::move(data_));
  }

 private:
  std::vector<Node> nodes_;
  std::vector<IndexEntry> entries_;
  std::vector<std::uint8_t> data_;
};

std::vector<Node> readNodes(LeReader& in, std::size_t count) {
  std::vector<Node> nodes;
  if (!in.has(count * 12)) {
    in.fail();
    return nodes;
  }
  nodes.resize(count);
  for (Node& n : nodes) {
    n.x = in.f32();
    n.y = in.f32();
    n.z = in.f32();
  }
  return nodes;
}

std::vector<IndexEntry> readEntries(LeReader& in, std::size_t count, bool packed) {
  std::vector<IndexEntry> entries;
  if (!in.has(count * (packed ? 2 : 4))) {
    in.fail();
    return entries;
  }
  entries.resize(count);
  for (IndexEntry& e : entries) {
    if (packed) {
      const std::uint16_t v = in.u16();
      e.code = v & 3;
      e.ref = v >> 2;
    } else {
      e.code = in.u16();
      e.ref = in.u16();
    }
  }
  return entries;
}

// The 32-byte header text without its trailing blanks and NULs.
std::string headerText(std::span<const std::uint8_t> bytes) {
  std::string t(reinterpret_cast<const char*>(bytes.data()),
                std::min<std::size_t>(bytes.size(), SHAPE_FILE_HEADER_SIZE));
  t = t.substr(0, t.find('\0'));
  while (!t.empty() && t.back() == ' ') t.pop_back();
  return t;
}
std::string trimmed(const char* magic) {
  std::string t(magic);
  while (!t.empty() && t.back() == ' ') t.pop_back();
  return t;
}

std::unique_ptr<ModelObject> parseShapeLayout(std::span<const std::uint8_t> bytes) {
  LeReader in(bytes);
  if (!in.seek(SHAPE_FILE_HEADER_SIZE + SHAPE_LAYER_TABLE_SIZE)) return nullptr;
  ShapeBuilder builder;
  for (;;) {
    if (!in.has(SHAPE_RECORD_HEAD_SIZE)) return nullptr;
    const std::size_t start = in.position();
    const std::uint16_t nodeCount = in.u16();
    const std::uint16_t entryCount = in.u16();
    in.seek(start + 14);
    const std::uint32_t next = in.u32();
    std::vector<Node> nodes = readNodes(in, nodeCount);
    std::vector<IndexEntry> entries = readEntries(in, entryCount, false);
    if (!in.ok() || !builder.addRecord(std::move(nodes), std::move(entries))) return nullptr;
    if (next == 0) break;
  }
  return builder.empty() ? nullptr : builder.finish();
}

// Older project layout: 102-byte header, layer table, 40-byte records with
// packed entries; only layers 0, 1 and 2 are taken.
std::unique_ptr<ModelObject> parseOldProjectLayout(std::span<const std::uint8_t> bytes) {
  LeReader in(bytes);
  if (!in.seek(SHAPE_OLD_PROJECT_HEADER_SIZE + SHAPE_LAYER_TABLE_SIZE)) return nullptr;
  ShapeBuilder builder;
  for (;;) {
    if (!in.has(SHAPE_OLD_OBJECT_RECORD_SIZE)) return nullptr;
    in.u32();
    const std::uint32_t next = in.u32();
    in.skip(12);
    in.u32();  // shape
    in.u32();  // flags
    in.u32();  // colour
    const std::uint16_t layer = in.u16();
    const std::uint16_t nodeCount = in.u16();
    const std::uint16_t indexCount = in.u16();
    const std::uint16_t dataSize = in.u16();
    if (!in.skip(dataSize)) return nullptr;
    if (layer <= LAYER_SPEAKERS) {
      std::vector<Node> nodes = readNodes(in, nodeCount);
      std::vector<IndexEntry> entries = readEntries(in, indexCount, true);
      if (!in.ok() || !builder.addRecord(std::move(nodes), std::move(entries))) return nullptr;
    } else if (!in.skip(std::size_t(nodeCount) * 12 + std::size_t(indexCount) * 2)) {
      return nullptr;
    }
    if (next == 0) break;
  }
  return builder.empty() ? nullptr : builder.finish();
}

std::unique_ptr<ModelObject> buildDefaultShape() {
  std::vector<Node> nodes;
  std::vector<IndexEntry> entries;
  // The circle on the front face: 36 nodes, one closed face.
  constexpr double PI = 3.141592653589793;
  for (int i = 0; i < 36; ++i) {
    const double a = i * PI / 18.0;
    nodes.push_back(
        {0.15f, static_cast<float>(0.15 * std::cos(a)), static_cast<float>(0.15 * std::sin(a))});
    entries.push_back(
        {static_cast<std::uint16_t>(i == 0 ? IDX_START : (i == 35 ? IDX_CLOSE : IDX_LINE)),
         static_cast<std::uint16_t>(i)});
  }
  // The cabinet: 8 corners, six faces seen counter-clockwise from outside.
  const float x0 = -0.15f, x1 = 0.149f, y0 = -0.199f, y1 = 0.199f, z0 = -0.299f, z1 = 0.299f;
  const std::uint16_t b = 36;
  const Node corners[8] = {{x0, y0, z0}, {x1, y0, z0}, {x1, y1, z0}, {x0, y1, z0},
                           {x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}};
  nodes.insert(nodes.end(), std::begin(corners), std::end(corners));
  const int faces[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                           {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
  for (const auto& f : faces) {
    entries.push_back({IDX_START, static_cast<std::uint16_t>(b + f[0])});
    entries.push_back({IDX_MATERIAL, 0});
    entries.push_back({IDX_LINE, static_cast<std::uint16_t>(b + f[1])});
    entries.push_back({IDX_LINE, static_cast<std::uint16_t>(b + f[2])});
    entries.push_back({IDX_CLOSE, static_cast<std::uint16_t>(b + f[3])});
  }
  return makeSpeakerShape(std::move(nodes), std::move(entries));
}

}  // namespace

std::unique_ptr<ModelObject> makeSpeakerShape(std::vector<Node> nodes,
                                              std::vector<IndexEntry> entries,
                                              std::vector<std::uint8_t> data) {
  auto shape = std::make_unique<ModelObject>();
  shape->nodes = std::move(nodes);
  shape->nodes.push_back({1, 0, 0});
  shape->nodes.push_back({0, 0, 1});
  shape->indices = std::move(entries);
  shape->data = std::move(data);
  shape->layer = LAYER_SPEAKER_SHAPES;
  shape->flags = OF_SPEAKER_SHAPE;
  shape->shape = SHAPE_SOLID;
  return shape;
}

bool isUsableShape(const ModelObject& shape) { return shape.nodes.size() >= 2; }

const ModelObject& defaultSpeakerShape() {
  static const std::unique_ptr<ModelObject> shape = buildDefaultShape();
  return *shape;
}

std::unique_ptr<ModelObject> readShapeData(std::span<const std::uint8_t> bytes) {
  LeReader in(bytes);
  ShapeBuilder builder;
  for (;;) {
    if (!in.has(SHAPE_OBJECT_RECORD_SIZE)) return nullptr;
    in.u32();
    const std::uint32_t next = in.u32();
    in.skip(12);
    in.u32();  // shape
    in.u32();  // flags
    in.u32();  // colour
    in.u32();  // layer
    const std::uint32_t nodeCount = in.u32();
    const std::uint32_t indexCount = in.u32();
    const std::uint32_t dataSize = in.u32();
    if (nodeCount > MAX_SHAPE_NODES || indexCount > MAX_OBJECT_ENTRIES) return nullptr;
    const std::span<const std::uint8_t> data = in.view(dataSize);
    if (!in.ok()) return nullptr;
    builder.addData(data);
    std::vector<Node> nodes = readNodes(in, nodeCount);
    std::vector<IndexEntry> entries = readEntries(in, indexCount, false);
    if (!in.ok() || !builder.addRecord(std::move(nodes), std::move(entries))) return nullptr;
    if (next == 0) break;
  }
  return builder.finish();
}

std::vector<std::uint8_t> encodeShapeData(const ModelObject& shape) {
  const std::size_t nodeCount = shape.nodes.size() >= 2 ? shape.nodes.size() - 2 : 0;
  LeWriter out;
  out.u32(0);  // prev
  out.u32(0);  // next: the only record
  out.zeros(12);
  out.u32(shape.shape);
  out.u32(shape.flags);
  out.u32(shape.colour);
  out.u32(shape.layer);
  out.u32(static_cast<std::uint32_t>(nodeCount));
  out.u32(shape.indexCount());
  out.u32(shape.dataSize());
  out.bytes(shape.data);
  for (std::size_t i = 0; i < nodeCount; ++i) {
    out.f32(shape.nodes[i].x);
    out.f32(shape.nodes[i].y);
    out.f32(shape.nodes[i].z);
  }
  for (const IndexEntry& e : shape.indices) {
    out.u16(e.code);
    out.u16(e.ref);
  }
  return std::move(out.buffer());
}

ShapeFileResult parseShapeFile(std::span<const std::uint8_t> bytes) {
  ShapeFileResult r;
  r.opened = true;
  const std::string magic = headerText(bytes);
  if (bytes.size() >= SHAPE_FILE_HEADER_SIZE && magic == trimmed(SHAPE_MAGIC)) {
    r.shape = parseShapeLayout(bytes);
  } else if (bytes.size() >= SHAPE_FILE_HEADER_SIZE &&
             (magic == trimmed(SHAPE_MAGIC_OLD_PROJECT) || magic == trimmed(SHAPE_MAGIC_PROJECT))) {
    r.shape = parseOldProjectLayout(bytes);
  } else {
    r.message = {MSG_INVALID_FILE_FORMAT, ""};
    return r;
  }
  // A known header over damaged records: the type keeps the default shape.
  if (!r.shape) r.message = {MSG_INVALID_FILE_FORMAT, ""};
  return r;
}

ShapeFileResult readShapeFile(const std::string& path) {
  // Only regular files: opening a FIFO would wait for a writer indefinitely.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return {};
  std::ifstream file(path, std::ios::binary);
  if (!file) return {};
  std::vector<std::uint8_t> bytes;
  char buf[65536];
  while (file.read(buf, sizeof buf) || file.gcount() > 0) {
    bytes.insert(bytes.end(), buf, buf + file.gcount());
    if (bytes.size() > MAX_SHAPE_FILE_SIZE) {
      ShapeFileResult r;
      r.opened = true;
      r.message = {MSG_INVALID_FILE_FORMAT, ""};
      return r;
    }
  }
  return parseShapeFile(bytes);
}

}  // namespace tav
