#include "speakers/speaker_type.h"

#include <gtest/gtest.h>

#include <cstring>

#include "project_bytes_builder.h"

namespace tav {
namespace {

using tavtest::Buf;

std::span<std::uint8_t, SPEAKER_TYPE_SIZE> whole(Buf& b) {
  return std::span<std::uint8_t, SPEAKER_TYPE_SIZE>(b.data(), SPEAKER_TYPE_SIZE);
}

TEST(SpeakerTypeRecord, DecodesEveryFieldFromItsOffset) {
  Buf r = tavtest::plainSpeakerRecord("ABC12", 7, 3);
  r[72] = 1;                             // cluster mark
  r[74] = 0x5A;                          // not interpreted, kept
  r[140] = 0x11;                         // 132..145 kept
  r[180] = 0x22;                         // 174..187 kept
  std::memset(r.data() + 188, 0xEE, 8);  // pointers: meaningless in files
  tavtest::put32(r, 454, 0x01020304);
  tavtest::put32(r, 458, 0xA0B0C0D0);
  r[512 + 2664 * 3 + 5 * 72 + 7] = 17;     // band 3, row 5, column 7
  r[512 + 2664 * 6 + 36 * 72 + 71] = 255;  // last byte of the record

  const SpeakerType t = decodeSpeakerType(whole(r));
  EXPECT_STREQ(t.brand, "Brand ABC12");
  EXPECT_STREQ(t.name, "ABC12");
  EXPECT_STREQ(t.description, "Test cabinet ABC12");
  EXPECT_EQ(t.layoutFlag, 2);
  EXPECT_EQ(t.clusterMark, 1);
  EXPECT_FLOAT_EQ(t.sensitivity[6], 96.0f);
  EXPECT_FLOAT_EQ(t.maxPower[6], 700.0f);
  EXPECT_EQ(t.directivityFactor[6], 26);
  EXPECT_EQ(t.efficiency[3], 8);
  EXPECT_EQ(t.shapeReference, 7);
  EXPECT_EQ(t.reserved200[300 - 200], static_cast<std::uint8_t>(300 + 3));
  EXPECT_EQ(t.checksum, 0x01020304u);
  EXPECT_EQ(t.tailCheck, 0xA0B0C0D0u);
  EXPECT_EQ(t.tail[49], r[511]);
  EXPECT_EQ(t.grids[3].at(5, 7), 17);
  EXPECT_EQ(t.grids[6].at(36, 71), 255);

  // Encoding gives back the same bytes, except the pointers, written as 0.
  Buf again(SPEAKER_TYPE_SIZE);
  encodeSpeakerType(t, whole(again));
  Buf expected = r;
  std::memset(expected.data() + 188, 0, 8);
  EXPECT_EQ(again, expected);
}

TEST(SpeakerTypeRecord, ResetTypeIsOmnidirectionalCurrentLayout) {
  const SpeakerType t = resetSpeakerType();
  Buf b(SPEAKER_TYPE_SIZE);
  encodeSpeakerType(t, whole(b));
  for (std::size_t i = 0; i < 132; ++i) {
    if (i == 71) continue;
    EXPECT_EQ(b[i], 0) << "offset " << i;
  }
  EXPECT_EQ(b[71], 2);  // a current record, or the next reader would mistake its size
  for (int band = 0; band < 7; ++band) EXPECT_EQ(b[146 + 2 * band] | (b[147 + 2 * band] << 8), 10);
  for (std::size_t i = 512; i < SPEAKER_TYPE_SIZE; ++i) ASSERT_EQ(b[i], 225) << "offset " << i;
  EXPECT_EQ(t.shape, nullptr);
}

TEST(SpeakerTypeRecord, OlderRecordIsWidenedToThirtySevenRows) {
  const Buf old = tavtest::oldSpeakerRecord("OLD1", 3);
  for (std::size_t markAt : {std::size_t{200}, std::size_t{470}}) {
    const auto rec = convertOldSpeakerRecord(old, markAt);
    ASSERT_EQ(rec.size(), SPEAKER_TYPE_SIZE);
    EXPECT_EQ(rec[71], 2);
    EXPECT_EQ(std::memcmp(rec.data() + markAt, "TAVIRON V2.80  ", 16), 0);
    EXPECT_EQ(std::memcmp(rec.data(), old.data(), 71), 0);  // the head up to the flag
    for (int band = 0; band < 7; ++band) {
      const std::size_t grid = 512 + 2664 * band;
      const std::size_t oldGrid = 200 + 2592 * band;
      EXPECT_EQ(std::memcmp(rec.data() + grid, old.data() + oldGrid, 2592), 0);
      EXPECT_EQ(std::memcmp(rec.data() + grid + 36 * 72, old.data() + oldGrid + 35 * 72, 72), 0)
          << "band " << band;
    }
  }
  // Too short: nothing to convert; a mark beyond the head is refused.
  EXPECT_TRUE(convertOldSpeakerRecord(std::span(old).first(old.size() - 1), 200).empty());
  EXPECT_TRUE(convertOldSpeakerRecord(old, 500).empty());
}

}  // namespace
}  // namespace tav
