// The per-sample processing, its fast path against it, whole recordings and
// the real-time buffer sequence through the null device.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "auralization/auralizer.h"
#include "auralization/fast_convolution.h"
#include "auralization/process_recording.h"
#include "auralization/realtime_playback.h"
#include "platform/audio/null_audio_output.h"

namespace tav {
namespace {

// Speech-like test signal: decaying bursts of noise, full scale at times.
std::vector<std::int16_t> testSignal(std::size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_int_distribution<int> sample(-32768, 32767);
  std::vector<std::int16_t> x(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double envelope = 0.5 + 0.5 * std::sin(i * 0.0007);
    x[i] = static_cast<std::int16_t>(sample(gen) * envelope);
  }
  return x;
}

std::vector<std::int16_t> oracle(const ProcessingSetup& setup, float fs,
                                 const std::vector<std::int16_t>& in) {
  Auralizer a(setup, fs);
  a.reset();
  std::vector<std::int16_t> out;
  for (std::int16_t x : in) out.push_back(a.processSample(x));
  return out;
}

ProcessingSetup withImpulses(std::vector<Impulse> impulses) {
  ProcessingSetup s;
  s.impulses = std::move(impulses);
  return s;
}

TEST(ProcessSample, OutputIsTruncatedAndLimitedSymmetrically) {
  const std::pair<float, int> cases[] = {
      {1.9f, 1},           {-1.9f, -1},
      {-0.9f, 0},          {32767.9f, 32767},
      {-32768.0f, -32767}, {1.0e9f, 32767},
      {-1.0e9f, -32767},   {std::numeric_limits<float>::quiet_NaN(), 0},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(limitOutput(in), out) << in;
  // Loud enough to clip in both directions: -32768 never appears.
  ProcessingSetup loud = dryProcessingSetup();
  loud.bandGains.fill(1000.0f);
  const auto out = oracle(loud, 22050, {-32768, 32767, -32768, 0, 0, 0});
  EXPECT_EQ(*std::min_element(out.begin(), out.end()), -32767);
  EXPECT_EQ(*std::max_element(out.begin(), out.end()), 32767);
}

TEST(ProcessSample, UnitImpulseProfilesReturnTheBandFilteredInput) {
  const auto in = testSignal(4000, 1);
  const auto dry = oracle(dryProcessingSetup(), 22050, in);
  EXPECT_EQ(oracle(withImpulses({{0, 1.0f}}), 22050, in), dry);
  // Delays count from the earliest impulse; 5 ms after it, the output 110 samples later.
  EXPECT_EQ(oracle(withImpulses({{110, 1.0f}, {110, 0.0f}}), 22050, in), dry);
  const auto shifted = oracle(withImpulses({{0, 0.0f}, {110, 1.0f}}), 22050, in);
  for (std::size_t i = 0; i < 110; ++i) EXPECT_EQ(shifted[i], 0);
  for (std::size_t i = 110; i < in.size(); ++i) ASSERT_EQ(shifted[i], dry[i - 110]) << i;
  // An earlier impulse after the first in the table is not 10 s late.
  EXPECT_EQ(oracle(withImpulses({{50, 0.5f}, {0, 0.25f}}), 22050, in),
            oracle(withImpulses({{0, 0.25f}, {50, 0.5f}}), 22050, in));
}

struct FastCase {
  const char* name;
  int impulses;
  std::int32_t longest;  // largest delay, samples
  unsigned seed;
};

class FastPath : public testing::TestWithParam<FastCase> {};

TEST_P(FastPath, StaysWithinOneUnitOfThePerSampleSum) {
  const FastCase c = GetParam();
  std::mt19937 gen(c.seed);
  std::uniform_int_distribution<std::int32_t> delay(0, c.longest);
  std::uniform_real_distribution<float> gain(0.0f, 1.0f);
  std::vector<Impulse> imps = {{0, 1.0f}, {c.longest, 0.3f}, {4095, 0.2f}, {4096, 0.2f}};
  while (static_cast<int>(imps.size()) < c.impulses) {
    const std::int32_t d = delay(gen);
    // Decaying gains as a room gives them; some delays repeat.
    imps.push_back({d, gain(gen) * std::exp(-3.0f * d / 22050.0f)});
    if (imps.size() % 97 == 0) imps.push_back({d, 0.1f});
  }
  // Reflections four times the direct sound together, as at a seat in a
  // hall: loud, yet mostly below full scale, so the outputs are compared
  // unclipped.
  float reflections = 0;
  for (std::size_t i = 1; i < imps.size(); ++i) reflections += imps[i].gain;
  for (std::size_t i = 1; i < imps.size(); ++i) imps[i].gain *= 4.0f / reflections;
  const ProcessingSetup setup = withImpulses(imps);
  const auto in = testSignal(3 * FAST_CONVOLUTION_BLOCK + 1234, c.seed);
  const auto expected = oracle(setup, 22050, in);
  MemorySampleSource source(in);
  MemorySampleSink sink;
  processRecording(setup, 22050, 22050, static_cast<std::int64_t>(in.size()), source, sink, {});
  ASSERT_EQ(sink.samples().size(), in.size());
  int worst = 0;
  std::size_t unclipped = 0;
  for (std::size_t i = 0; i < in.size(); ++i) {
    worst = std::max(worst, std::abs(sink.samples()[i] - expected[i]));
    unclipped += std::abs(expected[i]) < 32767;
  }
  EXPECT_LE(worst, 1);
  EXPECT_GT(unclipped, in.size() * 9 / 10);
}

INSTANTIATE_TEST_SUITE_P(
    RandomProfiles, FastPath,
    testing::Values(FastCase{"just_past_direct", 65, 9000, 1},
                    FastCase{"ten_thousand_long", 10000, 220499, 3},
                    // The last tap opens a partition of its own (within the input).
                    FastCase{"longest_on_a_block_edge", 300, 8192, 5}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProcessRecording, ReductionAveragesPairsAndHalvesTheOutput) {
  // A 44.1 kHz input at fs 22050: 7 samples give 3 averages, the last dropped.
  const std::vector<std::int16_t> in = {-32768, -32767, 100, 201, -5, 4, 999};
  MemorySampleSource source(in);
  MemorySampleSink sink;
  EXPECT_TRUE(processRecording(dryProcessingSetup(), 22050, 44100, 7, source, sink, {}).reduced);
  // (-32768 - 32767) / 2 = -32767; (100 + 201) / 2 = 150; (-5 + 4) / 2 = 0.
  EXPECT_EQ(sink.samples(), oracle(dryProcessingSetup(), 22050, {-32767, 150, 0}));
  // At its own rate nothing is reduced.
  MemorySampleSource again(in);
  EXPECT_FALSE(processRecording(dryProcessingSetup(), 44100, 44100, 7, again, sink, {}).reduced);
}

TEST(ProcessRecording, CancelStopsAfterTheBlockInProgress) {
  const auto in = testSignal(5 * FAST_CONVOLUTION_BLOCK, 5);
  MemorySampleSource source(in);
  MemorySampleSink sink;
  int calls = 0;
  const ProcessReport r =
      processRecording(dryProcessingSetup(), 22050, 22050, static_cast<std::int64_t>(in.size()),
                       source, sink, [&](std::int64_t done, std::int64_t) {
                         EXPECT_EQ(done, FAST_CONVOLUTION_BLOCK * (calls + 1));
                         return ++calls == 2;
                       });
  EXPECT_EQ(r.status, ProcessStatus::Cancelled);
  EXPECT_EQ(r.samples, 2 * FAST_CONVOLUTION_BLOCK);
}

// --- real time ---

struct RealtimeRunResult {
  RealtimeReport report;
  NullAudioRecord record;
  int slowWarnings = 0;
};

RealtimeRunResult runRealtime(const std::vector<std::int16_t>& in, int rate,
                              std::vector<double> clock = {}, int cancelAtCall = 0) {
  NullAudioOutput audio;
  auto device = audio.openWaveOutput(22050, 4410);
  RealtimeRunResult result;
  RealtimeCallbacks cb;
  std::size_t tick = 0;
  int calls = 0;
  cb.nowMs = [&] { return tick < clock.size() ? clock[tick++] : 0.0; };
  cb.tooSlow = [&] { ++result.slowWarnings; };
  cb.progress = [&](int percent) {
    EXPECT_GE(percent, 0);
    EXPECT_LE(percent, 100);
    return ++calls == cancelAtCall;
  };
  MemorySampleSource source(in);
  result.report = playRealtimeSamples(dryProcessingSetup(), rate,
                                      static_cast<std::int64_t>(in.size()), source, *device, cb);
  result.record = audio.record();
  return result;
}

TEST(Realtime, ThreeBuffersInTurnThePaddedLastOneAndATailOfTwenty) {
  const auto in = testSignal(4410 * 2 + 1000, 6);
  const RealtimeRunResult r = runRealtime(in, 22050);
  EXPECT_EQ(r.report.inputBuffers, 3);
  ASSERT_EQ(r.record.buffers.size(), 23u);
  for (std::size_t i = 0; i < r.record.buffers.size(); ++i)
    EXPECT_EQ(r.record.bufferIndexes[i], static_cast<int>(i % 3));
  // The stream is the input, then processed silence, without a gap.
  std::vector<std::int16_t> padded = in;
  padded.resize(23 * 4410, 0);
  const auto expected = oracle(dryProcessingSetup(), 22050, padded);
  std::vector<std::int16_t> played;
  for (const auto& b : r.record.buffers) played.insert(played.end(), b.begin(), b.end());
  EXPECT_EQ(played, expected);
  EXPECT_EQ(r.slowWarnings, 0);
}

TEST(Realtime, EdgesOfTheBufferSequence) {
  // Exactly two buffers of input: no third, half-empty buffer.
  EXPECT_EQ(runRealtime(testSignal(8820, 7), 22050).record.buffers.size(), 22u);
  // No input at all: the tail alone.
  EXPECT_EQ(runRealtime({}, 22050).record.buffers.size(), 20u);
  // 44.1 kHz: reduced 2:1, so 4410 * 2 input samples fill one buffer.
  EXPECT_EQ(runRealtime(testSignal(8820, 8), 44100).record.buffers.size(), 21u);
  // Filling the first two buffers took 400 ms: one warning, playing goes on.
  const RealtimeRunResult slow = runRealtime(testSignal(100, 9), 22050, {0.0, 400.0});
  EXPECT_EQ(slow.slowWarnings, 1);
  EXPECT_EQ(slow.record.buffers.size(), 21u) << "playing goes on";
  EXPECT_EQ(runRealtime(testSignal(100, 9), 22050, {0.0, 350.0}).slowWarnings, 0);
  // Cancel at the second progress report: the device is reset at once.
  const RealtimeRunResult cancelled = runRealtime(testSignal(44100, 10), 22050, {}, 2);
  EXPECT_EQ(cancelled.record.buffers.size(), 4u);
  EXPECT_EQ(cancelled.record.resets, 1);
}

}  // namespace
}  // namespace tav
