// The 152-byte loudspeaker record against bytes laid out by hand.
#include "speakers/placed_speaker.h"

#include <gtest/gtest.h>

#include "speaker_test_files.h"

namespace tav {
namespace {

using test::putF32;
using test::putU16;
using test::putU32;

std::vector<std::uint8_t> handMadeRecord() {
  std::vector<std::uint8_t> b(152, 0);
  test::putText(b, 0, "FOH LEFT");
  test::putText(b, 11, "MAIN");
  putU16(b, 22, 1);
  putU16(b, 24, 0xFFFF);  // polarity -1
  putF32(b, 26, 250.0f);
  for (int i = 0; i < 7; ++i) {
    putF32(b, 30 + 4 * i, -9.0f - i);
    putF32(b, 58 + 4 * i, 10.0f * i);
    putF32(b, 86 + 4 * i, 1e5f * (i + 1));
  }
  putF32(b, 114, 12.5f);
  putF32(b, 118, 1.0f);
  putF32(b, 122, -2.0f);
  putF32(b, 126, 3.5f);
  putF32(b, 130, 0.5f);
  putF32(b, 134, -0.25f);
  putF32(b, 138, 0.125f);
  putU16(b, 142, 7);
  putU32(b, 144, 0xDEADBEEF);  // a pointer of whatever program wrote it
  putU32(b, 148, 0x01020304);
  return b;
}

TEST(PlacedSpeaker, ReadsEveryFieldAtItsOffsetAndWritesTheSameBytesWithoutOwner) {
  const std::vector<std::uint8_t> bytes = handMadeRecord();
  auto s = PlacedSpeaker::read(bytes);
  ASSERT_TRUE(s);
  EXPECT_STREQ(s->name, "FOH LEFT");
  EXPECT_STREQ(s->group, "MAIN");
  EXPECT_TRUE(s->isOn());
  EXPECT_EQ(s->polarity, -1);
  EXPECT_FLOAT_EQ(s->nominalPower, 250.0f);
  EXPECT_FLOAT_EQ(s->eqGain[6], -15.0f);
  EXPECT_FLOAT_EQ(s->electricalPower[3], 30.0f);
  EXPECT_FLOAT_EQ(s->acousticFactor[0], 1e5f);
  EXPECT_FLOAT_EQ(s->delay, 12.5f);
  EXPECT_EQ(s->position, (Node{1.0f, -2.0f, 3.5f}));
  EXPECT_FLOAT_EQ(s->horizontal, 0.5f);
  EXPECT_FLOAT_EQ(s->vertical, -0.25f);
  EXPECT_FLOAT_EQ(s->rotation, 0.125f);
  EXPECT_EQ(s->typeIndex, 7);
  EXPECT_EQ(s->reserved148, 0x01020304u);

  std::vector<std::uint8_t> out(152, 0xAA);
  ASSERT_TRUE(s->write(out));
  std::vector<std::uint8_t> expected = bytes;
  putU32(expected, 144, 0);  // the owner pointer is never stored
  EXPECT_EQ(out, expected);
}

TEST(PlacedSpeaker, ShortBlocksAndUnterminatedTextAreHandled) {
  std::vector<std::uint8_t> bytes = handMadeRecord();
  EXPECT_FALSE(PlacedSpeaker::read(std::span(bytes).first(151)));
  std::vector<std::uint8_t> small(100);
  EXPECT_FALSE(PlacedSpeaker().write(small));
  // Name and group filled to the brim: read as 10 characters each.
  std::memset(bytes.data(), 'A', 22);
  auto s = PlacedSpeaker::read(bytes);
  ASSERT_TRUE(s);
  EXPECT_EQ(std::string(s->name), "AAAAAAAAAA");
  EXPECT_EQ(std::string(s->group), "AAAAAAAAAA");
}

}  // namespace
}  // namespace tav
