#include "edit/stroke_font.h"

#include "model/le_io.h"

namespace tav {

namespace {

// Sign extension of a 7-bit field.
std::int8_t signed7(unsigned v) {
  v &= 0x7F;
  return static_cast<std::int8_t>(v >= 0x40 ? static_cast<int>(v) - 0x80 : static_cast<int>(v));
}

}  // namespace

StrokeRecord decodeStrokeRecord(std::uint16_t bits) {
  return {static_cast<std::uint8_t>(bits & 3u), signed7(bits >> 2), signed7(bits >> 9)};
}

std::optional<StrokeFont> StrokeFont::load(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < FONT_RECORDS_OFFSET || (bytes.size() - FONT_RECORDS_OFFSET) % 2 != 0)
    return std::nullopt;
  LeReader in(bytes);
  StrokeFont font;
  in.seek(FONT_RECORDS_OFFSET);
  const std::size_t count = (bytes.size() - FONT_RECORDS_OFFSET) / 2;
  font.records_.reserve(count);
  for (std::size_t i = 0; i < count; ++i) font.records_.push_back(decodeStrokeRecord(in.u16()));

  // For every record, the number of the first end record at or after it
  // (count when none follows), so each glyph is checked in constant time.
  std::vector<std::size_t> nextEnd(count + 1, count);
  for (std::size_t i = count; i-- > 0;)
    nextEnd[i] = font.records_[i].pen == FONT_PEN_END ? i : nextEnd[i + 1];

  in.seek(FONT_GLYPH_TABLE_OFFSET);
  for (std::size_t code = 0; code < FONT_GLYPH_COUNT; ++code) {
    const std::int32_t first = in.i16();
    if (first == -1) {
      font.first_[code] = -1;
      font.length_[code] = 0;
      continue;
    }
    if (first < 0 || static_cast<std::size_t>(first) >= count) return std::nullopt;
    const std::size_t end = nextEnd[static_cast<std::size_t>(first)];
    if (end == count) return std::nullopt;
    const std::uint8_t pen = font.records_[static_cast<std::size_t>(first)].pen;
    if (pen != FONT_PEN_MOVE && pen != FONT_PEN_END) return std::nullopt;
    font.first_[code] = first;
    font.length_[code] = static_cast<std::int32_t>(end - static_cast<std::size_t>(first) + 1);
  }
  if (!in.ok()) return std::nullopt;
  return font;
}

std::span<const StrokeRecord> StrokeFont::glyph(std::uint8_t code) const {
  if (first_[code] < 0) return {};
  return std::span<const StrokeRecord>(records_).subspan(static_cast<std::size_t>(first_[code]),
                                                         static_cast<std::size_t>(length_[code]));
}

std::unique_ptr<ModelObject> textToStrokes(const StrokeFont& font, std::string_view text,
                                           Vec3d start, Vec3d u, Vec3d w, double height) {
  auto object = std::make_unique<ModelObject>();
  object->shape = SHAPE_TEXT;
  object->flags = OF_CREATED;
  const double s = height / FONT_UNITS_PER_HEIGHT;
  double advance = 0;
  for (char c : text) {
    const auto code = static_cast<std::uint8_t>(c);
    if (code == ' ') {
      advance += FONT_SPACE_ADVANCE * s;
      continue;
    }
    const std::span<const StrokeRecord> records = font.glyph(code);
    if (records.empty()) continue;
    const std::size_t strokes = records.size() - 1;  // all but the end record
    if (object->nodes.size() + strokes > MAX_OBJECT_NODES) break;
    for (std::size_t i = 0; i < strokes; ++i) {
      const StrokeRecord& r = records[i];
      const Vec3d p = start + (advance + r.x * s) * u + (r.y * s) * w;
      object->indices.push_back({r.pen, static_cast<std::uint16_t>(object->nodes.size())});
      object->nodes.push_back(toNode(p));
    }
    advance += records.back().x * s;
  }
  return object;
}

}  // namespace tav
