// Processing a recording with profiles of 100, 1 000 and 10 000 impulses:
// the fast path (partitioned FFT convolution) against real time and against
// the per-sample sum. First one line per case,
//   auralization impulses=N seconds_of_audio=60 rate=44100 realtime_factor=...
//   max_abs_diff_vs_per_sample=...
// then the Google Benchmark cases of the fast path alone. The real-time
// factor is seconds of audio over the processing thread's CPU seconds: what
// one core does, whatever else the machine runs.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include "auralization/auralizer.h"
#include "auralization/process_recording.h"

namespace tav {
namespace {

constexpr int RATE = 44100;
constexpr int SECONDS = 60;

// A room-like profile: the direct sound of gain 1, then N - 1 reflections
// over 2 s, denser with time (as image sources grow with the square of the
// distance), decaying by 60 dB in 1.5 s and together four times the direct
// sound (a seat where the reverberant sound is 6 dB above the direct).
ProcessingSetup roomProfile(int impulses, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  ProcessingSetup s;
  s.impulses.push_back({0, 1.0f});
  std::vector<double> t(impulses), g(impulses);
  double sum = 0;
  for (int i = 1; i < impulses; ++i) {
    t[i] = 2.0 * std::cbrt(unit(gen));
    g[i] = std::pow(10.0, -6.0 * t[i] / 1.5) * (0.5 + unit(gen));
    sum += g[i];
  }
  for (int i = 1; i < impulses; ++i)
    s.impulses.push_back(
        {static_cast<std::int32_t>(t[i] * RATE), static_cast<float>(4.0 * g[i] / sum)});
  return s;
}

double threadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

std::vector<std::int16_t> recording(std::size_t n) {
  std::mt19937 gen(7);
  std::normal_distribution<double> noise(0.0, 4000.0);
  std::vector<std::int16_t> x(n);
  for (std::size_t i = 0; i < n; ++i) {
    const double envelope = 0.5 + 0.5 * std::sin(2 * 3.14159265 * 3.0 * i / RATE);
    x[i] = static_cast<std::int16_t>(std::clamp(noise(gen) * envelope, -32768.0, 32767.0));
  }
  return x;
}

void printCase(int impulses, const std::vector<std::int16_t>& in) {
  const ProcessingSetup setup = roomProfile(impulses, 11);
  MemorySampleSource source(in);
  MemorySampleSink sink;
  const double start = threadCpuSeconds();
  processRecording(setup, RATE, RATE, static_cast<std::int64_t>(in.size()), source, sink, {});
  const double elapsed = threadCpuSeconds() - start;
  Auralizer oracle(setup, RATE);
  oracle.reset();
  int worst = 0;
  for (std::size_t i = 0; i < in.size(); ++i)
    worst = std::max(worst, std::abs(oracle.processSample(in[i]) - sink.samples()[i]));
  std::printf(
      "auralization impulses=%d seconds_of_audio=%d rate=%d realtime_factor=%.1f "
      "max_abs_diff_vs_per_sample=%d\n",
      impulses, SECONDS, RATE, SECONDS / elapsed, worst);
  std::fflush(stdout);
}

void BM_ProcessTenSeconds(benchmark::State& state) {
  const ProcessingSetup setup = roomProfile(static_cast<int>(state.range(0)), 11);
  const std::vector<std::int16_t> in = recording(10 * RATE);
  for (auto _ : state) {
    MemorySampleSource source(in);
    MemorySampleSink sink;
    processRecording(setup, RATE, RATE, static_cast<std::int64_t>(in.size()), source, sink, {});
    benchmark::DoNotOptimize(sink.samples().data());
  }
  state.counters["realtime_factor"] =
      benchmark::Counter(10.0 * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ProcessTenSeconds)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tav

int main(int argc, char** argv) {
  const std::vector<std::int16_t> in =
      tav::recording(static_cast<std::size_t>(tav::SECONDS) * tav::RATE);
  for (int impulses : {100, 1000, 10000}) tav::printCase(impulses, in);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
