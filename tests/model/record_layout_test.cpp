// Byte layouts of the print header and the absorber-material record, checked
// against bytes laid out by hand.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "materials/absorber_material.h"
#include "model/le_io.h"
#include "model/print_header.h"

namespace tav {
namespace {

using Bytes = std::vector<std::uint8_t>;

void put(Bytes& b, std::size_t at, const char* text) {
  std::memcpy(b.data() + at, text, std::strlen(text));
}

TEST(PrintHeaderLayout, FieldsLieAtTheirOffsets) {
  PrintHeader h;
  for (std::size_t k = 0; k < h.carried.size(); ++k)
    h.carried[k] = static_cast<std::uint8_t>(k + 1);
  setFixedString(h.rows[0].label, "Project");
  setFixedString(h.rows[0].value, "Concert hall");
  setFixedString(h.rows[7].label, "0123456789ABC");  // cut to 10 characters
  setFixedString(h.rows[7].value, "last row");
  setFixedString(h.freeLines[0], "first free line");
  setFixedString(h.freeLines[3], "fourth");

  Bytes expected(742, 0);
  for (std::size_t k = 0; k < 162; ++k) expected[k] = static_cast<std::uint8_t>(k + 1);
  put(expected, 162, "Project");                 // row 0 label
  put(expected, 162 + 11, "Concert hall");       // row 0 value
  put(expected, 162 + 7 * 52, "0123456789");     // row 7 label
  put(expected, 162 + 7 * 52 + 11, "last row");  // row 7 value
  put(expected, 578, "first free line");
  put(expected, 578 + 3 * 41, "fourth");

  Bytes encoded(PRINT_HEADER_SIZE);
  encodePrintHeader(h,
                    std::span<std::uint8_t, PRINT_HEADER_SIZE>(encoded.data(), PRINT_HEADER_SIZE));
  EXPECT_EQ(encoded, expected);

  const PrintHeader back = decodePrintHeader(
      std::span<const std::uint8_t, PRINT_HEADER_SIZE>(encoded.data(), PRINT_HEADER_SIZE));
  EXPECT_EQ(back, h);
  EXPECT_EQ(fixedString(back.rows[7].label), "0123456789");

  // Bytes beyond a text's terminator are carried too, and count for equality.
  Bytes odd = expected;
  odd[578 + 40] = 'Z';
  const PrintHeader withTail = decodePrintHeader(
      std::span<const std::uint8_t, PRINT_HEADER_SIZE>(odd.data(), PRINT_HEADER_SIZE));
  EXPECT_FALSE(withTail == h);
  Bytes again(PRINT_HEADER_SIZE);
  encodePrintHeader(withTail,
                    std::span<std::uint8_t, PRINT_HEADER_SIZE>(again.data(), PRINT_HEADER_SIZE));
  EXPECT_EQ(again, odd);

  PrintHeader other;
  other.carried[161] = 1;
  EXPECT_FALSE(other == PrintHeader{});
}

TEST(AbsorberMaterialLayout, FieldsLieAtTheirOffsets) {
  AbsorberMaterial m;
  setFixedString(m.name, "Plaster on brick");
  setFixedString(m.description, "smooth, painted");
  m.reserved103[0] = 0xA1;
  m.reserved103[8] = 0xA9;
  m.alpha = {0.25f, 1.0f, -2.0f, 0.5f, 0.0f, 0.75f, 0.125f};
  m.reserved140[7] = 0xB8;
  setFixedString(m.category, "Walls");
  m.reserved228[27] = 0xCC;

  // Float bit patterns written out by hand, little-endian.
  const std::uint8_t alphaBytes[28] = {
      0x00, 0x00, 0x80, 0x3E,  // 0.25
      0x00, 0x00, 0x80, 0x3F,  // 1.0
      0x00, 0x00, 0x00, 0xC0,  // -2.0
      0x00, 0x00, 0x00, 0x3F,  // 0.5
      0x00, 0x00, 0x00, 0x00,  // 0.0
      0x00, 0x00, 0x40, 0x3F,  // 0.75
      0x00, 0x00, 0x00, 0x3E,  // 0.125
  };
  Bytes expected(256, 0);
  put(expected, 0, "Plaster on brick");
  put(expected, 23, "smooth, painted");
  expected[103] = 0xA1;
  expected[111] = 0xA9;
  std::memcpy(expected.data() + 112, alphaBytes, sizeof alphaBytes);
  expected[147] = 0xB8;
  put(expected, 148, "Walls");
  expected[255] = 0xCC;

  Bytes encoded(ABSORBER_MATERIAL_SIZE);
  encodeAbsorberMaterial(
      m, std::span<std::uint8_t, ABSORBER_MATERIAL_SIZE>(encoded.data(), ABSORBER_MATERIAL_SIZE));
  EXPECT_EQ(encoded, expected);

  const AbsorberMaterial back =
      decodeAbsorberMaterial(std::span<const std::uint8_t, ABSORBER_MATERIAL_SIZE>(
          encoded.data(), ABSORBER_MATERIAL_SIZE));
  EXPECT_EQ(back, m);
  EXPECT_FALSE(back.isFree());

  AbsorberMaterial changed = m;
  changed.reserved228[0] = 1;
  EXPECT_FALSE(changed == m);
  changed = m;
  changed.alpha[6] = 0.126f;
  EXPECT_FALSE(changed == m);
  EXPECT_TRUE(AbsorberMaterial{}.isFree());
}

TEST(AbsorberMaterialLayout, NewProjectTableHoldsTheFullAbsorber) {
  ProjectMaterials table;
  table.slots.resize(5);
  resetProjectMaterials(table);
  ASSERT_EQ(table.count(), 1u);
  const AbsorberMaterial& full = table.slots[0];
  EXPECT_EQ(fixedString(full.name), "100%");
  EXPECT_EQ(fixedString(full.description), "Absorber 100%");

  Bytes encoded(ABSORBER_MATERIAL_SIZE);
  encodeAbsorberMaterial(full, std::span<std::uint8_t, ABSORBER_MATERIAL_SIZE>(
                                   encoded.data(), ABSORBER_MATERIAL_SIZE));
  Bytes expected(256, 0);
  put(expected, 0, "100%");
  put(expected, 23, "Absorber 100%");
  for (int k = 0; k < 7; ++k) {
    expected[112 + 4 * k + 2] = 0x80;
    expected[112 + 4 * k + 3] = 0x3F;
  }
  EXPECT_EQ(encoded, expected);
}

}  // namespace
}  // namespace tav
