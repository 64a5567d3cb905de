// A recording file through the processing into an output file.
#include "platform/audio.h"

namespace tav {

WaveProcessResult processWaveFile(const ProcessingSetup& setup, float fs,
                                  const std::string& inputPath, const std::string& outputPath,
                                  const ProcessProgress& progress) {
  WaveProcessResult result;
  std::unique_ptr<WaveFileReader> reader = WaveFileReader::open(inputPath, result.input);
  if (!reader) {
    result.status = result.input.check == WaveCheck::WrongFormat
                        ? WaveProcessStatus::InputWrongFormat
                        : WaveProcessStatus::InputUnreadable;
    return result;
  }
  // The output is played at the rate it was processed at.
  result.outputRate = result.input.rate > fs ? result.input.rate / 2 : result.input.rate;
  std::unique_ptr<WaveFileWriter> writer = WaveFileWriter::create(outputPath, result.outputRate);
  if (!writer) {
    result.status = WaveProcessStatus::OutputUnwritable;
    return result;
  }
  result.report = processRecording(setup, fs, result.input.rate, result.input.frames, *reader,
                                   *writer, progress);
  switch (result.report.status) {
    case ProcessStatus::Completed:
      result.status =
          writer->commit() ? WaveProcessStatus::Completed : WaveProcessStatus::OutputUnwritable;
      break;
    case ProcessStatus::Cancelled:
      result.status = WaveProcessStatus::Cancelled;
      break;
    case ProcessStatus::ReadFailed:
      result.status = WaveProcessStatus::InputUnreadable;
      break;
    case ProcessStatus::WriteFailed:
      result.status = WaveProcessStatus::OutputUnwritable;
      break;
  }
  return result;
}

const char* waveProcessMessage(WaveProcessStatus status) {
  switch (status) {
    case WaveProcessStatus::InputUnreadable:
      return MSG_WAVE_UNREADABLE;
    case WaveProcessStatus::InputWrongFormat:
      return MSG_WAVE_WRONG_FORMAT;
    case WaveProcessStatus::OutputUnwritable:
      return MSG_WAVE_UNWRITABLE;
    case WaveProcessStatus::Completed:
    case WaveProcessStatus::Cancelled:
      break;
  }
  return "";
}

}  // namespace tav
