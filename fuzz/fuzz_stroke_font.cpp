// The stroke font: any bytes load as a font or are refused; every glyph of a
// loaded font draws a text object whose entries refer to its own nodes.
#include <cstdint>
#include <span>
#include <string>

#include "edit/stroke_font.h"
#include "fuzz/fuzz_support.h"
#include "model/le_io.h"
#include "resources/builtin_resources.h"

namespace {

using namespace tav;

// A font with glyphs for "A" and "-": a move, draws, and the end record.
std::vector<std::uint8_t> seedFont() {
  const auto record = [](std::uint8_t pen, int x, int y) {
    return static_cast<std::uint16_t>(pen | (x & 0x7F) << 2 | (y & 0x7F) << 9);
  };
  std::vector<std::uint16_t> records = {
      record(FONT_PEN_MOVE, 0, 0), record(FONT_PEN_DRAW, 2, 8), record(FONT_PEN_DRAW, 4, 0),
      record(FONT_PEN_MOVE, 1, 4), record(FONT_PEN_DRAW, 3, 4), record(FONT_PEN_END, 5, 0),
      record(FONT_PEN_MOVE, 0, 3), record(FONT_PEN_DRAW, 3, 3), record(FONT_PEN_END, 4, 0)};
  LeWriter w;
  w.zeros(FONT_GLYPH_TABLE_OFFSET);
  for (std::size_t code = 0; code < FONT_GLYPH_COUNT; ++code)
    w.i16(code == 'A' ? 0 : code == '-' ? 6 : -1);
  w.zeros(FONT_RECORDS_OFFSET - w.size());
  for (std::uint16_t r : records) w.u16(r);
  return std::move(w.buffer());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::writeSeedsIfAsked([](const std::filesystem::path& dir) {
    fuzz::writeFile(dir / "seed.font", seedFont());
    if (!standardFontData().empty()) fuzz::writeFile(dir / "standard.font", standardFontData());
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto font = StrokeFont::load(std::span<const std::uint8_t>(data, size));
  if (!font) return 0;
  std::string text;
  for (int c = 1; c < 256; ++c) text.push_back(static_cast<char>(c));
  const auto object = textToStrokes(*font, text, {0, 0, 0}, {1, 0, 0}, {0, 0, 1}, 1.0);
  fuzz::check(object->nodes.size() <= MAX_OBJECT_NODES, "a text fits the node limit");
  fuzz::check(object->indices.size() == object->nodes.size(), "one entry per node");
  for (const IndexEntry& e : object->indices)
    fuzz::check(e.ref < object->nodes.size() && e.code <= FONT_PEN_CLOSE,
                "entries are drawing steps on the text's own nodes");
  return 0;
}
