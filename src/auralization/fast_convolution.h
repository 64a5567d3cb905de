// The sparse delay-and-gain sum of an impulse table by uniformly partitioned
// overlap-save convolution (single-precision FFTs, plans made once per run).
// It gives the sum y of Auralizer::processSample to within f32 rounding; the
// band filters then run on y as they do per sample.
#pragma once

#include <cstddef>
#include <memory>

#include "auralization/auralizer.h"

namespace tav {

constexpr int FAST_CONVOLUTION_BLOCK = 4096;
// Tables up to this size are summed directly per sample: as fast, and
// identical to the oracle.
constexpr std::size_t DIRECT_SUM_MAX_IMPULSES = 64;

class FastConvolution {
 public:
  // blockLength: a power of two, at least 16.
  explicit FastConvolution(const ImpulseTable& table, int blockLength = FAST_CONVOLUTION_BLOCK);
  ~FastConvolution();
  FastConvolution(const FastConvolution&) = delete;
  FastConvolution& operator=(const FastConvolution&) = delete;

  int blockLength() const;
  // The next blockLength input samples in, the next blockLength sums out.
  void process(const float* in, float* out);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tav
