// Builds project files byte by byte, independently of the code under test:
// offsets and sizes are written out here as the file layouts define them.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "support/bytes.h"
#include "support/speaker_records.h"

namespace tavtest {

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

inline TObject object(std::uint32_t shape, std::uint32_t layer, std::uint32_t colour,
                      std::vector<std::array<float, 3>> nodes,
                      std::vector<std::pair<std::uint16_t, std::uint16_t>> entries) {
  return TObject{shape, 0, colour, layer, std::move(nodes), std::move(entries), {}};
}

inline std::vector<TObject> sampleObjects(bool canonical) {
  const auto raw = [canonical](std::uint32_t read, std::uint32_t stored) {
    return canonical ? read : stored;
  };
  TObject room = squareFace(0, 1);
  room.flags = 0x01;
  room.colour = raw(0, 5);
  TObject audience = squareFace(0.5f, 0);
  audience.layer = 1;
  audience.colour = raw(21, 3);
  TObject on = object(0, 2, raw(12, 27), {{2, 3, 1.5f}}, {{0, 0}});
  on.data = speakerData(true);
  TObject off = on;
  off.colour = raw(0, 12);
  off.data = speakerData(false);
  TObject shape =
      object(16, 3, 9,
             {{-0.1f, -0.2f, -0.3f},
              {0.1f, -0.2f, -0.3f},
              {0.1f, 0.2f, -0.3f},
              {-0.1f, 0.2f, -0.3f},
              {-0.1f, -0.2f, 0.3f},
              {0.1f, -0.2f, 0.3f},
              {0.1f, 0.2f, 0.3f},
              {-0.1f, 0.2f, 0.3f}},
             {{0, 0}, {3, 0}, {1, 1}, {1, 2}, {2, 3}, {0, 4}, {3, 0}, {1, 5}, {1, 6}, {2, 7}});
  shape.flags = 0x86;
  TObject aim = object(0, 4, raw(0, 22), {{2, 3, 1.5f}, {8, 9, 1.2f}}, {{0, 0}, {1, 1}});
  aim.flags = raw(0x80, 0);
  const TObject aux =
      object(1, 7, 14, {{0, 0, 0}, {5, 0, 0}, {5, 5, 0}}, {{0, 0}, {3, 0}, {1, 1}, {1, 2}});
  const TObject text = object(32, 7, 33, {{0, 0, 0}, {0.1f, 0.2f, 0}}, {{0, 0}, {1, 1}});
  return {room, audience, on, off, shape, aim, aux, text};
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

// A 1.27 project: the canonical sample objects in 40-byte records, one older
// embedded type and one material.
inline Buf sampleV127() {
  Bytes out;
  THeader h;
  h.magic = "TAVIRON V1.27  ";
  putHeader(out, h);
  putLayers(out, {0, 1, 2});
  for (const auto& o : sampleObjects(true)) putLegacyObject(out, o, false);
  putLegacyObject(out, printHeaderObject(printHeaderBlock("x")), true);
  out.i16(1).raw(oldSpeakerRecord("OLD", -1));
  out.i16(1).raw(materialRecord("100%", 1));
  return out.b;
}

}  // namespace tavtest
