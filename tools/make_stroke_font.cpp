// Writes the built-in stroke font from a Hershey font (.jhf).
//
// Output layout (little-endian):
//   bytes 0..7     "TVSF", u16 layout version 1, u16 capital height in units (8)
//   bytes 8..519   256 x i16: per Windows-1252 code, the number of the glyph's
//                  first stroke record, or -1 for no glyph
//   bytes 520..523 u32 number of stroke records (informative; readers go by size)
//   from byte 524  u16 stroke records: bits 0..1 pen code (0 move, 1 draw,
//                  2 draw and close, 3 end of glyph whose x is the advance),
//                  bits 2..8 signed 7-bit x, bits 9..15 signed 7-bit y,
//                  in units of 1/8 of the text height, y up from the baseline.
//
// The printable ASCII range comes from the Hershey font; the accented letters
// of Windows-1252 are composed from their base letter and accent strokes of
// our own, and a few punctuation codes reuse ASCII glyphs.
//
// Usage: make_stroke_font INPUT.jhf OUTPUT
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "model/le_io.h"

using namespace tav;

namespace {

constexpr int CAP_UNITS = 8;          // height of a capital in font units
constexpr int XHEIGHT_UNITS = 5;      // height of a lower-case x
constexpr int HERSHEY_BASELINE = 9;   // Hershey y of the baseline (y grows downwards)
constexpr int HERSHEY_CAP_TOP = -12;  // Hershey y of the top of a capital
constexpr double SCALE = double(CAP_UNITS) / (HERSHEY_BASELINE - HERSHEY_CAP_TOP);
constexpr int SPACE_ADVANCE = 6;  // units, the advance of a blank

constexpr int PEN_MOVE = 0;
constexpr int PEN_DRAW = 1;
constexpr int PEN_CLOSE = 2;
constexpr int PEN_END = 3;

struct Point {
  double x = 0, y = 0;  // font units, y up
};
using Stroke = std::vector<Point>;

struct Glyph {
  std::vector<Stroke> strokes;
  double advance = 0;
};

// Parses a .jhf file: per glyph a 5-character number, a 3-character count of
// coordinate pairs (the first pair is the left and right bearing), then the
// pairs, each coordinate a character offset from 'R'; " R" lifts the pen.
// Long glyphs may continue on the following lines.
std::optional<std::vector<Glyph>> readHershey(const std::string& path) {
  std::ifstream in(path);
  if (!in) return std::nullopt;
  std::vector<Glyph> glyphs;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() < 8) continue;
    int count = std::atoi(line.substr(5, 3).c_str());
    if (count < 1) return std::nullopt;
    std::string pairs = line.substr(8);
    while (pairs.size() < std::size_t(count) * 2 && std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      pairs += line;
    }
    if (pairs.size() < std::size_t(count) * 2) return std::nullopt;
    Glyph g;
    int left = pairs[0] - 'R';
    int right = pairs[1] - 'R';
    g.advance = (right - left) * SCALE;
    Stroke current;
    for (int i = 1; i < count; ++i) {
      char cx = pairs[2 * i], cy = pairs[2 * i + 1];
      if (cx == ' ' && cy == 'R') {
        if (!current.empty()) g.strokes.push_back(std::move(current));
        current.clear();
        continue;
      }
      current.push_back({(cx - 'R' - left) * SCALE, (HERSHEY_BASELINE - (cy - 'R')) * SCALE});
    }
    if (!current.empty()) g.strokes.push_back(std::move(current));
    glyphs.push_back(std::move(g));
  }
  return glyphs;
}

enum class Accent { Grave, Acute, Circumflex, Tilde, Diaeresis, Ring, Cedilla, Caron, Slash };

// Accent strokes centred on cx with their foot at y0, in font units.
std::vector<Stroke> accentStrokes(Accent accent, double cx, double y0) {
  switch (accent) {
    case Accent::Grave:
      return {{{cx + 0.5, y0}, {cx - 0.5, y0 + 1.2}}};
    case Accent::Acute:
      return {{{cx - 0.5, y0}, {cx + 0.5, y0 + 1.2}}};
    case Accent::Circumflex:
      return {{{cx - 1, y0}, {cx, y0 + 1}, {cx + 1, y0}}};
    case Accent::Caron:
      return {{{cx - 1, y0 + 1}, {cx, y0}, {cx + 1, y0 + 1}}};
    case Accent::Tilde:
      return {{{cx - 1.5, y0}, {cx - 0.5, y0 + 1}, {cx + 0.5, y0}, {cx + 1.5, y0 + 1}}};
    case Accent::Diaeresis:
      return {{{cx - 1, y0}, {cx - 1, y0 + 0.6}}, {{cx + 1, y0}, {cx + 1, y0 + 0.6}}};
    case Accent::Ring:
      return {{{cx, y0}, {cx + 1, y0 + 1}, {cx, y0 + 2}, {cx - 1, y0 + 1}, {cx, y0}}};
    case Accent::Cedilla:
      return {{{cx, 0}, {cx, -1}, {cx + 1, -1.5}, {cx, -2.2}}};
    case Accent::Slash:
      return {};
  }
  return {};
}

// Horizontal extent of a glyph's strokes.
std::pair<double, double> xRange(const Glyph& g) {
  double lo = 1e9, hi = -1e9;
  for (const Stroke& s : g.strokes)
    for (const Point& p : s) lo = std::min(lo, p.x), hi = std::max(hi, p.x);
  if (lo > hi) return {0, g.advance};
  return {lo, hi};
}

// A base letter with an accent. Lower-case bases lose strokes lying wholly
// above the x-height (the dots of i and j) so the accent takes their place.
Glyph compose(const Glyph& base, bool lower, Accent accent) {
  Glyph g;
  g.advance = base.advance;
  for (const Stroke& s : base.strokes) {
    bool above = lower && std::all_of(s.begin(), s.end(),
                                      [](const Point& p) { return p.y > XHEIGHT_UNITS + 0.5; });
    if (!above) g.strokes.push_back(s);
  }
  auto [lo, hi] = xRange(g);
  double cx = (lo + hi) / 2;
  if (accent == Accent::Slash) {
    double top = lower ? XHEIGHT_UNITS + 0.5 : CAP_UNITS + 0.5;
    g.strokes.push_back({{lo - 0.3, -0.5}, {hi + 0.3, top}});
    return g;
  }
  double y0 = lower ? XHEIGHT_UNITS + 1 : CAP_UNITS + 1;
  for (Stroke& s : accentStrokes(accent, cx, y0)) g.strokes.push_back(std::move(s));
  return g;
}

// A glyph scaled about its baseline origin and raised (superscripts).
Glyph scaled(const Glyph& base, double factor, double raise) {
  Glyph g;
  g.advance = base.advance * factor;
  for (const Stroke& s : base.strokes) {
    Stroke t;
    for (const Point& p : s) t.push_back({p.x * factor, p.y * factor + raise});
    g.strokes.push_back(std::move(t));
  }
  return g;
}

struct Record {
  int pen, x, y;
};

int clamp7(double v) { return std::clamp(static_cast<int>(std::lround(v)), -64, 63); }

// Rounds a glyph to whole font units. Consecutive points that fall together
// are merged; a stroke that shrinks to one point becomes a one-unit tick so
// that dots stay visible; a stroke that returns to its start ends with
// "draw and close" instead of repeating the start point.
std::vector<Record> quantize(const Glyph& g) {
  std::vector<Record> out;
  for (const Stroke& s : g.strokes) {
    std::vector<std::pair<int, int>> pts;
    for (const Point& p : s) {
      std::pair<int, int> q{clamp7(p.x), clamp7(p.y)};
      if (pts.empty() || pts.back() != q) pts.push_back(q);
    }
    if (pts.empty()) continue;
    if (pts.size() == 1) pts.push_back({pts[0].first, pts[0].second + 1});
    bool closed = pts.size() >= 4 && pts.front() == pts.back();
    if (closed) pts.pop_back();
    for (std::size_t i = 0; i < pts.size(); ++i) {
      int pen = i == 0 ? PEN_MOVE : (closed && i + 1 == pts.size() ? PEN_CLOSE : PEN_DRAW);
      out.push_back({pen, pts[i].first, pts[i].second});
    }
  }
  out.push_back({PEN_END, clamp7(g.advance), 0});
  return out;
}

std::uint16_t encode(const Record& r) {
  return static_cast<std::uint16_t>((r.pen & 3) | ((r.x & 0x7F) << 2) | ((r.y & 0x7F) << 9));
}

struct Composite {
  int code;
  char base;
  Accent accent;
};

// Windows-1252 letters built from a base letter and an accent.
const Composite COMPOSITES[] = {
    {0x8A, 'S', Accent::Caron},      {0x8E, 'Z', Accent::Caron},
    {0x9A, 's', Accent::Caron},      {0x9E, 'z', Accent::Caron},
    {0x9F, 'Y', Accent::Diaeresis},  {0xC0, 'A', Accent::Grave},
    {0xC1, 'A', Accent::Acute},      {0xC2, 'A', Accent::Circumflex},
    {0xC3, 'A', Accent::Tilde},      {0xC4, 'A', Accent::Diaeresis},
    {0xC5, 'A', Accent::Ring},       {0xC7, 'C', Accent::Cedilla},
    {0xC8, 'E', Accent::Grave},      {0xC9, 'E', Accent::Acute},
    {0xCA, 'E', Accent::Circumflex}, {0xCB, 'E', Accent::Diaeresis},
    {0xCC, 'I', Accent::Grave},      {0xCD, 'I', Accent::Acute},
    {0xCE, 'I', Accent::Circumflex}, {0xCF, 'I', Accent::Diaeresis},
    {0xD1, 'N', Accent::Tilde},      {0xD2, 'O', Accent::Grave},
    {0xD3, 'O', Accent::Acute},      {0xD4, 'O', Accent::Circumflex},
    {0xD5, 'O', Accent::Tilde},      {0xD6, 'O', Accent::Diaeresis},
    {0xD8, 'O', Accent::Slash},      {0xD9, 'U', Accent::Grave},
    {0xDA, 'U', Accent::Acute},      {0xDB, 'U', Accent::Circumflex},
    {0xDC, 'U', Accent::Diaeresis},  {0xDD, 'Y', Accent::Acute},
    {0xE0, 'a', Accent::Grave},      {0xE1, 'a', Accent::Acute},
    {0xE2, 'a', Accent::Circumflex}, {0xE3, 'a', Accent::Tilde},
    {0xE4, 'a', Accent::Diaeresis},  {0xE5, 'a', Accent::Ring},
    {0xE7, 'c', Accent::Cedilla},    {0xE8, 'e', Accent::Grave},
    {0xE9, 'e', Accent::Acute},      {0xEA, 'e', Accent::Circumflex},
    {0xEB, 'e', Accent::Diaeresis},  {0xEC, 'i', Accent::Grave},
    {0xED, 'i', Accent::Acute},      {0xEE, 'i', Accent::Circumflex},
    {0xEF, 'i', Accent::Diaeresis},  {0xF1, 'n', Accent::Tilde},
    {0xF2, 'o', Accent::Grave},      {0xF3, 'o', Accent::Acute},
    {0xF4, 'o', Accent::Circumflex}, {0xF5, 'o', Accent::Tilde},
    {0xF6, 'o', Accent::Diaeresis},  {0xF8, 'o', Accent::Slash},
    {0xF9, 'u', Accent::Grave},      {0xFA, 'u', Accent::Acute},
    {0xFB, 'u', Accent::Circumflex}, {0xFC, 'u', Accent::Diaeresis},
    {0xFD, 'y', Accent::Acute},      {0xFF, 'y', Accent::Diaeresis},
};

// Windows-1252 punctuation drawn with an ASCII glyph.
const std::pair<int, char> ALIASES[] = {
    {0x82, ','}, {0x8B, '<'}, {0x91, '\''}, {0x92, '\''}, {0x93, '"'}, {0x94, '"'},
    {0x96, '-'}, {0x97, '-'}, {0x9B, '>'},  {0xB7, '.'},  {0xD7, 'x'},
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_stroke_font INPUT.jhf OUTPUT\n");
    return 1;
  }
  auto hershey = readHershey(argv[1]);
  // The font must at least cover the printable ASCII range, one glyph per
  // code from the blank on.
  if (!hershey || hershey->size() < 95) {
    std::fprintf(stderr, "make_stroke_font: %s is not a readable Hershey font\n", argv[1]);
    return 1;
  }

  std::array<std::optional<Glyph>, 256> glyphs;
  for (int code = 33; code <= 126; ++code) glyphs[code] = (*hershey)[code - 32];
  Glyph blank;
  blank.advance = SPACE_ADVANCE;
  glyphs[' '] = blank;
  glyphs[0xA0] = blank;  // no-break space
  for (const Composite& c : COMPOSITES) {
    bool lower = c.base >= 'a' && c.base <= 'z';
    glyphs[c.code] = compose(*glyphs[static_cast<unsigned char>(c.base)], lower, c.accent);
  }
  for (auto [code, ascii] : ALIASES) glyphs[code] = glyphs[static_cast<unsigned char>(ascii)];
  // Acute accent and degree sign on their own, superscript digits.
  {
    Glyph acute;
    acute.advance = 4;
    acute.strokes = accentStrokes(Accent::Acute, 2, CAP_UNITS - 2);
    glyphs[0xB4] = acute;
    Glyph degree;
    degree.advance = 4;
    degree.strokes = accentStrokes(Accent::Ring, 2, CAP_UNITS - 2);
    glyphs[0xB0] = degree;
    glyphs[0xB9] = scaled(*glyphs['1'], 0.5, 4);
    glyphs[0xB2] = scaled(*glyphs['2'], 0.5, 4);
    glyphs[0xB3] = scaled(*glyphs['3'], 0.5, 4);
  }

  std::vector<std::uint16_t> records;
  std::array<std::int16_t, 256> first;
  first.fill(-1);
  for (int code = 0; code < 256; ++code) {
    if (!glyphs[code]) continue;
    first[code] = static_cast<std::int16_t>(records.size());
    for (const Record& r : quantize(*glyphs[code])) records.push_back(encode(r));
  }
  if (records.size() > 0x7FFF) {
    std::fprintf(stderr, "make_stroke_font: too many stroke records\n");
    return 1;
  }

  LeWriter w;
  for (char c : {'T', 'V', 'S', 'F'}) w.u8(static_cast<std::uint8_t>(c));
  w.u16(1);
  w.u16(CAP_UNITS);
  for (std::int16_t f : first) w.i16(f);
  w.u32(static_cast<std::uint32_t>(records.size()));
  for (std::uint16_t r : records) w.u16(r);

  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(w.buffer().data()),
            static_cast<std::streamsize>(w.buffer().size()));
  if (!out) {
    std::fprintf(stderr, "make_stroke_font: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
