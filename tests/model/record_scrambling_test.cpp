#include "speakers/record_scrambling.h"

#include <gtest/gtest.h>

#include "project_bytes_builder.h"

namespace tav {
namespace {

using tavtest::Buf;

std::span<std::uint8_t, SPEAKER_TYPE_SIZE> whole(Buf& b) {
  return std::span<std::uint8_t, SPEAKER_TYPE_SIZE>(b.data(), SPEAKER_TYPE_SIZE);
}

TEST(RecordScrambling, MatchesIndependentTransformAndRoundTrips) {
  const Buf plain = tavtest::plainSpeakerRecord("SCR1", 2, 9);
  Buf scrambled = plain;
  scrambleSpeakerRecord(whole(scrambled));
  EXPECT_EQ(scrambled, tavtest::testScramble(plain));
  EXPECT_EQ(scrambled[71], 2);  // the layout flag stays plain

  Buf back = scrambled;
  EXPECT_TRUE(unscrambleSpeakerRecord(whole(back)));
  Buf expected = plain;
  std::copy_n(scrambled.begin() + 454, 8, expected.begin() + 454);  // check words stay
  EXPECT_EQ(back, expected);
}

TEST(RecordScrambling, AnyFlippedProtectedByteFailsTheCheck) {
  Buf scrambled = tavtest::plainSpeakerRecord("SCR2", -1, 4);
  scrambleSpeakerRecord(whole(scrambled));
  for (std::size_t at : {0u, 70u, 72u, 453u, 454u, 458u, 462u, 511u, 512u, 19159u}) {
    Buf damaged = scrambled;
    damaged[at] ^= 0x04;
    EXPECT_FALSE(unscrambleSpeakerRecord(whole(damaged))) << "offset " << at;
  }
  // A plain record does not pass.
  Buf plain = tavtest::plainSpeakerRecord("SCR2", -1, 4);
  EXPECT_FALSE(unscrambleSpeakerRecord(whole(plain)));
}

}  // namespace
}  // namespace tav
