// The .TAP layout, its reader's defences and the band spectrum of the paths.
#include "auralization/audio_profile.h"

#include <gtest/gtest.h>

#include <cmath>

#include "auralization/profile_builder.h"
#include "support/bytes.h"

namespace tav {
namespace {

// A 44-byte record: delay, seven band values, direction.
void putRecord(tavtest::Bytes& b, float delay, std::array<float, 7> v, std::array<float, 3> dir) {
  b.f32(delay);
  for (float x : v) b.f32(x);
  for (float x : dir) b.f32(x);
}

TEST(AudioProfileFile, BytesOfHeaderPathAndTrailingRecords) {
  tavtest::Bytes b;
  b.text("TAVIRON AUDIO X-FORMER FILE V2.00", 40).text("Hall row 7", 80).u32(2).f32(12.5f).u32(0);
  putRecord(b, 0, {1, 0, 0, 0, 0, 0, 0}, {1, -2, 3});
  putRecord(b, 4.25f, {0.5f, 0, 0, 0, 0, 0, 0}, {0, 0, -1});
  putRecord(b, 0, {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 1}, {0, 0, 0});
  const std::vector<std::uint8_t>& expected = b.b;
  ASSERT_EQ(expected.size(), 132u + 3 * 44u);

  AudioProfile p;
  p.header.description = "Hall row 7";
  p.header.listenAngle = 12.5f;
  p.paths.push_back({0, {1, 0, 0, 0, 0, 0, 0}, {1, -2, 3}});
  p.paths.push_back({4.25f, {0.5f, 0, 0, 0, 0, 0, 0}, {0, 0, -1}});
  p.trailing.push_back({0, {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 1}, {}});
  EXPECT_EQ(encodeAudioProfile(p), expected);

  const auto back = decodeAudioProfile(expected, 10000, 3);
  ASSERT_TRUE(back);
  EXPECT_EQ(encodeAudioProfile(*back), expected);
}

TEST(AudioProfileFile, ReaderTrustsCountsOnlyAsFarAsTheFileGoes) {
  AudioProfile p;
  for (int i = 0; i < 5; ++i) p.paths.push_back({float(i), {1, 0, 0, 0, 0, 0, 0}, {}});
  p.trailing.push_back({0, {2, 2, 2, 2, 2, 2, 2}, {}});
  p.trailing.push_back({0, {3, 3, 3, 3, 3, 3, 3}, {}});
  const std::vector<std::uint8_t> bytes = encodeAudioProfile(p);

  // More paths than kept: the trailing records still start after all five.
  auto capped = decodeAudioProfile(bytes, 3, 3);
  ASSERT_TRUE(capped);
  EXPECT_EQ(capped->paths.size(), 3u);
  ASSERT_EQ(capped->trailing.size(), 2u);
  EXPECT_FLOAT_EQ(capped->trailing[0].values[0], 2.0f);

  // A count past the end: the records present, no trailing ones.
  std::vector<std::uint8_t> inflated = bytes;
  inflated[120] = 200;
  auto big = decodeAudioProfile(inflated, 10000, 3);
  ASSERT_TRUE(big);
  EXPECT_EQ(big->paths.size(), 7u);

  // Cut inside the third record: two whole ones survive.
  std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + 132 + 2 * 44 + 10);
  EXPECT_EQ(decodeAudioProfile(cut, 10000, 3)->paths.size(), 2u);

  // A short header, or a magic that differs in one character, is no profile.
  EXPECT_FALSE(decodeAudioProfile(std::span(bytes).first(131), 10000, 3));
  std::vector<std::uint8_t> other = bytes;
  other[32] = '1';
  EXPECT_FALSE(decodeAudioProfile(other, 10000, 3));
}

ProfilePath path(float t, ProfileBandValues e, std::array<float, 3> dir = {}) {
  return {t, e, dir};
}

TEST(AudioProfileBands, WeightsOfOnePathAtTimeZeroFollowItsEnergies) {
  const auto w = bandWeights({path(0, {1, 2, 4, 8, 4, 2, 1})});
  // S_b = E_b / 8; w_b = E_b / 22; N_w = sum E_b^2 / 22 = 106 / 22.
  for (int b = 0; b < 7; ++b) {
    const float e = std::array<float, 7>{1, 2, 4, 8, 4, 2, 1}[b];
    EXPECT_NEAR(w.spectrum[b], e / 8, 1e-6);
    EXPECT_NEAR(w.weights[b], e / 22, 1e-6);
  }
  EXPECT_NEAR(w.normaliser, 106.0 / 22.0, 1e-5);
}

TEST(AudioProfileBands, PhasesUseTheTimeInMilliseconds) {
  // Two equal paths 0.005 ms apart: at 100 Hz w t = 628.319 * 0.005 = pi,
  // so they cancel; at 125 and 156.25 Hz |1 + e^{i w t}| = 2 |cos(w t / 2)|
  // = 0.7654 and 1.5460: S_0 = 0.77046. The largest is band 5 (2842, 3553
  // and 4441 Hz: 1.5770, 1.4732, 1.6013), S_5 = 1.55052.
  const auto w = bandWeights({path(0, {1, 1, 1, 1, 1, 1, 1}), path(0.005f, {1, 1, 1, 1, 1, 1, 1})});
  EXPECT_NEAR(w.spectrum[0], 0.77046 / 1.55052, 1e-4);
  EXPECT_FLOAT_EQ(w.spectrum[5], 1.0f);
  EXPECT_FLOAT_EQ(*std::max_element(w.spectrum.begin(), w.spectrum.end()), 1.0f);
}

TEST(AudioProfileBuild, ApfAmplitudesDelaysAndDirections) {
  ProfileStats stats;
  stats.tMin = 10;
  stats.maxLevelDb = 20;  // E_max = 100
  const std::vector<ProfilePath> paths = {
      path(10, {50, 100, 20, 1, 1, 1, 1}, {3, 4, 0}),
      path(10, {1, 1, 1, 1, 1, 1, 25}),
      path(9.5f, {1, 1, 1, 1, 1, 1, 1}),  // earlier than t_min: delay 0
      path(17.25f, {10, 1, 1, 1, 1, 1, 1}),
  };
  const AudioProfile p = buildAudioProfile(paths, stats, "Row 7", 30);
  ASSERT_EQ(p.paths.size(), 4u);
  const float delays[] = {0, 0, 0, 7.25f};
  const float amplitudes[] = {1.0f, 0.25f, 0.01f, 0.1f};
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(p.paths[i].delayMs, delays[i]) << i;
    EXPECT_FLOAT_EQ(p.paths[i].values[0], amplitudes[i]) << i;
    EXPECT_EQ(p.paths[i].values[1], 0.0f);
  }
  EXPECT_EQ(p.paths[0].direction, (std::array<float, 3>{3, 4, 0}));
  ASSERT_EQ(p.trailing.size(), 1u);
  EXPECT_EQ(p.trailing[0].values, bandWeights(paths).spectrum);
  EXPECT_FLOAT_EQ(p.header.listenAngle, 30);
}

TEST(AudioProfileBuild, RealtimeProfileNormalisesAndCarriesRoomData) {
  ProfileStats stats;
  stats.rt = {2.0f, 1.9f, 1.8f, 1.7f, 1.6f, 1.5f, 1.0f};
  stats.earlyDb = {30, 30, 30, 30, 30, 30, 30};
  stats.reverbDb = {20, 30, 33, 30, 30, 30, 30};
  const std::vector<ProfilePath> paths = {path(0, {8, 8, 8, 8, 8, 8, 8}),
                                          path(5, {2, 2, 2, 2, 2, 2, 2})};
  const AudioProfile p = buildRealtimeProfile(paths, stats);
  ASSERT_EQ(p.paths.size(), 2u);
  EXPECT_FLOAT_EQ(p.paths[0].values[0], 1.0f);
  EXPECT_FLOAT_EQ(p.paths[1].values[0], 0.25f);
  ASSERT_EQ(p.trailing.size(), 3u);
  EXPECT_EQ(p.trailing[1].values, stats.rt);
  EXPECT_NEAR(p.trailing[2].values[0], 0.1, 1e-6);  // 10^((20-30)/10)
  EXPECT_NEAR(p.trailing[2].values[1], 1.0, 1e-6);
  EXPECT_NEAR(p.trailing[2].values[2], 1.99526, 1e-4);
}

TEST(AudioProfileBuild, ListenAngleReadAsScanfWould) {
  const std::pair<const char*, float> cases[] = {
      {"", 0}, {"  30", 30}, {"12,5", 12.5f}, {"45deg", 45}, {"-10", -10}, {"+7", 7}, {"abc", 0},
  };
  for (const auto& [text, value] : cases) EXPECT_FLOAT_EQ(parseListenAngle(text), value) << text;
}

}  // namespace
}  // namespace tav
