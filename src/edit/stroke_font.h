// The stroke font of the text command and the strokes of a text drawn with it.
//
// Font bytes (little-endian): bytes 8..519 hold 256 i16 values, one per
// Windows-1252 code, each the number of the glyph's first stroke record or -1
// for no glyph; from byte 524 follow u16 stroke records. A record holds the
// pen code in bits 0..1, a signed 7-bit x in bits 2..8 and a signed 7-bit y
// in bits 9..15, in font units of 1/8 of the text height. A glyph's records
// run up to and including its end record, whose x is the glyph's advance.
// Bytes 0..7 and 520..523 carry nothing the reader needs.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "model/model_object.h"
#include "model/vec3.h"

namespace tav {

// Pen codes of a stroke record; move, draw and draw-and-close are also the
// index-entry codes of the text object built from them.
constexpr std::uint8_t FONT_PEN_MOVE = 0;
constexpr std::uint8_t FONT_PEN_DRAW = 1;
constexpr std::uint8_t FONT_PEN_CLOSE = 2;
constexpr std::uint8_t FONT_PEN_END = 3;

constexpr std::size_t FONT_GLYPH_TABLE_OFFSET = 8;
constexpr std::size_t FONT_GLYPH_COUNT = 256;
constexpr std::size_t FONT_RECORDS_OFFSET = 524;
// Font units per text height.
constexpr int FONT_UNITS_PER_HEIGHT = 8;
// Advance of a blank (code 32), in font units.
constexpr int FONT_SPACE_ADVANCE = 6;

struct StrokeRecord {
  std::uint8_t pen = 0;
  std::int8_t x = 0;  // font units
  std::int8_t y = 0;  // font units, up from the baseline
  friend bool operator==(const StrokeRecord&, const StrokeRecord&) = default;
};

// Splits a stored u16 record into its pen code and signed coordinates.
StrokeRecord decodeStrokeRecord(std::uint16_t bits);

class StrokeFont {
 public:
  // Reads font bytes. Refused (nullopt) when the bytes are shorter than the
  // glyph table, the record area has an odd length, or a glyph index is
  // neither -1 nor the number of a record, or its glyph does not start with
  // a move or end record or runs off the end without an end record.
  static std::optional<StrokeFont> load(std::span<const std::uint8_t> bytes);

  bool hasGlyph(std::uint8_t code) const { return first_[code] >= 0; }
  // The glyph's records up to and including its end record; empty when the
  // code has no glyph.
  std::span<const StrokeRecord> glyph(std::uint8_t code) const;
  std::size_t recordCount() const { return records_.size(); }

 private:
  std::array<std::int32_t, FONT_GLYPH_COUNT> first_{};
  std::array<std::int32_t, FONT_GLYPH_COUNT> length_{};
  std::vector<StrokeRecord> records_;
};

// The strokes of a text as a text object (SHAPE_TEXT, flags OF_CREATED; the
// caller gives it its layer and colour). `text` is Windows-1252. With
// s = height / 8 the pen starts at `start`; a blank advances it by 6 s; a
// character with a glyph adds one node and one entry per record before the
// end record, node = start + (advance + x s) u + (y s) w and entry = (pen
// code, node number), and then advances the pen by the end record's x s;
// characters without a glyph are skipped. `u` is the writing direction and
// `w` the upward direction, both of unit length. A text that would exceed
// MAX_OBJECT_NODES ends with the last glyph that fits.
std::unique_ptr<ModelObject> textToStrokes(const StrokeFont& font, std::string_view text,
                                           Vec3d start, Vec3d u, Vec3d w, double height);

}  // namespace tav
