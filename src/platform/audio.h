// Wave audio of the platform: RIFF WAVE files read and written as 16-bit
// mono PCM, the wave-output device of the real-time mode, and the simple
// asynchronous player for sound files. Implemented on libsndfile and
// PortAudio in platform/audio/; tests use the null output there.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "auralization/process_recording.h"
#include "auralization/sample_stream.h"
#include "auralization/wave_output.h"

namespace tav {

inline constexpr const char* MSG_WAVE_WRONG_FORMAT =
    "Input file must be a 16-bit mono PCM WAVE file";
inline constexpr const char* MSG_WAVE_UNREADABLE = "Cannot read input WAVE file";
inline constexpr const char* MSG_WAVE_UNWRITABLE = "Cannot write output WAVE file";

// Ok: a RIFF WAVE file of format tag 1, one channel, 16 bits. Unreadable:
// missing, not a RIFF WAVE file, or no readable format chunk.
enum class WaveCheck { Ok, Unreadable, WrongFormat };

struct WaveInfo {
  WaveCheck check = WaveCheck::Unreadable;
  int rate = 0;             // samples per second
  std::int64_t frames = 0;  // samples in the data chunk
};

// Reads the samples of an input recording.
class WaveFileReader : public SampleSource {
 public:
  ~WaveFileReader() override;
  // Null unless the file checks Ok; info says why.
  static std::unique_ptr<WaveFileReader> open(const std::string& path, WaveInfo& info);
  // The same on bytes in memory (kept alive by the caller).
  static std::unique_ptr<WaveFileReader> openBytes(std::span<const std::uint8_t> bytes,
                                                   WaveInfo& info);
  std::size_t read(std::span<std::int16_t> out) override;
  bool failed() const override { return failed_; }

  struct Impl;

 private:
  explicit WaveFileReader(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
  bool failed_ = false;
};

// The format check of an input recording, without keeping it open.
WaveInfo checkInputWave(const std::string& path);
WaveInfo checkInputWaveBytes(std::span<const std::uint8_t> bytes);

// Writes an output recording (16-bit mono PCM) into a temporary file beside
// the target; commit() completes it and renames it into place. Destroyed
// without commit (cancelled or failed), it leaves nothing behind.
class WaveFileWriter : public SampleSink {
 public:
  ~WaveFileWriter() override;
  static std::unique_ptr<WaveFileWriter> create(const std::string& target, int rate);
  bool write(std::span<const std::int16_t> samples) override;
  bool commit();

  struct Impl;

 private:
  explicit WaveFileWriter(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

// A recording processed into an output file, as "Process and Play" does it.
enum class WaveProcessStatus {
  Completed,
  Cancelled,
  InputUnreadable,   // "Cannot read input WAVE file"
  InputWrongFormat,  // "Input file must be a 16-bit mono PCM WAVE file"
  OutputUnwritable   // "Cannot write output WAVE file"
};

struct WaveProcessResult {
  WaveProcessStatus status = WaveProcessStatus::InputUnreadable;
  WaveInfo input;
  int outputRate = 0;  // the input's rate, halved by the 2:1 reduction
  ProcessReport report;
};

// Reads `inputPath`, processes it at fs and writes `outputPath` through a
// temporary file that replaces the target only when complete.
WaveProcessResult processWaveFile(const ProcessingSetup& setup, float fs,
                                  const std::string& inputPath, const std::string& outputPath,
                                  const ProcessProgress& progress);
// The user's message for a failed status (empty for Completed, Cancelled).
const char* waveProcessMessage(WaveProcessStatus status);

enum class PlayResult { Playing, NoDevice, Unreadable };

class AudioOutput {
 public:
  virtual ~AudioOutput() = default;
  // The default wave-output device for 16-bit mono at `rate`, with buffers
  // of up to bufferSamples samples; null when there is no output device.
  virtual std::unique_ptr<WaveOutput> openWaveOutput(int rate, int bufferSamples) = 0;
  // Stops any playing sound, then plays the file asynchronously.
  virtual PlayResult playFile(const std::string& path) = 0;
  virtual void stopSound() = 0;
};

// The sound card through PortAudio (initialised on first use).
std::unique_ptr<AudioOutput> createPortAudioOutput();

}  // namespace tav
