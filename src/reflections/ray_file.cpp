#include "reflections/ray_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "model/file_extension.h"
#include "model/le_io.h"
#include "model/text_encoding.h"
#include "reflections/reflection_paths.h"

namespace tav {

std::vector<std::uint8_t> encodeRayFile(const std::vector<const ModelObject*>& paths,
                                        std::string_view description, double meanFreePath) {
  LeWriter w;
  w.fixedText(RAY_FILE_MAGIC, RAY_FILE_MAGIC_SIZE);
  w.fixedText(utf8ToCp1252(description), RAY_FILE_DESCRIPTION_SIZE);
  w.f64(meanFreePath);
  w.zeros(8);
  for (std::size_t i = 0; i < paths.size(); ++i) {
    const ModelObject& o = *paths[i];
    // Pointer fields carry no meaning in the file; next marks a following record.
    w.u32(0);
    w.u32(i + 1 < paths.size() ? 1 : 0);
    w.u32(0);
    w.u32(0);
    w.u32(0);
    w.u32(o.shape);
    w.u32(o.flags);
    w.u32(o.colour);
    w.u32(o.layer);
    w.u32(o.nodeCount());
    w.u32(o.indexCount());
    w.u32(o.dataSize());
    if (!o.data.empty()) w.bytes(o.data.data(), o.data.size());
    for (const Node& n : o.nodes) {
      w.f32(n.x);
      w.f32(n.y);
      w.f32(n.z);
    }
    for (const IndexEntry& e : o.indices) {
      w.u16(e.code);
      w.u16(e.ref);
    }
  }
  return std::move(w.buffer());
}

std::string rayFileName(std::string_view chosen) {
  return withFileExtension(chosen, RAY_FILE_EXTENSION);
}

RayFileContent decodeRayFile(std::span<const std::uint8_t> bytes) {
  RayFileContent out;
  LeReader in(bytes);
  char magic[RAY_FILE_MAGIC_SIZE];
  char description[RAY_FILE_DESCRIPTION_SIZE];
  if (!in.has(RAY_FILE_HEADER_SIZE)) return out;
  in.chars(magic);
  if (fixedString(magic) != RAY_FILE_MAGIC) return out;
  out.valid = true;
  in.chars(description);
  out.description = cp1252ToUtf8(fixedString(description));
  out.meanFreePath = in.f64();
  in.skip(8);

  for (;;) {
    if (in.atEnd()) break;  // a file of no path
    if (!in.has(RAY_FILE_RECORD_SIZE)) {
      out.truncated = true;
      break;
    }
    in.skip(4);  // prev
    const std::uint32_t next = in.u32();
    in.skip(12);  // data, nodes, indices
    const std::uint32_t shape = in.u32(), flags = in.u32(), colour = in.u32(), layer = in.u32();
    const std::uint32_t nodes = in.u32(), indices = in.u32(), dataSize = in.u32();
    const std::uint64_t size =
        std::uint64_t{dataSize} + std::uint64_t{nodes} * 12 + std::uint64_t{indices} * 4;
    if (size > in.remaining()) {
      out.truncated = true;
      break;
    }
    auto o = std::make_unique<ModelObject>();
    o->shape = shape;
    o->flags = flags;
    o->colour = colour;
    o->layer = layer;
    o->data.resize(dataSize);
    if (dataSize > 0) in.bytes(o->data.data(), dataSize);
    o->nodes.resize(nodes);
    for (Node& n : o->nodes) {
      n.x = in.f32();
      n.y = in.f32();
      n.z = in.f32();
    }
    o->indices.resize(indices);
    for (IndexEntry& e : o->indices) {
      e.code = in.u16();
      e.ref = in.u16();
    }
    const auto data = isReflectionPath(*o) ? readPathData(*o) : std::nullopt;
    bool entriesFit = data && o->indices.size() == o->nodes.size();
    for (const IndexEntry& e : o->indices) entriesFit = entriesFit && e.ref < o->nodes.size();
    // A point that is not a number would make every length and time of the path undefined.
    for (const Node& n : o->nodes)
      entriesFit = entriesFit && std::isfinite(n.x) && std::isfinite(n.y) && std::isfinite(n.z);
    if (entriesFit)
      out.paths.push_back(std::move(o));
    else
      ++out.skipped;
    if (next == 0) break;
  }
  return out;
}

}  // namespace tav
