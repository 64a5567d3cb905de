#include "model/le_io.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace tav {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(LeIo, WriterProducesLittleEndianFields) {
  LeWriter w;
  w.u8(0xAB);
  w.i8(-2);
  w.u16(0x1234);
  w.i16(-1);
  w.u32(0x89ABCDEF);
  w.i32(-2);
  w.f32(1.0f);
  w.f64(-2.0);
  const Bytes expected = {0xAB, 0xFE, 0x34, 0x12, 0xFF, 0xFF, 0xEF, 0xCD, 0xAB,
                          0x89, 0xFE, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x80, 0x3F,
                          0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0};
  EXPECT_EQ(w.buffer(), expected);

  LeReader r(expected);
  EXPECT_EQ(r.u8(), 0xAB);
  EXPECT_EQ(r.i8(), -2);
  EXPECT_EQ(r.u16(), 0x1234);
  EXPECT_EQ(r.i16(), -1);
  EXPECT_EQ(r.u32(), 0x89ABCDEFu);
  EXPECT_EQ(r.i32(), -2);
  EXPECT_EQ(r.f32(), 1.0f);
  EXPECT_EQ(r.f64(), -2.0);
  EXPECT_TRUE(r.ok());
  EXPECT_TRUE(r.atEnd());
}

TEST(LeIo, ShortReadsFailStickilyAndYieldZeros) {
  const Bytes three = {1, 2, 3};
  LeReader r(three);
  EXPECT_EQ(r.u16(), 0x0201);
  EXPECT_EQ(r.u32(), 0u);  // only one byte left
  EXPECT_TRUE(r.failed());
  // Once failed, even a read that would fit yields zero.
  EXPECT_EQ(r.u8(), 0u);
  EXPECT_FALSE(r.ok());

  LeReader b(three);
  std::uint8_t out[5] = {9, 9, 9, 9, 9};
  EXPECT_FALSE(b.bytes(out, sizeof out));
  for (std::uint8_t v : out) EXPECT_EQ(v, 0);

  LeReader s(three);
  EXPECT_TRUE(s.seek(3));  // the end itself is a valid position
  EXPECT_TRUE(s.atEnd());
  EXPECT_FALSE(s.seek(4));
  EXPECT_TRUE(s.failed());
}

TEST(LeIo, FixedTextIsTruncatedAndPadded) {
  LeWriter w;
  w.fixedText("ABCDEF", 4);  // three characters and the NUL
  w.fixedText("WXYZ", 4);    // exactly as wide as the field: the NUL still fits
  w.fixedText("AB", 4);
  w.fixedText("", 2);
  w.fixedText("XYZ", 0);  // a zero-width field writes nothing
  const Bytes expected = {'A', 'B', 'C', 0, 'W', 'X', 'Y', 0, 'A', 'B', 0, 0, 0, 0};
  EXPECT_EQ(w.buffer(), expected);

  char field[4] = {'W', 'X', 'Y', 'Z'};  // no terminator: the width ends it
  EXPECT_EQ(fixedString(field), "WXYZ");
  setFixedString(field, "FOUR");  // exactly the width
  EXPECT_EQ(fixedString(field), "FOU");
  EXPECT_EQ(field[3], '\0');
  setFixedString(field, "a");
  EXPECT_EQ(field[2], '\0');
}

TEST(LeIo, PatchingStaysInsideTheBuffer) {
  LeWriter w;
  w.zeros(6);
  w.patchU32(2, 0xA1B2C3D4);  // the last four bytes
  w.patchU32(3, 0xFFFFFFFF);  // would run past the end: ignored
  const Bytes expected = {0, 0, 0xD4, 0xC3, 0xB2, 0xA1};
  EXPECT_EQ(w.buffer(), expected);
}

}  // namespace
}  // namespace tav
