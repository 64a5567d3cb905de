#include "auralization/process_recording.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "auralization/auralizer.h"
#include "auralization/fast_convolution.h"

namespace tav {

ProcessReport processRecording(const ProcessingSetup& setup, float fs, int inputRate,
                               std::int64_t inputFrames, SampleSource& in, SampleSink& out,
                               const ProcessProgress& progress) {
  ProcessReport report;
  report.reduced = inputRate > fs;
  const std::int64_t total = report.reduced ? inputFrames / 2 : inputFrames;
  Auralizer auralizer(setup, fs);
  auralizer.reset();
  std::unique_ptr<FastConvolution> fast;
  if (auralizer.table().size() > DIRECT_SUM_MAX_IMPULSES)
    fast = std::make_unique<FastConvolution>(auralizer.table());
  const int block = fast ? fast->blockLength() : FAST_CONVOLUTION_BLOCK;
  const int factor = report.reduced ? 2 : 1;

  std::vector<std::int16_t> raw(static_cast<std::size_t>(block) * factor);
  std::vector<std::int16_t> samples(block), result(block);
  std::vector<float> x(block), y(block);
  std::int64_t consumed = 0;
  while (consumed < inputFrames) {
    const std::int64_t want = std::min<std::int64_t>(raw.size(), inputFrames - consumed);
    const std::size_t got = in.read(std::span<std::int16_t>(raw.data(), want));
    consumed += static_cast<std::int64_t>(got);
    std::size_t n = got;
    if (report.reduced) {
      n = got / 2;
      for (std::size_t i = 0; i < n; ++i) samples[i] = averagePair(raw[2 * i], raw[2 * i + 1]);
    } else {
      std::copy(raw.begin(), raw.begin() + n, samples.begin());
    }
    if (fast) {
      for (std::size_t i = 0; i < n; ++i) x[i] = samples[i];
      // A short last block is padded with silence, which later samples only see.
      std::fill(x.begin() + n, x.end(), 0.0f);
      fast->process(x.data(), y.data());
      for (std::size_t i = 0; i < n; ++i) result[i] = auralizer.filterSum(y[i]);
    } else {
      for (std::size_t i = 0; i < n; ++i) result[i] = auralizer.processSample(samples[i]);
    }
    if (!out.write(std::span<const std::int16_t>(result.data(), n))) {
      report.status = ProcessStatus::WriteFailed;
      return report;
    }
    report.samples += static_cast<std::int64_t>(n);
    if (in.failed()) {
      report.status = ProcessStatus::ReadFailed;
      return report;
    }
    if (got < static_cast<std::size_t>(want)) break;  // the data ended early
    if (progress && progress(report.samples, total)) {
      report.status = ProcessStatus::Cancelled;
      return report;
    }
  }
  return report;
}

}  // namespace tav
