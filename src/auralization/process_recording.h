// "Process and Play" without its windows: the whole recording through the
// profile's impulses and the band filters, one output sample per processed
// input sample. An input whose rate exceeds the processing rate is reduced
// 2:1 (each pair replaced by its average).
#pragma once

#include <cstdint>
#include <functional>

#include "auralization/processing_setup.h"
#include "auralization/sample_stream.h"

namespace tav {

enum class ProcessStatus { Completed, Cancelled, ReadFailed, WriteFailed };

struct ProcessReport {
  ProcessStatus status = ProcessStatus::Completed;
  std::int64_t samples = 0;  // output samples written
  bool reduced = false;      // 2:1 reduction applied
};

// done and total in processed samples; returns true to cancel.
using ProcessProgress = std::function<bool(std::int64_t done, std::int64_t total)>;

// Processes `inputFrames` samples at `inputRate` from `in` at the rate fs
// into `out`. Large tables go through FastConvolution, small ones through
// processSample; both give the per-sample result to within one unit.
ProcessReport processRecording(const ProcessingSetup& setup, float fs, int inputRate,
                               std::int64_t inputFrames, SampleSource& in, SampleSink& out,
                               const ProcessProgress& progress);

}  // namespace tav
