#include "model/le_io.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace tav {
namespace {

using Bytes = std::vector<std::uint8_t>;

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

}  // namespace
}  // namespace tav
