// Builds project files and loudspeaker records byte by byte, independently of
// the code under test: offsets and sizes are written out here as the file
// layouts define them, and the record protection is a separate small
// implementation that shares only the program key.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "speakers/record_scrambling.h"

namespace tavtest {

using Buf = std::vector<std::uint8_t>;

struct Bytes {
  Buf b;
  Bytes& u8(std::uint8_t v) {
    b.push_back(v);
    return *this;
  }
  Bytes& u16(std::uint16_t v) { return u8(v & 0xFF).u8(v >> 8); }
  Bytes& i16(std::int16_t v) { return u16(static_cast<std::uint16_t>(v)); }
  Bytes& u32(std::uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
  Bytes& i32(std::int32_t v) { return u32(static_cast<std::uint32_t>(v)); }
  Bytes& f32(float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    return u32(bits);
  }
  // Text in a fixed field of `width` bytes, NUL-padded.
  Bytes& text(const std::string& s, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) u8(i < s.size() ? static_cast<std::uint8_t>(s[i]) : 0);
    return *this;
  }
  Bytes& zeros(std::size_t n) {
    b.insert(b.end(), n, 0);
    return *this;
  }
  Bytes& raw(const Buf& v) {
    b.insert(b.end(), v.begin(), v.end());
    return *this;
  }
  std::size_t size() const { return b.size(); }
};

inline void put16(Buf& b, std::size_t at, std::uint16_t v) {
  b[at] = v & 0xFF;
  b[at + 1] = v >> 8;
}
inline void put32(Buf& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = (v >> (8 * i)) & 0xFF;
}
inline void putF32(Buf& b, std::size_t at, float v) {
  std::uint32_t bits;
  std::memcpy(&bits, &v, 4);
  put32(b, at, bits);
}
inline std::uint32_t get32(const Buf& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}
inline void putText(Buf& b, std::size_t at, const std::string& s) {
  std::memcpy(b.data() + at, s.data(), s.size());
}

// ---- header and layer table -------------------------------------------------

struct THeader {
  std::string magic = "TAVIRON V2.80  ";  // 15 characters, NUL follows
  std::int8_t rtMethod = 2;
  std::int16_t view = 1;
  float cursorSnap = 0.25f;
  std::uint16_t cursorSnapOn = 1;
  float nodeSnapWidth = 12.0f;
  std::uint16_t nodeSnapOn = 0;
  std::array<float, 7> rt{1.9f, 1.8f, 1.7f, 1.6f, 1.5f, 1.25f, 0.75f};
  float grid = 2.5f;
  std::array<std::int16_t, 6> options{3, -1, 4, 5, 1, 3};
};

inline void putHeader(Bytes& out, const THeader& h) {
  const std::size_t start = out.size();
  out.text(h.magic, 16);
  out.u8(static_cast<std::uint8_t>(h.rtMethod)).zeros(3);
  out.i16(h.view).f32(h.cursorSnap).u16(h.cursorSnapOn).f32(h.nodeSnapWidth).u16(h.nodeSnapOn);
  for (float v : h.rt) out.f32(v);
  out.f32(h.grid).zeros(24);
  for (std::int16_t v : h.options) out.i16(v);
  if (out.size() - start != 102) throw std::logic_error("header size");
}

// 16 records of name char[22] and visible i16. `on` lists the visible layers.
inline void putLayers(Bytes& out, std::initializer_list<int> on) {
  for (int i = 0; i < 16; ++i) {
    bool visible = false;
    for (int v : on) visible |= v == i;
    out.text("LAYER " + std::to_string(i + 1), 22).i16(visible ? 1 : 0);
  }
}

// ---- object records ----------------------------------------------------------

struct TObject {
  std::uint32_t shape = 8, flags = 0, colour = 0, layer = 0;
  std::vector<std::array<float, 3>> nodes;
  std::vector<std::pair<std::uint16_t, std::uint16_t>> entries;  // code, ref
  Buf data;
};

// The current 48-byte record and its body. `storedNodes` overrides the node
// count written (layer 3 writes its count without the orientation nodes).
inline void putObject(Bytes& out, const TObject& o, bool last, std::uint32_t pointerNoise = 0) {
  out.u32(pointerNoise).u32(last ? 0 : 1).u32(pointerNoise).u32(pointerNoise).u32(pointerNoise);
  out.u32(o.shape).u32(o.flags).u32(o.colour).u32(o.layer);
  out.u32(static_cast<std::uint32_t>(o.nodes.size()))
      .u32(static_cast<std::uint32_t>(o.entries.size()))
      .u32(static_cast<std::uint32_t>(o.data.size()));
  out.raw(o.data);
  for (const auto& n : o.nodes) out.f32(n[0]).f32(n[1]).f32(n[2]);
  for (const auto& e : o.entries) out.u16(e.first).u16(e.second);
}

// The 1.27 40-byte record: 16-bit layer and counts, entries packed in 2 bytes.
inline void putLegacyObject(Bytes& out, const TObject& o, bool last) {
  out.u32(0x1234).u32(last ? 0 : 0xABCD).u32(0).u32(0).u32(0);
  out.u32(o.shape).u32(o.flags).u32(o.colour);
  out.u16(static_cast<std::uint16_t>(o.layer))
      .u16(static_cast<std::uint16_t>(o.nodes.size()))
      .u16(static_cast<std::uint16_t>(o.entries.size()))
      .u16(static_cast<std::uint16_t>(o.data.size()));
  out.raw(o.data);
  for (const auto& n : o.nodes) out.f32(n[0]).f32(n[1]).f32(n[2]);
  for (const auto& e : o.entries)
    out.u16(static_cast<std::uint16_t>((e.second << 2) | (e.first & 3)));
}

// 742 bytes: 162 carried, 8 rows of label[11] + value[41], 4 lines of [41].
inline Buf printHeaderBlock(const std::string& title) {
  Buf b(742, 0);
  for (int i = 0; i < 162; ++i) b[i] = static_cast<std::uint8_t>(i * 7 + 1);
  putText(b, 162, "Project");
  putText(b, 162 + 11, title);
  putText(b, 162 + 7 * 52, "Scale");
  putText(b, 162 + 7 * 52 + 11, "1:100");
  putText(b, 162 + 8 * 52 + 3 * 41, "last free line");
  return b;
}

inline TObject printHeaderObject(const Buf& block) {
  TObject o;
  o.shape = 33;
  o.flags = 0xE0;
  o.data = block;
  return o;
}

// A unit square face on layer 0 with material m.
inline TObject squareFace(float z, std::uint16_t material) {
  TObject o;
  o.nodes = {{0, 0, z}, {1, 0, z}, {1, 1, z}, {0, 1, z}};
  o.entries = {{0, 0}, {3, material}, {1, 1}, {1, 2}, {2, 3}};
  return o;
}

// ---- loudspeaker records -------------------------------------------------------

// A plain current-layout record with recognisable contents.
inline Buf plainSpeakerRecord(const std::string& name, std::int32_t shapeOrdinal,
                              std::uint8_t seed) {
  Buf r(19160, 0);
  putText(r, 0, "Brand " + name);
  putText(r, 21, name);
  putText(r, 30, "Test cabinet " + name);
  r[71] = 2;
  put16(r, 72, 0);
  for (int b = 0; b < 7; ++b) {
    putF32(r, 76 + 4 * b, 90.0f + b);
    putF32(r, 104 + 4 * b, 100.0f * (b + 1));
    put16(r, 146 + 2 * b, static_cast<std::uint16_t>(20 + b));
    put16(r, 160 + 2 * b, static_cast<std::uint16_t>(5 + b));
  }
  put32(r, 196, static_cast<std::uint32_t>(shapeOrdinal));
  for (int i = 300; i < 320; ++i) r[i] = static_cast<std::uint8_t>(i + seed);
  for (int i = 0; i < 50; ++i) r[462 + i] = static_cast<std::uint8_t>(seed * 13 + i * 31);
  for (std::size_t i = 512; i < r.size(); ++i)
    r[i] = static_cast<std::uint8_t>(150 + (i * 7 + seed) % 100);
  return r;
}

// An older record: 200-byte head (byte 71 not 2) and seven 36-row bands.
inline Buf oldSpeakerRecord(const std::string& name, std::int32_t shapeOrdinal) {
  Buf r(200 + 7 * 2592, 0);
  putText(r, 21, name);
  putText(r, 30, "old layout");
  r[71] = 0;
  putF32(r, 76, 93.5f);
  put32(r, 196, static_cast<std::uint32_t>(shapeOrdinal));
  for (int b = 0; b < 7; ++b)
    for (int row = 0; row < 36; ++row)
      for (int col = 0; col < 72; ++col)
        r[200 + b * 2592 + row * 72 + col] =
            static_cast<std::uint8_t>(100 + b * 10 + row + (col % 3));
  return r;
}

// The record protection, written independently: regions 0..70, 72..453 and
// 512..19159 with the record key at 470..489, then the tail 462..511 with the
// window at 21..70; checksum at 454, tail check at 458.
inline std::uint32_t testTransform(Buf& r, std::size_t from, std::size_t n, std::size_t windowAt,
                                   std::size_t w, bool plainIn) {
  const auto& key = tav::PROGRAM_KEY;
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t before = r[from + i];
    r[from + i] = before ^ r[windowAt + (i % w)] ^ key[(7 * i) % 32];
    sum += 255u - (plainIn ? before : r[from + i]);
  }
  return sum;
}

inline std::uint32_t testKeyWord() {
  const auto& k = tav::PROGRAM_KEY;
  return k[4] | (k[5] << 8) | (k[6] << 16) | (std::uint32_t{k[7]} << 24);
}

inline Buf testScramble(Buf r) {
  std::uint32_t sum = testTransform(r, 0, 71, 470, 20, true);
  sum += testTransform(r, 72, 382, 470, 20, true);
  sum += testTransform(r, 512, 19160 - 512, 470, 20, true);
  const std::uint32_t tail = testTransform(r, 462, 50, 21, 50, true);
  put32(r, 454, sum + tail);
  put32(r, 458, tail ^ testKeyWord());
  return r;
}

}  // namespace tavtest

namespace tavtest {

// 256-byte material: name[23] at 0, description[80] at 23, seven f32 at 112,
// category[80] at 148.
inline Buf materialRecord(const std::string& name, float alpha) {
  Buf m(256, 0);
  putText(m, 0, name);
  putText(m, 23, "description of " + name);
  for (int b = 0; b < 7; ++b) putF32(m, 112 + 4 * b, alpha + 0.01f * b);
  putText(m, 148, "Walls");
  return m;
}

// A 24-byte-plus data block for a placed loudspeaker whose i16 at 22 holds
// the switched-on bit.
inline Buf speakerData(bool on) {
  Buf d(64, 0);
  for (std::size_t i = 0; i < d.size(); ++i) d[i] = static_cast<std::uint8_t>(i * 3);
  put16(d, 22, on ? 1 : 0);
  return d;
}

// A map block: header with the description "Main hall", one area (the plane
// z = 1.2 over 10 x 20 m), two points whose 8000 Hz band nothing reached,
// the second point labelled. Its stored bounds are the ones its points give
// (the 8000 Hz tmax of 0 keeps only its first two bytes).
inline Buf mapBlock() {
  Buf header(128, 0);
  putText(header, 0, "TAVIRON MAP FILE V2.80");
  putText(header, 32, "Main hall");
  Bytes out;
  out.raw(header);
  out.i16(1).i16(2).f32(0.5f);
  for (std::uint16_t c : {2, 2, 2, 2, 2, 2, 0, 1}) out.u16(c);
  out.u32(5);
  for (float f : {0.0f, 0.0f, 200.0f, 240.0f, 0.0f, 10.0f, 0.0f, 20.0f, 1.2f}) out.f32(f);
  const std::int16_t level[2][7] = {{712, 700, 690, 680, 670, 600, 0},
                                    {650, 640, 630, 620, 610, 550, 0}};
  const std::int16_t time[2][7] = {{29, 30, 31, 32, 33, 34, 32767},
                                   {40, 41, 42, 43, 44, 45, 32767}};
  auto energy = [](int l) { return static_cast<float>(std::pow(10.0, l / 100.0)); };
  out.u32(2);
  for (int b = 0; b < 7; ++b) out.f32(energy(std::min(level[0][b], level[1][b])));
  for (int b = 0; b < 7; ++b)
    out.f32(level[0][b] > 0 ? energy(std::max(level[0][b], level[1][b])) : 1.0f);
  for (int b = 0; b < 7; ++b) out.f32(b < 6 ? float(std::min(time[0][b], time[1][b])) : 10000.0f);
  for (int b = 0; b < 6; ++b) out.f32(float(std::max(time[0][b], time[1][b])));
  out.u16(0);
  for (int p = 0; p < 2; ++p) {
    out.f32(0.5f + p).f32(0.5f).f32(1.2f);
    for (int b = 0; b < 7; ++b) out.i16(level[p][b]);
    for (int b = 0; b < 7; ++b) out.i16(time[p][b]);
    out.u16(0);
  }
  out.u32(1).u16(1);
  return out.b;
}

// A V2.80 project with one object of each kind, two types (one with its own
// shape at ordinal 4, one with the default shape), two materials and a map.
// `canonical`: stored the way the writer stores a loaded project (pointer
// fields 0, colours as the reader sets them, layers 3, 4, 6 and 8 off).
struct SampleFile {
  Buf bytes;
  std::size_t objectsAt = 0;     // first object record
  std::size_t typesAt = 0;       // the type count
  std::size_t materialsAt = 0;   // the material count
  std::size_t mapAt = 0;         // the map block
  std::vector<TObject> objects;  // in file order, pseudo-object excluded
};

inline std::vector<TObject> sampleObjects(bool canonical) {
  std::vector<TObject> v;
  TObject room = squareFace(0, 1);
  room.flags = 0x01;
  room.colour = canonical ? 0 : 5;
  v.push_back(room);
  TObject audience = squareFace(0.5f, 0);
  audience.layer = 1;
  audience.colour = canonical ? 21 : 3;
  v.push_back(audience);
  TObject on;
  on.shape = 0;
  on.layer = 2;
  on.colour = canonical ? 12 : 27;
  on.data = speakerData(true);
  on.nodes = {{2, 3, 1.5f}};
  on.entries = {{0, 0}};
  v.push_back(on);
  TObject off = on;
  off.colour = canonical ? 0 : 12;
  off.data = speakerData(false);
  v.push_back(off);
  TObject shape;
  shape.shape = 16;
  shape.flags = 0x86;
  shape.layer = 3;
  shape.colour = 9;
  shape.nodes = {{-0.1f, -0.2f, -0.3f}, {0.1f, -0.2f, -0.3f}, {0.1f, 0.2f, -0.3f},
                 {-0.1f, 0.2f, -0.3f},  {-0.1f, -0.2f, 0.3f}, {0.1f, -0.2f, 0.3f},
                 {0.1f, 0.2f, 0.3f},    {-0.1f, 0.2f, 0.3f}};
  shape.entries = {{0, 0}, {3, 0}, {1, 1}, {1, 2}, {2, 3}, {0, 4}, {3, 0}, {1, 5}, {1, 6}, {2, 7}};
  v.push_back(shape);
  TObject aim;
  aim.shape = 0;
  aim.layer = 4;
  aim.flags = canonical ? 0x80 : 0;
  aim.colour = canonical ? 0 : 22;
  aim.nodes = {{2, 3, 1.5f}, {8, 9, 1.2f}};
  aim.entries = {{0, 0}, {1, 1}};
  v.push_back(aim);
  TObject aux;
  aux.shape = 1;
  aux.layer = 7;
  aux.colour = 14;
  aux.nodes = {{0, 0, 0}, {5, 0, 0}, {5, 5, 0}};
  aux.entries = {{0, 0}, {3, 0}, {1, 1}, {1, 2}};
  v.push_back(aux);
  TObject text;
  text.shape = 32;
  text.layer = 7;
  text.colour = 33;
  text.nodes = {{0, 0, 0}, {0.1f, 0.2f, 0}};
  text.entries = {{0, 0}, {1, 1}};
  v.push_back(text);
  return v;
}

inline SampleFile sampleV280(bool canonical, const THeader& header = THeader{}) {
  SampleFile s;
  Bytes out;
  putHeader(out, header);
  if (canonical)
    putLayers(out, {0, 1, 2, 5, 7});
  else
    putLayers(out, {0, 1, 2, 3, 4, 5, 7});
  s.objectsAt = out.size();
  s.objects = sampleObjects(canonical);
  for (const TObject& o : s.objects) putObject(out, o, false, canonical ? 0 : 0xDEADBEEF);
  putObject(out, printHeaderObject(printHeaderBlock("Hall")), true, canonical ? 0 : 0xDEADBEEF);
  s.typesAt = out.size();
  out.i16(2);
  out.raw(testScramble(plainSpeakerRecord("T1", 4, 1)));
  out.raw(testScramble(plainSpeakerRecord("T2", -1, 2)));
  s.materialsAt = out.size();
  out.i16(2);
  out.raw(materialRecord("100%", 1.0f));
  out.raw(materialRecord("Concrete", 0.02f));
  s.mapAt = out.size();
  out.raw(mapBlock());
  s.bytes = std::move(out.b);
  return s;
}

}  // namespace tavtest
