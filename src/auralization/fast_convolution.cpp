#include "auralization/fast_convolution.h"

#include <fftw3.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

namespace tav {

namespace {

// The FFTW planner is not thread-safe; plans are made and freed under this.
std::mutex& plannerMutex() {
  static std::mutex m;
  return m;
}

template <typename T>
struct FftwArray {
  T* data = nullptr;
  explicit FftwArray(std::size_t n) : data(static_cast<T*>(fftwf_malloc(sizeof(T) * n))) {
    std::memset(data, 0, sizeof(T) * n);
  }
  ~FftwArray() { fftwf_free(data); }
  FftwArray(const FftwArray&) = delete;
  FftwArray& operator=(const FftwArray&) = delete;
};

}  // namespace

struct FastConvolution::Impl {
  int block;
  int size;  // FFT length, 2 * block
  int bins;  // block + 1
  int partitions;
  std::vector<int> used;  // partitions whose part of the response is not zero
  // Split spectra: partition p's response at [p * bins], input history ring.
  std::vector<float> hRe, hIm, xRe, xIm, accRe, accIm;
  std::vector<float> window;  // the last two input blocks
  int current = 0;
  FftwArray<float> time;
  FftwArray<fftwf_complex> spectrum;
  fftwf_plan forward = nullptr;
  fftwf_plan inverse = nullptr;

  Impl(const ImpulseTable& table, int blockLength)
      : block(blockLength),
        size(2 * blockLength),
        bins(blockLength + 1),
        time(static_cast<std::size_t>(2 * blockLength)),
        spectrum(static_cast<std::size_t>(blockLength + 1)) {
    std::int32_t longest = 0;
    for (std::int32_t d : table.delays) longest = std::max(longest, d);
    partitions = longest / block + 1;
    {
      std::lock_guard<std::mutex> lock(plannerMutex());
      // Estimated plans: the same algorithm on every run, so the same bytes.
      forward = fftwf_plan_dft_r2c_1d(size, time.data, spectrum.data, FFTW_ESTIMATE);
      inverse = fftwf_plan_dft_c2r_1d(size, spectrum.data, time.data, FFTW_ESTIMATE);
    }
    const std::size_t total = static_cast<std::size_t>(partitions) * bins;
    hRe.assign(total, 0.0f);
    hIm.assign(total, 0.0f);
    xRe.assign(total, 0.0f);
    xIm.assign(total, 0.0f);
    accRe.assign(bins, 0.0f);
    accIm.assign(bins, 0.0f);
    window.assign(size, 0.0f);
    // The response in partitions of one block, each zero-padded to the FFT
    // length; the inverse FFT's factor 1/size is folded in.
    std::vector<std::vector<float>> parts(partitions);
    for (std::size_t i = 0; i < table.size(); ++i) {
      const int p = table.delays[i] / block;
      if (parts[p].empty()) parts[p].assign(block, 0.0f);
      parts[p][table.delays[i] % block] += table.gains[i];
    }
    const float scale = 1.0f / static_cast<float>(size);
    for (int p = 0; p < partitions; ++p) {
      if (parts[p].empty()) continue;
      used.push_back(p);
      std::fill(time.data, time.data + size, 0.0f);
      for (int j = 0; j < block; ++j) time.data[j] = parts[p][j] * scale;
      fftwf_execute(forward);
      for (int k = 0; k < bins; ++k) {
        hRe[static_cast<std::size_t>(p) * bins + k] = spectrum.data[k][0];
        hIm[static_cast<std::size_t>(p) * bins + k] = spectrum.data[k][1];
      }
    }
  }

  ~Impl() {
    std::lock_guard<std::mutex> lock(plannerMutex());
    fftwf_destroy_plan(forward);
    fftwf_destroy_plan(inverse);
  }

  void process(const float* in, float* out) {
    // Input window: the previous block, then this one.
    std::memmove(window.data(), window.data() + block, sizeof(float) * block);
    std::memcpy(window.data() + block, in, sizeof(float) * block);
    std::memcpy(time.data, window.data(), sizeof(float) * size);
    fftwf_execute(forward);
    float* __restrict sr = xRe.data() + static_cast<std::size_t>(current) * bins;
    float* __restrict si = xIm.data() + static_cast<std::size_t>(current) * bins;
    for (int k = 0; k < bins; ++k) {
      sr[k] = spectrum.data[k][0];
      si[k] = spectrum.data[k][1];
    }
    std::fill(accRe.begin(), accRe.end(), 0.0f);
    std::fill(accIm.begin(), accIm.end(), 0.0f);
    float* __restrict ar = accRe.data();
    float* __restrict ai = accIm.data();
    for (int p : used) {
      int slot = current - p;
      if (slot < 0) slot += partitions;
      const float* __restrict xr = xRe.data() + static_cast<std::size_t>(slot) * bins;
      const float* __restrict xi = xIm.data() + static_cast<std::size_t>(slot) * bins;
      const float* __restrict hr = hRe.data() + static_cast<std::size_t>(p) * bins;
      const float* __restrict hi = hIm.data() + static_cast<std::size_t>(p) * bins;
      for (int k = 0; k < bins; ++k) {
        ar[k] += xr[k] * hr[k] - xi[k] * hi[k];
        ai[k] += xr[k] * hi[k] + xi[k] * hr[k];
      }
    }
    for (int k = 0; k < bins; ++k) {
      spectrum.data[k][0] = ar[k];
      spectrum.data[k][1] = ai[k];
    }
    fftwf_execute(inverse);
    std::memcpy(out, time.data + block, sizeof(float) * block);
    current = current + 1 == partitions ? 0 : current + 1;
  }
};

FastConvolution::FastConvolution(const ImpulseTable& table, int blockLength)
    : impl_(std::make_unique<Impl>(table, blockLength)) {}

FastConvolution::~FastConvolution() = default;

int FastConvolution::blockLength() const { return impl_->block; }

void FastConvolution::process(const float* in, float* out) { impl_->process(in, out); }

}  // namespace tav
